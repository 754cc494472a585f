// Ending the driver and the lock flags' hold over the main window's menu.
#pragma once

#include <windows.h>

namespace astro {

// Asks the user whether to end the driver (owner: the main window). On No it
// returns false. On Yes it lets go of a playback in progress and the activation
// hook, removes the tray icon and ends the process with exit code `code`; it does
// not return.
bool ConfirmExit(int code);

// Reloads the settings from the registry, then greys or enables the five
// lockable items of window's menu by the lock flags and redraws the window.
void UpdateMenuLocks(HWND window);

// The box that refuses a locked command, in the current language.
void ShowLockedFunctionBox(HWND owner);

// Reloads the settings from the registry, so that locks set meanwhile count; the
// language in force stays.
void ReloadSettings();

}  // namespace astro
