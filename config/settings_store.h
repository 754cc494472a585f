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

// SaveSettings(registry, settings, 0) for every dialog but the one that sets a new
// password: the stored password is written back as it is, whatever the record
// holds (start-up puts the default password into the record until the settings
// are next loaded), read as LoadSettings reads it. Without the settings key the
// record's password is written.
void SaveSettingsKeepingPassword(Registry& registry, const SettingsRecord& settings);

}  // namespace astro
