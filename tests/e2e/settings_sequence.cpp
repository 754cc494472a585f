#include "tests/e2e/settings_sequence.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "config/settings_record.h"
#include "config/settings_store.h"

namespace e2e {
namespace {

using astro::RegistryKey;
using astro::RuntimeFlags;
using astro::SettingsRecord;
using astro::ValueType;

constexpr const char* kMappingPath = "Software\\Brightfold\\Dimensa\\Astrolab\\Mapping A";
constexpr const char* kOtherMappingPath = "Software\\Brightfold\\Dimensa\\Astrolab\\mapping b";

std::string Upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

// Doubles as their bits: both runs print them identically whatever their printf.
std::string DoubleBits(double value) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  char text[24];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(bits));
  return text;
}

class Output {
 public:
  explicit Output(SettingsValueLister& lister) : lister_(lister) {}

  void Step(const std::string& name) { lines_.push_back("STEP " + name); }
  void Line(const std::string& line) { lines_.push_back(line); }

  void Values() {
    const auto values = lister_.ListSettingsValues();
    if (!values) {
      lines_.push_back("NO KEY");
      return;
    }
    for (const std::string& line : ValueLines(*values)) lines_.push_back(line);
  }

  void Record(const SettingsRecord& r, const RuntimeFlags& flags) {
    auto field = [&](const std::string& name, long long value) {
      lines_.push_back("RECORD " + name + " " + std::to_string(value));
    };
    for (int i = 0; i < 6; ++i) {
      lines_.push_back("RECORD axisScale" + std::to_string(i) + " " + DoubleBits(r.axisScale[i]));
      field("axisEnabled" + std::to_string(i), r.axisEnabled[i]);
    }
    field("buttonBeep", r.buttonBeep);
    field("modeChangeable", r.modeChangeable);
    field("buttonInfo", r.buttonInfo);
    field("buttonInfoX", r.buttonInfoX);
    field("buttonInfoY", r.buttonInfoY);
    field("nullRadius", r.nullRadius);
    field("hintviewAllowed", r.hintviewAllowed);
    for (int i = 0; i < astro::kGyrodiscCount; ++i) {
      field("gyrodiscLock" + std::to_string(i), r.gyrodiscLock[i]);
      field("gyrodiscButton" + std::to_string(i), r.gyrodiscButton[i]);
    }
    field("language", r.language);
    field("lockExit", r.lockExit);
    field("lockPanel", r.lockPanel);
    field("lockApplication", r.lockApplication);
    field("lockKeyboard", r.lockKeyboard);
    field("lockLanguage", r.lockLanguage);
    lines_.push_back("RECORD password " + Hex(std::string(r.password, sizeof r.password)));
    field("hintviewActive", flags.hintviewActive);
  }

  // A raw query into a buffer of size bytes: its result, the length reported and
  // the bytes (only on success: a failed query guarantees nothing about them).
  void Query(RegistryKey& key, const char* name, std::uint32_t size) {
    std::string buffer(size, '\0');
    std::uint32_t length = 0;
    const bool ok = key.Query(name, buffer.data(), size, &length);
    std::string line = std::string("RAW query ") + name + " " + std::to_string(size) +
                       (ok ? " ok " : " fails ") + std::to_string(length);
    if (ok) line += " " + Hex(buffer.substr(0, length));
    lines_.push_back(line);
  }

  std::vector<std::string> Take() { return std::move(lines_); }

 private:
  SettingsValueLister& lister_;
  std::vector<std::string> lines_;
};

void Load(astro::Registry& registry, Output& out, SettingsRecord& record, RuntimeFlags& flags) {
  astro::LoadSettings(registry, record, flags);
  out.Values();
  out.Record(record, flags);
}

void SetText(RegistryKey& key, const char* name, const std::string& text) {
  key.Set(name, ValueType::kString, text.data(), static_cast<std::uint32_t>(text.size()));
}

// Subkeys (the keyboard mappings live there) and the rules for deleting keys.
void Subkeys(astro::Registry& registry, Output& out) {
  out.Step("subkeys");
  bool created = false;
  const bool made = registry.CreateKey(kMappingPath, &created) != nullptr;
  out.Line(std::string("RAW create-subkey ") + (made ? "ok" : "fails") +
           (created ? " new" : " old"));
  registry.CreateKey(kOtherMappingPath, nullptr);
  registry.CreateKey(kMappingPath, &created);
  out.Line(std::string("RAW create-subkey-again ") + (created ? "new" : "old"));
  // Subkeys are listed through a key opened with full access, as the mapping list
  // does: the rights of OpenKey do not include listing subkeys on the system.
  const auto key = registry.CreateKey(astro::kSettingsKeyPath, nullptr);
  if (!key) {
    out.Line("RAW create fails");
    return;
  }
  for (std::uint32_t index = 0; index < 3; ++index) {
    char name[32] = "unchanged";
    const bool ok = key->EnumerateSubkey(index, name, sizeof name);
    out.Line("RAW subkey " + std::to_string(index) + (ok ? " ok " : " fails ") + Hex(name));
  }
  // A name that needs more room than given is refused.
  char small[5] = "....";
  const bool ok = key->EnumerateSubkey(0, small, sizeof small);
  out.Line(std::string("RAW subkey-small ") + (ok ? "ok " : "fails ") + Hex(small));
  out.Line(std::string("RAW delete-parent ") +
           (registry.DeleteKey(astro::kSettingsKeyPath) ? "ok" : "fails"));
  out.Line(std::string("RAW delete-subkey ") + (registry.DeleteKey(kMappingPath) ? "ok" : "fails"));
  out.Line(std::string("RAW delete-subkey-again ") +
           (registry.DeleteKey(kMappingPath) ? "ok" : "fails"));
  registry.DeleteKey(kOtherMappingPath);
}

}  // namespace

