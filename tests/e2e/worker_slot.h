// One test worker's share of the machine: a slot number taken with a file lock
// for the life of the process, so that tests running side by side (ctest -j2)
// never share a Wine prefix or an X display. Slot N owns <e2e dir>/prefix-N,
// made once and reused, and the display :(50 + N).
#pragma once

#include <string>

namespace e2e {

class WorkerSlot {
 public:
  // Takes a free slot, waiting while all are taken. The same slot for every call
  // in one process; null on failure.
  static WorkerSlot* Acquire(std::string* error);

  int Index() const { return index_; }
  int PreferredDisplay() const { return 50 + index_; }
  // <e2e dir>/slot-N: the lock, scratch directories.
  std::string Directory() const;
  std::string PrefixDir() const;

 private:
  explicit WorkerSlot(int index) : index_(index) {}

  int index_;
};

}  // namespace e2e
