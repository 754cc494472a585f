#include "driver/device_link.h"

#include <cstring>

#include "driver/device_alphabet.h"

namespace astro {
namespace {

// The character at index i of a line, or 0 beyond its end: a short line must
// never pick up what an earlier, longer line left behind its terminator.
char CharAt(const char* line, std::size_t length, std::size_t i) {
  return i < length ? line[i] : '\0';
}

constexpr std::size_t kShortMotionLength = 15;
constexpr std::size_t kLongMotionLength = 25;

}  // namespace

DeviceLink::DeviceLink(DeliveryContext& context, SettingsRecord& settings, RuntimeFlags& flags,
                       StoredCommands& commands, DeviceLinkHost& host)
    : context_(context), settings_(settings), flags_(flags), commands_(commands), host_(host) {}

void DeviceLink::Clear() {
  std::memset(buffer_, 0, sizeof buffer_);
}

std::size_t DeviceLink::TextLength() const {
  const void* end = std::memchr(buffer_, 0, kBufferSize);
  // The buffer is always terminated; the bound only guards against a broken invariant.
  return end ? static_cast<std::size_t>(static_cast<const char*>(end) - buffer_) : kBufferSize - 1;
}

std::size_t DeviceLink::FreeCapacity() const {
  return kBufferSize - 1 - TextLength();
}

std::size_t DeviceLink::Append(const char* bytes, std::size_t count) {
  std::size_t length = TextLength();
  const std::size_t taken = count < FreeCapacity() ? count : FreeCapacity();
  // A zero byte would end the text and lose every byte behind it (a button
  // release among them): it is dropped alone.
  for (std::size_t i = 0; i < taken; ++i) {
    if (bytes[i] != '\0') buffer_[length++] = bytes[i];
  }
  buffer_[length] = '\0';
  return taken;
}

void DeviceLink::DispatchLines() {
  for (;;) {
    char* end = std::strchr(buffer_, kCarriageReturn);
    if (!end) break;
    *end = '\0';
    HandleLine(buffer_, static_cast<std::size_t>(end - buffer_));
    // Move the rest, terminator included, to the front.
    const std::size_t rest = std::strlen(end + 1);
    std::memmove(buffer_, end + 1, rest + 1);
  }
  // A partial line this long is no line of the controller's; dropping it keeps
  // room for the next read.
  if (TextLength() > kLongestPartialLine) Clear();
}

void DeviceLink::HandleLine(const char* line, std::size_t length) {
  switch (line[0]) {
    case 'c':
      HandleLongMode(line, length);
      break;
    case 'd':
      HandleMotion(line, length);
      break;
    case 'k':
      HandleButtons(line, length);
      break;
    case 'm':
      HandleMode(line, length);
      break;
    case 'n':
      HandleN(line, length);
      break;
    case 'q':
      HandleQ(line, length);
      break;
    default:
      break;  // empty lines, echoes of our own commands and anything unknown
  }
}

void DeviceLink::HandleMotion(const char* line, std::size_t length) {
  std::int32_t* axis = context_.axis;
  if (length == kShortMotionLength) {
    unsigned sum = 0;
    for (int i = 0; i < kAxisCount; ++i) {
      const char high = line[2 * i + 1];
      const char low = line[2 * i + 2];
      axis[i] = (static_cast<std::int32_t>(DecodeSextet(high)) - 32) * 64 +
                static_cast<std::int32_t>(DecodeSextet(low));
      sum += static_cast<unsigned char>(high) + static_cast<unsigned char>(low);
    }
    const unsigned checksum = DecodeSextet(line[13]) * 64 + DecodeSextet(line[14]);
    if (checksum != sum) {
      for (int i = 0; i < kAxisCount; ++i) axis[i] = 0;
      return;
    }
    host_.DeliverMotion();
    return;
  }
  if (length == kLongMotionLength) {
    // Only a device without Hintview sends the long form: switch it off before
    // the sample is delivered, so the push recognizer never sees it.
    if (settings_.hintviewAllowed != 0) {
      settings_.hintviewAllowed = 0;
      flags_.hintviewActive = 0;
      flags_.hintviewCapable = 0;
      if (host_.PanelOpen()) host_.RepaintPanel();
    }
    for (int i = 0; i < kAxisCount; ++i) {
      const char* c = line + 4 * i + 1;
      axis[i] = (static_cast<std::int32_t>(DecodeNibble(c[0])) - 8) * 4096 +
                static_cast<std::int32_t>(DecodeNibble(c[1]) * 256 + DecodeNibble(c[2]) * 16 +
                                          DecodeNibble(c[3]));
    }
    host_.DeliverMotion();
  }
  // Any other length is not a motion packet.
}

void DeviceLink::HandleButtons(const char* line, std::size_t length) {
  const std::uint32_t mask = DecodeNibble(CharAt(line, length, 3)) * 256 +
                             DecodeNibble(CharAt(line, length, 2)) * 16 +
                             DecodeNibble(CharAt(line, length, 1));
  host_.DeliverButtons(mask);
}

void DeviceLink::SetModeFlags(unsigned mode) {
  flags_.modeRotation = static_cast<std::int32_t>(mode & 1u);
  flags_.modeTranslation = static_cast<std::int32_t>((mode >> 1) & 1u);
  flags_.modeDominant = static_cast<std::int32_t>((mode >> 2) & 1u);
}

void DeviceLink::HandleMode(const char* line, std::size_t length) {
  const char received = CharAt(line, length, 1);
  const unsigned mode = DecodeNibble(received);
  reports_.modeNibble = static_cast<std::int32_t>(mode);
  reports_.secondNibble = 0;
  flags_.hintviewCapable = 0;
  SetModeFlags(mode);

  bool resent = false;
  if (settings_.modeChangeable == 0) {
    // The user's mode wins: put the device back.
    if (received != commands_.mode[1]) {
      Send(commands_.mode);
      resent = true;
    }
  } else if (settings_.modeChangeable == 1) {
    // The device's mode wins: remember it for every later command.
    commands_.mode[1] = EncodeNibble(mode);
    commands_.longModeResend[1] = EncodeNibble(mode);
  }
  if (!resent && host_.PanelOpen()) {
    host_.PostPanelNote(kNoteDeviceMode, reports_.modeNibble);
  }
}

void DeviceLink::HandleLongMode(const char* line, std::size_t length) {
  const char receivedMode = CharAt(line, length, 1);
  const unsigned mode = DecodeNibble(receivedMode);
  const unsigned extra = DecodeNibble(CharAt(line, length, 2));
  reports_.modeNibble = static_cast<std::int32_t>(mode);
  reports_.secondNibble = static_cast<std::int32_t>(extra);
  SetModeFlags(mode);
  flags_.hintviewCapable = static_cast<std::int32_t>(extra & 1u);

  // The device's Hintview bit stays; bit 1 is always wanted on.
  const char wantedExtra = EncodeNibble((extra & 1u) | 2u);
  bool resent = false;
  if (settings_.modeChangeable == 0) {
    if (receivedMode != commands_.longModeResend[1] || wantedExtra != commands_.longModeResend[2]) {
      Send(commands_.longModeResend);
      resent = true;
    }
  } else if (settings_.modeChangeable == 1) {
    commands_.mode[1] = EncodeNibble(mode);
    commands_.longModeResend[1] = EncodeNibble(mode);
    commands_.longModeResend[2] = wantedExtra;
  }
  if (!resent && host_.PanelOpen()) {
    host_.PostPanelNote(kNoteDeviceMode, reports_.modeNibble);
    host_.PostPanelNote(kNoteDeviceModeExtra, reports_.secondNibble);
  }
}

void DeviceLink::HandleN(const char* line, std::size_t length) {
  const char received = CharAt(line, length, 1);
  reports_.nNibble = static_cast<std::int32_t>(DecodeNibble(received));
  if (host_.PanelOpen()) host_.PostPanelNote(kNoteDeviceN, reports_.nNibble);
  if (flags_.nAdoptFlag == 0 && received != commands_.n[1]) Send(commands_.n);
}

void DeviceLink::HandleQ(const char* line, std::size_t length) {
  if (CharAt(line, length, 1) != commands_.q[1] || CharAt(line, length, 2) != commands_.q[2]) {
    Send(commands_.q);
  }
}

void DeviceLink::Send(const char* command) {
  host_.SendCommand(command, CommandLength(command));
}

}  // namespace astro
