// A window's text, however long.
#pragma once

#include <windows.h>

#include <string>

namespace astro {

std::string WholeWindowText(HWND window);

}  // namespace astro
