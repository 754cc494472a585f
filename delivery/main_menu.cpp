#include "delivery/main_menu.h"

#include "ui/language_index.h"

namespace astro {
namespace {

struct LockedCommand {
  int command;
  std::int32_t SettingsRecord::*lock;
};

constexpr LockedCommand kLockedCommands[kLockableCommands] = {
    {kMenuPanel, &SettingsRecord::lockPanel},
    {kMenuExit, &SettingsRecord::lockExit},
    {kMenuApplication, &SettingsRecord::lockApplication},
    {kMenuKeyboard, &SettingsRecord::lockKeyboard},
    {kMenuLanguage, &SettingsRecord::lockLanguage},
};

// Windows-1252 bytes, by language: English, German, French, Spanish, Italian.
constexpr MessageBoxTexts kLockedFunction[kLanguageCount] = {
    {"Change in settings not permitted !\n", "Astrolab/AIRCAP"},
    {"Diese Einstellung darf vom Benutzer nicht ge\xE4ndert werden !\n", "AIRCAP"},
    {"Changements de programmation ne sont pas permis !\n", "AIRCAP"},
    {"Cambios de programaci\xF3n no est\xE1n permitidos !\n", "AIRCAP"},
    {"Modificazioni nelle configurazioni non sono permesse !\n", "AIRCAP"},
};

constexpr int kApplicationDialogs[kLanguageCount] = {164, 166, 165, 118, 167};
constexpr int kKeyboardDialogs[kLanguageCount] = {139, 141, 140, 142, 104};
constexpr int kProgramChoosers[kLanguageCount] = {175, 176, 177, 178, 179};

}  // namespace

bool CommandLocked(const SettingsRecord& settings, int command) {
  for (const LockedCommand& locked : kLockedCommands) {
    if (locked.command == command) return settings.*locked.lock != 0;
  }
  return false;
}

void MenuItemLocks(const SettingsRecord& settings, MenuItemLock (&locks)[kLockableCommands]) {
  for (int i = 0; i < kLockableCommands; ++i) {
    locks[i] = {kLockedCommands[i].command, settings.*kLockedCommands[i].lock != 0};
  }
}

MessageBoxTexts LockedFunctionTexts(std::int32_t language) {
  return kLockedFunction[LanguageIndex(language)];
}

int ApplicationDialogResource(std::int32_t language) {
  return kApplicationDialogs[LanguageIndex(language)];
}

int KeyboardDialogResource(std::int32_t language) {
  return kKeyboardDialogs[LanguageIndex(language)];
}

int ProgramChooserResource(std::int32_t language) {
  return kProgramChoosers[LanguageIndex(language)];
}

}  // namespace astro
