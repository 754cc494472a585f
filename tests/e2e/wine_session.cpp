#include "tests/e2e/wine_session.h"

#include <unistd.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <thread>

#include "tests/e2e/harness_paths.h"

namespace e2e {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

constexpr int kDisplayAttempts = 5;
constexpr int kDisplayStep = 10;  // the next display tried when one is taken
constexpr const char* kPrefixReadyMarker = "/.astro-e2e-ready";
constexpr const char* kPortsKey = "HKEY_LOCAL_MACHINE\\Software\\Wine\\Ports";
constexpr const char* kPortsFile = "com_ports.reg";
constexpr const char* kDesktopKey = "HKCU\\Control Panel\\Desktop";
constexpr int kNormalDpi = 96;
// The system's list of its serial ports. Wine's mount manager writes it from the
// Ports key when the prefix's services start (COM12 as "\Device\Serial11"), not
// for ports mapped while they run: those the harness adds itself, as Windows does
// when an adapter is plugged in.
constexpr const char* kSerialCommKey = "HKEY_LOCAL_MACHINE\\HARDWARE\\DEVICEMAP\\SERIALCOMM";

// Wine's 32-bit half, where the distributions put it (Debian's multiarch
// package, and Wine's own layout).
bool ThirtyTwoBitWineInstalled() {
  for (const char* library : {"/usr/lib/i386-linux-gnu/wine/i386-windows/kernel32.dll",
                              "/usr/lib/wine/i386-windows/kernel32.dll",
                              "/opt/wine-stable/lib/wine/i386-windows/kernel32.dll"}) {
    if (FileExists(library)) return true;
  }
  return false;
}

std::string SafeFileName(const std::string& text) {
  std::string name;
  for (char c : text) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return name;
}

// The driver's key, or one of its subkeys when subkey is not empty.
std::string DriverSubkey(const std::string& subkey) {
  const std::string key = WineSession::kDriverKey;
  return subkey.empty() ? key : key + "\\" + subkey;
}

}  // namespace

std::optional<std::string> ProbeResult::Field(const std::string& key) const {
  for (const std::string& line : lines) {
    if (line == key) return std::string();
    if (line.rfind(key + " ", 0) == 0) return line.substr(key.size() + 1);
  }
  return std::nullopt;
}

std::optional<std::string> ProbeResult::Text() const {
  const std::optional<std::string> hex = Field("TEXT");
  if (!hex || hex->size() % 2 != 0) return std::nullopt;
  std::string bytes;
  for (std::size_t i = 0; i < hex->size(); i += 2) {
    bytes += static_cast<char>(std::stoi(hex->substr(i, 2), nullptr, 16));
  }
  return bytes;
}

WineSession::~WineSession() {
  Stop();
}

bool WineSession::Start(const std::string& testName, std::string* error) {
  wine_ = FindOnPath("wine");
  wineserver_ = FindOnPath("wineserver");
  const std::string xvfb = FindOnPath("Xvfb");
  if (wine_.empty() || wineserver_.empty() || xvfb.empty()) {
    *error = "wine, wineserver or Xvfb is not installed";
    return false;
  }
  slot_ = WorkerSlot::Acquire(error);
  if (slot_ == nullptr) return false;
  active_ = true;
  // Only the harness uses this prefix: whatever runs in it was left by an
  // earlier test of this slot, whose server may still be going away.
  if (FileExists(slot_->PrefixDir())) EndPrefixProcesses();
  if (!StartDisplay(error) || !EnsurePrefix(error)) return false;
  KeepServerRunning();
  if (FileExists(ScalingMarker()) && !SetLogPixels(kNormalDpi, error)) return false;
  scratchDir_ = slot_->Directory() + "/scratch/" + SafeFileName(testName);
  std::error_code failure;
  std::filesystem::remove_all(scratchDir_, failure);
  if (!std::filesystem::create_directories(scratchDir_, failure)) {
    *error = "cannot make " + scratchDir_ + ": " + failure.message();
    return false;
  }
  return true;
}

