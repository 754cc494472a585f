// Following the user end to end: clients announce their windows, their
// applications are activated on the desktop, and marker samples show which
// window the driver sends motion to. The activations reach the driver through
// the hook library it writes out and loads, and those of 32-bit programs through
// its 32-bit build, which the driver's 32-bit host program installs.
#include <fcntl.h>
#include <gmock/gmock.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "tests/e2e/harness_paths.h"
#include "tests/e2e/process_stats.h"
#include "tests/e2e/tracking_fixture.h"

namespace e2e {
namespace {

std::string FileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// A hook file as the build made it, beside (not inside) the Windows programs.
std::string BuiltHookFile(const std::string& name) {
  const bool wide = name == "astrohook.dll";
  return (wide ? WindowsBinDir() : Windows32BinDir()) + "/../hook/" + name;
}

constexpr const char* kHookHost = "astrohook32.exe";
// The beep command of the client protocol, the longest beep.
constexpr const char* kBeepCode = "27697";
constexpr const char* kLongestBeepMs = "2000";

// The driver found no hook file where it looks and writes its own out, after its
// tray icon: waits until the file there is whole, and compares it with the
// built one.
void ExpectWrittenOut(const std::string& directory, const std::string& name) {
  const std::string built = FileBytes(BuiltHookFile(name));
  ASSERT_FALSE(built.empty()) << name;
  const std::string extracted = directory + "/" + name;
  const auto deadline = Clock::now() + kStartupTimeout;
  while (FileBytes(extracted).size() < built.size() && Clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_EQ(FileBytes(extracted), built) << name;
}

using TargetTrackingTest = TrackingTest;

TEST_F(TargetTrackingTest, ClientAnnouncedBeforeAnyActivationIsTheTargetButNotBound) {
  // Hidden: nothing of its application was ever activated.
  const ClientWindow first = StartClient("First client");
  EXPECT_EQ(NextSampleGoesTo(), first.window);
  const ClientWindow second = StartClient("Second client");
  EXPECT_EQ(NextSampleGoesTo(), second.window);

  // Activating the first client's application does not bring it back.
  Activate(first, "First client");
  EXPECT_EQ(NextSampleGoesTo(), second.window);
  EXPECT_EQ(MarkersAt(first), 1u);
}

TEST_F(TargetTrackingTest, ActivatingABoundApplicationBringsItsClientBack) {
  ExpectWrittenOut(session_.ScratchDir(), "astrohook.dll");

  // Its window was activated before it announced itself: bound to it.
  const ClientWindow bound = StartClient("Bound client", {"--activate"});
  EXPECT_EQ(NextSampleGoesTo(), bound.window);

  // Another program that is no client: the target stays.
  const ClientWindow program = StartClient("Unbound program", {"--passive"});
  Activate(program, "Unbound program");
  EXPECT_EQ(NextSampleGoesTo(), bound.window);

  const ClientWindow other = StartClient("Other client");
  EXPECT_EQ(NextSampleGoesTo(), other.window);
  Activate(bound, "Bound client");
  EXPECT_EQ(NextSampleGoesTo(), bound.window);
  EXPECT_EQ(NextSampleGoesTo(), bound.window);
  Activate(program, "Unbound program");
  EXPECT_EQ(NextSampleGoesTo(), bound.window);
  EXPECT_EQ(MarkersAt(other), 1u);
}

TEST_F(TargetTrackingTest, OfTwoClientsOfOneApplicationOnlyTheFirstIsBound) {
  const ClientWindow first = StartClient("Application window 1", {"--activate"});
  EXPECT_EQ(NextSampleGoesTo(), first.window);
  const ClientWindow second = Command(first.process, "announce Application window 2", "READY");
  EXPECT_EQ(NextSampleGoesTo(), second.window);

  const ClientWindow program = StartClient("Unbound program", {"--passive"});
  const ClientWindow other = StartClient("Other client");
  EXPECT_EQ(NextSampleGoesTo(), other.window);
  // Either window of the application brings back the first client.
  Activate(second, "Application window 2");
  EXPECT_EQ(NextSampleGoesTo(), first.window);
  Command(other.process, "announce Other client", "READY");
  EXPECT_EQ(NextSampleGoesTo(), other.window);
  Activate(program, "Unbound program");
  Activate(first, "Application window 1");
  EXPECT_EQ(NextSampleGoesTo(), first.window);
  EXPECT_EQ(MarkersAt(second), 1u);
}

TEST_F(TargetTrackingTest, WindowsOfAnotherThreadOfABoundProcessBringTheClientBack) {
  const ClientWindow main = StartClient("Main window", {"--activate"});
  const ClientWindow other = StartClient("Other client");
  EXPECT_EQ(NextSampleGoesTo(), other.window);

  // A tool window on a second thread of the bound process: its activation is
  // found by process.
  const ClientWindow tool = Command(main.process, "thread-window Tool window", "WINDOW");
  ASSERT_NE(tool.thread, 0u);
  EXPECT_NE(tool.thread, main.thread);
  EXPECT_EQ(NextSampleGoesTo(), main.window);

  // Switching between the two windows again and again keeps working.
  // Seven rounds: more than the table could take if every switch added an entry.
  for (int round = 0; round < 7; ++round) {
    Command(other.process, "announce Other client", "READY");
    EXPECT_EQ(NextSampleGoesTo(), other.window) << "round " << round;
    Activate(main, "Main window");
    EXPECT_EQ(NextSampleGoesTo(), main.window) << "round " << round;
    Command(other.process, "announce Other client", "READY");
    Activate(tool, "Tool window");
    EXPECT_EQ(NextSampleGoesTo(), main.window) << "round " << round;
  }

  // Another application can still be bound after all of that.
  const ClientWindow viewer = StartClient("Viewer", {"--activate"});
  EXPECT_EQ(NextSampleGoesTo(), viewer.window);
  Activate(main, "Main window");
  EXPECT_EQ(NextSampleGoesTo(), main.window);
  Activate(viewer, "Viewer");
  EXPECT_EQ(NextSampleGoesTo(), viewer.window);
}

TEST_F(TargetTrackingTest, NinthClientIsTargetButNotListedAndAGoneTargetFallsBack) {
  std::vector<ClientWindow> windows = {StartClient("Client 1")};
  EXPECT_EQ(NextSampleGoesTo(), windows[0].window);
  for (int n = 2; n <= 9; ++n) {
    const std::string title = "Client " + std::to_string(n);
    windows.push_back(Command(windows[0].process, "announce " + title, "READY"));
    EXPECT_EQ(NextSampleGoesTo(), windows.back().window) << title;
  }
  // Client 8 is the target again, and goes: the sample that finds it gone goes to
  // the newest listed client with a title. Client 9 was never listed.
  Command(windows[0].process, "announce Client 8", "READY");
  EXPECT_EQ(NextSampleGoesTo(), windows[7].window);
  Command(windows[0].process, "destroy Client 8", "DESTROYED");
  EXPECT_EQ(NextSampleGoesTo(), windows[6].window);
  EXPECT_EQ(NextSampleGoesTo(), windows[6].window);
  EXPECT_EQ(MarkersAt(windows[8]), 1u);
}

// Sets or clears the immutable flag of a directory or file: nobody, not even an
// administrator, can then create a file in it or replace it. False where the
// file system has no such flag.
bool SetImmutable(const std::string& path, bool immutable) {
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK);
  if (fd < 0) return false;
  int flags = 0;
  bool done = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  if (done) {
    flags = immutable ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    done = ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  }
  close(fd);
  return done;
}

// The driver's current directory cannot take the library: it runs on without
// activation tracking.
class WriteProtectedDirectoryTest : public TrackingTest {
 protected:
  void BeforeDriverStarts() override {
    driverDirectory_ = session_.ScratchDir() + "/write-protected";
    ASSERT_TRUE(std::filesystem::create_directory(driverDirectory_));
    protected_ = SetImmutable(driverDirectory_, true);
    // Without the flag: a directory of the library's name cannot be written as a
    // file either.
    if (!protected_) std::filesystem::create_directory(driverDirectory_ + "/astrohook.dll");
  }
  void TearDown() override {
    TrackingTest::TearDown();
    if (protected_) SetImmutable(driverDirectory_, false);
  }

