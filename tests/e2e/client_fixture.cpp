#include "tests/e2e/client_fixture.h"

#include <thread>

#include "client/astrolab_client.h"

namespace e2e {

void ClientTest::StartDriverAndClient(const Settings& settings, const Shaping& shaping,
                                      int mouseMode) {
  shaping_ = shaping;
  std::string error;
  for (const auto& [name, value] : settings) {
    ASSERT_TRUE(session_.SetDriverSetting(name, value, &error)) << error;
  }
  controller_ = StartDriverWithController(&driver_);
  ASSERT_NE(controller_, nullptr);

  std::vector<std::string> arguments = {"--title", "E2E client"};
  if (mouseMode >= 0) {
    arguments.insert(arguments.end(), {"--mouse-mode", std::to_string(mouseMode)});
  }
  client_ = session_.StartWindowsProgram("test_client.exe", arguments, &error);
  ASSERT_NE(client_, nullptr) << error;
  ASSERT_TRUE(client_->WaitForLineStartingWith("READY ", kReplyTimeout).has_value());

  // The announcement is posted: it takes effect when the driver's loop gets to it.
  // Markers are sent until one arrives, each a different one: once the last one
  // sent is there, every earlier one has come or never will (the driver handles
  // them in order and the client's queue keeps that order), so the samples of
  // the test start behind it.
  const auto deadline = Clock::now() + kReplyTimeout;
  for (int attempt = 0;; ++attempt) {
    const sim::Axes marker = RegistrationMarker(attempt);
    ASSERT_TRUE(controller_->SendRaw(sim::ShortMotionLine(marker)));
    const std::optional<std::size_t> behind =
        WaitForMarker(0, std::chrono::milliseconds(1000), marker);
    if (behind) {
      seen_ = *behind;
      return;
    }
    ASSERT_LT(Clock::now(), deadline) << "no sample reached the client";
  }
}

sim::Axes ClientTest::RegistrationMarker(int attempt) {
  // Further from 0 than the marker on every axis, and further with each attempt.
  const int step = 8 * (attempt + 1);
  sim::Axes axes = kMarker;
  for (auto& axis : axes) axis += axis < 0 ? -step : step;
  return axes;
}

std::optional<std::size_t> ClientTest::WaitForMarker(std::size_t seen,
                                                     std::chrono::milliseconds timeout,
                                                     const sim::Axes& sample) {
  const std::optional<MotionWords> marker = ExpectedMotion(sample, shaping_);
  const auto deadline = Clock::now() + timeout;
  do {
    const std::vector<ClientEvent> events = ClientEvents(*client_, ASTROLAB_MOTION_EVENT);
    for (std::size_t i = seen; i < events.size(); ++i) {
      if (WordsOf(events[i]) == marker) return i + 1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  } while (Clock::now() < deadline);
  return std::nullopt;
}

std::vector<MotionWords> ClientTest::SendAndCollect(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    if (!controller_->SendRaw(line)) {
      ADD_FAILURE() << "the pty refused a line";
      return {};
    }
  }
  controller_->SendRaw(sim::ShortMotionLine(kMarker));
  const std::optional<std::size_t> behind = WaitForMarker(seen_, kReplyTimeout);
  if (!behind) {
    ADD_FAILURE() << "the marker did not arrive";
    return {};
  }
  const std::vector<ClientEvent> events = ClientEvents(*client_, ASTROLAB_MOTION_EVENT);
  std::vector<MotionWords> words;
  for (std::size_t i = seen_; i + 1 < *behind; ++i) {
    const std::optional<MotionWords> received = WordsOf(events[i]);
    if (!received) {
      ADD_FAILURE() << "parameters not extended as the protocol says: " << events[i].wParam << " "
                    << events[i].lParam;
      continue;
    }
    words.push_back(*received);
  }
  seen_ = *behind;
  return words;
}

}  // namespace e2e
