// Finding the controller on COM1..COM8, powering it up and sending it its
// start-up commands; writing commands; the start-up error texts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "driver/device_commands.h"
#include "driver/serial_bus.h"

namespace astro {

constexpr int kPortCount = 8;

// Whether a port can carry the controller. A port whose properties are all zero
// (the provider tells nothing) qualifies; it is judged by its version reply alone.
bool PortQualifies(const PortProperties& props);

// Sends text byte by byte as immediate characters; a refused byte is retried once
// after 10 ms. Stores the count sent in *sent (when given); true when all were sent.
bool SendDeviceCommand(SerialBus& bus, PortHandle port, const char* text, std::size_t length,
                       std::size_t* sent);

// "COM%d: %s" through the reporter.
void ReportPortError(ErrorReporter& reporter, int portNumber, const char* text);

// The text of the start-up error box: "%s\nError Code = 0x%08X = %ld \n", at most
// 255 characters.
std::string FormatErrorText(const char* text, std::uint32_t code);

// Scans the ports (portName replaces every COMn name when given), detects the
// controller by its version reply and sends it the start-up commands. Returns the
// controller's port, or 0 when none was found.
PortHandle OpenDevice(SerialBus& bus, ErrorReporter& reporter, const StoredCommands& commands,
                      const char* portName);

}  // namespace astro
