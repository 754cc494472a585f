// "MBITMAPBUTTON": the program's own push button. It shows one of three bitmaps
// (normal, focused, pressed) stretched over its rectangle with a bold text centred
// on top, and reports a click to its parent as WM_COMMAND(item, 0) with lParam 0.
//
// The button draws through its parent's device context at the rectangle it found
// at creation, so a parent must not clip its children (no WS_CLIPCHILDREN) and the
// button must not be moved afterwards.
#pragma once

#include <windows.h>

namespace astro {

// Messages a parent sends to a button.
// wParam 1, 2, 3: the normal, focused or pressed bitmap (lParam = resource id of
// the program's module); setting the normal one also shows the normal look.
// Other wParam values are refused with 0.
constexpr UINT kBitmapButtonSetBitmap = WM_USER;
// wParam: the text colour.
constexpr UINT kBitmapButtonSetColour = WM_USER + 1;
// Answers the text colour (for accessibility tools and tests).
constexpr UINT kBitmapButtonGetColour = WM_USER + 2;
// Answers the look shown: 0 nothing, 1 normal, 2 focused, 3 pressed (for
// accessibility tools and tests).
constexpr UINT kBitmapButtonGetLook = WM_USER + 3;

// Texts longer than this are cut to it.
constexpr int kBitmapButtonTextLength = 255;

// Registers the class once at start-up; true when the system took it.
bool RegisterBitmapButtonClass(HINSTANCE instance);

// Gives button item of dialog its three bitmaps. False, and nothing set, when
// normal is 0; otherwise false when the button refused one of them.
bool SetBitmapButtonBitmaps(HWND dialog, int item, int normal, int focused, int pressed);

void SetBitmapButtonColour(HWND dialog, int item, COLORREF colour);

void SetBitmapButtonText(HWND dialog, int item, const char* text);

}  // namespace astro
