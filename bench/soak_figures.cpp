// Soak of the serial line under abuse: for 60 s (--seconds N) the simulated
// controller writes, as fast as the pty takes them, valid motion lines (short and
// long form, some with zero bytes inside) and button press/release pairs,
// interleaved with random bytes, over-long lines, motion lines with a bad
// checksum or a wrong length, and garbage with zero bytes. Then it waits for the
// last valid packet at the test client and prints what arrived against what was
// sent, the buttons held at the end, the driver's private memory over the run and
// the CPU time of the driver and wineserver. It asserts nothing; it fails only
// when the run itself does (the driver dies, the pty stops taking bytes).
//
// Why every valid packet must arrive exactly once: each line ends in a carriage
// return, so a valid line always starts a line of its own; garbage never holds
// one of the letters that start a report the decoder acts on ("c", "d", "k", "m",
// "n", "q"; an over-long line may start with "d", whose length then matches no
// motion form), so no piece of it, wherever the over-long rule cuts it, is
// decoded; zero bytes are dropped one by one, so a valid line with zero bytes in
// it stays valid. Button beeps are switched off: each would stall the driver
// 100 ms by design.
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <memory>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "client/astrolab_client.h"
#include "driver/device_alphabet.h"
#include "tests/e2e/client_events.h"
#include "tests/e2e/driver_launch.h"
#include "tests/e2e/process_stats.h"

namespace {

using e2e::ChildProcess;
using e2e::Clock;
using std::chrono::milliseconds;

constexpr std::size_t kChunkBytes = 2048;  // items are written in chunks of about this size
constexpr long kFirstNumber = 1000;        // of the soak's motion packets; below: synchronising
constexpr double kBaselineSeconds = 5;     // memory reference: this far into the stream
constexpr double kFlatShare = 0.05;        // flat: final within 5 % ...
constexpr long kFlatKb = 1024;             // ... or 1 MB of the reference
constexpr auto kSampleEvery = milliseconds(500);

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// The packet's number in X, Y and A (9 bits each); Z, B and C follow it over both
// signs. All stay inside the packed fields, so the words carry them unchanged.
sim::Axes Numbered(long n) {
  const int x = static_cast<int>(n & 511);
  const int y = static_cast<int>((n >> 9) & 511);
  const int z = static_cast<int>(n * 37 % 1021) - 510;
  const int a = static_cast<int>((n >> 18) & 511);
  const int b = -static_cast<int>(n * 13 % 1024);
  const int c = ((n & 1) != 0 ? 1 : -1) * static_cast<int>(n % 500);
  return {x, y, z, a, b, c};
}
long NumberOf(const e2e::MotionWords& words) {
  return AstrolabMotionField(words.wParam, 0) | AstrolabMotionField(words.wParam, 1) << 9 |
         AstrolabMotionField(words.lParam, 0) << 18;
}
e2e::MotionWords WordsFor(long n) {
  // Null zone 0 and factors 1 (the reset settings): every sample is posted.
  return *e2e::ExpectedMotion(Numbered(n), e2e::Shaping{});
}

struct ButtonEvent {
  bool press = false;
  std::uint64_t button = 0;
  std::int64_t mask = 0;
  bool operator==(const ButtonEvent& other) const {
    return press == other.press && button == other.button && mask == other.mask;
  }
};
std::string Describe(const ButtonEvent& event) {
  return std::string(event.press ? "press " : "release ") + std::to_string(event.button) +
         " mask " + std::to_string(event.mask);
}

enum Kind {
  kShortMotion,
  kLongMotion,
  kMotionWithZeros,
  kButton,
  kRandomBytes,
  kOverlong,
  kBadChecksum,
  kWrongLength,
  kZeroGarbage,
  kKinds
};
constexpr const char* kKindNames[kKinds] = {"valid short motion lines",
                                            "valid long motion lines",
                                            "valid motion lines with zero bytes",
                                            "button lines (press or release)",
                                            "random byte runs",
                                            "over-long lines (129-400 characters)",
                                            "motion lines with a bad checksum",
                                            "motion lines of a wrong length",
                                            "garbage lines with zero bytes"};
constexpr int kWeights[kKinds] = {40, 5, 5, 6, 10, 4, 8, 4, 4};

// The bytes written and what they must produce at the client.
class Stream {
 public:
  explicit Stream(unsigned seed) : random_(seed), pick_(std::begin(kWeights), std::end(kWeights)) {}

