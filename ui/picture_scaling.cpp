#include "ui/picture_scaling.h"

#include <algorithm>
#include <cstddef>

namespace astro {
namespace {

constexpr int kChannels = 3;

// How one new pixel of an axis is made: the source pixels it covers from `first`
// on, each with its share. Shares are lengths in 1/to of a source pixel, so the
// shares of one new pixel add up to `from` (the source length of the axis).
struct Cover {
  int first = 0;
  std::vector<std::uint32_t> shares;
};

// New pixel d covers [d * from, (d + 1) * from) and source pixel s covers
// [s * to, (s + 1) * to), both in units of 1/to source pixels.
std::vector<Cover> Covers(int from, int to) {
  std::vector<Cover> covers(static_cast<std::size_t>(to));
  for (int d = 0; d < to; ++d) {
    const std::int64_t start = static_cast<std::int64_t>(d) * from;
    const std::int64_t end = start + from;
    Cover& cover = covers[static_cast<std::size_t>(d)];
    cover.first = static_cast<int>(start / to);
    for (std::int64_t s = cover.first; s * to < end; ++s) {
      const std::int64_t share = std::min(end, (s + 1) * to) - std::max(start, s * to);
      cover.shares.push_back(static_cast<std::uint32_t>(share));
    }
  }
  return covers;
}

bool Usable(int width, int height, int stride) {
  return width > 0 && height > 0 && stride >= width * kChannels;
}

}  // namespace

bool ScalePixels(const PixelRows& source, const PixelRowsOut& target) {
  if (source.bytes == nullptr || target.bytes == nullptr ||
      !Usable(source.width, source.height, source.stride) ||
      !Usable(target.width, target.height, target.stride)) {
    return false;
  }
  const std::vector<Cover> across = Covers(source.width, target.width);
  const std::vector<Cover> down = Covers(source.height, target.height);

  // Across first: each source row becomes a row of the new width holding sums
  // (at most 255 times the source width each).
  const std::size_t rowLength = static_cast<std::size_t>(target.width) * kChannels;
  std::vector<std::uint32_t> sums(rowLength * static_cast<std::size_t>(source.height));
  for (int y = 0; y < source.height; ++y) {
    const std::uint8_t* row = source.bytes + static_cast<std::ptrdiff_t>(y) * source.stride;
    std::uint32_t* out = sums.data() + rowLength * static_cast<std::size_t>(y);
    for (int x = 0; x < target.width; ++x) {
      const Cover& cover = across[static_cast<std::size_t>(x)];
      for (int c = 0; c < kChannels; ++c) {
        std::uint32_t sum = 0;
        for (std::size_t i = 0; i < cover.shares.size(); ++i) {
          sum += cover.shares[i] * row[(static_cast<std::size_t>(cover.first) + i) * kChannels + c];
        }
        out[static_cast<std::size_t>(x) * kChannels + c] = sum;
      }
    }
  }

  // Then down, and the whole weight divided out once, rounded to nearest.
  const std::uint64_t total =
      static_cast<std::uint64_t>(source.width) * static_cast<std::uint64_t>(source.height);
  std::vector<std::uint64_t> column(rowLength);
  for (int y = 0; y < target.height; ++y) {
    const Cover& cover = down[static_cast<std::size_t>(y)];
    std::fill(column.begin(), column.end(), 0);
    for (std::size_t i = 0; i < cover.shares.size(); ++i) {
      const std::uint32_t* row =
          sums.data() + rowLength * (static_cast<std::size_t>(cover.first) + i);
      for (std::size_t k = 0; k < rowLength; ++k) {
        column[k] += static_cast<std::uint64_t>(cover.shares[i]) * row[k];
      }
    }
    std::uint8_t* out = target.bytes + static_cast<std::ptrdiff_t>(y) * target.stride;
    for (std::size_t k = 0; k < rowLength; ++k) {
      out[k] = static_cast<std::uint8_t>((column[k] + total / 2) / total);
    }
  }
  return true;
}

RgbPicture ScalePicture(const RgbPicture& source, int width, int height) {
  RgbPicture scaled;
  if (width <= 0 || height <= 0) return scaled;
  scaled.bytes.resize(static_cast<std::size_t>(width) * height * kChannels);
  const PixelRows from = {source.bytes.data(), source.width, source.height,
                          source.width * kChannels};
  const PixelRowsOut to = {scaled.bytes.data(), width, height, width * kChannels};
  if (source.bytes.size() < static_cast<std::size_t>(source.width) * source.height * kChannels ||
      !ScalePixels(from, to)) {
    scaled.bytes.clear();
    return scaled;
  }
  scaled.width = width;
  scaled.height = height;
  return scaled;
}

}  // namespace astro
