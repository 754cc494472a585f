// "Add current program...": a small dialog that offers the programs with a
// visible top-level window now, for the keyboard mapping dialog's programs list.
#pragma once

#include <windows.h>

#include <string>

namespace astro {

// Runs the chooser over owner in the current language; the chosen program's
// file name, or empty when the user cancelled or nothing was listed.
std::string ChooseRunningProgram(HWND owner);

}  // namespace astro
