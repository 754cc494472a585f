#include "tests/e2e/tracking_fixture.h"

#include <sstream>
#include <thread>

#include "client/astrolab_client.h"
#include "tests/e2e/client_events.h"
#include "tests/e2e/client_fixture.h"
#include "tests/e2e/harness_paths.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;

std::size_t LinesStartingWith(const ChildProcess& process, const std::string& prefix) {
  std::size_t count = 0;
  for (const OutputLine& line : process.Lines()) count += line.text.rfind(prefix + " ", 0) == 0;
  return count;
}

// Waits until the process has printed more than `seen` lines starting with
// prefix; the newest of them.
std::optional<std::string> WaitForNewLine(const ChildProcess& process, const std::string& prefix,
                                          std::size_t seen) {
  const auto deadline = Clock::now() + kReplyTimeout;
  do {
    std::size_t count = 0;
    for (const OutputLine& line : process.Lines()) {
      if (line.text.rfind(prefix + " ", 0) == 0 && ++count > seen) return line.text;
    }
    std::this_thread::sleep_for(20ms);
  } while (Clock::now() < deadline);
  return std::nullopt;
}

ClientWindow ParseWindowLine(ChildProcess* process, const std::optional<std::string>& line) {
  ClientWindow window;
  window.process = process;
  if (!line) return window;
  const std::vector<std::string> fields = FieldsAfterLabel(*line);
  if (!fields.empty()) window.window = std::stoull(fields[0]);
  if (fields.size() > 1) window.thread = static_cast<std::uint32_t>(std::stoul(fields[1]));
  return window;
}

bool IsMarker(const ClientEvent& event) {
  static const std::optional<MotionWords> marker = ExpectedMotion(kMarker, Shaping());
  return WordsOf(event) == marker;
}

}  // namespace

std::string TestClient32() {
  return Windows32Program("test_client32.exe");
}

std::vector<std::string> FieldsAfterLabel(const std::string& line) {
  std::istringstream words(line);
  std::string word;
  std::vector<std::string> fields;
  words >> word;
  while (words >> word) fields.push_back(word);
  return fields;
}

void TrackingTest::SetUp() {
  DriverTest::SetUp();
  if (HasFatalFailure()) return;
  BeforeDriverStarts();
  if (HasFatalFailure()) return;
  controller_ = StartDriverWithController(&driver_);
  ASSERT_NE(controller_, nullptr);
  // The activation hooks come after the tray icon; they are in place once the
  // main loop answers.
  ASSERT_TRUE(session_.Probe({"sync-driver"}).Succeeded());
}

ClientWindow TrackingTest::StartClient(const std::string& title,
                                       const std::vector<std::string>& flags,
                                       const std::string& program) {
  std::vector<std::string> arguments = {"--title", title, "--commands"};
  arguments.insert(arguments.end(), flags.begin(), flags.end());
  std::string error;
  ChildProcess* process =
      session_.StartWindowsProgram(program, arguments, &error, /*pipeStdin=*/true);
  if (process == nullptr) {
    ADD_FAILURE() << error;
    return {};
  }
  clients_.push_back(process);
  const auto line = process->WaitForLine(
      [](const std::string& text) {
        return text.rfind("READY ", 0) == 0 || text.rfind("WINDOW ", 0) == 0;
      },
      kStartupTimeout);
  if (!line) ADD_FAILURE() << "client " << title << " did not start";
  ClientWindow window = ParseWindowLine(process, line ? std::optional(line->text) : std::nullopt);
  return window;
}

std::string TrackingTest::Ask(ChildProcess* client, const std::string& command,
                              const std::string& reply) {
  const std::size_t seen = LinesStartingWith(*client, reply);
  if (!client->WriteInput(command + "\n")) ADD_FAILURE() << "the client's input is closed";
  const std::optional<std::string> line = WaitForNewLine(*client, reply, seen);
  if (!line) {
    std::string printed;
    for (const OutputLine& output : client->Lines()) printed += "\n  " + output.text;
    ADD_FAILURE() << "no " << reply << " after \"" << command
                  << "\"; the client printed:" << printed;
  }
  return line.value_or("");
}

ClientWindow TrackingTest::Command(ChildProcess* client, const std::string& command,
                                   const std::string& reply) {
  const std::string line = Ask(client, command, reply);
  return ParseWindowLine(client, line.empty() ? std::nullopt : std::optional(line));
}

std::optional<double> TrackingTest::Activate(const ClientWindow& window, const std::string& title) {
  const std::vector<std::string> fields =
      FieldsAfterLabel(Ask(window.process, "activate " + title, "ACTIVE"));
  EXPECT_FALSE(fields.empty()) << title;
  if (fields.empty()) return std::nullopt;
  EXPECT_EQ(std::stoull(fields[0]), window.window) << title;
  if (fields.size() < 3) return std::nullopt;
  return std::stod(fields[2]);
}

