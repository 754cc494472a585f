// One fixed sequence of settings loads, saves and raw registry operations, run
// once against the system's registry under Wine (tests/e2e/win/settings_tool.cpp)
// and once against MemoryRegistry: both must write and read the same bytes. Its
// output is lines of text, one per stored value or record, so that the two runs
// compare line by line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "config/registry.h"

namespace e2e {

// The system's type codes of the two value types.
constexpr std::uint32_t kTypeText = 1;    // REG_SZ
constexpr std::uint32_t kTypeBinary = 3;  // REG_BINARY

struct StoredValue {
  std::string name;
  std::uint32_t type = 0;
  std::string bytes;
};

// Lists every value of the settings key (kSettingsKeyPath), in any order; nothing
// when the key does not exist.
class SettingsValueLister {
 public:
  virtual ~SettingsValueLister() = default;
  virtual std::optional<std::vector<StoredValue>> ListSettingsValues() = 0;
};

// Runs the sequence on a registry without the settings key and returns its lines:
//   "STEP <name>"
//   "VALUE <name> <type> <length> <hex>" for every value, sorted by name
//   "NO KEY" when the settings key is missing
//   "RECORD <field> <value>" for the settings record after a load
//   "RAW <operation> ..." for the raw registry operations
// The settings key is left holding the values of a default record saved in full.
std::vector<std::string> RunSettingsSequence(astro::Registry& registry,
                                             SettingsValueLister& lister);

// "VALUE ..." lines of values, sorted by name without regard to case.
std::vector<std::string> ValueLines(std::vector<StoredValue> values);

// Two lower-case hex digits per byte.
std::string Hex(const std::string& bytes);

}  // namespace e2e
