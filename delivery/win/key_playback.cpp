#include "delivery/win/key_playback.h"

#include <windows.h>

#include <vector>

namespace astro {
namespace {

// The records go to the system from a thread of their own, which never owned a
// window: measured under Wine, after a dialog of the main thread had been open,
// a SendInput call of the main thread delivered only the first record of a
// sequence to the focused window of another program.
struct Batch {
  std::vector<INPUT> inputs;
};

DWORD WINAPI SendBatch(LPVOID argument) {
  Batch* batch = static_cast<Batch*>(argument);
  SendInput(static_cast<UINT>(batch->inputs.size()), batch->inputs.data(), sizeof(INPUT));
  return 0;
}

}  // namespace

bool KeyPlayback::Start(const KeyEventList& sequence) {
  if (running_) return false;
  running_ = true;
  Batch batch;
  for (const KeyEvent& event : sequence) {
    if (event.message == 0) break;
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = static_cast<WORD>(event.virtualKey & 0xFFFFu);
    input.ki.wScan = static_cast<WORD>(ScanCode(event));
    input.ki.dwFlags = IsKeyDown(event) ? 0 : KEYEVENTF_KEYUP;
    input.ki.time = 0;
    input.ki.dwExtraInfo = static_cast<ULONG_PTR>(GetMessageExtraInfo());
    batch.inputs.push_back(input);
  }
  if (!batch.inputs.empty()) {
    HANDLE thread = CreateThread(nullptr, 0, SendBatch, &batch, 0, nullptr);
    if (thread != nullptr) {
      WaitForSingleObject(thread, INFINITE);
      CloseHandle(thread);
    }
  }
  running_ = false;
  return true;
}

}  // namespace astro
