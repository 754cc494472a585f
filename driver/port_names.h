// The names of serial ports: which ports the driver looks at beside COM1..COM8,
// and how a name is opened.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace astro {

// The ports discovery always scans first, and the highest number looked at.
constexpr int kFirstScanPorts = 8;
constexpr int kHighestPortNumber = 256;

// n of "COMn" (any case, n from 1 to 256 without leading zeros); none for any
// other name.
std::optional<int> ComPortNumber(std::string_view name);

// "COMn".
std::string ComPortName(int number);

// The name to open: from COM10 on the system opens a port only by its device path
// "\\.\COMn"; lower numbers and other names are opened as they are.
std::string PortOpenName(const std::string& name);

// The ports above COM8 among the system's (its names of serial ports, in any
// order and case, repeated or not): "COMn", ascending, each once.
std::vector<std::string> PortsAboveFirstScan(const std::vector<std::string>& systemPorts);

// Every port but `own`: COM1..COM8 and the system's ports above them, ascending.
std::vector<std::string> OtherPorts(const std::string& own,
                                    const std::vector<std::string>& systemPorts);

}  // namespace astro
