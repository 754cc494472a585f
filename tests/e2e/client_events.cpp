#include "tests/e2e/client_events.h"

#include <cmath>
#include <cstdio>
#include <sstream>

#include "client/astrolab_client.h"

namespace e2e {

std::optional<ClientEvent> ParseClientEvent(const std::string& line) {
  std::istringstream fields(line);
  ClientEvent event;
  if (!(fields >> event.micros >> event.name >> event.wParam >> event.lParam)) return std::nullopt;
  if (!(fields >> event.window) && !fields.eof()) return std::nullopt;
  std::string rest;
  if (fields >> rest) return std::nullopt;
  return event;
}

std::vector<ClientEvent> ClientEvents(const ChildProcess& client, const std::string& name) {
  std::vector<ClientEvent> events;
  for (const OutputLine& line : client.Lines()) {
    const std::optional<ClientEvent> event = ParseClientEvent(line.text);
    if (event && event->name == name) events.push_back(*event);
  }
  return events;
}

std::string Describe(const MotionWords& words) {
  std::int32_t axes[6];
  AstrolabUnpackMotion(words.wParam, words.lParam, axes);
  char text[160];
  std::snprintf(text, sizeof text, "0x%08X 0x%08X (%d %d %d %d %d %d)", words.wParam, words.lParam,
                axes[0], axes[1], axes[2], axes[3], axes[4], axes[5]);
  return text;
}

std::optional<MotionWords> WordsOf(const ClientEvent& event) {
  const auto wWord = static_cast<std::uint32_t>(event.wParam);
  const auto lWord = static_cast<std::uint32_t>(event.lParam);
  if (event.wParam != wWord) return std::nullopt;
  if (event.lParam != static_cast<std::int64_t>(static_cast<std::int32_t>(lWord))) {
    return std::nullopt;
  }
  return MotionWords{wWord, lWord};
}

std::optional<MotionWords> ExpectedMotion(const sim::Axes& raw, const Shaping& shaping) {
  const std::int64_t radius = shaping.nullRadius < 0 ? 0 : shaping.nullRadius;
  bool rest = true;
  bool moved = false;
  std::int32_t shaped[6];
  for (int i = 0; i < 6; ++i) {
    rest = rest && raw[i] == 0;
    // The null zone: inside it 0, outside it moved toward 0 by the radius.
    std::int64_t value = raw[i];
    value = value > radius ? value - radius : (value < -radius ? value + radius : 0);
    moved = moved || value != 0;
    // The switch, then the factor, truncated toward zero.
    const double scaled = shaping.enabled[i] != 0 ? std::trunc(value * shaping.scale[i]) : 0.0;
    shaped[i] = static_cast<std::int32_t>(std::fmax(-1e9, std::fmin(1e9, scaled)));
  }
  if (!moved && !rest) return std::nullopt;
  return MotionWords{AstrolabPackMotionWord(shaped[0], shaped[1], shaped[2]),
                     AstrolabPackMotionWord(shaped[3], shaped[4], shaped[5])};
}

}  // namespace e2e
