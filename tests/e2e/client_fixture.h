// The base of the tests that watch what reaches a client: the driver with a
// simulated controller on COM3 and given settings, and the test client registered
// as its target.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "tests/e2e/client_events.h"
#include "tests/e2e/driver_fixture.h"

namespace e2e {

// A raw sample that no test sends otherwise.
constexpr sim::Axes kMarker = {777, -666, 333, -222, 111, -99};

class ClientTest : public DriverTest {
 protected:
  using Settings = std::vector<std::pair<std::string, std::string>>;

  // Stores the settings in the registry, starts the driver and then the test
  // client (with --mouse-mode mouseMode unless it is negative), and waits until
  // the client's registration has taken effect. The shaping must match the
  // settings: it tells what the markers arrive as.
  void StartDriverAndClient(const Settings& settings, const Shaping& shaping, int mouseMode);

  // Sends the lines, then a marker sample, and waits for the marker: returns the
  // motion words that arrived before it since the last marker.
  std::vector<MotionWords> SendAndCollect(const std::vector<std::string>& lines);

  sim::SimulatedController* controller_ = nullptr;
  ChildProcess* driver_ = nullptr;
  ChildProcess* client_ = nullptr;
  Shaping shaping_;

 private:
  // Waits for the marker (or the given sample) after `seen` motion events; the
  // index behind it, or nothing on time-out.
  std::optional<std::size_t> WaitForMarker(std::size_t seen, std::chrono::milliseconds timeout,
                                           const sim::Axes& sample);
  std::optional<std::size_t> WaitForMarker(std::size_t seen, std::chrono::milliseconds timeout) {
    return WaitForMarker(seen, timeout, kMarker);
  }
  // The sample sent at the given attempt while the client's registration takes
  // effect; none equals another or the marker.
  static sim::Axes RegistrationMarker(int attempt);

  std::size_t seen_ = 0;  // motion events up to and including the last marker
};

}  // namespace e2e
