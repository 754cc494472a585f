#include "driver/win/controller_link.h"

#include "delivery/win/delivery_state.h"
#include "driver/win/driver_state.h"
#include "driver/win/win_serial_bus.h"
#include "ui/win/tray_icon.h"

namespace astro {

void ControllerLink::ControllerLost() {
  deliveryContext.port = kInvalidPort;
  controllerLost = true;
  MainButtonActions().ReleaseAll();
  UpdateTrayTip(settings.language);
}

void ControllerLink::ControllerBack(HANDLE port, const std::string& portName) {
  deliveryContext.port = FromHandle(port);
  controllerPortName = portName;
  controllerLost = false;
  UpdateTrayTip(settings.language);
}

}  // namespace astro
