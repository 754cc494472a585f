#include "delivery/activation_tracker.h"

#include <cstring>

namespace astro {

void ActivationTracker::OnActivation(WindowHandle window) {
  ActivatedWindow activated;
  activated.window = window;
  platform_.WindowThreadProcess(window, &activated.threadId, &activated.processId);
  platform_.ReadWindowClass(window, activated.className, sizeof activated.className);
  lastActivated_ = activated;
  // The window is already gone.
  if (activated.threadId == 0) return;

  AppEntry& current = context_.currentApp;
  if (apps_.FindByThread(activated.threadId, current)) {
    apps_.StoreByProcess(activated.processId, current);
  } else if (apps_.FindByProcess(activated.processId, current)) {
    // Another thread of a bound process: remembered under that thread, so that
    // its next activation is found by thread. The entry carries the thread it is
    // stored by; a copy that kept the first thread would never be found by this
    // one and each activation would fill another slot.
    current.threadId = activated.threadId;
    apps_.StoreByThread(activated.threadId, current);
  } else {
    // Not a bound application: the target stays with the last one.
    return;
  }
  context_.targetWindow = current.window;
}

void ActivationTracker::BindClient(WindowHandle window) {
  std::uint32_t threadId = 0;
  std::uint32_t processId = 0;
  platform_.WindowThreadProcess(window, &threadId, &processId);
  // The first registration of an application wins.
  if (apps_.HasProcess(processId) || apps_.HasThread(threadId)) return;

  AppEntry& current = context_.currentApp;
  current.window = window;
  const ActivatedWindow& last = lastActivated_;
  if (threadId == last.threadId) {
    current.threadId = last.threadId;
    current.processId = last.processId;
    apps_.StoreByThread(last.threadId, current);
  } else if (processId == last.processId || std::strcmp(last.className, kXServerClientClass) == 0) {
    current.threadId = last.threadId;
    current.processId = last.processId;
    apps_.StoreByProcess(last.processId, current);
  }
}

}  // namespace astro
