// Typing a key sequence into the window that has the keyboard focus. The whole
// sequence goes to the system's input in one call of SendInput, as keyboard
// records with the recorded virtual keys and scan codes; Alt held by the
// recorded events makes the system produce its system-key messages itself.
#pragma once

#include "delivery/button_actions.h"

namespace astro {

class KeyPlayback : public Playback {
 public:
  bool Running() override { return running_; }
  bool Start(const KeyEventList& sequence) override;
  // Abandons a playback in progress (at exit).
  void Release() { running_ = false; }

 private:
  // Set while the sequence is being handed to the system.
  bool running_ = false;
};

}  // namespace astro
