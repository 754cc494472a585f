// What the test client prints, parsed: one line per message the driver sent one
// of its windows ("<microseconds> <name> <wParam> <lParam> <window>"), and the words of motion
// samples as the driver's shaping makes them, worked out independently of the
// driver's code from the raw axes and the settings.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "sim/simulated_controller.h"
#include "tests/e2e/child_process.h"

namespace e2e {

struct ClientEvent {
  std::uint64_t micros = 0;  // the client's performance counter at arrival
  std::string name;
  std::uint64_t wParam = 0;  // whole, as received
  std::int64_t lParam = 0;   // whole, as received
  std::uint64_t window = 0;  // the receiving window
};

std::optional<ClientEvent> ParseClientEvent(const std::string& line);
// The client's events of one message name so far, in order.
std::vector<ClientEvent> ClientEvents(const ChildProcess& client, const std::string& name);

// The two 32-bit words of a "MotionEvent".
struct MotionWords {
  std::uint32_t wParam = 0;
  std::uint32_t lParam = 0;
  bool operator==(const MotionWords& other) const {
    return wParam == other.wParam && lParam == other.lParam;
  }
};
std::string Describe(const MotionWords& words);
// Shown by failed expectations.
inline void PrintTo(const MotionWords& words, std::ostream* out) {
  *out << Describe(words);
}
// The words of a received event; the whole parameters must carry them as the
// protocol says: wParam zero-extended, lParam sign-extended.
std::optional<MotionWords> WordsOf(const ClientEvent& event);

// The settings that shape motion.
struct Shaping {
  std::int32_t nullRadius = 0;
  std::int32_t enabled[6] = {1, 1, 1, 1, 1, 1};
  double scale[6] = {1.0, 1.0, 1.0, 1.0, 1.0, 1.0};
};

// The words the driver posts for a raw sample, or nothing when it posts none (a
// sample that only the null zone made all zero).
std::optional<MotionWords> ExpectedMotion(const sim::Axes& raw, const Shaping& shaping);

}  // namespace e2e
