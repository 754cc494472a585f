// Everything one test needs to run Windows programs under Wine: the worker's
// prefix and its own X display, the COM port links, the driver's registry key, a
// scratch directory, and the programs it started. Stop() ends all of them (each
// by its own process id), then ends the prefix's Wine processes with
// `wineserver -k` and stops the display.
#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/child_process.h"
#include "tests/e2e/worker_slot.h"

namespace e2e {

// What probe.exe printed and how it ended.
struct ProbeResult {
  int exitCode = -1;
  std::vector<std::string> lines;

  bool Succeeded() const { return exitCode == 0; }
  // The rest of the first line that starts with "<key> ", if any.
  std::optional<std::string> Field(const std::string& key) const;
  // A "TEXT <hex>" field decoded to its bytes.
  std::optional<std::string> Text() const;
};

class WineSession {
 public:
  static constexpr const char* kDriverKey = "HKCU\\Software\\Brightfold\\Dimensa\\Astrolab";

  WineSession() = default;
  ~WineSession();
  WineSession(const WineSession&) = delete;
  WineSession& operator=(const WineSession&) = delete;

  // Takes the worker slot, ends what an earlier crashed test may have left in the
  // prefix (a display scaling it set included), starts the display, makes the
  // prefix when missing and a fresh scratch directory named after the test.
  bool Start(const std::string& testName, std::string* error);
  void Stop();

  int Display() const { return display_; }
  // The display's size for the next Start; 1024x768 unless a test needs more.
  void SetScreenSize(int width, int height) {
    screenWidth_ = width;
    screenHeight_ = height;
  }

  // Sets the display scaling that Windows programs started from now on see
  // (the user's "LogPixels", 96 dpi being 100 %). Any other value than 96 is set
  // back by Stop(), or by the next Start() in this prefix after a crash.
  bool SetLogPixels(int dpi, std::string* error);
  const std::string& ScratchDir() const { return scratchDir_; }
  std::string PrefixDir() const { return slot_ != nullptr ? slot_->PrefixDir() : ""; }
  std::vector<std::string> Environment() const;
  // Adds NAME=VALUE to the environment of every program started from now on.
  void SetEnvironment(const std::string& name, const std::string& value) {
    extraEnvironment_.push_back(name + "=" + value);
  }

  // Runs a host program with the session's environment to its end; its exit
  // code, or nothing on time-out (it is then killed).
  std::optional<int> Run(const std::vector<std::string>& argv, std::chrono::milliseconds timeout,
                         std::vector<std::string>* output = nullptr);

  // Unmaps COM1..COM8, so that none of them opens (the host's own serial ports
  // included), and removes the ports above COM8 that tests mapped (Wine's own
  // mapping of a host device there stays).
  bool ClearComPorts(std::string* error);
  // Maps COM<number> to a device path (a simulated controller's pty); a port
  // above COM8 is also listed among the system's serial ports.
  bool LinkComPort(int number, const std::string& device, std::string* error);
  // Makes COM<number> absent again, as an unplugged adapter's port is (a stale
  // link could reach whichever pseudo-terminal gets its number next).
  bool UnlinkComPort(int number, std::string* error);
  // Gives COM<number> back to Wine, which maps it to the host's own serial device
  // (/dev/ttyS<number-1>) as it does in a new prefix. Its link target, or empty
  // when the host has no such device and Wine maps nothing.
  std::optional<std::string> LeaveComPortToWine(int number, std::string* error);

  // Deletes the driver's registry key (its settings and mappings).
  bool ResetDriverSettings(std::string* error);
  // Stores a setting as the driver keeps them (REG_SZ).
  bool SetDriverSetting(const std::string& name, const std::string& value, std::string* error);
  // Stores a binary value (a button's key sequence) in the driver's key, or in
  // one of its subkeys (a named keyboard mapping) when subkey is not empty.
  bool SetDriverBinary(const std::string& subkey, const std::string& name, const std::string& bytes,
                       std::string* error);
  // Stores a text value (REG_SZ) in one of the driver's subkeys (a named keyboard
  // mapping), or in the key itself when subkey is empty.
  bool SetDriverString(const std::string& subkey, const std::string& name, const std::string& text,
                       std::string* error);
  // Every value of the driver's key and its subkeys, by subkey ("" for the key
  // itself) and value name: the bytes of binary values, the text of the others.
  // Nothing when the key cannot be read.
  std::optional<std::map<std::string, std::map<std::string, std::string>>> ReadDriverKey();

  // Starts a program of the Windows build (or, given an absolute path, any
  // Windows program) under Wine, in the scratch directory
  // or the given one (with its standard input fed by the caller when pipeStdin).
  // The session owns it and ends it in Stop(); null on failure.
  ChildProcess* StartWindowsProgram(const std::string& exeName,
                                    const std::vector<std::string>& arguments, std::string* error,
                                    bool pipeStdin = false,
                                    const std::string& workingDirectory = "");
  // Starts one of Wine's own 64-bit programs (notepad.exe) from its system
  // folder, owned and ended like the others.
  ChildProcess* StartSystemProgram(const std::string& exeName, std::string* error);
  ChildProcess* StartDriver(std::string* error, const std::string& workingDirectory = "") {
    return StartWindowsProgram("astrodriver.exe", {}, error, false, workingDirectory);
  }
  // Saves what the session's display shows (the part given by crop, as
  // ImageMagick's "WxH+X+Y", or all of it when empty) as <build>/e2e/screenshots/
  // <name>.png, kept for people to look at. Its path, or empty on failure.
  std::string Screenshot(const std::string& name, const std::string& crop = "");
  // Runs probe.exe with the arguments to its end. timeout covers Wine's start-up
  // as well as any time-out the subcommand itself takes.
  ProbeResult Probe(const std::vector<std::string>& arguments,
                    std::chrono::milliseconds timeout = std::chrono::seconds(30));

 private:
  bool ClearPortsAboveCom8(std::string* error);
  // Starts a persistent server for the prefix (see the definition for why).
  void KeepServerRunning();
  // Ends every Wine process of the prefix and its server.
  void EndPrefixProcesses();
  bool StartDisplay(std::string* error);
  ChildProcess* StartUnderWine(const std::string& loader, const std::string& program,
                               const std::string& exeName,
                               const std::vector<std::string>& arguments, std::string* error,
                               bool pipeStdin, const std::string& workingDirectory);
  bool EnsurePrefix(std::string* error);
  // Runs "wine reg" with the arguments, a write that must succeed: true once one
  // of up to three attempts exits with 0, else false with what the last said.
  bool WriteRegistry(const std::vector<std::string>& arguments, std::string* detail);
  std::optional<int> RunWine(const std::vector<std::string>& arguments,
                             std::chrono::milliseconds timeout,
                             std::vector<std::string>* output = nullptr);
  std::string StderrPath(const std::string& name);
  bool SetComLink(int number, const std::string& target, std::string* error);
  // Present while the prefix may not be at 96 dpi.
  std::string ScalingMarker() const;

  WorkerSlot* slot_ = nullptr;
  bool active_ = false;  // between Start and Stop
  int display_ = -1;
  int screenWidth_ = 1024;
  int screenHeight_ = 768;
  std::unique_ptr<ChildProcess> xvfb_;
  std::string scratchDir_;
  std::string wine_;
  std::string wineserver_;
  std::vector<std::unique_ptr<ChildProcess>> programs_;
  int started_ = 0;  // numbers the programs' stderr files
  std::vector<std::string> extraEnvironment_;
};

}  // namespace e2e
