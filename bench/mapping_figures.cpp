// How long after a window's activation the button window names the mapping in
// force for its program under Wine: "Mapping A", linked to notepad, while Wine's
// 64-bit notepad is in front, and the active mapping's name "Active" while a
// 64-bit test client is. Seven rounds, each activating notepad and then the
// client, so that every activation changes the mapping in force. Measured in one
// process, probe.exe activate-timed: from its SetForegroundWindow call until it
// reads the new title. Wine sends no name-change event for a title, so the probe
// reads it every millisecond: a figure may be late by the time since the last
// read of the old title, whose largest is printed with them. It asserts nothing; it fails only when
// the run itself does.
//
// Both programs are 64-bit, so their activations reach the driver through its
// 64-bit hook (Wine calls no 64-bit hook for a 32-bit program, see
// activation_figures for those).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/driver_launch.h"

namespace {

using e2e::Clock;
using std::chrono::seconds;

constexpr int kRounds = 7;
constexpr const char* kNotepad = "Untitled - Notepad";
constexpr const char* kProgram = "Other program";
constexpr const char* kLinkedTitle = "Veltrix [Mapping A]";
constexpr const char* kActiveTitle = "Veltrix [Active]";

// Milliseconds from activating the window until the button window's title was
// read, and until the last read of the old title before.
struct Timed {
  double took;
  double unseen;
};
std::optional<Timed> ActivationToTitle(e2e::WineSession& session, const char* window,
                                       const char* title) {
  const e2e::ProbeResult result = session.Probe({"activate-timed", window, title, "15000"});
  const std::optional<std::string> took = result.Field("TOOK");
  const std::optional<std::string> unseen = result.Field("UNSEEN");
  if (!result.Succeeded() || !took || !unseen) return std::nullopt;
  return Timed{std::stod(*took) / 1000.0, std::stod(*unseen) / 1000.0};
}

void PrintSummary(const char* direction, std::vector<double> values) {
  std::sort(values.begin(), values.end());
  std::printf("%s: median %.2f ms, max %.2f ms\n", direction, values[values.size() / 2],
              values.back());
}

int Fail(const std::string& text) {
  std::fprintf(stderr, "%s\n", text.c_str());
  return 1;
}

}  // namespace

int main() {
  e2e::WineSession session;
  std::string error;
  e2e::LaunchOptions options;
  // The button window in the top left corner, away from the programs' windows.
  options.settings = {
      {"ButtonInfo", "1"}, {"ButtonInfoX", "0"}, {"ButtonInfoY", "0"}, {"Name", "Active"}};
  options.mappingTexts = {{"Mapping A", "Programs", "notepad.exe"}};
  e2e::DriverLaunch launch;
  if (!session.Start("mapping_figures", &error) ||
      !e2e::LaunchDriverWithController(session, options, &launch, &error)) {
    return Fail(error);
  }
  if (!session.Probe({"wait-box", kActiveTitle, "60000"}, seconds(90)).Succeeded()) {
    return Fail("the button window did not appear");
  }
  if (session.StartSystemProgram("notepad.exe", &error) == nullptr) return Fail(error);
  const auto started = Clock::now() + seconds(60);
  while (!session.Probe({"child-text", kNotepad, "Edit"}).Succeeded()) {
    if (Clock::now() >= started) return Fail("notepad's window did not appear");
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  e2e::ChildProcess* client = session.StartWindowsProgram(
      "test_client.exe", {"--title", kProgram, "--activate", "--edit"}, &error);
  if (client == nullptr || !client->WaitForLineStartingWith("READY ", seconds(60))) {
    return Fail("the test client did not start: " + error);
  }
  // The client came last: the active mapping is in force before the first round.
  if (!session.Probe({"wait-box", kActiveTitle, "30000"}, seconds(60)).Succeeded()) {
    return Fail("the button window did not name the active mapping");
  }

  std::vector<double> toLinked;
  std::vector<double> toActive;
  double widestGap = 0;
  std::printf("round  notepad -> \"%s\" (ms)  client -> \"%s\" (ms)\n", kLinkedTitle, kActiveTitle);
  for (int round = 1; round <= kRounds; ++round) {
    const std::optional<Timed> linked = ActivationToTitle(session, kNotepad, kLinkedTitle);
    const std::optional<Timed> active =
        linked ? ActivationToTitle(session, kProgram, kActiveTitle) : std::nullopt;
    if (!linked || !active) {
      return Fail("round " + std::to_string(round) + ": the title did not change in time");
    }
    toLinked.push_back(linked->took);
    toActive.push_back(active->took);
    widestGap = std::max({widestGap, linked->took - linked->unseen, active->took - active->unseen});
    std::printf("%5d  %30.2f  %26.2f\n", round, linked->took, active->took);
  }
  PrintSummary("notepad activated to \"Veltrix [Mapping A]\"", toLinked);
  PrintSummary("client activated to \"Veltrix [Active]\"", toActive);
  std::printf("(title read every millisecond: each figure is at most %.2f ms late)\n", widestGap);
  return 0;
}
