// The language dialog: the user picks one of the five languages; the main
// window's menu, its title and the tray tip follow at once, and OK saves it.
#pragma once

#include <windows.h>

namespace astro {

// Runs the modal dialog (template 174) without owner.
void RunLanguageDialog();

}  // namespace astro
