// Plays a parsed script against a running simulated controller.
#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "sim/script.h"
#include "sim/simulated_controller.h"

namespace sim {

class ScriptPlayer {
 public:
  enum class Outcome {
    kFinished,  // the last step has played
    kExit,      // an exit step was reached
    kStopped,   // RequestStop ended it
    kFailed,    // a wait-command timed out or the pty refused bytes (see Error)
  };

  explicit ScriptPlayer(SimulatedController& controller) : controller_(controller) {}

  Outcome Play(const std::vector<ScriptStep>& steps);
  // Ends a running Play at its next step or wait; safe from any thread.
  void RequestStop();
  const std::string& Error() const { return error_; }

 private:
  Outcome Run(const std::vector<ScriptStep>& steps);
  Outcome WaitForCommand(const ScriptStep& step);
  Outcome PlaySweep(const ScriptStep& step);
  Outcome Send(const ScriptStep& step, const std::string& bytes);
  // False when a stop was requested before the time came.
  bool SleepUntil(Clock::time_point until);
  bool StopRequested();

  SimulatedController& controller_;
  std::mutex mutex_;
  std::condition_variable stopSignal_;
  bool stopRequested_ = false;
  // wait-command looks only at command lines after the last one it matched.
  std::size_t commandCursor_ = 0;
  std::string error_;
};

}  // namespace sim
