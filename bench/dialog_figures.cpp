// Memory of the driver under Wine while its dialogs open and close again and
// again: About and the language dialog 300 times each, the button window 100 times
// from the control panel's check box. It prints the driver's private memory before
// and after each run; flat means nothing that an opening takes is kept. It
// asserts nothing; it fails only when the run itself does (a dialog that does not
// come or go). The button window's run also prints the thread handles the
// driver holds before and after (Wine counts no handles for
// GetProcessHandleCount: the probe copies them out of the driver one by one).
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "tests/e2e/driver_launch.h"
#include "tests/e2e/process_stats.h"

namespace {

constexpr int kOpenings = 300;
constexpr int kButtonWindowOpenings = 100;
constexpr const char* kPanelTitle = "Astrolab/AIRCAP 3D Controller Panel";

bool Run(e2e::WineSession& session, pid_t driver, const char* what,
         const std::vector<std::string>& cycle) {
  const auto before = e2e::PrivateMemoryKb(driver);
  if (!before) return false;
  const auto start = e2e::Clock::now();
  const e2e::ProbeResult result = session.Probe(cycle, std::chrono::minutes(10));
  const double seconds = std::chrono::duration<double>(e2e::Clock::now() - start).count();
  if (!result.Succeeded()) {
    std::fprintf(stderr, "%s: only %s cycles\n", what, result.Field("DONE").value_or("?").c_str());
    return false;
  }
  const auto after = e2e::PrivateMemoryKb(driver);
  if (!after) return false;
  std::printf("%-32s %6.1f s  memory %7ld -> %7ld kB (%+ld)\n", what, seconds, *before, *after,
              *after - *before);
  return true;
}

}  // namespace

int main() {
  e2e::WineSession session;
  std::string error;
  e2e::DriverLaunch launch;
  e2e::LaunchOptions options;
  options.settings = {{"Name", "Bench"}};
  if (!session.Start("dialog_figures", &error) ||
      !e2e::LaunchDriverWithController(session, options, &launch, &error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  if (!launch.trayWaiter->WaitForLine([](const std::string& line) { return !line.empty(); },
                                      std::chrono::seconds(90))) {
    std::fprintf(stderr, "the driver did not start up\n");
    return 1;
  }
  const pid_t driver = launch.driver->Pid();
  const std::string openings = std::to_string(kOpenings);
  // A first opening of each, so that what a dialog loads once for the whole run
  // (its class, the common controls) is in the reference.
  for (const auto& warmUp :
       {std::vector<std::string>{"cycle-dialog", "111", "Information", "1", "1"},
        std::vector<std::string>{"cycle-dialog", "40003", "Language Selection", "1", "1"}}) {
    if (!session.Probe(warmUp, std::chrono::minutes(1)).Succeeded()) {
      std::fprintf(stderr, "a dialog did not open or close\n");
      return 1;
    }
  }
  std::printf("Dialogs opened and closed again (driver's private memory)\n");
  if (!Run(session, driver,
           "About, 300 times:", {"cycle-dialog", "111", "Information", "1", openings}) ||
      !Run(session, driver, "Language dialog, 300 times:",
           {"cycle-dialog", "40003", "Language Selection", "1", openings})) {
    return 1;
  }
  const auto threadHandles = [&session] {
    return session.Probe({"thread-handles"}).Field("THREADS").value_or("?");
  };
  const std::string threadsBefore = threadHandles();
  if (!session.Probe({"post-driver", "273", "110", "0"}).Succeeded() ||
      !session.Probe({"wait-box", kPanelTitle, "30000"}, std::chrono::minutes(1)).Succeeded() ||
      !Run(session, driver, "Button window, 100 times:",
           {"cycle-toggle", kPanelTitle, "2026", "Veltrix [Bench]",
            std::to_string(kButtonWindowOpenings)})) {
    std::fprintf(stderr, "the button window run did not complete\n");
    return 1;
  }
  std::printf("Thread handles held by the driver: %s before, %s after\n", threadsBefore.c_str(),
              threadHandles().c_str());
  return 0;
}
