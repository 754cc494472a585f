// Writes every command line the simulated controller receives, one a line:
// RECV <ms since start> "<line, escaped>".
#pragma once

#include <atomic>
#include <cstdio>
#include <string>

#include "sim/simulated_controller.h"

namespace sim {

std::string FormatReceivedCommand(const ReceivedCommand& command, Clock::time_point start);

class CommandLog {
 public:
  CommandLog(const SimulatedController& controller, std::FILE* out, Clock::time_point start)
      : controller_(controller), out_(out), start_(start) {}

  // Writes lines as they arrive until RequestStop, then writes the rest.
  void Run();
  void RequestStop() { stopRequested_ = true; }

 private:
  void WriteNew();

  const SimulatedController& controller_;
  std::FILE* out_;
  Clock::time_point start_;
  std::size_t written_ = 0;
  std::atomic<bool> stopRequested_{false};
};

}  // namespace sim
