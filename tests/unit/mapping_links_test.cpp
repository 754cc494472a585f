// Named mappings linked to programs over the in-memory registry: the "Programs"
// value read and written, which mapping is in force for a program, and that
// nothing changes while no mapping is linked.
#include "config/mapping_links.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/memory_registry.h"

namespace astro {
namespace {

using Names = std::vector<std::string>;

const std::string kActive = "Software\\Brightfold\\Dimensa\\Astrolab";

std::string Named(const std::string& name) {
  return kActive + "\\" + name;
}

// Enter down and up; "A" with the left Shift.
const std::string kEnter("\x01\x1C\x0D\x00\x02\x1C\x0D\x00\x00\x00\x00\x00", 12);
const std::string kCapitalA(
    "\x01\x2A\x10\x00\x01\x1E\x41\x00\x02\x1E\x41\x00\x02\x2A\x10\x00\x00\x00\x00\x00", 20);

// The virtual keys of a list's events, in order.
std::vector<std::uint32_t> Keys(const std::optional<KeyEventList>& list) {
  std::vector<std::uint32_t> keys;
  if (!list) return keys;
  for (std::size_t i = 0; i < list->size() && (*list)[i].message != 0; ++i) {
    keys.push_back((*list)[i].virtualKey);
  }
  return keys;
}

class MappingLinksTest : public ::testing::Test {
 protected:
  void PutSlot(const std::string& path, int slot, const std::string& bytes) {
    registry.Put(path, "Button" + std::to_string(slot), bytes, ValueType::kBinary);
  }
  void Link(const std::string& mapping, const std::string& programs) {
    registry.Put(Named(mapping), "Programs", programs);
  }
  // The program in front, counting how often it is asked.
  ProgramInFront InFront(const std::string& program) {
    return [this, program] {
      ++asked;
      return program;
    };
  }

