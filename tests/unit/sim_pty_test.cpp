// The simulated controller seen from the driver's side of the pty: the slave opened
// in raw mode, as Wine opens a COM port.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "sim/simulated_controller.h"

namespace {

using namespace std::chrono_literals;

constexpr auto kPatience = 5000ms;  // generous: only a failure waits this long

class DriverSide {
 public:
  explicit DriverSide(const std::string& path) { Open(path); }
  ~DriverSide() { Close(); }

  void Open(const std::string& path) {
    fd_ = open(path.c_str(), O_RDWR | O_NOCTTY);
    termios settings{};
    if (fd_ >= 0 && tcgetattr(fd_, &settings) == 0) {
      cfmakeraw(&settings);
      tcsetattr(fd_, TCSANOW, &settings);
    }
  }
  void Close() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
  }
  bool IsOpen() const { return fd_ >= 0; }

  bool Write(const std::string& bytes) {
    return write(fd_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  }

  // Reads until the terminator has arrived (included), or gives up after kPatience.
  std::string ReadUntil(char terminator) {
    std::string text;
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (text.empty() || text.back() != terminator) {
      if (std::chrono::steady_clock::now() >= deadline) break;
      pollfd fds = {fd_, POLLIN, 0};
      if (poll(&fds, 1, 100) <= 0) continue;
      char c;
      if (read(fd_, &c, 1) == 1) text.push_back(c);
    }
    return text;
  }

  std::string ReadExactly(std::size_t count) {
    std::string text;
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    char buffer[512];
    while (text.size() < count && std::chrono::steady_clock::now() < deadline) {
      pollfd fds = {fd_, POLLIN, 0};
      if (poll(&fds, 1, 100) <= 0) continue;
      const ssize_t got = read(fd_, buffer, std::min(sizeof buffer, count - text.size()));
      if (got > 0) text.append(buffer, static_cast<std::size_t>(got));
    }
    return text;
  }

 private:
  int fd_ = -1;
};

std::vector<std::string> Lines(const sim::SimulatedController& controller) {
  std::vector<std::string> lines;
  for (const sim::ReceivedCommand& command : controller.Commands()) lines.push_back(command.line);
  return lines;
}

bool NamesTheProduct(const std::string& reply) {
  return reply.find("ASTROLAB") != std::string::npos || reply.find("AIRCAP") != std::string::npos;
}

// The reply to a version string, cut off by a sentinel sent after the command was
// recorded: the controller answers before it records, so nothing can come late.
std::string VersionReply(sim::SimulatedController& controller, DriverSide& driver) {
  EXPECT_TRUE(driver.Write("vQ\r"));
  EXPECT_TRUE(controller.WaitForCommand("vQ", kPatience));
  EXPECT_TRUE(controller.SendRaw("#"));
  std::string reply = driver.ReadUntil('#');
  EXPECT_EQ(reply.back(), '#');
  reply.pop_back();
  return reply;
}

TEST(SimPty, ControllerAnswersTheVersionStringWithTheProductName) {
  sim::SimulatedController controller;
  ASSERT_TRUE(controller.Start());
  DriverSide driver(controller.SlavePath());
  ASSERT_TRUE(driver.IsOpen());
  const std::string reply = VersionReply(controller, driver);
  EXPECT_GT(reply.size(), 8u);
  EXPECT_EQ(reply.back(), '\r');
  EXPECT_TRUE(NamesTheProduct(reply)) << reply;
}

TEST(SimPty, AnonymousPortAnswersWithoutTheProductName) {
  sim::SimulatedController controller(sim::Personality::kAnonymousPort);
  ASSERT_TRUE(controller.Start());
  DriverSide driver(controller.SlavePath());
  const std::string reply = VersionReply(controller, driver);
  EXPECT_GT(reply.size(), 8u);
  EXPECT_EQ(reply.back(), '\r');
  EXPECT_FALSE(NamesTheProduct(reply)) << reply;
}

TEST(SimPty, SilentPortSaysNothing) {
  sim::SimulatedController controller(sim::Personality::kSilent);
  ASSERT_TRUE(controller.Start());
  DriverSide driver(controller.SlavePath());
  EXPECT_EQ(VersionReply(controller, driver), "");
}

TEST(SimPty, SetVersionReplyReplacesTheReply) {
  sim::SimulatedController controller;
  ASSERT_TRUE(controller.Start());
  controller.SetVersionReply("AIRCAP v9");
  DriverSide driver(controller.SlavePath());
  EXPECT_EQ(VersionReply(controller, driver), "AIRCAP v9\r");
}

TEST(SimPty, RecordsCommandLinesInOrderWithTheInitStringAsEmptyLineAndZ) {
  sim::SimulatedController controller;
  ASSERT_TRUE(controller.Start());
  DriverSide driver(controller.SlavePath());
  ASSERT_TRUE(driver.Write("\rz\r"));
  ASSERT_TRUE(driver.Write("vQ\r"));
  ASSERT_TRUE(driver.Write("n?\rq00\rpAA\r"));
  ASSERT_TRUE(controller.WaitForCommands(6, kPatience));
  EXPECT_EQ(Lines(controller), (std::vector<std::string>{"", "z", "vQ", "n?", "q00", "pAA"}));
  EXPECT_EQ(controller.ReceivedBytes(), "\rz\rvQ\rn?\rq00\rpAA\r");
  const auto commands = controller.Commands();
  for (std::size_t i = 1; i < commands.size(); ++i) {
    EXPECT_LE(commands[i - 1].arrival, commands[i].arrival);
  }
}

TEST(SimPty, PartialLineBecomesACommandOnlyWithItsCarriageReturn) {
  sim::SimulatedController controller;
  ASSERT_TRUE(controller.Start());
  DriverSide driver(controller.SlavePath());
  ASSERT_TRUE(driver.Write(std::string("m\0", 2)));
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  while (controller.ReceivedBytes().size() < 2 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(5ms);
  }
  ASSERT_EQ(controller.ReceivedBytes(), std::string("m\0", 2));
  EXPECT_TRUE(controller.Commands().empty());
  ASSERT_TRUE(driver.Write("3\rb9\r"));
  ASSERT_TRUE(controller.WaitForCommand("b9", kPatience));
  EXPECT_EQ(Lines(controller), (std::vector<std::string>{std::string("m\0"
                                                                     "3",
                                                                     3),
                                                         "b9"}));
}

TEST(SimPty, ClearRecordForgetsWhatArrived) {
  sim::SimulatedController controller;
  ASSERT_TRUE(controller.Start());
  DriverSide driver(controller.SlavePath());
  ASSERT_TRUE(driver.Write("q00\r"));
  ASSERT_TRUE(controller.WaitForCommands(1, kPatience));
  controller.ClearRecord();
  EXPECT_TRUE(controller.Commands().empty());
  EXPECT_EQ(controller.ReceivedBytes(), "");
  EXPECT_FALSE(controller.WaitForCommand("q00", 1ms));
  ASSERT_TRUE(driver.Write("b9\r"));
  ASSERT_TRUE(controller.WaitForCommands(1, kPatience));
  EXPECT_EQ(Lines(controller), (std::vector<std::string>{"b9"}));
}

TEST(SimPty, SendRawBytesArriveUnchanged) {
  sim::SimulatedController controller;
  ASSERT_TRUE(controller.Start());
  DriverSide driver(controller.SlavePath());
  std::string everyByte;
  for (int i = 0; i < 256; ++i) everyByte.push_back(static_cast<char>(i));
  const std::string bytes = everyByte + std::string(300, 'x') + "\r\n\r" +
                            sim::ShortMotionLine({-2048, 2047, 0, 1, -1, 5}) +
                            sim::ButtonLine(0x801);
  ASSERT_TRUE(controller.SendRaw(bytes));
  EXPECT_EQ(driver.ReadExactly(bytes.size()), bytes);
}

TEST(SimPty, SurvivesTheDriverClosingAndReopeningThePort) {
  sim::SimulatedController controller;
  ASSERT_TRUE(controller.Start());
  DriverSide driver(controller.SlavePath());
  ASSERT_TRUE(driver.Write("\rz\r"));
  ASSERT_TRUE(controller.WaitForCommands(2, kPatience));
  driver.Close();
  EXPECT_TRUE(controller.SendRaw(sim::NLine(1)));  // nobody has the port open
  driver.Open(controller.SlavePath());
  ASSERT_TRUE(driver.IsOpen());
  const std::string reply = VersionReply(controller, driver);
  EXPECT_TRUE(NamesTheProduct(reply)) << reply;
  EXPECT_EQ(Lines(controller), (std::vector<std::string>{"", "z", "vQ"}));
}

TEST(SimPty, StartsOnceAndStopsCleanly) {
  sim::SimulatedController controller;
  ASSERT_TRUE(controller.Start());
  EXPECT_FALSE(controller.Start());
  EXPECT_EQ(controller.SlavePath().rfind("/dev/pts/", 0), 0u) << controller.SlavePath();
  controller.Stop();
  EXPECT_FALSE(controller.SendRaw("q00\r"));
  controller.Stop();  // a second stop is harmless
}

}  // namespace
