// The main window's menu: each lock flag forbids exactly its own command, and the
// refusal speaks the user's language.
#include "delivery/main_menu.h"

#include <gtest/gtest.h>

#include <string>

#include "ui/tray_start.h"

namespace astro {
namespace {

struct LockCase {
  std::int32_t SettingsRecord::*flag;
  int command;
};

TEST(MainMenuTest, EachLockFlagGreysAndForbidsOnlyItsOwnCommand) {
  const LockCase cases[] = {
      {&SettingsRecord::lockExit, 109},        {&SettingsRecord::lockPanel, 110},
      {&SettingsRecord::lockApplication, 118}, {&SettingsRecord::lockKeyboard, 40001},
      {&SettingsRecord::lockLanguage, 40003},
  };
  const int allCommands[] = {109, 110, 111, 118, 40001, 40002, 40003};
  for (const LockCase& locked : cases) {
    SettingsRecord settings;
    settings.*locked.flag = 1;
    for (int command : allCommands) {
      EXPECT_EQ(CommandLocked(settings, command), command == locked.command)
          << "lock of " << locked.command << ", command " << command;
    }
    MenuItemLock locks[kLockableCommands];
    MenuItemLocks(settings, locks);
    int greyed = 0;
    for (const MenuItemLock& lock : locks) {
      EXPECT_EQ(lock.greyed, lock.command == locked.command) << lock.command;
      greyed += lock.greyed;
    }
    EXPECT_EQ(greyed, 1);
  }
}

TEST(MainMenuTest, NothingIsLockedByDefaultAndAboutAndSecurityNeverAre) {
  SettingsRecord settings;
  for (int command : {109, 110, 111, 118, 40001, 40002, 40003, 0, 12345}) {
    EXPECT_FALSE(CommandLocked(settings, command)) << command;
  }
  settings.lockExit = settings.lockPanel = settings.lockApplication = settings.lockKeyboard =
      settings.lockLanguage = 1;
  EXPECT_FALSE(CommandLocked(settings, 111));
  EXPECT_FALSE(CommandLocked(settings, 40002));
  // Any non-zero value locks.
  settings.lockPanel = -7;
  EXPECT_TRUE(CommandLocked(settings, 110));
  MenuItemLock locks[kLockableCommands];
  MenuItemLocks(settings, locks);
  int seen = 0;
  for (const MenuItemLock& lock : locks) {
    EXPECT_TRUE(lock.greyed) << lock.command;
    seen |= lock.command == 109     ? 1
            : lock.command == 110   ? 2
            : lock.command == 118   ? 4
            : lock.command == 40001 ? 8
            : lock.command == 40003 ? 16
                                    : 0;
  }
  EXPECT_EQ(seen, 31);
}

TEST(MainMenuTest, LockedFunctionBoxSpeaksTheLanguageInWindows1252) {
  EXPECT_EQ(std::string(LockedFunctionTexts(0).text), "Change in settings not permitted !\n");
  EXPECT_EQ(std::string(LockedFunctionTexts(0).caption), "Astrolab/AIRCAP");
  // "geändert": a-umlaut is the single byte E4.
  EXPECT_EQ(
      std::string(LockedFunctionTexts(1).text),
      std::string("Diese Einstellung darf vom Benutzer nicht ge") + '\xE4' + "ndert werden !\n");
  EXPECT_EQ(std::string(LockedFunctionTexts(2).text),
            "Changements de programmation ne sont pas permis !\n");
  EXPECT_EQ(
      std::string(LockedFunctionTexts(3).text),
      std::string("Cambios de programaci") + '\xF3' + "n no est" + '\xE1' + "n permitidos !\n");
  EXPECT_EQ(std::string(LockedFunctionTexts(4).text),
            "Modificazioni nelle configurazioni non sono permesse !\n");
  for (int language = 1; language <= 4; ++language) {
    EXPECT_EQ(std::string(LockedFunctionTexts(language).caption), "AIRCAP") << language;
  }
  for (int language : {-1, 5, 1000}) {
    EXPECT_EQ(std::string(LockedFunctionTexts(language).text),
              "Change in settings not permitted !\n");
  }
}

TEST(MainMenuTest, DialogResourcesFollowTheLanguage) {
  const int application[] = {164, 166, 165, 118, 167};
  const int keyboard[] = {139, 141, 140, 142, 104};
  const int chooser[] = {175, 176, 177, 178, 179};
  for (int language = 0; language < 5; ++language) {
    EXPECT_EQ(ApplicationDialogResource(language), application[language]);
    EXPECT_EQ(KeyboardDialogResource(language), keyboard[language]);
    EXPECT_EQ(ProgramChooserResource(language), chooser[language]);
  }
  EXPECT_EQ(ApplicationDialogResource(7), 164);
  EXPECT_EQ(KeyboardDialogResource(-2), 139);
  EXPECT_EQ(ProgramChooserResource(5), 175);
}

// A notification area that refuses the first `refusals` adds; with `lateAnswers`
// it takes the icon at the first add although that add reports a failure.
class FakeTray : public TrayIconPort {
 public:
  explicit FakeTray(int refusals, bool lateAnswers = false)
      : refusals_(refusals), lateAnswers_(lateAnswers) {}
  bool AddIcon() override {
    ++adds;
    if (lateAnswers_) iconThere_ = true;
    if (adds > refusals_) iconThere_ = true;
    return adds > refusals_;
  }
  bool ModifyIcon() override {
    ++modifies;
    return iconThere_;
  }
  void Wait(unsigned milliseconds) override { waits.push_back(milliseconds); }

  int adds = 0;
  int modifies = 0;
  std::vector<unsigned> waits;

 private:
  int refusals_;
  bool lateAnswers_;
  bool iconThere_ = false;
};

TEST(TrayStartTest, RefusedAddIsRetriedOnceASecondForThirtySeconds) {
  FakeTray atOnce(0);
  EXPECT_TRUE(AddTrayIconPatiently(atOnce));
  EXPECT_EQ(atOnce.adds, 1);
  EXPECT_TRUE(atOnce.waits.empty());

  FakeTray late(5);
  EXPECT_TRUE(AddTrayIconPatiently(late));
  EXPECT_EQ(late.adds, 6);
  EXPECT_EQ(late.waits, std::vector<unsigned>(5, 1000u));

  // Taken at the thirtieth second: still in time.
  FakeTray lastChance(30);
  EXPECT_TRUE(AddTrayIconPatiently(lastChance));
  EXPECT_EQ(lastChance.adds, 31);

  FakeTray never(1000);
  EXPECT_FALSE(AddTrayIconPatiently(never));
  EXPECT_EQ(never.adds, 31);
  EXPECT_EQ(never.modifies, 31);  // each refusal is checked once
  EXPECT_EQ(never.waits, std::vector<unsigned>(30, 1000u));
}

TEST(TrayStartTest, AnAddThatTimedOutButPlacedTheIconCounts) {
  // A busy shell took the icon and answered too late: every later add would be
  // refused (the icon exists), and the driver would give up after 30 s leaving
  // its icon behind. The change of the icon finds it at once.
  FakeTray busy(1000, true);
  EXPECT_TRUE(AddTrayIconPatiently(busy));
  EXPECT_EQ(busy.adds, 1);
  EXPECT_EQ(busy.modifies, 1);
  EXPECT_TRUE(busy.waits.empty());
}

}  // namespace
}  // namespace astro
