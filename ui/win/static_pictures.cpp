#include "ui/win/static_pictures.h"

#include "ui/win/scaled_pictures.h"

namespace astro {
namespace {

bool IsBitmapStatic(HWND child) {
  char className[16] = {};
  GetClassNameA(child, className, sizeof className);
  const LONG_PTR style = GetWindowLongPtrA(child, GWL_STYLE);
  return lstrcmpiA(className, "Static") == 0 && (style & SS_TYPEMASK) == SS_BITMAP;
}

// The template's bitmap, kept in the static's user data once taken.
HBITMAP Artwork(HWND child) {
  return reinterpret_cast<HBITMAP>(GetWindowLongPtrA(child, GWLP_USERDATA));
}

BOOL CALLBACK ScalePicture(HWND child, LPARAM) {
  if (!IsBitmapStatic(child)) return TRUE;
  HBITMAP artwork = Artwork(child);
  if (artwork == nullptr) {
    artwork = reinterpret_cast<HBITMAP>(SendMessageA(child, STM_GETIMAGE, IMAGE_BITMAP, 0));
    if (artwork == nullptr) return TRUE;
    SetWindowLongPtrA(child, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(artwork));
  }
  RECT client;
  GetClientRect(child, &client);
  HBITMAP scaled = CreateScaledBitmap(artwork, client.right, client.bottom);
  if (scaled == nullptr) return TRUE;
  // Setting a picture hands back the one the static held.
  const auto previous = reinterpret_cast<HBITMAP>(
      SendMessageA(child, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(scaled)));
  if (previous != nullptr && previous != artwork) DeleteObject(previous);
  return TRUE;
}

BOOL CALLBACK FreePicture(HWND child, LPARAM) {
  if (!IsBitmapStatic(child)) return TRUE;
  const auto shown = reinterpret_cast<HBITMAP>(SendMessageA(child, STM_SETIMAGE, IMAGE_BITMAP, 0));
  HBITMAP artwork = Artwork(child);
  SetWindowLongPtrA(child, GWLP_USERDATA, 0);
  if (shown != nullptr && shown != artwork) DeleteObject(shown);
  if (artwork != nullptr) DeleteObject(artwork);
  return TRUE;
}

}  // namespace

void ScaleStaticPictures(HWND dialog) {
  EnumChildWindows(dialog, ScalePicture, 0);
}

void FreeStaticPictures(HWND dialog) {
  EnumChildWindows(dialog, FreePicture, 0);
}

}  // namespace astro