  void AppendItem(std::string& out) {
    const auto kind = static_cast<Kind>(pick_(random_));
    switch (kind) {
      case kShortMotion:
        out += Motion(false);
        break;
      case kLongMotion:
        out += Motion(true);
        break;
      case kMotionWithZeros:
        out += WithZeros(Motion(Below(2) == 0));
        break;
      case kButton:
        out += ButtonItem();
        break;
      case kRandomBytes:
        out += Garbage(1 + Below(300), true) + '\r';
        break;
      case kOverlong:
        out += Overlong();
        break;
      case kBadChecksum:
        out += sim::ShortMotionLine(RandomAxes(), true);
        break;
      case kWrongLength:
        out += WrongLength();
        break;
      case kZeroGarbage:
        out += WithZeros(Garbage(1 + Below(60), false) + '\r');
        break;
      case kKinds:
        break;
    }
    ++items_[kind];
  }

  // Lets go of a held button, then one last valid motion line: the one to wait for.
  void AppendEnd(std::string& out) {
    if (held_ != 0) {
      out += ButtonItem();
      ++items_[kButton];
    }
    out += Motion(false);
    ++items_[kShortMotion];
  }

  const std::vector<e2e::MotionWords>& Motions() const { return motions_; }
  const std::vector<ButtonEvent>& Buttons() const { return buttons_; }
  long Items(Kind kind) const { return items_[kind]; }

 private:
  unsigned Below(unsigned bound) {
    return std::uniform_int_distribution<unsigned>(0, bound - 1)(random_);
  }

  std::string Motion(bool longForm) {
    const long n = next_++;
    motions_.push_back(WordsFor(n));
    return longForm ? sim::LongMotionLine(Numbered(n)) : sim::ShortMotionLine(Numbered(n));
  }

  // Presses one of the twelve buttons when none is down, else releases it.
  std::string ButtonItem() {
    std::string line;
    if (held_ == 0) {
      held_ = 1 + Below(12);
      const std::uint32_t mask = 1u << (held_ - 1);
      buttons_.push_back({true, held_, mask});
      line = sim::ButtonLine(mask);
    } else {
      buttons_.push_back({false, held_, 0});
      held_ = 0;
      line = sim::ButtonLine(0);
    }
    return Below(4) == 0 ? WithZeros(line) : line;
  }

  // A byte that starts no report the decoder acts on; carriage returns and zero
  // bytes only when allowed.
  char SafeByte(bool lineBreaks) {
    for (;;) {
      const auto c = static_cast<char>(Below(256));
      if (std::strchr("cdkmnq", c) != nullptr && c != '\0') continue;
      if (!lineBreaks && (c == '\r' || c == '\0')) continue;
      return c;
    }
  }
  std::string Garbage(unsigned length, bool lineBreaks) {
    std::string bytes;
    for (unsigned i = 0; i < length; ++i) bytes.push_back(SafeByte(lineBreaks));
    return bytes;
  }

  // Zero bytes anywhere in the line, its carriage return included.
  std::string WithZeros(std::string line) {
    for (unsigned zeros = 1 + Below(3); zeros > 0; --zeros) {
      line.insert(line.begin() + Below(static_cast<unsigned>(line.size()) + 1), '\0');
    }
    return line;
  }

