#include "tests/e2e/driver_launch.h"

namespace e2e {

bool LaunchDriverWithController(WineSession& session, int port, DriverLaunch* launch,
                                std::string* error) {
  if (!session.ClearComPorts(error) || !session.ResetDriverSettings(error)) return false;
  launch->controller = std::make_unique<sim::SimulatedController>();
  if (!launch->controller->Start()) {
    *error = "the simulated controller did not start";
    return false;
  }
  if (!session.LinkComPort(port, launch->controller->SlavePath(), error)) return false;
  launch->driver = session.StartDriver(error);
  if (launch->driver == nullptr) return false;
  launch->trayWaiter = session.StartWindowsProgram("probe.exe", {"wait-tray", "60000"}, error);
  return launch->trayWaiter != nullptr;
}

}  // namespace e2e
