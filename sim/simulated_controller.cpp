#include "sim/simulated_controller.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

namespace sim {
namespace {

constexpr char kCarriageReturn = 13;
// How long a write may wait for room in the pty before it counts as refused (the
// driver is not reading).
constexpr int kWriteTimeoutMs = 2000;

std::string DefaultVersionReply(Personality personality) {
  switch (personality) {
    case Personality::kController:
      return "ASTROLAB AIRCAP 3D CONTROLLER SIM V1.0";
    case Personality::kAnonymousPort:
      return "GENERIC SERIAL DEVICE V1.0";
    case Personality::kSilent:
      break;
  }
  return "";
}

void CloseIfOpen(int& fd) {
  if (fd >= 0) {
    close(fd);
    fd = -1;
  }
}

}  // namespace

SimulatedController::SimulatedController(Personality personality)
    : personality_(personality), versionReply_(DefaultVersionReply(personality)) {}

SimulatedController::~SimulatedController() {
  Stop();
}

bool SimulatedController::Start() {
  if (running_) return false;
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master_ < 0) return false;
  char name[128] = {};
  if (grantpt(master_) != 0 || unlockpt(master_) != 0 ||
      ptsname_r(master_, name, sizeof name) != 0) {
    CloseDescriptors();
    return false;
  }
  slavePath_ = name;
  // Held open for the whole run: without it the master reads EIO (and loses what
  // the driver wrote) each time the driver closes the port during discovery.
  slaveKeeper_ = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
  termios settings{};
  if (slaveKeeper_ < 0 || tcgetattr(slaveKeeper_, &settings) != 0) {
    CloseDescriptors();
    return false;
  }
  // Raw: no echo of what the controller sends, no CR to NL translation, no line editing.
  cfmakeraw(&settings);
  cfsetispeed(&settings, B9600);
  cfsetospeed(&settings, B9600);
  int wake[2];
  if (tcsetattr(slaveKeeper_, TCSANOW, &settings) != 0 ||
      fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK) != 0 ||
      pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0) {
    CloseDescriptors();
    return false;
  }
  wakeRead_ = wake[0];
  wakeWrite_ = wake[1];
  running_ = true;
  reader_ = std::thread(&SimulatedController::ReadLoop, this);
  return true;
}

void SimulatedController::Stop() {
  if (!running_) return;
  const char wake = 1;
  while (write(wakeWrite_, &wake, 1) < 0 && errno == EINTR) {
  }
  reader_.join();
  running_ = false;
  std::lock_guard<std::mutex> lock(writeMutex_);
  CloseDescriptors();
}

void SimulatedController::CloseDescriptors() {
  CloseIfOpen(master_);
  CloseIfOpen(slaveKeeper_);
  CloseIfOpen(wakeRead_);
  CloseIfOpen(wakeWrite_);
}

void SimulatedController::SetVersionReply(const std::string& reply) {
  std::lock_guard<std::mutex> lock(mutex_);
  versionReply_ = reply;
}

std::vector<ReceivedCommand> SimulatedController::Commands() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return commands_;
}

std::string SimulatedController::ReceivedBytes() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return received_;
}

bool SimulatedController::WaitForCommands(std::size_t count,
                                          std::chrono::milliseconds timeout) const {
  std::unique_lock<std::mutex> lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] { return commands_.size() >= count; });
}

bool SimulatedController::WaitForCommand(const std::string& line,
                                         std::chrono::milliseconds timeout) const {
  std::unique_lock<std::mutex> lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] {
    return std::any_of(commands_.begin(), commands_.end(),
                       [&](const ReceivedCommand& command) { return command.line == line; });
  });
}

void SimulatedController::ClearRecord() {
  std::lock_guard<std::mutex> lock(mutex_);
  received_.clear();
  commands_.clear();
}

bool SimulatedController::SendRaw(const std::string& bytes) {
  return WriteAll(bytes);
}

bool SimulatedController::WriteAll(const std::string& bytes) {
  std::lock_guard<std::mutex> lock(writeMutex_);
  if (master_ < 0) return false;
  const auto deadline = Clock::now() + std::chrono::milliseconds(kWriteTimeoutMs);
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = write(master_, bytes.data() + done, bytes.size() - done);
    if (written > 0) {
      done += static_cast<std::size_t>(written);
      continue;
    }
    if (written < 0 && errno == EINTR) continue;
    if (written < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return false;
    // The pty is full: wait for room, but give up when stopping or after the time-out.
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    pollfd fds[2] = {{master_, POLLOUT, 0}, {wakeRead_, POLLIN, 0}};
    if (poll(fds, 2, static_cast<int>(left)) < 0 && errno != EINTR) return false;
    if (fds[1].revents != 0) return false;
  }
  return true;
}

void SimulatedController::ReadLoop() {
  char buffer[4096];
  for (;;) {
    pollfd fds[2] = {{master_, POLLIN, 0}, {wakeRead_, POLLIN, 0}};
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (fds[1].revents != 0) return;
    if ((fds[0].revents & POLLIN) != 0) {
      const ssize_t count = read(master_, buffer, sizeof buffer);
      if (count > 0) {
        HandleBytes(buffer, static_cast<std::size_t>(count), Clock::now());
        continue;
      }
      if (count < 0 && (errno == EAGAIN || errno == EINTR)) continue;
    }
    if ((fds[0].revents & (POLLHUP | POLLERR | POLLIN)) != 0) {
      // A hang-up should not happen while the keeper holds the slave; do not spin on
      // it, but stay responsive to Stop.
      pollfd wake = {wakeRead_, POLLIN, 0};
      if (poll(&wake, 1, 50) > 0) return;
    }
  }
}

void SimulatedController::HandleBytes(const char* bytes, std::size_t count,
                                      Clock::time_point arrival) {
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < count; ++i) {
    if (bytes[i] == kCarriageReturn) {
      lines.push_back(partial_);
      partial_.clear();
    } else {
      partial_.push_back(bytes[i]);
    }
  }
  for (const std::string& line : lines) {
    const std::string reply = ReplyTo(line);
    if (!reply.empty()) WriteAll(reply + kCarriageReturn);
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    received_.append(bytes, count);
    for (std::string& line : lines) commands_.push_back({std::move(line), arrival});
  }
  changed_.notify_all();
}

std::string SimulatedController::ReplyTo(const std::string& line) const {
  if (line != "vQ" || personality_ == Personality::kSilent) return "";
  std::lock_guard<std::mutex> lock(mutex_);
  return versionReply_;
}

}  // namespace sim