void WineSession::Stop() {
  if (!active_) return;
  active_ = false;
  for (std::unique_ptr<ChildProcess>& program : programs_) program->Kill();
  programs_.clear();
  std::string ignored;
  if (FileExists(ScalingMarker())) SetLogPixels(kNormalDpi, &ignored);
  // The next session waits until the server is gone (which writes the registry
  // out).
  Run({wineserver_, "-k"}, seconds(30));
  if (xvfb_) {
    xvfb_->Terminate(seconds(5));
    xvfb_.reset();
  }
  display_ = -1;
}

void WineSession::KeepServerRunning() {
  // A server that is not persistent ends a few seconds after its last program,
  // and a Wine program that reaches it while it goes away fails at once: on a
  // busy machine, two registry commands a few seconds apart did. So the session
  // keeps one server for its whole length (it leaves the terminal and its own
  // process group; Stop ends it).
  Run({wineserver_, "-p"}, seconds(30));
}

void WineSession::EndPrefixProcesses() {
  Run({wineserver_, "-k"}, seconds(30));
  // The server may still be going away when -k returns, and a Wine program that
  // reaches it then fails at once: wait until it is gone.
  Run({wineserver_, "-w"}, seconds(30));
}

bool WineSession::StartDisplay(std::string* error) {
  const std::string xvfb = FindOnPath("Xvfb");
  for (int attempt = 0; attempt < kDisplayAttempts; ++attempt) {
    const int display = slot_->PreferredDisplay() + attempt * kDisplayStep;
    ChildOptions options;
    // -displayfd 1: Xvfb prints the display number once it accepts clients.
    options.argv = {xvfb,
                    ":" + std::to_string(display),
                    "-displayfd",
                    "1",
                    "-screen",
                    "0",
                    std::to_string(screenWidth_) + "x" + std::to_string(screenHeight_) + "x24",
                    "-nolisten",
                    "tcp"};
    options.environment = BaseEnvironment();
    options.stderrPath = slot_->Directory() + "/xvfb.log";
    std::unique_ptr<ChildProcess> server = ChildProcess::Start(options, error);
    if (!server) return false;
    const bool ready =
        server
            ->WaitForLine([&](const std::string& line) { return line == std::to_string(display); },
                          seconds(20))
            .has_value();
    if (ready && server->Running()) {
      xvfb_ = std::move(server);
      display_ = display;
      return true;
    }
    // Taken by someone else's server: try another number.
    server->Kill();
  }
  *error = "no X display could be started (see " + slot_->Directory() + "/xvfb.log)";
  return false;
}

bool WineSession::EnsurePrefix(std::string* error) {
  const std::string prefix = slot_->PrefixDir();
  // A prefix made before 32-bit Wine was installed has no 32-bit system folder,
  // and every program fails in it afterwards ("could not load kernel32.dll"):
  // it is made anew.
  const bool lacks32Bit =
      ThirtyTwoBitWineInstalled() && !FileExists(prefix + "/drive_c/windows/syswow64");
  if (FileExists(prefix + kPrefixReadyMarker) && !lacks32Bit) return true;
  if (lacks32Bit) {
    std::error_code failure;
    std::filesystem::remove_all(prefix, failure);
    if (failure) {
      *error = "cannot remove the old prefix " + prefix + ": " + failure.message();
      return false;
    }
  }
  std::vector<std::string> environment = Environment();
  // No Mono or Gecko: the driver needs neither, and their installers ask questions.
  environment.push_back("WINEDLLOVERRIDES=mscoree,mshtml=");
  ChildOptions options;
  options.argv = {FindOnPath("wineboot"), "-i"};
  options.environment = environment;
  options.stderrPath = slot_->Directory() + "/wineboot.log";
  std::unique_ptr<ChildProcess> boot = ChildProcess::Start(options, error);
  if (!boot) return false;
  const std::optional<int> booted = boot->WaitForExit(seconds(180));
  if (booted != 0) {
    *error = "wineboot -i failed for " + prefix + " (see " + options.stderrPath + ")";
    return false;
  }
  // Wine draws the frames itself, so that screenshots look like Windows.
  for (const char* value : {"Decorated", "Managed"}) {
    std::string detail;
    if (!WriteRegistry({"add", "HKCU\\Software\\Wine\\X11 Driver", "/v", value, "/d", "N", "/f"},
                       &detail)) {
      *error = std::string("cannot set the X11 driver's ") + value + " value (" + detail + ")";
      return false;
    }
  }
  // Waits until the server has written the registry out.
  Run({wineserver_, "-w"}, seconds(60));
  std::ofstream(prefix + kPrefixReadyMarker) << "made by the end-to-end harness\n";
  return true;
}

