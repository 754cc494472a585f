// Cost of DeliverMotion per motion packet with a platform that does nothing (so the
// figure is the shaping alone, without PostMessageA or SendInput): the default
// settings with mouse emulation, every mouse bit and a null zone, samples that the
// null zone swallows, and the fallback path when every post fails.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "delivery/motion_shaping.h"

namespace {

using namespace astro;

class IdlePlatform : public DeliveryPlatform {
 public:
  void MoveMouse(std::int32_t dx, std::int32_t dy) override { sink += dx + dy; }
  void TurnWheel(std::int32_t amount) override { sink += amount; }
  void PressMouseButton(std::uint32_t flags) override { sink += flags; }
  std::uint32_t Post(WindowHandle, std::uint32_t, std::uintptr_t wParam,
                     std::intptr_t lParam) override {
    sink += static_cast<std::int64_t>(wParam) + lParam;
    return postError;
  }
  void ReadWindowTitle(WindowHandle, char* title, std::size_t) override {
    title[0] = 'T';
    title[1] = 0;
  }
  bool WindowExists(WindowHandle) override { return true; }
  void ReadWindowClass(WindowHandle, char* name, std::size_t) override { name[0] = 0; }
  void WindowThreadProcess(WindowHandle, std::uint32_t* t, std::uint32_t* p) override {
    *t = 1;
    *p = 1;
  }
  void PostToDriverWindow(std::uint32_t, std::intptr_t) override {}
  WindowHandle PanelWindow() override { return 0; }

  std::uint32_t postError = 0;
  std::int64_t sink = 0;
};

struct Bench {
  DeliveryContext context;
  SettingsRecord settings;
  RuntimeFlags flags;
  AppTable apps;
  ClientList clients;
  IdlePlatform platform;
  DeliveryScope scope{context, settings, flags, apps, clients, platform};

  Bench() {
    context.ownWindow = 1;
    context.targetWindow = 2;
    context.motionEventMessage = 0xC101;
    clients.Add(2);
  }

  // A different sample for each packet: within -600..600 on every axis.
  void Fill(std::int64_t n) {
    for (int i = 0; i < kAxisCount; ++i) {
      context.axis[i] = static_cast<std::int32_t>((n * 97 + i * 331) % 1201) - 600;
    }
  }

  void Run(benchmark::State& state) {
    std::int64_t n = 0;
    for (auto _ : state) {
      Fill(n++);
      DeliverMotion(scope);
    }
    benchmark::DoNotOptimize(platform.sink);
    state.SetItemsProcessed(state.iterations());
  }
};

void BM_DefaultSettings(benchmark::State& state) {
  Bench b;
  b.Run(state);
}
BENCHMARK(BM_DefaultSettings);

void BM_EveryMouseBitNullZoneAndScales(benchmark::State& state) {
  Bench b;
  b.flags.mouseMode = MouseModeTranslation | MouseModeRotation | MouseModeSlanted;
  b.settings.nullRadius = 20;
  for (int i = 0; i < kAxisCount; ++i) b.settings.axisScale[i] = 0.5 + i;
  b.Run(state);
}
BENCHMARK(BM_EveryMouseBitNullZoneAndScales);

void BM_SwallowedByTheNullZone(benchmark::State& state) {
  Bench b;
  b.flags.mouseMode = 0;
  b.settings.nullRadius = 1000;
  b.Run(state);
}
BENCHMARK(BM_SwallowedByTheNullZone);

void BM_EveryPostFailsAndFallsBack(benchmark::State& state) {
  Bench b;
  b.platform.postError = 1816;
  for (WindowHandle w = 3; w <= 9; ++w) b.clients.Add(w);
  b.Run(state);
}
BENCHMARK(BM_EveryPostFailsAndFallsBack);

}  // namespace
