// Latency and sustained rate of motion delivery under Wine, from the simulated
// controller's pty to the test client's message queue.
//
// Latency: the time from writing a motion line (its carriage return is the last
// byte written) to the moment the test client takes the "MotionEvent" from its
// queue, over paced packets; goal median under 0.5 ms, 99th percentile under 3 ms.
// Rate: lines written as fast as the pty takes them; every one must reach the
// client, in order; goal at least 10,000 packets/s. Both with the client having
// set mouse mode 0, then with the default mode 24 (the pointer moves too).
//
// Clocks: the client stamps arrivals with its performance counter. That counter
// is related to the host's CLOCK_MONOTONIC_RAW by a ping-pong with
// `probe.exe clock-echo` before and after the runs (the offset of the fastest
// round trip, its error at most half that round trip); arrivals are mapped with
// the offset interpolated between the two.
//
// latency_figures --linked: the same with a named mapping linked to a program
// ("Programs" stored before the driver starts). Motion goes nowhere near the
// links, so its figures should agree with a run without.
#include <time.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "client/astrolab_client.h"
#include "tests/e2e/client_events.h"
#include "tests/e2e/driver_launch.h"
#include "tests/e2e/process_stats.h"

namespace {

using e2e::ChildProcess;
using std::chrono::milliseconds;

constexpr int kPacedPackets = 2000;
constexpr auto kPacing = std::chrono::microseconds(3000);
constexpr int kStreamPackets = 20000;
constexpr int kPings = 300;

double Micros(clockid_t clock) {
  timespec now;
  clock_gettime(clock, &now);
  return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}
double RawMicros() {
  return Micros(CLOCK_MONOTONIC_RAW);
}

// Client counter minus host clock, at one moment.
struct ClockRelation {
  double rawMicros = 0;        // host CLOCK_MONOTONIC_RAW when measured
  double offsetRaw = 0;        // client microseconds - CLOCK_MONOTONIC_RAW
  double offsetMonotonic = 0;  // client microseconds - CLOCK_MONOTONIC
  double roundTrip = 0;        // of the best ping, microseconds
  long long frequency = 0;     // the counter's counts per second
};

std::optional<ClockRelation> Calibrate(e2e::WineSession& session) {
  std::string error;
  ChildProcess* echo = session.StartWindowsProgram("probe.exe", {"clock-echo"}, &error, true);
  if (echo == nullptr) {
    std::fprintf(stderr, "clock-echo: %s\n", error.c_str());
    return std::nullopt;
  }
  const auto header = echo->WaitForLineStartingWith("FREQUENCY ", std::chrono::seconds(30));
  if (!header) return std::nullopt;
  ClockRelation best;
  best.frequency = std::stoll(header->text.substr(10));
  best.roundTrip = 1e18;
  for (int i = 0; i < kPings; ++i) {
    const std::size_t before = echo->LineCount();
    const double sentRaw = RawMicros();
    const double sentMonotonic = Micros(CLOCK_MONOTONIC);
    if (!echo->WriteInput("x\n") || !echo->WaitForLineCount(before + 1, std::chrono::seconds(5))) {
      return std::nullopt;
    }
    const double backRaw = RawMicros();
    const double backMonotonic = Micros(CLOCK_MONOTONIC);
    const double counter = std::stod(echo->Lines()[before].text);
    if (backRaw - sentRaw < best.roundTrip) {
      best.roundTrip = backRaw - sentRaw;
      best.rawMicros = (sentRaw + backRaw) / 2;
      best.offsetRaw = counter - best.rawMicros;
      best.offsetMonotonic = counter - (sentMonotonic + backMonotonic) / 2;
    }
  }
  echo->CloseInput();
  echo->WaitForExit(std::chrono::seconds(10));
  return best;
}

// The offset at a host moment, on the line through the two calibrations.
struct ClockMap {
  ClockRelation first;
  ClockRelation last;
  double HostRaw(double clientMicros) const {
    const double span = last.rawMicros - first.rawMicros;
    const double guess = clientMicros - first.offsetRaw;
    const double share = span > 0 ? (guess - first.rawMicros) / span : 0;
    return clientMicros - (first.offsetRaw + share * (last.offsetRaw - first.offsetRaw));
  }
};

// The packet's number in three 9-bit fields of X, Y and A: delivered unchanged
// with the default settings. Z keeps a raw sample off rest.
sim::Axes Numbered(int n) {
  return {n & 511, (n >> 9) & 511, 100, (n >> 18) & 511, 0, 0};
}
int NumberOf(const e2e::MotionWords& words) {
  return AstrolabMotionField(words.wParam, 0) | AstrolabMotionField(words.wParam, 1) << 9 |
         AstrolabMotionField(words.lParam, 0) << 18;
}

struct Arrival {
  int number;
  double clientMicros;
};

std::vector<Arrival> ArrivalsFrom(const ChildProcess& client, std::size_t firstLine) {
  std::vector<Arrival> arrivals;
  const std::vector<e2e::OutputLine> lines = client.Lines();
  for (std::size_t i = firstLine; i < lines.size(); ++i) {
    const auto event = e2e::ParseClientEvent(lines[i].text);
    if (!event || event->name != ASTROLAB_MOTION_EVENT) continue;
    const auto words = e2e::WordsOf(*event);
    if (!words) continue;
    arrivals.push_back({NumberOf(*words), static_cast<double>(event->micros)});
  }
  return arrivals;
}

double Percentile(std::vector<double> values, double share) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t index =
      std::min(values.size() - 1, static_cast<std::size_t>(share * values.size()));
  return values[index];
}

