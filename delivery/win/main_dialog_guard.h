// At most one dialog of the main window at a time. Menu commands can arrive
// while one is open (another program posts them, or the tray menu is used), and
// each would open another dialog inside the open one's message loop.
#pragma once

namespace astro {

// Marks a dialog or message box of the main window as open for its lifetime.
class MainDialogScope {
 public:
  MainDialogScope();
  ~MainDialogScope();
  MainDialogScope(const MainDialogScope&) = delete;
  MainDialogScope& operator=(const MainDialogScope&) = delete;
};

// Whether a dialog or message box of the main window is open.
bool MainDialogOpen();

// Brings the open dialog of the main thread that takes input (the innermost of a
// dialog and its message box) to the front.
void BringMainDialogToFront();

}  // namespace astro
