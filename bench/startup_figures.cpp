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

}  // namespace

int main() {
  std::vector<double> toBeep;
  std::vector<double> toTray;
  std::printf("run  launch->start-up beep  launch->tray icon  (ms; fixed waits %.0f ms)\n",
              kFixedWaitsMs);
  for (int run = 1; run <= kRuns; ++run) {
    e2e::WineSession session;
    std::string error;
    e2e::DriverLaunch launch;
    if (!session.Start("startup_figures", &error) ||
        !e2e::LaunchDriverWithController(session, 3, &launch, &error)) {
      std::fprintf(stderr, "run %d: %s\n", run, error.c_str());
      return 1;
    }
    const auto launched = launch.driver->StartTime();
    const auto trayLine = launch.trayWaiter->WaitForLine(
        [](const std::string& line) { return !line.empty(); }, std::chrono::seconds(90));
    if (!trayLine || !launch.controller->WaitForCommand("b9", std::chrono::seconds(5))) {
      std::fprintf(stderr, "run %d: the driver did not start up\n", run);
      return 1;
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
  std::printf("median above the fixed waits: %.0f ms\n", Median(toTray) - kFixedWaitsMs);
  return 0;
}
