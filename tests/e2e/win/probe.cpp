// Looks at the driver's windows, boxes, menu and tray icon from outside, for the
// end-to-end tests. Exit code 0 on success, 1 on failure, time-out or a usage
// error. Output on stdout:
//   find-window CLASS [TITLE], wait-window CLASS TIMEOUT_MS: the window handle,
//     in decimal;
//   wait-box CAPTION TIMEOUT_MS: "TEXT <hex>" (the box's text) and
//     "BUTTONS <id> <id> ...";
//   press CAPTION ID: nothing; it ends once the box is hidden or gone;
//   window-text CLASS: "TEXT <hex>" (the window's title);
//   window-state CLASS: "VISIBLE <0|1> ICONIC <0|1>";
//   send-command CODE LPARAM: nothing;
//   tray-icon-exists: "yes" (exit 0) or "no" (exit 1);
//   tray-delete: removes the driver's tray icon, as a restarting shell loses it;
//   broadcast NAME: posts the registered message NAME to every top-level window;
//   post-driver MESSAGE WPARAM LPARAM: posts the message to the driver's window;
//   window-rect CLASS: "RECT <x> <y> <width> <height>" of the visible window;
//   sync-driver: ends once the driver's thread has taken a message sent to its
//     window, so that what it was doing before (a paint, say) is finished;
//   wait-tray TIMEOUT_MS: the milliseconds it waited for the icon;
//   menu-state CLASS ITEM_ID: the item's state flags, in decimal;
//   menu-text CLASS ITEM_ID: "TEXT <hex>", the item's label;
//   click CAPTION ID: clicks the control ID of the visible dialog with that
//     caption (BM_CLICK); ends once the dialog has handled it;
//   dialog-syscommand CAPTION CODE: posts WM_SYSCOMMAND CODE to that dialog;
//   post-dialog CAPTION MESSAGE WPARAM: posts the message (lParam 0) to that dialog;
//   post-key CAPTION VK: posts the key's WM_KEYDOWN and WM_KEYUP to the control
//     that has the focus in the thread of that dialog, as the keyboard would;
//   send CAPTION ID MESSAGE WPARAM: "RESULT <n>", what control ID answers (lParam 0);
//   driver-dialogs: "DIALOG <caption>" for each visible dialog or box of the
//     driver's process, then "FOREGROUND <caption>" of the foreground window;
//   thread-handles: "THREADS <n>", the thread handles the driver's process holds;
//   device-arrival NAME: tells the driver's window that the serial port NAME
//     appeared (WM_DEVICECHANGE, DBT_DEVICEARRIVAL of a port);
//   cycle-dialog COMMAND CAPTION OK_ID COUNT: COUNT times, the menu command to the
//     driver, the dialog with that caption awaited, its control OK_ID clicked and
//     the dialog awaited gone; "DONE <n>" with the cycles completed;
//   cycle-toggle CAPTION BOX_ID WINDOW_CAPTION COUNT: COUNT times, the check box
//     clicked on, the window with WINDOW_CAPTION awaited, clicked off, the window
//     awaited gone; "DONE <n>";
//   child-text TITLE CLASS: "TEXT <hex>" (WM_GETTEXT) of the first child of that
//     class in the top-level window with that title (another program's, such as
//     an editor), "POINT <x> <y>", the child's centre on the screen, "CAPTURE
//     <0|1>" (whether its thread holds the mouse) and "SELECTION <start> <end>"
//     (EM_GETSEL);
//   control-center CAPTION ID: "POINT <x> <y>", the control's centre on the screen,
//     and "RECT <x> <y> <width> <height>", its rectangle there;
//   wait-tooltip TIMEOUT_MS: "TEXT <hex>" of the first visible tooltip with text;
//   tray-icon-center: "POINT <x> <y>", the middle of the first icon in Wine's tray
//     window (the driver's, when it is the only program with an icon);
//   scroll CAPTION ID CODE POS: sends WM_HSCROLL (CODE, the 16-bit POS) for scroll
//     bar ID to that dialog; ends once it is handled;
//   scroll-pos CAPTION ID: the scroll bar's position, in decimal;
//   control-text CAPTION ID: "TEXT <hex>" of the control, "ENABLED <0|1>" and
//     "CHECKED <0|1|2>" (a button's check state, 0 for other controls);
//   control-states CAPTION ID...: for each control "CONTROL <id> <enabled 0|1>
//     <checked 0|1|2> <pushed 0|1> <scroll position> <hex text>", read one after
//     the other (a button's check state and pushed look, 0 for other controls; a
//     scroll bar's position, 0 for other controls);
//   dialog-rect CAPTION: "RECT <x> <y> <width> <height>" of that dialog, then
//     "TOPMOST 1" when it stays on top of other windows, else "TOPMOST 0";
//   picture-match CAPTION ID BITMAP [INSET]: "MISMATCHED <n> OF <pixels>", the
//     pixels inside that control (INSET pixels in from its edges, 1 when not
//     given) that do not show the driver's bitmap BITMAP scaled over them as the
//     driver scales it, then "SIZE <width> <height>" of that area; CAPTION may be
//     the driver's window class, and ID 0 names the window itself;
//   dpi-change CAPTION DPI X Y WIDTH HEIGHT: sends WM_DPICHANGED with that DPI and
//     suggested rectangle to that dialog (or the driver's window, by its class);
//     ends once the window has handled it;
//   move-window CAPTION X Y: moves that dialog's top-left corner to X, Y;
//   post-click CAPTION ID: posts BM_CLICK to that control (for a click that opens a
//     box, which a sent click would wait for);
//   focused CAPTION: "FOCUS <id> <parent id>" of the control that has the focus in
//     the thread of that dialog;
//   combo-items CAPTION ID: "ITEM <hex>" for each entry of that combo box or list
//     box, in order;
//   type-keys VK...: types the virtual keys (hexadecimal, e.g. 0x48) through the
//     system's input, each pressed and released; "REFUSED ..." when the system
//     would not take them within 10 s;
//   set-text CAPTION ID TEXT: sets the text of that control;
//   settle CAPTION: repaints that dialog and all its controls and ends once its
//     thread has painted them (before a screenshot);
//   cursor-pos: "X Y", the pointer's screen position;
//   set-cursor X Y: nothing; fails unless the pointer is then at X, Y;
//   mouse-acceleration: "THRESHOLD1 THRESHOLD2 SPEED", the system's acceleration of
//     relative pointer moves;
//   watch-wheel COUNT TIMEOUT_MS: "READY" once a low-level mouse hook is in place,
//     then "WHEEL <delta>" for each wheel event (of any process) until COUNT were
//     seen; fails on time-out;
//   clock-echo: "FREQUENCY <counts per second>", then for each line read from
//     standard input the performance counter in microseconds, until end of input.
//   file-version PATH: "PRODUCT <text>", "FILE <text>", "DESCRIPTION <text>",
//     "NAME <text>" (product name) and "FIXED <a.b.c.d>" of a file's version
//     resource (US English, Windows-1252 block);
//   open-port NAME: nothing; exit 0 when the serial port opens and takes the
//     controller's line settings;
//   reg-value KEY NAME: "TYPE <type>" and "VALUE <hex>" of that value under the
//     current user's KEY, its raw bytes;
//   activate-timed TITLE CAPTION TIMEOUT_MS: brings the top-level window TITLE to
//     the foreground (SetForegroundWindow) and ends once the driver's only visible
//     dialog (the button window) is captioned CAPTION, read every millisecond;
//     "TOOK <microseconds>" from the call until the caption was read (performance
//     counter), "UNSEEN <microseconds>" from the call until the last read that
//     gave the old one. Fails when the dialog had that caption before;
// <hex> is two lower-case hex digits per byte, so that Windows-1252 bytes can be
// compared exactly.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <dbt.h>

#include <algorithm>
#include <cinttypes>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "client/astrolab_client.h"
#include "client/console_client.h"
#include "ui/picture_scaling.h"

