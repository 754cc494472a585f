// The client windows that registered, oldest first, empty slots (0) at the end.
// Fallback targets are chosen from it when the target window goes away.
#pragma once

#include "driver/handles.h"

namespace astro {

class ClientList {
 public:
  static constexpr int kSlots = 8;

  bool Contains(WindowHandle window) const;
  // Lists the window in the first free slot; false when it is 0, already listed,
  // or all slots are taken.
  bool Add(WindowHandle window);
  void ClearSlot(int index) { slots_[index] = 0; }
  // Moves the listed windows to the front in their order.
  void CloseUp();

  WindowHandle Slot(int index) const { return slots_[index]; }

 private:
  WindowHandle slots_[kSlots] = {};
};

}  // namespace astro