  bool protected_ = false;
};

TEST_F(WriteProtectedDirectoryTest, DriverRunsWithoutActivationTracking) {
  EXPECT_FALSE(std::filesystem::is_regular_file(driverDirectory_ + "/astrohook.dll"));
  EXPECT_TRUE(session_.Probe({"tray-icon-exists"}).Succeeded());

  const ClientWindow bound = StartClient("Would-be bound client", {"--activate"});
  EXPECT_EQ(NextSampleGoesTo(), bound.window);
  const ClientWindow other = StartClient("Other client");
  EXPECT_EQ(NextSampleGoesTo(), other.window);
  // No activation reaches the driver.
  Activate(bound, "Would-be bound client");
  EXPECT_EQ(NextSampleGoesTo(), other.window);
  EXPECT_TRUE(driver_->Running());
}

// The 32-bit hook's program, astrohook32.exe, from outside: written out with its
// library where the driver looks, running while the driver runs, and gone once
// the driver has ended, whether it exits or is killed.
class HookHostTest : public TrackingTest {
 protected:
  bool WaitForHosts(std::size_t count) {
    const auto deadline = Clock::now() + kExitTimeout;
    while (PrefixProcesses(session_.PrefixDir(), kHookHost).size() != count) {
      if (Clock::now() >= deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
  }
};

TEST_F(HookHostTest, WrittenOutRunsAndEndsWithItsDriverWhetherItExitsOrIsKilled) {
  ExpectWrittenOut(session_.ScratchDir(), "astrohook32.dll");
  ExpectWrittenOut(session_.ScratchDir(), kHookHost);
  EXPECT_TRUE(WaitForHosts(1));
  ASSERT_TRUE(PostToDriver(kCommandMessage, kExitCommand, 0));
  WaitForBox("Astrolab/AIRCAP 3D Controller");
  Press("Astrolab/AIRCAP 3D Controller", kYes);
  EXPECT_EQ(driver_->WaitForExit(kExitTimeout), 0);
  EXPECT_TRUE(WaitForHosts(0)) << "the host outlived its driver's exit";

  // Started again, the driver finds the program where it wrote it; killed, it
  // tells its host nothing.
  ASSERT_NE(StartDriverWithController(&driver_), nullptr);
  EXPECT_TRUE(WaitForHosts(1));
  driver_->Kill();
  EXPECT_TRUE(WaitForHosts(0)) << "the host outlived its killed driver";
}

// A file of the 32-bit hook program's name that is no program and cannot be
// replaced stands where the driver looks: the driver runs and follows the
// 64-bit programs as before. (Read-only is not enough: the tests run as root.)
class HookHostInTheWayTest : public TrackingTest {
 protected:
  static constexpr const char* kNotAProgram = "not a program\n";
  void BeforeDriverStarts() override {
    inTheWay_ = session_.ScratchDir() + "/" + kHookHost;
    std::ofstream(inTheWay_) << kNotAProgram;
    protected_ = SetImmutable(inTheWay_, true);
    // Without the flag: a directory of its name is no program either, and cannot
    // be written as a file.
    if (!protected_) {
      std::filesystem::remove(inTheWay_);
      std::filesystem::create_directory(inTheWay_);
    }
  }
  void TearDown() override {
    TrackingTest::TearDown();
    if (protected_) SetImmutable(inTheWay_, false);
  }

  std::string inTheWay_;
  bool protected_ = false;
};

TEST_F(HookHostInTheWayTest, DriverRunsAndFollowsTheOtherProgramsWithoutIt) {
  const ClientWindow bound = StartClient("Bound client", {"--activate"});
  const ClientWindow program = StartClient("Unbound program", {"--passive"});
  const ClientWindow other = StartClient("Other client");
  EXPECT_EQ(NextSampleGoesTo(), other.window);
  Activate(program, "Unbound program");
  Activate(bound, "Bound client");
  EXPECT_EQ(NextSampleGoesTo(), bound.window);
  if (protected_) {
    EXPECT_TRUE(FileBytes(inTheWay_) == kNotAProgram) << "the file in the way was replaced";
  } else {
    EXPECT_TRUE(std::filesystem::is_directory(inTheWay_));
  }
  EXPECT_TRUE(PrefixProcesses(session_.PrefixDir(), kHookHost).empty());
  EXPECT_TRUE(session_.Probe({"tray-icon-exists"}).Succeeded());
  EXPECT_TRUE(driver_->Running());
}

// 32-bit programs, followed through the 32-bit hook that astrohook32.exe
// installs, with 64-bit clients beside them. Under Wine a process runs the
// system-wide hooks newest first and goes no further than the first whose
// library it cannot load, and the driver installs its 64-bit hook last (see its
// start-up): so under Wine the 32-bit hook is reached in 32-bit programs only
// without the 64-bit library, which a directory of its name keeps away here.
// (Windows calls a hook of the other bitness on the thread that installed it.)
class ThirtyTwoBitTrackingTest : public TrackingTest {
 protected:
  void BeforeDriverStarts() override {
    ASSERT_TRUE(std::filesystem::create_directory(session_.ScratchDir() + "/astrohook.dll"));
  }
};

TEST_F(ThirtyTwoBitTrackingTest, AnApplicationActivatedByAClickIsBoundAndBroughtBack) {
  const ClientWindow wide = StartClient("64-bit client", {"--show"});
  const ClientWindow narrow = StartClient("32-bit client", {"--passive"}, TestClient32());
  Activate(wide, "64-bit client");
  Click(narrow, "32-bit client");
  EXPECT_FALSE(session_.Screenshot("tracking_32bit_client_clicked").empty());
  Command(narrow.process, "announce 32-bit client", "READY");
  EXPECT_EQ(NextSampleGoesTo(), narrow.window);

  // The 64-bit client takes the target; the 32-bit application, clicked or
  // activated by its own thread, brings its client back.
  for (const bool click : {true, false}) {
    Activate(wide, "64-bit client");
    Command(wide.process, "announce 64-bit client", "READY");
    EXPECT_EQ(NextSampleGoesTo(), wide.window);
    if (click) {
      Click(narrow, "32-bit client");
    } else {
      Activate(narrow, "32-bit client");
    }
    EXPECT_EQ(NextSampleGoesTo(), narrow.window) << (click ? "clicked" : "activated");
  }
}

// The driver's main thread sleeps through a beep that a client asked for; a
// 32-bit program's activation must not wait for it (on Windows the system calls
// the driver's 64-bit hook for 32-bit programs on the thread that installed it),
// and the driver learns of it once the beep is over.
TEST_F(ThirtyTwoBitTrackingTest, AnActivationDuringABeepDoesNotWaitAndIsReportedAfterIt) {
  const ClientWindow beeping = StartClient("Beeping client");
  const ClientWindow program = StartClient("Other program", {"--passive"});
  const ClientWindow narrow = StartClient("32-bit client", {"--passive"}, TestClient32());
  Activate(program, "Other program");
  const std::optional<double> quiet = Activate(narrow, "32-bit client");
  Activate(program, "Other program");

  controller_->ClearRecord();
  ASSERT_TRUE(session_.Probe({"send-command", kBeepCode, kLongestBeepMs}).Succeeded());
  ASSERT_TRUE(controller_->WaitForCommand("b?", kReplyTimeout));
  const std::optional<double> duringBeep = Activate(narrow, "32-bit client");
  Command(narrow.process, "announce 32-bit client", "READY");
  ASSERT_TRUE(quiet.has_value() && duringBeep.has_value()) << "no activation was measured";
  RecordProperty("activation_us", std::to_string(*quiet));
  RecordProperty("activation_during_beep_us", std::to_string(*duringBeep));
  // Far below the beep's 2 s, however loaded the machine.
  EXPECT_LT(*duringBeep, 1e6) << "without the beep it took " << *quiet << " us";

  // The activation came before the announcement: once the beep is over, the
  // client is bound to it.
  EXPECT_EQ(NextSampleGoesTo(), narrow.window);
  Command(beeping.process, "announce Beeping client", "READY");
  EXPECT_EQ(NextSampleGoesTo(), beeping.window);
  Activate(program, "Other program");
  Activate(narrow, "32-bit client");
  EXPECT_EQ(NextSampleGoesTo(), narrow.window);
}

}  // namespace
}  // namespace e2e
