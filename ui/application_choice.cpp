#include "ui/application_choice.h"

#include "ui/language_index.h"

namespace astro {

const char* EmptySlotText(std::int32_t language) {
  static const char* const kTexts[kLanguageCount] = {"no application", "keine Anwendung",
                                                     "aucune application", "ninguna aplicaci\xF3n",
                                                     "nessuna applicazione"};
  return kTexts[LanguageIndex(language)];
}

std::array<std::string, ClientList::kSlots> ListApplications(const DeliveryScope& scope,
                                                             std::int32_t language) {
  constexpr std::size_t kNameBuffer = 128;
  std::array<std::string, ClientList::kSlots> lines;
  for (int i = 0; i < ClientList::kSlots; ++i) {
    const WindowHandle window = scope.clients.Slot(i);
    char name[kNameBuffer] = {};
    if (window != 0) {
      scope.platform.ReadWindowTitle(window, name, sizeof name);
      if (name[0] == '\0') scope.platform.ReadWindowClass(window, name, sizeof name);
      if (name[0] == '\0') {
        scope.apps.RemoveAppWindow(window);
        scope.clients.ClearSlot(i);
      }
    }
    lines[i] = name[0] != '\0' ? name : EmptySlotText(language);
  }
  return lines;
}

void ChooseApplication(const DeliveryScope& scope, int index) {
  if (index < 0 || index >= ClientList::kSlots) return;
  const WindowHandle window = scope.clients.Slot(index);
  scope.context.targetWindow = window;
  scope.context.targetClearedByUser = window == 0;
}

}  // namespace astro
