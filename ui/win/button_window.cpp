#include "ui/win/button_window.h"

#include <cstdio>
#include <string>
#include <vector>

#include "config/key_notation.h"
#include "config/mapping_links.h"
#include "config/mapping_store.h"
#include "config/settings_store.h"
#include "config/win/win_key_translator.h"
#include "delivery/win/win_process_query.h"
#include "driver/win/driver_state.h"
#include "ui/lang_text.h"
#include "ui/win/button_window_state.h"
#include "ui/win/dialog_icon.h"
#include "ui/win/panel_state.h"
#include "ui/win/scaled_pictures.h"
#include "ui/win/ui_messages.h"
#include "ui/win/window_dpi.h"
#include "ui/window_placement.h"

namespace astro {
namespace {

constexpr int kButtonWindowDialog = 243;
constexpr int kPictureFrame = 2041;
constexpr int kAssignmentText = 2040;
constexpr int kEditBox = 2044;
constexpr int kButtons = 12;

// The picture of the shown button: 0 (none) is the logo.
constexpr int kPictures[kButtons + 1] = {261, 259, 258, 257, 256, 255, 254,
                                         253, 251, 250, 245, 244, 260};

// Asks the window to show the mapping in force for the program now in front.
constexpr UINT kFollowProgram = WM_APP + 1;

// Only the window's own thread uses them.
int shownButton = 0;
WinProcessQuery processQuery;
ProgramNames programNames(processQuery);
// The process of the window last reported activated; 0 until one is (or when its
// window was gone), and then the foreground window's is asked.
DWORD activatedProcess = 0;

void Repaint(HWND dialog) {
  SendMessageA(dialog, WM_PAINT, 0, 0);
}

void DrawPicture(HWND dialog) {
  HWND frame = GetDlgItem(dialog, kPictureFrame);
  if (frame == nullptr) return;
  RECT client;
  GetClientRect(frame, &client);
  // Inside the frame's black line, which the frame draws itself, one pixel wide
  // at any DPI.
  InflateRect(&client, -1, -1);
  HDC target = GetDC(frame);
  DrawScaledPicture(target, kPictures[shownButton], client);
  ReleaseDC(frame, target);
}

std::string AssignmentText(const MappingInForce& inForce, int button) {
  if (button < 1 || button > kButtons) return std::string();
  const std::optional<KeyEventList> recording =
      ReadButtonEvents(userRegistry, inForce.keyPath, button);
  if (!recording) return LangText(settings.language, kTextDefaultMarker);
  WinKeyTranslator translator;
  return KeyEventsToText(recording->data(), CountKeyEvents(recording->data()), translator);
}

void Paint(HWND dialog) {
  // The frame paints (and erases) itself first: the picture goes over it after.
  HWND frame = GetDlgItem(dialog, kPictureFrame);
  if (frame != nullptr) RedrawWindow(frame, nullptr, nullptr, RDW_UPDATENOW | RDW_ERASENOW);
  DrawPicture(dialog);
  // The mapping whose slots the buttons play for the program in front.
  const MappingInForce inForce = ChooseMappingInForce(userRegistry, [] {
    return activatedProcess != 0 ? programNames.FileName(activatedProcess)
                                 : ProgramInFrontOf(programNames);
  });
  const std::string title = std::string(LangText(settings.language, kTextMaker)) + " [" +
                            MappingInForceName(userRegistry, inForce) + "]";
  char shown[256] = "";
  GetWindowTextA(dialog, shown, sizeof shown);
  if (title != shown) SetWindowTextA(dialog, title.c_str());
  SetDlgItemTextA(dialog, kAssignmentText, AssignmentText(inForce, shownButton).c_str());
  // The picture is drawn; the default painting must not cover it. Only the
  // dialog itself is marked as painted: the edit box and the frame draw
  // themselves (validating the dialog as a whole would validate them too).
  RedrawWindow(dialog, nullptr, nullptr, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM areas) {
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  if (GetMonitorInfoA(monitor, &info)) {
    const RECT& work = info.rcWork;
    reinterpret_cast<std::vector<ScreenRect>*>(areas)->push_back(
        {work.left, work.top, work.right, work.bottom});
  }
  return TRUE;
}

// The stored place, or the nearest place on the nearest monitor's work area when
// the window could not be taken by its title bar there.
POINT ReachablePlace(HWND dialog, int x, int y, int width, int height) {
  std::vector<ScreenRect> areas;
  EnumDisplayMonitors(nullptr, nullptr, AddWorkArea, reinterpret_cast<LPARAM>(&areas));
  const ScreenRect stored = {x, y, x + width, y + height};
  const int titleHeight =
      WindowSystemMetric(dialog, SM_CYCAPTION) + WindowSystemMetric(dialog, SM_CYFIXEDFRAME);
  if (areas.empty() || TitleBarReachable(stored, titleHeight, areas)) return {x, y};
  const RECT rect = {x, y, x + width, y + height};
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoA(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &info)) return {x, y};
  const RECT& work = info.rcWork;
  const ScreenRect moved = MovedInto(stored, {work.left, work.top, work.right, work.bottom});
  return {moved.left, moved.top};
}

void Place(HWND dialog) {
  RECT window;
  GetWindowRect(dialog, &window);
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  int x = settings.buttonInfoX;
  int y = settings.buttonInfoY;
  if (x == 0 && y == 0) {
    x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    y = (GetSystemMetrics(SM_CYSCREEN) - height) / 4;
  }
  const POINT reachable = ReachablePlace(dialog, x, y, width, height);
  SetWindowPos(dialog, nullptr, reachable.x, reachable.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

// Every completed move or resize is remembered at once.
void RememberPosition(HWND dialog, const WINDOWPOS& change) {
  if ((change.flags & SWP_NOMOVE) && (change.flags & SWP_NOSIZE)) return;
  RECT window;
  if (!GetWindowRect(dialog, &window)) return;
  settings.buttonInfoX = window.left;
  settings.buttonInfoY = window.top;
  SaveSettings(userRegistry, settings, 1);
}

void ShowButton(HWND dialog, WPARAM wParam, bool press) {
  const int button = static_cast<int>(wParam);
  if (button < 1 || button > kButtons) return;  // no picture, no assignment
  if (press) {
    HWND edit = GetDlgItem(dialog, kEditBox);
    SetWindowTextA(edit, "");
    RECT client;
    GetClientRect(edit, &client);
    HDC context = GetDC(edit);
    FillRect(context, &client, GetSysColorBrush(COLOR_WINDOW));
    ReleaseDC(edit, context);
    shownButton = button;
  } else {
    shownButton = 0;
  }
  Repaint(dialog);
}

void Close(HWND dialog) {
  settings.buttonInfo = 0;
  SaveSettings(userRegistry, settings, 1);
  HWND panel = CurrentPanelWindow();
  if (panel != nullptr) PostMessageA(panel, WM_PAINT, 0, 0);
  buttonInfoWindow = nullptr;
  EndDialog(dialog, 0);
}

INT_PTR Answer(HWND dialog, LONG_PTR result) {
  SetWindowLongPtrA(dialog, DWLP_MSGRESULT, result);
  return TRUE;
}

INT_PTR CALLBACK ButtonWindowProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  FollowDpiChange(dialog, message, lParam);
  switch (message) {
    case WM_INITDIALOG:
      buttonInfoWindow = dialog;
      shownButton = 0;
      SetWindowTextA(dialog, LangText(settings.language, kTextPanelTitle));
      SetDialogIcon(dialog);
      Place(dialog);
      InvalidateRect(dialog, nullptr, FALSE);
      return TRUE;
    case WM_PAINT:
      Paint(dialog);
      return Answer(dialog, 0);
    case WM_WINDOWPOSCHANGED:
      RememberPosition(dialog, *reinterpret_cast<const WINDOWPOS*>(lParam));
      return FALSE;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) {
        Close(dialog);
        return TRUE;
      }
      return FALSE;
    default:
      if (message == 0) return FALSE;
      if (message == uiMessages.buttonPress || message == uiMessages.buttonRelease) {
        ShowButton(dialog, wParam, message == uiMessages.buttonPress);
        return Answer(dialog, 1);
      }
      if (message == uiMessages.motion) return Answer(dialog, 1);
      if (message == kFollowProgram) {
        programNames.Activated();
        activatedProcess = static_cast<DWORD>(wParam);
        Repaint(dialog);
        return TRUE;
      }
      return FALSE;
  }
}

DWORD WINAPI ButtonWindowThread(LPVOID argument) {
  const HINSTANCE instance = *static_cast<HINSTANCE*>(argument);
  RegisterUiMessages();
  DialogBoxParamA(instance, MAKEINTRESOURCEA(kButtonWindowDialog), nullptr, ButtonWindowProc, 0);
  for (int picture : kPictures) ReleaseScaledPicture(picture);
  buttonInfoWindow = nullptr;
  buttonInfoThread = nullptr;
  buttonInfoThreadId = 0;
  return 1;
}

}  // namespace

void FollowProgramInFront(HWND activated) {
  HWND window = CurrentButtonInfoWindow();
  if (window == nullptr) return;
  DWORD process = 0;
  if (activated != nullptr) GetWindowThreadProcessId(activated, &process);
  PostMessageA(window, kFollowProgram, process, 0);
}

// Milliseconds a new button window waits for the previous one's thread to end.
constexpr DWORD kPreviousThreadWait = 2000;

void StartButtonWindow() {
  // The handle of the last thread started here: the thread forgets it as it ends
  // (and the panel when it closes the window), so it is closed here, once that
  // thread is over, before the next is started.
  static HANDLE lastThread = nullptr;
  if (buttonInfoThread != nullptr && WaitForSingleObject(buttonInfoThread, 0) == WAIT_TIMEOUT) {
    return;
  }
  if (lastThread != nullptr) {
    // A window just closed by the panel is still ending: bounded, it is short.
    WaitForSingleObject(lastThread, kPreviousThreadWait);
    CloseHandle(lastThread);
    lastThread = nullptr;
  }
  buttonInfoThread = nullptr;
  buttonInfoThreadId = 0;
  DWORD threadId = 0;
  HANDLE thread = CreateThread(nullptr, 0, ButtonWindowThread, &programInstance, 0, &threadId);
  if (thread == nullptr) return;
  lastThread = thread;
  buttonInfoThread = thread;
  buttonInfoThreadId = threadId;
}

}  // namespace astro