namespace {

constexpr const char* kDriverWindowClass = ASTROLAB_WINDOW_CLASS;
constexpr UINT kTrayIconId = 65535;
constexpr char kBoxClass[] = "#32770";
constexpr int kBoxTextId = 0xFFFF;
constexpr DWORD kPollMs = 10;

void PrintWindow(HWND window) {
  std::printf("%" PRIu64 "\n", static_cast<std::uint64_t>(reinterpret_cast<UINT_PTR>(window)));
}

void PrintHexText(const char* label, const std::string& text) {
  std::printf("%s ", label);
  for (unsigned char byte : text) std::printf("%02x", byte);
  std::printf("\n");
}

std::string WindowText(HWND window) {
  char text[1024] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

bool ParseNumber(const char* text, std::int64_t* value) {
  char* end = nullptr;
  *value = std::strtoll(text, &end, 0);
  return end != text && *end == '\0';
}

// Polls `found` every few milliseconds until it returns true or time runs out.
template <typename Check>
bool PollUntil(DWORD timeoutMs, Check found) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    if (found()) return true;
    if (GetTickCount64() >= deadline) return false;
    Sleep(kPollMs);
  }
}

// A visible message box with this caption. Closed boxes stay valid but hidden for
// a while, and a second box may carry the same caption, so every top-level
// window is looked at, not just the first match.
HWND FindVisibleBox(const char* caption) {
  struct Search {
    const char* caption;
    HWND found;
  } search = {caption, nullptr};
  EnumWindows(
      [](HWND window, LPARAM argument) -> BOOL {
        Search* search = reinterpret_cast<Search*>(argument);
        char className[64] = {};
        GetClassNameA(window, className, sizeof className);
        if (std::strcmp(className, kBoxClass) != 0 || !IsWindowVisible(window)) return TRUE;
        if (WindowText(window) != search->caption) return TRUE;
        search->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<int> ButtonIds(HWND box) {
  std::vector<int> ids;
  EnumChildWindows(
      box,
      [](HWND child, LPARAM argument) -> BOOL {
        char className[64] = {};
        GetClassNameA(child, className, sizeof className);
        if (lstrcmpiA(className, "Button") == 0) {
          reinterpret_cast<std::vector<int>*>(argument)->push_back(GetDlgCtrlID(child));
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&ids));
  return ids;
}

NOTIFYICONDATAA DriverIcon(HWND driver) {
  NOTIFYICONDATAA icon = {};
  icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
  icon.hWnd = driver;
  icon.uID = kTrayIconId;
  icon.uFlags = 0;
  return icon;
}

// NIM_MODIFY without any flag changes nothing and succeeds only for an icon that
// exists, so it tells whether the driver's icon is there on Windows and Wine.
bool TrayIconExists() {
  HWND driver = FindWindowA(kDriverWindowClass, nullptr);
  if (driver == nullptr) return false;
  NOTIFYICONDATAA icon = DriverIcon(driver);
  return Shell_NotifyIconA(NIM_MODIFY, &icon) != FALSE;
}

int FindWindowCommand(int argc, char** argv) {
  if (argc < 1 || argc > 2) return 2;
  HWND window = FindWindowA(argv[0], argc == 2 ? argv[1] : nullptr);
  if (window == nullptr) return 1;
  PrintWindow(window);
  return 0;
}

int WaitWindowCommand(int argc, char** argv) {
  std::int64_t timeout = 0;
  if (argc != 2 || !ParseNumber(argv[1], &timeout)) return 2;
  HWND window = nullptr;
  if (!PollUntil(static_cast<DWORD>(timeout), [&] {
        window = FindWindowA(argv[0], nullptr);
        return window != nullptr;
      })) {
    return 1;
  }
  PrintWindow(window);
  return 0;
}

int WaitBoxCommand(int argc, char** argv) {
  std::int64_t timeout = 0;
  if (argc != 2 || !ParseNumber(argv[1], &timeout)) return 2;
  HWND box = nullptr;
  if (!PollUntil(static_cast<DWORD>(timeout), [&] {
        box = FindVisibleBox(argv[0]);
        return box != nullptr;
      })) {
    return 1;
  }
  char text[1024] = {};
  GetDlgItemTextA(box, kBoxTextId, text, sizeof text);
  PrintHexText("TEXT", text);
  std::printf("BUTTONS");
  for (int id : ButtonIds(box)) std::printf(" %d", id);
  std::printf("\n");
  return 0;
}

int PressCommand(int argc, char** argv) {
  std::int64_t id = 0;
  if (argc != 2 || !ParseNumber(argv[1], &id)) return 2;
  HWND box = FindVisibleBox(argv[0]);
  if (box == nullptr) return 1;
  HWND button = GetDlgItem(box, static_cast<int>(id));
  if (!PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                    reinterpret_cast<LPARAM>(button))) {
    return 1;
  }
  return PollUntil(10000, [&] { return !IsWindow(box) || !IsWindowVisible(box); }) ? 0 : 1;
}

int WindowTextCommand(int argc, char** argv) {
  if (argc != 1) return 2;
  HWND window = FindWindowA(argv[0], nullptr);
  if (window == nullptr) return 1;
  PrintHexText("TEXT", WindowText(window));
  return 0;
}

int WindowStateCommand(int argc, char** argv) {
  if (argc != 1) return 2;
  HWND window = FindWindowA(argv[0], nullptr);
  if (window == nullptr) return 1;
  std::printf("VISIBLE %d ICONIC %d\n", IsWindowVisible(window) ? 1 : 0, IsIconic(window) ? 1 : 0);
  return 0;
}

int SendCommandCommand(int argc, char** argv) {
  std::int64_t code = 0;
  std::int64_t argument = 0;
  if (argc != 2 || !ParseNumber(argv[0], &code) || !ParseNumber(argv[1], &argument)) return 2;
  const UINT commandEvent = RegisterWindowMessageA(ASTROLAB_COMMAND_EVENT);
  HWND driver = FindWindowA(kDriverWindowClass, nullptr);
  if (commandEvent == 0 || driver == nullptr) return 1;
  return PostMessageA(driver, commandEvent, static_cast<WPARAM>(code),
                      static_cast<LPARAM>(argument))
             ? 0
             : 1;
}

int TrayIconExistsCommand(int argc, char**) {
  if (argc != 0) return 2;
  const bool exists = TrayIconExists();
  std::printf("%s\n", exists ? "yes" : "no");
  return exists ? 0 : 1;
}

int TrayDeleteCommand(int argc, char**) {
  if (argc != 0) return 2;
  HWND driver = FindWindowA(kDriverWindowClass, nullptr);
  if (driver == nullptr) return 1;
  NOTIFYICONDATAA icon = DriverIcon(driver);
  return Shell_NotifyIconA(NIM_DELETE, &icon) ? 0 : 1;
}

int BroadcastCommand(int argc, char** argv) {
  if (argc != 1) return 2;
  const UINT message = RegisterWindowMessageA(argv[0]);
  if (message == 0) return 1;
  return PostMessageA(HWND_BROADCAST, message, 0, 0) ? 0 : 1;
}

int PostDriverCommand(int argc, char** argv) {
  std::int64_t message = 0;
  std::int64_t wParam = 0;
  std::int64_t lParam = 0;
  if (argc != 3 || !ParseNumber(argv[0], &message) || !ParseNumber(argv[1], &wParam) ||
      !ParseNumber(argv[2], &lParam)) {
    return 2;
  }
  HWND driver = FindWindowA(kDriverWindowClass, nullptr);
  if (driver == nullptr) return 1;
  return PostMessageA(driver, static_cast<UINT>(message), static_cast<WPARAM>(wParam),
                      static_cast<LPARAM>(lParam))
             ? 0
             : 1;
}

int SyncDriverCommand(int argc, char**) {
  if (argc != 0) return 2;
  HWND driver = FindWindowA(kDriverWindowClass, nullptr);
  DWORD_PTR result = 0;
  return driver != nullptr &&
                 SendMessageTimeoutA(driver, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &result) != 0
             ? 0
             : 1;
}

int WindowRectCommand(int argc, char** argv) {
  if (argc != 1) return 2;
  HWND window = FindWindowA(argv[0], nullptr);
  RECT rect;
  if (window == nullptr || !IsWindowVisible(window) || !GetWindowRect(window, &rect)) return 1;
  std::printf("RECT %ld %ld %ld %ld\n", static_cast<long>(rect.left), static_cast<long>(rect.top),
              static_cast<long>(rect.right - rect.left), static_cast<long>(rect.bottom - rect.top));
  return 0;
}

int WaitTrayCommand(int argc, char** argv) {
  std::int64_t timeout = 0;
  if (argc != 1 || !ParseNumber(argv[0], &timeout)) return 2;
  const ULONGLONG start = GetTickCount64();
  if (!PollUntil(static_cast<DWORD>(timeout), TrayIconExists)) return 1;
  std::printf("%" PRIu64 "\n", static_cast<std::uint64_t>(GetTickCount64() - start));
  return 0;
}

// Menus belong to their process under Wine: a menu handle of another process is
// refused there (Windows accepts it). A query then runs on a thread in the
// window's own process: a few instructions that call GetMenu and then
// GetMenuState or GetMenuStringA, whose addresses are the same in every process
// since system libraries load at one base per session.
class RemoteCode {
 public:
  void Bytes(std::initializer_list<unsigned char> values) {
    for (unsigned char value : values) code_[size_++] = value;
  }
  void Word64(std::uint64_t value) {
    std::memcpy(code_ + size_, &value, 8);
    size_ += 8;
  }
  void Word32(std::uint32_t value) {
    std::memcpy(code_ + size_, &value, 4);
    size_ += 4;
  }
  // Calls the function at address; arguments already in their registers.
  void Call(FARPROC function) {
    Bytes({0x48, 0xB8});  // mov rax, function
    Word64(reinterpret_cast<std::uint64_t>(function));
    Bytes({0xFF, 0xD0});  // call rax
  }
  // Runs the code on a new thread of process; its exit code, or -1.
  UINT Run(HANDLE process) const {
    UINT result = static_cast<UINT>(-1);
    void* remote = VirtualAllocEx(process, nullptr, sizeof code_, MEM_COMMIT | MEM_RESERVE,
                                  PAGE_EXECUTE_READWRITE);
    if (remote != nullptr && WriteProcessMemory(process, remote, code_, size_, nullptr)) {
      HANDLE thread =
          CreateRemoteThread(process, nullptr, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(remote),
                             nullptr, 0, nullptr);
      if (thread != nullptr) {
        DWORD exitCode = 0;
        if (WaitForSingleObject(thread, 5000) == WAIT_OBJECT_0 &&
            GetExitCodeThread(thread, &exitCode)) {
          result = exitCode;
        }
        CloseHandle(thread);
      }
    }
    if (remote != nullptr) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return result;
  }

 private:
  unsigned char code_[128];
  std::size_t size_ = 0;
};

HANDLE OpenWindowProcess(HWND window) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  return OpenProcess(PROCESS_CREATE_THREAD | PROCESS_QUERY_INFORMATION | PROCESS_VM_OPERATION |
                         PROCESS_VM_WRITE | PROCESS_VM_READ,
                     FALSE, processId);
}

FARPROC User32Function(const char* name) {
  return GetProcAddress(GetModuleHandleA("user32.dll"), name);
}

// rcx = GetMenu(window).
void LoadWindowMenu(RemoteCode& code, HWND window) {
  code.Bytes({0x48, 0xB9});  // mov rcx, window
  code.Word64(reinterpret_cast<std::uint64_t>(window));
  code.Call(User32Function("GetMenu"));
  code.Bytes({0x48, 0x89, 0xC1});  // mov rcx, rax
}

UINT RemoteMenuState(HWND window, UINT item) {
  HANDLE process = OpenWindowProcess(window);
  if (process == nullptr) return static_cast<UINT>(-1);
  RemoteCode code;
  code.Bytes({0x48, 0x83, 0xEC, 0x28});  // sub rsp, 40: shadow space, aligned stack
  LoadWindowMenu(code, window);
  code.Bytes({0xBA});  // mov edx, item
  code.Word32(item);
  code.Bytes({0x41, 0xB8});  // mov r8d, MF_BYCOMMAND
  code.Word32(MF_BYCOMMAND);
  code.Call(User32Function("GetMenuState"));
  code.Bytes({0x48, 0x83, 0xC4, 0x28});  // add rsp, 40
  code.Bytes({0xC3});                    // ret
  const UINT state = code.Run(process);
  CloseHandle(process);
  return state;
}

// The label of a menu item, read in the window's process into a buffer there.
bool RemoteMenuText(HWND window, UINT item, std::string* text) {
  HANDLE process = OpenWindowProcess(window);
  if (process == nullptr) return false;
  constexpr std::uint32_t kSize = 256;
  void* buffer = VirtualAllocEx(process, nullptr, kSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  bool read = false;
  if (buffer != nullptr) {
    RemoteCode code;
    code.Bytes({0x48, 0x83, 0xEC, 0x38});  // sub rsp, 56: shadow space, fifth argument
    LoadWindowMenu(code, window);
    code.Bytes({0xBA});  // mov edx, item
    code.Word32(item);
    code.Bytes({0x49, 0xB8});  // mov r8, buffer
    code.Word64(reinterpret_cast<std::uint64_t>(buffer));
    code.Bytes({0x41, 0xB9});  // mov r9d, size
    code.Word32(kSize);
    code.Bytes({0x48, 0xC7, 0x44, 0x24, 0x20});  // mov qword [rsp + 32], MF_BYCOMMAND
    code.Word32(MF_BYCOMMAND);
    code.Call(User32Function("GetMenuStringA"));
    code.Bytes({0x48, 0x83, 0xC4, 0x38});  // add rsp, 56
    code.Bytes({0xC3});                    // ret
    const UINT length = code.Run(process);
    char local[kSize] = {};
    if (length != static_cast<UINT>(-1) && length < kSize &&
        ReadProcessMemory(process, buffer, local, kSize, nullptr)) {
      *text = std::string(local, length);
      read = true;
    }
    VirtualFreeEx(process, buffer, 0, MEM_RELEASE);
  }
  CloseHandle(process);
  return read;
}

int ClickCommand(int argc, char** argv) {
  std::int64_t id = 0;
  if (argc != 2 || !ParseNumber(argv[1], &id)) return 2;
  HWND dialog = FindVisibleBox(argv[0]);
  HWND control = dialog != nullptr ? GetDlgItem(dialog, static_cast<int>(id)) : nullptr;
  DWORD_PTR result = 0;
  return control != nullptr &&
                 SendMessageTimeoutA(control, BM_CLICK, 0, 0, SMTO_NORMAL, 20000, &result) != 0
             ? 0
             : 1;
}

int DialogSyscommandCommand(int argc, char** argv) {
  std::int64_t code = 0;
  if (argc != 2 || !ParseNumber(argv[1], &code)) return 2;
  HWND dialog = FindVisibleBox(argv[0]);
  return dialog != nullptr && PostMessageA(dialog, WM_SYSCOMMAND, static_cast<WPARAM>(code), 0) ? 0
                                                                                                : 1;
}

HWND DialogControl(const char* caption, const char* idText);

int PostDialogCommand(int argc, char** argv) {
  std::int64_t message = 0;
  std::int64_t wParam = 0;
  if (argc != 3 || !ParseNumber(argv[1], &message) || !ParseNumber(argv[2], &wParam)) return 2;
  HWND dialog = FindVisibleBox(argv[0]);
  return dialog != nullptr &&
                 PostMessageA(dialog, static_cast<UINT>(message), static_cast<WPARAM>(wParam), 0)
             ? 0
             : 1;
}

int PostKeyCommand(int argc, char** argv) {
  std::int64_t key = 0;
  if (argc != 2 || !ParseNumber(argv[1], &key)) return 2;
  HWND dialog = FindVisibleBox(argv[0]);
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (dialog == nullptr || !GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) ||
      info.hwndFocus == nullptr) {
    return 1;
  }
  const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(static_cast<UINT>(key), MAPVK_VK_TO_VSC))
                      << 16;
  const LPARAM released = static_cast<LPARAM>(0xC0000000u);  // previous state and transition
  return PostMessageA(info.hwndFocus, WM_KEYDOWN, static_cast<WPARAM>(key), scan | 1) &&
                 PostMessageA(info.hwndFocus, WM_KEYUP, static_cast<WPARAM>(key),
                              scan | released | 1)
             ? 0
             : 1;
}

int SendCommand(int argc, char** argv) {
  std::int64_t message = 0;
  std::int64_t wParam = 0;
  if (argc != 4 || !ParseNumber(argv[2], &message) || !ParseNumber(argv[3], &wParam)) return 2;
  HWND control = DialogControl(argv[0], argv[1]);
  DWORD_PTR result = 0;
  if (control == nullptr ||
      SendMessageTimeoutA(control, static_cast<UINT>(message), static_cast<WPARAM>(wParam), 0,
                          SMTO_NORMAL, 10000, &result) == 0) {
    return 1;
  }
  std::printf("RESULT %llu\n", static_cast<unsigned long long>(result));
  return 0;
}

// Waits up to 10 s for the visible dialog with this caption to be there (or gone).
bool AwaitBox(const char* caption, bool there) {
  return PollUntil(10000, [&] { return (FindVisibleBox(caption) != nullptr) == there; });
}

bool ClickControl(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  DWORD_PTR result = 0;
  return control != nullptr &&
         SendMessageTimeoutA(control, BM_CLICK, 0, 0, SMTO_NORMAL, 10000, &result) != 0;
}

// The visible dialogs and boxes of the driver's process.
std::vector<HWND> DriverDialogs() {
  std::vector<HWND> dialogs;
  HWND driver = FindWindowA(kDriverWindowClass, nullptr);
  if (driver == nullptr) return dialogs;
  struct Search {
    DWORD process;
    std::vector<HWND>* dialogs;
  } search = {0, &dialogs};
  GetWindowThreadProcessId(driver, &search.process);
  EnumWindows(
      [](HWND window, LPARAM argument) -> BOOL {
        auto* search = reinterpret_cast<Search*>(argument);
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        char className[64] = {};
        GetClassNameA(window, className, sizeof className);
        if (process == search->process && std::strcmp(className, kBoxClass) == 0 &&
            IsWindowVisible(window)) {
          search->dialogs->push_back(window);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return dialogs;
}

// The visible dialogs and boxes of the driver's process, then the foreground
// window's caption.
int DriverDialogsCommand(int argc, char**) {
  if (argc != 0) return 2;
  if (FindWindowA(kDriverWindowClass, nullptr) == nullptr) return 1;
  for (HWND dialog : DriverDialogs()) std::printf("DIALOG %s\n", WindowText(dialog).c_str());
  std::printf("FOREGROUND %s\n", WindowText(GetForegroundWindow()).c_str());
  return 0;
}

// The thread handles the driver's process holds: every small handle value is
// copied out of it, and the copies that name a thread are counted (Wine counts
// no handles for GetProcessHandleCount).
int ThreadHandlesCommand(int argc, char**) {
  if (argc != 0) return 2;
  HWND driver = FindWindowA(kDriverWindowClass, nullptr);
  DWORD process = 0;
  if (driver == nullptr || GetWindowThreadProcessId(driver, &process) == 0) return 1;
  HANDLE source = OpenProcess(PROCESS_DUP_HANDLE, FALSE, process);
  if (source == nullptr) return 1;
  int threads = 0;
  for (std::uintptr_t value = 4; value < 0x4000; value += 4) {
    HANDLE copy = nullptr;
    if (!DuplicateHandle(source, reinterpret_cast<HANDLE>(value), GetCurrentProcess(), &copy, 0,
                         FALSE, DUPLICATE_SAME_ACCESS)) {
      continue;
    }
    if (GetThreadId(copy) != 0) ++threads;
    CloseHandle(copy);
  }
  CloseHandle(source);
  std::printf("THREADS %d\n", threads);
  return 0;
}

// Tells the driver's window that a serial port appeared, as the system does when
// an adapter is plugged in.
int DeviceArrivalCommand(int argc, char** argv) {
  if (argc != 1 || std::strlen(argv[0]) > 32) return 2;
  HWND driver = FindWindowA(kDriverWindowClass, nullptr);
  if (driver == nullptr) return 1;
  struct {
    DEV_BROADCAST_PORT_A port;
    char room[32];
  } arrival = {};
  arrival.port.dbcp_size =
      static_cast<DWORD>(offsetof(DEV_BROADCAST_PORT_A, dbcp_name) + std::strlen(argv[0]) + 1);
  arrival.port.dbcp_devicetype = DBT_DEVTYP_PORT;
  std::memcpy(arrival.port.dbcp_name, argv[0], std::strlen(argv[0]) + 1);
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(driver, WM_DEVICECHANGE, DBT_DEVICEARRIVAL,
                             reinterpret_cast<LPARAM>(&arrival), SMTO_NORMAL, 10000, &result) != 0
             ? 0
             : 1;
}

int CycleDialogCommand(int argc, char** argv) {
  std::int64_t command = 0;
  std::int64_t ok = 0;
  std::int64_t count = 0;
  if (argc != 4 || !ParseNumber(argv[0], &command) || !ParseNumber(argv[2], &ok) ||
      !ParseNumber(argv[3], &count)) {
    return 2;
  }
  HWND driver = FindWindowA(kDriverWindowClass, nullptr);
  std::int64_t done = 0;
  for (; done < count && driver != nullptr; ++done) {
    if (!PostMessageA(driver, WM_COMMAND, static_cast<WPARAM>(command), 0) ||
        !AwaitBox(argv[1], true) || !ClickControl(FindVisibleBox(argv[1]), static_cast<int>(ok)) ||
        !AwaitBox(argv[1], false)) {
      break;
    }
  }
  std::printf("DONE %lld\n", static_cast<long long>(done));
  return done == count ? 0 : 1;
}

int CycleToggleCommand(int argc, char** argv) {
  std::int64_t box = 0;
  std::int64_t count = 0;
  if (argc != 4 || !ParseNumber(argv[1], &box) || !ParseNumber(argv[3], &count)) return 2;
  std::int64_t done = 0;
  for (; done < count; ++done) {
    HWND dialog = FindVisibleBox(argv[0]);
    if (dialog == nullptr || !ClickControl(dialog, static_cast<int>(box)) ||
        !AwaitBox(argv[2], true) || !ClickControl(dialog, static_cast<int>(box)) ||
        !AwaitBox(argv[2], false)) {
      break;
    }
  }
  std::printf("DONE %lld\n", static_cast<long long>(done));
  return done == count ? 0 : 1;
}

int ControlCenterCommand(int argc, char** argv) {
  std::int64_t id = 0;
  if (argc != 2 || !ParseNumber(argv[1], &id)) return 2;
  HWND dialog = FindVisibleBox(argv[0]);
  HWND control = dialog != nullptr ? GetDlgItem(dialog, static_cast<int>(id)) : nullptr;
  RECT rect;
  if (control == nullptr || !GetWindowRect(control, &rect)) return 1;
  std::printf("POINT %ld %ld\n", static_cast<long>((rect.left + rect.right) / 2),
              static_cast<long>((rect.top + rect.bottom) / 2));
  std::printf("RECT %ld %ld %ld %ld\n", static_cast<long>(rect.left), static_cast<long>(rect.top),
              static_cast<long>(rect.right - rect.left), static_cast<long>(rect.bottom - rect.top));
  return 0;
}

int ChildTextCommand(int argc, char** argv) {
  if (argc != 2) return 2;
  HWND window = FindWindowA(nullptr, argv[0]);
  HWND child = window != nullptr ? FindWindowExA(window, nullptr, argv[1], nullptr) : nullptr;
  RECT rect;
  if (child == nullptr || !GetWindowRect(child, &rect)) return 1;
  char text[1024] = {};
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(child, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                           SMTO_NORMAL, 10000, &length)) {
    return 1;
  }
  PrintHexText("TEXT", text);
  std::printf("POINT %ld %ld\n", static_cast<long>((rect.left + rect.right) / 2),
              static_cast<long>((rect.top + rect.bottom) / 2));
  GUITHREADINFO thread = {};
  thread.cbSize = sizeof thread;
  const bool captured = GetGUIThreadInfo(GetWindowThreadProcessId(child, nullptr), &thread) &&
                        thread.hwndCapture != nullptr;
  std::printf("CAPTURE %d\n", captured ? 1 : 0);
  DWORD start = 0, end = 0;
  SendMessageTimeoutA(child, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                      reinterpret_cast<LPARAM>(&end), SMTO_NORMAL, 10000, nullptr);
  std::printf("SELECTION %lu %lu\n", start, end);
  return 0;
}

// The screen point at the middle of the first icon of the desktop's tray window
// (Wine's stand-alone tray, "Wine System Tray"): its first visible child, or the
// first small-icon square of its client area when the icons are not windows.
int TrayIconCenterCommand(int argc, char**) {
  if (argc != 0) return 2;
  HWND tray = FindWindowA(nullptr, "Wine System Tray");
  if (tray == nullptr) return 1;
  RECT rect = {};
  HWND icon = FindWindowExA(tray, nullptr, nullptr, nullptr);
  while (icon != nullptr && !IsWindowVisible(icon))
    icon = FindWindowExA(tray, icon, nullptr, nullptr);
  if (icon != nullptr) {
    GetWindowRect(icon, &rect);
  } else {
    RECT client = {};
    GetClientRect(tray, &client);
    POINT origin = {0, 0};
    ClientToScreen(tray, &origin);
    const int side = client.bottom - client.top;
    rect = {origin.x, origin.y, origin.x + side, origin.y + side};
  }
  std::printf("POINT %ld %ld\n", static_cast<long>((rect.left + rect.right) / 2),
              static_cast<long>((rect.top + rect.bottom) / 2));
  return 0;
}

// A visible tooltip window of any process that shows a text.
bool VisibleTooltipText(std::string* text) {
  struct Search {
    std::string* text;
    bool found;
  } search = {text, false};
  EnumWindows(
      [](HWND window, LPARAM argument) -> BOOL {
        Search* search = reinterpret_cast<Search*>(argument);
        char className[64] = {};
        GetClassNameA(window, className, sizeof className);
        if (lstrcmpiA(className, TOOLTIPS_CLASSA) != 0 || !IsWindowVisible(window)) return TRUE;
        char buffer[1024] = {};
        DWORD_PTR length = 0;
        SendMessageTimeoutA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer),
                            SMTO_NORMAL, 5000, &length);
        if (buffer[0] == '\0') return TRUE;
        *search->text = buffer;
        search->found = true;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

int WaitTooltipCommand(int argc, char** argv) {
  std::int64_t timeout = 0;
  if (argc != 1 || !ParseNumber(argv[0], &timeout)) return 2;
  std::string text;
  if (!PollUntil(static_cast<DWORD>(timeout), [&] { return VisibleTooltipText(&text); })) return 1;
  PrintHexText("TEXT", text);
  return 0;
}

// The control ID of the visible dialog with this caption; null when either is missing.
HWND DialogControl(const char* caption, const char* idText) {
  std::int64_t id = 0;
  if (!ParseNumber(idText, &id)) return nullptr;
  HWND dialog = FindVisibleBox(caption);
  return dialog != nullptr ? GetDlgItem(dialog, static_cast<int>(id)) : nullptr;
}

int ScrollCommand(int argc, char** argv) {
  std::int64_t code = 0;
  std::int64_t position = 0;
  if (argc != 4 || !ParseNumber(argv[2], &code) || !ParseNumber(argv[3], &position)) return 2;
  HWND bar = DialogControl(argv[0], argv[1]);
  if (bar == nullptr) return 1;
  const WPARAM wParam = MAKEWPARAM(static_cast<WORD>(code), static_cast<WORD>(position));
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(GetParent(bar), WM_HSCROLL, wParam, reinterpret_cast<LPARAM>(bar),
                             SMTO_NORMAL, 20000, &result) != 0
             ? 0
             : 1;
}

int ScrollPosCommand(int argc, char** argv) {
  if (argc != 2) return 2;
  HWND bar = DialogControl(argv[0], argv[1]);
  if (bar == nullptr) return 1;
  std::printf("%d\n", GetScrollPos(bar, SB_CTL));
  return 0;
}

int ControlTextCommand(int argc, char** argv) {
  if (argc != 2) return 2;
  HWND control = DialogControl(argv[0], argv[1]);
  if (control == nullptr) return 1;
  char text[1024] = {};
  DWORD_PTR length = 0;
  SendMessageTimeoutA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL,
                      10000, &length);
  PrintHexText("TEXT", text);
  std::printf("ENABLED %d\n", IsWindowEnabled(control) ? 1 : 0);
  DWORD_PTR checked = 0;
  SendMessageTimeoutA(control, BM_GETCHECK, 0, 0, SMTO_NORMAL, 10000, &checked);
  std::printf("CHECKED %d\n", static_cast<int>(checked));
  return 0;
}

int ControlStatesCommand(int argc, char** argv) {
  if (argc < 2) return 2;
  HWND dialog = FindVisibleBox(argv[0]);
  if (dialog == nullptr) return 1;
  for (int i = 1; i < argc; ++i) {
    std::int64_t id = 0;
    if (!ParseNumber(argv[i], &id)) return 2;
    HWND control = GetDlgItem(dialog, static_cast<int>(id));
    if (control == nullptr) return 1;
    char text[1024] = {};
    DWORD_PTR length = 0;
    DWORD_PTR checked = 0;
    DWORD_PTR state = 0;
    SendMessageTimeoutA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_NORMAL, 10000, &length);
    char className[64] = {};
    GetClassNameA(control, className, sizeof className);
    const bool button = lstrcmpiA(className, "Button") == 0;
    const bool scrollBar = lstrcmpiA(className, "ScrollBar") == 0;
    if (button) {
      SendMessageTimeoutA(control, BM_GETCHECK, 0, 0, SMTO_NORMAL, 10000, &checked);
      SendMessageTimeoutA(control, BM_GETSTATE, 0, 0, SMTO_NORMAL, 10000, &state);
    }
    std::printf("CONTROL %d %d %d %d %d ", static_cast<int>(id), IsWindowEnabled(control) ? 1 : 0,
                static_cast<int>(checked), (state & BST_PUSHED) != 0 ? 1 : 0,
                scrollBar ? GetScrollPos(control, SB_CTL) : 0);
    for (const char* byte = text; *byte != '\0'; ++byte) {
      std::printf("%02x", static_cast<unsigned char>(*byte));
    }
    std::printf("\n");
  }
  return 0;
}

int DialogRectCommand(int argc, char** argv) {
  if (argc != 1) return 2;
  HWND dialog = FindVisibleBox(argv[0]);
  RECT rect;
  if (dialog == nullptr || !GetWindowRect(dialog, &rect)) return 1;
  std::printf("RECT %ld %ld %ld %ld\n", static_cast<long>(rect.left), static_cast<long>(rect.top),
              static_cast<long>(rect.right - rect.left), static_cast<long>(rect.bottom - rect.top));
  std::printf("TOPMOST %d\n", (GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0 ? 1 : 0);
  return 0;
}

// A bitmap's pixels, 24 bits each, rows packed, top row first.
astro::RgbPicture ReadPixels(HDC context, HBITMAP bitmap, int width, int height) {
  astro::RgbPicture picture;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
  std::vector<std::uint8_t> rows(stride * height);
  if (GetDIBits(context, bitmap, 0, static_cast<UINT>(height), rows.data(), &info,
                DIB_RGB_COLORS) != height) {
    return picture;
  }
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = rows.data() + stride * y;
    picture.bytes.insert(picture.bytes.end(), row, row + static_cast<std::size_t>(width) * 3);
  }
  picture.width = width;
  picture.height = height;
  return picture;
}

// The driver's bitmap resource, from its program file, at its own size.
astro::RgbPicture DriverBitmap(int id) {
  HWND driver = FindWindowA(kDriverWindowClass, nullptr);
  DWORD process = 0;
  if (driver == nullptr || GetWindowThreadProcessId(driver, &process) == 0) return {};
  HANDLE handle = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process);
  char path[MAX_PATH] = {};
  DWORD length = sizeof path;
  const bool named = handle != nullptr && QueryFullProcessImageNameA(handle, 0, path, &length);
  if (handle != nullptr) CloseHandle(handle);
  HMODULE module = named ? LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE) : nullptr;
  if (module == nullptr) return {};
  HBITMAP bitmap = static_cast<HBITMAP>(
      LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  astro::RgbPicture picture;
  BITMAP size = {};
  if (bitmap != nullptr && GetObjectA(bitmap, sizeof size, &size) != 0) {
    HDC screen = GetDC(nullptr);
    picture = ReadPixels(screen, bitmap, size.bmWidth, size.bmHeight);
    ReleaseDC(nullptr, screen);
  }
  if (bitmap != nullptr) DeleteObject(bitmap);
  FreeLibrary(module);
  return picture;
}

// What the screen shows inside the window's client area, `inset` pixels in from
// its edges.
astro::RgbPicture ShownInside(HWND window, int inset) {
  RECT client;
  if (!GetClientRect(window, &client)) return {};
  POINT origin = {inset, inset};
  ClientToScreen(window, &origin);
  const int width = client.right - 2 * inset;
  const int height = client.bottom - 2 * inset;
  if (width <= 0 || height <= 0) return {};
  HDC screen = GetDC(nullptr);
  HDC copy = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ previous = SelectObject(copy, bitmap);
  BitBlt(copy, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
  SelectObject(copy, previous);
  const astro::RgbPicture picture = ReadPixels(copy, bitmap, width, height);
  DeleteObject(bitmap);
  DeleteDC(copy);
  ReleaseDC(nullptr, screen);
  return picture;
}

// The visible dialog with this caption, or the driver's main window named by its
// class; ID 0 is that window itself, any other its control with that ID (the
// first one, for the -1 that statics share).
HWND WindowOrControl(const char* captionOrClass, const char* idText) {
  std::int64_t id = 0;
  if (!ParseNumber(idText, &id)) return nullptr;
  HWND window = FindVisibleBox(captionOrClass);
  if (window == nullptr && std::strcmp(captionOrClass, kDriverWindowClass) == 0) {
    window = FindWindowA(kDriverWindowClass, nullptr);
  }
  if (window == nullptr || id == 0) return window;
  return GetDlgItem(window, static_cast<int>(id));
}

// How many pixels inside the window do not show the driver's bitmap as the
// driver shows it: scaled over that area with the program's own box filter. A
// channel may differ by a little (a screen that rounds colours), not more.
int PictureMatchCommand(int argc, char** argv) {
  std::int64_t id = 0;
  std::int64_t inset = 1;
  if (argc < 3 || argc > 4 || !ParseNumber(argv[2], &id) ||
      (argc == 4 && (!ParseNumber(argv[3], &inset) || inset < 0))) {
    return 2;
  }
  HWND window = WindowOrControl(argv[0], argv[1]);
  if (window == nullptr) return 1;
  const astro::RgbPicture shown = ShownInside(window, static_cast<int>(inset));
  const astro::RgbPicture expected =
      astro::ScalePicture(DriverBitmap(static_cast<int>(id)), shown.width, shown.height);
  if (shown.width == 0 || expected.width == 0) return 1;
  constexpr int kTolerance = 2;
  int mismatched = 0;
  for (std::size_t pixel = 0; pixel < shown.bytes.size(); pixel += 3) {
    for (std::size_t c = 0; c < 3; ++c) {
      if (std::abs(shown.bytes[pixel + c] - expected.bytes[pixel + c]) > kTolerance) {
        ++mismatched;
        break;
      }
    }
  }
  std::printf("MISMATCHED %d OF %d\n", mismatched, shown.width * shown.height);
  std::printf("SIZE %d %d\n", shown.width, shown.height);
  return 0;
}

// Tells a window of the driver that it went to a monitor of another DPI, as the
// system does: WM_DPICHANGED with the DPI and a suggested rectangle. The message
// carries a pointer, so it is sent from a thread in the driver's own process,
// with the rectangle written there.
int DpiChangeCommand(int argc, char** argv) {
  std::int64_t values[5] = {};
  if (argc != 6) return 2;
  for (int i = 0; i < 5; ++i) {
    if (!ParseNumber(argv[i + 1], &values[i])) return 2;
  }
  HWND window = WindowOrControl(argv[0], "0");
  if (window == nullptr) return 1;
  const RECT suggested = {static_cast<LONG>(values[1]), static_cast<LONG>(values[2]),
                          static_cast<LONG>(values[1] + values[3]),
                          static_cast<LONG>(values[2] + values[4])};
  HANDLE process = OpenWindowProcess(window);
  if (process == nullptr) return 1;
  void* remoteRect =
      VirtualAllocEx(process, nullptr, sizeof suggested, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  bool sent = false;
  if (remoteRect != nullptr &&
      WriteProcessMemory(process, remoteRect, &suggested, sizeof suggested, nullptr)) {
    const auto dpi = static_cast<std::uint32_t>(values[0]);
    RemoteCode code;
    code.Bytes({0x48, 0x83, 0xEC, 0x28});  // sub rsp, 40: shadow space, aligned stack
    code.Bytes({0x48, 0xB9});              // mov rcx, window
    code.Word64(reinterpret_cast<std::uint64_t>(window));
    code.Bytes({0xBA});  // mov edx, WM_DPICHANGED
    code.Word32(WM_DPICHANGED);
    code.Bytes({0x49, 0xB8});  // mov r8, MAKEWPARAM(dpi, dpi)
    code.Word64((dpi << 16) | dpi);
    code.Bytes({0x49, 0xB9});  // mov r9, the rectangle
    code.Word64(reinterpret_cast<std::uint64_t>(remoteRect));
    code.Call(User32Function("SendMessageA"));
    code.Bytes({0x48, 0x83, 0xC4, 0x28});  // add rsp, 40
    code.Bytes({0xC3});                    // ret
    sent = code.Run(process) != static_cast<UINT>(-1);
  }
  if (remoteRect != nullptr) VirtualFreeEx(process, remoteRect, 0, MEM_RELEASE);
  CloseHandle(process);
  return sent ? 0 : 1;
}

int SetTextCommand(int argc, char** argv) {
  if (argc != 3) return 2;
  HWND control = DialogControl(argv[0], argv[1]);
  DWORD_PTR result = 0;
  return control != nullptr &&
                 SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[2]),
                                     SMTO_NORMAL, 10000, &result) != 0
             ? 0
             : 1;
}

int PostClickCommand(int argc, char** argv) {
  if (argc != 2) return 2;
  HWND control = DialogControl(argv[0], argv[1]);
  return control != nullptr && PostMessageA(control, BM_CLICK, 0, 0) ? 0 : 1;
}

int FocusedCommand(int argc, char** argv) {
  if (argc != 1) return 2;
  HWND dialog = FindVisibleBox(argv[0]);
  if (dialog == nullptr) return 1;
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info)) return 1;
  HWND focus = info.hwndFocus;
  std::printf("FOCUS %d %d\n", focus != nullptr ? GetDlgCtrlID(focus) : 0,
              focus != nullptr && GetParent(focus) != nullptr ? GetDlgCtrlID(GetParent(focus)) : 0);
  return 0;
}

