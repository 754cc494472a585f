// The command line by which the driver starts the 32-bit hook's program, and how
// the program reads it back.
#include "hook/host_protocol.h"

#include <gtest/gtest.h>

#include <string>

namespace astro {
namespace {

TEST(HostProtocolTest, ReadsTheTwoNumbersBehindTheProgramName) {
  HostArguments read;
  ASSERT_TRUE(ReadHostArguments("astrohook32.exe 1234 56", &read));
  EXPECT_EQ(read.driverProcessId, 1234u);
  EXPECT_EQ(read.readyEvent, 56u);
  // A quoted name with blanks, as the system may pass a program's path, and
  // blanks and tabs around the numbers.
  ASSERT_TRUE(ReadHostArguments("\"C:\\Program Files\\Astrolab\\astrohook32.exe\"\t 4294967295  0 ",
                                &read));
  EXPECT_EQ(read.driverProcessId, 4294967295u);
  EXPECT_EQ(read.readyEvent, 0u);
}

TEST(HostProtocolTest, RefusesAnythingButTwoDecimalNumbers) {
  HostArguments read;
  read.driverProcessId = 7;
  read.readyEvent = 8;
  for (const char* line :
       {"", "astrohook32.exe", "astrohook32.exe 1234", "astrohook32.exe 1234 56 78",
        "astrohook32.exe 12a4 56", "astrohook32.exe -1 56", "astrohook32.exe 0x10 56",
        "astrohook32.exe 1234 4294967296", "\"astrohook32.exe 1234 56",
        "astrohook32.exe 99999999999999999999 56"}) {
    EXPECT_FALSE(ReadHostArguments(line, &read)) << line;
  }
  // Nothing is changed by a refused line.
  EXPECT_EQ(read.driverProcessId, 7u);
  EXPECT_EQ(read.readyEvent, 8u);
}

TEST(HostProtocolTest, WritesNameAndNumbersWhenTheyFit) {
  HostArguments arguments;
  arguments.driverProcessId = 4294967295u;
  arguments.readyEvent = 0;
  const std::string expected = "astrohook32.exe 4294967295 0";
  char buffer[64];
  ASSERT_TRUE(WriteHostCommandLine("astrohook32.exe", arguments, buffer, sizeof buffer));
  EXPECT_EQ(std::string(buffer), expected);
  // Exactly enough room, with the terminating zero; one byte less is refused.
  char exact[29];
  static_assert(sizeof exact == 28 + 1, "the expected line has 28 characters");
  EXPECT_TRUE(WriteHostCommandLine("astrohook32.exe", arguments, exact, sizeof exact));
  EXPECT_EQ(std::string(exact), expected);
  EXPECT_FALSE(WriteHostCommandLine("astrohook32.exe", arguments, exact, sizeof exact - 1));
  EXPECT_FALSE(WriteHostCommandLine("astrohook32.exe", arguments, exact, 0));
}

}  // namespace
}  // namespace astro
