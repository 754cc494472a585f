#include "ui/tray_start.h"

namespace astro {

namespace {

bool Placed(TrayIconPort& tray) {
  return tray.AddIcon() || tray.ModifyIcon();
}

}  // namespace

bool AddTrayIconPatiently(TrayIconPort& tray) {
  if (Placed(tray)) return true;
  for (int retry = 0; retry < kTrayRetries; ++retry) {
    tray.Wait(kTrayRetryInterval);
    if (Placed(tray)) return true;
  }
  return false;
}

}  // namespace astro
