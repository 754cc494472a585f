#include "tests/e2e/driver_launch.h"

namespace e2e {

bool AttachOtherPorts(WineSession& session, const std::set<int>& taken,
                      std::vector<std::unique_ptr<sim::SimulatedController>>* devices,
                      std::string* error) {
  for (const OtherPort& port : UsersMachinePorts()) {
    if (taken.count(port.number) != 0) continue;
    auto device = std::make_unique<sim::SimulatedController>(port.personality);
    if (!device->Start()) {
      *error = "the device for COM" + std::to_string(port.number) + " did not start";
      return false;
    }
    if (!session.LinkComPort(port.number, device->SlavePath(), error)) return false;
    devices->push_back(std::move(device));
  }
  return true;
}

bool LaunchDriverWithController(WineSession& session, const LaunchOptions& options,
                                DriverLaunch* launch, std::string* error) {
  if (!session.ClearComPorts(error) || !session.ResetDriverSettings(error)) return false;
  for (const auto& [name, value] : options.settings) {
    if (!session.SetDriverSetting(name, value, error)) return false;
  }
  for (const MappingText& value : options.mappingTexts) {
    if (!session.SetDriverString(value.mapping, value.name, value.text, error)) return false;
  }
  launch->controller = std::make_unique<sim::SimulatedController>();
  if (!launch->controller->Start()) {
    *error = "the simulated controller did not start";
    return false;
  }
  if (!session.LinkComPort(options.port, launch->controller->SlavePath(), error)) return false;
  if (options.otherPorts &&
      !AttachOtherPorts(session, {options.port}, &launch->otherPorts, error)) {
    return false;
  }
  launch->driver = session.StartDriver(error);
  if (launch->driver == nullptr) return false;
  launch->trayWaiter = session.StartWindowsProgram("probe.exe", {"wait-tray", "60000"}, error);
  return launch->trayWaiter != nullptr;
}

}  // namespace e2e
