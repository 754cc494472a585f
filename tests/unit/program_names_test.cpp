// The file names of programs by process: asked of the system once per process
// and creation time, and at most once per activation for the program in front.
#include "delivery/program_names.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace astro {
namespace {

class FakeProcesses : public ProcessQuery {
 public:
  struct Process {
    std::uint64_t created;
    std::string path;
    bool imageReadable = true;
  };
  std::map<std::uint32_t, Process> processes;
  std::vector<std::string> asked;  // "time 12", "image 12"

  bool CreationTime(std::uint32_t processId, std::uint64_t* time) override {
    asked.push_back("time " + std::to_string(processId));
    const auto found = processes.find(processId);
    if (found == processes.end()) return false;
    *time = found->second.created;
    return true;
  }
  bool ImagePath(std::uint32_t processId, std::string* path) override {
    asked.push_back("image " + std::to_string(processId));
    const auto found = processes.find(processId);
    if (found == processes.end() || !found->second.imageReadable) return false;
    *path = found->second.path;
    return true;
  }
  std::vector<std::string> Take() { return std::exchange(asked, {}); }
};

using Asked = std::vector<std::string>;

class ProgramNamesTest : public ::testing::Test {
 protected:
  ProgramNamesTest() {
    system.processes[12] = {1000, "C:\\Windows\\notepad.exe"};
    system.processes[40] = {2000, "C:\\Program Files\\CAD\\Xtop.EXE"};
  }

  FakeProcesses system;
  ProgramNames names{system};
};

TEST_F(ProgramNamesTest, TheProgramInFrontIsAskedOncePerActivationAndItsImageOnce) {
  EXPECT_EQ(names.FileName(12), "notepad.exe");
  EXPECT_EQ(system.Take(), (Asked{"time 12", "image 12"}));
  // Presses while it stays in front ask nothing.
  EXPECT_EQ(names.FileName(12), "notepad.exe");
  EXPECT_EQ(names.FileName(12), "notepad.exe");
  EXPECT_EQ(system.Take(), Asked{});
  // Another activation of the same process: its creation time tells it is the one known.
  names.Activated();
  EXPECT_EQ(names.FileName(12), "notepad.exe");
  EXPECT_EQ(system.Take(), Asked{"time 12"});
  // Another process in front without an activation reported is asked too.
  EXPECT_EQ(names.FileName(40), "Xtop.EXE");
  EXPECT_EQ(system.Take(), (Asked{"time 40", "image 40"}));
  names.Activated();
  EXPECT_EQ(names.FileName(12), "notepad.exe");
  EXPECT_EQ(system.Take(), Asked{"time 12"});
}

TEST_F(ProgramNamesTest, ANewProcessWithAReusedIdIsAskedAgain) {
  EXPECT_EQ(names.FileName(12), "notepad.exe");
  system.processes[12] = {1500, "C:\\CAD\\proe.exe"};  // notepad ended, proe got its id
  names.Activated();
  EXPECT_EQ(names.FileName(12), "proe.exe");
  EXPECT_EQ(system.Take(), (Asked{"time 12", "image 12", "time 12", "image 12"}));
  // The renewed entry answers for the new process.
  names.Activated();
  EXPECT_EQ(names.FileName(40), "Xtop.EXE");
  names.Activated();
  EXPECT_EQ(names.FileName(12), "proe.exe");
  EXPECT_EQ(system.Take(), (Asked{"time 40", "image 40", "time 12"}));
}

TEST_F(ProgramNamesTest, AProcessThatCannotBeAskedHasNoNameAndIsAskedAgainLater) {
  EXPECT_EQ(names.FileName(0), "");   // no window in front
  EXPECT_EQ(names.FileName(77), "");  // gone, or not open to this user
  system.processes[13] = {3000, "C:\\x\\guarded.exe", false};
  names.Activated();
  EXPECT_EQ(names.FileName(13), "");
  EXPECT_EQ(system.Take(), (Asked{"time 77", "time 13", "image 13"}));
  system.processes[13].imageReadable = true;
  names.Activated();
  EXPECT_EQ(names.FileName(13), "guarded.exe");
  EXPECT_EQ(system.Take(), (Asked{"time 13", "image 13"}));
}

TEST_F(ProgramNamesTest, SixteenProcessesAreKeptAndTheOldestMakesRoom) {
  for (std::uint32_t id = 100; id < 117; ++id) {
    system.processes[id] = {id * 10ull, "C:\\p\\p" + std::to_string(id) + ".exe"};
    names.Activated();
    EXPECT_EQ(names.FileName(id), "p" + std::to_string(id) + ".exe");
  }
  system.Take();
  // The seventeenth (116) took the place of the first (100); 101 is still known.
  names.Activated();
  EXPECT_EQ(names.FileName(101), "p101.exe");
  names.Activated();
  EXPECT_EQ(names.FileName(100), "p100.exe");
  EXPECT_EQ(system.Take(), (Asked{"time 101", "time 100", "image 100"}));
}

}  // namespace
}  // namespace astro
