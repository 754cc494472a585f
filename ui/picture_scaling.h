// Pictures brought to the pixel size a window shows them at. Each new pixel is
// the average of the source area it covers, every source pixel weighted by how
// much of it lies in that area (a box filter): a reduced picture keeps fine lines
// as blends instead of dropping them, and the same size gives back the same
// pixels. Enlarging works the same way (a new pixel that straddles two source
// pixels blends them).
#pragma once

#include <cstdint>
#include <vector>

namespace astro {

// Pixels of three bytes each, channels in any order (each is averaged on its
// own); rows `stride` bytes apart, top row first or bottom row first alike, as
// long as source and target agree.
struct PixelRows {
  const std::uint8_t* bytes = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;
};
struct PixelRowsOut {
  std::uint8_t* bytes = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;
};

// Fills the target with the source scaled to the target's size. False, and the
// target untouched, when either has no pixels or a stride shorter than a row.
bool ScalePixels(const PixelRows& source, const PixelRowsOut& target);

// Rows of exactly width * 3 bytes, top row first.
struct RgbPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> bytes;
};

// The picture at width x height; an empty picture when either is empty.
RgbPicture ScalePicture(const RgbPicture& source, int width, int height);

}  // namespace astro
