// A console client of the driver for the end-to-end tests: announces a window as
// the driver's target and prints every message the driver sends any of its
// windows.
//   test_client.exe [--mouse-mode N] [--seconds S] [--title T]
//                   [--show] [--activate] [--passive] [--commands] [--keys] [--edit]
// --show: the window is shown (without it, it stays hidden and is never activated).
// --activate: the window is shown and brought to the foreground before it is
//   announced, so that its application is the one the user activated last.
// --passive: the window is shown but not announced: a plain application window;
//   prints "WINDOW <window> <thread>".
// --keys: prints the key messages its first window gets, as "KEY <message> <wParam>"
//   (WM_KEYDOWN, WM_KEYUP, WM_CHAR, WM_SYSKEYDOWN, WM_SYSKEYUP, WM_SYSCHAR).
// --edit: its first window holds an edit control that has the keyboard focus;
//   the command "edit-text" prints "EDIT <hex>" of its text.
// --commands: reads commands from standard input, one a line:
//   announce TITLE: a further window of the main thread, with that title, is
//     announced ("READY <window>"); an existing window of that title is announced
//     again;
//   destroy TITLE: that window is destroyed ("DESTROYED <window>");
//   thread-window TITLE: a shown window on a new thread of this process, not
//     announced ("WINDOW <window> <thread>");
//   edit-text: "EDIT <hex>", the edit control's text (--edit);
//   ping: "PONG <thread>" from the main thread, once every message queued for the main thread
//   before the
//     command has been handled;
//   clear-title TITLE: the window known by that title loses its title (it keeps
//     its class name) ("UNTITLED <window>");
//   activate TITLE: the window's own thread brings it to the foreground
//     ("ACTIVE <window> <thread> <microseconds>", the last from the call that
//     brings it there until the window has handled its WM_ACTIVATE; missing when
//     it was active already). The activation is reported to the driver from
//     within that call, so the report is queued before the line is printed;
//   move TITLE X Y: the window's top-left corner goes to X, Y on the screen
//     ("MOVED <window> <thread>").
#include <map>
#include <string>

#include "client/console_client.h"

