#include "driver/device_recovery.h"

#include "driver/port_discovery.h"

namespace astro {

void DeviceRecovery::Begin(const std::string& portName, std::uint64_t nowMs) {
  portName_ = portName;
  state_ = State::kWaiting;
  attemptStart_ = nowMs;
  due_ = nowMs + kRetryMs;
}

std::uint64_t DeviceRecovery::DueIn(std::uint64_t nowMs) const {
  return due_ > nowMs ? due_ - nowMs : 0;
}

PortHandle DeviceRecovery::Step(std::uint64_t nowMs) {
  if (state_ == State::kIdle || nowMs < due_) return kInvalidPort;
  switch (state_) {
    case State::kWaiting:
      Attempt(nowMs);
      return kInvalidPort;
    case State::kPoweringUp:
      SendNext(commands_.init, State::kInitSent, nowMs);
      return kInvalidPort;
    case State::kInitSent:
      SendNext(commands_.version, State::kVersionSent, nowMs);
      return kInvalidPort;
    case State::kVersionSent: {
      const bool answers = AnswersAsController(bus_, port_, event_);
      bus_.CloseEvent(event_);
      event_ = kInvalidEvent;
      if (!answers) {
        Abandon(nowMs);
        return kInvalidPort;
      }
      state_ = State::kStartingUp;
      startupSent_ = 0;
      break;
    }
    default:
      break;
  }
  // Starting up: the next command, or the end once the last one had its pause.
  if (startupSent_ == kStartupCommandCount) {
    state_ = State::kIdle;
    const PortHandle port = port_;
    port_ = kInvalidPort;
    return port;
  }
  // As at start-up, what the controller makes of them is not checked.
  const char* command = StartupCommands(commands_)[startupSent_++];
  SendDeviceCommand(bus_, port_, command, CommandLength(command), nullptr);
  due_ = nowMs + kCommandWaitMs;
  return kInvalidPort;
}

void DeviceRecovery::Attempt(std::uint64_t nowMs) {
  attemptStart_ = nowMs;
  port_ = bus_.Open(portName_.c_str());
  if (port_ == kInvalidPort) {
    due_ = nowMs + kRetryMs;
    return;
  }
  bus_.SetupQueues(port_, kInputQueue, kOutputQueue);
  if (ConfigureControllerPort(bus_, port_) != nullptr) {
    Abandon(nowMs);
    return;
  }
  event_ = bus_.CreateSerialEvent();
  if (event_ == kInvalidEvent) {
    Abandon(nowMs);
    return;
  }
  state_ = State::kPoweringUp;
  due_ = nowMs + kPowerWaitMs;
}

void DeviceRecovery::SendNext(const char* command, State next, std::uint64_t nowMs) {
  if (!SendDeviceCommand(bus_, port_, command, CommandLength(command), nullptr)) {
    Abandon(nowMs);
    return;
  }
  state_ = next;
  due_ = nowMs + kCommandWaitMs;
}

void DeviceRecovery::Abandon(std::uint64_t nowMs) {
  if (event_ != kInvalidEvent) bus_.CloseEvent(event_);
  event_ = kInvalidEvent;
  if (port_ != kInvalidPort) bus_.Close(port_);
  port_ = kInvalidPort;
  state_ = State::kWaiting;
  const std::uint64_t next = attemptStart_ + kRetryMs;
  due_ = next > nowMs ? next : nowMs;
}

}  // namespace astro
