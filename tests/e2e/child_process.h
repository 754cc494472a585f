// A program started by the harness: its standard output captured line by line
// while it runs, its exit awaited with a time-out, and it is killed (by its own
// process id) when the owner lets go of it.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace e2e {

using Clock = std::chrono::steady_clock;

struct OutputLine {
  std::string text;
  Clock::time_point arrival;
};

struct ChildOptions {
  std::vector<std::string> argv;         // argv[0] is the program path
  std::vector<std::string> environment;  // whole environment, KEY=VALUE
  std::string workingDirectory;          // empty: the harness's own
  std::string stderrPath;                // empty: discarded
  bool captureStdout = true;             // false: discarded
  bool pipeStdin = false;                // true: fed by WriteInput, else /dev/null
};

class ChildProcess {
 public:
  // Starts the program; null (and a reason in error) on failure.
  static std::unique_ptr<ChildProcess> Start(const ChildOptions& options, std::string* error);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  pid_t Pid() const { return pid_; }
  Clock::time_point StartTime() const { return startTime_; }
  bool Running();
  // The exit code (0..255; a Windows exit code of -1 shows as 255, a signal as
  // 128 + its number), or nothing when the program still runs after timeout.
  std::optional<int> WaitForExit(std::chrono::milliseconds timeout);
  // Kills the program if it still runs and reaps it.
  void Kill();
  // Asks the program to end (SIGTERM) and kills it if it has not after grace.
  void Terminate(std::chrono::milliseconds grace);

  // Writes to the program's standard input (pipeStdin); false once it is closed.
  bool WriteInput(const std::string& bytes);
  // Ends the program's standard input.
  void CloseInput();

  std::vector<OutputLine> Lines() const;
  std::size_t LineCount() const;
  // Waits until the output has reached its end (every line written is captured);
  // false on time-out, as when a daemon the program started keeps the pipe open.
  bool WaitForOutputEnd(std::chrono::milliseconds timeout) const;
  // Waits until at least count lines have arrived; false on time-out or when the
  // output has ended with fewer.
  bool WaitForLineCount(std::size_t count, std::chrono::milliseconds timeout) const;
  // Waits for a captured line that satisfies match; returns it, or nothing on
  // time-out or when the output has ended without one.
  std::optional<OutputLine> WaitForLine(const std::function<bool(const std::string&)>& match,
                                        std::chrono::milliseconds timeout) const;
  // Waits for a line that begins with prefix.
  std::optional<OutputLine> WaitForLineStartingWith(const std::string& prefix,
                                                    std::chrono::milliseconds timeout) const;

 private:
  ChildProcess() = default;
  void ReadOutput();
  void StopReader();
  bool Reap(bool block);

  pid_t pid_ = -1;
  bool reaped_ = false;
  int exitCode_ = -1;
  Clock::time_point startTime_;
  int outputFd_ = -1;
  int inputFd_ = -1;
  int wakeFds_[2] = {-1, -1};  // wakes the reader when the output never ends
  std::thread reader_;
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::string partial_;
  std::vector<OutputLine> lines_;
  bool outputEnded_ = false;
};

}  // namespace e2e
