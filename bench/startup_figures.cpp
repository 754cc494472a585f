// Start-up time of the driver under Wine: from launching it to its tray icon,
// against the 2.8 s of fixed waits that discovery and the start-up commands
// take by design. A probe waiting for the icon is started together with the
// driver. Every run is a new session; the prefix's Wine server is already up
// (the port and registry set-up started it), so Wine's own cold start is not
// counted.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/e2e/driver_launch.h"

namespace {

constexpr int kRuns = 5;
constexpr double kFixedWaitsMs = 2800.0;

double MsBetween(e2e::Clock::time_point from, e2e::Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void PrintSummary(const char* what, const std::vector<double>& values) {
  std::printf("%-32s min %7.0f  median %7.0f  max %7.0f ms\n", what,
              *std::min_element(values.begin(), values.end()), Median(values),
              *std::max_element(values.begin(), values.end()));
}

// Five starts in one world; false when one did not start up or its window did
// not answer afterwards (the hang of a library load comes after the icon).
bool MeasureWorld(const char* world, bool otherPorts) {
  std::vector<double> toBeep;
  std::vector<double> toTray;
  std::printf("%s\nrun  launch->start-up beep  launch->tray icon  (ms; fixed waits %.0f ms)\n",
              world, kFixedWaitsMs);
  for (int run = 1; run <= kRuns; ++run) {
    e2e::WineSession session;
    std::string error;
    e2e::DriverLaunch launch;
    e2e::LaunchOptions options;
    options.otherPorts = otherPorts;
    if (!session.Start("startup_figures", &error) ||
        !e2e::LaunchDriverWithController(session, options, &launch, &error)) {
      std::fprintf(stderr, "run %d: %s\n", run, error.c_str());
      return false;
    }
    const auto launched = launch.driver->StartTime();
    const auto trayLine = launch.trayWaiter->WaitForLine(
        [](const std::string& line) { return !line.empty(); }, std::chrono::seconds(90));
    if (!trayLine || !launch.controller->WaitForCommand("b9", std::chrono::seconds(5))) {
      std::fprintf(stderr, "run %d: the driver did not start up\n", run);
      return false;
    }
    if (!session.Probe({"sync-driver"}).Succeeded()) {
      std::fprintf(stderr, "run %d: the driver's window does not answer after start-up\n", run);
      return false;
    }
    double beep = 0;
    for (const sim::ReceivedCommand& command : launch.controller->Commands()) {
      if (command.line == "b9") beep = MsBetween(launched, command.arrival);
    }
    toBeep.push_back(beep);
    toTray.push_back(MsBetween(launched, trayLine->arrival));
    std::printf("%3d  %21.0f  %17.0f\n", run, toBeep.back(), toTray.back());
    session.Stop();
  }
  PrintSummary("launch to start-up beep", toBeep);
  PrintSummary("launch to tray icon", toTray);
  std::printf("median above the fixed waits: %.0f ms\n\n", Median(toTray) - kFixedWaitsMs);
  return true;
}

}  // namespace

int main() {
  const bool alone = MeasureWorld("The controller's port alone (COM3)", false);
  const bool usersMachine = MeasureWorld(
      "A user's machine: silent COM1 and COM7, other devices on COM2 and COM6, controller COM3",
      true);
  return alone && usersMachine ? 0 : 1;
}
