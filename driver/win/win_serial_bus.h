// The serial ports through the Win32 communications API.
#pragma once

#include <windows.h>

#include "driver/serial_bus.h"

namespace astro {

// The named manual-reset event that the ports and the main loop share.
constexpr const char kSerialEventName[] = "AstrolabSerialEvent";

inline HANDLE ToHandle(std::uintptr_t value) {
  return reinterpret_cast<HANDLE>(value);
}
inline std::uintptr_t FromHandle(HANDLE handle) {
  return reinterpret_cast<std::uintptr_t>(handle);
}

// Applies the controller's line settings to a record read from the port: 9600 8N2,
// binary, no flow control, 0xFF for the special and error characters, carriage
// return as the event character, DTR and RTS held on or off.
void ConfigureControllerLine(DCB& dcb, bool powerOn);

class WinSerialBus : public SerialBus {
 public:
  PortHandle Open(const char* name) override;
  void Close(PortHandle port) override;
  bool SetupQueues(PortHandle port, std::uint32_t inQueue, std::uint32_t outQueue) override;
  bool ReadProperties(PortHandle port, PortProperties& props) override;
  bool ApplyLineConfiguration(PortHandle port, bool powerOn) override;
  bool SetEventMask(PortHandle port) override;
  bool SetTimeouts(PortHandle port) override;
  EventHandle CreateSerialEvent() override;
  void CloseEvent(EventHandle event) override;
  bool TransmitChar(PortHandle port, char c) override;
  bool PollReply(PortHandle port, EventHandle event, char* buffer, std::size_t capacity,
                 std::size_t& count) override;
  void Sleep(unsigned milliseconds) override;
  std::vector<std::string> SystemPortNames() override;

  // The mask read back after the last SetEventMask.
  DWORD EventMask() const { return eventMask_; }

 private:
  DWORD eventMask_ = 0;
};

}  // namespace astro
