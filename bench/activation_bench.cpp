// What one activation and one registration cost on the main thread, with the
// application table and the client list full: every lookup runs over all slots.
#include <benchmark/benchmark.h>

#include <cstring>

#include "delivery/activation_tracker.h"
#include "delivery/target_selection.h"

namespace astro {
namespace {

// Window w belongs to thread w + 1000 of process w + 2000; every window exists.
class DesktopPlatform : public DeliveryPlatform {
 public:
  void MoveMouse(std::int32_t, std::int32_t) override {}
  void TurnWheel(std::int32_t) override {}
  void PressMouseButton(std::uint32_t) override {}
  std::uint32_t Post(WindowHandle window, std::uint32_t, std::uintptr_t, std::intptr_t) override {
    sink += window;
    return 0;
  }
  void ReadWindowTitle(WindowHandle, char* title, std::size_t) override { title[0] = 0; }
  bool WindowExists(WindowHandle) override { return true; }
  void ReadWindowClass(WindowHandle, char* name, std::size_t size) override {
    std::strncpy(name, "ApplicationFrame", size - 1);
    name[size - 1] = 0;
  }
  void WindowThreadProcess(WindowHandle window, std::uint32_t* threadId,
                           std::uint32_t* processId) override {
    *threadId = static_cast<std::uint32_t>(window + 1000);
    *processId = static_cast<std::uint32_t>(window + 2000);
  }
  void PostToDriverWindow(std::uint32_t, std::intptr_t) override {}
  WindowHandle PanelWindow() override { return 0; }

  std::uint64_t sink = 0;
};

struct Desktop {
  DeliveryContext context;
  SettingsRecord settings;
  RuntimeFlags flags;
  AppTable apps;
  ClientList clients;
  DesktopPlatform platform;
  ActivationTracker tracker{context, apps, platform};
  DeliveryScope scope{context, settings, flags, apps, clients, platform, nullptr, &tracker};

  // Eight applications (windows 1..8), each with its client bound by thread.
  Desktop() {
    context.ownWindow = 999;
    for (WindowHandle application = 1; application <= 8; ++application) {
      tracker.OnActivation(application);
      RegisterClientWindow(scope, application);
    }
  }
};

void BM_ActivationOfTheLastBoundApplication(benchmark::State& state) {
  Desktop desktop;
  for (auto _ : state) {
    desktop.tracker.OnActivation(8);
    benchmark::DoNotOptimize(desktop.context.targetWindow);
  }
}
BENCHMARK(BM_ActivationOfTheLastBoundApplication);

void BM_ActivationOfAnUnboundWindow(benchmark::State& state) {
  Desktop desktop;
  for (auto _ : state) {
    desktop.tracker.OnActivation(50);
    benchmark::DoNotOptimize(desktop.context.targetWindow);
  }
}
BENCHMARK(BM_ActivationOfAnUnboundWindow);

void BM_RegistrationWithAFullClientList(benchmark::State& state) {
  Desktop desktop;
  for (auto _ : state) {
    RegisterClientWindow(desktop.scope, 5);
    benchmark::DoNotOptimize(desktop.context.targetWindow);
  }
}
BENCHMARK(BM_RegistrationWithAFullClientList);

}  // namespace
}  // namespace astro
