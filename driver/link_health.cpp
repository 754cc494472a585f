#include "driver/link_health.h"

namespace astro {

void LinkHealth::Failed(std::uint64_t nowMs) {
  if (failures_ == 0) firstFailure_ = nowMs;
  lastFailure_ = nowMs;
  if (failures_ < kFailuresToLose) ++failures_;
}

void LinkHealth::Succeeded() {
  failures_ = 0;
}

bool LinkHealth::Lost() const {
  return failures_ >= kFailuresToLose && lastFailure_ - firstFailure_ >= kLossWindowMs;
}

}  // namespace astro
