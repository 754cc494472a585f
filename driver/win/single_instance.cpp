#include "driver/win/single_instance.h"

#include <windows.h>

#include "driver/win/driver_state.h"
#include "ui/startup_texts.h"

namespace astro {

bool RefuseSecondInstance(std::int32_t language) {
  if (FindWindowA(kMainWindowClass, nullptr) == nullptr) return false;
  const MessageBoxTexts texts = AlreadyRunningTexts(language);
  MessageBoxA(nullptr, texts.text, texts.caption, MB_OK | MB_ICONEXCLAMATION);
  return true;
}

}  // namespace astro
