#include "config/settings_store.h"

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <string_view>

#include "config/password_scrambling.h"
#include "config/settings_text.h"

namespace astro {
namespace {

constexpr std::uint32_t kValueBuffer = 256;
constexpr char kAxisLetters[] = "XYZABC";

struct IntegerValue {
  const char* name;
  std::int32_t SettingsRecord::*field;
  std::int32_t fallback;  // when the value is missing at load
};

// In the order of both reading and writing.
constexpr IntegerValue kLockValues[] = {
    {"Exit", &SettingsRecord::lockExit, 0},
    {"Panel", &SettingsRecord::lockPanel, 0},
    {"Keyboard", &SettingsRecord::lockKeyboard, 0},
    {"Application", &SettingsRecord::lockApplication, 0},
    {"SecLang", &SettingsRecord::lockLanguage, 0},
    {"Language", &SettingsRecord::language, 0},
};

constexpr IntegerValue kHintview = {"Hintview", &SettingsRecord::hintviewAllowed, 1};
constexpr IntegerValue kNullRadius = {"NullRadius", &SettingsRecord::nullRadius, 0};
constexpr IntegerValue kButtonBeep = {"ButtonBeep", &SettingsRecord::buttonBeep, 1};
constexpr IntegerValue kModeChangeable = {"ModeChangeable", &SettingsRecord::modeChangeable, 1};
constexpr IntegerValue kButtonInfo = {"ButtonInfo", &SettingsRecord::buttonInfo, 0};
constexpr IntegerValue kButtonInfoX = {"ButtonInfoX", &SettingsRecord::buttonInfoX, 100};
constexpr IntegerValue kButtonInfoY = {"ButtonInfoY", &SettingsRecord::buttonInfoY, 100};

std::string ScalingName(int axis) {
  return std::string("Scaling ") + kAxisLetters[axis];
}
std::string GyrodiscName(int index) {
  return "Gyrodisc " + std::to_string(index + 1);
}

// One value's text as read: the buffer is zeroed before every query, because a
// stored text carries no terminator of its own. One byte more than the query may
// fill keeps a terminator behind a value of the full 256 bytes.
class ValueReader {
 public:
  explicit ValueReader(RegistryKey& key) : key_(key) {}

  bool Read(const char* name) {
    std::memset(buffer_, 0, sizeof buffer_);
    return key_.Query(name, buffer_, kValueBuffer, nullptr);
  }
  std::string_view Text() const { return std::string_view(buffer_); }

