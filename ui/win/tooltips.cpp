#include "ui/win/tooltips.h"

#include <commctrl.h>

#include <cstring>
#include <string>

#include "config/key_notation.h"
#include "config/mapping_links.h"
#include "config/mapping_store.h"
#include "config/program_list.h"
#include "config/win/win_key_translator.h"
#include "delivery/win/delivery_state.h"
#include "delivery/win/win_process_query.h"
#include "driver/win/driver_state.h"
#include "ui/tooltip_table.h"

namespace astro {
namespace {

constexpr int kClassNameSize = 64;
constexpr int kAutoPopDelay = 15000;

// The shared state: the tooltip window, the dialog it serves and the relay hook.
// Plain handles, read and written by whichever thread installs last.
HWND tooltipWindow = nullptr;
HWND servedDialog = nullptr;
HHOOK relayHook = nullptr;

LRESULT CALLBACK RelayHook(int code, WPARAM wParam, LPARAM lParam) {
  const MSG* message = reinterpret_cast<const MSG*>(lParam);
  HWND tooltip = tooltipWindow;
  if (code >= 0 && tooltip != nullptr) {
    switch (message->message) {
      case WM_MOUSEMOVE:
      case WM_LBUTTONDOWN:
      case WM_LBUTTONUP:
      case WM_RBUTTONDOWN:
      case WM_RBUTTONUP: {
        MSG copy = *message;
        SendMessageA(tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&copy));
        break;
      }
      default:
        break;
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

struct ToolRegistration {
  HWND dialog;
  HWND tooltip;
};

BOOL CALLBACK AddTool(HWND child, LPARAM argument) {
  const auto* registration = reinterpret_cast<const ToolRegistration*>(argument);
  char className[kClassNameSize] = {};
  GetClassNameA(child, className, sizeof className);
  if (lstrcmpiA(className, "Static") == 0) return TRUE;
  TOOLINFOA tool = {};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND;
  tool.hwnd = registration->dialog;
  tool.uId = reinterpret_cast<UINT_PTR>(child);
  tool.lpszText = LPSTR_TEXTCALLBACKA;
  SendMessageA(registration->tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  return TRUE;
}

// What the tooltip texts read from the dialog that the tooltips serve and from
// the active keyboard mapping.
class DialogTooltipSource : public TooltipSource {
 public:
  explicit DialogTooltipSource(HWND dialog) : dialog_(dialog) {}

  // The control panel's sliders are scroll bars, which answer a trackbar's
  // position query with 0: each kind is asked its own way.
  int SliderPosition(int item) override {
    HWND control = GetDlgItem(dialog_, item);
    char className[32] = {};
    GetClassNameA(control, className, sizeof className);
    if (lstrcmpiA(className, "ScrollBar") == 0) return GetScrollPos(control, SB_CTL);
    return static_cast<int>(SendMessageA(control, TBM_GETPOS, 0, 0));
  }
  std::string ControlText(int item) override {
    char text[128] = {};
    GetDlgItemTextA(dialog_, item, text, sizeof text);
    return text;
  }
  std::optional<std::string> RecordedSequenceText(int button, MappingShown mapping) override {
    const std::string keyPath =
        mapping == MappingShown::kActive
            ? std::string(kSettingsKeyPath)
            : ChooseMappingInForce(userRegistry, ProgramUserWorksIn).keyPath;
    const std::optional<KeyEventList> recording = ReadButtonEvents(userRegistry, keyPath, button);
    if (!recording) return std::nullopt;
    WinKeyTranslator translator;
    return KeyEventsToText(recording->data(), CountKeyEvents(recording->data()), translator);
  }
  std::vector<ProgramInForce> ShownMappingPrograms() override {
    char name[64] = {};
    if (GetDlgItemTextA(dialog_, kNameBox, name, sizeof name) == 0) return {};
    return ProgramsOfMapping(userRegistry, name);
  }

 private:
  // The program of the window last activated outside the driver: the control
  // panel is in front while its tooltips show, and a press would go there.
  static std::string ProgramUserWorksIn() {
    HWND window = LastForeignWindow();
    DWORD process = 0;
    if (window == nullptr || !IsWindow(window)) return std::string();
    GetWindowThreadProcessId(window, &process);
    WinProcessQuery query;
    std::string path;
    return process != 0 && query.ImagePath(process, &path) ? ProgramFileName(path) : std::string();
  }

  static constexpr int kNameBox = 2000;
  HWND dialog_;
};

}  // namespace

bool InstallTooltips(HWND dialog, HINSTANCE instance) {
  HWND previous = tooltipWindow;
  tooltipWindow = nullptr;
  // One of another thread cannot be destroyed from here; it is forgotten.
  if (previous != nullptr && IsWindow(previous)) DestroyWindow(previous);
  servedDialog = dialog;

  HWND tooltip =
      CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr, instance, nullptr);
  if (tooltip == nullptr) return false;
  ToolRegistration registration = {dialog, tooltip};
  // A dialog without children has nothing to register, which is no failure.
  EnumChildWindows(dialog, AddTool, reinterpret_cast<LPARAM>(&registration));
  tooltipWindow = tooltip;

  if (relayHook != nullptr) UnhookWindowsHookEx(relayHook);
  relayHook = SetWindowsHookExA(WH_GETMESSAGE, RelayHook, nullptr, GetCurrentThreadId());
  if (relayHook == nullptr) return false;
  SendMessageA(tooltip, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(kAutoPopDelay, 0));
  return true;
}

void RemoveTooltips(HWND dialog) {
  if (servedDialog != dialog) return;
  if (relayHook != nullptr) UnhookWindowsHookEx(relayHook);
  relayHook = nullptr;
  tooltipWindow = nullptr;
  servedDialog = nullptr;
}

void InstallDialogTooltips(HWND dialog) {
  if (!InstallTooltips(dialog, programInstance)) {
    MessageBoxA(dialog, "Could not install ToolTip Control", "Astrolab 3D Controller",
                MB_OK | MB_ICONSTOP);
  }
}

void TooltipNeedText(LPARAM notification) {
  auto* info = reinterpret_cast<NMTTDISPINFOA*>(notification);
  if (info == nullptr || info->hdr.code != TTN_NEEDTEXTA) return;
  // The composed text stays valid until the next request.
  static std::string text;
  const int item = GetDlgCtrlID(reinterpret_cast<HWND>(info->hdr.idFrom));
  DialogTooltipSource source(servedDialog);
  const std::optional<std::string> composed = TooltipText(item, settings.language, source);
  text = composed.value_or("");
  info->lpszText = composed ? &text[0] : nullptr;
}

bool DialogTooltipMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) InstallDialogTooltips(dialog);
      return false;
    case WM_NOTIFY:
      TooltipNeedText(lParam);
      return true;
    case WM_DESTROY:
      RemoveTooltips(dialog);
      return false;
    default:
      return false;
  }
}

}  // namespace astro
