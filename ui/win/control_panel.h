// The control panel: the user's tuning window, a modal dialog without owner on a
// thread of its own that lives from its first opening until the driver ends. It
// writes the settings record directly, talks to the driver's main window like a
// client, and simulates device buttons towards the target application.
#pragma once

#include <windows.h>

namespace astro {

// The panel thread's body: registers the driver's messages and runs the panel
// dialog (template 245). argument: a pointer to the program instance.
DWORD WINAPI ControlPanelThread(LPVOID argument);

}  // namespace astro
