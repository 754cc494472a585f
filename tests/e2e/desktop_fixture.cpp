#include "tests/e2e/desktop_fixture.h"

#include <thread>

namespace e2e {

using namespace std::chrono_literals;

void DesktopTest::StartWithController() {
  controller_ = StartDriverWithController(&driver_);
  ASSERT_NE(controller_, nullptr);
}

bool DesktopTest::PostToDriver(int message, int wParam, int lParam) {
  return session_
      .Probe(
          {"post-driver", std::to_string(message), std::to_string(wParam), std::to_string(lParam)})
      .Succeeded();
}

ProbeResult DesktopTest::WaitForBox(const std::string& caption) {
  const ProbeResult box = session_.Probe({"wait-box", caption, "30000"}, 60s);
  EXPECT_TRUE(box.Succeeded()) << "no box captioned \"" << caption << "\"";
  return box;
}

void DesktopTest::WaitUntilGone(const std::string& caption) {
  const auto deadline = Clock::now() + kReplyTimeout;
  while (session_.Probe({"wait-box", caption, "0"}).Succeeded()) {
    ASSERT_LT(Clock::now(), deadline) << "\"" << caption << "\" is still open";
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

void DesktopTest::Press(const std::string& caption, int button) {
  EXPECT_TRUE(session_.Probe({"press", caption, std::to_string(button)}).Succeeded())
      << "button " << button << " of \"" << caption << "\"";
}

int DesktopTest::MenuState(int item) {
  const ProbeResult state = session_.Probe({"menu-state", kDriverClass, std::to_string(item)});
  if (!state.Succeeded() || state.lines.empty()) return -1;
  return std::stoi(state.lines[0]);
}

std::optional<std::string> DesktopTest::MenuText(int item) {
  return session_.Probe({"menu-text", kDriverClass, std::to_string(item)}).Text();
}

void DesktopTest::ShowMainWindow() {
  ASSERT_TRUE(PostToDriver(kTrayMessage, kTrayMessage, kDoubleClick));
  const auto deadline = Clock::now() + kReplyTimeout;
  while (!session_.Probe({"window-rect", kDriverClass}).Succeeded()) {
    ASSERT_LT(Clock::now(), deadline) << "the window did not appear";
  }
  ASSERT_TRUE(session_.Probe({"sync-driver"}).Succeeded());
}

}  // namespace e2e
