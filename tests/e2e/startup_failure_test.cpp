// Start-up without a usable controller: the error boxes, their exact bytes, the
// exit code -1 (255 as the host sees it) and no tray icon.
#include <gmock/gmock.h>

#include <cctype>
#include <cstdint>
#include <cstdlib>

#include "tests/e2e/driver_fixture.h"

namespace e2e {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr char kNoDevice[] = "Can\xB4t find a Astrolab/AIRCAP 3D Controller device!";
constexpr char kAllPortsBusy[] = "All serial ports are being used!";

// The box text is "<text>\nError Code = 0x<8 hex digits> = <decimal> \n", both
// numbers the same error code.
::testing::AssertionResult IsErrorText(const std::string& bytes, const std::string& text) {
  const std::string head = text + "\nError Code = 0x";
  if (bytes.rfind(head, 0) != 0) {
    return ::testing::AssertionFailure() << "begins wrongly: " << ::testing::PrintToString(bytes);
  }
  std::size_t at = head.size();
  if (bytes.size() < at + 8) return ::testing::AssertionFailure() << "too short";
  const std::string hex = bytes.substr(at, 8);
  for (char c : hex) {
    if (!std::isxdigit(static_cast<unsigned char>(c)) ||
        std::islower(static_cast<unsigned char>(c))) {
      return ::testing::AssertionFailure() << "not 8 upper-case hex digits: " << hex;
    }
  }
  at += 8;
  if (bytes.compare(at, 3, " = ") != 0) return ::testing::AssertionFailure() << "no \" = \"";
  at += 3;
  const std::size_t end = bytes.find(' ', at);
  if (end == std::string::npos || bytes.substr(end) != " \n") {
    return ::testing::AssertionFailure() << "does not end in \" \\n\"";
  }
  const std::string decimal = bytes.substr(at, end - at);
  char* stop = nullptr;
  const long long value = std::strtoll(decimal.c_str(), &stop, 10);
  if (decimal.empty() || *stop != '\0') {
    return ::testing::AssertionFailure() << "not a decimal: " << decimal;
  }
  if (static_cast<std::uint32_t>(value) != std::stoul(hex, nullptr, 16)) {
    return ::testing::AssertionFailure() << hex << " and " << decimal << " differ";
  }
  return ::testing::AssertionSuccess();
}

class StartupFailureTest : public DriverTest {
 protected:
  // Waits for the ERROR box with this text, checks it, and presses OK.
  void ExpectErrorBoxAndPressOk(const std::string& text) {
    const ProbeResult box =
        session_.Probe({"wait-box", "ERROR", "60000"}, std::chrono::seconds(90));
    ASSERT_TRUE(box.Succeeded()) << "no ERROR box";
    ASSERT_TRUE(box.Text().has_value());
    EXPECT_TRUE(IsErrorText(*box.Text(), text));
    EXPECT_EQ(box.Field("BUTTONS"), std::string("1"));
    ASSERT_TRUE(session_.Probe({"press", "ERROR", "1"}).Succeeded());
  }

  // The no-device box, shown while the main window exists but the icon does not.
  void ExpectNoDeviceEnd(ChildProcess* driver) {
    ExpectErrorBoxAndPressOk(kNoDevice);
    EXPECT_EQ(driver->WaitForExit(kExitTimeout), 255);
  }
};

TEST_F(StartupFailureTest, SilentPortEndsWithTheNoDeviceBoxAndNoTrayIcon) {
  sim::SimulatedController* port = Attach(1, sim::Personality::kSilent);
  ASSERT_NE(port, nullptr);
  ChildProcess* driver = StartDriver();
  ASSERT_NE(driver, nullptr);

  const ProbeResult box = session_.Probe({"wait-box", "ERROR", "60000"}, std::chrono::seconds(90));
  ASSERT_TRUE(box.Succeeded());
  // The main window is there while the box is up, yet no icon: this is also what
  // shows that the icon check tells the two apart.
  EXPECT_TRUE(session_.Probe({"find-window", "ASTROLAB_3D_CONTROLLER"}).Succeeded());
  const ProbeResult tray = session_.Probe({"tray-icon-exists"});
  EXPECT_FALSE(tray.Succeeded());
  EXPECT_THAT(tray.lines, ElementsAre("no"));

  ExpectNoDeviceEnd(driver);
  EXPECT_THAT(CommandLines(*port), ElementsAre("", "z", "vQ"));
}

TEST_F(StartupFailureTest, PortAnsweringWithoutProductNameIsNotChosen) {
  sim::SimulatedController* port = Attach(4, sim::Personality::kAnonymousPort);
  ASSERT_NE(port, nullptr);
  ChildProcess* driver = StartDriver();
  ASSERT_NE(driver, nullptr);

  ExpectNoDeviceEnd(driver);
  EXPECT_THAT(CommandLines(*port), ElementsAre("", "z", "vQ"));
  EXPECT_FALSE(session_.Probe({"tray-icon-exists"}).Succeeded());
}

TEST_F(StartupFailureTest, NoPortAtAllFirstSaysThatAllPortsAreBusy) {
  // The box is about a machine on which no port opens: no other ports here, and
  // the host's own port, which Wine maps as COM9, is listed but does not open
  // either (it is given back to Wine afterwards).
  withOtherPorts_ = false;
  std::string error;
  ASSERT_TRUE(session_.UnlinkComPort(9, &error)) << error;
  ChildProcess* driver = StartDriver();
  ASSERT_NE(driver, nullptr);

  ExpectErrorBoxAndPressOk(kAllPortsBusy);
  ExpectErrorBoxAndPressOk(kNoDevice);
  EXPECT_EQ(driver->WaitForExit(kExitTimeout), 255);
  EXPECT_TRUE(session_.LeaveComPortToWine(9, &error).has_value()) << error;
}

}  // namespace
}  // namespace e2e
