// The tip of the driver's tray icon.
#pragma once

#include <cstdint>
#include <string>

namespace astro {

// The product title of the language and the controller's port ("... - COM12"),
// or while the controller is lost, that it is disconnected (Windows-1252, at most
// 63 characters). Any index outside 0..4 selects English.
std::string TrayTipText(std::int32_t language, bool controllerLost, const std::string& portName);

}  // namespace astro
