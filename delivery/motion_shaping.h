// What happens to one decoded motion sample between the decoder and the client:
// mouse emulation, the push gesture, the null zone, the axis switches and scale
// factors, clamping and packing, and the "MotionEvent" post with its fallback.
#pragma once

#include <cstdint>

#include "delivery/delivery_scope.h"

namespace astro {

// The whole road of one sample held in scope.context.axis. Afterwards the axes hold
// the values as packed (null zone, switch, scale and clamp applied), unless the
// push gesture took the sample (then they stay raw). Allocates nothing.
void DeliverMotion(const DeliveryScope& scope);

// One input event from the raw sample, when mouseMode has any motion bit: a pointer
// move, or a wheel turn with MouseModeWheel. Each term is divided on its own,
// truncating toward zero.
void EmulateMouse(const std::int32_t raw[kAxisCount], std::int32_t mouseMode,
                  const std::int32_t divisor[2], DeliveryPlatform& platform);

// Values within +-radius become 0, the others move toward 0 by the radius. A
// negative radius counts as 0.
std::int32_t ApplyNullZone(std::int32_t value, std::int32_t radius);

// 0 for a switched-off axis, else value * scale truncated toward zero, held within
// the 32-bit range (NaN gives 0).
std::int32_t ScaleAxis(std::int32_t value, std::int32_t enabled, double scale);

}  // namespace astro