int ComboItemsCommand(int argc, char** argv) {
  if (argc != 2) return 2;
  HWND combo = DialogControl(argv[0], argv[1]);
  if (combo == nullptr) return 1;
  char className[32] = {};
  GetClassNameA(combo, className, sizeof className);
  const bool list = lstrcmpiA(className, "ListBox") == 0;
  const LRESULT count = SendMessageA(combo, list ? LB_GETCOUNT : CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    // Read as wide text: an ANSI read of another process's entry is not
    // converted by every system.
    wchar_t wide[256] = {};
    const auto index = static_cast<WPARAM>(i);
    if (SendMessageW(combo, list ? LB_GETTEXTLEN : CB_GETLBTEXTLEN, index, 0) >= LRESULT{256}) {
      return 1;
    }
    SendMessageW(combo, list ? LB_GETTEXT : CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(wide));
    char text[512] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    PrintHexText("ITEM", text);
  }
  return 0;
}

int TypeKeysCommand(int argc, char** argv) {
  std::vector<INPUT> inputs;
  for (int i = 0; i < argc; ++i) {
    std::int64_t key = 0;
    if (!ParseNumber(argv[i], &key)) return 2;
    for (DWORD flags : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
      INPUT input = {};
      input.type = INPUT_KEYBOARD;
      input.ki.wVk = static_cast<WORD>(key);
      input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(static_cast<UINT>(key), MAPVK_VK_TO_VSC));
      input.ki.dwFlags = flags;
      inputs.push_back(input);
    }
  }
  // Wine refuses injected input for a moment now and then on a busy machine (the
  // call takes fewer events than given, as the foreground changes hands, say): what
  // was refused is given again until a deadline. Events taken are never repeated.
  std::size_t sent = 0;
  const DWORD start = GetTickCount();
  while (sent < inputs.size()) {
    sent += SendInput(static_cast<UINT>(inputs.size() - sent), inputs.data() + sent, sizeof(INPUT));
    if (sent == inputs.size()) break;
    if (GetTickCount() - start > 10000) {
      std::printf("REFUSED %u after %u events, error %lu\n", static_cast<unsigned>(inputs.size()),
                  static_cast<unsigned>(sent), GetLastError());
      return 1;
    }
    Sleep(20);
  }
  return 0;
}

