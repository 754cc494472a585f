// The button information window: a small topmost window that shows, while a
// device button is held, its picture and what it does in the keyboard mapping
// in force for the program in front. It runs on a thread of its own and
// remembers its position.
#pragma once

#include <windows.h>

namespace astro {

// Starts the window's thread unless one is running, recording its handle and id.
void StartButtonWindow();

// A window was activated: the open window shows the mapping in force for that
// window's program (its title and the held button's assignment). The report
// comes before the activation is done, while another window may still be in
// front, so the window's own process is named. Posted: the caller does not wait
// for the window's registry reads.
void FollowProgramInFront(HWND activated);

}  // namespace astro
