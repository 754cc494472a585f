#include "delivery/win/exit_and_locks.h"

#include "config/settings_store.h"
#include "delivery/main_menu.h"
#include "delivery/win/delivery_state.h"
#include "driver/win/driver_state.h"
#include "driver/win/hook_host_launch.h"
#include "ui/lang_text.h"
#include "ui/win/tray_icon.h"

namespace astro {

bool ConfirmExit(int code) {
  const std::int32_t language = settings.language;
  if (MessageBoxA(mainWindow, LangText(language, kTextExitQuestion),
                  LangText(language, kTextExitCaption), MB_YESNO | MB_ICONQUESTION) != IDYES) {
    return false;
  }
  MainKeyPlayback().Release();
  if (activationHook != nullptr) {
    UnhookWindowsHookEx(activationHook);
    activationHook = nullptr;
  }
  EndHookHost();
  RemoveTrayIcon();
  ExitProcess(static_cast<UINT>(code));
}

void ReloadSettings() {
  // The language chosen in the language dialog is in force for the whole run,
  // saved or not: a reload must not take the user's texts back.
  const std::int32_t language = settings.language;
  LoadSettings(userRegistry, settings, runtimeFlags);
  settings.language = language;
}

void UpdateMenuLocks(HWND window) {
  ReloadSettings();
  HMENU menu = GetMenu(window);
  MenuItemLock locks[kLockableCommands];
  MenuItemLocks(settings, locks);
  for (const MenuItemLock& lock : locks) {
    EnableMenuItem(menu, static_cast<UINT>(lock.command),
                   MF_BYCOMMAND | (lock.greyed ? MF_GRAYED : MF_ENABLED));
  }
  DrawMenuBar(window);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
}

void ShowLockedFunctionBox(HWND owner) {
  const MessageBoxTexts texts = LockedFunctionTexts(settings.language);
  MessageBoxA(owner, texts.text, texts.caption, MB_OK | MB_ICONSTOP);
}

}  // namespace astro