int SettleCommand(int argc, char** argv) {
  if (argc != 1) return 2;
  HWND dialog = FindVisibleBox(argv[0]);
  if (dialog == nullptr) return 1;
  RedrawWindow(dialog, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &result) != 0 ? 0 : 1;
}

int MoveWindowCommand(int argc, char** argv) {
  std::int64_t x = 0;
  std::int64_t y = 0;
  if (argc != 3 || !ParseNumber(argv[1], &x) || !ParseNumber(argv[2], &y)) return 2;
  HWND dialog = FindVisibleBox(argv[0]);
  return dialog != nullptr &&
                 SetWindowPos(dialog, nullptr, static_cast<int>(x), static_cast<int>(y), 0, 0,
                              SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE)
             ? 0
             : 1;
}

int MenuTextCommand(int argc, char** argv) {
  std::int64_t item = 0;
  if (argc != 2 || !ParseNumber(argv[1], &item)) return 2;
  HWND window = FindWindowA(argv[0], nullptr);
  if (window == nullptr) return 1;
  std::string text;
  HMENU menu = GetMenu(window);
  char local[256] = {};
  if (menu != nullptr &&
      GetMenuStringA(menu, static_cast<UINT>(item), local, sizeof local, MF_BYCOMMAND) > 0) {
    text = local;
  } else if (!RemoteMenuText(window, static_cast<UINT>(item), &text)) {
    return 1;
  }
  PrintHexText("TEXT", text);
  return 0;
}

