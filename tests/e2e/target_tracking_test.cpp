// Following the user end to end: clients announce their windows, their
// applications are activated on the desktop, and marker samples show which
// window the driver sends motion to. The activations reach the driver through
// the hook library it writes out and loads.
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
#include "tests/e2e/tracking_fixture.h"

namespace e2e {
namespace {

std::string FileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The library as the build made it, beside (not inside) the Windows programs.
std::string BuiltHookLibrary() {
  return WindowsBinDir() + "/../hook/astrohook.dll";
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
  // The driver found no library where it looks and writes its own out, after its
  // tray icon: wait until the file is there whole.
  const std::string extracted = session_.ScratchDir() + "/astrohook.dll";
  const std::string built = FileBytes(BuiltHookLibrary());
  ASSERT_FALSE(built.empty());
  const auto deadline = Clock::now() + kStartupTimeout;
  while (FileBytes(extracted).size() < built.size() && Clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_EQ(FileBytes(extracted), built);

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

// Sets or clears the immutable flag of a directory: nobody, not even an
// administrator, can then create a file in it. False where the file system has
// no such flag.
bool SetImmutable(const std::string& directory, bool immutable) {
  const int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY);
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

}  // namespace
}  // namespace e2e