std::vector<std::string> WineSession::Environment() const {
  std::vector<std::string> environment = BaseEnvironment();
  environment.push_back("WINEPREFIX=" + PrefixDir());
  environment.push_back("WINEDEBUG=-all");
  environment.push_back("DISPLAY=:" + std::to_string(display_));
  environment.insert(environment.end(), extraEnvironment_.begin(), extraEnvironment_.end());
  return environment;
}

std::string WineSession::StderrPath(const std::string& name) {
  const std::string directory = scratchDir_.empty() ? slot_->Directory() : scratchDir_;
  return directory + "/" + std::to_string(++started_) + "-" + SafeFileName(name) + ".stderr";
}

std::optional<int> WineSession::Run(const std::vector<std::string>& argv, milliseconds timeout,
                                    std::vector<std::string>* output) {
  ChildOptions options;
  options.argv = argv;
  options.environment = Environment();
  options.workingDirectory = scratchDir_;
  options.stderrPath = StderrPath(argv.empty() ? "run" : argv[0]);
  std::string ignored;
  std::unique_ptr<ChildProcess> child = ChildProcess::Start(options, &ignored);
  if (!child) return std::nullopt;
  const std::optional<int> exitCode = child->WaitForExit(timeout);
  child->Kill();
  if (output != nullptr) {
    // The reader may not have taken the last lines yet when the exit is seen.
    if (exitCode) child->WaitForOutputEnd(std::chrono::seconds(2));
    output->clear();
    for (const OutputLine& line : child->Lines()) output->push_back(line.text);
  }
  return exitCode;
}

std::optional<int> WineSession::RunWine(const std::vector<std::string>& arguments,
                                        milliseconds timeout, std::vector<std::string>* output) {
  std::vector<std::string> argv = {wine_};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  return Run(argv, timeout, output);
}

bool WineSession::WriteRegistry(const std::vector<std::string>& arguments, std::string* detail) {
  // A registry write through "wine reg" fails now and then on a busy machine, at
  // once and without a word (seen for port mappings while the prefix's server was
  // running): a write that must succeed is tried three times.
  std::vector<std::string> argv = {"reg"};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  std::optional<int> exitCode;
  std::vector<std::string> output;
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (attempt > 0) std::this_thread::sleep_for(milliseconds(300));
    exitCode = RunWine(argv, seconds(60), &output);
    if (exitCode == 0) return true;
  }
  *detail = "reg " + arguments.front() + ": " +
            (exitCode ? "exit code " + std::to_string(*exitCode) : std::string("no exit")) +
            (output.empty() ? std::string() : ", \"" + output.front() + "\"");
  return false;
}

// Wine's mount manager registers COM ports from the key HKLM\Software\Wine\Ports
// and from the host's serial devices (the host's /dev/ttyS0 becomes COM1 unless
// COM1 is in the key), and rewrites their dosdevices links whenever the prefix's
// services start. A registered port whose link is missing still opens, as a
// device that fails every call; a link to a directory does not open at all.
// So every one of COM1..COM8 is kept in the key, unused ones pointing at an empty
// directory, and the links always agree with the key.
bool WineSession::ClearComPorts(std::string* error) {
  const std::string noPort = slot_->Directory() + "/no-port";
  std::error_code failure;
  std::filesystem::create_directories(noPort, failure);
  std::ofstream file(scratchDir_ + "/" + kPortsFile);
  file << "Windows Registry Editor Version 5.00\r\n\r\n[" << kPortsKey << "]\r\n";
  for (int number = 1; number <= 8; ++number) {
    file << "\"COM" << number << "\"=\"" << noPort << "\"\r\n";
  }
  file.close();
  std::string detail = "the file could not be written";
  if (!file || !WriteRegistry({"import", kPortsFile}, &detail)) {
    *error = "cannot unmap the COM ports in the registry (" + detail + ")";
    return false;
  }
  for (int number = 1; number <= 8; ++number) {
    if (!SetComLink(number, noPort, error)) return false;
  }
  return ClearPortsAboveCom8(error);
}

