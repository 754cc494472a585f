#include "tests/e2e/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace e2e {
namespace {

std::vector<char*> PointerArray(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& text : strings) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

void CloseFd(int& fd) {
  if (fd >= 0) close(fd);
  fd = -1;
}

}  // namespace

std::unique_ptr<ChildProcess> ChildProcess::Start(const ChildOptions& options, std::string* error) {
  if (options.argv.empty()) {
    *error = "no program";
    return nullptr;
  }
  std::unique_ptr<ChildProcess> child(new ChildProcess());
  // Everything the child needs is prepared before fork: after it only
  // async-signal-safe calls are allowed (the harness runs threads).
  std::vector<std::string> argvStrings = options.argv;
  std::vector<std::string> environmentStrings = options.environment;
  std::vector<char*> argv = PointerArray(argvStrings);
  std::vector<char*> environment = PointerArray(environmentStrings);
  const char* stderrPath = options.stderrPath.empty() ? "/dev/null" : options.stderrPath.c_str();
  const char* directory =
      options.workingDirectory.empty() ? nullptr : options.workingDirectory.c_str();

  int outputPipe[2] = {-1, -1};
  if (options.captureStdout &&
      (pipe2(outputPipe, O_CLOEXEC) != 0 || pipe2(child->wakeFds_, O_CLOEXEC) != 0)) {
    *error = std::string("pipe: ") + std::strerror(errno);
    CloseFd(outputPipe[0]);
    CloseFd(outputPipe[1]);
    return nullptr;
  }
  int inputPipe[2] = {-1, -1};
  if (options.pipeStdin && pipe2(inputPipe, O_CLOEXEC) != 0) {
    *error = std::string("pipe: ") + std::strerror(errno);
    CloseFd(outputPipe[0]);
    CloseFd(outputPipe[1]);
    return nullptr;
  }
  const pid_t parent = getpid();
  child->startTime_ = Clock::now();
  const pid_t pid = fork();
  if (pid < 0) {
    *error = std::string("fork: ") + std::strerror(errno);
    CloseFd(outputPipe[0]);
    CloseFd(outputPipe[1]);
    CloseFd(inputPipe[0]);
    CloseFd(inputPipe[1]);
    return nullptr;
  }
  if (pid == 0) {
    // Dies with the test process, so that nothing outlives a crashed test.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(127);
    const int input = inputPipe[0] >= 0 ? inputPipe[0] : open("/dev/null", O_RDONLY);
    const int discard = open("/dev/null", O_WRONLY);
    const int errors = open(stderrPath, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (input < 0 || discard < 0 || errors < 0) _exit(127);
    dup2(input, 0);
    dup2(outputPipe[1] >= 0 ? outputPipe[1] : discard, 1);
    dup2(errors, 2);
    // Nothing else the harness holds (the slot lock, the simulators' ptys) may
    // leak into the programs or the daemons they start.
    close_range(3, ~0U, 0);
    if (directory != nullptr && chdir(directory) != 0) _exit(127);
    execve(argv[0], argv.data(), environment.data());
    _exit(127);
  }
  child->pid_ = pid;
  CloseFd(outputPipe[1]);
  CloseFd(inputPipe[0]);
  child->inputFd_ = inputPipe[1];
  child->outputFd_ = outputPipe[0];
  if (child->outputFd_ >= 0)
    child->reader_ = std::thread([raw = child.get()] { raw->ReadOutput(); });
  return child;
}

ChildProcess::~ChildProcess() {
  CloseInput();
  Kill();
  StopReader();
}

bool ChildProcess::WriteInput(const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    if (inputFd_ < 0) return false;
    const ssize_t written = write(inputFd_, bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    done += static_cast<std::size_t>(written);
  }
  return true;
}

void ChildProcess::CloseInput() {
  CloseFd(inputFd_);
}

void ChildProcess::ReadOutput() {
  char chunk[4096];
  for (;;) {
    pollfd fds[2] = {{outputFd_, POLLIN, 0}, {wakeFds_[0], POLLIN, 0}};
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (fds[1].revents != 0) return;
    const ssize_t count = read(outputFd_, chunk, sizeof chunk);
    if (count < 0 && errno == EINTR) continue;
    std::lock_guard<std::mutex> lock(mutex_);
    if (count <= 0) {
      if (!partial_.empty()) lines_.push_back({partial_, Clock::now()});
      partial_.clear();
      outputEnded_ = true;
      changed_.notify_all();
      return;
    }
    const Clock::time_point now = Clock::now();
    for (ssize_t i = 0; i < count; ++i) {
      if (chunk[i] == '\n') {
        if (!partial_.empty() && partial_.back() == '\r') partial_.pop_back();
        lines_.push_back({partial_, now});
        partial_.clear();
      } else {
        partial_ += chunk[i];
      }
    }
    changed_.notify_all();
  }
}

void ChildProcess::StopReader() {
  if (reader_.joinable()) {
    // The pipe may never reach its end: a daemon the program started (Wine's
    // server) can hold its write side. Wake the reader instead.
    const char byte = 0;
    if (write(wakeFds_[1], &byte, 1) < 0) {
      // The reader ends on its own once the pipe closes.
    }
    reader_.join();
  }
  CloseFd(outputFd_);
  CloseFd(wakeFds_[0]);
  CloseFd(wakeFds_[1]);
}

bool ChildProcess::Reap(bool block) {
  if (reaped_) return true;
  int status = 0;
  pid_t result;
  do {
    result = waitpid(pid_, &status, block ? 0 : WNOHANG);
  } while (result < 0 && errno == EINTR);
  if (result == 0) return false;
  reaped_ = true;
  if (result < 0) {
    exitCode_ = -1;
  } else if (WIFEXITED(status)) {
    exitCode_ = WEXITSTATUS(status);
  } else if (WIFSIGNALED(status)) {
    exitCode_ = 128 + WTERMSIG(status);
  }
  return true;
}

bool ChildProcess::Running() {
  return !Reap(false);
}

std::optional<int> ChildProcess::WaitForExit(std::chrono::milliseconds timeout) {
  const Clock::time_point deadline = Clock::now() + timeout;
  while (!Reap(false)) {
    if (Clock::now() >= deadline) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return exitCode_;
}

void ChildProcess::Kill() {
  if (pid_ <= 0 || reaped_) return;
  if (!Reap(false)) {
    kill(pid_, SIGKILL);
    Reap(true);
  }
}

void ChildProcess::Terminate(std::chrono::milliseconds grace) {
  if (pid_ <= 0 || reaped_) return;
  if (!Reap(false)) kill(pid_, SIGTERM);
  if (!WaitForExit(grace)) Kill();
}

std::vector<OutputLine> ChildProcess::Lines() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return lines_;
}

std::size_t ChildProcess::LineCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return lines_.size();
}

bool ChildProcess::WaitForOutputEnd(std::chrono::milliseconds timeout) const {
  std::unique_lock<std::mutex> lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] { return outputEnded_; });
}

bool ChildProcess::WaitForLineCount(std::size_t count, std::chrono::milliseconds timeout) const {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait_for(lock, timeout, [&] { return lines_.size() >= count || outputEnded_; });
  return lines_.size() >= count;
}

std::optional<OutputLine> ChildProcess::WaitForLine(
    const std::function<bool(const std::string&)>& match, std::chrono::milliseconds timeout) const {
  std::unique_lock<std::mutex> lock(mutex_);
  std::optional<OutputLine> found;
  changed_.wait_for(lock, timeout, [&] {
    for (const OutputLine& line : lines_) {
      if (match(line.text)) {
        found = line;
        return true;
      }
    }
    return outputEnded_;
  });
  return found;
}

std::optional<OutputLine> ChildProcess::WaitForLineStartingWith(
    const std::string& prefix, std::chrono::milliseconds timeout) const {
  return WaitForLine([&](const std::string& text) { return text.rfind(prefix, 0) == 0; }, timeout);
}

}  // namespace e2e
