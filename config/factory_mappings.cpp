#include "config/factory_mappings.h"

#include <cstddef>

#include "config/key_event.h"
#include "config/stored_events.h"

namespace astro {

namespace {

struct Key {
  std::uint32_t virtualKey;
  std::uint8_t scanCode;
};

constexpr Key kEnter = {0x0D, 0x1C};
constexpr Key kAlt = {0x12, 0x38};
constexpr Key kLeftShift = {0x10, 0x2A};
constexpr Key kRightShift = {0x10, 0x36};
constexpr Key kNoKey = {0, 0};

// Scan code set 1 of the letters A to Z on the US layout.
constexpr std::uint8_t kUsLetterScan[26] = {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17,
                                            0x24, 0x25, 0x26, 0x32, 0x31, 0x18, 0x19, 0x10, 0x13,
                                            0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};

bool IsCapital(char c) {
  return c >= 'A' && c <= 'Z';
}
bool IsLetter(char c) {
  return IsCapital(c) || (c >= 'a' && c <= 'z');
}

// The key that types c (or, for a capital, its small letter) without Shift; no
// key for characters that need another one.
Key KeyFor(char c, bool german) {
  if (IsLetter(c)) {
    const char upper = IsCapital(c) ? c : static_cast<char>(c - 'a' + 'A');
    // The German layout swaps Y and Z.
    if (german && upper == 'Y') return {0x59, 0x2C};
    if (german && upper == 'Z') return {0x5A, 0x15};
    return {static_cast<std::uint32_t>(upper), kUsLetterScan[upper - 'A']};
  }
  if (c >= '1' && c <= '9')
    return {static_cast<std::uint32_t>(c), static_cast<std::uint8_t>(c - '0' + 1)};
  switch (c) {
    case '0':
      return {0x30, 0x0B};
    case ' ':
      return {0x20, 0x39};
    case '-':
      return {0xBD, static_cast<std::uint8_t>(german ? 0x35 : 0x0C)};
    case '/':
      return german ? kNoKey : Key{0xBF, 0x35};
    case ';':
      return german ? kNoKey : Key{0xBA, 0x27};
    default:
      return kNoKey;
  }
}

// Letter keys the left hand types; the same keys by position on both layouts.
bool LeftHand(Key key) {
  const std::uint8_t s = key.scanCode;
  return (s >= 0x10 && s <= 0x14) || (s >= 0x1E && s <= 0x22) || (s >= 0x2C && s <= 0x30);
}

// How the person who made a recording typed.
struct Typing {
  bool german;       // keys of the German layout
  bool altMenu;      // "[Alt]" and menu letters as system keys
  bool shiftByHand;  // Shift of the other hand than the capital's, else the left one
  bool quickShift;   // a lone capital's Shift goes up before the capital's key
  bool rollover;     // a letter goes down before the last one of the other hand is up
  int shiftRepeats;  // key-down repeats of Shift held over four or more capitals
};

constexpr Typing kProE18 = {true, false, true, true, true, 0};
constexpr Typing kProE20 = {false, true, false, false, false, 0};
constexpr Typing kPlain = {false, false, false, false, false, 0};
constexpr Typing kIdeasHeld = {false, false, false, false, false, 2};

class Recorder {
 public:
  explicit Recorder(const Typing& typing) : typing_(typing) {}

  void Type(const std::string& text) {
    static const std::string kEnterName = "[Enter]";
    std::size_t i = 0;
    while (i < text.size()) {
      if (text.compare(i, kEnterName.size(), kEnterName) == 0) {
        EndShift();
        Stroke(kEnter, false, false);
        i += kEnterName.size();
      } else if (IsCapital(text[i])) {
        std::size_t end = i;
        while (end < text.size() && IsCapital(text[end])) ++end;
        TypeCapitals(text.substr(i, end - i));
        i = end;
      } else {
        EndShift();
        Stroke(KeyFor(text[i], typing_.german), IsLetter(text[i]), false);
        ++i;
      }
    }
    EndShift();
    ReleasePending();
  }

  // "[Alt]" and the menu letters after it, as a menu is opened from the keyboard.
  void AltMenu(const std::string& text) {
    static const std::string kAltName = "[Alt]";
    Add(kSysKeyDown, kAlt);
    for (std::size_t i = kAltName.size(); i < text.size(); ++i) {
      const Key key = KeyFor(text[i], false);
      Add(kSysKeyDown, key);
      Add(kSysKeyUp, key);
    }
    Add(kKeyUp, kAlt);
  }

  std::vector<std::uint8_t> Stored(std::size_t padding) {
    events_.push_back(KeyEvent{});
    std::vector<std::uint8_t> bytes = EncodeStoredEvents(events_.data());
    bytes.resize(bytes.size() + padding, 0);
    return bytes;
  }

 private:
  void Add(std::uint32_t message, Key key) {
    KeyEvent event;
    event.message = message;
    event.virtualKey = key.virtualKey;
    event.keyData = static_cast<std::uint32_t>(key.scanCode) << 16;
    events_.push_back(event);
  }