// Ports above COM8 that an earlier test mapped (their pseudo-terminals are gone,
// and their numbers may now belong to another test's) go; what Wine maps of the
// host's own devices stays.
bool WineSession::ClearPortsAboveCom8(std::string* error) {
  std::error_code failure;
  for (const auto& entry :
       std::filesystem::directory_iterator(PrefixDir() + "/dosdevices", failure)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("com", 0) != 0 || name.size() < 4) continue;
    const int number = std::atoi(name.c_str() + 3);
    if (number <= 8 || std::to_string(number) != name.substr(3)) continue;
    std::error_code unreadable;
    const std::string target = std::filesystem::read_symlink(entry.path(), unreadable).string();
    if (target.rfind("/dev/ttyS", 0) == 0) continue;
    const std::string port = "COM" + std::to_string(number);
    RunWine({"reg", "delete", kPortsKey, "/v", port, "/f"}, seconds(60));
    RunWine({"reg", "delete", kSerialCommKey, "/v", "\\Device\\Serial" + std::to_string(number - 1),
             "/f"},
            seconds(60));
    std::filesystem::remove(entry.path(), unreadable);
    if (unreadable) {
      *error = "cannot remove " + entry.path().string() + ": " + unreadable.message();
      return false;
    }
  }
  return true;
}

bool WineSession::LinkComPort(int number, const std::string& device, std::string* error) {
  const std::string name = "COM" + std::to_string(number);
  std::string detail;
  if (!WriteRegistry({"add", kPortsKey, "/v", name, "/d", device, "/f"}, &detail)) {
    *error = "cannot map " + name + " in the registry (" + detail + ")";
    return false;
  }
  if (number > 8 &&
      !WriteRegistry({"add", kSerialCommKey, "/v", "\\Device\\Serial" + std::to_string(number - 1),
                      "/d", name, "/f"},
                     &detail)) {
    *error = "cannot list " + name + " among the system's ports (" + detail + ")";
    return false;
  }
  return SetComLink(number, device, error);
}

bool WineSession::UnlinkComPort(int number, std::string* error) {
  return LinkComPort(number, slot_->Directory() + "/no-port", error);
}

std::optional<std::string> WineSession::LeaveComPortToWine(int number, std::string* error) {
  const std::string name = "COM" + std::to_string(number);
  const std::string link = PrefixDir() + "/dosdevices/com" + std::to_string(number);
  RunWine({"reg", "delete", kPortsKey, "/v", name, "/f"}, seconds(60));
  std::error_code failure;
  std::filesystem::remove(link, failure);
  // Wine's mount manager maps the host's serial devices when the prefix's
  // services start: end them and start them again.
  EndPrefixProcesses();
  KeepServerRunning();
  if (RunWine({"reg", "query", kPortsKey}, seconds(60)) != 0) {
    *error = "cannot read the port mapping again";
    return std::nullopt;
  }
  const std::string hostDevice = "/dev/ttyS" + std::to_string(number - 1);
  if (!FileExists(hostDevice)) return std::string();
  const auto deadline = std::chrono::steady_clock::now() + seconds(30);
  while (!std::filesystem::is_symlink(link, failure)) {
    if (std::chrono::steady_clock::now() >= deadline) {
      *error = "Wine did not map " + name + " to " + hostDevice;
      return std::nullopt;
    }
    std::this_thread::sleep_for(milliseconds(50));
  }
  return std::filesystem::read_symlink(link, failure).string();
}

