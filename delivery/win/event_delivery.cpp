#include "delivery/win/event_delivery.h"

#include "delivery/motion_shaping.h"
#include "delivery/win/delivery_state.h"

namespace astro {

void DeliverMotion() {
  DeliverMotion(MainDeliveryScope());
}

void DeliverButtons(std::uint32_t mask) {
  MainButtonActions().DeliverButtons(mask);
}

}  // namespace astro
