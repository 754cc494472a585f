// The base of the tests that follow the target from client to client: the
// driver with a controller on COM3, test clients whose windows announce
// themselves or are activated on command, and marker samples that show which
// window the driver sends motion to.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/desktop_fixture.h"

namespace e2e {

// One window of a test client's process.
struct ClientWindow {
  ChildProcess* process = nullptr;
  std::uint64_t window = 0;
  std::uint32_t thread = 0;
};

constexpr const char* kNotepadTitle = "Untitled - Notepad";

class TrackingTest : public DesktopTest {
 protected:
  // Starts the driver with a controller on COM3, after BeforeDriverStarts, and
  // waits until its main loop runs.
  void SetUp() override;
  // What a test prepares before the driver starts (its current directory is the
  // session's scratch directory).
  virtual void BeforeDriverStarts() {}

  // Starts test_client.exe (or the program given by its path, such as the 32-bit
  // build kTestClient32) titled `title` with the given flags and the command
  // channel open, and waits for its first "READY" (announced) or "WINDOW"
  // (--passive) line.
  ClientWindow StartClient(const std::string& title, const std::vector<std::string>& flags = {},
                           const std::string& program = "test_client.exe");
  // Sends a command line to a client and waits for its next line starting with
  // `reply`; that line, or empty (and a failure) on time-out.
  std::string Ask(ChildProcess* client, const std::string& command, const std::string& reply);
  // The same for the replies that name a window ("READY", "WINDOW", "ACTIVE",
  // "DESTROYED").
  ClientWindow Command(ChildProcess* client, const std::string& command, const std::string& reply);
  // The window's own thread activates it; the driver has the report queued when
  // this returns. The microseconds the client measured from the call until the
  // window had handled its activation; nothing when it was active already.
  std::optional<double> Activate(const ClientWindow& window, const std::string& title);
  using DesktopTest::Click;
  // Moves the window (shown, 320 by 200) to the lower right of the screen, where
  // no other window is, clicks into it and waits until it is the foreground window.
  void Click(const ClientWindow& window, const std::string& title);
  // Clicks at that point of the screen and waits until the window with this title
  // is the foreground window.
  void ClickAt(int x, int y, const std::string& title);
  // Whether the window with this title comes to be the foreground window within
  // the reply time-out.
  bool WaitForForeground(const std::string& title);

  // Starts Wine's notepad, a program of the system that the test does not
  // control, and waits until its window is there.
  void StartNotepad();
  // Notepad's edit: its text, centre, mouse capture and selection (probe child-text).
  ProbeResult NotepadEdit();

  // Marker samples `window` has received so far.
  std::size_t MarkersAt(const ClientWindow& window) const;
  // Sends one marker sample and returns the window that received it (0 when none
  // did in time), looking at every client started.
  std::uint64_t NextSampleGoesTo();
  // Sends marker samples until `window` receives one. False on time-out.
  bool RoutesTo(const ClientWindow& window);
  // Sends one marker sample and then a report the driver answers on the wire;
  // once the answer is there and every client has handled what was queued for
  // it, true when no client received the sample.
  bool SampleReachesNoClient();

  std::vector<ChildProcess*> clients_;

 private:
  // The receiving window of each marker sample the client got, in order.
  std::vector<std::uint64_t> MarkerWindows(const ChildProcess& client) const;
};

// The 32-bit test client.
std::string TestClient32();

// A line's words after its first: "READY 1234" gives {"1234"}.
std::vector<std::string> FieldsAfterLabel(const std::string& line);

}  // namespace e2e