  // More than 128 characters before the carriage return: plain garbage, or a "d"
  // and sextet characters, like a motion line that never ends.
  std::string Overlong() {
    const unsigned length = 129 + Below(272);
    if (Below(2) == 0) return Garbage(length, false) + '\r';
    std::string line = "d";
    while (line.size() < length) {
      const char c = static_cast<char>(astro::kSextetCharacters[Below(64)]);
      if (std::strchr("cdkmnq", c) == nullptr) line.push_back(c);
    }
    return line + '\r';
  }

  sim::Axes RandomAxes() {
    sim::Axes axes;
    for (int& axis : axes) axis = static_cast<int>(Below(4096)) - 2048;
    return axes;
  }

  // A motion line one character short or long (its "d" kept).
  std::string WrongLength() {
    std::string line =
        Below(2) == 0 ? sim::ShortMotionLine(RandomAxes()) : sim::LongMotionLine(RandomAxes());
    const unsigned at = 1 + Below(static_cast<unsigned>(line.size()) - 2);
    if (Below(2) == 0) {
      line.erase(at, 1);
    } else {
      line.insert(line.begin() + at, SafeByte(false));
    }
    return line;
  }

  std::mt19937 random_;
  std::discrete_distribution<int> pick_;
  long next_ = kFirstNumber;
  std::uint64_t held_ = 0;  // the button down, 0 for none
  std::vector<e2e::MotionWords> motions_;
  std::vector<ButtonEvent> buttons_;
  long items_[kKinds] = {};
};

struct Sample {
  double seconds = 0;
  long driverKb = 0;
  double driverMs = 0;
  double serverMs = 0;
  double clientMs = 0;
};

struct Processes {
  pid_t driver = 0;
  pid_t server = 0;
  pid_t client = 0;
};

std::optional<Sample> Take(const Processes& processes, Clock::time_point start) {
  const auto kb = e2e::PrivateMemoryKb(processes.driver);
  const auto driverMs = e2e::CpuTimeMs(processes.driver);
  if (!kb || !driverMs) return std::nullopt;
  return Sample{SecondsSince(start), *kb, *driverMs, e2e::CpuTimeMs(processes.server).value_or(0),
                e2e::CpuTimeMs(processes.client).value_or(0)};
}

// Samples on its own thread, so the writer never waits for /proc.
class Sampler {
 public:
  Sampler(const Processes& processes, Clock::time_point start)
      : processes_(processes), start_(start), thread_([this] { Run(); }) {}
  ~Sampler() { Stop(); }

  void Stop() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stopping_ = true;
    }
    stop_.notify_all();
    if (thread_.joinable()) thread_.join();
  }
  std::vector<Sample> Samples() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return samples_;
  }

 private:
  void Run() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!stopping_) {
      lock.unlock();
      const auto sample = Take(processes_, start_);
      lock.lock();
      if (sample) samples_.push_back(*sample);
      stop_.wait_for(lock, kSampleEvery, [this] { return stopping_; });
    }
  }

  Processes processes_;
  Clock::time_point start_;
  mutable std::mutex mutex_;
  std::condition_variable stop_;
  bool stopping_ = false;
  std::vector<Sample> samples_;
  std::thread thread_;
};

// Sends numbered packets below the soak's numbers until one arrives: the
// client's registration is in force.
bool Synchronise(sim::SimulatedController& controller, const ChildProcess& client) {
  for (long number = 1; number <= 30; ++number) {
    const std::size_t firstLine = client.LineCount();
    if (!controller.SendRaw(sim::ShortMotionLine(Numbered(number)))) return false;
    const auto deadline = Clock::now() + milliseconds(500);
    while (Clock::now() < deadline) {
      client.WaitForLineCount(firstLine + 1, milliseconds(100));
      for (const auto& event : e2e::ClientEvents(client, ASTROLAB_MOTION_EVENT)) {
        const auto words = e2e::WordsOf(event);
        if (words && *words == WordsFor(number)) return true;
      }
    }
  }
  return false;
}

