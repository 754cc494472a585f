// The pictures of a dialog's bitmap statics. A static loads the bitmap its
// template names at the bitmap's own size; the program shows it scaled to the
// static's size in the template (SS_REALSIZECONTROL keeps that size), which
// follows the DPI. The static frees neither bitmap when it goes: each opening of
// such a dialog would keep its pictures for the rest of the run.
#pragma once

#include <windows.h>

namespace astro {

// Gives every bitmap static a copy of its picture scaled to its client size; the
// template's bitmap is kept with the static to scale from again. For
// WM_INITDIALOG, and again after a change of DPI (kDpiLayoutChanged).
void ScaleStaticPictures(HWND dialog);

// Takes every bitmap static's pictures off it and frees them; for WM_DESTROY.
void FreeStaticPictures(HWND dialog);

}  // namespace astro
