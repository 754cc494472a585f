#include "delivery/win/win_process_query.h"

#include <vector>

namespace astro {
namespace {

// Paths longer than MAX_PATH exist; the second try takes the longest one.
constexpr DWORD kLongestPath = 32768;

struct OpenedProcess {
  explicit OpenedProcess(std::uint32_t processId)
      : handle(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId)) {}
  ~OpenedProcess() {
    if (handle != nullptr) CloseHandle(handle);
  }
  OpenedProcess(const OpenedProcess&) = delete;
  OpenedProcess& operator=(const OpenedProcess&) = delete;
  HANDLE handle;
};

}  // namespace

bool WinProcessQuery::CreationTime(std::uint32_t processId, std::uint64_t* time) {
  OpenedProcess process(processId);
  if (process.handle == nullptr) return false;
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(process.handle, &created, &exited, &kernel, &user)) return false;
  *time = (static_cast<std::uint64_t>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
  return true;
}

bool WinProcessQuery::ImagePath(std::uint32_t processId, std::string* path) {
  OpenedProcess process(processId);
  if (process.handle == nullptr) return false;
  for (DWORD capacity : {static_cast<DWORD>(MAX_PATH), kLongestPath}) {
    std::vector<char> buffer(capacity);
    DWORD size = capacity;
    if (QueryFullProcessImageNameA(process.handle, 0, buffer.data(), &size)) {
      path->assign(buffer.data(), size);
      return true;
    }
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return false;
  }
  return false;
}

std::uint32_t ForegroundProcessId() {
  HWND window = GetForegroundWindow();
  DWORD processId = 0;
  if (window != nullptr) GetWindowThreadProcessId(window, &processId);
  return processId;
}

std::string ProgramInFrontOf(ProgramNames& names) {
  return names.FileName(ForegroundProcessId());
}

}  // namespace astro
