#include "delivery/app_table.h"

namespace astro {

namespace {

using IdField = std::uint32_t AppEntry::*;

// Index of the first slot whose id field holds id (or, with orEmpty, is 0); -1
// when there is none.
int FindSlot(const AppEntry (&slots)[AppTable::kSlots], IdField field, std::uint32_t id,
             bool orEmpty) {
  for (int i = 0; i < AppTable::kSlots; ++i) {
    if (slots[i].*field == id || (orEmpty && slots[i].*field == 0)) return i;
  }
  return -1;
}

bool Store(AppEntry (&slots)[AppTable::kSlots], IdField field, std::uint32_t id,
           const AppEntry& entry) {
  const int i = FindSlot(slots, field, id, true);
  if (i >= 0) slots[i] = entry;
  return i >= 0;
}

bool Find(const AppEntry (&slots)[AppTable::kSlots], IdField field, std::uint32_t id,
          AppEntry& currentApp) {
  const int i = FindSlot(slots, field, id, false);
  if (i >= 0) currentApp = slots[i];
  return i >= 0;
}

}  // namespace

bool AppTable::HasProcess(std::uint32_t processId) const {
  return FindSlot(slots_, &AppEntry::processId, processId, false) >= 0;
}

bool AppTable::HasThread(std::uint32_t threadId) const {
  return FindSlot(slots_, &AppEntry::threadId, threadId, false) >= 0;
}

bool AppTable::StoreByThread(std::uint32_t threadId, const AppEntry& entry) {
  return Store(slots_, &AppEntry::threadId, threadId, entry);
}

bool AppTable::StoreByProcess(std::uint32_t processId, const AppEntry& entry) {
  return Store(slots_, &AppEntry::processId, processId, entry);
}

bool AppTable::FindByThread(std::uint32_t threadId, AppEntry& currentApp) const {
  return Find(slots_, &AppEntry::threadId, threadId, currentApp);
}

bool AppTable::FindByProcess(std::uint32_t processId, AppEntry& currentApp) const {
  return Find(slots_, &AppEntry::processId, processId, currentApp);
}

void AppTable::RemoveAppWindow(WindowHandle window) {
  int kept = 0;
  for (const AppEntry& slot : slots_) {
    if (slot.window != window && slot.window != 0) slots_[kept++] = slot;
  }
  for (int i = kept; i < kSlots; ++i) slots_[i] = AppEntry{};
}

}  // namespace astro
