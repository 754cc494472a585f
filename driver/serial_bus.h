// The serial ports as port discovery and the command writer see them. The Windows
// layer implements this with the Win32 communications API; tests use a fake bus.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "driver/handles.h"

namespace astro {

// What a port reports of itself (the fields of the system's properties record
// that decide whether the controller can hang on it). All zero when the
// provider tells nothing.
struct PortProperties {
  std::uint32_t maxBaud = 0;
  std::uint32_t providerSubType = 0;
  std::uint32_t providerCapabilities = 0;
  std::uint32_t settableParams = 0;
  std::uint32_t settableBaud = 0;
  std::uint16_t settableData = 0;
  std::uint16_t settableStopParity = 0;
};

// The system's flag values for the properties above.
namespace port_flags {
constexpr std::uint32_t kBaud9600 = 0x00000800;  // BAUD_9600 (0x400 is BAUD_7200)
constexpr std::uint32_t kProviderRs232 = 0x00000001;
constexpr std::uint32_t kDtrDsr = 0x0001;
constexpr std::uint32_t kRtsCts = 0x0002;
constexpr std::uint32_t kSettableParity = 0x0001;
constexpr std::uint32_t kSettableBaud = 0x0002;
constexpr std::uint32_t kSettableDataBits = 0x0004;
constexpr std::uint32_t kSettableStopBits = 0x0008;
constexpr std::uint16_t kDataBits8 = 0x0008;
constexpr std::uint16_t kStopBits2 = 0x0004;
constexpr std::uint16_t kParityNone = 0x0100;
}  // namespace port_flags

class SerialBus {
 public:
  virtual ~SerialBus() = default;

  // Opens a port ("COMn") for overlapped reading and writing; kInvalidPort when it
  // does not open.
  virtual PortHandle Open(const char* name) = 0;
  virtual void Close(PortHandle port) = 0;
  virtual bool SetupQueues(PortHandle port, std::uint32_t inQueue, std::uint32_t outQueue) = 0;
  // Fills props from a zeroed record; false when the system refuses.
  virtual bool ReadProperties(PortHandle port, PortProperties& props) = 0;
  // Reads the port's line settings and applies the controller's line configuration,
  // with DTR and RTS held on (powerOn) or off.
  virtual bool ApplyLineConfiguration(PortHandle port, bool powerOn) = 0;
  // Sets the event mask to "event character received" and reads it back.
  virtual bool SetEventMask(PortHandle port) = 0;
  // Read returns at once with what has arrived; writes time out after 10 ms/byte + 100 ms.
  virtual bool SetTimeouts(PortHandle port) = 0;
  // A handle to the named, manual-reset serial event; kInvalidEvent on failure.
  virtual EventHandle CreateSerialEvent() = 0;
  virtual void CloseEvent(EventHandle event) = 0;
  // Places one byte ahead of any queued output.
  virtual bool TransmitChar(PortHandle port, char c) = 0;
  // One detection step: resets the event, starts a wait for the port's events,
  // tests whether the port has signalled, and if so reads up to capacity bytes
  // into buffer. Returns whether it signalled; count is the number of bytes read.
  virtual bool PollReply(PortHandle port, EventHandle event, char* buffer, std::size_t capacity,
                         std::size_t& count) = 0;
  virtual void Sleep(unsigned milliseconds) = 0;
  // The system's names of its serial ports ("COM12", in no particular order).
  virtual std::vector<std::string> SystemPortNames() = 0;
};

// Receives the start-up error boxes; the Windows layer appends the calling
// thread's last error code.
class ErrorReporter {
 public:
  virtual ~ErrorReporter() = default;
  virtual void ReportError(const char* text) = 0;
};

}  // namespace astro
