#include "ui/win/language_dialog.h"

#include "config/settings_store.h"
#include "delivery/win/exit_and_locks.h"
#include "driver/win/driver_state.h"
#include "ui/language_index.h"
#include "ui/language_titles.h"
#include "ui/startup_texts.h"
#include "ui/win/dialog_icon.h"
#include "ui/win/static_pictures.h"
#include "ui/win/tooltips.h"
#include "ui/win/tray_icon.h"
#include "ui/win/window_dpi.h"

namespace astro {
namespace {

constexpr int kLanguageDialog = 174;
constexpr int kFirstLanguageButton = 2004;  // English; then German, French, Spanish, Italian
constexpr int kLastLanguageButton = kFirstLanguageButton + kLanguageCount - 1;

void ChooseLanguage(HWND dialog, std::int32_t language) {
  if (mainWindow != nullptr && IsWindow(mainWindow)) {
    HMENU old = GetMenu(mainWindow);
    SetMenu(mainWindow, LoadMenuA(programInstance, MAKEINTRESOURCEA(MainMenuResource(language))));
    if (old != nullptr) DestroyMenu(old);
    SetWindowTextA(mainWindow, ProductTitle(language));
    SetWindowTextA(dialog, LanguageDialogTitle(language));
    // Reloads the settings, the stored language with them: the new one is set
    // after it.
    UpdateMenuLocks(mainWindow);
  }
  settings.language = language;
}

INT_PTR CALLBACK LanguageDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  FollowDpiChange(dialog, message, lParam);
  if (DialogTooltipMessage(dialog, message, wParam, lParam)) return TRUE;
  switch (message) {
    case WM_INITDIALOG:
      SetDialogIcon(dialog);
      ScaleStaticPictures(dialog);  // the flags
      InstallDialogTooltips(dialog);
      CheckRadioButton(dialog, kFirstLanguageButton, kLastLanguageButton,
                       kFirstLanguageButton + LanguageIndex(settings.language));
      SetWindowTextA(dialog, LanguageDialogTitle(settings.language));
      return TRUE;
    case WM_COMMAND: {
      const int item = LOWORD(wParam);
      if (item >= kFirstLanguageButton && item <= kLastLanguageButton) {
        ChooseLanguage(dialog, item - kFirstLanguageButton);
      } else if (item == IDOK) {
        SaveSettingsGuardingLock(userRegistry, settings, LockChange::kNothing);
        EndDialog(dialog, IDOK);
      }
      // After every command: the tray tip speaks the language now in force.
      UpdateTrayTip(settings.language);
      return TRUE;
    }
    case WM_SYSCOMMAND:
      // The close box keeps the language for this run without saving it.
      if ((wParam & 0xFFF0) == SC_CLOSE) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      return FALSE;
    case kDpiLayoutChanged:
      ScaleStaticPictures(dialog);
      return TRUE;
    case WM_DESTROY:
      FreeStaticPictures(dialog);
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

void RunLanguageDialog() {
  DialogBoxParamA(programInstance, MAKEINTRESOURCEA(kLanguageDialog), nullptr, LanguageDialogProc,
                  0);
}

}  // namespace astro
