// Time to scale a picture as the driver does the first time a window shows it at
// a new size (later paints copy the kept result). Sizes: the main window's
// picture drawn at twice today's size (1000x474) into its client area at 96, 144
// and 192 dpi (490x190, 740x290, 990x408 under Wine), and the keyboard mapping's
// device picture at twice today's size (1098x650) into its frame at 192 dpi
// (1098x577). The argument pairs are source and target sizes.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "ui/picture_scaling.h"

namespace {

astro::RgbPicture Pattern(int width, int height) {
  astro::RgbPicture picture;
  picture.width = width;
  picture.height = height;
  picture.bytes.resize(static_cast<std::size_t>(width) * height * 3);
  for (std::size_t i = 0; i < picture.bytes.size(); ++i) {
    picture.bytes[i] = static_cast<std::uint8_t>((i * 2654435761u) >> 24);
  }
  return picture;
}

void BM_ScalePicture(benchmark::State& state) {
  const astro::RgbPicture source =
      Pattern(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  const int width = static_cast<int>(state.range(2));
  const int height = static_cast<int>(state.range(3));
  for (auto _ : state) {
    benchmark::DoNotOptimize(astro::ScalePicture(source, width, height));
  }
  state.SetItemsProcessed(state.iterations() * width * height);
}
BENCHMARK(BM_ScalePicture)
    ->Args({1000, 474, 490, 190})
    ->Args({1000, 474, 740, 290})
    ->Args({1000, 474, 990, 408})
    ->Args({1098, 650, 1098, 577})
    ->Unit(benchmark::kMillisecond);

}  // namespace
