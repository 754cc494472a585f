#include "delivery/win/delivery_state.h"

#include "delivery/win/win_delivery_platform.h"
#include "driver/win/driver_state.h"

namespace astro {

AppTable appTable;
ClientList clientList;

const DeliveryScope& MainDeliveryScope() {
  static WinDeliveryPlatform platform(deliveryContext);
  static const DeliveryScope scope{deliveryContext, settings, runtimeFlags, appTable,
                                   clientList,      platform, nullptr,      nullptr};
  return scope;
}

}  // namespace astro
