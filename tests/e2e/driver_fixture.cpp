#include "tests/e2e/driver_fixture.h"

#include <sstream>

#include "tests/e2e/driver_launch.h"
#include "tests/e2e/harness_paths.h"

namespace e2e {

void DriverTest::SetUp() {
  ASSERT_FALSE(FindOnPath("wine").empty()) << "wine is not installed";
  for (const char* program : {"astrodriver.exe", "probe.exe", "test_client.exe"}) {
    ASSERT_TRUE(FileExists(WindowsProgram(program)))
        << WindowsProgram(program) << " is missing: build the Windows programs first";
  }
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string error;
  ASSERT_TRUE(session_.Start(std::string(test->test_suite_name()) + "." + test->name(), &error))
      << error;
  ASSERT_TRUE(session_.ClearComPorts(&error)) << error;
  ASSERT_TRUE(session_.ResetDriverSettings(&error)) << error;
}

void DriverTest::TearDown() {
  // The programs first, so that no port is open when the controllers go.
  session_.Stop();
  controllers_.clear();
  otherPorts_.clear();
}

sim::SimulatedController* DriverTest::Attach(int number, sim::Personality personality) {
  auto controller = std::make_unique<sim::SimulatedController>(personality);
  std::string error;
  if (!controller->Start()) {
    ADD_FAILURE() << "the simulated controller for COM" << number << " did not start";
    return nullptr;
  }
  if (!session_.LinkComPort(number, controller->SlavePath(), &error)) {
    ADD_FAILURE() << error;
    return nullptr;
  }
  attached_.insert(number);
  controllers_.push_back(std::move(controller));
  return controllers_.back().get();
}

void DriverTest::AttachOtherPorts() {
  if (!withOtherPorts_ || !otherPorts_.empty()) return;
  std::string error;
  if (!e2e::AttachOtherPorts(session_, attached_, &otherPorts_, &error)) ADD_FAILURE() << error;
}

ChildProcess* DriverTest::StartDriver() {
  AttachOtherPorts();
  std::string error;
  ChildProcess* driver = session_.StartDriver(&error, driverDirectory_);
  if (driver == nullptr) ADD_FAILURE() << error;
  return driver;
}

bool DriverTest::WaitForTrayIcon() {
  const std::string waitMs = std::to_string(
      std::chrono::duration_cast<std::chrono::milliseconds>(kStartupTimeout).count());
  const ProbeResult waited =
      session_.Probe({"wait-tray", waitMs}, kStartupTimeout + std::chrono::seconds(30));
  if (!waited.Succeeded()) {
    std::string printed;
    for (const std::string& line : waited.lines) printed += " \"" + line + "\"";
    ADD_FAILURE() << "probe wait-tray ended with " << waited.exitCode << "; it printed" << printed;
  }
  return waited.Succeeded();
}

sim::SimulatedController* DriverTest::StartDriverWithController(ChildProcess** driver) {
  sim::SimulatedController* controller = Attach(controllerPort_);
  if (controller == nullptr) return nullptr;
  ChildProcess* process = StartDriver();
  if (process == nullptr) return nullptr;
  if (driver != nullptr) *driver = process;
  if (!controller->WaitForCommand("b9", kStartupTimeout)) {
    ADD_FAILURE() << "the driver's start-up did not reach the beep command";
    return nullptr;
  }
  if (!WaitForTrayIcon()) {
    ADD_FAILURE() << "the tray icon did not appear";
    return nullptr;
  }
  return controller;
}

std::string DriverTest::TrayTipUntil(const std::string& expected) {
  const ProbeResult point = session_.Probe({"tray-icon-center"});
  if (!point.Succeeded() || !point.Field("POINT")) return "(no tray window)";
  std::istringstream words(*point.Field("POINT"));
  std::string x, y;
  words >> x >> y;
  const std::string xdotool = FindOnPath("xdotool");
  const auto tenSeconds = std::chrono::seconds(10);
  std::string tip;
  const auto deadline = Clock::now() + kReplyTimeout;
  do {
    // Away and back, so that the desktop shows the tip afresh.
    session_.Run({xdotool, "mousemove", "600", "700"}, tenSeconds);
    session_.Run({xdotool, "mousemove", x, y}, tenSeconds);
    session_.Run({xdotool, "mousemove_relative", "1", "1"}, tenSeconds);
    tip = session_.Probe({"wait-tooltip", "5000"}).Text().value_or("");
  } while (tip != expected && Clock::now() < deadline);
  return tip;
}

void RunningDriverTest::SetUp() {
  DriverTest::SetUp();
  if (HasFatalFailure()) return;
  controller_ = StartDriverWithController();
  ASSERT_NE(controller_, nullptr);
  controller_->ClearRecord();
}

std::vector<std::string> CommandLines(const sim::SimulatedController& controller) {
  std::vector<std::string> lines;
  for (const sim::ReceivedCommand& command : controller.Commands()) lines.push_back(command.line);
  return lines;
}

}  // namespace e2e
