// Tooltip help texts: one table keyed by a control's item number serves every
// dialog, and TooltipText composes what the tooltip of a control shows in the
// current language, from the table, the text table and the control's state.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "config/mapping_links.h"

namespace astro {

// A slot holds at most this many characters (Windows-1252 bytes).
constexpr std::size_t kTooltipSlotLength = 127;
// A composed tooltip is cut to this many characters so that it fits the
// 512-character buffer the tooltip window reads it from.
constexpr std::size_t kTooltipTextLength = 511;

// Which mapping a button's recording is read from: the active mapping, which the
// keyboard mapping dialog edits, or the mapping in force for the program the user
// works in, which a press plays (the control panel's buttons).
enum class MappingShown { kActive, kInForce };

// What composing a tooltip needs from the window system and the mapping store.
class TooltipSource {
 public:
  virtual ~TooltipSource() = default;
  // The position of the slider with this item number in the dialog the tooltips
  // serve.
  virtual int SliderPosition(int item) = 0;
  // The control's own text, at most kTooltipSlotLength characters.
  virtual std::string ControlText(int item) = 0;
  // The text form of device button 1..12's recording in the mapping given; none
  // when the button has no recording there.
  virtual std::optional<std::string> RecordedSequenceText(int button, MappingShown mapping) = 0;
  // The programs that the mapping in the keyboard mapping dialog's name box is
  // linked to, each with the mapping in force there.
  virtual std::vector<ProgramInForce> ShownMappingPrograms() = 0;
};

// Called once at start-up. The table is constant, so there is nothing to build:
// it does nothing and exists so that start-up keeps one place for it.
void FillTooltipTable();

// The table's slot of item in the language (0 English, 1 German, 2 French,
// 3 Spanish, 4 Italian; any other index reads English); nullptr when the item has
// no slot. Item 6 reads the slot of 1214.
const char* TooltipSlot(int item, std::int32_t language);

// The item numbers that have slots, in table order (6 is not among them).
std::vector<int> TooltipTableItems();

// The tooltip of the control with this item number in the language; none for a
// control without tooltip. Texts of the text table may be empty (Italian).
std::optional<std::string> TooltipText(int item, std::int32_t language, TooltipSource& source);

}  // namespace astro
