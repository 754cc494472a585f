// Feeds arbitrary bytes to the line decoder the way the main loop does: in reads
// no larger than the room left, each followed by a dispatch. Input layout: one
// byte of settings, then pairs of (read size, bytes of that read).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "driver/device_alphabet.h"
#include "driver/device_link.h"

namespace {

using namespace astro;

class QuietHost : public DeviceLinkHost {
 public:
  void SendCommand(const char*, std::size_t) override {}
  void DeliverMotion() override {}
  void DeliverButtons(std::uint32_t) override {}
  bool PanelOpen() override { return panelOpen; }
  void PostPanelNote(std::uint32_t, std::int32_t) override {}
  void RepaintPanel() override {}
  bool panelOpen = false;
};

void Check(bool condition) {
  if (!condition) std::abort();
}

bool InAlphabet(char c) {
  return c != '\0' && std::strchr(kDeviceAlphabet, c) != nullptr;
}

void CheckBuffer(const DeviceLink& link) {
  const std::size_t length = link.TextLength();
  Check(length <= DeviceLink::kBufferSize - 1);
  Check(link.Buffer()[length] == '\0');
  Check(link.FreeCapacity() == DeviceLink::kBufferSize - 1 - length);
}

void CheckCommands(const StoredCommands& commands) {
  Check(std::strlen(commands.mode) == 3 && InAlphabet(commands.mode[1]) &&
        commands.mode[2] == kCarriageReturn);
  Check(std::strlen(commands.longModeResend) == 4 && InAlphabet(commands.longModeResend[1]) &&
        InAlphabet(commands.longModeResend[2]) && commands.longModeResend[3] == kCarriageReturn);
  Check(std::strcmp(commands.n, "n?\r") == 0 && std::strcmp(commands.q, "q00\r") == 0);
  Check(std::strcmp(commands.longModeStartup, "c33\r") == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  DeliveryContext context;
  SettingsRecord settings;
  RuntimeFlags flags;
  StoredCommands commands;
  QuietHost host;
  const std::uint8_t setup = data[0];
  settings.modeChangeable = setup % 3;  // 0, 1 and a value that is neither
  flags.nAdoptFlag = (setup >> 2) & 1;
  host.panelOpen = (setup >> 3) & 1;
  settings.hintviewAllowed = (setup >> 4) & 1;

  DeviceLink link(context, settings, flags, commands, host);
  link.Clear();
  std::size_t pos = 1;
  while (pos < size) {
    const std::size_t wanted = data[pos++];
    std::size_t n = size - pos < wanted ? size - pos : wanted;
    if (n > link.FreeCapacity()) n = link.FreeCapacity();
    Check(link.Append(reinterpret_cast<const char*>(data + pos), n) == n);
    pos += n;
    CheckBuffer(link);
    link.DispatchLines();
    CheckBuffer(link);
    // Every complete line has been handled and no over-long remainder is kept.
    Check(link.TextLength() <= DeviceLink::kLongestPartialLine);
    Check(std::strchr(link.Buffer(), kCarriageReturn) == nullptr);
    for (std::int32_t axis : context.axis) Check(axis >= -32768 && axis <= 32767);
    CheckCommands(commands);
    Check(link.Reports().modeNibble >= 0 && link.Reports().modeNibble <= 15);
  }
  return 0;
}
