// The keyboard mapping dialog: the user records key sequences for the twelve
// buttons over a picture of the device and keeps them in named mappings.
#pragma once

#include <windows.h>

#include <cstdint>

namespace astro {

// Runs the dialog modally, owned by owner, in the language's template. 1 when it
// was closed with Close.
INT_PTR RunMappingDialog(HWND owner, std::int32_t language);

// A control's rectangle in the dialog's client coordinates; false without such a
// control.
bool GetControlRectInDialog(HWND dialog, int controlId, RECT* rect);

}  // namespace astro
