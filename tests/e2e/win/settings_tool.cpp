// Runs the settings sequence of the end-to-end tests against the system's registry
// through the driver's WinRegistry, and prints its lines; the native test runs the
// same sequence against MemoryRegistry and compares. Start it with no settings key.
//   settings_tool.exe
// Exit code 0 once the sequence has run, 1 when the settings key existed at start.
#include <windows.h>

#include <cstdio>

#include "config/win/win_registry.h"
#include "tests/e2e/settings_sequence.h"

namespace {

// Every value of the settings key as the system stores it: name, type, bytes.
class WinValueLister : public e2e::SettingsValueLister {
 public:
  std::optional<std::vector<e2e::StoredValue>> ListSettingsValues() override {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, astro::kSettingsKeyPath, 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
      return std::nullopt;
    }
    std::vector<e2e::StoredValue> values;
    for (DWORD index = 0;; ++index) {
      char name[256];
      DWORD nameLength = sizeof name;
      BYTE data[1024];
      DWORD dataLength = sizeof data;
      DWORD type = 0;
      if (RegEnumValueA(key, index, name, &nameLength, nullptr, &type, data, &dataLength) !=
          ERROR_SUCCESS) {
        break;
      }
      values.push_back({std::string(name, nameLength), static_cast<std::uint32_t>(type),
                        std::string(reinterpret_cast<const char*>(data), dataLength)});
    }
    RegCloseKey(key);
    return values;
  }
};

}  // namespace

int main() {
  WinValueLister lister;
  if (lister.ListSettingsValues()) {
    std::fprintf(stderr, "the settings key exists already\n");
    return 1;
  }
  astro::WinRegistry registry;
  for (const std::string& line : e2e::RunSettingsSequence(registry, lister)) {
    std::printf("%s\n", line.c_str());
  }
  std::fflush(stdout);
  return 0;
}
