// The registry as the settings and mapping stores see it: keys below the current
// user, values of text or binary type. The Windows layer implements it with the
// Win32 registry (RegOpenKeyExA, RegCreateKeyExA, RegQueryValueExA,
// RegSetValueExA, ...); MemoryRegistry keeps the same byte-level rules in memory
// for the unit tests. Key and value names compare without regard to case, as the
// system's do.
#pragma once

#include <cstdint>
#include <memory>

namespace astro {

// REG_SZ and REG_BINARY.
enum class ValueType { kString, kBinary };

// One open key. Closing is the destructor.
class RegistryKey {
 public:
  virtual ~RegistryKey() = default;
  // Copies the value's bytes into buffer, exactly as stored: a text carries a
  // terminator only if one was stored. Fails (false) when the value is missing or
  // longer than size; then nothing is guaranteed about buffer (callers zero it
  // before the query and ignore it after a failure). length, when given, gets the
  // number of bytes stored.
  virtual bool Query(const char* name, void* buffer, std::uint32_t size, std::uint32_t* length) = 0;
  // Stores exactly length bytes under name, replacing any value of that name; a
  // text is stored without a terminator unless the caller counts one.
  virtual bool Set(const char* name, ValueType type, const void* data, std::uint32_t length) = 0;
  // Removes a value; false when it is missing.
  virtual bool DeleteValue(const char* name) = 0;
  // Name of the subkey at position index (0, 1, ...) in the system's order,
  // terminated, in name (size bytes). False when there is no such subkey or its
  // name needs more than size - 1 characters; name is then the empty text.
  virtual bool EnumerateSubkey(std::uint32_t index, char* name, std::uint32_t size) = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;
  // Opens an existing key below the current user with the rights to read, query
  // and set values and create subkeys (access mask 0x20007); null when it does not
  // exist. path is relative to the current user, parts separated by backslashes.
  virtual std::unique_ptr<RegistryKey> OpenKey(const char* path) = 0;
  // Creates (with any missing parents) or opens a key with full access,
  // non-volatile, default security; null on failure. created, when given, tells
  // whether the key was new.
  virtual std::unique_ptr<RegistryKey> CreateKey(const char* path, bool* created) = 0;
  // Deletes a key that has no subkeys, with its values; false when it is missing
  // or has subkeys.
  virtual bool DeleteKey(const char* path) = 0;
};

// The key of the driver's settings and keyboard mappings below the current user.
constexpr const char* kSettingsKeyPath = "Software\\Brightfold\\Dimensa\\Astrolab";

}  // namespace astro
