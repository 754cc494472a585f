// The text shown for recorded key sequences, on a US keyboard layout.
#include "config/key_notation.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tests/unit/us_key_translator.h"

namespace astro {
namespace testing {
namespace {

KeyEvent Event(std::uint32_t message, std::uint32_t virtualKey, std::uint32_t scanCode) {
  KeyEvent event;
  event.message = message;
  event.virtualKey = virtualKey;
  event.keyData = scanCode << 16 | 1;  // repeat count 1, as the system sends it
  return event;
}

// Appends a key-down and its key-up.
void Tap(std::vector<KeyEvent>& list, std::uint32_t virtualKey, std::uint32_t scanCode) {
  list.push_back(Event(kKeyDown, virtualKey, scanCode));
  list.push_back(Event(kKeyUp, virtualKey, scanCode));
}

std::string Text(const std::vector<KeyEvent>& list) {
  UsKeyTranslator translator;
  return KeyEventsToText(list.data(), static_cast<int>(list.size()), translator);
}

const KeyEvent kShiftDown = Event(kKeyDown, 0x10, 0x2A);
const KeyEvent kShiftUp = Event(kKeyUp, 0x10, 0x2A);

TEST(KeyNotationTest, ShiftedLetterThenSmallLettersSpellDone) {
  std::vector<KeyEvent> list = {kShiftDown};
  Tap(list, 'D', 0x20);
  list.push_back(kShiftUp);
  Tap(list, 'O', 0x18);
  Tap(list, 'N', 0x31);
  Tap(list, 'E', 0x12);
  EXPECT_EQ(Text(list), "Done");
}

TEST(KeyNotationTest, KeysWithoutPrintableCharacterShowTheirBracketedName) {
  std::vector<KeyEvent> list;
  Tap(list, 0x0D, 0x1C);
  EXPECT_EQ(Text(list), "[Enter]");
  list.clear();
  Tap(list, 0x09, 0x0F);
  Tap(list, 0x1B, 0x01);
  Tap(list, 0x08, 0x0E);
  Tap(list, 0x74, 0x3F);  // F5
  list.push_back(Event(kKeyDown, 0x26, 0x48));
  list.back().keyData |= 1u << 24;  // the cursor key, not keypad 8
  EXPECT_EQ(Text(list), "[Tab][Esc][Backspace][F5][Up]");
}

TEST(KeyNotationTest, AltMenuAsSystemKeysGivesAltThenSmallLetters) {
  const std::vector<KeyEvent> list = {Event(kSysKeyDown, 0x12, 0x38), Event(kSysKeyDown, 'V', 0x2F),
                                      Event(kSysKeyUp, 'V', 0x2F),    Event(kSysKeyDown, 'R', 0x13),
                                      Event(kSysKeyUp, 'R', 0x13),    Event(kKeyUp, 0x12, 0x38)};
  EXPECT_EQ(Text(list), "[Alt]vr");
}

TEST(KeyNotationTest, KeyUpAloneAndNoEventsGiveNothing) {
  UsKeyTranslator translator;
  const KeyEvent up = Event(kKeyUp, 0x0D, 0x1C);
  EXPECT_EQ(KeyEventsToText(&up, 1, translator), "");
  const KeyEvent down = Event(kKeyDown, 'A', 0x1E);
  EXPECT_EQ(KeyEventsToText(&down, 0, translator), "");
  EXPECT_EQ(KeyEventsToText(&down, -1, translator), "");
  EXPECT_EQ(KeyEventsToText(nullptr, 3, translator), "");
}

TEST(KeyNotationTest, OnlyTheCountedEventsAreRead) {
  // No end record: the count alone bounds the walk.
  std::vector<KeyEvent> list;
  Tap(list, 'A', 0x1E);
  Tap(list, 'B', 0x30);
  UsKeyTranslator translator;
  EXPECT_EQ(KeyEventsToText(list.data(), 3, translator), "ab");
  EXPECT_EQ(KeyEventsToText(list.data(), 2, translator), "a");
}

TEST(KeyNotationTest, HeldShiftOfEitherSideMakesCapitalsAndShowsNothingItself) {
  std::vector<KeyEvent> list = {Event(kKeyDown, 0xA1, 0x36)};  // right Shift by its own key code
  Tap(list, 'A', 0x1E);
  Tap(list, '1', 0x02);
  list.push_back(Event(kKeyUp, 0xA1, 0x36));
  list.push_back(Event(kKeyDown, 0xA0, 0x2A));
  Tap(list, 0xBF, 0x35);
  list.push_back(Event(kKeyUp, 0xA0, 0x2A));
  Tap(list, 'A', 0x1E);
  EXPECT_EQ(Text(list), "A!?a");
}

TEST(KeyNotationTest, ShiftReleasedBeforeTheLetterGoesDownLeavesItSmall) {
  std::vector<KeyEvent> list = {kShiftDown, kShiftUp};
  Tap(list, 'D', 0x20);
  // Shift going down again while a letter is held does not change that letter.
  list.push_back(Event(kKeyDown, 'X', 0x2D));
  list.push_back(kShiftDown);
  list.push_back(Event(kKeyUp, 'X', 0x2D));
  list.push_back(kShiftUp);
  EXPECT_EQ(Text(list), "dx");
}

TEST(KeyNotationTest, RepeatedShiftDownShowsNothing) {
  std::vector<KeyEvent> list = {kShiftDown, kShiftDown, kShiftDown};
  Tap(list, 'O', 0x18);
  list.push_back(kShiftUp);
  EXPECT_EQ(Text(list), "O");
}

TEST(KeyNotationTest, ControlCharactersShowTheKeyNameOneCharacterNamesUnbracketed) {
  std::vector<KeyEvent> list = {Event(kKeyDown, 0x11, 0x1D)};
  Tap(list, 'C', 0x2E);  // Ctrl+C types character 3
  list.push_back(Event(kKeyUp, 0x11, 0x1D));
  Tap(list, ' ', 0x39);
  Tap(list, 0xBD, 0x0C);
  Tap(list, 0xBA, 0x27);
  Tap(list, 0xBE, 0x34);
  EXPECT_EQ(Text(list), "[Ctrl]C -;.");
}

// A layout whose answers the test sets, for characters the US layout lacks.
class ScriptedTranslator : public KeyTranslator {
 public:
  ScriptedTranslator(std::string characters, std::string name)
      : characters_(std::move(characters)), name_(std::move(name)) {}
  std::string ToAscii(std::uint32_t, std::uint32_t, const std::uint8_t (&)[256]) override {
    return characters_;
  }
  std::string KeyName(std::uint32_t) override { return name_; }

