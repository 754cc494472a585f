#include "delivery/client_commands.h"

#include "client/astrolab_client.h"
#include "delivery/target_selection.h"
#include "delivery/window_word.h"
#include "driver/device_alphabet.h"

namespace astro {
namespace {

constexpr unsigned kDeviceCommandWait = 100;

// The argument of every command but CmdSetClientWindow is a 32-bit word.
std::uint32_t Word(std::intptr_t argument) {
  return static_cast<std::uint32_t>(argument);
}
std::int32_t SignedWord(std::intptr_t argument) {
  return static_cast<std::int32_t>(Word(argument));
}

void SetMouseDivisors(RuntimeFlags& flags, std::uint32_t word) {
  // A divisor of 0 would divide by zero in mouse emulation: that divisor keeps its
  // value, the other one is still taken.
  const std::uint16_t divisors[2] = {AstrolabFirstDivisor(word), AstrolabSecondDivisor(word)};
  for (int i = 0; i < 2; ++i) {
    if (divisors[i] != 0) flags.mouseDivisor[i] = divisors[i];
  }
}

void Beep(CommandPlatform& platform, std::int32_t milliseconds) {
  const BeepStep step = BeepForDuration(milliseconds);
  const char command[3] = {'b', step.character, kCarriageReturn};
  platform.SendDeviceBytes(command, sizeof command);
  platform.Sleep(step.sleepMilliseconds);
}

void WriteDeviceCommand(CommandPlatform& platform, std::uint32_t word) {
  char bytes[4];
  const int count = AstrolabDeviceCommandBytes(word, bytes);
  if (count > 0) platform.SendDeviceBytes(bytes, static_cast<std::size_t>(count));
  platform.Sleep(kDeviceCommandWait);
}

}  // namespace

BeepStep BeepForDuration(std::int32_t milliseconds) {
  struct Band {
    std::int32_t upTo;
    BeepStep step;
  };
  static constexpr Band kBands[] = {
      {48, {'H', 32}},   {94, {'9', 64}},     {187, {':', 125}},   {375, {'K', 250}},
      {750, {'<', 500}}, {1250, {'M', 1000}}, {1750, {'N', 1500}},
  };
  for (const Band& band : kBands) {
    if (milliseconds <= band.upTo) return band.step;
  }
  return {'?', 2000};
}

CommandAnswer HandleClientCommand(const DeliveryScope& scope, CommandPlatform& platform,
                                  std::uintptr_t code, std::intptr_t argument) {
  switch (code) {
    case CmdSetMouseMode:
      scope.flags.mouseMode = static_cast<std::int32_t>(Word(argument) & 0xFFu);
      break;
    case CmdSetMouseDivisors:
      SetMouseDivisors(scope.flags, Word(argument));
      break;
    case CmdSetClientWindow:
      RegisterClientWindow(scope, WindowFromWord(argument));
      break;
    case CmdReportSensitivity:
      platform.PostToPanelByTitle(CmdReportSensitivity, argument);
      break;
    case CmdBeep:
      Beep(platform, SignedWord(argument));
      break;
    case CmdSetModeChangeable:
      scope.settings.modeChangeable = SignedWord(argument);
      break;
    case CmdSetNChangeable:
      scope.flags.nAdoptFlag = SignedWord(argument);
      break;
    case CmdEnablePanelMenu:
      platform.EnablePanelMenuItem(Word(argument) != 0);
      platform.MinimiseMainWindow();
      return CommandAnswer::kZero;
    case CmdDeviceCommand:
      WriteDeviceCommand(platform, Word(argument));
      break;
    default:
      break;  // unknown codes, and 27698, do nothing
  }
  return CommandAnswer::kDefault;
}

}  // namespace astro
