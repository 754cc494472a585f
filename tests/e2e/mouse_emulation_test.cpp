// Mouse emulation end to end: with its default mouse mode the driver moves the
// pointer by every motion packet (horizontal X/10 - B/10, vertical Z/10); with
// mode 0 it leaves the pointer alone; with the wheel mode it turns the wheel by
// Z/10. The system accelerates relative moves as Windows does (Wine too): per
// axis, a move longer than the first threshold is doubled when the mouse speed
// is at least 1, and doubled again beyond the second threshold at speed 2. Small
// moves stay as they are.
#include <gmock/gmock.h>

#include <sstream>
#include <thread>

#include "client/astrolab_client.h"
#include "tests/e2e/driver_fixture.h"

namespace e2e {
namespace {

using ::testing::ElementsAre;

struct Point {
  long x = 0;
  long y = 0;
  bool operator==(const Point& other) const { return x == other.x && y == other.y; }
};

void PrintTo(const Point& point, std::ostream* out) {
  *out << "(" << point.x << ", " << point.y << ")";
}

// The system's acceleration of relative pointer moves.
struct Acceleration {
  int threshold1 = 0;
  int threshold2 = 0;
  int speed = 0;

  long Apply(long distance) const {
    const long length = distance < 0 ? -distance : distance;
    long moved = distance;
    if (speed >= 1 && length > threshold1) moved *= 2;
    if (speed >= 2 && length > threshold2) moved *= 2;
    return moved;
  }
  Point Move(const Point& from, long dx, long dy, int times = 1) const {
    return {from.x + Apply(dx) * times, from.y + Apply(dy) * times};
  }
};

class MouseEmulationTest : public DriverTest {
 protected:
  void SetUp() override {
    DriverTest::SetUp();
    if (HasFatalFailure()) return;
    const ProbeResult result = session_.Probe({"mouse-acceleration"});
    ASSERT_TRUE(result.Succeeded());
    ASSERT_FALSE(result.lines.empty());
    std::istringstream(result.lines[0]) >> acceleration_.threshold1 >> acceleration_.threshold2 >>
        acceleration_.speed;
    controller_ = StartDriverWithController();
    ASSERT_NE(controller_, nullptr);
  }

  std::optional<Point> Cursor() {
    const ProbeResult result = session_.Probe({"cursor-pos"});
    Point point;
    if (!result.Succeeded() || result.lines.empty()) return std::nullopt;
    std::istringstream(result.lines[0]) >> point.x >> point.y;
    return point;
  }

  // Polls until the pointer stands at expected; the last position seen.
  std::optional<Point> WaitForCursor(const Point& expected) {
    std::optional<Point> seen;
    const auto deadline = Clock::now() + kReplyTimeout;
    do {
      seen = Cursor();
      if (seen == expected) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    } while (Clock::now() < deadline);
    return seen;
  }

  bool SetMouseMode(int mode) {
    return session_.Probe({"send-command", std::to_string(CmdSetMouseMode), std::to_string(mode)})
        .Succeeded();
  }

  void SendTimes(const sim::Axes& axes, int count) {
    for (int i = 0; i < count; ++i) ASSERT_TRUE(controller_->SendRaw(sim::ShortMotionLine(axes)));
  }

  sim::SimulatedController* controller_ = nullptr;
  Acceleration acceleration_;
};

TEST_F(MouseEmulationTest, DefaultModeMovesThePointerByTheShapedAmounts) {
  // Away from the screen's edges (1024 x 768), which would stop the pointer.
  ASSERT_TRUE(session_.Probe({"set-cursor", "400", "300"}).Succeeded());
  ASSERT_EQ(Cursor(), (Point{400, 300}));

  // Five small moves: 55/10 - 23/10 = 3 across, -37/10 = -3 down, each; the
  // other axes do not count.
  SendTimes({55, 999, -37, 999, 23, 999}, 5);
  Point expected = acceleration_.Move({400, 300}, 3, -3, 5);
  EXPECT_EQ(expected, (Point{415, 285})) << "small moves are not accelerated";
  EXPECT_EQ(WaitForCursor(expected), expected);

  // A large one: 1000/10 - (-1000/10) = 200 across, 500/10 = 50 down.
  SendTimes({1000, 0, 500, 0, -1000, 0}, 1);
  expected = acceleration_.Move(expected, 200, 50);
  EXPECT_EQ(WaitForCursor(expected), expected);

  // Negative amounts truncate toward zero: -19/10 = -1, -(9/10) = 0, -15/10 = -1.
  SendTimes({-19, 0, -15, 0, 9, 0}, 10);
  expected = acceleration_.Move(expected, -1, -1, 10);
  EXPECT_EQ(WaitForCursor(expected), expected);
}

TEST_F(MouseEmulationTest, ModeZeroLeavesThePointerAlone) {
  ASSERT_TRUE(session_.Probe({"set-cursor", "300", "200"}).Succeeded());
  ASSERT_TRUE(SetMouseMode(0));
  SendTimes({500, 0, 500, 0, 0, 0}, 5);
  // Back to the slanted mode: only the last packet's 7 across and 4 down count.
  ASSERT_TRUE(SetMouseMode(MouseModeSlanted));
  SendTimes({70, 0, 40, 0, 0, 0}, 1);
  const Point expected = acceleration_.Move({300, 200}, 7, 4);
  EXPECT_EQ(WaitForCursor(expected), expected);
}

TEST_F(MouseEmulationTest, WheelModeTurnsTheWheelByZ) {
  std::string error;
  ChildProcess* watcher =
      session_.StartWindowsProgram("probe.exe", {"watch-wheel", "3", "30000"}, &error);
  ASSERT_NE(watcher, nullptr) << error;
  ASSERT_TRUE(
      watcher->WaitForLine([](const std::string& line) { return line == "READY"; }, kReplyTimeout));
  ASSERT_TRUE(SetMouseMode(MouseModeWheel));
  // Z/10 for each packet: 25 gives 2, -25 gives -2, 9 gives 0 (a turn of 0 is
  // still an event).
  SendTimes({0, 0, 25, 0, 0, 0}, 1);
  SendTimes({0, 0, -25, 0, 0, 0}, 1);
  SendTimes({0, 0, 9, 0, 0, 0}, 1);
  ASSERT_EQ(watcher->WaitForExit(kExitTimeout), 0);
  std::vector<std::string> wheels;
  for (const OutputLine& line : watcher->Lines()) {
    if (line.text.rfind("WHEEL ", 0) == 0) wheels.push_back(line.text);
  }
  EXPECT_THAT(wheels, ElementsAre("WHEEL 2", "WHEEL -2", "WHEEL 0"));
}

}  // namespace
}  // namespace e2e
