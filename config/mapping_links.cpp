#include "config/mapping_links.h"

#include <cstring>

#include "config/mapping_store.h"
#include "config/program_list.h"

namespace astro {

std::vector<std::string> ReadProgramList(Registry& registry, const std::string& mapping) {
  if (mapping.empty()) return {};
  const auto key = registry.OpenKey(MappingKeyPath(mapping).c_str());
  if (!key) return {};
  // One byte more than the query may fill keeps a terminator behind a full value.
  char buffer[kProgramListBuffer + 1];
  std::memset(buffer, 0, sizeof buffer);
  if (!key->Query(kProgramsValueName, buffer, kProgramListBuffer, nullptr)) return {};
  return SplitProgramList(buffer);
}

void WriteProgramList(Registry& registry, const std::string& mapping,
                      const std::vector<std::string>& programs) {
  if (mapping.empty()) return;
  const auto key = registry.CreateKey(MappingKeyPath(mapping).c_str(), nullptr);
  if (!key) return;
  const std::string text = JoinProgramList(programs);
  if (text.empty()) {
    key->DeleteValue(kProgramsValueName);
  } else {
    key->Set(kProgramsValueName, ValueType::kString, text.data(),
             static_cast<std::uint32_t>(text.size()));
  }
}

std::vector<MappingLink> ReadMappingLinks(Registry& registry) {
  std::vector<std::string> names;
  {
    if (!registry.OpenKey(kSettingsKeyPath)) return {};
    // OpenKey's rights (0x20007) do not list subkeys; CreateKey's do, and the key
    // is there, so nothing is created.
    const auto settingsKey = registry.CreateKey(kSettingsKeyPath, nullptr);
    if (!settingsKey) return {};
    names = EnumerateMappingNames(*settingsKey);
  }
  std::vector<MappingLink> links;
  for (std::string& name : names) {
    std::vector<std::string> programs = ReadProgramList(registry, name);
    if (!programs.empty()) links.push_back({std::move(name), std::move(programs)});
  }
  return links;
}

const MappingLink* FindLink(const std::vector<MappingLink>& links, const std::string& program) {
  for (const MappingLink& link : links) {
    if (ListNamesProgram(link.programs, program)) return &link;
  }
  return nullptr;
}

std::vector<ProgramInForce> ProgramsOfMapping(Registry& registry, const std::string& mapping) {
  const std::vector<std::string> programs = ReadProgramList(registry, mapping);
  if (programs.empty()) return {};
  const std::vector<MappingLink> links = ReadMappingLinks(registry);
  std::vector<ProgramInForce> uses;
  for (const std::string& program : programs) {
    // None only for a mapping that the enumeration never reaches: in force nowhere.
    const MappingLink* link = FindLink(links, program);
    if (link != nullptr) {
      uses.push_back({program, link->mapping, SameMappingName(link->mapping, mapping)});
    }
  }
  return uses;
}

MappingInForce ChooseMappingInForce(Registry& registry, const ProgramInFront& program) {
  const std::vector<MappingLink> links = ReadMappingLinks(registry);
  if (!links.empty()) {
    if (const MappingLink* link = FindLink(links, program())) {
      return {MappingKeyPath(link->mapping), link->mapping};
    }
  }
  return {kSettingsKeyPath, std::string()};
}

std::string MappingInForceName(Registry& registry, const MappingInForce& inForce) {
  return inForce.linked.empty() ? GetCurrentMappingName(registry) : inForce.linked;
}

std::optional<KeyEventList> ReadSequenceInForce(Registry& registry, const ProgramInFront& program,
                                                int slot) {
  return ReadButtonEvents(registry, ChooseMappingInForce(registry, program).keyPath, slot);
}

}  // namespace astro
