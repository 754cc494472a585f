#include "driver/win/hook_host_launch.h"

#include "driver/win/hook_library.h"
#include "hook/host_protocol.h"

namespace astro {
namespace {

constexpr int kHookLibrary32Resource = 267;
constexpr int kHookHostResource = 268;
// How long the host has to let go of its hook and end when the driver exits.
constexpr DWORD kHostEndWaitMs = 1000;

enum class Launch { kRunning, kMissing, kFailed };

// The running host.
HANDLE hostProcess = nullptr;
DWORD hostThreadId = 0;

Launch LaunchHost() {
  // The host sets the event once its hook is in place; it inherits it.
  SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
  HANDLE ready = CreateEventA(&inherited, TRUE, FALSE, nullptr);
  if (ready == nullptr) return Launch::kFailed;
  HostArguments arguments;
  arguments.driverProcessId = GetCurrentProcessId();
  // Handles have 32 significant bits, for programs of either bitness.
  arguments.readyEvent = static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(ready));
  char commandLine[64];
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  // A program without windows: no busy pointer while it starts.
  startup.dwFlags = STARTF_FORCEOFFFEEDBACK;
  PROCESS_INFORMATION started = {};
  if (!WriteHostCommandLine(kHookHostFile, arguments, commandLine, sizeof commandLine) ||
      !CreateProcessA(nullptr, commandLine, nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                      &started)) {
    CloseHandle(ready);
    return Launch::kMissing;
  }
  CloseHandle(started.hThread);
  HANDLE waits[] = {ready, started.hProcess};
  const DWORD woke = WaitForMultipleObjects(2, waits, FALSE, kHookStartWaitMs);
  CloseHandle(ready);
  if (woke == WAIT_OBJECT_0) {
    hostProcess = started.hProcess;
    hostThreadId = started.dwThreadId;
    return Launch::kRunning;
  }
  DWORD exitCode = 0;
  const bool ended =
      woke == WAIT_OBJECT_0 + 1 && GetExitCodeProcess(started.hProcess, &exitCode) != FALSE;
  // A host that never reports is not left behind.
  if (!ended) TerminateProcess(started.hProcess, kHostEnded);
  CloseHandle(started.hProcess);
  return ended && exitCode == kHostLibraryMissing ? Launch::kMissing : Launch::kFailed;
}

}  // namespace

bool StartHookHost() {
  const Launch first = LaunchHost();
  if (first != Launch::kMissing) return first == Launch::kRunning;
  ExtractHookFile(kHookLibrary32Resource, kHookLibrary32File);
  ExtractHookFile(kHookHostResource, kHookHostFile);
  return LaunchHost() == Launch::kRunning;
}

void EndHookHost() {
  if (hostProcess == nullptr) return;
  PostThreadMessageA(hostThreadId, WM_QUIT, 0, 0);
  if (WaitForSingleObject(hostProcess, kHostEndWaitMs) != WAIT_OBJECT_0) {
    TerminateProcess(hostProcess, kHostEnded);
  }
  CloseHandle(hostProcess);
  hostProcess = nullptr;
}

}  // namespace astro
