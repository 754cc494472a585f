// How long a typed key sequence counts as running. The keys go to the system in one
// call, which returns at once; the focused program then takes them one by one. A
// sequence counts as running from its start until that program can have taken its
// last key, at a pace of kTypingPerEventMs a key event, and at least kTypingBaseMs:
// meanwhile a press of a button with a sequence goes to the target as a message
// instead of typing a second sequence into the first (two buttons of one report,
// or a press during a long sequence).
#pragma once

#include <cstdint>

namespace astro {

constexpr std::uint64_t kTypingBaseMs = 50;
constexpr std::uint64_t kTypingPerEventMs = 2;

class TypingWindow {
 public:
  void Start(int events, std::uint64_t nowMs);
  bool Running(std::uint64_t nowMs);
  // Ends it at once (at exit).
  void End() { running_ = false; }

 private:
  bool running_ = false;
  std::uint64_t until_ = 0;
};

}  // namespace astro