 private:
  std::string characters_;
  std::string name_;
};

TEST(KeyNotationTest, CharactersAbove127ShowTheKeyNameTwoCharactersAppendWhole) {
  const KeyEvent down = Event(kKeyDown, 0xDE, 0x28);
  ScriptedTranslator umlaut("\xE4", "\xC4");
  EXPECT_EQ(KeyEventsToText(&down, 1, umlaut), "\xC4");
  ScriptedTranslator longName("\xE4", "Umlaut A");
  EXPECT_EQ(KeyEventsToText(&down, 1, longName), "[Umlaut A]");
  // A dead key followed by a key it cannot combine with types both.
  ScriptedTranslator deadKey("^e", "E");
  EXPECT_EQ(KeyEventsToText(&down, 1, deadKey), "^e");
  ScriptedTranslator nothing("", "");
  EXPECT_EQ(KeyEventsToText(&down, 1, nothing), "");
}

TEST(KeyNotationTest, PieceThatDoesNotFitIsSkippedAndShorterOnesStillFit) {
  std::vector<KeyEvent> list;
  for (int i = 0; i < 63; ++i) Tap(list, 0x70, 0x3B);  // 63 x "[F1]" = 252 characters
  Tap(list, 0x0D, 0x1C);                               // "[Enter]" would make 259
  Tap(list, 'X', 0x2D);
  Tap(list, 'Y', 0x15);
  Tap(list, 'Z', 0x2C);  // 255
  Tap(list, 'Q', 0x10);  // 256: left out
  std::string expected;
  for (int i = 0; i < 63; ++i) expected += "[F1]";
  expected += "xyz";
  EXPECT_EQ(Text(list), expected);
  EXPECT_EQ(Text(list).size(), 255u);
}

TEST(KeyNotationTest, PieceEndingExactlyAt255CharactersFits) {
  std::vector<KeyEvent> list;
  for (int i = 0; i < 62; ++i) Tap(list, 0x70, 0x3B);  // 248 characters
  Tap(list, 0x0D, 0x1C);                               // 255
  Tap(list, 'A', 0x1E);
  Tap(list, 0x0D, 0x1C);
  const std::string text = Text(list);
  ASSERT_EQ(text.size(), 255u);
  EXPECT_EQ(text.substr(248), "[Enter]");
}

TEST(KeyNotationTest, KeyEventNameNamesKeyDownsOrAnyEventWhenForced) {
  UsKeyTranslator translator;
  const KeyEvent enterUp = Event(kKeyUp, 0x0D, 0x1C);
  EXPECT_EQ(KeyEventName(enterUp, false, translator), "");
  EXPECT_EQ(KeyEventName(enterUp, true, translator), "[Enter]");
  EXPECT_EQ(KeyEventName(Event(kSysKeyUp, 0x12, 0x38), true, translator), "[Alt]");
  EXPECT_EQ(KeyEventName(Event(kSysKeyDown, 0x12, 0x38), false, translator), "[Alt]");
  EXPECT_EQ(KeyEventName(Event(kKeyDown, 0x10, 0x36), false, translator), "[Right Shift]");
  EXPECT_EQ(KeyEventName(Event(kKeyDown, 'A', 0x1E), false, translator), "A");
  EXPECT_EQ(KeyEventName(Event(kKeyDown, 0xBF, 0x35), false, translator), "/");
  // A key without a name gives nothing, not "[]".
  EXPECT_EQ(KeyEventName(Event(kKeyDown, 0xFF, 0x00), false, translator), "");
  // An event that is no key message at all is named only when forced.
  EXPECT_EQ(KeyEventName(Event(0x102, 'A', 0x1E), false, translator), "");
  EXPECT_EQ(KeyEventName(Event(0x102, 'A', 0x1E), true, translator), "A");
}

TEST(KeyNotationTest, OverlongKeyNameIsCutSoTheBracketedNameFits) {
  ScriptedTranslator translator("", std::string(300, 'n'));
  const std::string name = KeyEventName(Event(kKeyDown, 0x41, 0x1E), false, translator);
  EXPECT_EQ(name, "[" + std::string(253, 'n') + "]");
}

}  // namespace
}  // namespace testing
}  // namespace astro
