#include "delivery/app_table.h"

namespace astro {

bool AppTable::HasProcess(std::uint32_t processId) const {
  for (const AppEntry& slot : slots_) {
    if (slot.processId == processId) return true;
  }
  return false;
}

bool AppTable::HasThread(std::uint32_t threadId) const {
  for (const AppEntry& slot : slots_) {
    if (slot.threadId == threadId) return true;
  }
  return false;
}

bool AppTable::StoreByThread(std::uint32_t threadId, const AppEntry& entry) {
  for (AppEntry& slot : slots_) {
    if (slot.threadId == threadId || slot.threadId == 0) {
      slot = entry;
      return true;
    }
  }
  return false;
}

bool AppTable::StoreByProcess(std::uint32_t processId, const AppEntry& entry) {
  for (AppEntry& slot : slots_) {
    if (slot.processId == processId || slot.processId == 0) {
      slot = entry;
      return true;
    }
  }
  return false;
}

bool AppTable::FindByThread(std::uint32_t threadId, AppEntry& currentApp) const {
  for (const AppEntry& slot : slots_) {
    if (slot.threadId == threadId) {
      currentApp = slot;
      return true;
    }
  }
  return false;
}

bool AppTable::FindByProcess(std::uint32_t processId, AppEntry& currentApp) const {
  for (const AppEntry& slot : slots_) {
    if (slot.processId == processId) {
      currentApp = slot;
      return true;
    }
  }
  return false;
}

void AppTable::RemoveAppWindow(WindowHandle window) {
  int kept = 0;
  for (const AppEntry& slot : slots_) {
    if (slot.window != window && slot.window != 0) slots_[kept++] = slot;
  }
  for (int i = kept; i < kSlots; ++i) slots_[i] = AppEntry{};
}

}  // namespace astro