 private:
  RegistryKey& key_;
  char buffer_[kValueBuffer + 1];
};

void LoadInteger(ValueReader& reader, const IntegerValue& value, SettingsRecord& settings) {
  settings.*value.field = reader.Read(value.name) ? ParseDecimal(reader.Text()) : value.fallback;
}

void LoadPassword(RegistryKey& key, SettingsRecord& settings) {
  char stored[kPasswordField];
  std::memset(stored, 0, sizeof stored);
  if (key.Query("Password", stored, sizeof stored, nullptr)) {
    // The text ends at its first zero byte, and the field has room for 19 characters.
    char scrambled[kPasswordField] = {};
    for (int i = 0; i < kPasswordMaxLength && stored[i] != '\0'; ++i) scrambled[i] = stored[i];
    const PasswordBytes plain = UnscramblePassword(scrambled);
    std::memcpy(settings.password, plain.data(), kPasswordField);
    return;
  }
  // Missing or too long: the default password, written back as all 20 bytes of the
  // scrambled buffer (the scrambled characters, then zeros).
  std::memset(settings.password, 0, kPasswordField);
  std::memcpy(settings.password, kDefaultPassword, sizeof kDefaultPassword);
  const PasswordBytes scrambled = ScramblePassword(kDefaultPassword);
  key.Set("Password", ValueType::kString, scrambled.data(), kPasswordField);
}

void WriteText(RegistryKey& key, const char* name, const std::string& text) {
  key.Set(name, ValueType::kString, text.data(), static_cast<std::uint32_t>(text.size()));
}

void SaveInteger(RegistryKey& key, const IntegerValue& value, const SettingsRecord& settings) {
  WriteText(key, value.name, FormatDecimal(settings.*value.field));
}

void SavePassword(RegistryKey& key, const SettingsRecord& settings) {
  // A password that would come back shortened is not written at all: the user
  // keeps the password that is stored rather than one that nobody typed.
  if (!PasswordStorable(settings.password)) return;
  const PasswordBytes scrambled = ScramblePassword(settings.password);
  key.Set("Password", ValueType::kString, scrambled.data(),
          static_cast<std::uint32_t>(std::strlen(scrambled.data())));
}

}  // namespace

void LoadSettings(Registry& registry, SettingsRecord& settings, RuntimeFlags& flags) {
  const auto key = registry.OpenKey(kSettingsKeyPath);
  if (!key) return;
  ValueReader reader(*key);
  for (const IntegerValue& value : kLockValues) LoadInteger(reader, value, settings);
  LoadPassword(*key, settings);
  for (int axis = 0; axis < 6; ++axis) {
    if (reader.Read(ScalingName(axis).c_str())) {
      ScanSwitchAndFactor(reader.Text(), &settings.axisEnabled[axis], &settings.axisScale[axis]);
    } else {
      settings.axisEnabled[axis] = 1;
      settings.axisScale[axis] = 1.0;
    }
  }
  for (int i = 0; i < kGyrodiscCount; ++i) {
    if (reader.Read(GyrodiscName(i).c_str())) {
      ScanIntegerPair(reader.Text(), &settings.gyrodiscLock[i], &settings.gyrodiscButton[i]);
    } else {
      settings.gyrodiscLock[i] = 1;  // the button number keeps its value
    }
  }
  LoadInteger(reader, kHintview, settings);
  if (settings.hintviewAllowed == 0) flags.hintviewActive = 0;
  for (const IntegerValue* value :
       {&kNullRadius, &kButtonBeep, &kButtonInfo, &kButtonInfoX, &kButtonInfoY, &kModeChangeable}) {
    LoadInteger(reader, *value, settings);
  }
}

void SaveSettings(Registry& registry, const SettingsRecord& settings, int positionOnly) {
  const auto key = registry.CreateKey(kSettingsKeyPath, nullptr);
  if (!key) return;
  if (positionOnly == 0) {
    SavePassword(*key, settings);
    for (const IntegerValue& value : kLockValues) SaveInteger(*key, value, settings);
    for (int axis = 0; axis < 6; ++axis) {
      WriteText(*key, ScalingName(axis).c_str(),
                FormatSwitchAndFactor(settings.axisEnabled[axis], settings.axisScale[axis]));
    }
    for (int i = 0; i < kGyrodiscCount; ++i) {
      WriteText(*key, GyrodiscName(i).c_str(),
                FormatIntegerPair(settings.gyrodiscLock[i], settings.gyrodiscButton[i]));
    }
    for (const IntegerValue* value : {&kHintview, &kNullRadius, &kButtonBeep, &kModeChangeable}) {
      SaveInteger(*key, *value, settings);
    }
  }
  for (const IntegerValue* value : {&kButtonInfo, &kButtonInfoX, &kButtonInfoY}) {
    SaveInteger(*key, *value, settings);
  }
}

void SaveSettingsGuardingLock(Registry& registry, const SettingsRecord& settings,
                              LockChange change) {
  SettingsRecord record = settings;
  if (const auto key = registry.OpenKey(kSettingsKeyPath)) {
    if (change != LockChange::kPassword) LoadPassword(*key, record);
    if (change != LockChange::kFlags) {
      ValueReader reader(*key);
      for (const IntegerValue& value : kLockValues) {
        if (value.field == &SettingsRecord::language) continue;  // not part of the lock
        if (reader.Read(value.name)) record.*value.field = ParseDecimal(reader.Text());
      }
    }
  }
  SaveSettings(registry, record, 0);
}

}  // namespace astro
