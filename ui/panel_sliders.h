// The arithmetic behind the control panel's sliders: the six axis sliders, whose
// position p stands for the factor e^(p/20); the overall-sensitivity slider, which
// the application moves by answering simulated presses of buttons 5 and 6; and the
// null-radius slider.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace astro {

// Position of an axis factor: 20 ln v rounded half away from zero; 0.0 exactly is
// -51, one below the slider's range. A negative factor or NaN has no logarithm and
// gives -50; +infinity gives 50.
int axisSliderPos(double factor);

// The factor of a position: 0.0 for -51, else e^(p/20).
double axisSliderValue(int position);

// What an axis slider shows for a factor: axisSliderPos clamped to -50..50, as the
// slider clamps it when set.
int AxisSliderShownPosition(double factor);

// The factor after a line step of the slider. At -50 (or below) line-left keeps
// the factor; at 50 (or above) line-right keeps it.
double AxisLineLeft(double factor);
double AxisLineRight(double factor);

// The factor for a thumb position (the signed 16-bit high word of the scroll
// message's wParam).
double AxisThumb(int signedHighWord);

// The overall slider's position for the application's sensitivity factor:
// floor(log2 f + 0.5). None for a factor of zero or below or NaN: the slider stays
// where it is. +infinity gives INT32_MAX.
std::optional<int> OverallStepFromFactor(float factor);

// The buttons to press and release, in order, to walk the application from the
// slider's position start to the thumb position in the high word of wParam: 6 for
// each step up, 5 for each step down.
std::vector<int> OverallThumbButtons(int start, std::uint32_t wParam);

// The null radius after a line step, kept within 0..100; a stored radius outside
// that range steps from the end of the range the slider shows.
std::int32_t NullRadiusLineLeft(std::int32_t radius);
std::int32_t NullRadiusLineRight(std::int32_t radius);

// The null radius for a thumb position: the unsigned high word of wParam.
std::int32_t NullRadiusThumb(std::uint32_t wParam);

}  // namespace astro
