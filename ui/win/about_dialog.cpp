#include "ui/win/about_dialog.h"

#include <windows.h>

#include "driver/win/driver_state.h"
#include "ui/lang_text.h"
#include "ui/win/dialog_close.h"
#include "ui/win/dialog_icon.h"
#include "ui/win/static_pictures.h"
#include "ui/win/tooltips.h"
#include "ui/win/window_dpi.h"

namespace astro {
namespace {

constexpr int kAboutDialog = 263;

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  FollowDpiChange(dialog, message, lParam);
  if (DialogTooltipMessage(dialog, message, wParam, lParam)) return TRUE;
  if (EndedByOkOrClose(dialog, message, wParam)) return TRUE;
  if (message == WM_DESTROY) FreeStaticPictures(dialog);
  if (message == kDpiLayoutChanged) ScaleStaticPictures(dialog);
  if (message != WM_INITDIALOG) return FALSE;
  SetDialogIcon(dialog);
  ScaleStaticPictures(dialog);  // the logo
  SetWindowTextA(dialog, LangText(settings.language, kTextAboutTitle));
  InstallDialogTooltips(dialog);
  return TRUE;
}

}  // namespace

void RunAboutDialog() {
  DialogBoxParamA(programInstance, MAKEINTRESOURCEA(kAboutDialog), nullptr, AboutDialogProc, 0);
}

}  // namespace astro
