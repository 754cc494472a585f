#include "delivery/motion_shaping.h"

#include <cmath>
#include <limits>

#include "client/astrolab_client.h"
#include "delivery/target_selection.h"

namespace astro {
namespace {

constexpr std::int32_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kInt32Max = std::numeric_limits<std::int32_t>::max();

// A divisor of 0 never comes from a client command; should one be set anyway,
// the term contributes nothing rather than trapping.
std::int64_t Divide(std::int32_t value, std::int32_t divisor) {
  return divisor == 0 ? 0 : static_cast<std::int64_t>(value) / divisor;
}

std::int32_t Saturate(std::int64_t value) {
  return static_cast<std::int32_t>(value < kInt32Min ? kInt32Min
                                                     : (value > kInt32Max ? kInt32Max : value));
}

// Posts the packed sample to the target; if that fails, tries one fallback client.
void PostMotion(const DeliveryScope& scope, std::uint32_t wParam, std::uint32_t lParam) {
  DeliveryContext& context = scope.context;
  const WindowHandle target = context.targetWindow;
  const std::uint32_t message = context.motionEventMessage;
  // wParam carries its word zero-extended, lParam as a signed 32-bit value
  // sign-extended, as a 32-bit system passes them on: the low 32 bits are the words.
  const auto lWord = static_cast<std::intptr_t>(static_cast<std::int32_t>(lParam));
  // Without a target nothing is posted: a post to window 0 would land in the
  // driver's own thread queue, which the main loop never empties. When the user
  // chose no application, that is where motion goes; when the target's window
  // vanished and no fallback was found yet, the fallback is tried again.
  if (target == 0 && context.targetClearedByUser) return;
  const std::uint32_t error =
      target == 0 ? kErrorInvalidWindowHandle : scope.platform.Post(target, message, wParam, lWord);
  if (error == 0) return;
  if (error == kErrorInvalidWindowHandle && target != 0) {
    scope.apps.RemoveAppWindow(target);
    context.targetWindow = 0;
    context.targetClearedByUser = false;  // vanished, not cleared by the user
  }
  const WindowHandle fallback = ChooseFallbackTarget(scope);
  if (fallback != 0) scope.platform.Post(fallback, message, wParam, lWord);
}

}  // namespace

void EmulateMouse(const std::int32_t raw[kAxisCount], std::int32_t mouseMode,
                  const std::int32_t divisor[2], DeliveryPlatform& platform) {
  const std::int32_t d1 = divisor[0];
  const std::int32_t d2 = divisor[1];
  std::int64_t dx = 0;
  std::int64_t dy = 0;
  if (mouseMode & MouseModeSlanted) {
    dx = Divide(raw[kAxisX], d1) - Divide(raw[kAxisB], d1);
    dy = Divide(raw[kAxisZ], d1);
  }
  if (mouseMode & MouseModeTranslation) {
    dx += Divide(raw[kAxisX], d1);
    dy -= Divide(raw[kAxisY], d1);
  }
  if (mouseMode & MouseModeRotation) {
    dx -= Divide(raw[kAxisC], d2);
    dy += Divide(raw[kAxisA], d2);
  }
  if (mouseMode & MouseModeWheel) {
    platform.TurnWheel(Saturate(Divide(raw[kAxisZ], d1)));
  } else {
    platform.MoveMouse(Saturate(dx), Saturate(dy));
  }
}

std::int32_t ApplyNullZone(std::int32_t value, std::int32_t radius) {
  if (radius < 0) radius = 0;  // a negative zone would push values away from 0
  if (value > radius) return value - radius;
  if (value < -radius) return value + radius;
  return 0;
}

std::int32_t ScaleAxis(std::int32_t value, std::int32_t enabled, double scale) {
  if (enabled == 0) return 0;
  const double product = std::trunc(static_cast<double>(value) * scale);
  // Converting a double outside the 32-bit range (or NaN) is undefined: hold it.
  if (std::isnan(product)) return 0;
  if (product <= static_cast<double>(kInt32Min)) return kInt32Min;
  if (product >= static_cast<double>(kInt32Max)) return kInt32Max;
  return static_cast<std::int32_t>(product);
}

void DeliverMotion(const DeliveryScope& scope) {
  std::int32_t* axis = scope.context.axis;
  bool rawRest = true;
  for (int i = 0; i < kAxisCount; ++i) rawRest = rawRest && axis[i] == 0;

  if (scope.flags.mouseMode & MouseModeMotionBits) {
    EmulateMouse(axis, scope.flags.mouseMode, scope.flags.mouseDivisor, scope.platform);
  }

  if (scope.flags.hintviewActive && scope.push && scope.push->PushRecognizer(axis) != 0) return;

  bool moved = false;
  for (int i = 0; i < kAxisCount; ++i) {
    axis[i] = ApplyNullZone(axis[i], scope.settings.nullRadius);
    moved = moved || axis[i] != 0;
  }
  // One all-zero sample when the device reports rest; nothing while the hand rests
  // inside the null zone.
  const bool send = moved || rawRest;

  for (int i = 0; i < kAxisCount; ++i) {
    axis[i] = ScaleAxis(axis[i], scope.settings.axisEnabled[i], scope.settings.axisScale[i]);
  }
  const std::uint32_t wParam = AstrolabPackMotionWord(axis[kAxisX], axis[kAxisY], axis[kAxisZ]);
  const std::uint32_t lParam = AstrolabPackMotionWord(axis[kAxisA], axis[kAxisB], axis[kAxisC]);
  for (int i = 0; i < 3; ++i) {
    axis[i] = AstrolabMotionField(wParam, i);
    axis[i + 3] = AstrolabMotionField(lParam, i);
  }
  if (send) PostMotion(scope, wParam, lParam);
}

}  // namespace astro
