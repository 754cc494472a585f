#include "ui/tray_tip.h"

#include "ui/language_index.h"
#include "ui/startup_texts.h"

namespace astro {

std::string TrayTipText(std::int32_t language, bool controllerLost, const std::string& portName) {
  static const char* const kDisconnected[kLanguageCount] = {
      "Astrolab/AIRCAP 3D Controller - disconnected", "AIRCAP 3D Controller - nicht verbunden",
      "AIRCAP 3D Controller - d\xE9"
      "connect\xE9",
      "AIRCAP 3D Controller - desconectado", "AIRCAP 3D Controller - disconnesso"};
  if (controllerLost) return kDisconnected[LanguageIndex(language)];
  std::string tip = ProductTitle(language);
  if (!portName.empty()) tip += " - " + portName;
  return tip;
}

}  // namespace astro
