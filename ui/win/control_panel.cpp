#include "ui/win/control_panel.h"

#include <cstring>

#include "client/astrolab_client.h"
#include "config/settings_store.h"
#include "delivery/delivery_context.h"
#include "delivery/window_word.h"
#include "driver/device_alphabet.h"
#include "driver/win/driver_state.h"
#include "ui/lang_text.h"
#include "ui/panel_sliders.h"
#include "ui/win/button_window.h"
#include "ui/win/button_window_state.h"
#include "ui/win/dialog_icon.h"
#include "ui/win/dialog_text.h"
#include "ui/win/panel_state.h"
#include "ui/win/static_pictures.h"
#include "ui/win/tooltips.h"
#include "ui/win/ui_messages.h"
#include "ui/win/window_dpi.h"

namespace astro {
namespace {

constexpr int kPanelDialog = 245;
constexpr int kOverallSlider = 1036;
constexpr int kNullRadiusSlider = 1037;
constexpr int kBeepBox = 2024;
constexpr int kChangeableBox = 2025;
constexpr int kButtonWindowBox = 2026;
constexpr int kHintviewAllowedBox = 2027;
constexpr int kTranslationSwitch = 1113;
constexpr int kRotationSwitch = 1115;
constexpr int kDominantSwitch = 1116;
constexpr int kHintviewSwitch = 2018;
constexpr int kTranslationDefault = 2035;
constexpr int kRotationDefault = 1401;
constexpr DWORD kSimulatedPressMs = 500;

// Axes X, Y, Z, A, B, C: slider and on/off box.
constexpr int kAxisSlider[kAxisCount] = {1035, 1039, 1040, 1137, 1038, 1041};
constexpr int kAxisBox[kAxisCount] = {1042, 1143, 1144, 1145, 1146, 1147};
// Device buttons 1 to 12.
constexpr int kButtonItem[12] = {1000, 1001, 1002, 1003, 1004, 1005,
                                 1006, 1007, 1008, 1110, 1109, 2023};

// Localized group boxes and captions: item and text id, rewritten at every refresh.
constexpr struct {
  int item;
  int text;
} kLocalizedItems[] = {{2031, 10}, {2029, 11}, {2030, 12}, {2035, 13}, {1401, 13},
                       {2032, 14}, {2033, 15}, {2036, 22}, {2026, 21}, {2027, 24}};

HWND Item(HWND dialog, int item) {
  return GetDlgItem(dialog, item);
}

bool Checked(HWND dialog, int item) {
  return IsDlgButtonChecked(dialog, item) == BST_CHECKED;
}

void SetSlider(HWND dialog, int item, int position) {
  SetScrollPos(Item(dialog, item), SB_CTL, position, TRUE);
}

void InitSlider(HWND dialog, int item, int low, int high, int position) {
  SetScrollRange(Item(dialog, item), SB_CTL, low, high, FALSE);
  SetSlider(dialog, item, position);
}

int ButtonOfItem(int item) {
  for (int button = 1; button <= 12; ++button) {
    if (kButtonItem[button - 1] == item) return button;
  }
  return 0;
}

int AxisOfItem(const int (&items)[kAxisCount], int item) {
  for (int axis = 0; axis < kAxisCount; ++axis) {
    if (items[axis] == item) return axis;
  }
  return -1;
}

void PostButton(UINT message, int button, std::uint32_t mask) {
  PostMessageA(panelTarget, message, static_cast<WPARAM>(button), static_cast<LPARAM>(mask));
}

// One press and release of button 5 (less) or 6 (more) for the application.
// The applications that step their sensitivity this way expect the masks 32 and
// 64 with the buttons 5 and 6.
void StepOverall(int button) {
  PostButton(uiMessages.buttonPress, button, button == 5 ? 32u : 64u);
  PostButton(uiMessages.buttonRelease, button, 0);
}

// Asks the driver to write up to four bytes to the device.
bool SendDeviceCommand(const char* text) {
  HWND driver = FindWindowA(ASTROLAB_WINDOW_CLASS, nullptr);
  if (driver == nullptr) return false;
  PostMessageA(driver, uiMessages.command, CmdDeviceCommand,
               static_cast<LPARAM>(AstrolabDeviceCommandWord(text)));
  return true;
}

void Refresh(HWND dialog) {
  SendMessageA(dialog, WM_PAINT, 0, 0);
}

void RefreshAxes(HWND dialog, int first, std::int32_t modeOn) {
  for (int axis = first; axis < first + 3; ++axis) {
    EnableWindow(Item(dialog, kAxisSlider[axis]), modeOn != 0);
    if (modeOn == 0) {
      CheckDlgButton(dialog, kAxisBox[axis], BST_UNCHECKED);
    } else if (settings.axisEnabled[axis] != 0 && !Checked(dialog, kAxisBox[axis])) {
      CheckDlgButton(dialog, kAxisBox[axis], BST_CHECKED);
    }
  }
}

void EnableModeSwitches(HWND dialog, bool enable) {
  for (int item : {kTranslationSwitch, kRotationSwitch, kDominantSwitch}) {
    EnableWindow(Item(dialog, item), enable);
  }
}

// The panel's paint handler: every text and state shown follows the settings and
// the run-time flags.
void RefreshContents(HWND dialog) {
  const RuntimeFlags& flags = runtimeFlags;
  for (const auto& localized : kLocalizedItems) {
    SetDlgItemLangText(dialog, localized.item, localized.text);
  }
  if (GetScrollPos(Item(dialog, kOverallSlider), SB_CTL) != overallStep) {
    SetSlider(dialog, kOverallSlider, overallStep);
  }
  for (int button = 1; button <= 12; ++button) {
    HWND item = Item(dialog, kButtonItem[button - 1]);
    SendMessageA(item, BM_SETSTATE, FALSE, 0);
    if (flags.buttonDown[button - 1]) SendMessageA(item, BM_SETSTATE, TRUE, 0);
  }
  SetDlgItemLangText(dialog, kRotationSwitch,
                     flags.modeRotation ? kTextRotationOn : kTextRotationOff);
  RefreshAxes(dialog, kAxisA, flags.modeRotation);
  SetDlgItemLangText(dialog, kTranslationSwitch,
                     flags.modeTranslation ? kTextTranslationOn : kTextTranslationOff);
  RefreshAxes(dialog, kAxisX, flags.modeTranslation);
  SetDlgItemLangText(dialog, kDominantSwitch,
                     flags.modeDominant ? kTextDominantOn : kTextDominantOff);
  SetDlgItemLangText(dialog, kHintviewSwitch,
                     flags.hintviewActive ? kTextHintviewOn : kTextHintviewOff);
  CheckDlgButton(dialog, kBeepBox, settings.buttonBeep ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(dialog, kButtonWindowBox, settings.buttonInfo ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(dialog, kHintviewAllowedBox,
                 settings.hintviewAllowed ? BST_CHECKED : BST_UNCHECKED);
  EnableWindow(Item(dialog, kHintviewSwitch), settings.hintviewAllowed == 1);
  CheckDlgButton(dialog, kChangeableBox,
                 settings.modeChangeable == 1 ? BST_CHECKED : BST_UNCHECKED);
  EnableModeSwitches(dialog, settings.modeChangeable == 1);
  SetDlgItemLangText(dialog, kChangeableBox, kTextChangeable);
  if (flags.hintviewCapable == 0) {
    EnableWindow(Item(dialog, kHintviewSwitch), FALSE);
    EnableWindow(Item(dialog, kHintviewAllowedBox), FALSE);
  }
  for (int axis = 0; axis < kAxisCount; ++axis) {
    EnableWindow(Item(dialog, kAxisSlider[axis]), settings.axisEnabled[axis] != 0);
  }
}

void Initialise(HWND dialog) {
  panelWindow = dialog;
  panelTarget = HWND_BROADCAST;
  std::strncpy(panelTitle, LangText(settings.language, kTextPanelTitle), kPanelTitleSize - 1);
  panelTitle[kPanelTitleSize - 1] = '\0';
  SetWindowTextA(dialog, panelTitle);
  SetDialogIcon(dialog);
  ScaleStaticPictures(dialog);  // the logo
  InstallDialogTooltips(dialog);
  InitSlider(dialog, kOverallSlider, -6, 6, overallStep);
  for (int axis = 0; axis < kAxisCount; ++axis) {
    InitSlider(dialog, kAxisSlider[axis], -50, 50,
               AxisSliderShownPosition(settings.axisScale[axis]));
    CheckDlgButton(dialog, kAxisBox[axis],
                   settings.axisEnabled[axis] ? BST_CHECKED : BST_UNCHECKED);
  }
  InitSlider(dialog, kNullRadiusSlider, 0, 100, settings.nullRadius);
  // Every top-level window hears these; an application that steps its
  // sensitivity with buttons 5 and 6 answers with its factor.
  StepOverall(5);
  StepOverall(6);
  RECT window;
  GetWindowRect(dialog, &window);
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  SetWindowPos(dialog, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 4, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  InvalidateRect(dialog, nullptr, FALSE);
}

void SaveAndHide(HWND dialog) {
  SaveSettingsGuardingLock(userRegistry, settings, LockChange::kNothing);
  ShowWindow(dialog, SW_HIDE);
}

void Show(HWND dialog) {
  Refresh(dialog);
  ShowWindow(dialog, SW_SHOW);
  SetActiveWindow(dialog);
  SetForegroundWindow(dialog);
}

void SwitchMode(HWND dialog, int item) {
  RuntimeFlags& flags = runtimeFlags;
  if (settings.modeChangeable == 1) {
    std::int32_t& mode = item == kTranslationSwitch ? flags.modeTranslation
                         : item == kRotationSwitch  ? flags.modeRotation
                                                    : flags.modeDominant;
    mode = mode ? 0 : 1;
  }
  const unsigned m = (flags.modeTranslation ? 2u : 0u) + (flags.modeRotation ? 1u : 0u) +
                     (flags.modeDominant ? 4u : 0u);
  const char character = EncodeNibble(m);
  if (flags.hintviewCapable == 0) {
    const char command[] = {'m', character, '\r', '\0'};
    SendDeviceCommand(command);
  } else {
    const char command[] = {'c', character, '3', '\r', '\0'};
    SendDeviceCommand(command);
  }
  Refresh(dialog);
}

void SwitchHintview(HWND dialog) {
  RuntimeFlags& flags = runtimeFlags;
  if (flags.hintviewActive) {
    flags.hintviewActive = 0;
  } else {
    bool possible = false;
    if (FindWindowA(ASTROLAB_WINDOW_CLASS, nullptr) != nullptr && flags.hintviewCapable) {
      if (flags.modeTranslation && flags.modeRotation && !flags.modeDominant) {
        possible = true;
      } else if (settings.modeChangeable == 1) {
        possible = SendDeviceCommand("c33\r");
      }
    }
    flags.hintviewActive = possible && settings.hintviewAllowed ? 1 : 0;
  }
  SetDlgItemLangText(dialog, kHintviewSwitch,
                     flags.hintviewActive ? kTextHintviewOn : kTextHintviewOff);
}

void ToggleButtonWindow(HWND dialog) {
  if (!Checked(dialog, kButtonWindowBox)) {
    settings.buttonInfo = 0;
    HWND window = CurrentButtonInfoWindow();
    if (window != nullptr) SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    buttonInfoWindow = nullptr;
    buttonInfoThread = nullptr;
    buttonInfoThreadId = 0;
  } else {
    settings.buttonInfo = 1;
    StartButtonWindow();
  }
}

// An on-screen device button: a press and, half a second later, a release for the
// target application, the button window told of both.
void SimulateButton(int button) {
  if (panelTarget == nullptr || panelTarget == reinterpret_cast<HWND>(-1)) return;
  const std::uint32_t mask = 1u << (button - 1);
  PostButton(uiMessages.buttonPress, button, mask);
  HWND info = CurrentButtonInfoWindow();
  if (info != nullptr) SendMessageA(info, uiMessages.buttonPress, button, mask);
  Sleep(kSimulatedPressMs);
  PostButton(uiMessages.buttonRelease, button, 0);
  info = CurrentButtonInfoWindow();
  if (info != nullptr) SendMessageA(info, uiMessages.buttonRelease, button, 0);
}

void OnCommand(HWND dialog, int item) {
  const int axisBox = AxisOfItem(kAxisBox, item);
  if (axisBox >= 0) {
    const bool on = Checked(dialog, item);
    settings.axisEnabled[axisBox] = on ? 1 : 0;
    EnableWindow(Item(dialog, kAxisSlider[axisBox]), on);
    return;
  }
  const int button = ButtonOfItem(item);
  if (button != 0) {
    SimulateButton(button);
    return;
  }
  switch (item) {
    case IDOK:
      SaveAndHide(dialog);
      break;
    case kBeepBox:
      settings.buttonBeep = Checked(dialog, item) ? 1 : 0;
      break;
    case kChangeableBox:
      settings.modeChangeable = Checked(dialog, item) ? 1 : 0;
      EnableModeSwitches(dialog, settings.modeChangeable == 1);
      break;
    case kButtonWindowBox:
      ToggleButtonWindow(dialog);
      break;
    case kHintviewAllowedBox:
      settings.hintviewAllowed = Checked(dialog, item) ? 1 : 0;
      runtimeFlags.hintviewActive = runtimeFlags.hintviewActive && settings.hintviewAllowed ? 1 : 0;
      Refresh(dialog);
      break;
    case kTranslationDefault:
    case kRotationDefault:
      for (int axis = item == kTranslationDefault ? kAxisX : kAxisA, last = axis + 3; axis < last;
           ++axis) {
        settings.axisScale[axis] = 1.0;
        SetSlider(dialog, kAxisSlider[axis], AxisSliderShownPosition(1.0));
      }
      break;
    case kTranslationSwitch:
    case kRotationSwitch:
    case kDominantSwitch:
      SwitchMode(dialog, item);
      break;
    case kHintviewSwitch:
      SwitchHintview(dialog);
      break;
    default:
      break;
  }
}

void OnScroll(HWND dialog, WPARAM wParam, HWND bar) {
  const int item = GetDlgCtrlID(bar);
  const int code = LOWORD(wParam);
  if (code != SB_LINELEFT && code != SB_LINERIGHT && code != SB_THUMBPOSITION) return;
  if (item == kOverallSlider) {
    if (code == SB_LINELEFT) {
      StepOverall(5);
    } else if (code == SB_LINERIGHT) {
      StepOverall(6);
    } else {
      // The slider itself moves only when the application reports its factor.
      for (int button :
           OverallThumbButtons(GetScrollPos(bar, SB_CTL), static_cast<std::uint32_t>(wParam))) {
        StepOverall(button);
      }
    }
    return;
  }
  if (item == kNullRadiusSlider) {
    std::int32_t& radius = settings.nullRadius;
    radius = code == SB_LINELEFT    ? NullRadiusLineLeft(radius)
             : code == SB_LINERIGHT ? NullRadiusLineRight(radius)
                                    : NullRadiusThumb(static_cast<std::uint32_t>(wParam));
    SetSlider(dialog, item, settings.nullRadius);
    return;
  }
  const int axis = AxisOfItem(kAxisSlider, item);
  if (axis < 0) return;
  double& scale = settings.axisScale[axis];
  if (code == SB_LINELEFT) {
    scale = AxisLineLeft(scale);
  } else if (code == SB_LINERIGHT) {
    scale = AxisLineRight(scale);
  } else {
    scale = AxisThumb(static_cast<std::int16_t>(HIWORD(wParam)));
  }
  SetSlider(dialog, item, AxisSliderShownPosition(scale));
}

void OnDriverCommand(HWND dialog, WPARAM code, LPARAM argument) {
  RuntimeFlags& flags = runtimeFlags;
  const auto word = static_cast<std::uint32_t>(argument);
  switch (code) {
    case CmdSetClientWindow:
      panelTarget = reinterpret_cast<HWND>(WindowFromWord(argument));
      break;
    case CmdReportSensitivity:
      if (const std::optional<int> step = OverallStepFromFactor(AstrolabSensitivityValue(word))) {
        overallStep = *step;
        SetSlider(dialog, kOverallSlider, overallStep);
      }
      break;
    case NoteDeviceMode:
      flags.modeRotation = word & 1u;
      flags.modeTranslation = (word >> 1) & 1u;
      flags.modeDominant = (word >> 2) & 1u;
      if (!(flags.modeTranslation && flags.modeRotation && !flags.modeDominant)) {
        flags.hintviewActive = 0;
      }
      Refresh(dialog);
      break;
    case NoteDeviceModeExtra:
      flags.hintviewCapable = word & 1u;
      break;
    default:
      break;
  }
}

void OnButtonEvent(HWND dialog, WPARAM wParam, bool press) {
  const int button = static_cast<int>(wParam);
  if (button < 1 || button > 12) return;
  SendMessageA(Item(dialog, kButtonItem[button - 1]), BM_SETSTATE, press, 0);
  runtimeFlags.buttonDown[button - 1] = press ? 1 : 0;
  Refresh(dialog);
}

INT_PTR Answer(HWND dialog, LONG_PTR result) {
  SetWindowLongPtrA(dialog, DWLP_MSGRESULT, result);
  return TRUE;
}

INT_PTR CALLBACK ControlPanelProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  FollowDpiChange(dialog, message, lParam);
  switch (message) {
    case WM_INITDIALOG:
      Initialise(dialog);
      return TRUE;
    case kDpiLayoutChanged:
      ScaleStaticPictures(dialog);
      return TRUE;
    case WM_PAINT:
      RefreshContents(dialog);
      return FALSE;  // the default painting follows
    case WM_COMMAND:
      OnCommand(dialog, LOWORD(wParam));
      return TRUE;
    case WM_HSCROLL:
      OnScroll(dialog, wParam, reinterpret_cast<HWND>(lParam));
      return TRUE;
    case WM_USER:
      if (wParam == 2) Show(dialog);
      if (wParam == 3) SaveAndHide(dialog);
      return Answer(dialog, 1);
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) InstallDialogTooltips(dialog);
      return FALSE;
    case WM_NOTIFY:
      TooltipNeedText(lParam);
      return Answer(dialog, 1);
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) {
        SaveAndHide(dialog);
        return TRUE;
      }
      return FALSE;
    default:
      if (message == 0) return FALSE;
      if (message == uiMessages.buttonPress || message == uiMessages.buttonRelease) {
        OnButtonEvent(dialog, wParam, message == uiMessages.buttonPress);
        return Answer(dialog, 1);
      }
      if (message == uiMessages.command) {
        OnDriverCommand(dialog, wParam, lParam);
        return Answer(dialog, 1);
      }
      if (message == uiMessages.motion) return Answer(dialog, 1);
      return FALSE;
  }
}

}  // namespace

DWORD WINAPI ControlPanelThread(LPVOID argument) {
  const HINSTANCE instance = *static_cast<HINSTANCE*>(argument);
  RegisterUiMessages();
  DialogBoxParamA(instance, MAKEINTRESOURCEA(kPanelDialog), nullptr, ControlPanelProc, 0);
  return 1;
}

}  // namespace astro
