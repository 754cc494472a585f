// The box filter, on pixels worked out by hand: a new pixel is the average of the
// source area it covers, each source pixel weighted by the part of it inside,
// rounded to the nearest value (halves up). Most cases use grey pixels (three
// equal channels) written as one value each; the channels are checked apart once.
#include "ui/picture_scaling.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace astro::testing {
namespace {

// A picture of grey pixels, given row by row.
RgbPicture Grey(int width, int height, const std::vector<int>& values) {
  RgbPicture picture;
  picture.width = width;
  picture.height = height;
  for (int value : values) {
    for (int c = 0; c < 3; ++c) picture.bytes.push_back(static_cast<std::uint8_t>(value));
  }
  return picture;
}

// The first channel of every pixel, row by row.
std::vector<int> Values(const RgbPicture& picture) {
  std::vector<int> values;
  for (std::size_t i = 0; i < picture.bytes.size(); i += 3) values.push_back(picture.bytes[i]);
  return values;
}

TEST(ScalePicture, HalfSizeAveragesEachBlockOfFour) {
  // 4x2 to 2x1: (10 + 20 + 50 + 60) / 4 = 35; (30 + 40 + 70 + 80) / 4 = 55.
  const RgbPicture scaled = ScalePicture(Grey(4, 2, {10, 20, 30, 40, 50, 60, 70, 80}), 2, 1);
  EXPECT_EQ(scaled.width, 2);
  EXPECT_EQ(scaled.height, 1);
  EXPECT_EQ(Values(scaled), (std::vector<int>{35, 55}));
}

TEST(ScalePicture, ThreeToTwoSplitsTheMiddlePixel) {
  // New pixel 0 covers source [0, 1.5): (0 * 1 + 30 * 0.5) / 1.5 = 10;
  // new pixel 1 covers [1.5, 3): (30 * 0.5 + 90 * 1) / 1.5 = 70.
  EXPECT_EQ(Values(ScalePicture(Grey(3, 1, {0, 30, 90}), 2, 1)), (std::vector<int>{10, 70}));
  // The same down a column.
  EXPECT_EQ(Values(ScalePicture(Grey(1, 3, {0, 30, 90}), 1, 2)), (std::vector<int>{10, 70}));
}

TEST(ScalePicture, NonIntegerRatioWeighsPartialPixels) {
  // 5 to 3: each new pixel covers 5/3 source pixels.
  // [0, 5/3): 100 * 1 + 200 * 2/3 = 233.33 / (5/3) = 140.
  // [5/3, 10/3): 200 * 1/3 + 0 * 1 + 50 * 1/3 = 83.33 / (5/3) = 50.
  // [10/3, 5): 50 * 2/3 + 250 * 1 = 283.33 / (5/3) = 170.
  EXPECT_EQ(Values(ScalePicture(Grey(5, 1, {100, 200, 0, 50, 250}), 3, 1)),
            (std::vector<int>{140, 50, 170}));
}

TEST(ScalePicture, BothAxesAtOnceWeighTheCoveredArea) {
  // 3x3 to 2x2. The top-left new pixel covers source [0, 1.5) x [0, 1.5): the
  // corner pixel whole (weight 1), its right and lower neighbours half (0.5 each),
  // the centre a quarter (0.25); the area is 2.25. With the corner 90, the right
  // neighbour 45, the lower one 9 and the centre 180:
  // (90 + 22.5 + 4.5 + 45) / 2.25 = 72.
  const RgbPicture scaled = ScalePicture(Grey(3, 3, {90, 45, 0, 9, 180, 0, 0, 0, 0}), 2, 2);
  ASSERT_EQ(Values(scaled).size(), 4u);
  EXPECT_EQ(Values(scaled)[0], 72);
  // The bottom-right one: centre a quarter, the rest zero: 45 / 2.25 = 20.
  EXPECT_EQ(Values(scaled)[3], 20);
}

TEST(ScalePicture, HalvesRoundUp) {
  // (0 + 1) / 2 = 0.5 -> 1; (2 + 3) / 2 = 2.5 -> 3.
  EXPECT_EQ(Values(ScalePicture(Grey(4, 1, {0, 1, 2, 3}), 2, 1)), (std::vector<int>{1, 3}));
  // (254 + 255) / 2 = 254.5 -> 255: no overflow past white.
  EXPECT_EQ(Values(ScalePicture(Grey(2, 1, {254, 255}), 1, 1)), (std::vector<int>{255}));
}

TEST(ScalePicture, SameSizeGivesTheSamePixels) {
  const RgbPicture source = Grey(3, 2, {1, 2, 3, 250, 128, 7});
  EXPECT_EQ(ScalePicture(source, 3, 2).bytes, source.bytes);
}

TEST(ScalePicture, OnePixelWideAndHighPicturesScale) {
  // A single column reduced 4 to 2 and a single row enlarged 1 to 3 (every new
  // pixel lies inside the one source pixel).
  EXPECT_EQ(Values(ScalePicture(Grey(1, 4, {0, 100, 200, 40}), 1, 2)), (std::vector<int>{50, 120}));
  EXPECT_EQ(Values(ScalePicture(Grey(1, 1, {77}), 3, 1)), (std::vector<int>{77, 77, 77}));
  // A whole row into one pixel: (10 + 20 + 30 + 40 + 50) / 5 = 30.
  EXPECT_EQ(Values(ScalePicture(Grey(5, 1, {10, 20, 30, 40, 50}), 1, 1)), (std::vector<int>{30}));
}

TEST(ScalePicture, EnlargingBlendsOnlyWhereANewPixelStraddlesTwo) {
  // 2 to 3: new pixel 0 covers source [0, 2/3) (all 0), 1 covers [2/3, 4/3) (half
  // each: 50), 2 covers [4/3, 2) (all 100).
  EXPECT_EQ(Values(ScalePicture(Grey(2, 1, {0, 100}), 3, 1)), (std::vector<int>{0, 50, 100}));
  // Twice the size: every source pixel becomes two.
  EXPECT_EQ(Values(ScalePicture(Grey(2, 1, {30, 60}), 4, 1)), (std::vector<int>{30, 30, 60, 60}));
}

TEST(ScalePicture, ChannelsAreAveragedApart) {
  RgbPicture source;
  source.width = 2;
  source.height = 1;
  source.bytes = {255, 0, 10, 0, 255, 20};  // two pixels, three channels each
  // (255 + 0) / 2 = 127.5 -> 128; (0 + 255) / 2 -> 128; (10 + 20) / 2 = 15.
  EXPECT_EQ(ScalePicture(source, 1, 1).bytes, (std::vector<std::uint8_t>{128, 128, 15}));
}

TEST(ScalePicture, EmptySizesGiveNothing) {
  const RgbPicture source = Grey(2, 2, {1, 2, 3, 4});
  EXPECT_TRUE(ScalePicture(source, 0, 2).bytes.empty());
  EXPECT_TRUE(ScalePicture(source, 2, -1).bytes.empty());
  EXPECT_TRUE(ScalePicture(RgbPicture(), 2, 2).bytes.empty());
  EXPECT_EQ(ScalePicture(RgbPicture(), 2, 2).width, 0);
}

TEST(ScalePixels, PaddedRowsKeepTheirPaddingAndShortStridesAreRefused) {
  // Rows padded to 8 bytes, as bitmaps pad theirs to a multiple of four: two grey
  // pixels (6 bytes) and 2 bytes of padding, which must be neither read nor written.
  const std::uint8_t source[16] = {10, 10, 10, 30, 30, 30, 99, 99, 50, 50, 50, 70, 70, 70, 99, 99};
  std::uint8_t target[8] = {0, 0, 0, 7, 7, 7, 7, 7};
  ASSERT_TRUE(ScalePixels({source, 2, 2, 8}, {target, 1, 1, 8}));
  // (10 + 30 + 50 + 70) / 4 = 40.
  EXPECT_EQ(target[0], 40);
  EXPECT_EQ(target[2], 40);
  EXPECT_EQ(target[3], 7);

  EXPECT_FALSE(ScalePixels({source, 2, 2, 5}, {target, 1, 1, 8}));
  EXPECT_FALSE(ScalePixels({source, 2, 2, 8}, {target, 2, 1, 5}));
  EXPECT_FALSE(ScalePixels({nullptr, 2, 2, 8}, {target, 1, 1, 8}));
}

}  // namespace
}  // namespace astro::testing
