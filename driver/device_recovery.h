// Bringing a lost controller back: every 2 seconds the port it was found on is
// opened again and configured as at start-up; the controller is powered up, sent
// the init and version strings, and once its reply names the product it gets the
// start-up commands again. No other port is touched. Nothing blocks: the main loop
// calls Step when DueIn says and handles its messages meanwhile.
#pragma once

#include <cstdint>
#include <string>

#include "driver/device_commands.h"
#include "driver/serial_bus.h"

namespace astro {

class DeviceRecovery {
 public:
  static constexpr std::uint64_t kRetryMs = 2000;

  DeviceRecovery(SerialBus& bus, const StoredCommands& commands) : bus_(bus), commands_(commands) {}

  // The controller on portName was lost at nowMs: the first attempt is due 2
  // seconds later.
  void Begin(const std::string& portName, std::uint64_t nowMs);
  bool Active() const { return state_ != State::kIdle; }
  // Does what is due at nowMs. Returns the controller's open port once its
  // start-up commands went out (recovery then ends), kInvalidPort until then.
  PortHandle Step(std::uint64_t nowMs);
  // Milliseconds from nowMs until the next step is due (0 when it is due).
  std::uint64_t DueIn(std::uint64_t nowMs) const;

 private:
  enum class State {
    kIdle,
    kWaiting,      // for the next attempt
    kPoweringUp,   // the port is open and powers the controller
    kInitSent,     // the init string went out
    kVersionSent,  // the version string went out
    kStartingUp,   // the start-up commands go out one at a time
  };

  void Attempt(std::uint64_t nowMs);
  void SendNext(const char* command, State next, std::uint64_t nowMs);
  // Closes what the attempt opened; the next one starts 2 seconds after this one did.
  void Abandon(std::uint64_t nowMs);

  SerialBus& bus_;
  const StoredCommands& commands_;
  std::string portName_;
  State state_ = State::kIdle;
  std::uint64_t due_ = 0;
  std::uint64_t attemptStart_ = 0;
  PortHandle port_ = kInvalidPort;
  EventHandle event_ = kInvalidEvent;
  int startupSent_ = 0;
};

}  // namespace astro