namespace {

constexpr char kClassName[] = "AstrolabTestClient";
constexpr int kWidth = 320;
constexpr int kHeight = 200;
constexpr UINT kCommandMessage = WM_APP + 1;    // lParam: a std::string* to take
constexpr UINT kActivateMessage = WM_APP + 2;   // to a window: activate yourself
constexpr UINT kAddWindowMessage = WM_APP + 3;  // wParam: window, lParam: std::string* title
constexpr DWORD kActivationTimeoutMs = 10000;

client::Session session;
HWND driverWindow = nullptr;
HWND firstWindow = nullptr;  // the program ends with it
bool showWindows = false;
bool printKeys = false;
HWND editControl = nullptr;
std::map<std::string, HWND> windowsByTitle;

bool Activate(HWND window);
void PrintWindow(const char* label, HWND window, const char* more = "");

// The last window that handled its activation, and when (performance counter).
HWND lastActivated = nullptr;
std::uint64_t lastActivatedAt = 0;

bool IsKeyMessage(UINT message) {
  return (message >= WM_KEYDOWN && message <= WM_CHAR) ||
         (message >= WM_SYSKEYDOWN && message <= WM_SYSCHAR);
}

LRESULT CALLBACK ClientWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (session.Record(window, message, wParam, lParam)) return 0;
  if (printKeys && window == firstWindow && IsKeyMessage(message)) {
    std::printf("KEY %u %" PRIu64 "\n", message, static_cast<std::uint64_t>(wParam));
    std::fflush(stdout);
  }
  if (message == WM_SIZE && window == firstWindow && editControl != nullptr) {
    MoveWindow(editControl, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
  }
  if (message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE) {
    lastActivated = window;
    lastActivatedAt = client::CounterMicroseconds();
  }
  if (message == kActivateMessage) {
    lastActivated = nullptr;
    const std::uint64_t start = client::CounterMicroseconds();
    if (Activate(window)) {
      if (window == firstWindow && editControl != nullptr) SetFocus(editControl);
      char took[32] = "";
      if (lastActivated == window) {
        std::snprintf(took, sizeof took, " %" PRIu64, lastActivatedAt - start);
      }
      PrintWindow("ACTIVE", window, took);
    } else {
      std::fprintf(stderr, "the window did not come to the foreground\n");
    }
    return 0;
  }
  if (message == WM_DESTROY && window == firstWindow) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND NewWindow(const char* title, bool show) {
  HWND window =
      client::CreateClientWindow(kClassName, title, ClientWindowProcedure, kWidth, kHeight);
  if (window != nullptr && show) {
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
  }
  return window;
}

void PrintWindow(const char* label, HWND window, const char* more) {
  std::printf("%s %" PRIu64 " %lu%s\n", label,
              static_cast<std::uint64_t>(reinterpret_cast<UINT_PTR>(window)),
              GetWindowThreadProcessId(window, nullptr), more);
  std::fflush(stdout);
}

bool Activate(HWND window) {
  ShowWindow(window, SW_SHOWNORMAL);
  SetForegroundWindow(window);
  const ULONGLONG deadline = GetTickCount64() + kActivationTimeoutMs;
  while (GetForegroundWindow() != window) {
    if (GetTickCount64() >= deadline) return false;
    Sleep(20);
  }
  return true;
}

// Receives the command lines on the main thread.
HWND commandSink = nullptr;

DWORD WINAPI WindowThread(LPVOID argument) {
  std::string* title = static_cast<std::string*>(argument);
  HWND window = NewWindow(title->c_str(), true);
  if (window == nullptr) {
    delete title;
    return 1;
  }
  // The main thread keeps the titles; it prints the line once it knows the window.
  PostMessageA(commandSink, kAddWindowMessage, reinterpret_cast<WPARAM>(window),
               reinterpret_cast<LPARAM>(title));
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}

void RunCommand(const std::string& line) {
  const std::size_t space = line.find(' ');
  const std::string verb = line.substr(0, space);
  const std::string title = space == std::string::npos ? "" : line.substr(space + 1);
  if (verb == "announce" && !title.empty()) {
    HWND& window = windowsByTitle[title];
    if (window == nullptr) window = NewWindow(title.c_str(), showWindows);
    if (window == nullptr || !session.Announce(driverWindow, window, -1)) {
      std::fprintf(stderr, "cannot announce %s\n", title.c_str());
    }
  } else if (verb == "destroy" && windowsByTitle.count(title) != 0) {
    HWND window = windowsByTitle[title];
    windowsByTitle.erase(title);
    DestroyWindow(window);
    PrintWindow("DESTROYED", window);
  } else if (verb == "edit-text" && editControl != nullptr) {
    char text[1024] = {};
    GetWindowTextA(editControl, text, sizeof text);
    std::printf("EDIT ");
    for (const char* c = text; *c != '\0'; ++c) std::printf("%02x", static_cast<unsigned char>(*c));
    std::printf("\n");
    std::fflush(stdout);
  } else if (verb == "ping") {
    std::printf("PONG %lu\n", static_cast<unsigned long>(GetCurrentThreadId()));
    std::fflush(stdout);
  } else if (verb == "clear-title" && windowsByTitle.count(title) != 0) {
    SetWindowTextA(windowsByTitle[title], "");
    PrintWindow("UNTITLED", windowsByTitle[title]);
  } else if (verb == "activate" && windowsByTitle.count(title) != 0) {
    PostMessageA(windowsByTitle[title], kActivateMessage, 0, 0);
  } else if (verb == "move" && !title.empty()) {
    // The title runs up to the last two words, the corner's coordinates.
    const std::size_t ySpace = title.rfind(' ');
    const std::size_t xSpace = ySpace == std::string::npos ? ySpace : title.rfind(' ', ySpace - 1);
    const std::string name = xSpace == std::string::npos ? "" : title.substr(0, xSpace);
    if (windowsByTitle.count(name) == 0) {
      std::fprintf(stderr, "no window %s\n", name.c_str());
      return;
    }
    HWND window = windowsByTitle[name];
    const int x = std::atoi(title.c_str() + xSpace + 1);
    const int y = std::atoi(title.c_str() + ySpace + 1);
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PrintWindow("MOVED", window);
  } else if (verb == "thread-window" && !title.empty()) {
    DWORD threadId = 0;
    HANDLE thread = CreateThread(nullptr, 0, WindowThread, new std::string(title), 0, &threadId);
    if (thread != nullptr) CloseHandle(thread);
  } else {
    std::fprintf(stderr, "unknown command: %s\n", line.c_str());
  }
}

LRESULT CALLBACK CommandSinkProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kCommandMessage) {
    std::string* line = reinterpret_cast<std::string*>(lParam);
    RunCommand(*line);
    delete line;
    return 0;
  }
  if (message == kAddWindowMessage) {
    std::string* title = reinterpret_cast<std::string*>(lParam);
    HWND added = reinterpret_cast<HWND>(wParam);
    windowsByTitle[*title] = added;
    delete title;
    PrintWindow("WINDOW", added);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// Reads standard input and hands each line to the main thread's command sink.
DWORD WINAPI CommandReader(LPVOID sink) {
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, stdin) != nullptr) {
    std::string line(buffer);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    PostMessageA(static_cast<HWND>(sink), kCommandMessage, 0,
                 reinterpret_cast<LPARAM>(new std::string(line)));
  }
  return 0;
}

