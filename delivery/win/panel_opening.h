// The Panel command: the control panel runs on a thread of its own, started at
// the first command and alive until the process ends.
#pragma once

namespace astro {

// Brings the running panel to the front, or starts its thread and waits (at
// most kPanelStartWait milliseconds) for its window to appear.
void OpenControlPanel();

constexpr unsigned kPanelStartWait = 5000;

}  // namespace astro
