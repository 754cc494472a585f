// The button information window: a small topmost window that shows, while a
// device button is held, its picture and what it does in the active keyboard
// mapping. It runs on a thread of its own and remembers its position.
#pragma once

#include <windows.h>

namespace astro {

// Starts the window's thread unless one is running, recording its handle and id.
void StartButtonWindow();

}  // namespace astro