bool StartCommandReader() {
  WNDCLASSA sinkClass = {};
  sinkClass.lpfnWndProc = CommandSinkProcedure;
  sinkClass.hInstance = GetModuleHandleA(nullptr);
  sinkClass.lpszClassName = "AstrolabTestClientCommands";
  if (!RegisterClassA(&sinkClass)) return false;
  commandSink = CreateWindowExA(0, sinkClass.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                nullptr, sinkClass.hInstance, nullptr);
  if (commandSink == nullptr) return false;
  HANDLE reader = CreateThread(nullptr, 0, CommandReader, commandSink, 0, nullptr);
  if (reader == nullptr) return false;
  CloseHandle(reader);
  return true;
}

// Takes the flags without a value out of argv; the rest is left for ParseOptions.
struct Flags {
  bool show = false;
  bool activate = false;
  bool passive = false;
  bool commands = false;
  bool keys = false;
  bool edit = false;
};

int TakeFlags(int argc, char** argv, Flags* flags) {
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--show") {
      flags->show = true;
    } else if (argument == "--activate") {
      flags->activate = true;
    } else if (argument == "--passive") {
      flags->passive = true;
    } else if (argument == "--commands") {
      flags->commands = true;
    } else if (argument == "--keys") {
      flags->keys = true;
    } else if (argument == "--edit") {
      flags->edit = true;
    } else {
      argv[kept++] = argv[i];
    }
  }
  return kept;
}

int Fail(const char* reason) {
  std::fprintf(stderr, "%s\n", reason);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  Flags flags;
  argc = TakeFlags(argc, argv, &flags);
  client::Options options;
  options.title = "Astrolab test client";
  if (!client::ParseOptions(argc, argv, true, true, &options) || options.title[0] == '\0') {
    return Fail(
        "usage: test_client [--mouse-mode N] [--seconds S] [--title T] [--show] [--activate] "
        "[--passive] [--commands] [--keys] [--edit]");
  }
  showWindows = flags.show || flags.activate || flags.passive;
  printKeys = flags.keys;
  if (!session.RegisterMessages()) return Fail("cannot register the driver's messages");
  driverWindow = client::Session::WaitForDriver(30000);
  if (driverWindow == nullptr) return Fail("no driver window");
  HWND own = NewWindow(options.title, showWindows);
  if (own == nullptr) return Fail("cannot create the client window");
  windowsByTitle[options.title] = own;
  firstWindow = own;
  if (flags.edit) {
    RECT client = {};
    GetClientRect(own, &client);
    editControl =
        CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, 0, client.right,
                        client.bottom, own, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (editControl == nullptr) return Fail("cannot create the edit control");
  }
  if (flags.commands && !StartCommandReader()) return Fail("cannot read commands");

  if (flags.activate && !Activate(own)) return Fail("the window did not come to the foreground");
  if (editControl != nullptr) SetFocus(editControl);
  if (flags.passive) {
    PrintWindow("WINDOW", own);
  } else if (!session.Announce(driverWindow, own, options.mouseMode)) {
    return Fail("cannot announce the client window");
  }
  client::RunMessageLoop(options.seconds, &session);
  session.PrintSummary();
  return 0;
}
