// Choosing the window that receives motion and button messages, and taking in a
// client that announces its window.
#pragma once

#include "delivery/delivery_scope.h"

namespace astro {

// Makes window the target, then posts CmdSetClientWindow for it to the driver's own
// window, so that the registration steps run later on the message loop.
void SetTargetWindow(const DeliveryScope& scope, WindowHandle window);

// The newest listed client that still has a title (read up to 63 characters): it
// is given to SetTargetWindow and returned. 0 when there is none; the target is then
// left as it is.
WindowHandle ChooseFallbackTarget(const DeliveryScope& scope);

// CmdSetClientWindow: a client announces its window. The driver's own window is
// ignored. Otherwise the window becomes the target, is bound to the application
// (scope.binding), the panel is told, clients that are gone leave the client list
// and the application table, and the window is listed if there is room.
void RegisterClientWindow(const DeliveryScope& scope, WindowHandle window);

}  // namespace astro
