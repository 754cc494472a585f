#include "delivery/typing_window.h"

namespace astro {

void TypingWindow::Start(int events, std::uint64_t nowMs) {
  const std::uint64_t count = events > 0 ? static_cast<std::uint64_t>(events) : 0;
  until_ = nowMs + kTypingBaseMs + count * kTypingPerEventMs;
  running_ = true;
}

bool TypingWindow::Running(std::uint64_t nowMs) {
  if (running_ && nowMs >= until_) running_ = false;
  return running_;
}

}  // namespace astro
