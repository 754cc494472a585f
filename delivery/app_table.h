// The applications that clients are bound to: eight entries in order, the
// non-empty ones (window not 0) at the front. An activation of a window of a bound
// thread or process makes that entry's client window the target again.
#pragma once

#include <cstdint>

#include "delivery/delivery_context.h"

namespace astro {

class AppTable {
 public:
  static constexpr int kSlots = 8;

  bool HasProcess(std::uint32_t processId) const;
  bool HasThread(std::uint32_t threadId) const;
  // Copies entry into the first slot whose threadId is threadId or 0; false (and
  // nothing stored) when there is none.
  bool StoreByThread(std::uint32_t threadId, const AppEntry& entry);
  // The same by processId.
  bool StoreByProcess(std::uint32_t processId, const AppEntry& entry);
  // Copies the first slot whose threadId is threadId into currentApp; false when
  // there is none (currentApp is then left alone).
  bool FindByThread(std::uint32_t threadId, AppEntry& currentApp) const;
  bool FindByProcess(std::uint32_t processId, AppEntry& currentApp) const;
  // Forgets a client window: clears every slot of that window, then moves the
  // remaining entries to the front in their order.
  void RemoveAppWindow(WindowHandle window);

  const AppEntry& Slot(int index) const { return slots_[index]; }

 private:
  AppEntry slots_[kSlots];
};

}  // namespace astro
