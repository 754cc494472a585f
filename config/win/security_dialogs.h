// The password lock's dialogs and the Security command's flow: the password
// prompt (or the new-password dialog while no password has been set), then the
// security dialog where the five functions are allowed or locked.
#pragma once

#include <windows.h>

namespace astro {

// Runs the Security command for the main window (owner); the settings have just
// been reloaded.
void RunSecurityCommand(HWND owner);

}  // namespace astro
