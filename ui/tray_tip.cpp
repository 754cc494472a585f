#include "ui/tray_tip.h"

#include "ui/language_index.h"
#include "ui/startup_texts.h"

namespace astro {

const char* TrayTipText(std::int32_t language, bool controllerLost) {
  static const char* const kDisconnected[kLanguageCount] = {
      "Astrolab/AIRCAP 3D Controller - disconnected", "AIRCAP 3D Controller - nicht verbunden",
      "AIRCAP 3D Controller - d\xE9"
      "connect\xE9",
      "AIRCAP 3D Controller - desconectado", "AIRCAP 3D Controller - disconnesso"};
  return controllerLost ? kDisconnected[LanguageIndex(language)] : ProductTitle(language);
}

}  // namespace astro
