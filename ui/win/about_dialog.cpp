#include "ui/win/about_dialog.h"

#include <windows.h>

#include "driver/win/driver_state.h"
#include "ui/lang_text.h"
#include "ui/win/dialog_icon.h"
#include "ui/win/tooltips.h"

namespace astro {
namespace {

constexpr int kAboutDialog = 263;

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (DialogTooltipMessage(dialog, message, wParam, lParam)) return TRUE;
  switch (message) {
    case WM_INITDIALOG:
      SetDialogIcon(dialog);
      SetWindowTextA(dialog, LangText(settings.language, kTextAboutTitle));
      InstallDialogTooltips(dialog);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) != IDOK) return FALSE;
      EndDialog(dialog, 1);
      return TRUE;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) != SC_CLOSE) return FALSE;
      EndDialog(dialog, 1);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

void RunAboutDialog() {
  DialogBoxParamA(programInstance, MAKEINTRESOURCEA(kAboutDialog), nullptr, AboutDialogProc, 0);
}

}  // namespace astro