// Losses and order of the arrivals of numbers first..first+count-1.
struct Delivery {
  int received = 0;
  int missing = 0;
  int outOfOrder = 0;
};
Delivery Check(const std::vector<Arrival>& arrivals, int first, int count) {
  Delivery delivery;
  std::vector<bool> seen(count, false);
  int last = first - 1;
  for (const Arrival& arrival : arrivals) {
    const int index = arrival.number - first;
    if (index < 0 || index >= count) continue;
    ++delivery.received;
    seen[index] = true;
    if (arrival.number <= last) ++delivery.outOfOrder;
    last = arrival.number;
  }
  delivery.missing = static_cast<int>(std::count(seen.begin(), seen.end(), false));
  return delivery;
}

struct Processes {
  pid_t driver;
  pid_t client;
  pid_t server;
};
struct CpuMs {
  double driver = 0;
  double client = 0;
  double server = 0;
};
CpuMs Cpu(const Processes& processes) {
  return {e2e::CpuTimeMs(processes.driver).value_or(0),
          e2e::CpuTimeMs(processes.client).value_or(0),
          e2e::CpuTimeMs(processes.server).value_or(0)};
}
void PrintCpu(const CpuMs& before, const CpuMs& after, double seconds) {
  std::printf("  CPU: driver %.0f ms, client %.0f ms, wineserver %.0f ms over %.2f s\n",
              after.driver - before.driver, after.client - before.client,
              after.server - before.server, seconds);
}

class Figures {
 public:
  Figures(sim::SimulatedController& controller, ChildProcess& client, const Processes& processes)
      : controller_(controller), client_(client), processes_(processes) {}

  // Sends numbered packets until one arrives: the client's registration is in force.
  bool Synchronise() {
    for (int attempt = 0; attempt < 30; ++attempt) {
      const std::size_t firstLine = client_.LineCount();
      const int number = next_++;
      if (!controller_.SendRaw(sim::ShortMotionLine(Numbered(number)))) return false;
      std::this_thread::sleep_for(milliseconds(500));
      for (const Arrival& arrival : ArrivalsFrom(client_, firstLine)) {
        if (arrival.number == number) return true;
      }
    }
    return false;
  }

  // Paced packets: their write times, for the latencies computed at the end.
  bool Paced(const char* title) {
    PacedRun run;
    run.title = title;
    run.first = next_;
    run.firstLine = client_.LineCount();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kPacedPackets; ++i) {
      if (!controller_.SendRaw(sim::ShortMotionLine(Numbered(next_++)))) return false;
      run.written.push_back(RawMicros());
      std::this_thread::sleep_until(start + kPacing * (i + 1));
    }
    client_.WaitForLineCount(run.firstLine + kPacedPackets, std::chrono::seconds(60));
    runs_.push_back(std::move(run));
    return true;
  }

  bool Stream(const char* title, const ClockRelation& clock) {
    std::printf("%s\n", title);
    const int first = next_;
    const std::size_t firstLine = client_.LineCount();
    const CpuMs before = Cpu(processes_);
    const double start = RawMicros();
    for (int i = 0; i < kStreamPackets; ++i) {
      if (!controller_.SendRaw(sim::ShortMotionLine(Numbered(next_++)))) return false;
    }
    const double written = RawMicros();
    client_.WaitForLineCount(firstLine + kStreamPackets, std::chrono::seconds(120));
    const CpuMs after = Cpu(processes_);
    const std::vector<Arrival> arrivals = ArrivalsFrom(client_, firstLine);
    const Delivery delivery = Check(arrivals, first, kStreamPackets);
    double lastArrival = start;
    for (const Arrival& arrival : arrivals) {
      lastArrival = std::max(lastArrival, arrival.clientMicros - clock.offsetRaw);
    }
    const double seconds = (lastArrival - start) / 1e6;
    std::printf("  %d packets written in %.3f s (%.0f packets/s into the pty)\n", kStreamPackets,
                (written - start) / 1e6, kStreamPackets / ((written - start) / 1e6));
    std::printf("  received %d, missing %d, out of order %d\n", delivery.received, delivery.missing,
                delivery.outOfOrder);
    std::printf("  first write to last arrival: %.3f s = %.0f packets/s (goal >= 10000)\n", seconds,
                delivery.received / seconds);
    PrintCpu(before, after, seconds);
    return true;
  }

  void PrintLatencies(const ClockMap& clocks) const {
    for (const PacedRun& run : runs_) {
      std::printf("%s\n", run.title);
      const std::vector<Arrival> arrivals = ArrivalsFrom(client_, run.firstLine);
      const Delivery delivery = Check(arrivals, run.first, kPacedPackets);
      std::vector<double> latencies;
      for (const Arrival& arrival : arrivals) {
        const int index = arrival.number - run.first;
        if (index < 0 || index >= kPacedPackets) continue;
        latencies.push_back(clocks.HostRaw(arrival.clientMicros) - run.written[index]);
      }
      std::printf("  %d packets, one every %.1f ms: received %d, missing %d, out of order %d\n",
                  kPacedPackets, kPacing.count() / 1000.0, delivery.received, delivery.missing,
                  delivery.outOfOrder);
      std::printf(
          "  latency ms: min %.3f  median %.3f  p90 %.3f  p99 %.3f  max %.3f"
          "  (goal: median < 0.5, p99 < 3)\n",
          Percentile(latencies, 0) / 1e3, Percentile(latencies, 0.5) / 1e3,
          Percentile(latencies, 0.9) / 1e3, Percentile(latencies, 0.99) / 1e3,
          Percentile(latencies, 1.0) / 1e3);
    }
  }

 private:
  struct PacedRun {
    const char* title = "";
    int first = 0;
    std::size_t firstLine = 0;
    std::vector<double> written;
  };

  sim::SimulatedController& controller_;
  ChildProcess& client_;
  Processes processes_;
  int next_ = 1;
  std::vector<PacedRun> runs_;
};