// What the client received from firstLine on.
struct Received {
  std::vector<e2e::MotionWords> motions;
  std::vector<ButtonEvent> buttons;
};
Received ReceivedFrom(const std::vector<e2e::OutputLine>& lines, std::size_t firstLine) {
  Received received;
  for (std::size_t i = firstLine; i < lines.size(); ++i) {
    const auto event = e2e::ParseClientEvent(lines[i].text);
    if (!event) continue;
    if (event->name == ASTROLAB_MOTION_EVENT) {
      // Words that the protocol cannot carry still count, as a mismatch.
      received.motions.push_back(
          e2e::WordsOf(*event).value_or(e2e::MotionWords{0xFFFFFFFFu, 0xFFFFFFFFu}));
    } else if (event->name == ASTROLAB_BUTTON_PRESS_EVENT ||
               event->name == ASTROLAB_BUTTON_RELEASE_EVENT) {
      received.buttons.push_back(
          {event->name == ASTROLAB_BUTTON_PRESS_EVENT, event->wParam, event->lParam});
    }
  }
  return received;
}

// Polls the client's output until the last motion packet has arrived: woken as
// soon as the expected number of lines is there, else once a second. False when
// it has not arrived by the deadline, or the driver is gone and the output has
// stopped growing.
bool WaitForLastPacket(const ChildProcess& client, ChildProcess& driver, std::size_t expectedCount,
                       std::size_t firstLine, const e2e::MotionWords& last,
                       Clock::time_point deadline) {
  std::size_t scanned = firstLine;
  std::size_t wake = expectedCount;
  for (;;) {
    client.WaitForLineCount(wake, milliseconds(1000));
    const std::vector<e2e::OutputLine> lines = client.Lines();
    const std::size_t before = scanned;
    for (; scanned < lines.size(); ++scanned) {
      const auto event = e2e::ParseClientEvent(lines[scanned].text);
      if (event && event->name == ASTROLAB_MOTION_EVENT && e2e::WordsOf(*event) == last) {
        return true;
      }
    }
    // More lines than expected and still not the last packet: plain polling from now on.
    if (lines.size() >= wake) wake = static_cast<std::size_t>(-1);
    if (Clock::now() >= deadline) return false;
    if (!driver.Running() && scanned == before) return false;
  }
}

template <typename T, typename Show>
void PrintFirstMismatch(const std::vector<T>& sent, const std::vector<T>& received, Show show) {
  const std::size_t common = std::min(sent.size(), received.size());
  std::size_t i = 0;
  while (i < common && sent[i] == received[i]) ++i;
  if (i == sent.size() && i == received.size()) {
    std::printf("  exactly the sent ones, in order: yes\n");
    return;
  }
  std::printf(
      "  exactly the sent ones, in order: NO; first mismatch at #%zu: sent %s, received %s\n", i,
      i < sent.size() ? show(sent[i]).c_str() : "nothing",
      i < received.size() ? show(received[i]).c_str() : "nothing");
}

std::string ShowMotion(const e2e::MotionWords& words) {
  return "packet " + std::to_string(NumberOf(words)) + " " + e2e::Describe(words);
}

void PrintMotion(const Stream& stream, const Received& received) {
  const auto& sent = stream.Motions();
  // Which of the sent numbers arrived, and how many arrivals fit none of them.
  std::vector<bool> seen(sent.size(), false);
  long unknown = 0;
  long backwards = 0;
  long last = -1;
  for (const auto& words : received.motions) {
    const long index = NumberOf(words) - kFirstNumber;
    if (index < 0 || index >= static_cast<long>(sent.size()) || !(sent[index] == words)) {
      ++unknown;
      continue;
    }
    if (index <= last) ++backwards;
    last = index;
    seen[index] = true;
  }
  std::printf(
      "Valid motion packets\n  sent %zu, received %zu (missing %ld, unknown %ld, "
      "out of order or repeated %ld)\n",
      sent.size(), received.motions.size(),
      static_cast<long>(std::count(seen.begin(), seen.end(), false)), unknown, backwards);
  PrintFirstMismatch(sent, received.motions, ShowMotion);
}

