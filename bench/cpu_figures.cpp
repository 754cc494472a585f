// CPU time of the driver under Wine (its own process and, separately, the
// prefix's wineserver): over 10 s with the controller silent (goal: under
// 20 ms), and over 10 s while the controller streams short motion packets as
// fast as the pseudo-terminal takes them.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <thread>

#include "tests/e2e/driver_launch.h"
#include "tests/e2e/process_stats.h"

namespace {

constexpr auto kWindow = std::chrono::seconds(10);

struct CpuSample {
  double driverMs = 0;
  double serverMs = 0;
};

bool Sample(pid_t driver, pid_t server, CpuSample* sample) {
  const auto driverMs = e2e::CpuTimeMs(driver);
  const auto serverMs = e2e::CpuTimeMs(server);
  if (!driverMs || !serverMs) return false;
  *sample = {*driverMs, *serverMs};
  return true;
}

void Print(const char* what, const CpuSample& before, const CpuSample& after) {
  std::printf("%-28s driver %7.0f ms CPU   wineserver %7.0f ms CPU\n", what,
              after.driverMs - before.driverMs, after.serverMs - before.serverMs);
}

}  // namespace

int main() {
  e2e::WineSession session;
  std::string error;
  e2e::DriverLaunch launch;
  if (!session.Start("cpu_figures", &error) ||
      !e2e::LaunchDriverWithController(session, {}, &launch, &error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  if (!launch.trayWaiter->WaitForLine([](const std::string& line) { return !line.empty(); },
                                      std::chrono::seconds(90))) {
    std::fprintf(stderr, "the driver did not start up\n");
    return 1;
  }
  const auto server = e2e::FindWineserver(session.PrefixDir());
  if (!server) {
    std::fprintf(stderr, "no wineserver found for %s\n", session.PrefixDir().c_str());
    return 1;
  }
  const pid_t driver = launch.driver->Pid();
  // Let the start-up's stragglers (the probe, explorer's first paint) settle.
  std::this_thread::sleep_for(std::chrono::seconds(2));

  CpuSample before;
  CpuSample after;
  if (!Sample(driver, *server, &before)) return 1;
  std::this_thread::sleep_for(kWindow);
  if (!Sample(driver, *server, &after)) return 1;
  Print("silent controller, 10 s:", before, after);
  std::printf("  (goal: driver under 20 ms)\n");

  long packets = 0;
  const sim::Axes axes = {100, -200, 300, -400, 500, -600};
  const std::string packet = sim::ShortMotionLine(axes);
  if (!Sample(driver, *server, &before)) return 1;
  const auto start = e2e::Clock::now();
  while (e2e::Clock::now() - start < kWindow) {
    if (!launch.controller->SendRaw(packet)) {
      std::fprintf(stderr, "the pty refused a packet after %ld\n", packets);
      return 1;
    }
    ++packets;
  }
  const double seconds = std::chrono::duration<double>(e2e::Clock::now() - start).count();
  if (!Sample(driver, *server, &after)) return 1;
  Print("streaming motion, 10 s:", before, after);
  std::printf("  packets written: %ld (%.0f packets/s, %zu bytes each)\n", packets,
              packets / seconds, packet.size());
  std::printf("  driver still running: %s\n", launch.driver->Running() ? "yes" : "no");
  return 0;
}
