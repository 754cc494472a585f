// The pictures of a dialog's bitmap statics. A static that shows a bitmap named
// in the dialog template loads it itself but does not free it when it goes: each
// opening of such a dialog would keep its pictures for the rest of the run.
#pragma once

#include <windows.h>

namespace astro {

// Takes every bitmap static's picture off it and frees it; for WM_DESTROY.
void FreeStaticPictures(HWND dialog);

}  // namespace astro
