// What the target-application dialog shows and does, apart from its window: one
// line per client list slot, and the user's choice of target.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "delivery/delivery_scope.h"

namespace astro {

// "no application" in the language (English for an unknown index), Windows-1252.
const char* EmptySlotText(std::int32_t language);

// The line of each slot: the client window's title, else its class name (each read
// up to 127 characters), else the empty-slot text. A listed window with neither no
// longer exists: it leaves the application table and its slot is cleared.
std::array<std::string, ClientList::kSlots> ListApplications(const DeliveryScope& scope,
                                                             std::int32_t language);

// The user picks slot `index`: its window becomes the target at once, 0 for an
// empty slot. An empty choice stands until a client registers or the user picks
// again: no fallback client is chosen meanwhile.
void ChooseApplication(const DeliveryScope& scope, int index);

}  // namespace astro
