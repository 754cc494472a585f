// Finding the controller on COM1..COM8, and then on the system's ports above them,
// powering it up and sending it its start-up commands; writing commands; the
// start-up error texts.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "driver/device_commands.h"
#include "driver/serial_bus.h"

namespace astro {

constexpr int kPortCount = 8;
constexpr int kStartupCommandCount = 6;
// Queue sizes asked of the system for the controller's port.
constexpr std::uint32_t kInputQueue = 256;
constexpr std::uint32_t kOutputQueue = 5;
// The controller draws its power from DTR and RTS: it needs this long to lose it
// and to come up.
constexpr unsigned kPowerWaitMs = 1000;
// The pause after each command during start-up.
constexpr unsigned kCommandWaitMs = 100;

// Whether a port can carry the controller. A port whose properties are all zero
// (the provider tells nothing) qualifies; it is judged by its version reply alone.
bool PortQualifies(const PortProperties& props);

// Sends text byte by byte as immediate characters; a refused byte is retried once
// after 10 ms. Stores the count sent in *sent (when given); true when all were sent.
// Nothing is sent to kInvalidPort.
bool SendDeviceCommand(SerialBus& bus, PortHandle port, const char* text, std::size_t length,
                       std::size_t* sent);

// "COM%d: %s" through the reporter.
void ReportPortError(ErrorReporter& reporter, int portNumber, const char* text);

// The text of the start-up error box: "%s\nError Code = 0x%08X = %ld \n", at most
// 255 characters.
std::string FormatErrorText(const char* text, std::uint32_t code);

// Scans COM1..COM8 (portName replaces every COMn name when given), detects the
// controller by its version reply and sends it the start-up commands. When none
// of them names the product (and no name is given), the system's ports above
// COM8 are scanned the same way, in ascending order. Returns the controller's
// port, or 0 when none was found; its name ("COMn") goes to *foundName.
PortHandle OpenDevice(SerialBus& bus, ErrorReporter& reporter, const StoredCommands& commands,
                      const char* portName, std::string* foundName = nullptr);

// Applies the controller's line configuration with its power on, the event mask
// and the time-outs to an open port. The failure's text, or null.
const char* ConfigureControllerPort(SerialBus& bus, PortHandle port);

// Reads the port's answer to the version string; true when it names the product.
// A reply that fills the whole buffer may go on, so the port is read again until
// a read comes back shorter.
bool AnswersAsController(SerialBus& bus, PortHandle port, EventHandle event);

// The commands a found controller gets, in order, each followed by 100 ms.
std::array<const char*, kStartupCommandCount> StartupCommands(const StoredCommands& commands);

}  // namespace astro
