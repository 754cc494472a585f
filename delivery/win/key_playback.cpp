#include "delivery/win/key_playback.h"

#include <windows.h>

#include <vector>

namespace astro {

bool KeyPlayback::Running() {
  return window_.Running(GetTickCount64());
}

bool KeyPlayback::Start(const KeyEventList& sequence) {
  if (Running()) return false;
  std::vector<INPUT> inputs;
  for (const KeyEvent& event : sequence) {
    if (event.message == 0) break;
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = static_cast<WORD>(event.virtualKey & 0xFFFFu);
    input.ki.wScan = static_cast<WORD>(ScanCode(event));
    input.ki.dwFlags = IsKeyDown(event) ? 0 : KEYEVENTF_KEYUP;
    input.ki.time = 0;
    input.ki.dwExtraInfo = static_cast<ULONG_PTR>(GetMessageExtraInfo());
    inputs.push_back(input);
  }
  // A sequence without events plays nothing and so is over at once.
  if (inputs.empty()) return true;
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  // Counted from when the system holds every key: handing them over can itself
  // take a while.
  window_.Start(static_cast<int>(inputs.size()), GetTickCount64());
  return true;
}

}  // namespace astro
