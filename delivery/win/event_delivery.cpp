#include "delivery/win/event_delivery.h"

#include "delivery/motion_shaping.h"
#include "delivery/win/delivery_state.h"
#include "driver/win/driver_state.h"

namespace astro {

void DeliverMotion() {
  DeliverMotion(MainDeliveryScope());
}

// Button actions go here: beeps, the button window, keyboard sequences, the press
// and release posts and mouse buttons, each for a button that changed.
void DeliverButtons(std::uint32_t mask) {
  deliveryContext.buttonMask = mask;
}

}  // namespace astro
