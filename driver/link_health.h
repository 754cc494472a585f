// Tells a controller that is gone from an error that passes: an unplugged
// adapter (or a closed pseudo-terminal) makes every read and wait on its port fail
// at once, again and again, while a line error fails one operation now and then.
#pragma once

#include <cstdint>

namespace astro {

class LinkHealth {
 public:
  // The port counts as lost once this many operations in a row have failed over
  // at least this long, with no success between.
  static constexpr int kFailuresToLose = 20;
  static constexpr std::uint64_t kLossWindowMs = 200;

  // An operation on the port failed at nowMs.
  void Failed(std::uint64_t nowMs);
  // An operation completed: a read (even of nothing) or a look at the queue.
  void Succeeded();
  bool Lost() const;
  // A fresh start on a newly opened port.
  void Reset() { Succeeded(); }

 private:
  int failures_ = 0;
  std::uint64_t firstFailure_ = 0;
  std::uint64_t lastFailure_ = 0;
};

}  // namespace astro
