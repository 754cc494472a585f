// Loading and saving the settings record over the registry: defaults, partial
// texts, over-long values, the password repair, and the exact values written.
#include "config/settings_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "config/memory_registry.h"
#include "config/password_scrambling.h"
#include "delivery/delivery_context.h"

namespace astro {
namespace {

const std::string kKey = kSettingsKeyPath;

std::string Scrambled(const char* text, std::size_t length) {
  return std::string(ScramblePassword(text).data(), length);
}

// A record whose every field differs from its default, to see what a load keeps.
SettingsRecord UnusualRecord() {
  SettingsRecord r;
  for (int i = 0; i < 6; ++i) {
    r.axisScale[i] = 3.0 + i;
    r.axisEnabled[i] = 0;
  }
  r.buttonBeep = 0;
  r.modeChangeable = 0;
  r.buttonInfo = 1;
  r.buttonInfoX = 7;
  r.buttonInfoY = 8;
  r.nullRadius = 33;
  r.hintviewAllowed = 0;
  for (int i = 0; i < kGyrodiscCount; ++i) {
    r.gyrodiscLock[i] = 0;
    r.gyrodiscButton[i] = 20 + i;
  }
  r.language = 3;
  r.lockExit = r.lockPanel = r.lockApplication = r.lockKeyboard = r.lockLanguage = 1;
  std::strcpy(r.password, "secret");
  return r;
}

void ExpectDefaults(const SettingsRecord& r, const SettingsRecord& before) {
  const SettingsRecord d;
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(r.axisEnabled[i], 1) << i;
    EXPECT_EQ(r.axisScale[i], 1.0) << i;
  }
  EXPECT_EQ(r.buttonBeep, d.buttonBeep);
  EXPECT_EQ(r.modeChangeable, d.modeChangeable);
  EXPECT_EQ(r.buttonInfo, d.buttonInfo);
  EXPECT_EQ(r.buttonInfoX, 100);
  EXPECT_EQ(r.buttonInfoY, 100);
  EXPECT_EQ(r.nullRadius, 0);
  EXPECT_EQ(r.hintviewAllowed, 1);
  for (int i = 0; i < kGyrodiscCount; ++i) {
    EXPECT_EQ(r.gyrodiscLock[i], 1);
    EXPECT_EQ(r.gyrodiscButton[i], before.gyrodiscButton[i]);  // no default for the button
  }
  EXPECT_EQ(r.language, 0);
  EXPECT_EQ(r.lockExit + r.lockPanel + r.lockApplication + r.lockKeyboard + r.lockLanguage, 0);
  EXPECT_STREQ(r.password, kDefaultPassword);
}

class SettingsStoreTest : public ::testing::Test {
 protected:
  void Load() { LoadSettings(registry, settings, flags); }
  void Put(const std::string& name, const std::string& bytes) { registry.Put(kKey, name, bytes); }