int MenuStateCommand(int argc, char** argv) {
  std::int64_t item = 0;
  if (argc != 2 || !ParseNumber(argv[1], &item)) return 2;
  HWND window = FindWindowA(argv[0], nullptr);
  if (window == nullptr) return 1;
  UINT state = static_cast<UINT>(-1);
  HMENU menu = GetMenu(window);
  if (menu != nullptr) state = GetMenuState(menu, static_cast<UINT>(item), MF_BYCOMMAND);
  if (state == static_cast<UINT>(-1)) state = RemoteMenuState(window, static_cast<UINT>(item));
  if (state == static_cast<UINT>(-1)) return 1;
  std::printf("%u\n", state);
  return 0;
}

int CursorPosCommand(int argc, char**) {
  if (argc != 0) return 2;
  POINT point = {};
  if (!GetCursorPos(&point)) return 1;
  std::printf("%ld %ld\n", static_cast<long>(point.x), static_cast<long>(point.y));
  return 0;
}

int SetCursorCommand(int argc, char** argv) {
  std::int64_t x = 0;
  std::int64_t y = 0;
  if (argc != 2 || !ParseNumber(argv[0], &x) || !ParseNumber(argv[1], &y)) return 2;
  if (!SetCursorPos(static_cast<int>(x), static_cast<int>(y))) return 1;
  // The position settles through the window system: wait until it reads back.
  return PollUntil(5000,
                   [&] {
                     POINT point = {};
                     return GetCursorPos(&point) && point.x == x && point.y == y;
                   })
             ? 0
             : 1;
}