bool WineSession::SetComLink(int number, const std::string& target, std::string* error) {
  const std::string link = PrefixDir() + "/dosdevices/com" + std::to_string(number);
  std::error_code failure;
  std::filesystem::remove(link, failure);
  std::filesystem::create_symlink(target, link, failure);
  if (failure) {
    *error = "cannot link " + link + ": " + failure.message();
    return false;
  }
  return true;
}

std::string WineSession::ScalingMarker() const {
  return slot_->Directory() + "/display-scaled";
}

bool WineSession::SetLogPixels(int dpi, std::string* error) {
  // The mark goes first and away last, so that a test that dies in between
  // leaves it for the next one.
  if (dpi != kNormalDpi) std::ofstream(ScalingMarker()) << dpi << "\n";
  std::string detail;
  if (!WriteRegistry({"add", kDesktopKey, "/v", "LogPixels", "/t", "REG_DWORD", "/d",
                      std::to_string(dpi), "/f"},
                     &detail)) {
    *error = "cannot set LogPixels to " + std::to_string(dpi) + " (" + detail + ")";
    return false;
  }
  std::error_code ignored;
  if (dpi == kNormalDpi) std::filesystem::remove(ScalingMarker(), ignored);
  return true;
}

bool WineSession::ResetDriverSettings(std::string* error) {
  // A wine reg command can fail at once on a busy machine, as writes do: the
  // delete is tried again, three times in all, until the key is gone. The
  // delete fails harmlessly when the key is not there.
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (attempt > 0) std::this_thread::sleep_for(milliseconds(300));
    if (!RunWine({"reg", "delete", kDriverKey, "/f"}, seconds(60))) {
      *error = "wine reg delete did not finish";
      return false;
    }
    if (RunWine({"reg", "query", kDriverKey}, seconds(60)) != 0) return true;
  }
  *error = std::string("the key ") + kDriverKey + " is still there after three deletes";
  return false;
}

bool WineSession::SetDriverSetting(const std::string& name, const std::string& value,
                                   std::string* error) {
  return SetDriverString("", name, value, error);
}

bool WineSession::SetDriverString(const std::string& subkey, const std::string& name,
                                  const std::string& text, std::string* error) {
  const std::string key = DriverSubkey(subkey);
  std::string detail;
  if (!WriteRegistry({"add", key, "/v", name, "/t", "REG_SZ", "/d", text, "/f"}, &detail)) {
    *error = "cannot set " + name + (subkey.empty() ? "" : " in " + key) + " (" + detail + ")";
    return false;
  }
  return true;
}

bool WineSession::SetDriverBinary(const std::string& subkey, const std::string& name,
                                  const std::string& bytes, std::string* error) {
  static const char kHex[] = "0123456789abcdef";
  std::string hex;
  for (unsigned char byte : bytes) {
    hex += kHex[byte >> 4];
    hex += kHex[byte & 15];
  }
  const std::string key = DriverSubkey(subkey);
  std::string detail;
  if (!WriteRegistry({"add", key, "/v", name, "/t", "REG_BINARY", "/d", hex, "/f"}, &detail)) {
    *error = "cannot set " + name + " in " + key + " (" + detail + ")";
    return false;
  }
  return true;
}

