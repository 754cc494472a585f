// The registry of the settings and mapping stores on the Win32 registry, below
// HKEY_CURRENT_USER. Values keep exactly the bytes given, as MemoryRegistry does.
#pragma once

#include <memory>

#include "config/registry.h"

namespace astro {

class WinRegistry : public Registry {
 public:
  std::unique_ptr<RegistryKey> OpenKey(const char* path) override;
  std::unique_ptr<RegistryKey> CreateKey(const char* path, bool* created) override;
  bool DeleteKey(const char* path) override;
};

}  // namespace astro
