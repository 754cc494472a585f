// The driver's text table: every text that is written at run time into a dialog
// shared by all languages (control panel, button window, About box), the exit
// confirmation and most tooltips is looked up here by text id and language.
// The texts are Windows-1252 bytes, constant and owned by the table for the whole
// run; callers never free or change them.
#pragma once

#include <cstdint>

namespace astro {

// Number of text ids; valid ids are 0..kLangTextCount-1 (23 and 38 are unused).
constexpr int kLangTextCount = 45;
// Slots per row: the five languages (English, German, French, Spanish, Italian)
// and a sixth slot that holds English for ids 1..8 only.
constexpr int kLangTextSlots = 6;

// Text ids used by other parts of the driver.
constexpr std::int32_t kTextPanelTitle = 0;
constexpr std::int32_t kTextRotationOn = 1;
constexpr std::int32_t kTextRotationOff = 2;
constexpr std::int32_t kTextTranslationOn = 3;
constexpr std::int32_t kTextTranslationOff = 4;
constexpr std::int32_t kTextDominantOn = 5;
constexpr std::int32_t kTextDominantOff = 6;
constexpr std::int32_t kTextHintviewOn = 7;
constexpr std::int32_t kTextHintviewOff = 8;
constexpr std::int32_t kTextOverallSensitivity = 10;
constexpr std::int32_t kTextTranslationSensitivity = 11;
constexpr std::int32_t kTextRotationSensitivity = 12;
constexpr std::int32_t kTextDefaultSensitivity = 13;
constexpr std::int32_t kTextButtons = 14;
constexpr std::int32_t kText3DModes = 15;
constexpr std::int32_t kTextChangeable = 16;
constexpr std::int32_t kTextExitQuestion = 18;
constexpr std::int32_t kTextExitCaption = 19;
constexpr std::int32_t kTextDefaultMarker = 20;
constexpr std::int32_t kTextButtonWindow = 21;
constexpr std::int32_t kTextOverallAbsorption = 22;
constexpr std::int32_t kTextHintview = 24;
constexpr std::int32_t kTextMaker = 33;
constexpr std::int32_t kTextAboutTitle = 34;

// The text of id in the given language (0 English, 1 German, 2 French, 3 Spanish,
// 4 Italian). Any other language index gives the English text. Ids without a
// text (23, 38 and anything outside 0..44) give "". Never returns null.
const char* LangText(std::int32_t language, std::int32_t id);

// Raw access to one slot of the table (0..5). Returns nullptr where the slot holds
// no text, and for a slot or id out of range.
const char* LangTextSlot(std::int32_t slot, std::int32_t id);

}  // namespace astro