int MouseAccelerationCommand(int argc, char**) {
  if (argc != 0) return 2;
  int values[3] = {};
  if (!SystemParametersInfoA(SPI_GETMOUSE, 0, values, 0)) return 1;
  std::printf("%d %d %d\n", values[0], values[1], values[2]);
  return 0;
}

// The low-level hook runs on the thread that installed it, inside its message loop.
int wheelEventsLeft = 0;

LRESULT CALLBACK WheelHook(int code, WPARAM message, LPARAM data) {
  if (code == HC_ACTION && message == WM_MOUSEWHEEL) {
    const auto* event = reinterpret_cast<const MSLLHOOKSTRUCT*>(data);
    std::printf("WHEEL %d\n", static_cast<int>(static_cast<short>(HIWORD(event->mouseData))));
    std::fflush(stdout);
    if (wheelEventsLeft > 0) --wheelEventsLeft;
  }
  return CallNextHookEx(nullptr, code, message, data);
}

int WatchWheelCommand(int argc, char** argv) {
  std::int64_t count = 0;
  std::int64_t timeout = 0;
  if (argc != 2 || !ParseNumber(argv[0], &count) || !ParseNumber(argv[1], &timeout)) return 2;
  wheelEventsLeft = static_cast<int>(count);
  HHOOK hook = SetWindowsHookExA(WH_MOUSE_LL, WheelHook, GetModuleHandleA(nullptr), 0);
  if (hook == nullptr) return 1;
  std::printf("READY\n");
  std::fflush(stdout);
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeout);
  while (wheelEventsLeft > 0) {
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) break;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  }
  UnhookWindowsHookEx(hook);
  return wheelEventsLeft == 0 ? 0 : 1;
}

