// Finding the controller among COM1..COM8, writing commands, and the error texts.
#include "driver/port_discovery.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "driver/port_slot.h"
#include "tests/unit/fake_serial_bus.h"

namespace astro {
namespace {

using testing::FakeSerialBus;
using testing::RecordingReporter;
using Lines = std::vector<std::string>;

const char kStartupCommands[] = "n?\rq00\rpAA\rm3\rc33\rb9\r";

PortProperties GoodProperties() {
  using namespace port_flags;
  PortProperties p;
  p.maxBaud = kBaud9600;
  p.providerSubType = kProviderRs232;
  p.providerCapabilities = kDtrDsr | kRtsCts;
  p.settableParams = kSettableParity | kSettableBaud | kSettableDataBits | kSettableStopBits;
  p.settableBaud = kBaud9600;
  p.settableData = kDataBits8;
  p.settableStopParity = kStopBits2 | kParityNone;
  return p;
}

// ---- PortQualifies ----

TEST(PortQualifiesTest, AnAllZeroRecordQualifies) {
  EXPECT_TRUE(PortQualifies(PortProperties()));
}

TEST(PortQualifiesTest, AReportedRecordMustMeetEveryCondition) {
  EXPECT_TRUE(PortQualifies(GoodProperties()));
  PortProperties faster = GoodProperties();
  faster.maxBaud = 0x10000000;  // a user-settable rate ranks above 9600
  faster.settableBaud = 0xFFFF;
  faster.providerCapabilities = 0xFF;
  EXPECT_TRUE(PortQualifies(faster));

  const std::vector<std::function<void(PortProperties&)>> breaks = {
      [](PortProperties& p) { p.maxBaud = 0x200; },  // 4800
      [](PortProperties& p) { p.providerSubType = 0x21; },
      [](PortProperties& p) { p.providerCapabilities = port_flags::kDtrDsr; },
      [](PortProperties& p) { p.providerCapabilities = port_flags::kRtsCts; },
      [](PortProperties& p) { p.settableParams &= ~port_flags::kSettableParity; },
      [](PortProperties& p) { p.settableParams &= ~port_flags::kSettableBaud; },
      [](PortProperties& p) { p.settableParams &= ~port_flags::kSettableDataBits; },
      [](PortProperties& p) { p.settableParams &= ~port_flags::kSettableStopBits; },
      [](PortProperties& p) { p.settableBaud = 0x200; },
      [](PortProperties& p) { p.settableData = 0x0007; },
      [](PortProperties& p) { p.settableStopParity = port_flags::kParityNone; },
      [](PortProperties& p) { p.settableStopParity = port_flags::kStopBits2; },
  };
  for (std::size_t i = 0; i < breaks.size(); ++i) {
    PortProperties p = GoodProperties();
    breaks[i](p);
    EXPECT_FALSE(PortQualifies(p)) << "condition " << i;
  }
}

// ---- SendDeviceCommand ----

class SendDeviceCommandTest : public ::testing::Test {
 protected:
  FakeSerialBus bus;
  PortHandle port = 0;
  void SetUp() override {
    bus.Port("COM1");
    port = bus.Open("COM1");
  }
};

TEST_F(SendDeviceCommandTest, SendsEveryByteWithoutWaiting) {
  std::size_t sent = 99;
  EXPECT_TRUE(SendDeviceCommand(bus, port, "m3\r", 3, &sent));
  EXPECT_EQ(sent, 3u);
  EXPECT_EQ(bus.sent["COM1"], "m3\r");
  EXPECT_TRUE(bus.Entries("Sleep").empty());
  EXPECT_TRUE(SendDeviceCommand(bus, port, "b9\r", 3, nullptr));
}

TEST_F(SendDeviceCommandTest, ARefusedByteIsRetriedOnceAfter10Ms) {
  bus.Port("COM1").transmitResults = {true, false, true};
  std::size_t sent = 0;
  EXPECT_TRUE(SendDeviceCommand(bus, port, "q00\r", 4, &sent));
  EXPECT_EQ(sent, 4u);
  EXPECT_EQ(bus.sent["COM1"], "q00\r");
  EXPECT_EQ(bus.log,
            (Lines{"Open COM1", "Send COM1 q", "Refused COM1", "Sleep 10", "Send COM1 00\r"}));
}

TEST_F(SendDeviceCommandTest, StopsAfterASecondRefusal) {
  bus.Port("COM1").transmitResults = {true, false, false};
  std::size_t sent = 0;
  EXPECT_FALSE(SendDeviceCommand(bus, port, "q00\r", 4, &sent));
  EXPECT_EQ(sent, 1u);
  EXPECT_EQ(bus.sent["COM1"], "q");
  EXPECT_EQ(bus.Entries("Refused").size(), 2u);
  EXPECT_EQ(bus.Entries("Sleep"), (Lines{"Sleep 10"}));
}

TEST_F(SendDeviceCommandTest, NothingGoesToALostPortNorIsWaitedFor) {
  std::size_t sent = 99;
  EXPECT_FALSE(SendDeviceCommand(bus, kInvalidPort, "b9\r", 3, &sent));
  EXPECT_EQ(sent, 0u);
  EXPECT_EQ(bus.log, (Lines{"Open COM1"}));
}

// ---- error texts ----

TEST(ErrorTextTest, CodeIsShownAsHexAndAsSignedDecimal) {
  EXPECT_EQ(FormatErrorText("Can\xB4t open a window", 5),
            "Can\xB4t open a window\nError Code = 0x00000005 = 5 \n");
  EXPECT_EQ(FormatErrorText("x", 0xFFFFFFFFu), "x\nError Code = 0xFFFFFFFF = -1 \n");
  EXPECT_EQ(FormatErrorText("x", 0x80004005u), "x\nError Code = 0x80004005 = -2147467259 \n");
  EXPECT_EQ(FormatErrorText("", 0), "\nError Code = 0x00000000 = 0 \n");
}

TEST(ErrorTextTest, TextIsCutAt255Characters) {
  const std::string longText(300, 'e');
  const std::string text = FormatErrorText(longText.c_str(), 1);
  EXPECT_EQ(text, std::string(255, 'e'));
}

TEST(ErrorTextTest, PortErrorsCarryThePortName) {
  RecordingReporter reporter;
  ReportPortError(reporter, 3, "Function failed SetCommState");
  EXPECT_EQ(reporter.messages, (Lines{"COM3: Function failed SetCommState"}));
}

TEST(ClosePortTest, ClosesOnceAndReportsASecondClose) {
  FakeSerialBus bus;
  RecordingReporter reporter;
  PortSlot slot;
  ResetPortSlot(slot);
  EXPECT_EQ(slot.handle, kInvalidPort);
  EXPECT_EQ(slot.event, kInvalidEvent);
  bus.Port("COM2");
  slot.handle = bus.Open("COM2");
  EXPECT_TRUE(ClosePort(bus, reporter, slot));
  EXPECT_EQ(slot.handle, kInvalidPort);
  EXPECT_TRUE(reporter.messages.empty());
  EXPECT_FALSE(ClosePort(bus, reporter, slot));
  EXPECT_EQ(reporter.messages, (Lines{"Invalid Port Handle"}));
  EXPECT_EQ(bus.Entries("Close"), (Lines{"Close COM2"}));
}

// ---- OpenDevice ----

class OpenDeviceTest : public ::testing::Test {
 protected:
  FakeSerialBus bus;
  RecordingReporter reporter;
  StoredCommands commands;

