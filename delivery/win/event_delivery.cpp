#include "delivery/win/event_delivery.h"

#include "driver/win/driver_state.h"

namespace astro {

// Motion shaping goes here: mouse emulation, the push gesture, the null zone, the
// axis switches and scale factors, and the "MotionEvent" post to the target.
void DeliverMotion() {}

// Button actions go here: beeps, the button window, keyboard sequences, the press
// and release posts and mouse buttons, each for a button that changed.
void DeliverButtons(std::uint32_t mask) {
  deliveryContext.buttonMask = mask;
}

}  // namespace astro