bool SetMouseMode(e2e::WineSession& session, int mode) {
  return session.Probe({"send-command", std::to_string(CmdSetMouseMode), std::to_string(mode)})
      .Succeeded();
}

int Fail(const std::string& text) {
  std::fprintf(stderr, "%s\n", text.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  e2e::LaunchOptions options;
  if (argc == 2 && std::strcmp(argv[1], "--linked") == 0) {
    options.mappingTexts = {{"Mapping A", "Programs", "notepad.exe"}};
  } else if (argc != 1) {
    return Fail("usage: latency_figures [--linked]");
  }
  // A clock-echo that has ended must not end this program with its input pipe.
  std::signal(SIGPIPE, SIG_IGN);
  e2e::WineSession session;
  std::string error;
  e2e::DriverLaunch launch;
  if (!session.Start("latency_figures", &error) ||
      !e2e::LaunchDriverWithController(session, options, &launch, &error)) {
    return Fail(error);
  }
  std::printf("%s\n", options.mappingTexts.empty()
                          ? "No mapping linked to a program"
                          : "\"Mapping A\" linked to notepad.exe before the driver started");
  if (!launch.trayWaiter->WaitForLine([](const std::string& line) { return !line.empty(); },
                                      std::chrono::seconds(90))) {
    return Fail("the driver did not start up");
  }
  const auto firstClock = Calibrate(session);
  if (!firstClock) return Fail("no clock calibration");

  ChildProcess* client = session.StartWindowsProgram(
      "test_client.exe", {"--mouse-mode", "0", "--title", "Latency client"}, &error);
  if (client == nullptr) return Fail(error);
  if (!client->WaitForLineStartingWith("READY ", std::chrono::seconds(30))) {
    return Fail("the test client did not start");
  }
  const auto server = e2e::FindWineserver(session.PrefixDir());
  const Processes processes = {launch.driver->Pid(), client->Pid(), server.value_or(0)};
  Figures figures(*launch.controller, *client, processes);
  if (!figures.Synchronise()) return Fail("no packet reached the client");

  if (!figures.Paced("Latency, mouse mode 0 (set by the client)")) return Fail("pty refused");
  if (!figures.Stream("Sustained rate, mouse mode 0", *firstClock)) return Fail("pty refused");
  if (!SetMouseMode(session, MouseModeDefault)) return Fail("cannot set the mouse mode");
  if (!figures.Synchronise()) return Fail("packets stopped reaching the client");
  if (!figures.Paced("Latency, mouse mode 24 (the default: the pointer moves too)")) {
    return Fail("pty refused");
  }
  if (!figures.Stream("Sustained rate, mouse mode 24", *firstClock)) return Fail("pty refused");

  const auto lastClock = Calibrate(session);
  if (!lastClock) return Fail("no clock calibration at the end");
  std::printf(
      "Clock: client counter %lld counts/s; counter minus host CLOCK_MONOTONIC_RAW "
      "%.1f us, then %.1f us after %.1f s (best round trips %.1f and %.1f us);\n"
      "       counter minus CLOCK_MONOTONIC %.1f us\n",
      firstClock->frequency, firstClock->offsetRaw, lastClock->offsetRaw,
      (lastClock->rawMicros - firstClock->rawMicros) / 1e6, firstClock->roundTrip,
      lastClock->roundTrip, firstClock->offsetMonotonic);
  figures.PrintLatencies({*firstClock, *lastClock});
  return 0;
}
