// The installer end to end: the package installs silently for the current user,
// the installed driver runs with the hook's files installed beside it and
// delivers motion to a client, a package of the next version replaces it in
// place, and uninstalling removes the program, its shortcut and its logon start
// but leaves the user's settings. The version resources read back as the product's.
#include <gmock/gmock.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

#include "client/astrolab_client.h"
#include "tests/e2e/desktop_fixture.h"
#include "tests/e2e/harness_paths.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr const char* kProductName = "Astrolab/AIRCAP 3D Controller";
constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRunValue = "Astrolab 3D Controller";

// The activation hook's files, installed beside the program.
constexpr const char* kHookFiles[] = {"astrohook.dll", "astrohook32.dll", "astrohook32.exe"};

std::string Package(const std::string& name) {
  return WindowsBinDir() + "/../installer/" + name;
}

// Whether no process maps the file any more. Wine keeps a hook library loaded in
// the programs the hook ran in for a moment after the hook is released; a file in
// use cannot be removed.
bool Unmapped(const std::string& path) {
  for (const auto& entry : fs::directory_iterator("/proc")) {
    std::ifstream maps(entry.path() / "maps");
    std::string line;
    while (std::getline(maps, line)) {
      if (line.size() >= path.size() &&
          line.compare(line.size() - path.size(), std::string::npos, path) == 0) {
        return false;
      }
    }
  }
  return true;
}

bool WaitUntilUnmapped(const std::string& path) {
  const auto deadline = Clock::now() + kExitTimeout;
  while (!Unmapped(path)) {
    if (Clock::now() >= deadline) return false;
    std::this_thread::sleep_for(100ms);
  }
  return true;
}

std::string HexToText(const std::string& hex) {
  std::string text;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    text += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  }
  return text;
}

class InstallerTest : public DriverTest {
 protected:
  bool Msiexec(const std::string& action, const std::string& package) {
    const std::optional<int> status =
        session_.Run({FindOnPath("wine"), "msiexec", action, package, "/qn"}, 120s);
    return status == 0;
  }
  // The user's folder in the prefix (drive_c/users/<name>).
  std::string UserDir() {
    for (const auto& entry : fs::directory_iterator(session_.PrefixDir() + "/drive_c/users")) {
      const std::string name = entry.path().filename().string();
      if (name != "Public" && entry.is_directory()) return entry.path().string();
    }
    return "";
  }
  std::string InstallDir() { return UserDir() + "/AppData/Local/Programs/Astrolab"; }
  std::string Shortcut() {
    return UserDir() +
           "/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Astrolab 3D Controller/"
           "Astrolab 3D Controller.lnk";
  }
  std::optional<std::string> RunValue() {
    const ProbeResult value = session_.Probe({"reg-value", kRunKey, kRunValue});
    if (!value.Succeeded() || !value.Field("VALUE")) return std::nullopt;
    std::string text = HexToText(*value.Field("VALUE"));
    if (!text.empty() && text.back() == '\0') text.pop_back();
    return text;
  }
  // The versions of the product in the installed-programs list (the machine's and
  // the user's), in the 64-bit view of the registry: with 32-bit Wine installed,
  // "wine reg" runs as a 32-bit program and would see the 32-bit one.
  std::vector<std::string> ListedVersions() {
    std::vector<std::string> versions;
    for (const char* root : {"HKLM", "HKCU"}) {
      std::vector<std::string> lines;
      session_.Run(
          // The 64-bit view: with 32-bit Wine there, "wine reg" is the 32-bit reg.exe,
          // which sees the machine's Software key through Wow6432Node.
          {FindOnPath("wine"), "reg", "query",
           std::string(root) + "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall", "/s",
           "/reg:64"},
          60s, &lines);
      bool ours = false;
      for (std::string line : lines) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind("HKEY_", 0) == 0) ours = false;
        if (line.find("DisplayName") != std::string::npos) {
          ours = line.size() >= std::strlen(kProductName) &&
                 line.compare(line.size() - std::strlen(kProductName), std::string::npos,
                              kProductName) == 0;
        }
        constexpr const char kVersion[] = "DisplayVersion    REG_SZ    ";
        const std::size_t at = line.find(kVersion);
        if (ours && at != std::string::npos)
          versions.push_back(line.substr(at + sizeof kVersion - 1));
      }
    }
    return versions;
  }
};

