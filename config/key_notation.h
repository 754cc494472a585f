// The text shown for a recorded key sequence: characters as the keyboard types
// them, other keys as their names in brackets ("[Enter]", "[Alt]").
#pragma once

#include <cstddef>
#include <string>

#include "config/key_event.h"
#include "config/key_translator.h"

namespace astro {

// The notation fits the 256-byte buffers the windows show it from.
constexpr std::size_t kMaxNotationLength = 255;

// The key's name for a key-down event (any event when force is set): a name of 0
// or 1 character as it is, a longer one in brackets; empty for other events.
std::string KeyEventName(const KeyEvent& event, bool force, KeyTranslator& translator);

// The first count events of list as text of at most kMaxNotationLength
// characters; empty when count < 1.
std::string KeyEventsToText(const KeyEvent* list, int count, KeyTranslator& translator);

}  // namespace astro
