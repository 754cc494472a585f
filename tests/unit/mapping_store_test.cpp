// Keyboard mappings over the in-memory registry: the stored form of a button's
// list and its limits, copying mappings into and out of the active one, the list
// of mappings the dialog shows, and the factory mappings.
#include "config/mapping_store.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "config/memory_registry.h"

namespace astro {
namespace {

const std::string kActive = "Software\\Brightfold\\Dimensa\\Astrolab";

std::string Named(const std::string& name) {
  return kActive + "\\" + name;
}

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out.push_back(static_cast<char>(v));
  return out;
}

std::vector<std::uint8_t> ByteVector(std::initializer_list<int> values) {
  std::vector<std::uint8_t> out;
  for (int v : values) out.push_back(static_cast<std::uint8_t>(v));
  return out;
}

KeyEvent Event(std::uint32_t message, std::uint32_t virtualKey, std::uint32_t keyData) {
  KeyEvent event;
  event.message = message;
  event.virtualKey = virtualKey;
  event.keyData = keyData;
  return event;
}

// Shift down, a down, a up, Shift up: "A" as typed.
const std::string kCapitalA =
    Bytes({1, 0x2A, 0x10, 0, 1, 0x1E, 0x41, 0, 2, 0x1E, 0x41, 0, 2, 0x2A, 0x10, 0, 0, 0, 0, 0});
// Enter down and up.
const std::string kEnter = Bytes({1, 0x1C, 0x0D, 0, 2, 0x1C, 0x0D, 0, 0, 0, 0, 0});
const std::string kEndOnly = Bytes({0, 0, 0, 0});

class MappingStoreTest : public ::testing::Test {
 protected:
  void PutSlot(const std::string& path, int slot, const std::string& bytes) {
    registry.Put(path, "Button" + std::to_string(slot), bytes, ValueType::kBinary);
  }
  std::optional<std::string> Slot(const std::string& path, int slot) const {
    return registry.Bytes(path, "Button" + std::to_string(slot));
  }
  std::optional<KeyEventList> Read(const std::string& path, int slot) {
    return ReadButtonEvents(registry, path, slot);
  }

