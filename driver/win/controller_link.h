// What the driver does when its controller goes and comes back.
#pragma once

#include "driver/win/main_loop.h"

namespace astro {

// Lost: no port, every held button released towards the target, and the tray tip
// says so. Back: the port again (perhaps another one, which the tip names). Target, mappings and
// settings stay as they are.
class ControllerLink : public LinkListener {
 public:
  void ControllerLost() override;
  void ControllerBack(HANDLE port, const std::string& portName) override;
};

}  // namespace astro
