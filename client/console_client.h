// What the test client and the demo client share: finding the driver, announcing
// a window to it, and printing one line per message the driver sends that window.
#pragma once

#include <windows.h>

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "client/astrolab_client.h"

namespace client {

// The four messages of the driver's protocol, in this order.
enum MessageKind { kMotionEvent, kButtonPressEvent, kButtonReleaseEvent, kCommandEvent, kKinds };
constexpr const char* kMessageNames[kKinds] = {ASTROLAB_MOTION_EVENT, ASTROLAB_BUTTON_PRESS_EVENT,
                                               ASTROLAB_BUTTON_RELEASE_EVENT,
                                               ASTROLAB_COMMAND_EVENT};

// The performance counter in microseconds.
inline std::uint64_t CounterMicroseconds() {
  LARGE_INTEGER frequency;
  LARGE_INTEGER now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  const std::uint64_t count = static_cast<std::uint64_t>(now.QuadPart);
  const std::uint64_t perSecond = static_cast<std::uint64_t>(frequency.QuadPart);
  // Split so that the product cannot overflow for long uptimes.
  return count / perSecond * 1000000u + count % perSecond * 1000000u / perSecond;
}

struct Options {
  int mouseMode = -1;     // -1: leave the driver's mouse mode alone
  double seconds = -1.0;  // negative: run until killed
  const char* title = nullptr;
};

// Accepts --mouse-mode N (when allowMouseMode), --seconds S and --title T
// (when allowTitle). False on anything else.
inline bool ParseOptions(int argc, char** argv, bool allowMouseMode, bool allowTitle,
                         Options* options) {
  for (int i = 1; i < argc; ++i) {
    const char* name = argv[i];
    if (i + 1 >= argc) return false;
    const char* value = argv[++i];
    char* end = nullptr;
    if (allowMouseMode && std::strcmp(name, "--mouse-mode") == 0) {
      options->mouseMode = static_cast<int>(std::strtol(value, &end, 0));
    } else if (std::strcmp(name, "--seconds") == 0) {
      options->seconds = std::strtod(value, &end);
    } else if (allowTitle && std::strcmp(name, "--title") == 0) {
      options->title = value;
      continue;
    } else {
      return false;
    }
    if (end == value || *end != '\0') return false;
  }
  return true;
}

class Session {
 public:
  // Every process registers the four names itself; equal names give equal numbers.
  bool RegisterMessages() {
    for (int kind = 0; kind < kKinds; ++kind) {
      messages_[kind] = RegisterWindowMessageA(kMessageNames[kind]);
      if (messages_[kind] == 0) return false;
    }
    return true;
  }

  // Polls for the driver's window; 0 when it does not appear in time.
  static HWND WaitForDriver(DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
      HWND driver = FindWindowA(ASTROLAB_WINDOW_CLASS, nullptr);
      if (driver != nullptr) return driver;
      if (GetTickCount64() >= deadline) return nullptr;
      Sleep(50);
    }
  }

  // Sets the mouse mode if asked, makes `own` the driver's target, prints READY.
  bool Announce(HWND driver, HWND own, int mouseMode) {
    const UINT command = messages_[kCommandEvent];
    if (mouseMode >= 0 && !PostMessageA(driver, command, CmdSetMouseMode, mouseMode)) return false;
    if (!PostMessageA(driver, command, CmdSetClientWindow, reinterpret_cast<LPARAM>(own))) {
      return false;
    }
    std::printf("READY %" PRIu64 "\n", static_cast<std::uint64_t>(reinterpret_cast<UINT_PTR>(own)));
    std::fflush(stdout);
    return true;
  }

  // The moment the message loop took the next message from the queue.
  void NoteArrival() { arrival_ = CounterMicroseconds(); }

  // Prints and counts one of the four messages received by window; false for any
  // other message. The line: arrival in microseconds, the name, wParam unsigned and
  // lParam signed, both whole (the protocol's words are their low 32 bits), and
  // the receiving window's handle.
  bool Record(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    for (int kind = 0; kind < kKinds; ++kind) {
      if (message != messages_[kind]) continue;
      ++counts_[kind];
      std::printf("%" PRIu64 " %s %" PRIu64 " %" PRId64 " %" PRIu64 "\n", arrival_,
                  kMessageNames[kind], static_cast<std::uint64_t>(wParam),
                  static_cast<std::int64_t>(lParam),
                  static_cast<std::uint64_t>(reinterpret_cast<UINT_PTR>(window)));
      std::fflush(stdout);
      lastKind_ = kind;
      lastWParam_ = static_cast<std::uint32_t>(wParam);
      lastLParam_ = static_cast<std::uint32_t>(lParam);
      return true;
    }
    return false;
  }

  void PrintSummary() const {
    std::printf(
        "SUMMARY MotionEvent=%lu ButtonPressEvent=%lu ButtonReleaseEvent=%lu "
        "CommandEvent=%lu\n",
        counts_[kMotionEvent], counts_[kButtonPressEvent], counts_[kButtonReleaseEvent],
        counts_[kCommandEvent]);
    std::fflush(stdout);
  }

  unsigned long Count(int kind) const { return counts_[kind]; }
  int LastKind() const { return lastKind_; }
  std::uint32_t LastWParam() const { return lastWParam_; }
  std::uint32_t LastLParam() const { return lastLParam_; }

 private:
  std::uint64_t arrival_ = 0;
  UINT messages_[kKinds] = {};
  unsigned long counts_[kKinds] = {};
  int lastKind_ = -1;
  std::uint32_t lastWParam_ = 0;
  std::uint32_t lastLParam_ = 0;
};

// Dispatches messages until `seconds` have passed (forever when negative) or
// WM_QUIT arrives. Each message's arrival is noted in session right after it
// leaves the queue.
inline void RunMessageLoop(double seconds, Session* session) {
  const bool timed = seconds >= 0;
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timed ? seconds * 1000 : 0);
  for (;;) {
    DWORD wait = INFINITE;
    if (timed) {
      const ULONGLONG now = GetTickCount64();
      if (now >= deadline) return;
      wait = static_cast<DWORD>(deadline - now);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, QS_ALLINPUT);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (session != nullptr) session->NoteArrival();
      if (message.message == WM_QUIT) return;
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
}

// Registers a window class with `procedure` (once per class name) and creates a
// top-level window of it.
inline HWND CreateClientWindow(const char* className, const char* title, WNDPROC procedure,
                               int width, int height) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = className;
  if (!RegisterClassA(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    return nullptr;
  }
  return CreateWindowExA(0, className, title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                         width, height, nullptr, nullptr, windowClass.hInstance, nullptr);
}

// The common start of a client program: registers the messages, waits for the
// driver, creates the client's window and announces it. Prints the reason and
// returns null on failure.
inline HWND StartClient(Session* session, const char* className, const char* title,
                        WNDPROC procedure, int width, int height, int mouseMode) {
  if (!session->RegisterMessages()) {
    std::fprintf(stderr, "cannot register the driver's messages\n");
    return nullptr;
  }
  HWND driver = Session::WaitForDriver(30000);
  if (driver == nullptr) {
    std::fprintf(stderr, "no driver window\n");
    return nullptr;
  }
  HWND own = CreateClientWindow(className, title, procedure, width, height);
  if (own == nullptr || !session->Announce(driver, own, mouseMode)) {
    std::fprintf(stderr, "cannot announce the client window\n");
    return nullptr;
  }
  return own;
}

}  // namespace client
