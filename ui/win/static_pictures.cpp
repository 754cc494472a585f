#include "ui/win/static_pictures.h"

namespace astro {
namespace {

BOOL CALLBACK FreePicture(HWND child, LPARAM) {
  char className[16] = {};
  GetClassNameA(child, className, sizeof className);
  const LONG_PTR style = GetWindowLongPtrA(child, GWL_STYLE);
  if (lstrcmpiA(className, "Static") != 0 || (style & SS_TYPEMASK) != SS_BITMAP) return TRUE;
  // Setting no picture hands back the one the static held.
  const auto picture =
      reinterpret_cast<HBITMAP>(SendMessageA(child, STM_SETIMAGE, IMAGE_BITMAP, 0));
  if (picture != nullptr) DeleteObject(picture);
  return TRUE;
}

}  // namespace

void FreeStaticPictures(HWND dialog) {
  EnumChildWindows(dialog, FreePicture, 0);
}

}  // namespace astro