  MemoryRegistry registry;
  SettingsRecord settings;
  RuntimeFlags flags;
};

TEST_F(SettingsStoreTest, WithoutTheKeyTheRecordKeepsWhatItHolds) {
  settings = UnusualRecord();
  flags.hintviewActive = 1;
  Load();
  const SettingsRecord expected = UnusualRecord();
  EXPECT_EQ(std::memcmp(&settings, &expected, sizeof settings), 0);
  EXPECT_EQ(flags.hintviewActive, 1);
  EXPECT_FALSE(registry.HasKey(kKey));  // a load never creates the key
  EXPECT_EQ(registry.WriteCount(), 0);
}

TEST_F(SettingsStoreTest, FirstRunKeepsTheInitialValues) {
  Load();
  const SettingsRecord initial;
  EXPECT_EQ(std::memcmp(&settings, &initial, sizeof settings), 0);
}

TEST_F(SettingsStoreTest, EmptyKeyGivesDefaultsAndWritesTheDefaultPasswordAsTwentyBytes) {
  registry.PutKey(kKey);
  settings = UnusualRecord();
  const SettingsRecord before = settings;
  flags.hintviewActive = 1;
  Load();
  ExpectDefaults(settings, before);
  EXPECT_EQ(flags.hintviewActive, 1);  // "Hintview" defaults to 1
  EXPECT_EQ(registry.WriteCount(), 1);
  EXPECT_EQ(registry.ValueNames(kKey), std::vector<std::string>{"Password"});
  EXPECT_EQ(registry.TypeOf(kKey, "Password"), ValueType::kString);
  const std::string stored = *registry.Bytes(kKey, "Password");
  ASSERT_EQ(stored.size(), 20u);
  EXPECT_EQ(stored, Scrambled(kDefaultPassword, 20));
  EXPECT_EQ(stored.substr(10), std::string(10, '\0'));
}

TEST_F(SettingsStoreTest, ValuesAreReadInTheirOrder) {
  registry.PutKey(kKey);
  Load();
  const std::vector<std::string> expected = {
      "Query Exit",          "Query Panel",      "Query Keyboard",    "Query Application",
      "Query SecLang",       "Query Language",   "Query Password",    "Query Scaling X",
      "Query Scaling Y",     "Query Scaling Z",  "Query Scaling A",   "Query Scaling B",
      "Query Scaling C",     "Query Gyrodisc 1", "Query Gyrodisc 2",  "Query Gyrodisc 3",
      "Query Gyrodisc 4",    "Query Gyrodisc 5", "Query Hintview",    "Query NullRadius",
      "Query ButtonBeep",    "Query ButtonInfo", "Query ButtonInfoX", "Query ButtonInfoY",
      "Query ModeChangeable"};
  EXPECT_EQ(registry.Entries("Query "), expected);
  // The password repair happens right after its query.
  const auto& journal = registry.journal;
  auto query = std::find(journal.begin(), journal.end(), "Query Password");
  ASSERT_NE(query, journal.end());
  EXPECT_EQ(*(query + 1), "Set Password");
}

TEST_F(SettingsStoreTest, StoredValuesAreRead) {
  Put("Exit", "1");
  Put("Panel", " -2");
  Put("Keyboard", "3x");
  Put("Application", "4");
  Put("SecLang", "5");
  Put("Language", "2");
  Put("Password", Scrambled("secret", 6));
  Put("Scaling B", "0 +2.5000");
  Put("Gyrodisc 1", "0 7");
  Put("NullRadius", "15");
  Put("ButtonBeep", "0");
  Put("ButtonInfo", "1");
  Put("ButtonInfoX", "-20");
  Put("ButtonInfoY", "640");
  Put("ModeChangeable", "2");
  Load();
  EXPECT_EQ(settings.lockExit, 1);
  EXPECT_EQ(settings.lockPanel, -2);
  EXPECT_EQ(settings.lockKeyboard, 3);
  EXPECT_EQ(settings.lockApplication, 4);
  EXPECT_EQ(settings.lockLanguage, 5);
  EXPECT_EQ(settings.language, 2);
  EXPECT_STREQ(settings.password, "secret");
  EXPECT_EQ(settings.axisEnabled[kAxisB], 0);
  EXPECT_EQ(settings.axisScale[kAxisB], 2.5);
  EXPECT_EQ(settings.axisEnabled[kAxisA], 1);
  EXPECT_EQ(settings.gyrodiscLock[0], 0);
  EXPECT_EQ(settings.gyrodiscButton[0], 7);
  EXPECT_EQ(settings.nullRadius, 15);
  EXPECT_EQ(settings.buttonBeep, 0);
  EXPECT_EQ(settings.buttonInfo, 1);
  EXPECT_EQ(settings.buttonInfoX, -20);
  EXPECT_EQ(settings.buttonInfoY, 640);
  EXPECT_EQ(settings.modeChangeable, 2);
  EXPECT_EQ(registry.WriteCount(), 0);  // the password was there
}

TEST_F(SettingsStoreTest, MissingGyrodiscKeepsItsButtonAndPartialTextsLeaveTheRestAlone) {
  registry.PutKey(kKey);
  settings.gyrodiscLock[2] = 0;
  settings.gyrodiscButton[2] = 8;
  settings.gyrodiscButton[3] = 9;
  settings.axisScale[kAxisY] = 4.0;
  settings.axisEnabled[kAxisZ] = 0;
  settings.axisScale[kAxisZ] = 5.0;
  Put("Gyrodisc 4", "0");
  Put("Scaling Y", "0");
  Put("Scaling Z", "none");
  Load();
  EXPECT_EQ(settings.gyrodiscLock[2], 1);
  EXPECT_EQ(settings.gyrodiscButton[2], 8);
  EXPECT_EQ(settings.gyrodiscLock[3], 0);
  EXPECT_EQ(settings.gyrodiscButton[3], 9);
  EXPECT_EQ(settings.axisEnabled[kAxisY], 0);
  EXPECT_EQ(settings.axisScale[kAxisY], 4.0);
  EXPECT_EQ(settings.axisEnabled[kAxisZ], 0);
  EXPECT_EQ(settings.axisScale[kAxisZ], 5.0);
}

TEST_F(SettingsStoreTest, TheBufferIsZeroedBeforeEveryQuery) {
  // Stored texts carry no terminator: a short value read after a longer one must not
  // pick up the longer one's tail.
  Put("Exit", "12345");
  Put("Panel", "7");
  Put("Scaling X", "1  +3.0000");
  Put("Scaling Y", "0");
  settings.axisScale[kAxisY] = 6.0;
  Load();
  EXPECT_EQ(settings.lockPanel, 7);
  EXPECT_EQ(settings.axisScale[kAxisX], 3.0);
  EXPECT_EQ(settings.axisEnabled[kAxisY], 0);
  EXPECT_EQ(settings.axisScale[kAxisY], 6.0);
}

TEST_F(SettingsStoreTest, ValuesOfTheFullBufferAreReadAndLongerOnesAreMissing) {
  Put("NullRadius", std::string(255, '0') + "5");   // 256 bytes, no terminator
  Put("ButtonInfoX", std::string(256, ' ') + "5");  // 257 bytes
  Put("Exit", "1");
  Load();
  EXPECT_EQ(settings.nullRadius, 5);
  EXPECT_EQ(settings.buttonInfoX, 100);
}

TEST_F(SettingsStoreTest, NonNumericLanguageReadsAsEnglish) {
  settings.language = 4;
  Put("Language", "abc");
  Load();
  EXPECT_EQ(settings.language, 0);
}

TEST_F(SettingsStoreTest, HintviewStoredAsZeroAlsoSwitchesHintviewOff) {
  flags.hintviewActive = 1;
  Put("Hintview", "0");
  Load();
  EXPECT_EQ(settings.hintviewAllowed, 0);
  EXPECT_EQ(flags.hintviewActive, 0);

  flags.hintviewActive = 1;
  Put("Hintview", "1");
  Load();
  EXPECT_EQ(settings.hintviewAllowed, 1);
  EXPECT_EQ(flags.hintviewActive, 1);
}

TEST_F(SettingsStoreTest, OverlongPasswordIsReplacedByTheDefault) {
  Put("Password", Scrambled("abcdefghijklmnopqrs", 19) + "xy");  // 21 bytes
  std::strcpy(settings.password, "old");
  Load();
  EXPECT_STREQ(settings.password, kDefaultPassword);
  EXPECT_EQ(*registry.Bytes(kKey, "Password"), Scrambled(kDefaultPassword, 20));
}

TEST_F(SettingsStoreTest, PasswordOfTwentyBytesKeepsItsFirstNineteen) {
  Put("Password", Scrambled("abcdefghijklmnopqrs", 19) + "z");  // 20 bytes, no zero
  Load();
  EXPECT_STREQ(settings.password, "abcdefghijklmnopqrs");
  // A stored zero ends the text.
  Put("Password", Scrambled("abc", 3) + std::string("\0zz", 3));
  Load();
  EXPECT_STREQ(settings.password, "abc");
  EXPECT_EQ(std::memcmp(settings.password + 3, std::string(17, '\0').data(), 17), 0);
}

class SettingsSaveTest : public SettingsStoreTest {};

TEST_F(SettingsSaveTest, EverythingIsWrittenInOrderWithItsExactText) {
  settings.axisEnabled[kAxisB] = 0;
  settings.axisScale[kAxisB] = 12.1825;
  std::strcpy(settings.password, "open");
  SaveSettings(registry, settings, 0);
  const std::vector<std::string> order = {
      "Set Password",    "Set Exit",           "Set Panel",      "Set Keyboard",
      "Set Application", "Set SecLang",        "Set Language",   "Set Scaling X",
      "Set Scaling Y",   "Set Scaling Z",      "Set Scaling A",  "Set Scaling B",
      "Set Scaling C",   "Set Gyrodisc 1",     "Set Gyrodisc 2", "Set Gyrodisc 3",
      "Set Gyrodisc 4",  "Set Gyrodisc 5",     "Set Hintview",   "Set NullRadius",
      "Set ButtonBeep",  "Set ModeChangeable", "Set ButtonInfo", "Set ButtonInfoX",
      "Set ButtonInfoY"};
  EXPECT_EQ(registry.Entries("Set "), order);
  EXPECT_EQ(registry.WriteCount(), 25);
  EXPECT_EQ(registry.Bytes(kKey, "Password"), Scrambled("open", 4));
  EXPECT_EQ(registry.Bytes(kKey, "Exit"), std::string("0"));
  EXPECT_EQ(registry.Bytes(kKey, "Scaling X"), std::string("1  +1.0000"));
  EXPECT_EQ(registry.Bytes(kKey, "Scaling B"), std::string("0 +12.1825"));
  EXPECT_EQ(registry.Bytes(kKey, "Gyrodisc 1"), std::string("1 12"));
  EXPECT_EQ(registry.Bytes(kKey, "Gyrodisc 5"), std::string("1 6"));
  EXPECT_EQ(registry.Bytes(kKey, "ButtonInfoX"), std::string("100"));
  for (const auto& name : registry.ValueNames(kKey)) {
    EXPECT_EQ(registry.TypeOf(kKey, name), ValueType::kString) << name;
  }
}

TEST_F(SettingsSaveTest, PositionOnlyWritesTheThreeWindowValues) {
  registry.Put(kKey, "Exit", "1");
  settings.buttonInfo = 0;
  settings.buttonInfoX = 321;
  settings.buttonInfoY = -4;
  settings.lockExit = 0;
  SaveSettings(registry, settings, 1);
  EXPECT_EQ(registry.Entries("Set "),
            (std::vector<std::string>{"Set ButtonInfo", "Set ButtonInfoX", "Set ButtonInfoY"}));
  EXPECT_EQ(registry.Bytes(kKey, "ButtonInfoX"), std::string("321"));
  EXPECT_EQ(registry.Bytes(kKey, "ButtonInfoY"), std::string("-4"));
  EXPECT_EQ(registry.Bytes(kKey, "Exit"), std::string("1"));
  EXPECT_FALSE(registry.Bytes(kKey, "Password").has_value());
}

TEST_F(SettingsSaveTest, PasswordThatWouldBeCutIsNotWritten) {
  registry.Put(kKey, "Password", Scrambled("keep", 4));
  std::strcpy(settings.password,
              "ab\xAC"
              "cd");  // 0xAC + 'T' = 256 at position 2
  settings.lockPanel = 1;
  SaveSettings(registry, settings, 0);
  EXPECT_EQ(registry.Bytes(kKey, "Password"), Scrambled("keep", 4));
  EXPECT_EQ(registry.Bytes(kKey, "Panel"), std::string("1"));
  EXPECT_EQ(registry.WriteCount(), 24);
  // A load brings back the password that was kept.
  Load();
  EXPECT_STREQ(settings.password, "keep");
}

TEST_F(SettingsSaveTest, DialogsChangeOnlyTheirOwnPartOfTheLock) {
  // Start-up put the default password into the record; the user's is stored. An
  // administrator locked Exit and unlocked Panel in the registry after the record
  // was loaded; the record still holds the other way round.
  const auto storeLock = [this] {
    registry.Put(kKey, "Password", Scrambled("mine123", 7));
    registry.Put(kKey, "Exit", "1");
    registry.Put(kKey, "Panel", "0");
    registry.OpenKey(kKey.c_str())->DeleteValue("Keyboard");
  };
  std::strcpy(settings.password, kDefaultPassword);
  settings.lockExit = 0;
  settings.lockPanel = 1;
  settings.lockKeyboard = 1;
  settings.language = 3;

  // Panel and language dialog: the lock stays as stored; a flag not stored comes
  // from the record, and the language, which is not part of the lock, too.
  storeLock();
  SaveSettingsGuardingLock(registry, settings, LockChange::kNothing);
  EXPECT_EQ(registry.Bytes(kKey, "Password"), Scrambled("mine123", 7));
  EXPECT_EQ(registry.Bytes(kKey, "Exit"), std::string("1"));
  EXPECT_EQ(registry.Bytes(kKey, "Panel"), std::string("0"));
  EXPECT_EQ(registry.Bytes(kKey, "Keyboard"), std::string("1"));
  EXPECT_EQ(registry.Bytes(kKey, "Language"), std::string("3"));
  EXPECT_STREQ(settings.password, kDefaultPassword);  // the record itself is left alone
  EXPECT_EQ(settings.lockExit, 0);

  // New password: the record's password, the stored flags.
  storeLock();
  std::strcpy(settings.password, "newpass");
  SaveSettingsGuardingLock(registry, settings, LockChange::kPassword);
  EXPECT_EQ(registry.Bytes(kKey, "Password"), Scrambled("newpass", 7));
  EXPECT_EQ(registry.Bytes(kKey, "Exit"), std::string("1"));
  EXPECT_EQ(registry.Bytes(kKey, "Panel"), std::string("0"));

  // Security dialog: the record's flags, off as well as on; the stored password.
  storeLock();
  SaveSettingsGuardingLock(registry, settings, LockChange::kFlags);
  EXPECT_EQ(registry.Bytes(kKey, "Password"), Scrambled("mine123", 7));
  EXPECT_EQ(registry.Bytes(kKey, "Exit"), std::string("0"));
  EXPECT_EQ(registry.Bytes(kKey, "Panel"), std::string("1"));

  // No settings key yet: everything from the record.
  MemoryRegistry firstRun;
  std::strcpy(settings.password, "first1");
  SaveSettingsGuardingLock(firstRun, settings, LockChange::kNothing);
  EXPECT_EQ(firstRun.Bytes(kKey, "Password"), Scrambled("first1", 6));
  EXPECT_EQ(firstRun.Bytes(kKey, "Panel"), std::string("1"));
}

TEST_F(SettingsSaveTest, NoKeyNoWrites) {
  registry.failCreate = true;
  SaveSettings(registry, settings, 0);
  SaveSettings(registry, settings, 1);
  EXPECT_EQ(registry.WriteCount(), 0);
  EXPECT_FALSE(registry.HasKey(kKey));
}

TEST_F(SettingsSaveTest, SavedRecordLoadsBackTheSame) {
  SettingsRecord saved = UnusualRecord();
  saved.axisScale[kAxisC] = 0.0821;  // four decimals survive
  std::strcpy(saved.password, "1234567890123456789");
  SaveSettings(registry, saved, 0);
  Load();
  EXPECT_EQ(std::memcmp(&settings, &saved, sizeof settings), 0);
  // A second save writes the same bytes.
  MemoryRegistry again;
  SaveSettings(again, settings, 0);
  for (const auto& name : registry.ValueNames(kKey)) {
    EXPECT_EQ(again.Bytes(kKey, name), registry.Bytes(kKey, name)) << name;
  }
}

}  // namespace
}  // namespace astro
