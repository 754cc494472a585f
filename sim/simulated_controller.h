// A simulated controller on a pseudo-terminal. Wine sees the pty's slave as a COM
// port (the harness links it as dosdevices/comN). The controller answers the
// version string, records every command line it receives with its arrival time,
// and sends any line of the protocol on request.
#pragma once

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace sim {

using Clock = std::chrono::steady_clock;

struct ReceivedCommand {
  std::string line;  // the bytes before the carriage return (may be empty)
  Clock::time_point arrival;
};

enum class Personality {
  kController,     // answers the version string with a reply naming the product
  kAnonymousPort,  // answers the version string without a product name
  kSilent,         // says nothing
};

class SimulatedController {
 public:
  explicit SimulatedController(Personality personality = Personality::kController);
  ~SimulatedController();
  SimulatedController(const SimulatedController&) = delete;
  SimulatedController& operator=(const SimulatedController&) = delete;

  // Opens the pty (raw mode) and starts the reader thread. False on failure.
  bool Start();
  void Stop();
  // Path of the slave side, to link as a COM port.
  const std::string& SlavePath() const { return slavePath_; }

  // Replaces the version reply (sent followed by a carriage return).
  void SetVersionReply(const std::string& reply);

  // Every complete command line received so far, in order.
  std::vector<ReceivedCommand> Commands() const;
  // Every byte received so far.
  std::string ReceivedBytes() const;
  // Waits until at least count command lines have arrived; false on time-out.
  bool WaitForCommands(std::size_t count, std::chrono::milliseconds timeout) const;
  // Waits until a command line equal to line has arrived; false on time-out.
  bool WaitForCommand(const std::string& line, std::chrono::milliseconds timeout) const;
  void ClearRecord();

  // Writes bytes as they are to the driver; false when the pty refuses them.
  bool SendRaw(const std::string& bytes);

 private:
  void ReadLoop();
  // Cuts received bytes into lines; answers the version string before the line is
  // recorded, so a reply is already on its way when a waiter sees the command.
  void HandleBytes(const char* bytes, std::size_t count, Clock::time_point arrival);
  std::string ReplyTo(const std::string& line) const;
  bool WriteAll(const std::string& bytes);
  void CloseDescriptors();

  Personality personality_;
  std::string versionReply_;
  int master_ = -1;
  int slaveKeeper_ = -1;  // keeps the pty alive while the driver has the port closed
  int wakeRead_ = -1;     // a byte on this pipe ends the reader thread
  int wakeWrite_ = -1;
  std::string slavePath_;
  std::thread reader_;
  bool running_ = false;
  mutable std::mutex mutex_;       // guards versionReply_, received_, commands_
  mutable std::mutex writeMutex_;  // keeps lines from two threads from interleaving
  mutable std::condition_variable changed_;
  std::string partial_;  // reader thread only: the line not yet ended by a carriage return
  std::string received_;
  std::vector<ReceivedCommand> commands_;
};

// Line encoders (each returns the whole line including its carriage return).
using Axes = std::array<int, 6>;  // X, Y, Z, A, B, C
// Short form: axes in -2048..2047; a wrong checksum when corruptChecksum.
std::string ShortMotionLine(const Axes& axes, bool corruptChecksum = false);
// Long form: axes in -32768..32767.
std::string LongMotionLine(const Axes& axes);
// Buttons: bit n-1 for button n, 12 bits.
std::string ButtonLine(std::uint32_t mask);
std::string ModeLine(unsigned mode);
std::string LongModeLine(unsigned mode, unsigned second);
std::string NLine(unsigned value);
std::string QLine(unsigned first, unsigned second);

}  // namespace sim
