// Named mappings linked to programs. A named mapping's key may hold the text
// value "Programs" (REG_SZ, see program_list.h). While a program named there is
// in front, the buttons play that mapping's slots instead of the active
// mapping's; a program named by two mappings belongs to the first in the order
// of FillMappingList's enumeration. Without a "Programs" value anywhere the
// active mapping is in force, as if links did not exist.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "config/key_event.h"
#include "config/registry.h"

namespace astro {

constexpr char kProgramsValueName[] = "Programs";
// "Programs" is read into a buffer of this size: a longer value counts as
// missing. The mapping dialog keeps the list shorter (kMaxProgramListLength).
constexpr std::uint32_t kProgramListBuffer = 1024;
constexpr std::size_t kMaxProgramListLength = kProgramListBuffer - 1;

// The entries of the named mapping's "Programs" (SplitProgramList); none when
// the key or value is missing. The text ends at its first zero byte, so a value
// stored with its terminator reads the same as one without.
std::vector<std::string> ReadProgramList(Registry& registry, const std::string& mapping);

// Stores the list of the named mapping in its stored form (JoinProgramList,
// REG_SZ without terminator), creating the key; an empty list deletes the value,
// so that the mapping is linked to nothing. The active mapping (empty name) has
// no list: nothing is written.
void WriteProgramList(Registry& registry, const std::string& mapping,
                      const std::vector<std::string>& programs);

struct MappingLink {
  std::string mapping;                // the subkey's name as enumerated
  std::vector<std::string> programs;  // not empty
};

// Every named mapping with at least one entry in "Programs", in the order of
// FillMappingList's enumeration (EnumerateMappingNames). Only reads: a missing
// settings key gives no link and stays missing.
std::vector<MappingLink> ReadMappingLinks(Registry& registry);

// The first link that names the program; null for none or the empty name.
const MappingLink* FindLink(const std::vector<MappingLink>& links, const std::string& program);

// A program of a named mapping's list and the mapping in force while it is in
// front: the first mapping linked to it, which may come before the listing one.
struct ProgramInForce {
  std::string program;  // as the list spells it
  std::string mapping;  // the mapping in force there, as enumerated
  bool listingMapping;  // the mapping in force is the one whose list names it
};

// The programs of the named mapping's stored list, each with the mapping in force
// there; none for a mapping linked to nothing, or one the enumeration of the
// mapping list never reaches (in force nowhere).
std::vector<ProgramInForce> ProgramsOfMapping(Registry& registry, const std::string& mapping);

// The file name of the program in front (the one the keys would go to); empty
// when it cannot be told.
using ProgramInFront = std::function<std::string()>;

// The mapping whose slots the buttons play and show.
struct MappingInForce {
  std::string keyPath;  // the settings key (the active mapping) or the linked mapping's key
  std::string linked;   // the linked mapping's name; empty for the active mapping
};

// The linked mapping of the program in front, else the active mapping. The
// program is asked only when some mapping is linked.
MappingInForce ChooseMappingInForce(Registry& registry, const ProgramInFront& program);

// The name a window shows for the mapping in force: the linked mapping's, or
// "Name" of the settings key (GetCurrentMappingName) for the active mapping.
std::string MappingInForceName(Registry& registry, const MappingInForce& inForce);

// The key sequence that button slot 1..12 plays with the program in front:
// ReadButtonEvents of the mapping in force. A linked mapping without the slot
// gives none, even when the active mapping has it.
std::optional<KeyEventList> ReadSequenceInForce(Registry& registry, const ProgramInFront& program,
                                                int slot);

}  // namespace astro
