// Putting the driver's icon into the notification area at start-up. At logon the
// driver may start before the shell has made the notification area: an add that
// the system refuses is tried again once a second for half a minute.
#pragma once

namespace astro {

class TrayIconPort {
 public:
  virtual ~TrayIconPort() = default;
  // Adds the icon; false when the system refuses it.
  virtual bool AddIcon() = 0;
  virtual void Wait(unsigned milliseconds) = 0;
};

constexpr unsigned kTrayRetryInterval = 1000;
constexpr int kTrayRetries = 30;

// One add, then up to kTrayRetries more, kTrayRetryInterval apart. False when
// every one was refused.
bool AddTrayIconPatiently(TrayIconPort& tray);

}  // namespace astro
