#include "driver/port_discovery.h"

#include <cstdio>
#include <string_view>
#include <vector>

#include "driver/device_alphabet.h"
#include "driver/port_names.h"
#include "driver/port_slot.h"

namespace astro {
namespace {

constexpr unsigned kRetryWaitMs = 10;
constexpr std::size_t kReplyCapacity = 256;
constexpr std::size_t kShortestReply = 8;  // a reply must be longer than this

bool HasAll(std::uint32_t value, std::uint32_t bits) {
  return (value & bits) == bits;
}

bool AllZero(const PortProperties& p) {
  return p.maxBaud == 0 && p.providerSubType == 0 && p.providerCapabilities == 0 &&
         p.settableParams == 0 && p.settableBaud == 0 && p.settableData == 0 &&
         p.settableStopParity == 0;
}

void NameSlot(PortSlot& slot, const std::string& name) {
  std::snprintf(slot.name, sizeof slot.name, "%s", name.c_str());
}

// The number in the "COMn: " of a port's error box.
int PortNumberOf(const PortSlot& slot, int position) {
  return ComPortNumber(slot.name).value_or(position + 1);
}

// Resets the slot for the named port, opens it, asks for the queue sizes and
// reads whether the controller can hang on it. False when the port does not
// open; qualifies is false for a port the caller must close again.
bool OpenCandidate(SerialBus& bus, PortSlot& slot, const std::string& name, bool& qualifies) {
  ResetPortSlot(slot);
  NameSlot(slot, name);
  slot.handle = bus.Open(slot.name);
  if (slot.handle == kInvalidPort) return false;
  bus.SetupQueues(slot.handle, kInputQueue, kOutputQueue);
  PortProperties props;
  // A refused request leaves the record zero: the port is then judged by its reply.
  if (!bus.ReadProperties(slot.handle, props)) props = PortProperties();
  qualifies = PortQualifies(props);
  return true;
}

bool NamesProduct(const char* reply, std::size_t count) {
  // The reply fills the whole buffer at most, without room for a terminator:
  // search the bytes read and nothing behind them.
  const std::string_view text(reply, count);
  return text.find("ASTROLAB") != std::string_view::npos ||
         text.find("AIRCAP") != std::string_view::npos;
}

void SendToEveryOpenPort(SerialBus& bus, ErrorReporter& reporter, std::vector<PortSlot>& slots,
                         const char* command, const char* failure) {
  for (std::size_t i = 0; i < slots.size(); ++i) {
    PortSlot& slot = slots[i];
    if (slot.handle == kInvalidPort) continue;
    if (!SendDeviceCommand(bus, slot.handle, command, CommandLength(command), nullptr)) {
      ClosePort(bus, reporter, slot);
      ReportPortError(reporter, PortNumberOf(slot, static_cast<int>(i)), failure);
    }
  }
  bus.Sleep(kCommandWaitMs);
}

// One scan over the named ports: power off, wait, power on and configure, wait,
// the init and version strings, and the first port in order whose reply names
// the product. Every other port is closed. Adds the ports that opened in the open
// pass to *opened; the found slot's index, or -1.
int ScanPorts(SerialBus& bus, ErrorReporter& reporter, const StoredCommands& commands,
              std::vector<PortSlot>& slots, const std::vector<std::string>& names, int* opened) {
  slots.resize(names.size());

  // Power-off pass: the controller draws its power from DTR and RTS, so holding
  // them off resets it.
  for (std::size_t i = 0; i < slots.size(); ++i) {
    PortSlot& slot = slots[i];
    bool qualifies = false;
    if (!OpenCandidate(bus, slot, names[i], qualifies)) continue;
    if (qualifies && bus.ApplyLineConfiguration(slot.handle, false)) {
      bus.Close(slot.handle);
      slot.handle = kInvalidPort;
    } else {
      ClosePort(bus, reporter, slot);
    }
  }
  bus.Sleep(kPowerWaitMs);

  // Open pass: power on and configure every usable port.
  for (std::size_t i = 0; i < slots.size(); ++i) {
    PortSlot& slot = slots[i];
    bool qualifies = false;
    if (!OpenCandidate(bus, slot, names[i], qualifies)) continue;
    ++*opened;
    if (!qualifies) {
      ClosePort(bus, reporter, slot);
      continue;
    }
    const char* failure = ConfigureControllerPort(bus, slot.handle);
    if (failure == nullptr) {
      slot.event = bus.CreateSerialEvent();
      if (slot.event == kInvalidEvent) failure = "Function failed CreateEvent";
    }
    if (failure) {
      ClosePort(bus, reporter, slot);
      ReportPortError(reporter, PortNumberOf(slot, static_cast<int>(i)), failure);
    }
  }
  bus.Sleep(kPowerWaitMs);

  SendToEveryOpenPort(bus, reporter, slots, commands.init,
                      "Can\xB4t write the INIT STRING to the serial port");
  SendToEveryOpenPort(bus, reporter, slots, commands.version,
                      "Can\xB4t write the VERSION STRING to the serial port");

  // The first port in order that names the product is the controller.
  int found = -1;
  for (std::size_t i = 0; i < slots.size(); ++i) {
    if (slots[i].handle == kInvalidPort) continue;
    if (AnswersAsController(bus, slots[i].handle, slots[i].event) && found < 0) {
      found = static_cast<int>(i);
    }
  }

  for (std::size_t i = 0; i < slots.size(); ++i) {
    PortSlot& slot = slots[i];
    if (static_cast<int>(i) != found && slot.handle != kInvalidPort) ClosePort(bus, reporter, slot);
    if (slot.event != kInvalidEvent) {
      bus.CloseEvent(slot.event);
      slot.event = kInvalidEvent;
    }
  }
  return found;
}

}  // namespace

bool AnswersAsController(SerialBus& bus, PortHandle port, EventHandle event) {
  bool names = false;
  char reply[kReplyCapacity];
  std::size_t count = 0;
  do {
    count = 0;
    if (!bus.PollReply(port, event, reply, sizeof reply, count)) break;
    if (count > sizeof reply) count = sizeof reply;
    for (std::size_t i = 0; i < count; ++i) {
      if (reply[i] == '\0') reply[i] = kCarriageReturn;
    }
    if (count > kShortestReply && NamesProduct(reply, count)) names = true;
  } while (count == kReplyCapacity);
  return names;
}

const char* ConfigureControllerPort(SerialBus& bus, PortHandle port) {
  if (!bus.ApplyLineConfiguration(port, true)) return "Function failed SetCommState";
  if (!bus.SetEventMask(port)) return "Function failed SetCommMask";
  if (!bus.SetTimeouts(port)) return "Function failed SetCommTimeouts";
  return nullptr;
}

std::array<const char*, kStartupCommandCount> StartupCommands(const StoredCommands& commands) {
  return {commands.n,   commands.q, commands.p, commands.mode, commands.longModeStartup,
          commands.beep};
}

bool PortQualifies(const PortProperties& props) {
  if (AllZero(props)) return true;
  using namespace port_flags;
  return props.maxBaud >= kBaud9600 && props.providerSubType == kProviderRs232 &&
         HasAll(props.providerCapabilities, kDtrDsr | kRtsCts) &&
         HasAll(props.settableParams,
                kSettableParity | kSettableBaud | kSettableDataBits | kSettableStopBits) &&
         HasAll(props.settableBaud, kBaud9600) && HasAll(props.settableData, kDataBits8) &&
         HasAll(props.settableStopParity, kStopBits2 | kParityNone);
}

bool SendDeviceCommand(SerialBus& bus, PortHandle port, const char* text, std::size_t length,
                       std::size_t* sent) {
  std::size_t count = 0;
  // While the controller is lost there is no port: nothing is sent, at once.
  while (count < length && port != kInvalidPort) {
    if (!bus.TransmitChar(port, text[count])) {
      bus.Sleep(kRetryWaitMs);
      if (!bus.TransmitChar(port, text[count])) break;
    }
    ++count;
  }
  if (sent) *sent = count;
  return count == length;
}

PortHandle OpenDevice(SerialBus& bus, ErrorReporter& reporter, const StoredCommands& commands,
                      const char* portName, std::string* foundName) {
  std::vector<std::string> names;
  for (int number = 1; number <= kPortCount; ++number) {
    names.push_back(portName ? std::string(portName) : ComPortName(number));
  }
  std::vector<PortSlot> slots;
  int opened = 0;
  int found = ScanPorts(bus, reporter, commands, slots, names, &opened);
  // USB serial adapters get numbers above COM8: the system's other ports are
  // scanned the same way once COM1..COM8 had no controller.
  if (found < 0 && portName == nullptr) {
    names = PortsAboveFirstScan(bus.SystemPortNames());
    if (!names.empty()) found = ScanPorts(bus, reporter, commands, slots, names, &opened);
  }

  if (found < 0) {
    if (opened == 0) reporter.ReportError("All serial ports are being used!");
    return 0;
  }

  const PortHandle port = slots[found].handle;
  if (foundName != nullptr) *foundName = slots[found].name;
  for (const char* command : StartupCommands(commands)) {
    SendDeviceCommand(bus, port, command, CommandLength(command), nullptr);
    bus.Sleep(kCommandWaitMs);
  }
  return port;
}

}  // namespace astro
