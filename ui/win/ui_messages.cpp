#include "ui/win/ui_messages.h"

#include "client/astrolab_client.h"

namespace astro {

UiMessages uiMessages;

void RegisterUiMessages() {
  uiMessages.motion = RegisterWindowMessageA(ASTROLAB_MOTION_EVENT);
  uiMessages.buttonPress = RegisterWindowMessageA(ASTROLAB_BUTTON_PRESS_EVENT);
  uiMessages.buttonRelease = RegisterWindowMessageA(ASTROLAB_BUTTON_RELEASE_EVENT);
  uiMessages.command = RegisterWindowMessageA(ASTROLAB_COMMAND_EVENT);
}

}  // namespace astro
