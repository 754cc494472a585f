// Putting the driver's icon into the notification area at start-up. At logon the
// driver may start before the shell has made the notification area: an add that
// the system refuses is tried again once a second for half a minute. A busy shell
// may also take the icon but answer too late, so that the add reports a failure:
// an icon that a change of it then finds is there.
#pragma once

namespace astro {

class TrayIconPort {
 public:
  virtual ~TrayIconPort() = default;
  // Adds the icon; false when the system refuses it.
  virtual bool AddIcon() = 0;
  // Changes the icon (to what it is); false when the area holds no such icon.
  virtual bool ModifyIcon() = 0;
  virtual void Wait(unsigned milliseconds) = 0;
};

constexpr unsigned kTrayRetryInterval = 1000;
constexpr int kTrayRetries = 30;

// One add, then up to kTrayRetries more, kTrayRetryInterval apart; after each
// refused add, a change of the icon tells whether it is there all the same. False
// when every add was refused and no icon was found.
bool AddTrayIconPatiently(TrayIconPort& tray);

}  // namespace astro
