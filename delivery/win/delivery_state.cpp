#include "delivery/win/delivery_state.h"

#include "delivery/win/win_delivery_platform.h"
#include "driver/win/driver_state.h"

namespace astro {
namespace {

WinDeliveryPlatform& Platform() {
  static WinDeliveryPlatform platform(deliveryContext);
  return platform;
}

}  // namespace

AppTable appTable;
ClientList clientList;
HHOOK playbackHook = nullptr;

ActivationTracker& MainActivationTracker() {
  static ActivationTracker tracker(deliveryContext, appTable, Platform());
  return tracker;
}

const DeliveryScope& MainDeliveryScope() {
  static const DeliveryScope scope{
      deliveryContext, settings,   runtimeFlags, appTable,
      clientList,      Platform(), nullptr,      &MainActivationTracker()};
  return scope;
}

}  // namespace astro
