#include "tests/e2e/worker_slot.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>

#include "tests/e2e/harness_paths.h"

namespace e2e {
namespace {

constexpr int kSlots = 4;

}  // namespace

WorkerSlot* WorkerSlot::Acquire(std::string* error) {
  static WorkerSlot* slot = nullptr;
  if (slot != nullptr) return slot;
  std::error_code ignored;
  std::filesystem::create_directories(HarnessDir(), ignored);
  for (;;) {
    for (int index = 0; index < kSlots; ++index) {
      const std::string lockPath = HarnessDir() + "/slot-" + std::to_string(index) + ".lock";
      // Close-on-exec: a daemon started by a test must not inherit the lock.
      const int fd = open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
      if (fd < 0) {
        *error = lockPath + ": " + std::strerror(errno);
        return nullptr;
      }
      if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
        // The descriptor stays open, and the lock held, until the process ends.
        slot = new WorkerSlot(index);
        std::filesystem::create_directories(slot->Directory(), ignored);
        return slot;
      }
      close(fd);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
}

std::string WorkerSlot::Directory() const {
  return HarnessDir() + "/slot-" + std::to_string(index_);
}

std::string WorkerSlot::PrefixDir() const {
  return HarnessDir() + "/prefix-" + std::to_string(index_);
}

}  // namespace e2e
