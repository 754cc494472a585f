// Fills the settings key with arbitrary values and loads it, checking the record
// against the reading rules worked out again with the C library in the "C" locale
// (strtoll for atoi, strtod for "%lf", snprintf for the written forms). Every value
// also goes straight to the text readers, whatever its length, and the writers
// also get numbers taken bit for bit from the input, NaNs included. Then the record
// must survive saving: loaded again it is the same up to the factors' four
// decimals, but for an axis whose text outgrows the read buffer, which falls back
// to its defaults.
//
// Input: byte 0 separates the values; bytes 1 to 4 (little-endian) tell which of
// the 25 values exist (bit n for the n-th in reading order), bit 30 starts from a
// record unlike the defaults, bit 31 leaves the key out. The rest, split at the
// separator, gives the existing values their bytes in order; an existing value
// left without a piece is missing.
#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/memory_registry.h"
#include "config/settings_store.h"
#include "config/settings_text.h"

namespace {

using namespace astro;

void Check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "settings_text_fuzz: %s\n", what);
  std::abort();
}

constexpr std::size_t kValueBuffer = 256;
constexpr std::size_t kPasswordBuffer = 20;
constexpr char kPlainDefault[] = "kto5fenrw!";
constexpr char kScrambleKey[] = "ASTROLABASTROLABASTR";

constexpr int kValueCount = 25;
constexpr int kPassword = 6;
constexpr int kFirstScaling = 7;
constexpr int kFirstGyrodisc = 13;
const char* const kNames[kValueCount] = {
    "Exit",       "Panel",      "Keyboard",    "Application", "SecLang",
    "Language",   "Password",   "Scaling X",   "Scaling Y",   "Scaling Z",
    "Scaling A",  "Scaling B",  "Scaling C",   "Gyrodisc 1",  "Gyrodisc 2",
    "Gyrodisc 3", "Gyrodisc 4", "Gyrodisc 5",  "Hintview",    "NullRadius",
    "ButtonBeep", "ButtonInfo", "ButtonInfoX", "ButtonInfoY", "ModeChangeable"};

struct IntegerValue {
  int index;
  std::int32_t SettingsRecord::*field;
  std::int32_t whenMissing;
};
const IntegerValue kIntegers[] = {
    {0, &SettingsRecord::lockExit, 0},         {1, &SettingsRecord::lockPanel, 0},
    {2, &SettingsRecord::lockKeyboard, 0},     {3, &SettingsRecord::lockApplication, 0},
    {4, &SettingsRecord::lockLanguage, 0},     {5, &SettingsRecord::language, 0},
    {18, &SettingsRecord::hintviewAllowed, 1}, {19, &SettingsRecord::nullRadius, 0},
    {20, &SettingsRecord::buttonBeep, 1},      {21, &SettingsRecord::buttonInfo, 0},
    {22, &SettingsRecord::buttonInfoX, 100},   {23, &SettingsRecord::buttonInfoY, 100},
    {24, &SettingsRecord::modeChangeable, 1}};

using Values = std::optional<std::string>[kValueCount];

const std::string kKey = kSettingsKeyPath;

// --- The reading and writing rules, from the C library ---

struct IntegerScan {
  bool scanned = false;
  std::int32_t value = 0;
  const char* end = nullptr;
};

// "%d" and atoi: saturated at the 32-bit limits.
IntegerScan ReferenceInteger(const char* text) {
  char* end = nullptr;
  const long long wide = std::strtoll(text, &end, 10);
  if (end == text) return {};
  constexpr long long kMin = std::numeric_limits<std::int32_t>::min();
  constexpr long long kMax = std::numeric_limits<std::int32_t>::max();
  return {true, static_cast<std::int32_t>(wide < kMin ? kMin : (wide > kMax ? kMax : wide)), end};
}

// "%lf", taking only finite numbers that do not underflow to zero.
std::optional<double> ReferenceFactor(const char* text) {
  char* end = nullptr;
  errno = 0;
  const double value = std::strtod(text, &end);
  if (end == text || !std::isfinite(value) || (errno == ERANGE && value == 0)) return std::nullopt;
  return value;
}

std::string Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Printf(const char* format, ...) {
  char text[512];
  va_list arguments;
  va_start(arguments, format);
  const int length = std::vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  Check(length >= 0 && static_cast<std::size_t>(length) < sizeof text,
        "printf reference overflows");
  return std::string(text, static_cast<std::size_t>(length));
}