void PrintButtons(const Stream& stream, const Received& received) {
  const auto presses = [](const std::vector<ButtonEvent>& events) {
    return std::count_if(events.begin(), events.end(),
                         [](const ButtonEvent& e) { return e.press; });
  };
  const auto& sent = stream.Buttons();
  std::printf("Buttons\n  presses sent %ld, received %ld; releases sent %ld, received %ld\n",
              static_cast<long>(presses(sent)), static_cast<long>(presses(received.buttons)),
              static_cast<long>(sent.size() - presses(sent)),
              static_cast<long>(received.buttons.size() - presses(received.buttons)));
  PrintFirstMismatch(sent, received.buttons, Describe);
  // The state a client would hold: each press sets its bit, each release clears it.
  std::uint32_t down = 0;
  for (const auto& event : received.buttons) {
    const std::uint32_t bit = 1u << ((event.button - 1) & 31);
    down = event.press ? (down | bit) : (down & ~bit);
  }
  std::string held;
  for (int button = 1; button <= 12; ++button) {
    if ((down & (1u << (button - 1))) != 0) held += " " + std::to_string(button);
  }
  std::printf(
      "  held at the end:%s; driver's mask in the last event: %lld\n",
      held.empty() ? " none (every press has its release)" : held.c_str(),
      received.buttons.empty() ? 0LL : static_cast<long long>(received.buttons.back().mask));
}

void PrintMemory(const std::vector<Sample>& samples, long beforeKb, const Sample& final) {
  Sample baseline = samples.empty() ? final : samples.front();
  for (const Sample& sample : samples) {
    if (sample.seconds >= kBaselineSeconds) {
      baseline = sample;
      break;
    }
  }
  long peak = final.driverKb;
  for (const Sample& sample : samples) peak = std::max(peak, sample.driverKb);
  const long growth = final.driverKb - baseline.driverKb;
  const long allowed = std::max(kFlatKb, static_cast<long>(kFlatShare * baseline.driverKb));
  std::printf("Driver private memory (resident private pages, %zu samples every %lld ms)\n",
              samples.size(), static_cast<long long>(kSampleEvery.count()));
  std::printf("  before the stream %ld kB; at %.1f s %ld kB; peak %ld kB; final %ld kB (%+ld kB)\n",
              beforeKb, baseline.seconds, baseline.driverKb, peak, final.driverKb, growth);
  std::printf(
      "  flat: %s (flat: final within 5 %% or 1 MB, whichever is more, of the value "
      "%.0f s into the stream)\n",
      std::labs(growth) <= allowed ? "yes" : "NO", kBaselineSeconds);
}

void PrintCpu(const Sample& start, const Sample& streamEnd, const Sample& final) {
  std::printf("CPU time           driver  wineserver  client\n");
  std::printf("  stream, %5.1f s %7.0f ms %8.0f ms %6.0f ms\n", streamEnd.seconds - start.seconds,
              streamEnd.driverMs - start.driverMs, streamEnd.serverMs - start.serverMs,
              streamEnd.clientMs - start.clientMs);
  std::printf("  to last arrival %7.0f ms %8.0f ms %6.0f ms  (%.1f s)\n",
              final.driverMs - start.driverMs, final.serverMs - start.serverMs,
              final.clientMs - start.clientMs, final.seconds - start.seconds);
}

// The button beep is switched off before the driver reads its settings.
const e2e::LaunchOptions kLaunch = {3, true, {{"ButtonBeep", "0"}}, {}};

