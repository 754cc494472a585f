// Moving the settings record to and from its registry key: every value is a text
// of type REG_SZ under kSettingsKeyPath, stored without a terminator; the password
// is stored scrambled.
#pragma once

#include "config/registry.h"
#include "config/settings_record.h"

namespace astro {

// Reads every value of the settings key into the record. Without the key the record
// keeps what it holds; a value that is missing, or longer than its read buffer,
// takes its default. Only a missing or over-long "Password" is repaired in the
// registry (the default password, scrambled, 20 bytes). "Hintview" read as 0 also
// switches Hintview off in the run-time flags.
void LoadSettings(Registry& registry, SettingsRecord& settings, RuntimeFlags& flags);

// Writes the record (creating the key): everything when positionOnly is 0, else only
// "ButtonInfo", "ButtonInfoX" and "ButtonInfoY". A password that cannot be stored
// whole (see PasswordStorable) is not written: the stored one stays as it is.
void SaveSettings(Registry& registry, const SettingsRecord& settings, int positionOnly);

// What a dialog's save may change of the lock. The rest of it is written back as
// it is stored, read as LoadSettings reads it, so that a dialog opened before a
// change made elsewhere (the security dialog, another instance of the driver, an
// administrator's registry edit) cannot undo that change: start-up also puts the
// default password into the record until the settings are next loaded.
enum class LockChange {
  kNothing,   // control panel, language dialog: stored password and lock flags
  kPassword,  // new-password dialog: the record's password, the stored flags
  kFlags,     // security dialog: the record's flags, the stored password
};

// SaveSettings(registry, settings, 0) with the parts of the lock that change does
// not allow taken from the registry. A part that is not stored (no settings key,
// or a flag's value missing) is written from the record.
void SaveSettingsGuardingLock(Registry& registry, const SettingsRecord& settings,
                              LockChange change);

}  // namespace astro