// "reg query KEY /s" prints each key's path on a line of its own, then one line per
// value: four blanks, the name, four blanks, the type, four blanks, the data (hex
// digits for binary values). Value names hold no run of four blanks.
std::optional<std::map<std::string, std::map<std::string, std::string>>>
WineSession::ReadDriverKey() {
  // Like a write, a read through "wine reg" fails now and then on a busy machine:
  // the key is there, so a failed read is tried again, three times in all.
  std::vector<std::string> lines;
  bool read = false;
  for (int attempt = 0; attempt < 3 && !read; ++attempt) {
    if (attempt > 0) std::this_thread::sleep_for(milliseconds(300));
    read = RunWine({"reg", "query", kDriverKey, "/s"}, seconds(60), &lines) == 0;
  }
  if (!read) return std::nullopt;
  std::map<std::string, std::map<std::string, std::string>> keys;
  const std::string root = std::string("HKEY_CURRENT_USER") + (kDriverKey + 4);
  std::string current;
  for (const std::string& line : lines) {
    if (line.rfind(root, 0) == 0) {
      current = line.size() > root.size() ? line.substr(root.size() + 1) : "";
      keys[current];  // a key without values is listed too
      continue;
    }
    if (line.rfind("    ", 0) != 0) continue;
    const std::size_t typeAt = line.find("    ", 4);
    if (typeAt == std::string::npos) continue;
    const std::string name = line.substr(4, typeAt - 4);
    const std::size_t dataAt = line.find("    ", typeAt + 4);
    const std::string type = line.substr(
        typeAt + 4, dataAt == std::string::npos ? std::string::npos : dataAt - typeAt - 4);
    const std::string data = dataAt == std::string::npos ? "" : line.substr(dataAt + 4);
    std::string value = data;
    if (type == "REG_BINARY") {
      value.clear();
      for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
        value += static_cast<char>(std::stoi(data.substr(i, 2), nullptr, 16));
      }
    }
    keys[current][name] = value;
  }
  return keys;
}

ChildProcess* WineSession::StartWindowsProgram(const std::string& exeName,
                                               const std::vector<std::string>& arguments,
                                               std::string* error, bool pipeStdin,
                                               const std::string& workingDirectory) {
  // A bare name is one of the build's programs; a path is taken as it is.
  const std::string program = exeName.rfind('/', 0) == 0 ? exeName : WindowsProgram(exeName);
  if (!FileExists(program)) {
    *error = program + " does not exist";
    return nullptr;
  }
  return StartUnderWine(wine_, program, exeName, arguments, error, pipeStdin, workingDirectory);
}

ChildProcess* WineSession::StartSystemProgram(const std::string& exeName, std::string* error) {
  // Debian's "wine" runs Wine's own programs as 32-bit ones whenever 32-bit Wine
  // is installed; a 64-bit Windows runs its notepad as a 64-bit program, and so
  // does Wine's 64-bit loader.
  const std::string wine64 = "/usr/lib/wine/wine64";
  return StartUnderWine(FileExists(wine64) ? wine64 : wine_, "C:\\windows\\system32\\" + exeName,
                        exeName, {}, error, false, "");
}

ChildProcess* WineSession::StartUnderWine(const std::string& loader, const std::string& program,
                                          const std::string& exeName,
                                          const std::vector<std::string>& arguments,
                                          std::string* error, bool pipeStdin,
                                          const std::string& workingDirectory) {
  ChildOptions options;
  options.argv = {loader, program};
  options.argv.insert(options.argv.end(), arguments.begin(), arguments.end());
  options.environment = Environment();
  options.workingDirectory = workingDirectory.empty() ? scratchDir_ : workingDirectory;
  options.stderrPath = StderrPath(exeName);
  options.pipeStdin = pipeStdin;
  std::unique_ptr<ChildProcess> child = ChildProcess::Start(options, error);
  if (!child) return nullptr;
  programs_.push_back(std::move(child));
  return programs_.back().get();
}

std::string WineSession::Screenshot(const std::string& name, const std::string& crop) {
  const std::string directory = HarnessDir() + "/screenshots";
  std::error_code failure;
  std::filesystem::create_directories(directory, failure);
  const std::string path = directory + "/" + SafeFileName(name) + ".png";
  std::vector<std::string> argv = {FindOnPath("import"), "-display", ":" + std::to_string(display_),
                                   "-window", "root"};
  if (!crop.empty()) argv.insert(argv.end(), {"-crop", crop, "+repage"});
  argv.push_back(path);
  return Run(argv, seconds(30)) == 0 ? path : "";
}

ProbeResult WineSession::Probe(const std::vector<std::string>& arguments, milliseconds timeout) {
  std::vector<std::string> wineArguments = {WindowsProgram("probe.exe")};
  wineArguments.insert(wineArguments.end(), arguments.begin(), arguments.end());
  ProbeResult result;
  const std::optional<int> exitCode = RunWine(wineArguments, timeout, &result.lines);
  result.exitCode = exitCode.value_or(-1);
  return result;
}

}  // namespace e2e