int Fail(const std::string& text) {
  std::fprintf(stderr, "%s\n", text.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  double seconds = 60;
  unsigned seed = 1;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--seconds") == 0) {
      seconds = std::atof(argv[i + 1]);
    } else if (std::strcmp(argv[i], "--seed") == 0) {
      seed = static_cast<unsigned>(std::strtoul(argv[i + 1], nullptr, 10));
    }
  }
  if (seconds <= 0 || argc % 2 == 0) {
    return Fail("usage: soak_figures [--seconds N] [--seed S]");
  }

  e2e::WineSession session;
  std::string error;
  e2e::DriverLaunch launch;
  if (!session.Start("soak_figures", &error) ||
      !e2e::LaunchDriverWithController(session, kLaunch, &launch, &error)) {
    return Fail(error);
  }
  if (!launch.trayWaiter->WaitForLine([](const std::string& line) { return !line.empty(); },
                                      std::chrono::seconds(90))) {
    return Fail("the driver did not start up");
  }
  ChildProcess* client = session.StartWindowsProgram(
      "test_client.exe", {"--mouse-mode", "0", "--title", "Soak client"}, &error);
  if (client == nullptr) return Fail(error);
  if (!client->WaitForLineStartingWith("READY ", std::chrono::seconds(30))) {
    return Fail("the test client did not start");
  }
  sim::SimulatedController& controller = *launch.controller;
  if (!Synchronise(controller, *client)) return Fail("no packet reached the client");

  const Processes processes = {launch.driver->Pid(),
                               e2e::FindWineserver(session.PrefixDir()).value_or(0), client->Pid()};
  const std::size_t firstLine = client->LineCount();
  const auto start = Clock::now();
  const auto first = Take(processes, start);
  if (!first) return Fail("cannot read the driver's figures from /proc");
  Sampler sampler(processes, start);

  // The stream, in chunks of whole items; a refused chunk ends it.
  Stream stream(seed);
  std::string chunk;
  long bytes = 0;
  bool written = true;
  while (written && SecondsSince(start) < seconds) {
    chunk.clear();
    while (chunk.size() < kChunkBytes) stream.AppendItem(chunk);
    written = controller.SendRaw(chunk);
    if (written) bytes += static_cast<long>(chunk.size());
  }
  if (written) {
    chunk.clear();
    stream.AppendEnd(chunk);
    written = controller.SendRaw(chunk);
    if (written) bytes += static_cast<long>(chunk.size());
  }
  const double streamSeconds = SecondsSince(start);
  const auto streamEnd = Take(processes, start);

  const auto deadline =
      Clock::now() + std::chrono::seconds(120) +
      std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(2 * seconds));
  const bool arrived =
      written && WaitForLastPacket(*client, *launch.driver,
                                   firstLine + stream.Motions().size() + stream.Buttons().size(),
                                   firstLine, stream.Motions().back(), deadline);
  const auto final = Take(processes, start);
  sampler.Stop();

  std::printf("Soak of %.1f s (seed %u): %ld bytes written (%.0f kB/s)\n", streamSeconds, seed,
              bytes, bytes / 1024.0 / streamSeconds);
  for (int kind = 0; kind < kKinds; ++kind) {
    std::printf("  %-40s %9ld\n", kKindNames[kind], stream.Items(static_cast<Kind>(kind)));
  }
  if (!written) {
    std::printf(
        "THE PTY TOOK NO BYTES FOR 2 S: the driver stopped reading (the counts above "
        "and the sent figures below include the refused chunk)\n");
  }
  if (written && !arrived) std::printf("THE LAST VALID MOTION PACKET NEVER ARRIVED\n");
  const Received received = ReceivedFrom(client->Lines(), firstLine);
  PrintMotion(stream, received);
  PrintButtons(stream, received);
  if (final && streamEnd) {
    PrintMemory(sampler.Samples(), first->driverKb, *final);
    PrintCpu(*first, *streamEnd, *final);
  }
  const bool alive = launch.driver->Running();
  std::printf("Driver still running: %s\n", alive ? "yes" : "NO, it died during the run");
  return alive && written && final ? 0 : 1;
}
