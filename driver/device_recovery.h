// Bringing a lost controller back: every 2 seconds the port it was on is opened
// again and configured as at start-up; the controller is powered up, sent the
// init and version strings, and once its reply names the product it gets the
// start-up commands again. A controller plugged into another USB socket comes
// back on another port: from the third try on, every fifth try also asks every
// other port (COM1..COM8 and the system's ports above them) the same questions,
// so that no other device is asked more often than every 10 seconds, and a port
// that appears is asked at the next try, which is then due at once. Ports that
// another program holds do not open and are left alone. Nothing blocks: the main
// loop calls Step when DueIn says and handles its messages meanwhile.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "driver/device_commands.h"
#include "driver/serial_bus.h"

namespace astro {

class DeviceRecovery {
 public:
  static constexpr std::uint64_t kRetryMs = 2000;
  // Tries 3, 8, 13, ... ask the other ports too.
  static constexpr int kFirstWideTry = 3;
  static constexpr int kWideTryEvery = 5;

  DeviceRecovery(SerialBus& bus, const StoredCommands& commands) : bus_(bus), commands_(commands) {}

  // The controller on portName was lost at nowMs: the first try is due 2 seconds
  // later.
  void Begin(const std::string& portName, std::uint64_t nowMs);
  bool Active() const { return state_ != State::kIdle; }
  // Does what is due at nowMs. Returns the controller's open port once its
  // start-up commands went out (recovery then ends), kInvalidPort until then.
  PortHandle Step(std::uint64_t nowMs);
  // Milliseconds from nowMs until the next step is due (0 when it is due).
  std::uint64_t DueIn(std::uint64_t nowMs) const;
  // The controller's port: the one it was lost on, or where it answered since.
  const std::string& PortName() const { return portName_; }
  // A serial port ("COMn") appeared: while recovery is on, the next try asks it
  // too and, when recovery is waiting, is due at once.
  void PortArrived(const std::string& name, std::uint64_t nowMs);

 private:
  enum class State {
    kIdle,
    kWaiting,      // for the next try
    kPoweringUp,   // the ports are open and power the controller
    kInitSent,     // the init string went out
    kVersionSent,  // the version string went out
    kStartingUp,   // the start-up commands go out one at a time
  };

  // A port asked during a try, in the order they are asked.
  struct Candidate {
    std::string name;
    PortHandle port;
    EventHandle event;
  };

  void Try(std::uint64_t nowMs);
  std::vector<std::string> PortsToAsk();
  void Open(const std::string& name);
  void SendToCandidates(const char* command, State next, std::uint64_t nowMs);
  // The first candidate whose reply names the product, which keeps its port; the
  // others are closed. False when none does.
  bool ChooseAnswering();
  void CloseCandidate(Candidate& candidate);
  // Closes what the try opened; the next one starts 2 seconds after this one did,
  // or at once when a port appeared meanwhile.
  void Abandon(std::uint64_t nowMs);

  SerialBus& bus_;
  const StoredCommands& commands_;
  std::string portName_;
  State state_ = State::kIdle;
  std::uint64_t due_ = 0;
  std::uint64_t tryStart_ = 0;
  int tries_ = 0;
  std::vector<std::string> arrived_;
  std::vector<Candidate> candidates_;
  PortHandle port_ = kInvalidPort;
  int startupSent_ = 0;
};

}  // namespace astro
