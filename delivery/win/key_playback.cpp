#include "delivery/win/key_playback.h"

#include <windows.h>

#include <vector>

namespace astro {

bool KeyPlayback::Start(const KeyEventList& sequence) {
  if (running_) return false;
  running_ = true;
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
  if (!inputs.empty()) SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  running_ = false;
  return true;
}

}  // namespace astro
