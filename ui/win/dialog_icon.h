// Every dialog of the program shows the program's icon.
#pragma once

#include <windows.h>

namespace astro {

// Sets icon 226 as the icon of the dialog's class.
void SetDialogIcon(HWND dialog);

}  // namespace astro
