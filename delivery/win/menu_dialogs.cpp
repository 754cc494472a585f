#include "delivery/win/menu_dialogs.h"

#include "config/win/mapping_dialog.h"
#include "config/win/security_dialogs.h"
#include "ui/win/about_dialog.h"
#include "ui/win/application_dialog.h"
#include "ui/win/language_dialog.h"

namespace astro {

void OpenAboutDialog() {
  RunAboutDialog();
}

void OpenApplicationDialog(HWND owner, std::int32_t language) {
  RunApplicationDialog(owner, language);
}

void OpenKeyboardDialog(HWND owner, std::int32_t language) {
  RunMappingDialog(owner, language);
}

void RunSecurityFlow(HWND owner) {
  RunSecurityCommand(owner);
}

void OpenLanguageDialog() {
  RunLanguageDialog();
}

}  // namespace astro
