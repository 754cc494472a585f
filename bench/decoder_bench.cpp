// Throughput of the line decoder: lines per second for streams of short motion
// lines, long motion lines and a mix of every report, fed the way the main loop
// feeds them (reads no larger than the room left, each followed by a dispatch).
// The argument is the size of one read: 1 (a byte per wake-up), 16 (about one
// line per wake-up, as at 9600 baud) and 255 (a full buffer).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "driver/device_link.h"
#include "sim/simulated_controller.h"

namespace {

using namespace astro;

class CountingHost : public DeviceLinkHost {
 public:
  void SendCommand(const char*, std::size_t) override { ++commands; }
  void DeliverMotion() override { ++motions; }
  void DeliverButtons(std::uint32_t mask) override { buttons += mask; }
  bool PanelOpen() override { return true; }
  void PostPanelNote(std::uint32_t, std::int32_t) override { ++notes; }
  void RepaintPanel() override {}
  long commands = 0, motions = 0, buttons = 0, notes = 0;
};

// Axis values that differ from line to line and cover each form's whole range.
sim::Axes ShortAxes(int seed) {
  sim::Axes axes;
  for (int axis = 0; axis < kAxisCount; ++axis)
    axes[axis] = ((seed * 37 + axis * 511) & 4095) - 2048;
  return axes;
}

sim::Axes LongAxes(int seed) {
  sim::Axes axes;
  for (int axis = 0; axis < kAxisCount; ++axis) {
    axes[axis] = ((seed * 977 + axis * 8191) & 0xFFFF) - 32768;
  }
  return axes;
}

std::string ShortLine(int seed) {
  return sim::ShortMotionLine(ShortAxes(seed));
}
std::string LongLine(int seed) {
  return sim::LongMotionLine(LongAxes(seed));
}

struct Stream {
  std::string bytes;
  long lines = 0;
};

constexpr int kLinesPerStream = 1000;

Stream ShortStream() {
  Stream s;
  for (int i = 0; i < kLinesPerStream; ++i) s.bytes += ShortLine(i);
  s.lines = kLinesPerStream;
  return s;
}

Stream LongStream() {
  Stream s;
  for (int i = 0; i < kLinesPerStream; ++i) s.bytes += LongLine(i);
  s.lines = kLinesPerStream;
  return s;
}

// Mostly motion, as in use, with buttons and the device's reports between.
Stream MixedStream() {
  static const char* const kOthers[] = {"kA00\r", "k000\r", "m3\r", "mA\r",  "c3A\r",
                                        "c30\r",  "n?\r",   "nA\r", "q00\r", "q01\r"};
  Stream s;
  for (int i = 0; i < kLinesPerStream; ++i) {
    if (i % 4 == 3) {
      s.bytes += kOthers[(i / 4) % 10];
    } else {
      s.bytes += i % 4 == 0 ? LongLine(i) : ShortLine(i);
    }
  }
  s.lines = kLinesPerStream;
  return s;
}

void Decode(benchmark::State& state, const Stream& stream) {
  const std::size_t readSize = static_cast<std::size_t>(state.range(0));
  DeliveryContext context;
  SettingsRecord settings;
  settings.modeChangeable = 0;
  RuntimeFlags flags;
  StoredCommands commands;
  CountingHost host;
  DeviceLink link(context, settings, flags, commands, host);
  link.Clear();
  for (auto _ : state) {
    std::size_t pos = 0;
    while (pos < stream.bytes.size()) {
      std::size_t n = stream.bytes.size() - pos;
      if (n > readSize) n = readSize;
      if (n > link.FreeCapacity()) n = link.FreeCapacity();
      pos += link.Append(stream.bytes.data() + pos, n);
      link.DispatchLines();
    }
    benchmark::DoNotOptimize(context.axis);
  }
  benchmark::DoNotOptimize(host.motions);
  state.counters["lines"] = benchmark::Counter(
      static_cast<double>(stream.lines) * static_cast<double>(state.iterations()),
      benchmark::Counter::kIsRate);
  state.counters["bytes"] = benchmark::Counter(
      static_cast<double>(stream.bytes.size()) * static_cast<double>(state.iterations()),
      benchmark::Counter::kIsRate);
}

void BM_ShortMotionLines(benchmark::State& state) {
  static const Stream stream = ShortStream();
  Decode(state, stream);
}

void BM_LongMotionLines(benchmark::State& state) {
  static const Stream stream = LongStream();
  Decode(state, stream);
}

void BM_MixedStream(benchmark::State& state) {
  static const Stream stream = MixedStream();
  Decode(state, stream);
}

BENCHMARK(BM_ShortMotionLines)->Arg(1)->Arg(16)->Arg(255);
BENCHMARK(BM_LongMotionLines)->Arg(1)->Arg(16)->Arg(255);
BENCHMARK(BM_MixedStream)->Arg(1)->Arg(16)->Arg(255);

}  // namespace