void TrackingTest::Click(const ClientWindow& window, const std::string& title) {
  constexpr int kLeft = 660;
  constexpr int kTop = 520;
  Command(window.process,
          "move " + title + " " + std::to_string(kLeft) + " " + std::to_string(kTop), "MOVED");
  ClickAt(kLeft + 160, kTop + 110, title);
}

void TrackingTest::ClickAt(int x, int y, const std::string& title) {
  const std::string xdotool = FindOnPath("xdotool");
  const auto tenSeconds = std::chrono::seconds(10);
  EXPECT_EQ(session_.Run({xdotool, "mousemove", std::to_string(x), std::to_string(y), "click", "1"},
                         tenSeconds),
            0);
  EXPECT_TRUE(WaitForForeground(title)) << "the click did not bring " << title << " to the front";
}

bool TrackingTest::WaitForForeground(const std::string& title) {
  const auto deadline = Clock::now() + kReplyTimeout;
  while (session_.Probe({"driver-dialogs"}).Field("FOREGROUND") != title) {
    if (Clock::now() >= deadline) return false;
  }
  return true;
}

void TrackingTest::StartNotepad() {
  std::string error;
  ASSERT_NE(session_.StartSystemProgram("notepad.exe", &error), nullptr) << error;
  const auto deadline = Clock::now() + kStartupTimeout;
  while (!NotepadEdit().Succeeded()) {
    ASSERT_LT(Clock::now(), deadline) << "notepad's window did not appear";
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
}

ProbeResult TrackingTest::NotepadEdit() {
  return session_.Probe({"child-text", kNotepadTitle, "Edit"});
}

std::size_t TrackingTest::MarkersAt(const ClientWindow& window) const {
  std::size_t count = 0;
  for (std::uint64_t receiver : MarkerWindows(*window.process)) count += receiver == window.window;
  return count;
}

std::vector<std::uint64_t> TrackingTest::MarkerWindows(const ChildProcess& client) const {
  std::vector<std::uint64_t> windows;
  for (const ClientEvent& event : ClientEvents(client, ASTROLAB_MOTION_EVENT)) {
    if (IsMarker(event)) windows.push_back(event.window);
  }
  return windows;
}

std::uint64_t TrackingTest::NextSampleGoesTo() {
  std::vector<std::size_t> before;
  for (ChildProcess* client : clients_) before.push_back(MarkerWindows(*client).size());
  if (!controller_->SendRaw(sim::ShortMotionLine(kMarker))) return 0;
  const auto deadline = Clock::now() + kReplyTimeout;
  do {
    std::vector<std::uint64_t> arrived;
    for (std::size_t i = 0; i < clients_.size(); ++i) {
      const std::vector<std::uint64_t> windows = MarkerWindows(*clients_[i]);
      arrived.insert(arrived.end(), windows.begin() + static_cast<long>(before[i]), windows.end());
    }
    if (arrived.size() == 1) return arrived[0];
    if (arrived.size() > 1) {
      ADD_FAILURE() << "one sample arrived " << arrived.size() << " times";
      return 0;
    }
    std::this_thread::sleep_for(20ms);
  } while (Clock::now() < deadline);
  return 0;
}

bool TrackingTest::SampleReachesNoClient() {
  std::vector<std::size_t> before;
  for (ChildProcess* client : clients_) before.push_back(MarkerWindows(*client).size());
  // A differing q report is always answered with "q00": the driver has read the
  // marker once the answer is on the wire.
  const auto answered = [this] {
    std::size_t count = 0;
    for (const std::string& line : CommandLines(*controller_)) count += line == "q00";
    return count;
  };
  const std::size_t answers = answered();
  if (!controller_->SendRaw(sim::ShortMotionLine(kMarker)) || !controller_->SendRaw("q01\r")) {
    ADD_FAILURE() << "the controller's line is closed";
    return false;
  }
  const auto deadline = Clock::now() + kReplyTimeout;
  while (answered() <= answers) {
    if (Clock::now() >= deadline) {
      ADD_FAILURE() << "the driver did not answer the q report";
      return false;
    }
    std::this_thread::sleep_for(20ms);
  }
  // A sample posted before the answer is queued ahead of the ping in its thread.
  for (ChildProcess* client : clients_) {
    if (client->Running() && Ask(client, "ping", "PONG").empty()) return false;
  }
  for (std::size_t i = 0; i < clients_.size(); ++i) {
    if (MarkerWindows(*clients_[i]).size() != before[i]) return false;
  }
  return true;
}

bool TrackingTest::RoutesTo(const ClientWindow& window) {
  const auto deadline = Clock::now() + kReplyTimeout;
  while (Clock::now() < deadline) {
    if (NextSampleGoesTo() == window.window) return true;
  }
  return false;
}

}  // namespace e2e
