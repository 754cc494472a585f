#include "driver/port_names.h"

#include <algorithm>
#include <cctype>
#include <set>

namespace astro {

std::optional<int> ComPortNumber(std::string_view name) {
  if (name.size() < 4 || name.size() > 6) return std::nullopt;
  for (std::size_t i = 0; i < 3; ++i) {
    if (std::toupper(static_cast<unsigned char>(name[i])) != "COM"[i]) return std::nullopt;
  }
  if (name[3] == '0') return std::nullopt;
  int number = 0;
  for (std::size_t i = 3; i < name.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(name[i]))) return std::nullopt;
    number = number * 10 + (name[i] - '0');
  }
  if (number > kHighestPortNumber) return std::nullopt;
  return number;
}

std::string ComPortName(int number) {
  return "COM" + std::to_string(number);
}

std::string PortOpenName(const std::string& name) {
  const std::optional<int> number = ComPortNumber(name);
  if (!number || *number < 10) return name;
  return "\\\\.\\" + ComPortName(*number);
}

std::vector<std::string> PortsAboveFirstScan(const std::vector<std::string>& systemPorts) {
  std::set<int> numbers;
  for (const std::string& name : systemPorts) {
    const std::optional<int> number = ComPortNumber(name);
    if (number && *number > kFirstScanPorts) numbers.insert(*number);
  }
  std::vector<std::string> names;
  for (int number : numbers) names.push_back(ComPortName(number));
  return names;
}

std::vector<std::string> OtherPorts(const std::string& own,
                                    const std::vector<std::string>& systemPorts) {
  const std::optional<int> ownNumber = ComPortNumber(own);
  std::vector<std::string> names;
  for (int number = 1; number <= kFirstScanPorts; ++number) {
    if (number != ownNumber) names.push_back(ComPortName(number));
  }
  for (const std::string& name : PortsAboveFirstScan(systemPorts)) {
    if (ComPortNumber(name) != ownNumber) names.push_back(name);
  }
  return names;
}

}  // namespace astro
