#include "ui/win/tray_icon.h"

#include <cstring>

#include "driver/win/driver_state.h"
#include "driver/win/image_ids.h"
#include "ui/startup_texts.h"
#include "ui/tray_start.h"
#include "ui/tray_tip.h"

namespace astro {
namespace {

class ShellTray : public TrayIconPort {
 public:
  bool AddIcon() override { return Shell_NotifyIconA(NIM_ADD, &trayRecord) != FALSE; }
  bool ModifyIcon() override { return Shell_NotifyIconA(NIM_MODIFY, &trayRecord) != FALSE; }
  void Wait(unsigned milliseconds) override { Sleep(milliseconds); }
};

bool trayAdded = false;

}  // namespace

NOTIFYICONDATAA trayRecord = {};

void SetTrayTip(const char* title) {
  std::strncpy(trayRecord.szTip, title, sizeof(trayRecord.szTip) - 1);
  trayRecord.szTip[sizeof(trayRecord.szTip) - 1] = '\0';
}

bool AddTrayIcon(HWND window, HINSTANCE instance, std::int32_t language) {
  trayRecord = {};
  // The shortest layout of the record: every system version accepts it.
  trayRecord.cbSize = NOTIFYICONDATAA_V1_SIZE;
  trayRecord.hWnd = window;
  trayRecord.uID = kTrayIconId;
  trayRecord.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  trayRecord.uCallbackMessage = kTrayCallbackMessage;
  trayRecord.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(ImageId(0)));
  SetTrayTip(TrayTipText(language, controllerLost, controllerPortName).c_str());
  ShellTray tray;
  trayAdded = AddTrayIconPatiently(tray);
  return trayAdded;
}

UINT TaskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageA("TaskbarCreated");
  return message;
}

void UpdateTrayTip(std::int32_t language) {
  SetTrayTip(TrayTipText(language, controllerLost, controllerPortName).c_str());
  if (trayAdded) Shell_NotifyIconA(NIM_MODIFY, &trayRecord);
}

void RestoreTrayIcon() {
  if (trayAdded) Shell_NotifyIconA(NIM_ADD, &trayRecord);
}

void RemoveTrayIcon() {
  if (trayAdded) Shell_NotifyIconA(NIM_DELETE, &trayRecord);
  trayAdded = false;
}

}  // namespace astro