TEST_F(InstallerTest, InstallsRunsUpgradesInPlaceAndUninstallsKeepingTheSettings) {
  ASSERT_TRUE(FileExists(Package("astrodriver.msi"))) << "no installer was built (is wixl there?)";
  // A package left by an earlier run in this prefix goes first.
  Msiexec("/x", Package("astrodriver-next.msi"));
  Msiexec("/x", Package("astrodriver.msi"));

  ASSERT_TRUE(Msiexec("/i", Package("astrodriver.msi")));
  const std::string installed = InstallDir() + "/astrodriver.exe";
  EXPECT_TRUE(FileExists(installed));
  for (const char* file : kHookFiles) EXPECT_TRUE(FileExists(InstallDir() + "/" + file)) << file;
  EXPECT_TRUE(FileExists(Shortcut()));
  const std::optional<std::string> run = RunValue();
  ASSERT_TRUE(run.has_value());
  EXPECT_EQ(run->front(), '"');
  EXPECT_NE(run->find("\\AppData\\Local\\Programs\\Astrolab\\astrodriver.exe\""), std::string::npos)
      << *run;
  EXPECT_THAT(ListedVersions(), ::testing::ElementsAre("4.5.0"));
  const ProbeResult version = session_.Probe({"file-version", installed});
  EXPECT_EQ(version.Field("PRODUCT"), "4.5");
  EXPECT_EQ(version.Field("NAME"), kProductName);

  // The installed driver, started from elsewhere, finds the installed hook files
  // (nothing is written out) and delivers motion to a client.
  sim::SimulatedController* controller = Attach(3);
  AttachOtherPorts();
  ASSERT_NE(controller, nullptr);
  std::string error;
  ChildProcess* driver = session_.StartWindowsProgram(installed, {}, &error);
  ASSERT_NE(driver, nullptr) << error;
  ASSERT_TRUE(controller->WaitForCommand("b9", kStartupTimeout));
  ASSERT_TRUE(WaitForTrayIcon());
  for (const char* file : kHookFiles) {
    EXPECT_FALSE(FileExists(session_.ScratchDir() + "/" + file)) << file;
  }
  // The plug-in authors' sample client prints each sample's axes.
  ChildProcess* client =
      session_.StartWindowsProgram("sample_client.exe", {"--seconds", "120"}, &error);
  ASSERT_NE(client, nullptr) << error;
  ASSERT_TRUE(client->WaitForLineStartingWith("REGISTERED", kReplyTimeout).has_value());
  bool arrived = false;
  for (const auto deadline = Clock::now() + kReplyTimeout; !arrived && Clock::now() < deadline;) {
    ASSERT_TRUE(controller->SendRaw(sim::ShortMotionLine({120, -80, 40, 0, 0, 10})));
    arrived =
        client
            ->WaitForLine(
                [](const std::string& line) { return line == "MOTION 120 -80 40 0 0 10"; }, 1s)
            .has_value();
  }
  EXPECT_TRUE(arrived) << "no motion reached the client from the installed driver";
  // Ended as the user ends it, so that its activation hooks let go of the
  // installed libraries in every program and the 32-bit hook's program ends.
  client->Kill();
  ASSERT_TRUE(
      session_.Probe({"post-driver", std::to_string(0x0111), std::to_string(kExitCommand), "0"})
          .Succeeded());
  ASSERT_TRUE(session_.Probe({"wait-box", kProductName, "30000"}, 60s).Succeeded());
  ASSERT_TRUE(session_.Probe({"press", kProductName, std::to_string(kYes)}).Succeeded());
  EXPECT_TRUE(driver->WaitForExit(kExitTimeout).has_value());
  for (const char* file : kHookFiles) {
    EXPECT_TRUE(WaitUntilUnmapped(fs::canonical(InstallDir() + "/" + file).string())) << file;
  }

  // The next version replaces it: one entry, the new version.
  ASSERT_TRUE(Msiexec("/i", Package("astrodriver-next.msi")));
  EXPECT_THAT(ListedVersions(), ::testing::ElementsAre("4.5.1"));
  EXPECT_TRUE(FileExists(installed));

  // Uninstalled: program, library, shortcut and logon start go; the settings stay.
  ASSERT_TRUE(Msiexec("/x", Package("astrodriver-next.msi")));
  EXPECT_FALSE(FileExists(installed));
  for (const char* file : kHookFiles) EXPECT_FALSE(FileExists(InstallDir() + "/" + file)) << file;
  EXPECT_FALSE(FileExists(Shortcut()));
  EXPECT_FALSE(RunValue().has_value());
  EXPECT_TRUE(ListedVersions().empty());
  EXPECT_TRUE(session_.Probe({"reg-value", "Software\\Brightfold\\Dimensa\\Astrolab", "Password"})
                  .Succeeded())
      << "the settings went with the program";
}

TEST_F(InstallerTest, ProgramAndHookFilesCarryTheProductVersion) {
  for (const std::string& file :
       {WindowsProgram("astrodriver.exe"), WindowsBinDir() + "/../hook/astrohook.dll",
        Windows32BinDir() + "/../hook/astrohook32.dll",
        Windows32BinDir() + "/../hook/astrohook32.exe"}) {
    const ProbeResult version = session_.Probe({"file-version", file});
    ASSERT_TRUE(version.Succeeded()) << file;
    EXPECT_EQ(version.Field("PRODUCT"), "4.5") << file;
    EXPECT_EQ(version.Field("FILE"), "4.5.0.0") << file;
    EXPECT_EQ(version.Field("FIXED"), "4.5.0.0") << file;
    EXPECT_EQ(version.Field("NAME"), kProductName) << file;
    EXPECT_TRUE(version.Field("DESCRIPTION").has_value()) << file;
  }
}

}  // namespace
}  // namespace e2e