std::string Hex(const std::string& bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (unsigned char byte : bytes) {
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 15];
  }
  return hex.empty() ? "-" : hex;
}

std::vector<std::string> ValueLines(std::vector<StoredValue> values) {
  std::sort(values.begin(), values.end(), [](const StoredValue& a, const StoredValue& b) {
    return Upper(a.name) < Upper(b.name);
  });
  std::vector<std::string> lines;
  for (const StoredValue& value : values) {
    lines.push_back("VALUE " + value.name + " " + std::to_string(value.type) + " " +
                    std::to_string(value.bytes.size()) + " " + Hex(value.bytes));
  }
  return lines;
}

std::vector<std::string> RunSettingsSequence(astro::Registry& registry,
                                             SettingsValueLister& lister) {
  Output out(lister);

  out.Step("load without the key");
  SettingsRecord record;
  RuntimeFlags flags;
  record.language = 3;  // kept: nothing is read
  Load(registry, out, record, flags);

  out.Step("load from an empty key");
  registry.CreateKey(astro::kSettingsKeyPath, nullptr);
  record = SettingsRecord();
  Load(registry, out, record, flags);

  out.Step("save everything");
  record.axisScale[0] = 12.1825;
  record.axisEnabled[0] = 0;
  record.axisScale[1] = 0.5;
  record.axisScale[2] = -3.25;
  record.axisScale[5] = 0.0821;
  record.language = 2;
  record.lockExit = 1;
  record.lockKeyboard = -7;
  record.nullRadius = 10;
  record.gyrodiscLock[2] = 0;
  record.gyrodiscButton[2] = 7;
  record.buttonInfo = 1;
  record.buttonInfoX = -20;
  record.buttonInfoY = 640;
  std::strcpy(record.password, "geheim\xE4!");
  astro::SaveSettings(registry, record, 0);
  out.Values();

  out.Step("load back");
  SettingsRecord loaded;
  flags.hintviewActive = 1;
  Load(registry, out, loaded, flags);

  out.Step("save the position only");
  loaded.buttonInfoX = 333;
  loaded.buttonInfoY = 444;
  loaded.language = 4;  // not written
  astro::SaveSettings(registry, loaded, 1);
  out.Values();

  out.Step("odd values");
  {
    const auto key = registry.OpenKey(astro::kSettingsKeyPath);
    SetText(*key, "Language", "abc");
    SetText(*key, "Scaling B", "0 +2.5000");
    SetText(*key, "Scaling C", "1");
    SetText(*key, "Hintview", "0");
    SetText(*key, "Exit", "  -42xyz");
    SetText(*key, "NullRadius", std::string(255, '0') + "5");   // 256 bytes: read
    SetText(*key, "ButtonInfoX", std::string(256, ' ') + "5");  // 257 bytes: missing
    SetText(*key, "Password", std::string(21, 'p'));            // over 20 bytes: missing
    key->DeleteValue("Gyrodisc 3");
  }
  flags.hintviewActive = 1;
  Load(registry, out, loaded, flags);

  out.Step("password removed");
  {
    const auto key = registry.OpenKey(astro::kSettingsKeyPath);
    out.Line(std::string("RAW delete Password ") + (key->DeleteValue("Password") ? "ok" : "fails"));
    out.Line(std::string("RAW delete Password ") + (key->DeleteValue("Password") ? "ok" : "fails"));
  }
  SettingsRecord fresh;
  Load(registry, out, fresh, flags);

  out.Step("raw values");
  {
    const auto key = registry.CreateKey(astro::kSettingsKeyPath, nullptr);
    const char blob[] = {'\x01', '\0', '\xFF', 'a', '\0', '\0'};
    key->Set("Blob", ValueType::kBinary, blob, sizeof blob);
    key->Set("Empty", ValueType::kString, "", 0);
    SetText(*key, "Counted", std::string("zero\0", 5));
    // Names compare without regard to case.
    SetText(*key, "blob", "text now");
    out.Values();
    out.Query(*key, "BLOB", 8);
    out.Query(*key, "Blob", 7);
    out.Query(*key, "Empty", 4);
    out.Query(*key, "Counted", 5);
    out.Query(*key, "Counted", 4);
    out.Query(*key, "Missing", 16);
    key->DeleteValue("Blob");
    key->DeleteValue("Empty");
    key->DeleteValue("Counted");
  }

  Subkeys(registry, out);

  out.Step("save a default record");
  SettingsRecord defaults;
  std::strcpy(defaults.password, "kto5fenrw!");
  astro::SaveSettings(registry, defaults, 0);
  out.Values();
  return out.Take();
}

}  // namespace e2e
