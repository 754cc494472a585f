#include "config/win/win_registry.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace astro {
namespace {

// Read, query value, set value and create subkey.
constexpr REGSAM kOpenAccess = 0x20007;

class WinRegistryKey : public RegistryKey {
 public:
  explicit WinRegistryKey(HKEY key) : key_(key) {}
  ~WinRegistryKey() override { RegCloseKey(key_); }
  WinRegistryKey(const WinRegistryKey&) = delete;
  WinRegistryKey& operator=(const WinRegistryKey&) = delete;

  bool Query(const char* name, void* buffer, std::uint32_t size, std::uint32_t* length) override {
    DWORD count = size;
    const LONG result =
        RegQueryValueExA(key_, name, nullptr, nullptr, static_cast<BYTE*>(buffer), &count);
    // On success, and when the buffer is too small, count is the stored length.
    if (length != nullptr && (result == ERROR_SUCCESS || result == ERROR_MORE_DATA)) {
      *length = count;
    }
    return result == ERROR_SUCCESS;
  }

  bool Set(const char* name, ValueType type, const void* data, std::uint32_t length) override {
    // RegSetValueExA counts a terminator the caller left out: a text whose last
    // byte is not zero and whose next byte is zero is stored one byte longer. The
    // bytes go through a copy whose byte behind the data is not zero, so exactly
    // length bytes are stored, and the system reads nothing beyond the caller's data.
    std::vector<BYTE> bytes(static_cast<std::size_t>(length) + 1, 0xFF);
    if (length > 0) std::memcpy(bytes.data(), data, length);
    const DWORD kind = type == ValueType::kString ? REG_SZ : REG_BINARY;
    return RegSetValueExA(key_, name, 0, kind, bytes.data(), length) == ERROR_SUCCESS;
  }

  bool DeleteValue(const char* name) override {
    return RegDeleteValueA(key_, name) == ERROR_SUCCESS;
  }

  bool EnumerateSubkey(std::uint32_t index, char* name, std::uint32_t size) override {
    if (size == 0) return false;
    DWORD count = size;
    const LONG result =
        RegEnumKeyExA(key_, index, name, &count, nullptr, nullptr, nullptr, nullptr);
    if (result != ERROR_SUCCESS) name[0] = '\0';
    return result == ERROR_SUCCESS;
  }

 private:
  HKEY key_;
};

}  // namespace

std::unique_ptr<RegistryKey> WinRegistry::OpenKey(const char* path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, kOpenAccess, &key) != ERROR_SUCCESS) {
    return nullptr;
  }
  return std::make_unique<WinRegistryKey>(key);
}

std::unique_ptr<RegistryKey> WinRegistry::CreateKey(const char* path, bool* created) {
  if (created != nullptr) *created = false;
  HKEY key = nullptr;
  DWORD disposition = 0;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                      nullptr, &key, &disposition) != ERROR_SUCCESS) {
    return nullptr;
  }
  if (created != nullptr) *created = disposition == REG_CREATED_NEW_KEY;
  return std::make_unique<WinRegistryKey>(key);
}

bool WinRegistry::DeleteKey(const char* path) {
  // The empty path names the current user's root, which is never deleted.
  if (path == nullptr || path[0] == '\0') return false;
  // Only a key without subkeys goes; the system's own rule differs between versions.
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  DWORD subkeys = 0;
  const LONG info = RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                                     nullptr, nullptr, nullptr, nullptr, nullptr);
  RegCloseKey(key);
  if (info != ERROR_SUCCESS || subkeys != 0) return false;
  return RegDeleteKeyA(HKEY_CURRENT_USER, path) == ERROR_SUCCESS;
}

}  // namespace astro