  void Controller(const std::string& name, const std::string& reply = "ASTROLAB 3D V2.1\r") {
    bus.Port(name).replies = {reply};
  }
  PortHandle Run(const char* portName = nullptr) {
    return OpenDevice(bus, reporter, commands, portName);
  }
  std::string Chosen(PortHandle port) const { return port ? bus.NameOf(port) : "none"; }
  // Nothing may stay open but the chosen port.
  void ExpectOnlyOpen(PortHandle port) const {
    EXPECT_EQ(bus.openHandles, port ? 1 : 0);
    EXPECT_EQ(bus.openEvents, 0);
  }
};

TEST_F(OpenDeviceTest, ControllerOnCom3IsFoundWithTheExactSequenceOfCalls) {
  Controller("COM3");
  const PortHandle port = Run();
  EXPECT_EQ(Chosen(port), "COM3");
  EXPECT_TRUE(reporter.messages.empty());
  ExpectOnlyOpen(port);

  const Lines powerOff = {"Open COM3", "SetupQueues COM3 256 5", "ReadProperties COM3",
                          "Apply COM3 off", "Close COM3"};
  const Lines powerOn = {"Open COM3",     "SetupQueues COM3 256 5", "ReadProperties COM3",
                         "Apply COM3 on", "SetEventMask COM3",      "SetTimeouts COM3",
                         "CreateEvent"};
  Lines expected = {"Open COM1", "Open COM2"};
  expected.insert(expected.end(), powerOff.begin(), powerOff.end());
  expected.insert(expected.end(), {"Open COM4", "Open COM5", "Open COM6", "Open COM7", "Open COM8",
                                   "Sleep 1000", "Open COM1", "Open COM2"});
  expected.insert(expected.end(), powerOn.begin(), powerOn.end());
  expected.insert(
      expected.end(),
      {"Open COM4",       "Open COM5",       "Open COM6",      "Open COM7",      "Open COM8",
       "Sleep 1000",      "Send COM3 \rz\r", "Sleep 100",      "Send COM3 vQ\r", "Sleep 100",
       "Poll COM3 5001",  "CloseEvent 5001", "Send COM3 n?\r", "Sleep 100",      "Send COM3 q00\r",
       "Sleep 100",       "Send COM3 pAA\r", "Sleep 100",      "Send COM3 m3\r", "Sleep 100",
       "Send COM3 c33\r", "Sleep 100",       "Send COM3 b9\r", "Sleep 100"});
  EXPECT_EQ(bus.log, expected);
  EXPECT_EQ(bus.pollCapacities, (std::vector<std::size_t>{256}));
}

TEST_F(OpenDeviceTest, TheFoundPortsNameIsKeptForItsRecovery) {
  Controller("COM6");
  std::string name;
  EXPECT_EQ(Chosen(OpenDevice(bus, reporter, commands, nullptr, &name)), "COM6");
  EXPECT_EQ(name, "COM6");
}

TEST_F(OpenDeviceTest, StartupCommandsAreTheCurrentStoredOnes) {
  Controller("COM1");
  commands.mode[1] = 'G';  // e.g. after an adoption in an earlier run
  Run();
  EXPECT_EQ(bus.sent["COM1"], std::string("\rz\rvQ\r") + "n?\rq00\rpAA\rmG\rc33\rb9\r");
}

TEST_F(OpenDeviceTest, FirstControllerInPortOrderWinsAndTheOtherIsClosed) {
  Controller("COM5");
  Controller("COM2");
  bus.Port("COM7").replies = {"modem OK\r\n"};
  const PortHandle port = Run();
  EXPECT_EQ(Chosen(port), "COM2");
  EXPECT_TRUE(reporter.messages.empty());
  ExpectOnlyOpen(port);
  EXPECT_EQ(bus.sent["COM2"], std::string("\rz\rvQ\r") + kStartupCommands);
  EXPECT_EQ(bus.sent["COM5"], "\rz\rvQ\r");
  EXPECT_EQ(bus.sent["COM7"], "\rz\rvQ\r");
  // Every open port is read, in port order; the losers are closed before the
  // start-up commands go out.
  EXPECT_EQ(bus.Entries("Poll"), (Lines{"Poll COM2 5001", "Poll COM5 5002", "Poll COM7 5003"}));
  const Lines closes = bus.Entries("Close");
  EXPECT_EQ(closes, (Lines{"Close COM2", "Close COM5", "Close COM7",  // power-off pass
                           "CloseEvent 5001", "Close COM5", "CloseEvent 5002", "Close COM7",
                           "CloseEvent 5003"}));
}

TEST_F(OpenDeviceTest, PortsAboveCom8AreScannedOnlyWhenCom1ToCom8HaveNoController) {
  // A controller on COM3 with another on COM12: the system's list is not even
  // asked for, and COM12 is never opened.
  Controller("COM3");
  Controller("COM12");
  bus.systemPorts = {"COM3", "COM12"};
  EXPECT_EQ(Chosen(Run()), "COM3");
  EXPECT_TRUE(bus.Entries("SystemPortNames").empty());
  EXPECT_TRUE(bus.Entries("Open COM12").empty());

  // No controller among COM1..COM8 (COM2 another device): the system's ports
  // above COM8 are scanned in ascending number, each once, with their own power
  // cycle; COM10 comes before COM12 although "COM12" sorts first as text.
  bus = FakeSerialBus();
  bus.Port("COM2").replies = {"MODEM OK 1234\r"};
  bus.Port("COM9");  // silent
  Controller("COM10");
  Controller("COM12");
  bus.systemPorts = {"COM12", "COM2", "com10", "COM9", "COM12", "COM257", "COM08", "LPT1"};
  std::string name;
  const PortHandle port = OpenDevice(bus, reporter, commands, nullptr, &name);
  EXPECT_EQ(Chosen(port), "COM10");
  EXPECT_EQ(name, "COM10");
  EXPECT_TRUE(reporter.messages.empty());
  ExpectOnlyOpen(port);
  EXPECT_EQ(bus.sent["COM10"], std::string("\rz\rvQ\r") + kStartupCommands);
  EXPECT_EQ(bus.sent["COM12"], "\rz\rvQ\r");
  EXPECT_EQ(bus.sent["COM2"], "\rz\rvQ\r");  // asked once, in the first scan
  Lines opens = bus.Entries("Open COM");
  opens.erase(opens.begin(), opens.begin() + 16);  // the first scan's two passes
  EXPECT_EQ(opens, (Lines{"Open COM9", "Open COM10", "Open COM12", "Open COM9", "Open COM10",
                          "Open COM12"}));
  // The second scan's waits: power off, power on, init, version.
  EXPECT_EQ(bus.Entries("Sleep").size(), 8u + 6u);
}

TEST_F(OpenDeviceTest, PortsAboveCom8ThatDoNotAnswerChangeNoMessage) {
  // COM1..COM8 held by other programs, COM12 silent: no controller, but a port
  // did open, so the busy-ports box is not shown.
  bus.Port("COM12");
  bus.systemPorts = {"COM12"};
  EXPECT_EQ(Run(), 0u);
  EXPECT_TRUE(reporter.messages.empty());
  ExpectOnlyOpen(0);
  // Nothing at all opens: the box, as without ports above COM8.
  bus = FakeSerialBus();
  bus.systemPorts = {"COM12", "COM20"};
  EXPECT_EQ(Run(), 0u);
  EXPECT_EQ(reporter.messages, (Lines{"All serial ports are being used!"}));
}

TEST_F(OpenDeviceTest, NoPortOpens) {
  const PortHandle port = Run();
  EXPECT_EQ(port, 0u);
  EXPECT_EQ(reporter.messages, (Lines{"All serial ports are being used!"}));
  EXPECT_EQ(bus.Entries("Open").size(), 16u);
  EXPECT_EQ(bus.Entries("Sleep"), (Lines{"Sleep 1000", "Sleep 1000", "Sleep 100", "Sleep 100"}));
  EXPECT_TRUE(bus.sent.empty());
}

TEST_F(OpenDeviceTest, PortsThatDoNotNameTheProductAreDroppedSilently) {
  const std::vector<std::string> replies = {
      "ASTROLAB",            // 8 bytes: too short even with the name
      "AIRCAP\r\r",          // 8 bytes
      "astrolab 3d v2.1\r",  // case matters
      "HELLO WORLD 1.0\r",
  };
  for (const std::string& reply : replies) {
    bus = FakeSerialBus();
    reporter.messages.clear();
    Controller("COM4", reply);
    bus.Port("COM6");  // opens, says nothing
    const PortHandle port = Run();
    EXPECT_EQ(port, 0u) << reply;
    EXPECT_TRUE(reporter.messages.empty()) << reply;
    ExpectOnlyOpen(port);
    EXPECT_EQ(bus.Entries("Sleep"), (Lines{"Sleep 1000", "Sleep 1000", "Sleep 100", "Sleep 100"}));
  }
}

TEST_F(OpenDeviceTest, ANineByteReplyWithAProductNameIsEnough) {
  Controller("COM4", "AIRCAP\r\r\r");
  EXPECT_EQ(Chosen(Run()), "COM4");
}

TEST_F(OpenDeviceTest, ZeroBytesInTheReplyDoNotEndTheSearch) {
  Controller("COM4", std::string("\0\0V2.1\0ASTROLAB\0\r", 17));
  EXPECT_EQ(Chosen(Run()), "COM4");
}

TEST_F(OpenDeviceTest, OnlyTheBytesReadAreSearched) {
  Controller("COM4", "V2.1 12345\r");
  bus.Port("COM4").staleTail = " ASTROLAB AIRCAP";
  EXPECT_EQ(Run(), 0u);
}

TEST_F(OpenDeviceTest, AFullReadIsFollowedByAnotherRead) {
  // The name arrives in the second read.
  bus.Port("COM2").replies = {std::string(256, '#'), "3D ASTROLAB\r"};
  EXPECT_EQ(Chosen(Run()), "COM2");
  EXPECT_EQ(bus.Entries("Poll"), (Lines{"Poll COM2 5001", "Poll COM2 5001"}));
}

TEST_F(OpenDeviceTest, AFullReadEndingInTheNameIsFound) {
  // 256 bytes with the name in the last ones: no room for a terminator.
  bus.Port("COM2").replies = {std::string(250, '#') + "AIRCAP"};
  bus.Port("COM2").staleTail = "junk";
  EXPECT_EQ(Chosen(Run()), "COM2");
  // The repeat finds the port silent and ends its detection.
  EXPECT_EQ(bus.Entries("Poll").size(), 2u);
}

TEST_F(OpenDeviceTest, ReadsShorterThanTheBufferAreNotRepeated) {
  bus.Port("COM2").replies = {std::string(255, '#'), "ASTROLAB 3D\r"};
  bus.Port("COM3").replies = {"AIRCAP 3D V1\r"};
  EXPECT_EQ(Chosen(Run()), "COM3");
  EXPECT_EQ(bus.Entries("Poll"), (Lines{"Poll COM2 5001", "Poll COM3 5002"}));
}

TEST_F(OpenDeviceTest, AReportedPortMustQualify) {
  Controller("COM3");
  bus.Port("COM3").props = GoodProperties();
  EXPECT_EQ(Chosen(Run()), "COM3");

  bus = FakeSerialBus();
  Controller("COM3");
  bus.Port("COM3").props = GoodProperties();
  bus.Port("COM3").props.settableStopParity = port_flags::kParityNone;  // no 2 stop bits
  EXPECT_EQ(Run(), 0u);
  // Closed in both passes without being configured; it did open, so no message.
  EXPECT_TRUE(bus.Entries("Apply").empty());
  EXPECT_EQ(bus.Entries("Close"), (Lines{"Close COM3", "Close COM3"}));
  EXPECT_TRUE(bus.sent.empty());
  EXPECT_TRUE(reporter.messages.empty());
  ExpectOnlyOpen(0);
}

TEST_F(OpenDeviceTest, RefusedPropertiesAreJudgedByTheReply) {
  Controller("COM3");
  bus.Port("COM3").propertiesRefused = true;
  EXPECT_EQ(Chosen(Run()), "COM3");
}

TEST_F(OpenDeviceTest, ARefusedPowerOffIsNotReported) {
  Controller("COM3");
  bus.Port("COM3").powerOffRefused = true;
  EXPECT_EQ(Chosen(Run()), "COM3");
  EXPECT_TRUE(reporter.messages.empty());
}

struct OpenPassFailure {
  std::function<void(FakeSerialBus&)> arrange;
  const char* message;
};

TEST_F(OpenDeviceTest, EveryOpenPassFailureIsReportedAndThePortDropped) {
  const std::vector<OpenPassFailure> failures = {
      {[](FakeSerialBus& b) { b.Port("COM3").powerOnRefused = true; },
       "COM3: Function failed SetCommState"},
      {[](FakeSerialBus& b) { b.Port("COM3").eventMaskRefused = true; },
       "COM3: Function failed SetCommMask"},
      {[](FakeSerialBus& b) { b.Port("COM3").timeoutsRefused = true; },
       "COM3: Function failed SetCommTimeouts"},
      {[](FakeSerialBus& b) { b.failingCreateEventCall = 1; }, "COM3: Function failed CreateEvent"},
  };
  for (const OpenPassFailure& failure : failures) {
    bus = FakeSerialBus();
    reporter.messages.clear();
    Controller("COM3");
    Controller("COM6");
    failure.arrange(bus);
    const PortHandle port = Run();
    EXPECT_EQ(Chosen(port), "COM6") << failure.message;
    EXPECT_EQ(reporter.messages, (Lines{failure.message}));
    EXPECT_EQ(bus.sent.count("COM3"), 0u) << failure.message;
    EXPECT_EQ(bus.Entries("Poll COM3").size(), 0u) << failure.message;
    ExpectOnlyOpen(port);
  }
}

TEST_F(OpenDeviceTest, AFailedInitStringDropsThePort) {
  Controller("COM3");
  Controller("COM6");
  bus.Port("COM3").transmitResults = {true, false, false};
  EXPECT_EQ(Chosen(Run()), "COM6");
  EXPECT_EQ(reporter.messages, (Lines{"COM3: Can\xB4t write the INIT STRING to the serial port"}));
  EXPECT_EQ(bus.sent["COM3"], "\r");  // no version string after the failure
  EXPECT_TRUE(bus.Entries("Poll COM3").empty());
  EXPECT_EQ(bus.openHandles, 1);
  EXPECT_EQ(bus.openEvents, 0);
}

TEST_F(OpenDeviceTest, AFailedVersionStringDropsThePort) {
  Controller("COM3");
  bus.Port("COM3").transmitResults = {true, true, true, false, false};
  EXPECT_EQ(Run(), 0u);
  EXPECT_EQ(reporter.messages,
            (Lines{"COM3: Can\xB4t write the VERSION STRING to the serial port"}));
  EXPECT_TRUE(bus.Entries("Poll").empty());
  ExpectOnlyOpen(0);
}

TEST_F(OpenDeviceTest, AGivenNameIsUsedForEverySlot) {
  Controller("COM9");
  const PortHandle port = Run("COM9");
  EXPECT_EQ(Chosen(port), "COM9");
  const Lines opens = bus.Entries("Open");
  EXPECT_EQ(opens, Lines(16, "Open COM9"));
  ExpectOnlyOpen(port);
}

}  // namespace
}  // namespace astro
