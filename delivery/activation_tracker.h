// Following the user from application to application: every window activation
// on the desktop (reported by the hook library) is remembered, and when it
// belongs to a thread or process that a client was bound to, that client's
// window becomes the target again. A client that announces itself is bound to
// the application activated last.
#pragma once

#include <cstdint>

#include "delivery/delivery_scope.h"

namespace astro {

// The window the hook library reported last.
struct ActivatedWindow {
  static constexpr int kClassNameSize = 40;  // at most 39 characters

  WindowHandle window = 0;
  std::uint32_t processId = 0;
  std::uint32_t threadId = 0;
  char className[kClassNameSize] = {};
};

// The class of an X-server client window: a remote application shows its windows
// on this desktop through the X server's process, so a client running beside the
// X server is bound to the X window activated last.
constexpr char kXServerClientClass[] = "EXCEEDW:MWCLIENT";

class ActivationTracker : public ClientBinding {
 public:
  ActivationTracker(DeliveryContext& context, AppTable& apps, DeliveryPlatform& platform)
      : context_(context), apps_(apps), platform_(platform) {}

  // The user has just activated window: the target follows a bound application,
  // and stays where it is for any other window.
  void OnActivation(WindowHandle window);

  // A client window that became the target: bound to the application activated
  // last (by thread, or by process), unless its own thread or process is bound
  // already. Otherwise it stays unbound.
  void BindClient(WindowHandle window) override;

  const ActivatedWindow& LastActivated() const { return lastActivated_; }

 private:
  DeliveryContext& context_;
  AppTable& apps_;
  DeliveryPlatform& platform_;
  ActivatedWindow lastActivated_;
};

}  // namespace astro
