// What the keyboard mapping dialog says, by language, and which label button
// stands for which button slot.
#pragma once

#include <cstdint>
#include <string>

namespace astro {

struct MappingDialogTexts {
  const char* saveQuestion;   // "%s" stands for the mapping's name
  const char* differentName;  // saving under "Empty" is refused
  const char* caption;        // of both boxes
  const char* deleteRefusal;  // deleting "Empty" is refused
  const char* deleteCaption;
  const char* note[3];  // the red note under the device picture
  const char* badName;  // a name that cannot be a mapping's key (caption: caption)
  // An entry of the programs list that cannot be a program's file name; "%s"
  // stands for the entry (caption: caption).
  const char* badProgram;
};

// For a language index outside 0..4 the texts are the English ones with a few
// words of their own.
const MappingDialogTexts& MappingDialogTextsFor(std::int32_t language);

// The save question with the mapping's name in it.
std::string SaveQuestion(std::int32_t language, const std::string& name);

// The refusal of an entry of the programs list, with the entry in it.
std::string BadProgramMessage(std::int32_t language, const std::string& entry);

constexpr int kMappingSlots = 12;

// The slot (1..12) of a label button, 0 for any other control.
int SlotOfLabel(int controlId);
int LabelOfSlot(int slot);
// "(1)" ... "(8)", "(*)", "(+)", "(-)", "(Hintview)".
const char* UnassignedLabel(int slot);

}  // namespace astro