bool SameDouble(double a, double b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

// --- The text readers and writers on their own ---

constexpr std::int32_t kUntouched = 0x5A5A5A5A;
constexpr double kUntouchedFactor = -7.25;

void CheckIntegerForms(std::int32_t value) {
  const std::string text = FormatDecimal(value);
  Check(text == Printf("%d", value), "FormatDecimal differs from %d");
  Check(ParseDecimal(text) == value, "a written integer reads back differently");
}

void CheckPairForms(std::int32_t first, std::int32_t second) {
  const std::string text = FormatIntegerPair(first, second);
  Check(text == Printf("%d %d", first, second), "FormatIntegerPair differs from %d %d");
  std::int32_t a = kUntouched;
  std::int32_t b = kUntouched;
  Check(ScanIntegerPair(text, &a, &b) == 2 && a == first && b == second,
        "a written pair reads back differently");
}

void CheckSwitchAndFactorForms(std::int32_t enabled, double factor) {
  const std::string text = FormatSwitchAndFactor(enabled, factor);
  Check(text == Printf("%d %+8.4lf", enabled, factor), "FormatSwitchAndFactor differs from printf");
  std::int32_t e = kUntouched;
  double f = kUntouchedFactor;
  const int count = ScanSwitchAndFactor(text, &e, &f);
  Check(e == enabled, "a written switch reads back differently");
  if (!std::isfinite(factor)) {
    Check(count == 1 && SameDouble(f, kUntouchedFactor), "a written inf or nan scans");
    return;
  }
  // Four decimals are kept: the factor read back is written as the same text.
  Check(count == 2, "a written factor does not read back");
  Check(FormatSwitchAndFactor(enabled, f) == text, "a written factor reads back differently");
}

void CheckReaders(const std::string& text) {
  const IntegerScan first = ReferenceInteger(text.c_str());
  const IntegerScan second = first.scanned ? ReferenceInteger(first.end) : IntegerScan{};
  const std::optional<double> factor =
      first.scanned ? ReferenceFactor(first.end) : std::optional<double>();

  Check(ParseDecimal(text) == first.value, "ParseDecimal reads unlike atoi");

  std::int32_t a = kUntouched;
  std::int32_t b = kUntouched;
  const int pair = ScanIntegerPair(text, &a, &b);
  Check(pair == (first.scanned ? (second.scanned ? 2 : 1) : 0), "pair scan count");
  Check(a == (first.scanned ? first.value : kUntouched), "pair: first field");
  Check(b == (second.scanned ? second.value : kUntouched), "pair: second field");

  std::int32_t enabled = kUntouched;
  double scale = kUntouchedFactor;
  const int count = ScanSwitchAndFactor(text, &enabled, &scale);
  Check(count == (first.scanned ? (factor ? 2 : 1) : 0), "switch and factor scan count");
  Check(enabled == a, "switch and factor: switch");
  Check(SameDouble(scale, factor ? *factor : kUntouchedFactor), "switch and factor: factor");

  CheckIntegerForms(a);
  CheckPairForms(a, b);
  CheckSwitchAndFactorForms(enabled, scale);
}

// --- LoadSettings ---

SettingsRecord UnusualRecord() {
  SettingsRecord r;
  for (int i = 0; i < 6; ++i) {
    r.axisScale[i] = 3.5 + i;
    r.axisEnabled[i] = -i;
  }
  r.buttonBeep = 5;
  r.modeChangeable = 6;
  r.buttonInfo = 7;
  r.buttonInfoX = -8;
  r.buttonInfoY = 9;
  r.nullRadius = 10;
  r.hintviewAllowed = 11;
  for (int i = 0; i < kGyrodiscCount; ++i) {
    r.gyrodiscLock[i] = 20 + i;
    r.gyrodiscButton[i] = 30 + i;
  }
  r.language = 12;
  r.lockExit = 13;
  r.lockPanel = 14;
  r.lockApplication = 15;
  r.lockKeyboard = 16;
  r.lockLanguage = 17;
  std::memcpy(r.password, "0123456789abcdefghij", kPasswordField);  // no terminator
  return r;
}

bool SameRecord(const SettingsRecord& a, const SettingsRecord& b) {
  for (int i = 0; i < 6; ++i) {
    if (!SameDouble(a.axisScale[i], b.axisScale[i]) || a.axisEnabled[i] != b.axisEnabled[i]) {
      return false;
    }
  }
  for (int i = 0; i < kGyrodiscCount; ++i) {
    if (a.gyrodiscLock[i] != b.gyrodiscLock[i] || a.gyrodiscButton[i] != b.gyrodiscButton[i]) {
      return false;
    }
  }
  for (const IntegerValue& value : kIntegers) {
    if (a.*value.field != b.*value.field) return false;
  }
  return std::memcmp(a.password, b.password, kPasswordField) == 0;
}

// The value's bytes when a read of bufferSize bytes takes it.
const std::string* Readable(const Values& values, int index, std::size_t bufferSize) {
  const std::optional<std::string>& value = values[index];
  return value && value->size() <= bufferSize ? &*value : nullptr;
}

// Each stored byte before the first zero (at most 19), less the key's byte.
void Unscramble(const std::string& stored, char (&password)[kPasswordField]) {
  std::memset(password, 0, kPasswordField);
  for (std::size_t i = 0; i < stored.size() && i < kPasswordField - 1 && stored[i] != '\0'; ++i) {
    password[i] = static_cast<char>(static_cast<unsigned char>(stored[i]) -
                                    static_cast<unsigned char>(kScrambleKey[i]));
  }
}

std::string Scramble(const char* text) {
  std::string out;
  for (std::size_t i = 0; i < kPasswordField - 1 && text[i] != '\0'; ++i) {
    out.push_back(static_cast<char>(static_cast<unsigned char>(text[i]) +
                                    static_cast<unsigned char>(kScrambleKey[i])));
  }
  return out;
}

SettingsRecord ExpectedLoad(const SettingsRecord& start, const Values& values) {
  SettingsRecord r = start;
  for (const IntegerValue& value : kIntegers) {
    const std::string* text = Readable(values, value.index, kValueBuffer);
    r.*value.field = text ? ReferenceInteger(text->c_str()).value : value.whenMissing;
  }
  if (const std::string* stored = Readable(values, kPassword, kPasswordBuffer)) {
    Unscramble(*stored, r.password);
  } else {
    std::memset(r.password, 0, kPasswordField);
    std::memcpy(r.password, kPlainDefault, sizeof kPlainDefault);
  }
  for (int axis = 0; axis < 6; ++axis) {
    const std::string* text = Readable(values, kFirstScaling + axis, kValueBuffer);
    if (!text) {
      r.axisEnabled[axis] = 1;
      r.axisScale[axis] = 1.0;
      continue;
    }
    const IntegerScan enabled = ReferenceInteger(text->c_str());
    if (!enabled.scanned) continue;
    r.axisEnabled[axis] = enabled.value;
    if (const std::optional<double> factor = ReferenceFactor(enabled.end)) {
      r.axisScale[axis] = *factor;
    }
  }
  for (int i = 0; i < kGyrodiscCount; ++i) {
    const std::string* text = Readable(values, kFirstGyrodisc + i, kValueBuffer);
    if (!text) {
      r.gyrodiscLock[i] = 1;
      continue;
    }
    const IntegerScan lock = ReferenceInteger(text->c_str());
    if (!lock.scanned) continue;
    r.gyrodiscLock[i] = lock.value;
    const IntegerScan button = ReferenceInteger(lock.end);
    if (button.scanned) r.gyrodiscButton[i] = button.value;
  }
  return r;
}

void CheckLoad(MemoryRegistry& registry, const Values& values, const SettingsRecord& start,
               const SettingsRecord& loaded, const RuntimeFlags& flags) {
  Check(SameRecord(loaded, ExpectedLoad(start, values)), "the loaded record breaks a reading rule");
  Check(std::memchr(loaded.password, '\0', kPasswordField) != nullptr,
        "the loaded password has no terminator");
  for (double factor : loaded.axisScale) Check(std::isfinite(factor), "a loaded factor not finite");
  Check(flags.hintviewActive == (loaded.hintviewAllowed == 0 ? 0 : 1), "Hintview flag");
  if (Readable(values, kPassword, kPasswordBuffer)) {
    Check(registry.WriteCount() == 0, "a load with a readable password writes");
  } else {
    // The default password is written back as all 20 bytes of its scrambled buffer.
    std::string repaired = Scramble(kPlainDefault);
    repaired.resize(kPasswordBuffer, '\0');
    Check(registry.WriteCount() == 1 && registry.Bytes(kKey, "Password") == repaired,
          "the password repair");
  }
}

// The texts SaveSettings must have written for the record.
std::string WrittenText(const SettingsRecord& r, int index) {
  if (index == kPassword) return Scramble(r.password);
  if (index >= kFirstScaling && index < kFirstScaling + 6) {
    const int axis = index - kFirstScaling;
    return Printf("%d %+8.4lf", r.axisEnabled[axis], r.axisScale[axis]);
  }
  if (index >= kFirstGyrodisc && index < kFirstGyrodisc + kGyrodiscCount) {
    const int i = index - kFirstGyrodisc;
    return Printf("%d %d", r.gyrodiscLock[i], r.gyrodiscButton[i]);
  }
  for (const IntegerValue& value : kIntegers) {
    if (value.index == index) return Printf("%d", r.*value.field);
  }
  std::abort();
}

void CheckSaved(const MemoryRegistry& registry, const SettingsRecord& saved) {
  for (int i = 0; i < kValueCount; ++i) {
    Check(registry.Bytes(kKey, kNames[i]) == WrittenText(saved, i), "a saved text");
    Check(registry.TypeOf(kKey, kNames[i]) == ValueType::kString, "a saved type");
  }
}

// What a save and a load keep of a loaded record.
void CheckReloaded(const SettingsRecord& loaded, const SettingsRecord& again) {
  SettingsRecord expected = loaded;
  // The password is a text: the bytes behind its first zero are not kept.
  const std::size_t length = std::strlen(loaded.password);
  std::memset(expected.password + length, 0, kPasswordField - length);
  for (int axis = 0; axis < 6; ++axis) {
    if (WrittenText(loaded, kFirstScaling + axis).size() > kValueBuffer) {
      expected.axisEnabled[axis] = 1;
      expected.axisScale[axis] = 1.0;
    } else {
      Check(FormatSwitchAndFactor(again.axisEnabled[axis], again.axisScale[axis]) ==
                FormatSwitchAndFactor(loaded.axisEnabled[axis], loaded.axisScale[axis]),
            "a saved factor loads back beyond its four decimals");
      expected.axisScale[axis] = again.axisScale[axis];
    }
  }
  Check(SameRecord(again, expected), "a saved record loads back differently");
}

void CheckRoundTrip(MemoryRegistry& registry, const SettingsRecord& loaded) {
  SaveSettings(registry, loaded, 0);
  CheckSaved(registry, loaded);
  SettingsRecord again;
  RuntimeFlags flags;
  LoadSettings(registry, again, flags);
  CheckReloaded(loaded, again);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 5) return 0;
  const char separator = static_cast<char>(data[0]);
  std::uint32_t layout = 0;
  for (int i = 0; i < 4; ++i) layout |= static_cast<std::uint32_t>(data[1 + i]) << (8 * i);

  std::vector<std::string> pieces;
  const std::string_view rest(reinterpret_cast<const char*>(data + 5), size - 5);
  for (std::size_t start = 0; start <= rest.size();) {
    std::size_t end = rest.find(separator, start);
    if (end == std::string_view::npos) end = rest.size();
    pieces.emplace_back(rest.substr(start, end - start));
    start = end + 1;
  }
  Values values;
  std::size_t next = 0;
  for (int i = 0; i < kValueCount; ++i) {
    if ((layout >> i & 1u) && next < pieces.size()) values[i] = pieces[next++];
  }
  // Pieces that no value takes are read too, but only so many: each costs.
  for (std::size_t i = 0; i < pieces.size() && i < kValueCount; ++i) CheckReaders(pieces[i]);
  // The writers on any bit pattern, infinities and NaNs included; once, as huge
  // numbers are slow to print.
  if (rest.size() >= sizeof(std::int32_t) + sizeof(double)) {
    std::int32_t rawInt;
    double rawDouble;
    std::memcpy(&rawInt, rest.data(), sizeof rawInt);
    std::memcpy(&rawDouble, rest.data() + sizeof rawInt, sizeof rawDouble);
    CheckIntegerForms(rawInt);
    CheckSwitchAndFactorForms(rawInt, rawDouble);
  }
  const bool withKey = (layout >> 31 & 1u) == 0;
  const SettingsRecord start = (layout >> 30 & 1u) ? UnusualRecord() : SettingsRecord();

  MemoryRegistry registry;
  if (withKey) registry.PutKey(kKey);
  for (int i = 0; i < kValueCount; ++i) {
    if (withKey && values[i]) registry.Put(kKey, kNames[i], *values[i]);
  }
  SettingsRecord loaded = start;
  RuntimeFlags flags;
  flags.hintviewActive = 1;
  LoadSettings(registry, loaded, flags);
  if (!withKey) {
    Check(SameRecord(loaded, start) && flags.hintviewActive == 1, "a load without key changes");
    Check(!registry.HasKey(kKey) && registry.WriteCount() == 0, "a load without key writes");
    return 0;
  }
  CheckLoad(registry, values, start, loaded, flags);
  CheckRoundTrip(registry, loaded);
  return 0;
}
