#include "driver/device_recovery.h"

#include <algorithm>

#include "driver/port_discovery.h"
#include "driver/port_names.h"

namespace astro {

void DeviceRecovery::Begin(const std::string& portName, std::uint64_t nowMs) {
  portName_ = portName;
  state_ = State::kWaiting;
  tryStart_ = nowMs;
  tries_ = 0;
  arrived_.clear();
  due_ = nowMs + kRetryMs;
}

std::uint64_t DeviceRecovery::DueIn(std::uint64_t nowMs) const {
  return due_ > nowMs ? due_ - nowMs : 0;
}

void DeviceRecovery::PortArrived(const std::string& name, std::uint64_t nowMs) {
  if (!Active() || !ComPortNumber(name)) return;
  const std::string port = ComPortName(*ComPortNumber(name));
  if (port != portName_ && std::find(arrived_.begin(), arrived_.end(), port) == arrived_.end()) {
    arrived_.push_back(port);
  }
  if (state_ == State::kWaiting) due_ = nowMs;
}

PortHandle DeviceRecovery::Step(std::uint64_t nowMs) {
  if (state_ == State::kIdle || nowMs < due_) return kInvalidPort;
  switch (state_) {
    case State::kWaiting:
      Try(nowMs);
      return kInvalidPort;
    case State::kPoweringUp:
      SendToCandidates(commands_.init, State::kInitSent, nowMs);
      return kInvalidPort;
    case State::kInitSent:
      SendToCandidates(commands_.version, State::kVersionSent, nowMs);
      return kInvalidPort;
    case State::kVersionSent:
      if (!ChooseAnswering()) {
        Abandon(nowMs);
        return kInvalidPort;
      }
      state_ = State::kStartingUp;
      startupSent_ = 0;
      break;
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

std::vector<std::string> DeviceRecovery::PortsToAsk() {
  std::vector<std::string> names = {portName_};
  const bool wide = tries_ >= kFirstWideTry && (tries_ - kFirstWideTry) % kWideTryEvery == 0;
  std::vector<std::string> others = wide ? OtherPorts(portName_, bus_.SystemPortNames()) : arrived_;
  std::sort(others.begin(), others.end(), [](const std::string& a, const std::string& b) {
    return ComPortNumber(a) < ComPortNumber(b);
  });
  names.insert(names.end(), others.begin(), others.end());
  arrived_.clear();
  return names;
}

void DeviceRecovery::Try(std::uint64_t nowMs) {
  tryStart_ = nowMs;
  ++tries_;
  candidates_.clear();
  for (const std::string& name : PortsToAsk()) Open(name);
  if (candidates_.empty()) {
    Abandon(nowMs);
    return;
  }
  state_ = State::kPoweringUp;
  due_ = nowMs + kPowerWaitMs;
}

// Opens and configures the port (which powers a controller on it); a port that
// does not open or refuses the configuration is left out.
void DeviceRecovery::Open(const std::string& name) {
  Candidate candidate = {name, bus_.Open(name.c_str()), kInvalidEvent};
  if (candidate.port == kInvalidPort) return;
  bus_.SetupQueues(candidate.port, kInputQueue, kOutputQueue);
  if (ConfigureControllerPort(bus_, candidate.port) == nullptr) {
    candidate.event = bus_.CreateSerialEvent();
  }
  if (candidate.event == kInvalidEvent) {
    CloseCandidate(candidate);
    return;
  }
  candidates_.push_back(candidate);
}

void DeviceRecovery::SendToCandidates(const char* command, State next, std::uint64_t nowMs) {
  for (Candidate& candidate : candidates_) {
    if (!SendDeviceCommand(bus_, candidate.port, command, CommandLength(command), nullptr)) {
      CloseCandidate(candidate);
    }
  }
  candidates_.erase(std::remove_if(candidates_.begin(), candidates_.end(),
                                   [](const Candidate& c) { return c.port == kInvalidPort; }),
                    candidates_.end());
  if (candidates_.empty()) {
    Abandon(nowMs);
    return;
  }
  state_ = next;
  due_ = nowMs + kCommandWaitMs;
}

bool DeviceRecovery::ChooseAnswering() {
  for (Candidate& candidate : candidates_) {
    if (port_ == kInvalidPort && AnswersAsController(bus_, candidate.port, candidate.event)) {
      port_ = candidate.port;
      portName_ = candidate.name;
      candidate.port = kInvalidPort;
    }
    CloseCandidate(candidate);
  }
  candidates_.clear();
  return port_ != kInvalidPort;
}

void DeviceRecovery::CloseCandidate(Candidate& candidate) {
  if (candidate.event != kInvalidEvent) bus_.CloseEvent(candidate.event);
  candidate.event = kInvalidEvent;
  if (candidate.port != kInvalidPort) bus_.Close(candidate.port);
  candidate.port = kInvalidPort;
}

void DeviceRecovery::Abandon(std::uint64_t nowMs) {
  for (Candidate& candidate : candidates_) CloseCandidate(candidate);
  candidates_.clear();
  state_ = State::kWaiting;
  const std::uint64_t next = tryStart_ + kRetryMs;
  due_ = arrived_.empty() && next > nowMs ? next : nowMs;
}

}  // namespace astro
