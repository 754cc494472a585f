#include "delivery/client_list.h"

namespace astro {

bool ClientList::Contains(WindowHandle window) const {
  for (WindowHandle slot : slots_) {
    if (slot == window) return true;
  }
  return false;
}

bool ClientList::Add(WindowHandle window) {
  if (window == 0 || Contains(window)) return false;
  for (WindowHandle& slot : slots_) {
    if (slot == 0) {
      slot = window;
      return true;
    }
  }
  return false;
}

void ClientList::CloseUp() {
  int kept = 0;
  for (WindowHandle slot : slots_) {
    if (slot != 0) slots_[kept++] = slot;
  }
  for (int i = kept; i < kSlots; ++i) slots_[i] = 0;
}

}  // namespace astro
