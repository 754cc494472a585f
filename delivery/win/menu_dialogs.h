// The dialogs that the main window's menu opens, one entry point each. The main
// window has reloaded the settings and checked the command's lock before it
// calls them; each runs on the main thread.
#pragma once

#include <windows.h>

#include <cstdint>

namespace astro {

// Modal About dialog without owner.
void OpenAboutDialog();
// Modal target-application dialog owned by the main window, in the language.
void OpenApplicationDialog(HWND owner, std::int32_t language);
// Modal keyboard mapping dialog owned by the main window, in the language.
void OpenKeyboardDialog(HWND owner, std::int32_t language);
// The password prompt (or the new-password dialog while the default password is
// stored), then the security dialog when the password was accepted.
void RunSecurityFlow(HWND owner);
// Modal language dialog without owner.
void OpenLanguageDialog();

}  // namespace astro
