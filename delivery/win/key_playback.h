// Typing a key sequence into the window that has the keyboard focus. The whole
// sequence goes to the system's input in one call of SendInput, as keyboard
// records with the recorded virtual keys and scan codes; Alt held by the
// recorded events makes the system produce its system-key messages itself. It
// counts as running for as long as TypingWindow says.
#pragma once

#include "delivery/button_actions.h"
#include "delivery/typing_window.h"

namespace astro {

class KeyPlayback : public Playback {
 public:
  bool Running() override;
  bool Start(const KeyEventList& sequence) override;
  // Abandons a playback in progress (at exit).
  void Release() { window_.End(); }

 private:
  TypingWindow window_;
};

}  // namespace astro
