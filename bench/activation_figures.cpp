// How long it takes under Wine to activate a window of a 32-bit program, whose
// activations reach the driver through its 32-bit hook: measured inside that
// program (the test client, from the call that brings its window to the
// foreground until the window has handled WM_ACTIVATE), with the driver idle and
// while the driver's main thread sleeps through a 2-s beep that a client asked
// for. Seven rounds each; before each activation another program's window is
// activated, so that every one is a real change. Also: how long after the
// driver's launch its tray icon appears and its 32-bit hook program runs (the
// hook's program starts after the icon, and the main loop waits for it). It asserts nothing; it
// fails only when the run itself does.
//
// Under Wine a process goes no further along the system-wide hooks than the
// first whose library it cannot load, and the driver's 64-bit hook comes first:
// as in the end-to-end tests of 32-bit programs, a directory of the 64-bit
// library's name keeps it away, so that the 32-bit hook is reached.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/driver_launch.h"
#include "tests/e2e/harness_paths.h"
#include "tests/e2e/process_stats.h"

namespace {

using e2e::ChildProcess;
using e2e::Clock;
using std::chrono::seconds;

constexpr int kRounds = 7;
constexpr double kBeepMs = 2000.0;
constexpr const char* kProgram = "Other program";
constexpr const char* kNarrow = "32-bit program";

double MsBetween(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Sends a command line and waits for the client's next line starting with reply.
std::optional<e2e::OutputLine> Ask(ChildProcess* client, const std::string& command,
                                   const std::string& reply) {
  const auto count = [&] {
    std::size_t n = 0;
    for (const e2e::OutputLine& line : client->Lines()) n += line.text.rfind(reply + " ", 0) == 0;
    return n;
  };
  const std::size_t seen = count();
  if (!client->WriteInput(command + "\n")) return std::nullopt;
  const auto deadline = Clock::now() + seconds(15);
  while (Clock::now() < deadline) {
    std::size_t n = 0;
    for (const e2e::OutputLine& line : client->Lines()) {
      if (line.text.rfind(reply + " ", 0) == 0 && ++n > seen) return line;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return std::nullopt;
}

// The activation's duration in ms from an "ACTIVE <window> <thread> <us>" line.
std::optional<double> ActivationMs(const std::optional<e2e::OutputLine>& line) {
  if (!line) return std::nullopt;
  std::istringstream words(line->text);
  std::string label, window, thread;
  double micros = 0;
  if (!(words >> label >> window >> thread >> micros)) return std::nullopt;
  return micros / 1000.0;
}

ChildProcess* StartClient(e2e::WineSession& session, const std::string& program,
                          const std::string& title) {
  std::string error;
  ChildProcess* client = session.StartWindowsProgram(
      program, {"--title", title, "--commands", "--passive"}, &error, true);
  if (client == nullptr || !client->WaitForLineStartingWith("WINDOW ", seconds(60))) {
    std::fprintf(stderr, "%s did not start: %s\n", title.c_str(), error.c_str());
    return nullptr;
  }
  return client;
}

}  // namespace

int main() {
  e2e::WineSession session;
  std::string error;
  e2e::DriverLaunch launch;
  if (!session.Start("activation_figures", &error) ||
      !std::filesystem::create_directory(session.ScratchDir() + "/astrohook.dll") ||
      !e2e::LaunchDriverWithController(session, {}, &launch, &error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  const auto deadline = Clock::now() + seconds(90);
  while (e2e::PrefixProcesses(session.PrefixDir(), "astrohook32.exe").empty()) {
    if (Clock::now() >= deadline) {
      std::fprintf(stderr, "the 32-bit hook's program did not start\n");
      return 1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  const double hostMs = MsBetween(launch.driver->StartTime(), Clock::now());
  const auto tray = launch.trayWaiter->WaitForLine(
      [](const std::string& line) { return !line.empty(); }, seconds(90));
  if (!tray) {
    std::fprintf(stderr, "the tray icon did not appear\n");
    return 1;
  }
  const double trayMs = MsBetween(launch.driver->StartTime(), tray->arrival);

  ChildProcess* program = StartClient(session, "test_client.exe", kProgram);
  ChildProcess* narrow = StartClient(session, e2e::Windows32Program("test_client32.exe"), kNarrow);
  if (program == nullptr || narrow == nullptr) return 1;

  std::vector<double> quiet;
  std::vector<double> beeping;
  int duringBeep = 0;
  std::printf("round  idle driver (ms)  during a 2-s beep (ms)  ended within the beep\n");
  for (int round = 1; round <= kRounds; ++round) {
    Ask(program, std::string("activate ") + kProgram, "ACTIVE");
    const std::optional<double> idle =
        ActivationMs(Ask(narrow, std::string("activate ") + kNarrow, "ACTIVE"));

    Ask(program, std::string("activate ") + kProgram, "ACTIVE");
    launch.controller->ClearRecord();
    if (!session.Probe({"send-command", "27697", "2000"}).Succeeded() ||
        !launch.controller->WaitForCommand("b?", seconds(15))) {
      std::fprintf(stderr, "round %d: the beep did not start\n", round);
      return 1;
    }
    Clock::time_point beepStart;
    for (const sim::ReceivedCommand& command : launch.controller->Commands()) {
      if (command.line == "b?") beepStart = command.arrival;
    }
    const std::optional<e2e::OutputLine> line =
        Ask(narrow, std::string("activate ") + kNarrow, "ACTIVE");
    const std::optional<double> busy = ActivationMs(line);
    if (!idle || !busy) {
      std::fprintf(stderr, "round %d: an activation was not measured\n", round);
      return 1;
    }
    const bool within = MsBetween(beepStart, line->arrival) < kBeepMs;
    duringBeep += within;
    quiet.push_back(*idle);
    beeping.push_back(*busy);
    std::printf("%5d  %15.2f  %22.2f  %s\n", round, *idle, *busy, within ? "yes" : "no");
    // The beep is over once the driver answers a report again.
    launch.controller->ClearRecord();
    if (!launch.controller->SendRaw("q01\r") ||
        !launch.controller->WaitForCommand("q00", seconds(15))) {
      std::fprintf(stderr, "round %d: the driver did not answer after the beep\n", round);
      return 1;
    }
  }
  std::printf("median: idle %.2f ms, during the beep %.2f ms (%d of %d ended within it)\n",
              Median(quiet), Median(beeping), duringBeep, kRounds);
  std::printf("launch to the tray icon %.0f ms, to the 32-bit hook's program running %.0f ms\n",
              trayMs, hostMs);
  return 0;
}