// Whether a serial port opens as the driver opens it and takes the controller's
// line settings: exit 0 when both, 1 otherwise.
int OpenPortCommand(int argc, char** argv) {
  if (argc != 1) return 2;
  HANDLE port = CreateFileA(argv[0], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_FLAG_OVERLAPPED, nullptr);
  if (port == INVALID_HANDLE_VALUE) return 1;
  DCB dcb = {};
  dcb.DCBlength = sizeof dcb;
  bool configured = GetCommState(port, &dcb) != FALSE;
  if (configured) {
    dcb.BaudRate = CBR_9600;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = TWOSTOPBITS;
    configured = SetCommState(port, &dcb) != FALSE;
  }
  CloseHandle(port);
  return configured ? 0 : 1;
}

// Lets the host relate this counter to its own clocks: the host writes a line,
// the answer carries the counter read the moment the line arrived.
int FileVersionCommand(int argc, char** argv) {
  if (argc != 1) return 2;
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(argv[0], &ignored);
  if (size == 0) return 1;
  std::string data(size, '\0');
  if (!GetFileVersionInfoA(argv[0], 0, size, data.data())) return 1;
  const struct {
    const char* label;
    const char* name;
  } fields[] = {{"PRODUCT", "ProductVersion"},
                {"FILE", "FileVersion"},
                {"DESCRIPTION", "FileDescription"},
                {"NAME", "ProductName"}};
  for (const auto& field : fields) {
    const std::string path = std::string("\\StringFileInfo\\040904E4\\") + field.name;
    char* text = nullptr;
    UINT length = 0;
    if (VerQueryValueA(data.data(), path.c_str(), reinterpret_cast<void**>(&text), &length)) {
      std::printf("%s %s\n", field.label, text);
    }
  }
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length) &&
      fixed != nullptr) {
    std::printf("FIXED %u.%u.%u.%u\n", HIWORD(fixed->dwFileVersionMS),
                LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS),
                LOWORD(fixed->dwFileVersionLS));
  }
  return 0;
}

