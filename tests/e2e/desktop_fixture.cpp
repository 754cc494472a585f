#include "tests/e2e/desktop_fixture.h"

#include <sstream>
#include <thread>

#include "tests/e2e/harness_paths.h"

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
  // The probe ends with 1 when no such box came. Any other failure is the probe
  // not running at all, which Wine does now and then on a busy machine (as with
  // its registry writes): the wait is made again, twice at most.
  ProbeResult box;
  for (int attempt = 0; attempt < 3; ++attempt) {
    box = session_.Probe({"wait-box", caption, "30000"}, 60s);
    if (box.Succeeded() || box.exitCode == 1) break;
  }
  std::string printed;
  for (const std::string& line : box.lines) printed += " \"" + line + "\"";
  EXPECT_TRUE(box.Succeeded()) << "no box captioned \"" << caption << "\" (probe exit code "
                               << box.exitCode << ", printed" << printed << ")";
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

void DesktopTest::Click(const std::string& caption, int item) {
  EXPECT_TRUE(session_.Probe({"click", caption, std::to_string(item)}).Succeeded())
      << item << " in \"" << caption << "\"";
}

void DesktopTest::ClickWithPointer(const std::string& caption, int control) {
  const ProbeResult point = session_.Probe({"control-center", caption, std::to_string(control)});
  ASSERT_TRUE(point.Succeeded()) << control;
  std::istringstream words(*point.Field("POINT"));
  std::string x, y;
  words >> x >> y;
  const std::string xdotool = FindOnPath("xdotool");
  ASSERT_EQ(session_.Run({xdotool, "mousemove", x, y}, 10s), 0);
  ASSERT_EQ(session_.Run({xdotool, "click", "1"}, 10s), 0);
}

std::optional<std::string> DesktopTest::ControlText(const std::string& caption, int item) {
  return session_.Probe({"control-text", caption, std::to_string(item)}).Text();
}

bool DesktopTest::WaitForControlText(const std::string& caption, int item,
                                     const std::string& text) {
  const auto deadline = Clock::now() + kReplyTimeout;
  while (ControlText(caption, item) != text) {
    if (Clock::now() >= deadline) return false;
    std::this_thread::sleep_for(50ms);
  }
  return true;
}

}  // namespace e2e
