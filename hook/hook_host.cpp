// astrohook32.exe: installs the activation hook of astrohook32.dll for the
// 32-bit programs of the desktop, which the driver's 64-bit library cannot be
// mapped into. The driver starts it as
//   astrohook32.exe <driver process id> <event to set once the hook is in place>
// It then only handles messages (on Windows the system calls a hook for the
// 64-bit programs on this thread) until the driver posts it WM_QUIT or the
// driver's process ends, and releases the hook. Like the library it carries no
// C/C++ runtime: its own entry point, system libraries only.
#include <windows.h>

#include "hook/host_protocol.h"

namespace {

using astro::HostArguments;

constexpr char kLibraryFile[] = "astrohook32.dll";

// Handles what arrives until WM_QUIT or the driver's end.
void ServeUntilDriverGoes(HANDLE driver) {
  for (;;) {
    const DWORD woke = MsgWaitForMultipleObjects(1, &driver, FALSE, INFINITE, QS_ALLINPUT);
    if (woke != WAIT_OBJECT_0 + 1) return;  // the driver has gone, or the wait failed
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) return;
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
}

unsigned RunHost() {
  HostArguments arguments;
  if (!astro::ReadHostArguments(GetCommandLineA(), &arguments)) return astro::kHostBadArguments;
  HANDLE driver = OpenProcess(SYNCHRONIZE, FALSE, arguments.driverProcessId);
  if (driver == nullptr) return astro::kHostBadArguments;

  // The thread's message queue exists before the hook does: the system's calls
  // for the other programs arrive there.
  MSG message;
  PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
  HMODULE library = LoadLibraryA(kLibraryFile);
  if (library == nullptr) return astro::kHostLibraryMissing;
  using HookOn = HHOOK (*)();
  // Through void*: a function pointer of another type is what GetProcAddress means.
  const auto hookOn =
      reinterpret_cast<HookOn>(reinterpret_cast<void*>(GetProcAddress(library, "AstrolabHookOn")));
  HHOOK hook = hookOn != nullptr ? hookOn() : nullptr;
  if (hook == nullptr) return astro::kHostHookRefused;

  HANDLE ready = reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(arguments.readyEvent));
  SetEvent(ready);
  CloseHandle(ready);
  ServeUntilDriverGoes(driver);
  UnhookWindowsHookEx(hook);
  return astro::kHostEnded;
}

}  // namespace

// The process's entry point (no runtime calls main).
extern "C" void WINAPI HostMain() {
  ExitProcess(RunHost());
}
