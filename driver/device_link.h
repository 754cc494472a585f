// The controller's line protocol on the receiving side: the receive buffer, cutting
// it into lines, and what each line does (motion, buttons, mode, n and q reports).
#pragma once

#include <cstddef>
#include <cstdint>

#include "client/astrolab_client.h"
#include "config/settings_record.h"
#include "delivery/delivery_context.h"
#include "driver/device_commands.h"

namespace astro {

// Codes of the notes the decoder posts to an open control panel (the numbers are
// the client protocol's).
constexpr std::uint32_t kNoteDeviceMode = NoteDeviceMode;
constexpr std::uint32_t kNoteDeviceN = NoteDeviceN;
constexpr std::uint32_t kNoteDeviceModeExtra = NoteDeviceModeExtra;

// What the decoder hands its results to. Called synchronously, one line at a time.
class DeviceLinkHost {
 public:
  virtual ~DeviceLinkHost() = default;
  // Writes a command line to the controller; the result is not looked at.
  virtual void SendCommand(const char* text, std::size_t length) = 0;
  // The six axes of the context hold a decoded sample.
  virtual void DeliverMotion() = 0;
  virtual void DeliverButtons(std::uint32_t mask) = 0;
  // Whether the control panel is open (notes go only to an open panel).
  virtual bool PanelOpen() = 0;
  virtual void PostPanelNote(std::uint32_t code, std::int32_t value) = 0;
  // Asks the open panel to repaint itself (paint request, both parameters 0).
  virtual void RepaintPanel() = 0;
};

// The last nibbles the device reported, passed on in the panel notes.
struct DeviceReports {
  std::int32_t modeNibble = 0;
  std::int32_t secondNibble = 0;
  std::int32_t nNibble = 0;
};

class DeviceLink {
 public:
  static constexpr std::size_t kBufferSize = 256;
  static constexpr std::size_t kLongestPartialLine = 128;

  DeviceLink(DeliveryContext& context, SettingsRecord& settings, RuntimeFlags& flags,
             StoredCommands& commands, DeviceLinkHost& host);

  void Clear();
  std::size_t TextLength() const;
  // Room behind the text for the next read: 255 minus the text length.
  std::size_t FreeCapacity() const;
  // Appends received bytes behind the text (at most FreeCapacity of them) and
  // terminates the text behind them; zero bytes among them are dropped. Returns
  // the number of bytes taken.
  std::size_t Append(const char* bytes, std::size_t count);
  // Cuts the buffer into complete lines, handles each in order, and clears an
  // over-long remainder.
  void DispatchLines();

  const char* Buffer() const { return buffer_; }
  const DeviceReports& Reports() const { return reports_; }

 private:
  // Each handler gets the line without its carriage return and its length;
  // characters at or beyond the length read as 0.
  void HandleLine(const char* line, std::size_t length);
  void HandleMotion(const char* line, std::size_t length);
  void HandleButtons(const char* line, std::size_t length);
  void HandleMode(const char* line, std::size_t length);
  void HandleLongMode(const char* line, std::size_t length);
  void HandleN(const char* line, std::size_t length);
  void HandleQ(const char* line, std::size_t length);
  void SetModeFlags(unsigned mode);
  void Send(const char* command);

  DeliveryContext& context_;
  SettingsRecord& settings_;
  RuntimeFlags& flags_;
  StoredCommands& commands_;
  DeviceLinkHost& host_;
  DeviceReports reports_;
  char buffer_[kBufferSize] = {};
};

}  // namespace astro
