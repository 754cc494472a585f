// The base of the tests that work the driver's windows from outside: the driver
// with a controller on COM3, and the probe's view of its main window, menu,
// dialogs and boxes.
#pragma once

#include <optional>
#include <string>

#include "tests/e2e/driver_fixture.h"

namespace e2e {

constexpr const char* kDriverClass = "ASTROLAB_3D_CONTROLLER";
constexpr int kCommandMessage = 0x0111;  // WM_COMMAND
constexpr int kCloseMessage = 0x0010;    // WM_CLOSE
constexpr int kTrayMessage = 65535;      // the tray icon's callback
constexpr int kDoubleClick = 515;        // WM_LBUTTONDBLCLK
constexpr int kExitCommand = 109;
constexpr int kLanguageCommand = 40003;
constexpr int kOk = 1;
constexpr int kYes = 6;
constexpr int kNo = 7;

class DesktopTest : public DriverTest {
 protected:
  void StartWithController();
  bool PostToDriver(int message, int wParam, int lParam);
  // Waits for the visible box or dialog with this caption; fails the test
  // without one.
  ProbeResult WaitForBox(const std::string& caption);
  void Press(const std::string& caption, int button);
  // Waits until no visible box or dialog has this caption; fails the test when
  // one is still there after the reply time-out.
  void WaitUntilGone(const std::string& caption);
  // The state flags of a menu item of the main window; -1 when unreadable.
  int MenuState(int item);
  // The label of a menu item of the main window.
  std::optional<std::string> MenuText(int item);
  // Shows the main window as a double-click on the tray icon does and waits until
  // it is visible and painted.
  void ShowMainWindow();
  // Clicks control `item` of the dialog (BM_CLICK) and waits until it is handled.
  void Click(const std::string& caption, int item);
  // Clicks a control of a dialog with the pointer, as a user does.
  void ClickWithPointer(const std::string& caption, int control);
  std::optional<std::string> ControlText(const std::string& caption, int item);
  // Waits until the control shows the text; false on time-out.
  bool WaitForControlText(const std::string& caption, int item, const std::string& text);

  sim::SimulatedController* controller_ = nullptr;
  ChildProcess* driver_ = nullptr;
};

}  // namespace e2e
