#include "delivery/win/menu_dialogs.h"

#include "config/win/mapping_dialog.h"
#include "config/win/security_dialogs.h"
#include "ui/win/language_dialog.h"

// Dialogs that are not part of the program yet: the command is accepted
// (settings reloaded, lock checked) and then does nothing.
namespace astro {

void OpenAboutDialog() {}

void OpenApplicationDialog(HWND, std::int32_t) {}

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
