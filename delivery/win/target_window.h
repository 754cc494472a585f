// The client window that receives motion and button events.
#pragma once

#include <windows.h>

namespace astro {

// Makes w the target, then posts CmdSetClientWindow for w to the driver's own
// window, so that binding w to the active application happens on the message loop.
void SetTargetWindow(HWND w);

}  // namespace astro
