// The capture dialog: records a key sequence for a button slot of the keyboard
// mapping dialog with the key-capture control, showing the notation on the slot's
// label while the user types.
#pragma once

#include <windows.h>

#include <optional>
#include <utility>

#include "config/key_event.h"

namespace astro {

// Runs the capture dialog of the current language, modal and without owner, so
// that no other window is blocked. The list (with its end record; only the end
// record when OK came before any key) or none when cancelled, closed, or when a
// capture dialog is already open. buttonControlId names the MBITMAPBUTTON in
// ownerDialog that shows the notation so far. slot is the caller's button slot;
// the dialog itself needs no more than the label to show it on.
std::optional<KeyEventList> CaptureKeySequence(HWND ownerDialog, int slot, int buttonControlId);

}  // namespace astro