  MemoryRegistry registry;
  int asked = 0;
};

TEST_F(MappingLinksTest, TheListIsReadAsTypedAndWrittenInItsStoredForm) {
  Link("Alpha", " proe.exe ; XTOP.exe;;");
  EXPECT_EQ(ReadProgramList(registry, "alpha"), (Names{"proe.exe", "XTOP.exe"}));
  Link("Beta", std::string("notepad.exe\0", 12));  // stored with its terminator
  EXPECT_EQ(ReadProgramList(registry, "Beta"), (Names{"notepad.exe"}));
  // 1024 bytes read whole, 1025 count as missing.
  Link("Gamma", std::string(1020, 'g') + ".exe");
  EXPECT_EQ(ReadProgramList(registry, "Gamma"), (Names{std::string(1020, 'g') + ".exe"}));
  Link("Gamma", std::string(1021, 'g') + ".exe");
  EXPECT_EQ(ReadProgramList(registry, "Gamma"), Names{});
  EXPECT_EQ(ReadProgramList(registry, "Missing"), Names{});

  WriteProgramList(registry, "New", {"Proe.exe", "xtop.exe", "PROE.EXE"});
  EXPECT_EQ(registry.Bytes(Named("New"), "Programs"), "Proe.exe;xtop.exe");
  EXPECT_EQ(registry.TypeOf(Named("New"), "Programs"), ValueType::kString);
  WriteProgramList(registry, "New", {});
  EXPECT_TRUE(registry.HasKey(Named("New")));
  EXPECT_FALSE(registry.Bytes(Named("New"), "Programs").has_value());
  // The active mapping has no list of its own.
  registry.ClearRecords();
  WriteProgramList(registry, "", {"notepad.exe"});
  EXPECT_EQ(registry.WriteCount(), 0);
  EXPECT_FALSE(registry.Bytes(kActive, "Programs").has_value());
}

TEST_F(MappingLinksTest, AProgramBelongsToTheFirstLinkedMappingInEnumerationOrder) {
  registry.Put(kActive, "Name", "Gamma");
  Link("Alpha", "notepad.exe");
  Link("Beta", "NOTEPAD.EXE;calc.exe");
  Link("Empty", " xtop.exe ");
  registry.PutKey(Named("Gamma"));
  Link("Delta", ";;");  // linked to nothing
  Link(std::string(63, 'M'), "long.exe");
  Link(std::string(64, 'N'), "hidden.exe");  // ends the enumeration, as in the mapping list
  Link("Zed", "zed.exe");

  const std::vector<MappingLink> links = ReadMappingLinks(registry);
  ASSERT_EQ(links.size(), 4u);
  EXPECT_EQ(links[0].mapping, "Alpha");
  EXPECT_EQ(links[1].programs, (Names{"NOTEPAD.EXE", "calc.exe"}));
  EXPECT_EQ(links[2].mapping, "Empty");
  EXPECT_EQ(links[3].mapping, std::string(63, 'M'));

  const struct {
    const char* program;
    std::string keyPath;
    std::string name;  // shown in the button window's title
  } cases[] = {
      {"Notepad.exe", Named("Alpha"), "Alpha"},
      {"CALC.EXE", Named("Beta"), "Beta"},
      {"xtop.exe", Named("Empty"), "Empty"},
      {"long.exe", Named(std::string(63, 'M')), std::string(63, 'M')},
      {"hidden.exe", kActive, "Gamma"},
      {"zed.exe", kActive, "Gamma"},
      {"other.exe", kActive, "Gamma"},
      {"", kActive, "Gamma"},  // a program that cannot be asked
  };
  for (const auto& c : cases) {
    const MappingInForce inForce = ChooseMappingInForce(registry, InFront(c.program));
    EXPECT_EQ(inForce.keyPath, c.keyPath) << c.program;
    EXPECT_EQ(MappingInForceName(registry, inForce), c.name) << c.program;
  }

  // What the mapping dialog tells of a mapping's programs: Beta lists notepad,
  // which Alpha takes first, and calc, which is Beta's own.
  const std::vector<ProgramInForce> beta = ProgramsOfMapping(registry, "beta");
  ASSERT_EQ(beta.size(), 2u);
  EXPECT_EQ(beta[0].program, "NOTEPAD.EXE");
  EXPECT_EQ(beta[0].mapping, "Alpha");
  EXPECT_FALSE(beta[0].listingMapping);
  EXPECT_EQ(beta[1].program, "calc.exe");
  EXPECT_EQ(beta[1].mapping, "Beta");
  EXPECT_TRUE(beta[1].listingMapping);
  EXPECT_TRUE(ProgramsOfMapping(registry, "Gamma").empty());
  EXPECT_TRUE(ProgramsOfMapping(registry, std::string(64, 'N')).empty());
}

TEST_F(MappingLinksTest, ButtonsPlayTheSlotOfTheMappingInForce) {
  PutSlot(kActive, 1, kCapitalA);
  PutSlot(kActive, 2, kCapitalA);
  PutSlot(Named("Alpha"), 1, kEnter);
  Link("Alpha", "notepad.exe");
  registry.PutKey(Named("Empty"));
  Link("Empty", "calc.exe");

  EXPECT_EQ(Keys(ReadSequenceInForce(registry, InFront("notepad.exe"), 1)),
            (std::vector<std::uint32_t>{0x0D, 0x0D}));
  // A slot the linked mapping lacks is no sequence, whatever the active one holds.
  EXPECT_FALSE(ReadSequenceInForce(registry, InFront("notepad.exe"), 2).has_value());
  EXPECT_FALSE(ReadSequenceInForce(registry, InFront("calc.exe"), 1).has_value());
  EXPECT_EQ(Keys(ReadSequenceInForce(registry, InFront("other.exe"), 1)),
            (std::vector<std::uint32_t>{0x10, 0x41, 0x41, 0x10}));
}

TEST_F(MappingLinksTest, WithoutALinkTheActiveMappingIsReadAndNothingElseHappens) {
  PutSlot(kActive, 3, kEnter);
  PutSlot(Named("Alpha"), 3, kCapitalA);
  registry.Put(Named("Beta"), "Programs", "");       // an empty list links nothing
  registry.Put(kActive, "Programs", "notepad.exe");  // the active mapping cannot be linked
  registry.Put(kActive, "Name", "Alpha");
  registry.ClearRecords();

  EXPECT_EQ(Keys(ReadSequenceInForce(registry, InFront("notepad.exe"), 3)),
            (std::vector<std::uint32_t>{0x0D, 0x0D}));
  EXPECT_FALSE(ReadSequenceInForce(registry, InFront("notepad.exe"), 4).has_value());
  const MappingInForce inForce = ChooseMappingInForce(registry, InFront("notepad.exe"));
  EXPECT_EQ(inForce.keyPath, kActive);
  EXPECT_EQ(MappingInForceName(registry, inForce), "Alpha");
  EXPECT_EQ(asked, 0);
  EXPECT_EQ(registry.WriteCount(), 0);
  // The settings key, which is there, is opened through CreateKey only to list
  // the mappings (FillMappingList does the same); no other key is asked for.
  for (const std::string& entry : registry.Entries("Create ")) {
    EXPECT_EQ(entry, "Create " + std::string(kActive));
  }
  EXPECT_TRUE(registry.Entries("Delete").empty());

  // Not even the settings key is made when it is missing.
  MemoryRegistry bare;
  EXPECT_FALSE(ReadSequenceInForce(bare, InFront("notepad.exe"), 1).has_value());
  EXPECT_FALSE(bare.HasKey(kActive));
  EXPECT_EQ(asked, 0);
}

}  // namespace
}  // namespace astro
