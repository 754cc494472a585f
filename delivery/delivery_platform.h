// What event delivery needs of the window system and input synthesis. The Windows
// layer implements it with PostMessageA, SendInput and window queries; unit tests
// use a recording fake.
#pragma once

#include <cstddef>
#include <cstdint>

#include "driver/handles.h"

namespace astro {

// The mouse input flags of a button record (MOUSEEVENTF_*).
enum MouseButtonFlag : std::uint32_t {
  kMouseLeftDown = 0x0002,
  kMouseLeftUp = 0x0004,
  kMouseRightDown = 0x0008,
  kMouseRightUp = 0x0010,
  kMouseMiddleDown = 0x0020,
  kMouseMiddleUp = 0x0040,
};

// The system's error code for a window handle that no longer exists.
constexpr std::uint32_t kErrorInvalidWindowHandle = 1400;

class DeliveryPlatform {
 public:
  virtual ~DeliveryPlatform() = default;
  // One relative pointer move record (SendInput, MOUSEEVENTF_MOVE, time 0, extra
  // information from GetMessageExtraInfo); sent even when both amounts are 0.
  virtual void MoveMouse(std::int32_t dx, std::int32_t dy) = 0;
  // One wheel record (MOUSEEVENTF_WHEEL) of the given amount; sent even when it is 0.
  virtual void TurnWheel(std::int32_t amount) = 0;
  // One mouse button record without movement: flags are MouseButtonFlag values.
  virtual void PressMouseButton(std::uint32_t flags) = 0;
  // Posts a message; returns 0 on success, else the system's error code
  // (GetLastError after a failed PostMessageA).
  virtual std::uint32_t Post(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                             std::intptr_t lParam) = 0;
  // Reads the window's title, at most size - 1 characters, terminated; the empty
  // text for a window that no longer exists.
  virtual void ReadWindowTitle(WindowHandle window, char* title, std::size_t size) = 0;
  // Whether the window's class name can still be read (the window exists).
  virtual bool WindowExists(WindowHandle window) = 0;
  // Reads the window's class name, at most size - 1 characters, terminated; the
  // empty text for a window that no longer exists.
  virtual void ReadWindowClass(WindowHandle window, char* name, std::size_t size) = 0;
  // Thread and process of a window (0 and 0 when it is gone).
  virtual void WindowThreadProcess(WindowHandle window, std::uint32_t* threadId,
                                   std::uint32_t* processId) = 0;
  // Posts "CommandEvent" with code and lParam to the window of the driver's own
  // class (found by FindWindowA with the class name alone).
  virtual void PostToDriverWindow(std::uint32_t code, std::intptr_t lParam) = 0;
  // The control panel's window (panelWindow), 0 while the panel is closed.
  virtual WindowHandle PanelWindow() = 0;
};

}  // namespace astro