  // A run of capitals with Shift held around it.
  void TypeCapitals(const std::string& run) {
    ReleasePending();
    shiftKey_ =
        typing_.shiftByHand && LeftHand(KeyFor(run[0], typing_.german)) ? kRightShift : kLeftShift;
    Add(kKeyDown, shiftKey_);
    shift_ = true;
    for (std::size_t at = 0; at < run.size(); ++at) {
      // A Shift held long enough repeats its key-down.
      if (run.size() >= 4 && at >= 2 && at < 2 + static_cast<std::size_t>(typing_.shiftRepeats)) {
        ReleasePending();
        Add(kKeyDown, shiftKey_);
      }
      Stroke(KeyFor(run[at], typing_.german), true, run.size() == 1 && typing_.quickShift);
    }
  }

  void EndShift() {
    if (!shift_) return;
    ReleasePending();
    ReleaseShift();
  }

  void ReleaseShift() {
    Add(kKeyUp, shiftKey_);
    shift_ = false;
  }

  void ReleasePending() {
    if (hasPending_) Add(kKeyUp, pending_);
    hasPending_ = false;
  }

  // Presses key; its key-up waits for the next key, which may come first when
  // the two letters roll over from one hand to the other.
  void Stroke(Key key, bool letter, bool shiftUpEarly) {
    const bool roll = typing_.rollover && hasPending_ && letter && pendingLetter_ && !shift_ &&
                      LeftHand(key) != LeftHand(pending_);
    if (!roll) ReleasePending();
    Add(kKeyDown, key);
    if (roll) Add(kKeyUp, pending_);
    if (shiftUpEarly) ReleaseShift();
    pending_ = key;
    pendingLetter_ = letter;
    hasPending_ = true;
  }

  Typing typing_;
  KeyEventList events_;
  bool shift_ = false;
  Key shiftKey_ = kLeftShift;
  bool hasPending_ = false;
  bool pendingLetter_ = false;
  Key pending_ = kNoKey;
};

struct Recording {
  int mapping;  // index into kMappingNames
  int slot;
  const char* text;
  const char* description;
  const Typing* typing;
  std::size_t padding;  // zero bytes after the end entry
};

constexpr const char* kMappingNames[] = {"Empty", "ProEngineer V.18", "ProEngineer V.20",
                                         "I-DEAS MS", "Mechanical Desktop 2.0/3.0"};

constexpr Recording kRecordings[] = {
    {1, 1, "Done-Return[Enter]View[Enter]Repaint[Enter]Done-Return[Enter]", "Repaint View",
     &kProE18, 0},
    {1, 2,
     "Done-Return[Enter]View[Enter]Cosmetic[Enter]Shade[Enter]Display[Enter]Done-Return[Enter]",
     "Shade Display", &kProE18, 0},
    {1, 3, "Done-Return[Enter]Environment[Enter]Disp DtmPln[Enter]Done-Return[Enter]",
     "Display Datum Planes ON/OFF", &kProE18, 0},
    {1, 4,
     "Done-Return[Enter]View[Enter]Orientation[Enter]Set Spin Ctr[Enter]Model "
     "Center[Enter]Done-Return[Enter]",
     "Set Spin Center To Model Center", &kProE18, 0},
    {1, 8, "Done-Return[Enter]View[Enter]Orientation[Enter]Default[Enter]Done-Return[Enter]",
     "Default Orientation", &kProE18, 0},
    {2, 1, "[Alt]vr", "Repaint View", &kProE20, 0},
    {2, 2, "[Alt]vs", "Shade Object", &kProE20, 0},
    {2, 3, "[Alt]vi", "Previous View", &kProE20, 0},
    {2, 4, "[Alt]vd", "Default View", &kProE20, 0},
    {2, 8, "[Alt]vf", "Reset View", &kProE20, 0},
    {3, 1, "/DO LH; ; DT LI APPL CANC[Enter]", "Line Display", &kIdeasHeld, 0},
    {3, 2, "/DO LH; ; DT HH APPL CANC[Enter]", "Hidden Hardware", &kPlain, 0},
    {3, 3, "/DO SO; ; DT SHH APPL CANC[Enter]", "Shaded Hardware", &kPlain, 0},
    {3, 4, "/V V PE OF; E 3 4 5 0; OKAY;[Enter]", "Isometric View", &kIdeasHeld, 0},
    {3, 8, "AU[Enter]", "Autoscale", &kPlain, 0},
    // This value was saved with one zero byte too many; it stays as it was.
    {4, 1, "[Enter]avwireframe[Enter]", "Display Wireframe Object", &kPlain, 1},
    {4, 2, "[Enter]avrender[Enter]", "Display Rendered Object", &kPlain, 0},
    {4, 8, "[Enter]zoom[Enter]all[Enter]", "Zoom All (fit in view)", &kPlain, 0},
};

std::vector<FactoryMapping> BuildMappings() {
  std::vector<FactoryMapping> mappings;
  for (const char* name : kMappingNames) mappings.push_back(FactoryMapping{name, {}});
  for (const Recording& recording : kRecordings) {
    Recorder recorder(*recording.typing);
    if (recording.typing->altMenu) {
      recorder.AltMenu(recording.text);
    } else {
      recorder.Type(recording.text);
    }
    mappings[recording.mapping].slots[recording.slot - 1] = recorder.Stored(recording.padding);
  }
  return mappings;
}

}  // namespace

const std::vector<FactoryMapping>& FactoryMappings() {
  static const std::vector<FactoryMapping> mappings = BuildMappings();
  return mappings;
}

std::string KnownSequenceName(int button, const std::string& typedText) {
  for (const Recording& recording : kRecordings) {
    if (recording.slot == button && typedText == recording.text) return recording.description;
  }
  return std::string();
}

}  // namespace astro
