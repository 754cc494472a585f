// The program's bitmaps at the pixel size a window shows them: drawn from the
// artwork, whatever its own size, reduced with the box filter of
// ui/picture_scaling.h (the system's stretching drops pixels, or under Wine does
// not filter at all). Pictures drawn again and again are kept, per bitmap and
// size, for every thread that draws.
#pragma once

#include <windows.h>

namespace astro {

// A new 24-bit DIB section holding the bitmap scaled to width x height; the
// caller owns it. Null when the bitmap cannot be read or the size is empty.
HBITMAP CreateScaledBitmap(HBITMAP source, int width, int height);

// Draws bitmap resource `id` of the program scaled over `area` of the device
// context. False, drawing nothing, when the bitmap does not load or the area is
// empty.
bool DrawScaledPicture(HDC target, int id, const RECT& area);

// Forgets the kept sizes of a bitmap (the window that showed it is gone).
void ReleaseScaledPicture(int id);

}  // namespace astro