int RegValueCommand(int argc, char** argv) {
  if (argc != 2) return 2;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, argv[0], 0, KEY_READ, &key) != ERROR_SUCCESS) return 1;
  BYTE data[4096];
  DWORD length = sizeof data;
  DWORD type = 0;
  const LONG status = RegQueryValueExA(key, argv[1], nullptr, &type, data, &length);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS) return 1;
  std::printf("TYPE %lu\n", static_cast<unsigned long>(type));
  PrintHexText("VALUE", std::string(reinterpret_cast<const char*>(data), length));
  return 0;
}

int ClockEchoCommand(int argc, char**) {
  if (argc != 0) return 2;
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  std::printf("FREQUENCY %" PRId64 "\n", static_cast<std::int64_t>(frequency.QuadPart));
  std::fflush(stdout);
  char line[64];
  while (std::fgets(line, sizeof line, stdin) != nullptr) {
    std::printf("%" PRIu64 "\n", client::CounterMicroseconds());
    std::fflush(stdout);
  }
  return 0;
}

// Wine sends no name-change event when a window's title changes, so the title is
// read every millisecond.
int ActivateTimedCommand(int argc, char** argv) {
  std::int64_t timeout = 0;
  if (argc != 3 || !ParseNumber(argv[2], &timeout)) return 2;
  HWND target = FindWindowA(nullptr, argv[0]);
  const std::vector<HWND> dialogs = DriverDialogs();
  const std::string caption = argv[1];
  if (target == nullptr || dialogs.size() != 1 || WindowText(dialogs[0]) == caption) return 1;
  HWND dialog = dialogs[0];
  const std::uint64_t start = client::CounterMicroseconds();
  SetForegroundWindow(target);
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeout);
  std::uint64_t unseen = 0;  // the last read that still gave the old caption
  for (;;) {
    const bool seen = WindowText(dialog) == caption;
    const std::uint64_t read = client::CounterMicroseconds() - start;
    if (seen) {
      std::printf("TOOK %" PRIu64 "\nUNSEEN %" PRIu64 "\n", read, unseen);
      return 0;
    }
    if (GetTickCount64() >= deadline) return 1;
    unseen = read;
    Sleep(1);
  }
}

struct Subcommand {
  const char* name;
  int (*run)(int argc, char** argv);
};

const Subcommand kSubcommands[] = {
    {"find-window", FindWindowCommand},
    {"wait-window", WaitWindowCommand},
    {"wait-box", WaitBoxCommand},
    {"press", PressCommand},
    {"window-text", WindowTextCommand},
    {"window-state", WindowStateCommand},
    {"send-command", SendCommandCommand},
    {"tray-icon-exists", TrayIconExistsCommand},
    {"tray-delete", TrayDeleteCommand},
    {"broadcast", BroadcastCommand},
    {"post-driver", PostDriverCommand},
    {"window-rect", WindowRectCommand},
    {"sync-driver", SyncDriverCommand},
    {"wait-tray", WaitTrayCommand},
    {"menu-state", MenuStateCommand},
    {"menu-text", MenuTextCommand},
    {"click", ClickCommand},
    {"dialog-syscommand", DialogSyscommandCommand},
    {"post-dialog", PostDialogCommand},
    {"post-key", PostKeyCommand},
    {"send", SendCommand},
    {"driver-dialogs", DriverDialogsCommand},
    {"thread-handles", ThreadHandlesCommand},
    {"device-arrival", DeviceArrivalCommand},
    {"cycle-dialog", CycleDialogCommand},
    {"cycle-toggle", CycleToggleCommand},
    {"control-center", ControlCenterCommand},
    {"child-text", ChildTextCommand},
    {"wait-tooltip", WaitTooltipCommand},
    {"tray-icon-center", TrayIconCenterCommand},
    {"scroll", ScrollCommand},
    {"scroll-pos", ScrollPosCommand},
    {"control-text", ControlTextCommand},
    {"control-states", ControlStatesCommand},
    {"dialog-rect", DialogRectCommand},
    {"move-window", MoveWindowCommand},
    {"settle", SettleCommand},
    {"post-click", PostClickCommand},
    {"picture-match", PictureMatchCommand},
    {"dpi-change", DpiChangeCommand},
    {"set-text", SetTextCommand},
    {"focused", FocusedCommand},
    {"combo-items", ComboItemsCommand},
    {"type-keys", TypeKeysCommand},
    {"cursor-pos", CursorPosCommand},
    {"set-cursor", SetCursorCommand},
    {"mouse-acceleration", MouseAccelerationCommand},
    {"watch-wheel", WatchWheelCommand},
    {"clock-echo", ClockEchoCommand},
    {"reg-value", RegValueCommand},
    {"file-version", FileVersionCommand},
    {"open-port", OpenPortCommand},
    {"activate-timed", ActivateTimedCommand},
};

void PrintUsage() {
  std::fprintf(stderr,
               "usage: probe find-window CLASS [TITLE] | wait-window CLASS TIMEOUT_MS |\n"
               "  wait-box CAPTION TIMEOUT_MS | press CAPTION ID | window-text CLASS |\n"
               "  window-state CLASS |\n"
               "  send-command CODE LPARAM | tray-icon-exists | tray-delete |\n"
               "  broadcast NAME | post-driver MESSAGE WPARAM LPARAM |\n"
               "  window-rect CLASS | sync-driver | wait-tray TIMEOUT_MS |\n"
               "  menu-state CLASS ITEM_ID | menu-text CLASS ITEM_ID | click CAPTION ID |\n"
               "  dialog-syscommand CAPTION CODE | control-center CAPTION ID |\n"
               "  wait-tooltip TIMEOUT_MS | tray-icon-center | scroll CAPTION ID CODE POS | "
               "scroll-pos CAPTION ID |\n"
               "  control-text CAPTION ID | control-states CAPTION ID... |\n"
               "  dialog-rect CAPTION | move-window CAPTION X Y | settle CAPTION |\n"
               "  picture-match CAPTION ID BITMAP [INSET] | dpi-change CAPTION DPI X Y W H |\n"
               "  post-click CAPTION ID | set-text CAPTION ID TEXT | focused CAPTION |\n"
               "  combo-items CAPTION ID |\n"
               "  type-keys VK... | cursor-pos | "
               "set-cursor X Y | "
               "mouse-acceleration |\n"
               "  watch-wheel COUNT TIMEOUT_MS | clock-echo | reg-value KEY NAME |\n"
               "  file-version PATH | open-port NAME | activate-timed TITLE CAPTION TIMEOUT_MS\n");
}

}  // namespace

int main(int argc, char** argv) {
  // Sizes and places in the screen's own pixels at any DPI, as the driver (which
  // is DPI-aware) sees them.
  using SetAware = BOOL(WINAPI*)();
  const auto setAware =
      reinterpret_cast<SetAware>(reinterpret_cast<void*>(User32Function("SetProcessDPIAware")));
  if (setAware != nullptr) setAware();
  if (argc >= 2) {
    for (const Subcommand& subcommand : kSubcommands) {
      if (std::strcmp(argv[1], subcommand.name) != 0) continue;
      const int result = subcommand.run(argc - 2, argv + 2);
      std::fflush(stdout);
      if (result != 2) return result;
      PrintUsage();
      return 1;
    }
  }
  PrintUsage();
  return 1;
}
