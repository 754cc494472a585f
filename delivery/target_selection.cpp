#include "delivery/target_selection.h"

#include "client/astrolab_client.h"

namespace astro {

void SetTargetWindow(const DeliveryScope& scope, WindowHandle window) {
  scope.context.targetWindow = window;
  scope.platform.PostToDriverWindow(CmdSetClientWindow, static_cast<std::intptr_t>(window));
}

WindowHandle ChooseFallbackTarget(const DeliveryScope& scope) {
  constexpr std::size_t kTitleBuffer = 64;
  for (int i = ClientList::kSlots - 1; i >= 0; --i) {
    const WindowHandle window = scope.clients.Slot(i);
    if (window == 0) continue;
    char title[kTitleBuffer] = {};
    scope.platform.ReadWindowTitle(window, title, sizeof title);
    // A window that no longer exists has an empty title.
    if (title[0] == '\0') continue;
    SetTargetWindow(scope, window);
    return window;
  }
  return 0;
}

void RegisterClientWindow(const DeliveryScope& scope, WindowHandle window) {
  if (window == scope.context.ownWindow) return;
  scope.context.targetWindow = window;
  scope.context.targetClearedByUser = false;
  if (scope.binding) scope.binding->BindClient(window);
  const WindowHandle panel = scope.platform.PanelWindow();
  if (panel != 0) {
    scope.platform.Post(panel, scope.context.commandEventMessage, CmdSetClientWindow,
                        static_cast<std::intptr_t>(scope.context.targetWindow));
  }
  for (int i = 0; i < ClientList::kSlots; ++i) {
    const WindowHandle listed = scope.clients.Slot(i);
    if (listed != 0 && !scope.platform.WindowExists(listed)) {
      scope.apps.RemoveAppWindow(listed);
      scope.clients.ClearSlot(i);
    }
  }
  scope.clients.CloseUp();
  scope.clients.Add(window);
}

}  // namespace astro
