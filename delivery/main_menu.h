// The main window's menu: its commands, which of them the lock flags forbid, and
// the box that refuses a locked command.
#pragma once

#include <cstdint>

#include "config/settings_record.h"
#include "ui/startup_texts.h"

namespace astro {

enum MainMenuCommand {
  kMenuExit = 109,
  kMenuPanel = 110,
  kMenuAbout = 111,
  kMenuApplication = 118,
  kMenuKeyboard = 40001,
  kMenuSecurity = 40002,
  kMenuLanguage = 40003,
};

// Whether the settings' lock flags forbid the command (About and Security are
// never locked; unknown ids are not locked).
bool CommandLocked(const SettingsRecord& settings, int command);

// The five lockable menu items and whether each is to be greyed.
struct MenuItemLock {
  int command;
  bool greyed;
};
constexpr int kLockableCommands = 5;
void MenuItemLocks(const SettingsRecord& settings, MenuItemLock (&locks)[kLockableCommands]);

// The box that refuses a locked command, in the language (English for an index
// outside 0..4).
MessageBoxTexts LockedFunctionTexts(std::int32_t language);

// Resource ids of the dialogs that the menu opens in the user's language
// (English for an index outside 0..4).
int ApplicationDialogResource(std::int32_t language);
int KeyboardDialogResource(std::int32_t language);
// The keyboard mapping dialog's chooser of running programs.
int ProgramChooserResource(std::int32_t language);

}  // namespace astro
