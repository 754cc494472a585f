#include "sim/script_player.h"

#include <algorithm>

#include "sim/line_text.h"

namespace sim {
namespace {

// Short enough that a stop request ends a wait-command promptly.
constexpr std::chrono::milliseconds kPollSlice{100};

}  // namespace

ScriptPlayer::Outcome ScriptPlayer::Play(const std::vector<ScriptStep>& steps) {
  error_.clear();
  return Run(steps);
}

void ScriptPlayer::RequestStop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopRequested_ = true;
  }
  stopSignal_.notify_all();
}

bool ScriptPlayer::StopRequested() {
  std::lock_guard<std::mutex> lock(mutex_);
  return stopRequested_;
}

bool ScriptPlayer::SleepUntil(Clock::time_point until) {
  std::unique_lock<std::mutex> lock(mutex_);
  return !stopSignal_.wait_until(lock, until, [this] { return stopRequested_; });
}

ScriptPlayer::Outcome ScriptPlayer::Run(const std::vector<ScriptStep>& steps) {
  for (const ScriptStep& step : steps) {
    if (StopRequested()) return Outcome::kStopped;
    Outcome outcome = Outcome::kFinished;
    switch (step.kind) {
      case ScriptStep::Kind::kWait:
        if (!SleepUntil(Clock::now() + std::chrono::milliseconds(step.milliseconds))) {
          outcome = Outcome::kStopped;
        }
        break;
      case ScriptStep::Kind::kWaitCommand:
        outcome = WaitForCommand(step);
        break;
      case ScriptStep::Kind::kSend:
        outcome = Send(step, step.bytes);
        break;
      case ScriptStep::Kind::kSweep:
        outcome = PlaySweep(step);
        break;
      case ScriptStep::Kind::kRepeat:
        for (long i = 0; i < step.count && outcome == Outcome::kFinished; ++i) {
          outcome = Run(step.body);
        }
        break;
      case ScriptStep::Kind::kExit:
        outcome = Outcome::kExit;
        break;
    }
    if (outcome != Outcome::kFinished) return outcome;
  }
  return Outcome::kFinished;
}

ScriptPlayer::Outcome ScriptPlayer::WaitForCommand(const ScriptStep& step) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(step.milliseconds);
  for (;;) {
    const std::vector<ReceivedCommand> commands = controller_.Commands();
    commandCursor_ = std::min(commandCursor_, commands.size());  // the record was cleared
    for (std::size_t i = commandCursor_; i < commands.size(); ++i) {
      if (commands[i].line == step.bytes) {
        commandCursor_ = i + 1;
        return Outcome::kFinished;
      }
    }
    commandCursor_ = commands.size();
    if (StopRequested()) return Outcome::kStopped;
    const auto now = Clock::now();
    if (now >= deadline) {
      error_ = "line " + std::to_string(step.lineNumber) + ": wait-command \"" +
               EscapeLine(step.bytes) + "\": not received within " +
               std::to_string(step.milliseconds) + " ms";
      return Outcome::kFailed;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now);
    controller_.WaitForCommands(commands.size() + 1, std::min(left, kPollSlice));
  }
}

ScriptPlayer::Outcome ScriptPlayer::PlaySweep(const ScriptStep& step) {
  const SweepSpec& sweep = step.sweep;
  const auto start = Clock::now();
  // Paced against the start time, so the time spent writing does not add up.
  for (long index = 0; index * sweep.intervalMs < sweep.durationMs; ++index) {
    if (!SleepUntil(start + std::chrono::milliseconds(index * sweep.intervalMs))) {
      return Outcome::kStopped;
    }
    const Outcome outcome = Send(step, ShortMotionLine(SweepSample(sweep, index)));
    if (outcome != Outcome::kFinished) return outcome;
  }
  return Outcome::kFinished;
}

ScriptPlayer::Outcome ScriptPlayer::Send(const ScriptStep& step, const std::string& bytes) {
  if (controller_.SendRaw(bytes)) return Outcome::kFinished;
  error_ = "line " + std::to_string(step.lineNumber) +
           ": the pty refused the bytes (is the driver still reading the port?)";
  return Outcome::kFailed;
}

}  // namespace sim
