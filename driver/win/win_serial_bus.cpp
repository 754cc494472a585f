#include "driver/win/win_serial_bus.h"

#include <algorithm>
#include <cstring>

#include "driver/port_names.h"

namespace astro {
namespace {

// The portable core judges ports by copies of the system's flag values.
static_assert(port_flags::kBaud9600 == BAUD_9600, "BAUD_9600");
static_assert(port_flags::kProviderRs232 == PST_RS232, "PST_RS232");
static_assert(port_flags::kDtrDsr == PCF_DTRDSR && port_flags::kRtsCts == PCF_RTSCTS, "PCF_*");
static_assert(port_flags::kSettableParity == SP_PARITY && port_flags::kSettableBaud == SP_BAUD &&
                  port_flags::kSettableDataBits == SP_DATABITS &&
                  port_flags::kSettableStopBits == SP_STOPBITS,
              "SP_*");
static_assert(port_flags::kDataBits8 == DATABITS_8 && port_flags::kStopBits2 == STOPBITS_20 &&
                  port_flags::kParityNone == PARITY_NONE,
              "settable data, stop bits and parity");

constexpr char kSpecialCharacter = static_cast<char>(0xFF);
constexpr std::size_t kLargestRead = 256;  // the most one reply read takes

constexpr int kFinishTimeoutMs = 1000;

// An overlapped operation with its data. Kept off the stack: should the system
// not finish an operation that was told to end, the block is left to it rather
// than freed while it may still be written.
struct IoBlock {
  OVERLAPPED overlapped = {};
  DWORD mask = 0;
  char data[kLargestRead] = {};
};

bool AwaitCompletion(const OVERLAPPED& overlapped) {
  for (int waited = 0; waited < kFinishTimeoutMs; ++waited) {
    if (HasOverlappedIoCompleted(&overlapped)) return true;
    ::Sleep(1);
  }
  return HasOverlappedIoCompleted(&overlapped);
}

// Ends a pending operation of this thread on the port; true once it has finished.
// A pending comm-event wait ends when the event mask is set again (CancelIo alone
// does not end it under Wine).
bool EndPending(HANDLE port, IoBlock& block, bool commWait) {
  if (commWait) SetCommMask(port, EV_RXFLAG);
  CancelIo(port);
  return AwaitCompletion(block.overlapped);
}

void Release(IoBlock* block, bool finished) {
  if (finished) delete block;
}

// Reads bytes that are already queued; such a read completes at once on Windows and
// under Wine. Should it pend all the same, it is given a moment and then ended, so
// this never hangs on a silent port.
DWORD ReadQueued(HANDLE port, char* buffer, DWORD wanted) {
  HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (done == nullptr) return 0;
  IoBlock* block = new IoBlock;
  block->overlapped.hEvent = done;
  wanted = std::min<DWORD>(wanted, sizeof block->data);
  DWORD got = 0;
  bool finished = true;
  if (!ReadFile(port, block->data, wanted, &got, &block->overlapped)) {
    got = 0;
    if (GetLastError() == ERROR_IO_PENDING) {
      WaitForSingleObject(done, 100);
      finished = HasOverlappedIoCompleted(&block->overlapped) || EndPending(port, *block, false);
      if (finished) GetOverlappedResult(port, &block->overlapped, &got, FALSE);
    }
  }
  std::memcpy(buffer, block->data, got);
  Release(block, finished);
  if (finished) CloseHandle(done);
  return got;
}

}  // namespace

void ConfigureControllerLine(DCB& dcb, bool powerOn) {
  dcb.DCBlength = sizeof(DCB);
  dcb.BaudRate = CBR_9600;
  dcb.ByteSize = 8;
  dcb.Parity = NOPARITY;
  dcb.StopBits = TWOSTOPBITS;
  dcb.fBinary = TRUE;
  dcb.fParity = FALSE;
  dcb.fOutxCtsFlow = FALSE;
  dcb.fOutxDsrFlow = FALSE;
  dcb.fDsrSensitivity = FALSE;
  dcb.fOutX = FALSE;
  dcb.fInX = FALSE;
  dcb.fErrorChar = TRUE;
  dcb.ErrorChar = kSpecialCharacter;
  dcb.fAbortOnError = FALSE;
  dcb.XonChar = kSpecialCharacter;
  dcb.XoffChar = kSpecialCharacter;
  dcb.EofChar = kSpecialCharacter;
  dcb.EvtChar = '\r';
  // The controller draws its power from DTR and RTS.
  dcb.fDtrControl = powerOn ? DTR_CONTROL_ENABLE : DTR_CONTROL_DISABLE;
  dcb.fRtsControl = powerOn ? RTS_CONTROL_ENABLE : RTS_CONTROL_DISABLE;
  // fTXContinueOnXoff and fNull stay as the port reports them.
}

PortHandle WinSerialBus::Open(const char* name) {
  HANDLE port = CreateFileA(PortOpenName(name).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                            OPEN_EXISTING, FILE_FLAG_OVERLAPPED | FILE_FLAG_NO_BUFFERING, nullptr);
  return port == INVALID_HANDLE_VALUE ? kInvalidPort : FromHandle(port);
}

void WinSerialBus::Close(PortHandle port) {
  CloseHandle(ToHandle(port));
}

bool WinSerialBus::SetupQueues(PortHandle port, std::uint32_t inQueue, std::uint32_t outQueue) {
  return SetupComm(ToHandle(port), inQueue, outQueue) != FALSE;
}

bool WinSerialBus::ReadProperties(PortHandle port, PortProperties& props) {
  COMMPROP record = {};
  if (!GetCommProperties(ToHandle(port), &record)) return false;
  props.maxBaud = record.dwMaxBaud;
  props.providerSubType = record.dwProvSubType;
  props.providerCapabilities = record.dwProvCapabilities;
  props.settableParams = record.dwSettableParams;
  props.settableBaud = record.dwSettableBaud;
  props.settableData = record.wSettableData;
  props.settableStopParity = record.wSettableStopParity;
  return true;
}

bool WinSerialBus::ApplyLineConfiguration(PortHandle port, bool powerOn) {
  DCB dcb = {};
  dcb.DCBlength = sizeof(DCB);
  if (!GetCommState(ToHandle(port), &dcb)) return false;
  ConfigureControllerLine(dcb, powerOn);
  return SetCommState(ToHandle(port), &dcb) != FALSE;
}

bool WinSerialBus::SetEventMask(PortHandle port) {
  if (!SetCommMask(ToHandle(port), EV_RXFLAG)) return false;
  eventMask_ = 0;
  GetCommMask(ToHandle(port), &eventMask_);
  return true;
}

bool WinSerialBus::SetTimeouts(PortHandle port) {
  // A read returns at once with whatever has arrived; a write may take 10 ms per
  // byte plus 100 ms.
  COMMTIMEOUTS timeouts = {MAXDWORD, 0, 0, 10, 100};
  return SetCommTimeouts(ToHandle(port), &timeouts) != FALSE;
}

EventHandle WinSerialBus::CreateSerialEvent() {
  HANDLE event = CreateEventA(nullptr, TRUE, FALSE, kSerialEventName);
  return event == nullptr ? kInvalidEvent : FromHandle(event);
}

void WinSerialBus::CloseEvent(EventHandle event) {
  CloseHandle(ToHandle(event));
}

bool WinSerialBus::TransmitChar(PortHandle port, char c) {
  return TransmitCommChar(ToHandle(port), c) != FALSE;
}

bool WinSerialBus::PollReply(PortHandle port, EventHandle event, char* buffer, std::size_t capacity,
                             std::size_t& count) {
  count = 0;
  HANDLE portHandle = ToHandle(port);
  HANDLE eventHandle = ToHandle(event);
  ResetEvent(eventHandle);

  IoBlock* wait = new IoBlock;
  wait->overlapped.hEvent = eventHandle;
  bool waitPending = false;
  bool signalled = false;
  if (WaitCommEvent(portHandle, &wait->mask, &wait->overlapped)) {
    signalled = true;
  } else if (GetLastError() == ERROR_IO_PENDING) {
    waitPending = true;
    signalled = WaitForSingleObject(eventHandle, 0) == WAIT_OBJECT_0;
  }
  // Under Wine the wait does not report a carriage return that arrived before it
  // started, so bytes already queued count as a signal too.
  DWORD errors = 0;
  COMSTAT status = {};
  DWORD queued = 0;
  if (ClearCommError(portHandle, &errors, &status)) queued = status.cbInQue;
  if (queued > 0) signalled = true;

  bool finished = true;
  if (waitPending) {
    finished = HasOverlappedIoCompleted(&wait->overlapped) || EndPending(portHandle, *wait, true);
  }
  Release(wait, finished);
  if (!signalled) return false;

  ResetEvent(eventHandle);
  const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(capacity, queued));
  if (wanted > 0) count = ReadQueued(portHandle, buffer, wanted);
  return true;
}

void WinSerialBus::Sleep(unsigned milliseconds) {
  ::Sleep(milliseconds);
}

// The serial ports' device map: one text value a port, its data the port's name.
std::vector<std::string> WinSerialBus::SystemPortNames() {
  std::vector<std::string> names;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) !=
      ERROR_SUCCESS) {
    return names;
  }
  for (DWORD index = 0;; ++index) {
    char valueName[256];
    DWORD nameLength = sizeof valueName;
    char data[64] = {};
    DWORD dataLength = sizeof data - 1;
    DWORD type = 0;
    const LONG result = RegEnumValueA(key, index, valueName, &nameLength, nullptr, &type,
                                      reinterpret_cast<BYTE*>(data), &dataLength);
    if (result == ERROR_NO_MORE_ITEMS) break;
    // A value too long for a port name, or not text, names no port.
    if (result != ERROR_SUCCESS || type != REG_SZ) continue;
    data[std::min<DWORD>(dataLength, sizeof data - 1)] = '\0';
    names.emplace_back(data);
  }
  RegCloseKey(key);
  return names;
}

}  // namespace astro
