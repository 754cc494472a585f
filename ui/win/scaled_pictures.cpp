#include "ui/win/scaled_pictures.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "ui/picture_scaling.h"

namespace astro {
namespace {

// Sizes kept per bitmap: a window being resized asks for a new size each time.
constexpr int kSizesKept = 2;

int Stride(int width) {
  return (width * 3 + 3) & ~3;  // rows of a 24-bit DIB end on four bytes
}

// 24 bits per pixel, top row first.
BITMAPINFO Format(int width, int height) {
  BITMAPINFO format = {};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = width;
  format.bmiHeader.biHeight = -height;
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 24;
  format.bmiHeader.biCompression = BI_RGB;
  return format;
}

struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> bytes;  // rows of Stride(width)
};

Pixels ReadPixels(HBITMAP bitmap) {
  Pixels pixels;
  BITMAP size = {};
  if (bitmap == nullptr || GetObjectA(bitmap, sizeof size, &size) == 0 || size.bmWidth <= 0 ||
      size.bmHeight <= 0) {
    return pixels;
  }
  const int height = size.bmHeight;
  BITMAPINFO format = Format(size.bmWidth, height);
  pixels.bytes.resize(static_cast<std::size_t>(Stride(size.bmWidth)) * height);
  HDC screen = GetDC(nullptr);
  const int lines = GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), pixels.bytes.data(),
                              &format, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (lines != height) {
    pixels.bytes.clear();
    return pixels;
  }
  pixels.width = size.bmWidth;
  pixels.height = height;
  return pixels;
}

bool ScaleInto(const Pixels& source, std::uint8_t* target, int width, int height) {
  return ScalePixels({source.bytes.data(), source.width, source.height, Stride(source.width)},
                     {target, width, height, Stride(width)});
}

// A bitmap resource read as it is drawn: a DIB section keeps the artwork's own
// colours whatever the screen's depth.
Pixels ResourcePixels(int id) {
  HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr),
                                                   MAKEINTRESOURCEA(static_cast<WORD>(id)),
                                                   IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  Pixels pixels = ReadPixels(bitmap);
  if (bitmap != nullptr) DeleteObject(bitmap);
  return pixels;
}

struct Kept {
  int id;
  unsigned long made;  // the newest is kept longest
  Pixels pixels;
};

// Several threads draw (the panel's and the button window's have their own):
// the list is theirs one at a time, the drawing from it included.
SRWLOCK keptLock = SRWLOCK_INIT;
std::vector<Kept> kept;
unsigned long madeCount = 0;

const Pixels* KeptPicture(int id, int width, int height) {
  for (const Kept& picture : kept) {
    if (picture.id == id && picture.pixels.width == width && picture.pixels.height == height) {
      return &picture.pixels;
    }
  }
  const Pixels source = ResourcePixels(id);
  Pixels scaled;
  scaled.bytes.resize(static_cast<std::size_t>(Stride(width)) * height);
  if (source.bytes.empty() || !ScaleInto(source, scaled.bytes.data(), width, height)) {
    return nullptr;
  }
  scaled.width = width;
  scaled.height = height;
  // Room for the new size: the oldest size of the same bitmap goes.
  const auto sameId = [id](const Kept& picture) { return picture.id == id; };
  if (std::count_if(kept.begin(), kept.end(), sameId) >= kSizesKept) {
    auto oldest = kept.end();
    for (auto it = kept.begin(); it != kept.end(); ++it) {
      if (it->id == id && (oldest == kept.end() || it->made < oldest->made)) oldest = it;
    }
    kept.erase(oldest);
  }
  kept.push_back({id, ++madeCount, std::move(scaled)});
  return &kept.back().pixels;
}

}  // namespace

HBITMAP CreateScaledBitmap(HBITMAP source, int width, int height) {
  if (width <= 0 || height <= 0) return nullptr;
  const Pixels pixels = ReadPixels(source);
  if (pixels.bytes.empty()) return nullptr;
  BITMAPINFO format = Format(width, height);
  void* bits = nullptr;
  HBITMAP scaled = CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (scaled == nullptr || bits == nullptr) return scaled;
  if (!ScaleInto(pixels, static_cast<std::uint8_t*>(bits), width, height)) {
    DeleteObject(scaled);
    return nullptr;
  }
  return scaled;
}

bool DrawScaledPicture(HDC target, int id, const RECT& area) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return false;
  AcquireSRWLockExclusive(&keptLock);
  const Pixels* picture = KeptPicture(id, width, height);
  bool drawn = false;
  if (picture != nullptr) {
    BITMAPINFO format = Format(width, height);
    drawn = StretchDIBits(target, area.left, area.top, width, height, 0, 0, width, height,
                          picture->bytes.data(), &format, DIB_RGB_COLORS, SRCCOPY) != 0;
  }
  ReleaseSRWLockExclusive(&keptLock);
  return drawn;
}

void ReleaseScaledPicture(int id) {
  AcquireSRWLockExclusive(&keptLock);
  kept.erase(std::remove_if(kept.begin(), kept.end(),
                            [id](const Kept& picture) { return picture.id == id; }),
             kept.end());
  ReleaseSRWLockExclusive(&keptLock);
}

}  // namespace astro
