#include "ui/panel_sliders.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace astro {

namespace {

constexpr int kSliderLow = -50;
constexpr int kSliderHigh = 50;
constexpr int kZeroPosition = -51;
constexpr int kStepUpButton = 6;
constexpr int kStepDownButton = 5;

}  // namespace

int axisSliderPos(double factor) {
  if (factor == 0.0) return kZeroPosition;
  if (std::isnan(factor) || factor < 0.0) return kSliderLow;
  if (std::isinf(factor)) return kSliderHigh;
  const double scaled = 20.0 * std::log(factor);
  // |20 ln v| stays below 15000 for every finite positive double, so the
  // truncation toward zero cannot leave the int range.
  return static_cast<int>(factor >= 1.0 ? scaled + 0.5 : scaled - 0.5);
}

double axisSliderValue(int position) {
  if (position == kZeroPosition) return 0.0;
  constexpr double kLog2E = 1.4426950408889634;
  return std::pow(2.0, position * 0.05 * kLog2E);
}

int AxisSliderShownPosition(double factor) {
  return std::clamp(axisSliderPos(factor), kSliderLow, kSliderHigh);
}

double AxisLineLeft(double factor) {
  const int position = axisSliderPos(factor);
  return position > kSliderLow ? axisSliderValue(position - 1) : factor;
}

double AxisLineRight(double factor) {
  const int position = axisSliderPos(factor);
  return position < kSliderHigh ? axisSliderValue(position + 1) : factor;
}

double AxisThumb(int signedHighWord) {
  return axisSliderValue(signedHighWord);
}

std::optional<int> OverallStepFromFactor(float factor) {
  if (!(factor > 0.0f)) return std::nullopt;
  const double step = std::floor(std::log2(static_cast<double>(factor)) + 0.5);
  // Only +infinity reaches the bound; the clamp keeps the conversion defined.
  constexpr double kLow = std::numeric_limits<int>::min();
  constexpr double kHigh = std::numeric_limits<int>::max();
  return static_cast<int>(std::clamp(step, kLow, kHigh));
}

std::vector<int> OverallThumbButtons(int start, std::uint32_t wParam) {
  const int target = static_cast<std::int16_t>(wParam >> 16);
  std::vector<int> buttons;
  // The scroll bar speaks 16-bit positions, so only the low words are compared.
  while ((target & 0xFFFF) != (start & 0xFFFF)) {
    if (target > start) {
      buttons.push_back(kStepUpButton);
      ++start;
    } else {
      buttons.push_back(kStepDownButton);
      --start;
    }
  }
  return buttons;
}

std::int32_t NullRadiusLineLeft(std::int32_t radius) {
  return std::max(std::clamp(radius, 0, 100) - 1, 0);
}

std::int32_t NullRadiusLineRight(std::int32_t radius) {
  return std::min(std::clamp(radius, 0, 100) + 1, 100);
}

std::int32_t NullRadiusThumb(std::uint32_t wParam) {
  return static_cast<std::int32_t>(wParam >> 16);
}

}  // namespace astro
