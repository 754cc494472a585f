// Which names are serial ports, how they are opened, and in what order the
// driver asks them.
#include "driver/port_names.h"

#include <gtest/gtest.h>

namespace astro {
namespace {

using Names = std::vector<std::string>;

TEST(PortNamesTest, ComNamesFromOneTo256AndHowTheyOpen) {
  EXPECT_EQ(ComPortNumber("COM1"), 1);
  EXPECT_EQ(ComPortNumber("com12"), 12);
  EXPECT_EQ(ComPortNumber("Com256"), 256);
  for (const char* other : {"COM", "COM0", "COM257", "COM012", "COM1x", "LPT1", "\\\\.\\COM12",
                            "COM-1", "COM 1", "COM1000"}) {
    EXPECT_FALSE(ComPortNumber(other).has_value()) << other;
  }
  // From COM10 on only the device path opens.
  EXPECT_EQ(PortOpenName("COM1"), "COM1");
  EXPECT_EQ(PortOpenName("COM9"), "COM9");
  EXPECT_EQ(PortOpenName("COM10"), "\\\\.\\COM10");
  EXPECT_EQ(PortOpenName("com256"), "\\\\.\\COM256");
  EXPECT_EQ(PortOpenName("\\\\.\\COM12"), "\\\\.\\COM12");
}

TEST(PortNamesTest, PortsAboveCom8AscendingOnceAndTheOthersOfAPort) {
  const Names system = {"COM12", "COM3", "com10", "COM9", "COM12", "COM256", "COM257", "LPT1"};
  EXPECT_EQ(PortsAboveFirstScan(system), (Names{"COM9", "COM10", "COM12", "COM256"}));
  EXPECT_TRUE(PortsAboveFirstScan({"COM1", "COM8"}).empty());
  EXPECT_EQ(OtherPorts("COM3", system), (Names{"COM1", "COM2", "COM4", "COM5", "COM6", "COM7",
                                               "COM8", "COM9", "COM10", "COM12", "COM256"}));
  EXPECT_EQ(OtherPorts("COM12", {"COM12", "COM9"}),
            (Names{"COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7", "COM8", "COM9"}));
}

}  // namespace
}  // namespace astro
