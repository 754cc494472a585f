#include "config/mapping_store.h"

#include <cstring>

#include "config/case_folding.h"
#include "config/stored_events.h"

namespace astro {
namespace {

std::string SlotValueName(int slot) {
  return "Button" + std::to_string(slot);
}

// Moves every slot of one mapping into another: assigned slots are written,
// unassigned ones deleted.
void CopySlots(Registry& registry, const std::string& fromPath, const std::string& toPath) {
  for (int slot = 1; slot <= kButtonSlots; ++slot) {
    const std::optional<KeyEventList> list = ReadButtonEvents(registry, fromPath, slot);
    if (list) {
      WriteButtonEvents(registry, toPath, slot, list->data());
    } else {
      DeleteButtonEvents(registry, toPath, slot);
    }
  }
}

}  // namespace

bool SameMappingName(const std::string& a, const std::string& b) {
  return SameNameIgnoringCase(a, b);
}

bool IsGenericMapping(const std::string& name) {
  return SameMappingName(name, kGenericMappingName);
}

bool MappingNameStorable(const std::string& name) {
  if (name.empty() || name.size() > kMaxMappingNameLength) return false;
  for (char c : name) {
    if (c == '\\' || static_cast<unsigned char>(c) < 0x20) return false;
  }
  return true;
}

std::string MappingKeyPath(const std::string& name) {
  if (name.empty()) return kSettingsKeyPath;
  return std::string(kSettingsKeyPath) + "\\" + name;
}

std::optional<KeyEventList> ReadButtonEvents(Registry& registry, const std::string& keyPath,
                                             int slot) {
  const auto key = registry.OpenKey(keyPath.c_str());
  if (!key) return std::nullopt;
  std::uint8_t buffer[kMaxButtonValueBytes];
  std::memset(buffer, 0, sizeof buffer);
  std::uint32_t length = 0;
  if (!key->Query(SlotValueName(slot).c_str(), buffer, sizeof buffer, &length)) {
    return std::nullopt;
  }
  // The zeroed rest of the buffer would end the list anyway; limiting the walk to
  // the stored length also drops an entry that the value cuts short.
  return DecodeStoredEvents(buffer, length < sizeof buffer ? length : sizeof buffer);
}

void WriteButtonEvents(Registry& registry, const std::string& keyPath, int slot,
                       const KeyEvent* list) {
  if (CountKeyEvents(list) == 0) return;
  const auto key = registry.CreateKey(keyPath.c_str(), nullptr);
  if (!key) return;
  const std::vector<std::uint8_t> bytes = EncodeStoredEvents(list);
  key->Set(SlotValueName(slot).c_str(), ValueType::kBinary, bytes.data(),
           static_cast<std::uint32_t>(bytes.size()));
}

void DeleteButtonEvents(Registry& registry, const std::string& keyPath, int slot) {
  const auto key = registry.CreateKey(keyPath.c_str(), nullptr);
  if (key) key->DeleteValue(SlotValueName(slot).c_str());
}

std::string GetCurrentMappingName(Registry& registry) {
  const auto key = registry.OpenKey(kSettingsKeyPath);
  if (!key) return std::string();
  // One byte more than the query may fill keeps a terminator behind a value of
  // the full size; the stored text carries none of its own.
  char buffer[kMappingNameBuffer + 1];
  std::memset(buffer, 0, sizeof buffer);
  if (!key->Query("Name", buffer, kMappingNameBuffer, nullptr)) return std::string();
  return std::string(buffer);
}

void SetCurrentMappingName(Registry& registry, const std::string& name) {
  const auto key = registry.CreateKey(kSettingsKeyPath, nullptr);
  if (!key) return;
  key->Set("Name", ValueType::kString, name.data(), static_cast<std::uint32_t>(name.size()));
}

void StoreWorkingSet(Registry& registry, const std::string& name, std::int32_t& mappingModified) {
  const std::string path = MappingKeyPath(name);
  // The mapping exists afterwards even when no slot had anything to copy.
  registry.CreateKey(path.c_str(), nullptr);
  CopySlots(registry, kSettingsKeyPath, path);
  mappingModified = 0;
}

void LoadMapping(Registry& registry, const std::string& name) {
  CopySlots(registry, MappingKeyPath(name), kSettingsKeyPath);
  SetCurrentMappingName(registry, name);
}

void ClearMapping(Registry& registry, const std::string& name, bool deleteKey) {
  const std::string path = MappingKeyPath(name);
  {
    const auto key = registry.CreateKey(path.c_str(), nullptr);
    if (key) {
      for (int slot = 1; slot <= kButtonSlots; ++slot) {
        key->DeleteValue(SlotValueName(slot).c_str());
      }
    }
  }  // closed before the key itself goes
  // Deleting the settings key would take every setting with it.
  if (deleteKey && !name.empty()) registry.DeleteKey(path.c_str());
}

std::vector<std::string> EnumerateMappingNames(RegistryKey& settingsKey) {
  std::vector<std::string> names;
  char name[kMappingListNameBuffer];
  for (std::uint32_t index = 0;; ++index) {
    std::memset(name, 0, sizeof name);
    if (!settingsKey.EnumerateSubkey(index, name, sizeof name) || name[0] == '\0') break;
    names.emplace_back(name);
  }
  return names;
}

MappingList FillMappingList(Registry& registry) {
  MappingList list;
  {
    const auto key = registry.CreateKey(kSettingsKeyPath, nullptr);
    if (!key) return list;
    list.names = EnumerateMappingNames(*key);
  }
  if (list.names.empty()) return list;
  list.selected = 0;
  const std::string current = GetCurrentMappingName(registry);
  if (current.empty()) return list;
  for (std::size_t i = 0; i < list.names.size(); ++i) {
    if (SameMappingName(list.names[i], current)) {
      list.selected = static_cast<int>(i);
      LoadMapping(registry, list.names[i]);
      list.loaded = true;
      break;
    }
  }
  return list;
}

void WriteDefaultMapping(Registry& registry, const std::string& keyPath,
                         const std::array<std::vector<std::uint8_t>, kButtonSlots>& slots) {
  bool created = false;
  const auto key = registry.CreateKey(keyPath.c_str(), &created);
  if (!key || !created) return;
  for (int slot = 1; slot <= kButtonSlots; ++slot) {
    const std::vector<std::uint8_t>& bytes = slots[static_cast<std::size_t>(slot - 1)];
    if (bytes.empty()) {
      key->DeleteValue(SlotValueName(slot).c_str());
    } else {
      key->Set(SlotValueName(slot).c_str(), ValueType::kBinary, bytes.data(),
               static_cast<std::uint32_t>(bytes.size()));
    }
  }
}

void InstallDefaultMappings(Registry& registry) {
  for (const FactoryMapping& mapping : FactoryMappings()) {
    WriteDefaultMapping(registry, MappingKeyPath(mapping.name), mapping.slots);
  }
}

}  // namespace astro
