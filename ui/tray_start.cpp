#include "ui/tray_start.h"

namespace astro {

bool AddTrayIconPatiently(TrayIconPort& tray) {
  if (tray.AddIcon()) return true;
  for (int retry = 0; retry < kTrayRetries; ++retry) {
    tray.Wait(kTrayRetryInterval);
    if (tray.AddIcon()) return true;
  }
  return false;
}

}  // namespace astro
