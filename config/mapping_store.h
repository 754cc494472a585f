// Keyboard mappings in the registry. The active mapping is the settings key
// itself; a named mapping is a subkey of it. Each holds the binary values
// "Button1" to "Button12", a button's key event list in the stored form (see
// stored_events.h); a slot without a value is unassigned. "Name" in the settings
// key names the mapping last loaded into the active one. Failures are silent: a
// key that cannot be opened or created leaves the slot unassigned or unwritten.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "config/factory_mappings.h"
#include "config/key_event.h"
#include "config/registry.h"

namespace astro {

// A stored value longer than this reads as unassigned: at most 511 events and
// the end entry, or 512 events without one.
constexpr std::uint32_t kMaxButtonValueBytes = 2048;
// "Name" is read into a buffer of this size (see GetCurrentMappingName).
constexpr std::uint32_t kMappingNameBuffer = 128;
// Subkeys are enumerated with a name buffer of this size, terminator included.
constexpr std::uint32_t kMappingListNameBuffer = 64;

// The generic mapping: it always exists and can be neither saved into nor deleted.
constexpr char kGenericMappingName[] = "Empty";
// The longest name a mapping may have: a longer one would end the enumeration of
// FillMappingList (see kMappingListNameBuffer).
constexpr std::size_t kMaxMappingNameLength = kMappingListNameBuffer - 1;

// Whether two mapping names are the same key name: the registry compares names
// without regard to case, also for the accented letters of Windows-1252.
bool SameMappingName(const std::string& a, const std::string& b);
bool IsGenericMapping(const std::string& name);

// Whether name can be one mapping's key: 1 to kMaxMappingNameLength characters,
// no backslash (it would make nested keys) and no control character.
bool MappingNameStorable(const std::string& name);

// The key of the mapping name: the settings key, a backslash and the name; the
// settings key itself (the active mapping) for the empty name.
std::string MappingKeyPath(const std::string& name);

// "Button<slot>" of keyPath as a list ending with its end record. None when the
// key cannot be opened, the value is missing or longer than kMaxButtonValueBytes.
// A value whose first entry is the end entry gives an empty list. Only whole
// 4-byte entries count: a value cut inside an entry ends before that entry.
std::optional<KeyEventList> ReadButtonEvents(Registry& registry, const std::string& keyPath,
                                             int slot);

// Stores the list as "Button<slot>" (REG_BINARY), creating the key. An empty or
// missing list writes nothing and leaves an existing value as it is.
void WriteButtonEvents(Registry& registry, const std::string& keyPath, int slot,
                       const KeyEvent* list);

// Removes "Button<slot>" (creating the key if it is missing).
void DeleteButtonEvents(Registry& registry, const std::string& keyPath, int slot);

// "Name" of the settings key; empty when the key or value is missing. The text
// ends at its first zero byte, so a name stored with its terminator reads the
// same as one stored without. A value of up to kMappingNameBuffer bytes reads
// whole; a longer one counts as missing (no mapping has such a name).
std::string GetCurrentMappingName(Registry& registry);

// Writes "Name" (REG_SZ, the characters without a terminator), creating the key.
void SetCurrentMappingName(Registry& registry, const std::string& name);

// Copies the active mapping into the mapping name, slot by slot: an assigned slot
// is written there, an unassigned one deleted there (a slot holding an empty list
// writes nothing, as WriteButtonEvents does). Clears mappingModified.
void StoreWorkingSet(Registry& registry, const std::string& name, std::int32_t& mappingModified);

// Copies the mapping name into the active mapping the same way, then makes it the
// current mapping name.
void LoadMapping(Registry& registry, const std::string& name);

// Deletes "Button1" to "Button12" of the mapping name (of the active mapping for
// the empty name), then its key when deleteKey is set. The settings key itself is
// never deleted: deleteKey is ignored for the empty name.
void ClearMapping(Registry& registry, const std::string& name, bool deleteKey);

// The names of the mapping subkeys, in the registry's order, and which of them to
// show selected.
struct MappingList {
  std::vector<std::string> names;
  int selected = -1;    // -1 when names is empty
  bool loaded = false;  // the selected mapping was loaded into the active one
};

// The names of the subkeys of the settings key (open), in the registry's order
// from index 0, stopping at the first that cannot be read: a name of 64
// characters or more ends the list.
std::vector<std::string> EnumerateMappingNames(RegistryKey& settingsKey);

// Creates or opens the settings key and lists its subkeys (EnumerateMappingNames).
// The current mapping name is looked up as an exact match without regard to case
// (SameMappingName): when found, that entry is selected and loaded (LoadMapping,
// with the spelling of the list); otherwise, or with an empty current name, the
// first entry is selected and nothing is loaded.
MappingList FillMappingList(Registry& registry);

// Creates keyPath; only if it is new writes each non-empty slot with exactly its
// bytes (REG_BINARY) and deletes the others. An existing key, even one the user
// emptied, is left as it is.
void WriteDefaultMapping(Registry& registry, const std::string& keyPath,
                         const std::array<std::vector<std::uint8_t>, kButtonSlots>& slots);

// WriteDefaultMapping for each factory mapping, in FactoryMappings() order: a
// factory mapping that was deleted comes back with its factory contents.
void InstallDefaultMappings(Registry& registry);

}  // namespace astro
