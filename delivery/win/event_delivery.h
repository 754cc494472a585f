// Where decoded samples and button reports leave the device link.
#pragma once

#include <cstdint>

namespace astro {

// The six axes of the delivery context hold a decoded sample.
void DeliverMotion();
// A button report: bit n-1 of mask is button n.
void DeliverButtons(std::uint32_t mask);

}  // namespace astro