  MemoryRegistry registry;
};

TEST_F(MappingStoreTest, KeyPathsOfMappings) {
  EXPECT_EQ(MappingKeyPath(""), "Software\\Brightfold\\Dimensa\\Astrolab");
  EXPECT_EQ(MappingKeyPath("I-DEAS MS"), "Software\\Brightfold\\Dimensa\\Astrolab\\I-DEAS MS");
}

TEST_F(MappingStoreTest, NamesCompareAsTheRegistryComparesKeyNames) {
  EXPECT_TRUE(IsGenericMapping("Empty"));
  EXPECT_TRUE(IsGenericMapping("empty"));
  EXPECT_TRUE(IsGenericMapping("EMPTY"));
  EXPECT_FALSE(IsGenericMapping("Empty "));
  EXPECT_FALSE(IsGenericMapping("Empt"));
  // Accented letters of Windows-1252 fold too: "Ça" is "ça", "Šo" is "šo", "Ÿ" is "ÿ".
  EXPECT_TRUE(
      SameMappingName("\xC7"
                      "a",
                      "\xE7"
                      "a"));
  EXPECT_TRUE(SameMappingName("\x8Ao", "\x9Ao"));
  EXPECT_TRUE(SameMappingName("\x9F", "\xFF"));
  // ÷ and × are not a pair, nor is ß a small letter of anything.
  EXPECT_FALSE(SameMappingName("\xF7", "\xD7"));
  EXPECT_FALSE(SameMappingName("\xDF", "SS"));
  // The same case-blind lookup finds the current mapping in the list: "proengineer
  // v.20" stored as "Name" selects the mapping of that key.
  registry.PutKey(MappingKeyPath("ProEngineer V.20"));
  registry.Put(MappingKeyPath(""), "Name", "PROENGINEER v.20");
  EXPECT_EQ(FillMappingList(registry).selected, 0);
}

TEST_F(MappingStoreTest, OnlyNamesThatMakeOneKeyAreStorable) {
  EXPECT_TRUE(MappingNameStorable("ProEngineer V.20"));
  EXPECT_TRUE(MappingNameStorable("Mechanical Desktop 2.0/3.0"));  // a slash is fine
  EXPECT_TRUE(MappingNameStorable(std::string(63, 'n')));
  EXPECT_TRUE(MappingNameStorable("\xC4nderung"));  // Ä
  EXPECT_FALSE(MappingNameStorable(""));
  EXPECT_FALSE(MappingNameStorable(std::string(64, 'n')));  // the list could not read it back
  EXPECT_FALSE(MappingNameStorable("ProEngineer V.20\\x"));
  EXPECT_FALSE(MappingNameStorable("\\"));
  EXPECT_FALSE(MappingNameStorable("tab\there"));
}

// ---- Reading the stored form ----

TEST_F(MappingStoreTest, ReadsEveryKindWithScanCodeAndVirtualKey) {
  // Alt down and up as system keys, then a key whose virtual key needs both bytes.
  PutSlot(kActive, 3, Bytes({3,    0x38, 0x12, 0,    4,    0x38, 0x12, 0, 1, 0x4B,
                             0x34, 0x12, 2,    0x4B, 0x34, 0x12, 0,    0, 0, 0}));
  const auto list = Read(kActive, 3);
  ASSERT_TRUE(list.has_value());
  ASSERT_EQ(list->size(), 5u);
  const std::uint32_t messages[] = {0x104, 0x105, 0x100, 0x101, 0};
  const std::uint32_t keys[] = {0x12, 0x12, 0x1234, 0x1234, 0};
  const std::uint32_t data[] = {0x380000, 0x380000, 0x4B0000, 0x4B0000, 0};
  for (std::size_t i = 0; i < 5; ++i) {
    const KeyEvent& e = (*list)[i];
    EXPECT_EQ(e.message, messages[i]) << i;
    EXPECT_EQ(e.virtualKey, keys[i]) << i;
    EXPECT_EQ(e.keyData, data[i]) << i;
    EXPECT_EQ(e.window + e.time + e.pointX + e.pointY, 0u) << i;
  }
  EXPECT_EQ(CountKeyEvents(list->data()), 4);
}

TEST_F(MappingStoreTest, AnUnknownKindEndsTheList) {
  PutSlot(kActive, 1, Bytes({1, 0x1E, 0x41, 0, 9, 0x1E, 0x41, 0, 2, 0x1E, 0x41, 0, 0, 0, 0, 0}));
  const auto list = Read(kActive, 1);
  ASSERT_TRUE(list.has_value());
  EXPECT_EQ(CountKeyEvents(list->data()), 1);
}

TEST_F(MappingStoreTest, ValuesWithoutEventsReadAsEmptyLists) {
  PutSlot(kActive, 1, kEndOnly);
  PutSlot(kActive, 2, "");
  // Whatever follows a first entry of kind 0 is not looked at.
  PutSlot(kActive, 3, Bytes({0, 0x1E, 0x41, 0, 1, 0x1E, 0x41, 0}));
  for (int slot = 1; slot <= 3; ++slot) {
    const auto list = Read(kActive, slot);
    ASSERT_TRUE(list.has_value()) << slot;
    ASSERT_EQ(list->size(), 1u) << slot;
    EXPECT_EQ((*list)[0].message, 0u) << slot;
    EXPECT_EQ(CountKeyEvents(list->data()), 0) << slot;
  }
}

TEST_F(MappingStoreTest, TheLengthLimitIs2048Bytes) {
  std::string full;
  for (int i = 0; i < 512; ++i) full += Bytes({2, 0x10, 0x41, 0});
  PutSlot(kActive, 1, full);  // 512 events, no room for the end entry
  std::string longest = full.substr(0, 2044) + kEndOnly;
  PutSlot(kActive, 2, longest);                      // 511 events and the end entry
  PutSlot(kActive, 3, full + kEndOnly);              // 2052 bytes
  PutSlot(kActive, 4, full + std::string(1, '\0'));  // 2049 bytes

  const auto all = Read(kActive, 1);
  ASSERT_TRUE(all.has_value());
  ASSERT_EQ(CountKeyEvents(all->data()), 512);
  EXPECT_EQ(all->back().message, 0u);
  EXPECT_EQ((*all)[511].message, 0x101u);
  EXPECT_EQ((*all)[511].virtualKey, 0x41u);

  const auto most = Read(kActive, 2);
  ASSERT_TRUE(most.has_value());
  EXPECT_EQ(CountKeyEvents(most->data()), 511);

  EXPECT_FALSE(Read(kActive, 3).has_value());
  EXPECT_FALSE(Read(kActive, 4).has_value());
}

TEST_F(MappingStoreTest, AnEntryCutShortIsDropped) {
  // Shift down, then the first two bytes of an "a" down: the value stops inside it.
  PutSlot(kActive, 1, Bytes({1, 0x2A, 0x10, 0, 1, 0x1E}));
  const auto list = Read(kActive, 1);
  ASSERT_TRUE(list.has_value());
  ASSERT_EQ(CountKeyEvents(list->data()), 1);
  EXPECT_EQ((*list)[0].virtualKey, 0x10u);
}

TEST_F(MappingStoreTest, MissingKeyOrValueIsUnassigned) {
  EXPECT_FALSE(Read(Named("Nowhere"), 1).has_value());
  PutSlot(Named("Some"), 12, kEnter);
  EXPECT_FALSE(Read(Named("Some"), 1).has_value());  // "Button1" is not "Button12"
  EXPECT_FALSE(Read(Named("Some"), 2).has_value());
  EXPECT_TRUE(Read(Named("Some"), 12).has_value());
}

// ---- Writing the stored form ----

TEST_F(MappingStoreTest, WritesTheStoredFormOfEachEvent) {
  KeyEvent events[] = {
      Event(0x104, 0x12, 0x20380001),  // Alt down with the context bit
      Event(0x100, 0x26, 0x01480001),  // cursor up, an extended key
      Event(0x102, 0x61, 0x001E0001),  // a character message: no kind of its own
      Event(0x101, 0x10041, 0xC01E0001), Event(0x105, 0x12, 0xE0380001), KeyEvent{},
  };
  events[0].window = 0x1234;
  events[0].time = 99;
  WriteButtonEvents(registry, Named("New"), 7, events);
  EXPECT_EQ(Slot(Named("New"), 7), Bytes({3, 0x38, 0x12, 0, 1, 0x48, 0x26, 0, 0, 0x1E, 0x61, 0,
                                          2, 0x1E, 0x41, 0, 4, 0x38, 0x12, 0, 0, 0,    0,    0}));
  EXPECT_EQ(registry.TypeOf(Named("New"), "Button7"), ValueType::kBinary);
  EXPECT_EQ(registry.ValueNames(Named("New")), std::vector<std::string>{"Button7"});
}

TEST_F(MappingStoreTest, AnExtendedKeyReadsBackWithItsScanCodeOnly) {
  KeyEvent events[] = {Event(0x100, 0x26, 0x01480003), Event(0x101, 0x26, 0xC1480001), KeyEvent{}};
  events[0].window = 77;
  events[0].time = 123456;
  events[1].pointX = 5;
  WriteButtonEvents(registry, kActive, 2, events);
  const auto list = Read(kActive, 2);
  ASSERT_TRUE(list.has_value());
  ASSERT_EQ(list->size(), 3u);
  for (int i = 0; i < 2; ++i) {
    const KeyEvent& e = (*list)[i];
    EXPECT_EQ(e.message, i == 0 ? 0x100u : 0x101u);
    EXPECT_EQ(e.virtualKey, 0x26u);
    EXPECT_EQ(e.keyData, 0x480000u);
    EXPECT_EQ(e.window + e.time + e.pointX + e.pointY, 0u);
  }
}

TEST_F(MappingStoreTest, AnEmptyListWritesNothing) {
  PutSlot(kActive, 1, kEndOnly);
  PutSlot(Named("Other"), 2, kEnter);
  registry.ClearRecords();

  const auto empty = Read(kActive, 1);
  ASSERT_TRUE(empty.has_value());
  WriteButtonEvents(registry, Named("Other"), 2, empty->data());
  WriteButtonEvents(registry, Named("Fresh"), 2, empty->data());
  WriteButtonEvents(registry, Named("Fresh"), 3, nullptr);

  EXPECT_EQ(Slot(Named("Other"), 2), kEnter);
  EXPECT_FALSE(registry.HasKey(Named("Fresh")));
  EXPECT_EQ(registry.WriteCount(), 0);
  EXPECT_TRUE(registry.Entries("Create ").empty());
}

TEST_F(MappingStoreTest, DeleteRemovesOneSlotAndCreatesTheKey) {
  PutSlot(kActive, 1, kEnter);
  PutSlot(kActive, 10, kCapitalA);
  DeleteButtonEvents(registry, kActive, 1);
  EXPECT_EQ(registry.ValueNames(kActive), std::vector<std::string>{"Button10"});

  DeleteButtonEvents(registry, Named("Missing"), 4);
  EXPECT_TRUE(registry.HasKey(Named("Missing")));
}

// ---- The current mapping name ----

TEST_F(MappingStoreTest, CurrentNameIsEmptyWithoutKeyOrValue) {
  EXPECT_EQ(GetCurrentMappingName(registry), "");
  registry.Put(kActive, "Language", "1");
  EXPECT_EQ(GetCurrentMappingName(registry), "");
}

TEST_F(MappingStoreTest, CurrentNameEndsAtItsFirstZeroByte) {
  registry.Put(kActive, "Name", "ProEngineer V.20");
  EXPECT_EQ(GetCurrentMappingName(registry), "ProEngineer V.20");
  registry.Put(kActive, "Name", std::string("I-DEAS MS\0", 10));
  EXPECT_EQ(GetCurrentMappingName(registry), "I-DEAS MS");
  registry.Put(kActive, "Name", std::string("Mine\0old text", 13));
  EXPECT_EQ(GetCurrentMappingName(registry), "Mine");
}

TEST_F(MappingStoreTest, CurrentNameOfTheBufferSizeReadsWholeAndLongerIsMissing) {
  registry.Put(kActive, "Name", std::string(128, 'x'));
  EXPECT_EQ(GetCurrentMappingName(registry), std::string(128, 'x'));
  registry.Put(kActive, "Name", std::string(129, 'y'));
  EXPECT_EQ(GetCurrentMappingName(registry), "");
}

TEST_F(MappingStoreTest, SetCurrentNameStoresTheCharactersOnly) {
  SetCurrentMappingName(registry, "Mechanical Desktop 2.0/3.0");
  EXPECT_EQ(registry.Bytes(kActive, "Name"), "Mechanical Desktop 2.0/3.0");
  EXPECT_EQ(registry.TypeOf(kActive, "Name"), ValueType::kString);
  EXPECT_EQ(GetCurrentMappingName(registry), "Mechanical Desktop 2.0/3.0");
  SetCurrentMappingName(registry, "");
  EXPECT_EQ(registry.Bytes(kActive, "Name"), "");
}

// ---- Copying mappings ----

TEST_F(MappingStoreTest, LoadMappingReplacesEverySlotOfTheActiveMapping) {
  PutSlot(Named("Mine"), 1, kCapitalA);
  // A stray zero byte after the end entry is not copied: the copy is re-encoded.
  PutSlot(Named("Mine"), 12, kEnter + std::string(1, '\0'));
  PutSlot(kActive, 1, kEnter);
  PutSlot(kActive, 5, kEnter);  // unassigned in "Mine": goes
  PutSlot(kActive, 7, kCapitalA);
  registry.Put(kActive, "Language", "2");

  LoadMapping(registry, "Mine");

  EXPECT_EQ(Slot(kActive, 1), kCapitalA);
  EXPECT_EQ(Slot(kActive, 12), kEnter);
  EXPECT_FALSE(Slot(kActive, 5).has_value());
  EXPECT_FALSE(Slot(kActive, 7).has_value());
  EXPECT_EQ(registry.Bytes(kActive, "Name"), "Mine");
  EXPECT_EQ(registry.Bytes(kActive, "Language"), "2");
  EXPECT_EQ(Slot(Named("Mine"), 12), kEnter + std::string(1, '\0'));
}

TEST_F(MappingStoreTest, LoadMappingKeepsAnActiveSlotWhereTheSourceHoldsAnEmptyList) {
  PutSlot(Named("Mine"), 2, kEndOnly);
  PutSlot(kActive, 2, kCapitalA);
  LoadMapping(registry, "Mine");
  EXPECT_EQ(Slot(kActive, 2), kCapitalA);
}

TEST_F(MappingStoreTest, StoreWorkingSetCopiesTheActiveMappingAndClearsTheFlag) {
  PutSlot(kActive, 2, kCapitalA);
  PutSlot(kActive, 9, kEnter);
  registry.Put(kActive, "Name", "Elsewhere");
  PutSlot(Named("Saved"), 3, kEnter);  // unassigned in the active mapping: goes
  PutSlot(Named("Saved"), 9, kCapitalA);
  std::int32_t modified = 1;

  StoreWorkingSet(registry, "Saved", modified);

  EXPECT_EQ(modified, 0);
  EXPECT_EQ(registry.ValueNames(Named("Saved")), (std::vector<std::string>{"Button2", "Button9"}));
  EXPECT_EQ(Slot(Named("Saved"), 2), kCapitalA);
  EXPECT_EQ(Slot(Named("Saved"), 9), kEnter);
  EXPECT_EQ(Slot(kActive, 2), kCapitalA);
  EXPECT_EQ(registry.Bytes(kActive, "Name"), "Elsewhere");
}

TEST_F(MappingStoreTest, StoreWorkingSetCreatesTheMapping) {
  PutSlot(kActive, 4, kEnter);
  std::int32_t modified = 1;
  StoreWorkingSet(registry, "Brand new", modified);
  EXPECT_EQ(Slot(Named("Brand new"), 4), kEnter);
  EXPECT_EQ(registry.ValueNames(Named("Brand new")), std::vector<std::string>{"Button4"});
  EXPECT_EQ(modified, 0);

  // Nothing to copy (an active mapping of empty recordings): the key exists all
  // the same.
  for (int slot = 1; slot <= 12; ++slot)
    registry.Put(kActive, "Button" + std::to_string(slot), std::string(4, '\0'),
                 ValueType::kBinary);
  StoreWorkingSet(registry, "Only empties", modified);
  EXPECT_TRUE(registry.HasKey(Named("Only empties")));
}

TEST_F(MappingStoreTest, ClearMappingDeletesTheButtonsAndOnRequestTheKey) {
  for (int slot = 1; slot <= 12; ++slot) PutSlot(Named("Temp"), slot, kEnter);
  ClearMapping(registry, "Temp", false);
  EXPECT_TRUE(registry.HasKey(Named("Temp")));
  EXPECT_TRUE(registry.ValueNames(Named("Temp")).empty());

  PutSlot(Named("Temp"), 6, kEnter);
  ClearMapping(registry, "Temp", true);
  EXPECT_FALSE(registry.HasKey(Named("Temp")));
}

TEST_F(MappingStoreTest, ClearMappingOfTheEmptyNameClearsTheActiveButtonsOnly) {
  PutSlot(kActive, 1, kEnter);
  PutSlot(kActive, 12, kCapitalA);
  registry.Put(kActive, "Name", "Mine");
  registry.Put(kActive, "Language", "3");
  PutSlot(Named("Mine"), 1, kEnter);

  ClearMapping(registry, "", false);
  EXPECT_EQ(registry.ValueNames(kActive), (std::vector<std::string>{"Language", "Name"}));
  EXPECT_EQ(Slot(Named("Mine"), 1), kEnter);

  // Even without subkeys, the settings key stays.
  MemoryRegistry bare;
  bare.Put(kActive, "Button3", kEnter, ValueType::kBinary);
  bare.Put(kActive, "Language", "3");
  ClearMapping(bare, "", true);
  ASSERT_TRUE(bare.HasKey(kActive));
  EXPECT_EQ(bare.ValueNames(kActive), std::vector<std::string>{"Language"});
}

// ---- The list of mappings ----

class MappingListTest : public MappingStoreTest {
 protected:
  void SetUp() override {
    PutSlot(Named("Alpha"), 1, kEnter);
    PutSlot(Named("Beta"), 4, kCapitalA);
    registry.PutKey(Named("Gamma"));
    PutSlot(kActive, 4, kEnter);
    PutSlot(kActive, 6, kEnter);
  }
  void ExpectActiveUnchanged() {
    EXPECT_EQ(registry.ValueNames(kActive).size(), 3u);  // the two slots and "Name"
    EXPECT_EQ(Slot(kActive, 4), kEnter);
    EXPECT_EQ(Slot(kActive, 6), kEnter);
  }
};

TEST_F(MappingListTest, TheCurrentNameInAnotherCaseIsSelectedAndLoaded) {
  registry.Put(kActive, "Name", "bETA");
  const MappingList list = FillMappingList(registry);
  EXPECT_EQ(list.names, (std::vector<std::string>{"Alpha", "Beta", "Gamma"}));
  EXPECT_EQ(list.selected, 1);
  EXPECT_TRUE(list.loaded);
  EXPECT_EQ(Slot(kActive, 4), kCapitalA);
  EXPECT_FALSE(Slot(kActive, 6).has_value());
  EXPECT_EQ(registry.Bytes(kActive, "Name"), "Beta");
}

TEST_F(MappingListTest, AMissingMappingSelectsTheFirstAndLoadsNothing) {
  for (const char* name : {"Delta", "Alph", "Alpha "}) {
    registry.Put(kActive, "Name", name);
    registry.ClearRecords();
    const MappingList list = FillMappingList(registry);
    EXPECT_EQ(list.names.size(), 3u) << name;
    EXPECT_EQ(list.selected, 0) << name;
    EXPECT_FALSE(list.loaded) << name;
    EXPECT_EQ(registry.WriteCount(), 0) << name;
    EXPECT_TRUE(registry.Entries("Delete ").empty()) << name;
    EXPECT_EQ(registry.Bytes(kActive, "Name"), name);
    ExpectActiveUnchanged();
  }
}

TEST_F(MappingListTest, AnEmptyCurrentNameSelectsTheFirstAndLoadsNothing) {
  registry.Put(kActive, "Name", "");
  registry.ClearRecords();
  const MappingList list = FillMappingList(registry);
  EXPECT_EQ(list.selected, 0);
  EXPECT_FALSE(list.loaded);
  EXPECT_EQ(registry.WriteCount(), 0);
  ExpectActiveUnchanged();
}

TEST_F(MappingStoreTest, AnEmptyListHasNoSelectionAndTheKeyIsCreated) {
  registry.Put(kActive + "x", "Name", "Alpha");  // a sibling key, not a subkey
  const MappingList list = FillMappingList(registry);
  EXPECT_TRUE(list.names.empty());
  EXPECT_EQ(list.selected, -1);
  EXPECT_FALSE(list.loaded);
  EXPECT_TRUE(registry.HasKey(kActive));
}

TEST_F(MappingStoreTest, ANameOf64CharactersEndsTheList) {
  registry.PutKey(Named("Aaa"));
  registry.PutKey(Named("M" + std::string(62, 'm')));  // 63 characters: fits
  registry.PutKey(Named("N" + std::string(63, 'n')));  // 64: does not
  registry.PutKey(Named("Zed"));
  const MappingList list = FillMappingList(registry);
  ASSERT_EQ(list.names.size(), 2u);
  EXPECT_EQ(list.names[0], "Aaa");
  EXPECT_EQ(list.names[1].size(), 63u);
}

// ---- Factory mappings ----

TEST_F(MappingStoreTest, DefaultMappingWritesExactSizesIntoANewKey) {
  std::array<std::vector<std::uint8_t>, kButtonSlots> slots;
  slots[0] = ByteVector({1, 0x1C, 0x0D, 0, 2, 0x1C, 0x0D, 0, 0, 0, 0, 0, 0});  // one zero more
  slots[11] = ByteVector({1, 0x39, 0x20, 0});                                  // no end entry
  WriteDefaultMapping(registry, Named("Factory"), slots);

  EXPECT_EQ(registry.ValueNames(Named("Factory")),
            (std::vector<std::string>{"Button1", "Button12"}));
  EXPECT_EQ(Slot(Named("Factory"), 1), kEnter + std::string(1, '\0'));
  EXPECT_EQ(Slot(Named("Factory"), 12), Bytes({1, 0x39, 0x20, 0}));
  EXPECT_EQ(registry.TypeOf(Named("Factory"), "Button1"), ValueType::kBinary);
}

TEST_F(MappingStoreTest, DefaultMappingLeavesAnExistingKeyAlone) {
  std::array<std::vector<std::uint8_t>, kButtonSlots> slots;
  slots[0] = ByteVector({1, 0x1C, 0x0D, 0, 0, 0, 0, 0});
  registry.PutKey(Named("Emptied"));
  PutSlot(Named("Edited"), 2, kCapitalA);
  registry.ClearRecords();

  WriteDefaultMapping(registry, Named("Emptied"), slots);
  WriteDefaultMapping(registry, Named("Edited"), slots);

  EXPECT_TRUE(registry.ValueNames(Named("Emptied")).empty());
  EXPECT_EQ(registry.ValueNames(Named("Edited")), std::vector<std::string>{"Button2"});
  EXPECT_EQ(registry.WriteCount(), 0);
  EXPECT_TRUE(registry.Entries("Delete ").empty());
}

const char* const kFactoryNames[] = {"Empty", "ProEngineer V.18", "ProEngineer V.20", "I-DEAS MS",
                                     "Mechanical Desktop 2.0/3.0"};

TEST_F(MappingStoreTest, InstallCreatesTheFiveFactoryMappingsInOrder) {
  InstallDefaultMappings(registry);

  std::vector<std::string> expectedCreates;
  for (const char* name : kFactoryNames) expectedCreates.push_back("Create " + Named(name));
  EXPECT_EQ(registry.Entries("Create "), expectedCreates);

  const std::vector<std::string> fiveSlots = {"Button1", "Button2", "Button3", "Button4",
                                              "Button8"};
  EXPECT_TRUE(registry.HasKey(Named("Empty")));
  EXPECT_TRUE(registry.ValueNames(Named("Empty")).empty());
  EXPECT_EQ(registry.ValueNames(Named("ProEngineer V.18")), fiveSlots);
  EXPECT_EQ(registry.ValueNames(Named("ProEngineer V.20")), fiveSlots);
  EXPECT_EQ(registry.ValueNames(Named("I-DEAS MS")), fiveSlots);
  EXPECT_EQ(registry.ValueNames(Named("Mechanical Desktop 2.0/3.0")),
            (std::vector<std::string>{"Button1", "Button2", "Button8"}));

  // Alt down, V down and up, R down and up as system keys, then Alt up.
  EXPECT_EQ(Slot(Named("ProEngineer V.20"), 1),
            Bytes({3,    0x38, 0x12, 0,    3,    0x2F, 0x56, 0,    4,    0x2F, 0x56, 0, 3, 0x13,
                   0x52, 0,    4,    0x13, 0x52, 0,    2,    0x38, 0x12, 0,    0,    0, 0, 0}));
  // "AU[Enter]" with the left Shift held around both capitals.
  EXPECT_EQ(Slot(Named("I-DEAS MS"), 8),
            Bytes({1, 0x2A, 0x10, 0, 1, 0x1E, 0x41, 0, 2, 0x1E, 0x41, 0,
                   1, 0x16, 0x55, 0, 2, 0x16, 0x55, 0, 2, 0x2A, 0x10, 0,
                   1, 0x1C, 0x0D, 0, 2, 0x1C, 0x0D, 0, 0, 0,    0,    0}));
  // One zero byte beyond the end entry is kept as it is.
  const auto wireframe = Slot(Named("Mechanical Desktop 2.0/3.0"), 1);
  ASSERT_TRUE(wireframe.has_value());
  ASSERT_GE(wireframe->size(), 9u);
  EXPECT_EQ(wireframe->size() % 4, 1u);
  EXPECT_EQ(wireframe->substr(wireframe->size() - 5), std::string(5, '\0'));
}

TEST_F(MappingStoreTest, InstallLeavesExistingMappingsAlone) {
  registry.PutKey(Named("ProEngineer V.20"));
  PutSlot(Named("I-DEAS MS"), 1, kCapitalA);
  InstallDefaultMappings(registry);

  EXPECT_TRUE(registry.ValueNames(Named("ProEngineer V.20")).empty());
  EXPECT_EQ(registry.ValueNames(Named("I-DEAS MS")), std::vector<std::string>{"Button1"});
  EXPECT_EQ(Slot(Named("I-DEAS MS"), 1), kCapitalA);
  EXPECT_FALSE(registry.ValueNames(Named("ProEngineer V.18")).empty());

  // Once everything exists, a second start writes nothing.
  registry.ClearRecords();
  InstallDefaultMappings(registry);
  EXPECT_EQ(registry.WriteCount(), 0);
  EXPECT_TRUE(registry.Entries("Delete ").empty());
}

TEST_F(MappingStoreTest, FailuresLeaveSlotsUnassignedAndWriteNothing) {
  registry.failCreate = true;
  KeyEvent events[] = {Event(0x100, 0x0D, 0x1C0000), KeyEvent{}};
  WriteButtonEvents(registry, kActive, 1, events);
  DeleteButtonEvents(registry, kActive, 1);
  SetCurrentMappingName(registry, "Mine");
  const MappingList list = FillMappingList(registry);
  InstallDefaultMappings(registry);
  EXPECT_FALSE(registry.HasKey(kActive));
  EXPECT_EQ(list.selected, -1);
  EXPECT_FALSE(Read(kActive, 1).has_value());
  EXPECT_EQ(GetCurrentMappingName(registry), "");
}

}  // namespace
}  // namespace astro
