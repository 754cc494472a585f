// The factory keyboard mappings: what each recording types, its size and its
// keys, checked against the figures of the mapping table written out here.
#include "config/factory_mappings.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "config/key_notation.h"
#include "config/stored_events.h"
#include "tests/unit/us_key_translator.h"

namespace astro {
namespace testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Expected {
  std::string mapping;
  int slot;
  std::string text;
  std::string description;
  int events;
  std::size_t length;
};

const std::vector<Expected>& Table() {
  static const std::vector<Expected> table = {
      {"ProEngineer V.18", 1, "Done-Return[Enter]View[Enter]Repaint[Enter]Done-Return[Enter]",
       "Repaint View", 86, 348},
      {"ProEngineer V.18", 2,
       "Done-Return[Enter]View[Enter]Cosmetic[Enter]Shade[Enter]Display[Enter]Done-Return[Enter]",
       "Shade Display", 120, 484},
      {"ProEngineer V.18", 3,
       "Done-Return[Enter]Environment[Enter]Disp DtmPln[Enter]Done-Return[Enter]",
       "Display Datum Planes ON/OFF", 112, 452},
      {"ProEngineer V.18", 4,
       "Done-Return[Enter]View[Enter]Orientation[Enter]Set Spin Ctr[Enter]Model "
       "Center[Enter]Done-Return[Enter]",
       "Set Spin Center To Model Center", 156, 628},
      {"ProEngineer V.18", 8,
       "Done-Return[Enter]View[Enter]Orientation[Enter]Default[Enter]Done-Return[Enter]",
       "Default Orientation", 112, 452},
      {"ProEngineer V.20", 1, "[Alt]vr", "Repaint View", 6, 28},
      {"ProEngineer V.20", 2, "[Alt]vs", "Shade Object", 6, 28},
      {"ProEngineer V.20", 3, "[Alt]vi", "Previous View", 6, 28},
      {"ProEngineer V.20", 4, "[Alt]vd", "Default View", 6, 28},
      {"ProEngineer V.20", 8, "[Alt]vf", "Reset View", 6, 28},
      {"I-DEAS MS", 1, "/DO LH; ; DT LI APPL CANC[Enter]", "Line Display", 68, 276},
      {"I-DEAS MS", 2, "/DO LH; ; DT HH APPL CANC[Enter]", "Hidden Hardware", 64, 260},
      {"I-DEAS MS", 3, "/DO SO; ; DT SHH APPL CANC[Enter]", "Shaded Hardware", 66, 268},
      {"I-DEAS MS", 4, "/V V PE OF; E 3 4 5 0; OKAY;[Enter]", "Isometric View", 72, 292},
      {"I-DEAS MS", 8, "AU[Enter]", "Autoscale", 8, 36},
      {"Mechanical Desktop 2.0/3.0", 1, "[Enter]avwireframe[Enter]", "Display Wireframe Object", 26,
       109},
      {"Mechanical Desktop 2.0/3.0", 2, "[Enter]avrender[Enter]", "Display Rendered Object", 20,
       84},
      {"Mechanical Desktop 2.0/3.0", 8, "[Enter]zoom[Enter]all[Enter]", "Zoom All (fit in view)",
       20, 84},
  };
  return table;
}

const FactoryMapping& Mapping(const std::string& name) {
  for (const FactoryMapping& mapping : FactoryMappings()) {
    if (mapping.name == name) return mapping;
  }
  ADD_FAILURE() << "no mapping " << name;
  static const FactoryMapping none;
  return none;
}

const Bytes& Slot(const std::string& mapping, int slot) {
  return Mapping(mapping).slots[slot - 1];
}

// Every assigned slot with the name of its mapping.
std::vector<std::pair<std::string, int>> AssignedSlots() {
  std::vector<std::pair<std::string, int>> slots;
  for (const FactoryMapping& mapping : FactoryMappings()) {
    for (int slot = 1; slot <= kButtonSlots; ++slot) {
      if (!mapping.slots[slot - 1].empty()) slots.emplace_back(mapping.name, slot);
    }
  }
  return slots;
}

KeyEventList Decoded(const Bytes& value) {
  return DecodeStoredEvents(value.data(), value.size());
}

TEST(FactoryMappingsTest, FiveMappingsInInstallOrder) {
  std::vector<std::string> names;
  for (const FactoryMapping& mapping : FactoryMappings()) names.push_back(mapping.name);
  EXPECT_EQ(names, (std::vector<std::string>{"Empty", "ProEngineer V.18", "ProEngineer V.20",
                                             "I-DEAS MS", "Mechanical Desktop 2.0/3.0"}));
}

TEST(FactoryMappingsTest, EachRecordingTypesItsTextWithTheTablesEventCountAndLength) {
  UsKeyTranslator translator;
  for (const Expected& row : Table()) {
    SCOPED_TRACE(row.mapping + " slot " + std::to_string(row.slot));
    const Bytes& value = Slot(row.mapping, row.slot);
    EXPECT_EQ(value.size(), row.length);
    const KeyEventList list = Decoded(value);
    EXPECT_EQ(CountKeyEvents(list.data()), row.events);
    EXPECT_EQ(KeyEventsToText(list.data(), CountKeyEvents(list.data()), translator), row.text);
    EXPECT_EQ(KnownSequenceName(row.slot, row.text), row.description);
  }
}

TEST(FactoryMappingsTest, OnlyTheListedSlotsAreAssignedAndEmptyHasNone) {
  using SlotSet = std::set<std::pair<std::string, int>>;
  SlotSet listed;
  for (const Expected& row : Table()) listed.emplace(row.mapping, row.slot);
  const std::vector<std::pair<std::string, int>> assigned = AssignedSlots();
  EXPECT_EQ(SlotSet(assigned.begin(), assigned.end()), listed);
  for (const Bytes& value : Mapping("Empty").slots) EXPECT_TRUE(value.empty());
}

TEST(FactoryMappingsTest, MenuRecordingsHoldAltOverTwoSystemKeys) {
  const Bytes repaint = {3, 0x38, 0x12, 0,    3, 0x2F, 0x56, 0,    4, 0x2F, 0x56, 0, 3, 0x13, 0x52,
                         0, 4,    0x13, 0x52, 0, 2,    0x38, 0x12, 0, 0,    0,    0, 0};
  EXPECT_EQ(Slot("ProEngineer V.20", 1), repaint);
  // The same shape with S, I, D and F as the second letter.
  const std::map<int, std::pair<std::uint8_t, std::uint8_t>> second = {
      {2, {0x53, 0x1F}}, {3, {0x49, 0x17}}, {4, {0x44, 0x20}}, {8, {0x46, 0x21}}};
  for (const auto& [slot, key] : second) {
    Bytes expected = repaint;
    expected[13] = expected[17] = key.second;
    expected[14] = expected[18] = key.first;
    EXPECT_EQ(Slot("ProEngineer V.20", slot), expected) << "slot " << slot;
  }
}

TEST(FactoryMappingsTest, AutoscaleIsLeftShiftAroundAUThenEnter) {
  const Bytes expected = {1, 0x2A, 0x10, 0, 1, 0x1E, 0x41, 0, 2, 0x1E, 0x41, 0,
                          1, 0x16, 0x55, 0, 2, 0x16, 0x55, 0, 2, 0x2A, 0x10, 0,
                          1, 0x1C, 0x0D, 0, 2, 0x1C, 0x0D, 0, 0, 0,    0,    0};
  EXPECT_EQ(Slot("I-DEAS MS", 8), expected);
}

TEST(FactoryMappingsTest, OnlyWireframeCarriesAZeroByteAfterItsEndEntry) {
  const Bytes& wireframe = Slot("Mechanical Desktop 2.0/3.0", 1);
  ASSERT_EQ(wireframe.size(), 109u);
  for (std::size_t i = 104; i < 109; ++i) EXPECT_EQ(wireframe[i], 0) << i;
  EXPECT_EQ(wireframe[100], 2);  // the last event: Enter up
  for (const auto& [mapping, slot] : AssignedSlots()) {
    if (mapping == "Mechanical Desktop 2.0/3.0" && slot == 1) continue;
    EXPECT_EQ(Slot(mapping, slot).size() % 4, 0u) << mapping << " " << slot;
  }
}

TEST(FactoryMappingsTest, EveryEntryBeforeTheEndIsAKeyMessageWithAKey) {
  for (const auto& [mapping, slot] : AssignedSlots()) {
    const Bytes& value = Slot(mapping, slot);
    ASSERT_GE(value.size(), 8u);
    std::size_t end = 0;
    while (end + 4 <= value.size() && value[end] != 0) end += 4;
    // The end entry is the last whole entry: no event hides behind a zero kind.
    EXPECT_EQ(end, (value.size() / 4 - 1) * 4) << mapping << " " << slot;
    for (std::size_t at = 0; at < end; at += 4) {
      EXPECT_GE(value[at], 1) << mapping << " " << slot << " at " << at;
      EXPECT_LE(value[at], 4) << mapping << " " << slot << " at " << at;
      EXPECT_NE(value[at + 2] | value[at + 3] << 8, 0) << mapping << " " << slot << " at " << at;
    }
    for (std::size_t at = end; at < value.size(); ++at) EXPECT_EQ(value[at], 0);
  }
}

// Scan code set 1 by virtual key, from the rows of the keyboard.
std::map<std::uint32_t, std::uint32_t> ScanCodes(bool german) {
  std::map<std::uint32_t, std::uint32_t> scan;
  const std::pair<const char*, std::uint32_t> rows[] = {
      {german ? "QWERTZUIOP" : "QWERTYUIOP", 0x10},
      {"ASDFGHJKL", 0x1E},
      {german ? "YXCVBNM" : "ZXCVBNM", 0x2C},
      {"1234567890", 0x02}};
  for (const auto& [keys, first] : rows) {
    for (std::uint32_t i = 0; keys[i] != '\0'; ++i)
      scan[static_cast<unsigned char>(keys[i])] = first + i;
  }
  scan[0x20] = 0x39;                  // space bar
  scan[0x0D] = 0x1C;                  // Enter
  scan[0x12] = 0x38;                  // left Alt
  scan[0xBD] = german ? 0x35 : 0x0C;  // minus
  if (!german) {
    scan[0xBF] = 0x35;  // slash
    scan[0xBA] = 0x27;  // semicolon
  }
  return scan;
}

TEST(FactoryMappingsTest, ProEngineerV18UsesGermanKeysAndTheOthersUsKeys) {
  const std::map<std::uint32_t, std::uint32_t> us = ScanCodes(false);
  const std::map<std::uint32_t, std::uint32_t> german = ScanCodes(true);
  for (const auto& [mapping, slot] : AssignedSlots()) {
    const std::map<std::uint32_t, std::uint32_t>& layout =
        mapping == "ProEngineer V.18" ? german : us;
    const KeyEventList list = Decoded(Slot(mapping, slot));
    for (int i = 0; i < CountKeyEvents(list.data()); ++i) {
      const std::uint32_t vk = list[i].virtualKey;
      const std::uint32_t scan = ScanCode(list[i]);
      if (vk == 0x10) {
        EXPECT_TRUE(scan == 0x2A || scan == 0x36) << mapping << " " << slot << " event " << i;
        continue;
      }
      ASSERT_EQ(layout.count(vk), 1u) << mapping << " " << slot << " key " << vk;
      EXPECT_EQ(scan, layout.at(vk)) << mapping << " " << slot << " key " << vk;
    }
  }
  // The keys that differ, looked up directly: Y and minus in V.18, Z in "zoom".
  auto hasKey = [](const Bytes& value, std::uint8_t vk, std::uint8_t scan) {
    for (std::size_t at = 0; at + 4 <= value.size(); at += 4) {
      if (value[at] == 1 && value[at + 1] == scan && value[at + 2] == vk) return true;
    }
    return false;
  };
  EXPECT_TRUE(hasKey(Slot("ProEngineer V.18", 2), 0x59, 0x2C));
  EXPECT_TRUE(hasKey(Slot("ProEngineer V.18", 1), 0xBD, 0x35));
  EXPECT_FALSE(hasKey(Slot("ProEngineer V.18", 1), 0xBD, 0x0C));
  EXPECT_TRUE(hasKey(Slot("Mechanical Desktop 2.0/3.0", 8), 0x5A, 0x2C));
  EXPECT_TRUE(hasKey(Slot("I-DEAS MS", 1), 0xBF, 0x35));
}

TEST(FactoryMappingsTest, EveryKeyGoesUpOnceAfterGoingDownAndNoneStaysDown) {
  int shiftRepeats = 0;
  for (const auto& [mapping, slot] : AssignedSlots()) {
    SCOPED_TRACE(mapping + " slot " + std::to_string(slot));
    const KeyEventList list = Decoded(Slot(mapping, slot));
    std::set<std::pair<std::uint32_t, std::uint32_t>> down;  // virtual key and scan code
    for (int i = 0; i < CountKeyEvents(list.data()); ++i) {
      const std::pair<std::uint32_t, std::uint32_t> key(list[i].virtualKey, ScanCode(list[i]));
      if (IsKeyDown(list[i])) {
        // Only a held Shift repeats its key-down.
        if (!down.insert(key).second) {
          EXPECT_EQ(key.first, 0x10u) << "event " << i;
          ++shiftRepeats;
        }
      } else {
        EXPECT_EQ(down.erase(key), 1u) << "event " << i << " releases a key that is not down";
      }
    }
    EXPECT_TRUE(down.empty());
  }
  // Slots 1 and 4 of I-DEAS MS: 68 - 64 and 72 - 70 events beyond one key-down
  // and one key-up for each character and each run of capitals.
  EXPECT_EQ(shiftRepeats, 6);
}

TEST(FactoryMappingsTest, V18ReleasesShiftBeforeTheLetterItShifted) {
  const KeyEventList list = Decoded(Slot("ProEngineer V.18", 1));
  // "Done": Shift down, D down, then Shift up while D is still down.
  ASSERT_GE(CountKeyEvents(list.data()), 3);
  EXPECT_EQ(list[0].virtualKey, 0x10u);
  EXPECT_EQ(list[1].virtualKey, 0x44u);
  EXPECT_EQ(list[2].message, kKeyUp);
  EXPECT_EQ(list[2].virtualKey, 0x10u);
}

TEST(FactoryMappingsTest, KnownNamesGoByButtonAndExactTextAndMayRepeat) {
  EXPECT_EQ(KnownSequenceName(1, "[Alt]vr"), "Repaint View");
  EXPECT_EQ(KnownSequenceName(1, "Done-Return[Enter]View[Enter]Repaint[Enter]Done-Return[Enter]"),
            "Repaint View");
  EXPECT_EQ(KnownSequenceName(8, "AU[Enter]"), "Autoscale");
  // Another button's known sequence is not this button's.
  EXPECT_EQ(KnownSequenceName(2, "[Alt]vr"), "");
  EXPECT_EQ(KnownSequenceName(1, "AU[Enter]"), "");
  EXPECT_EQ(KnownSequenceName(1, "[Alt]vR"), "");
  EXPECT_EQ(KnownSequenceName(1, "[Alt]v"), "");
  EXPECT_EQ(KnownSequenceName(5, ""), "");
  for (int button : {5, 6, 7, 9, 10, 11, 12}) {
    EXPECT_EQ(KnownSequenceName(button, "[Alt]vr"), "") << button;
  }
}

}  // namespace
}  // namespace testing
}  // namespace astro
