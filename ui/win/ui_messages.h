// The driver's registered messages as the control panel and the button window
// use them. Each of their threads registers the names itself.
#pragma once

#include <windows.h>

namespace astro {

struct UiMessages {
  UINT motion = 0;
  UINT buttonPress = 0;
  UINT buttonRelease = 0;
  UINT command = 0;
};

extern UiMessages uiMessages;

// Registers "MotionEvent", "ButtonPressEvent", "ButtonReleaseEvent" and
// "CommandEvent" into uiMessages.
void RegisterUiMessages();

}  // namespace astro
