// The main loop: one thread waits for the controller's port and for window
// messages, reads what the port holds without blocking and hands it to the line
// decoder.
//
// Two overlapped operations can wake it: the wait for the port's "carriage return
// received" event, and a read into a staging buffer. Ports differ in how a read of
// an empty port behaves, and the loop learns it at run time:
// - the read returns at once with nothing (Windows, with the port's time-outs): the
//   loop sleeps on the comm-event wait and on each wake reads exactly what the port
//   reports as queued, so no read can pend;
// - the read pends until bytes arrive (Wine): the loop sleeps on that read and does
//   not re-arm the comm-event wait, which there completes every few milliseconds
//   without data.
// A pending read that ends empty moves the loop to the first way; a comm-event wait
// that ends without its event moves it back to trying a read that may pend.
//
// When reads and waits keep failing, the controller is gone (an unplugged adapter):
// the loop closes the port, tells the driver, and until the controller answers
// again only handles messages and the recovery's attempts, so that it never spins.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "driver/device_link.h"
#include "driver/device_recovery.h"
#include "driver/link_health.h"

namespace astro {

// Set to 1 when the loop starts; nothing clears it.
extern volatile std::int32_t loopRunning;

// What the loop tells the driver about the controller's link.
class LinkListener {
 public:
  virtual ~LinkListener() = default;
  // The port failed for good and is closed; recovery has begun.
  virtual void ControllerLost() = 0;
  // The controller answered again on port (named portName, which may be another
  // than before), which the loop reads from now on.
  virtual void ControllerBack(HANDLE port, const std::string& portName) = 0;
};

class MainLoop {
 public:
  // serialEvent: the named manual-reset event; readEvent: an event of the loop's own.
  MainLoop(HANDLE serialEvent, HANDLE readEvent, DeviceRecovery& recovery, LinkListener& listener);
  MainLoop(const MainLoop&) = delete;
  MainLoop& operator=(const MainLoop&) = delete;

  // Sleeps on the comm-event wait from the start and never learns otherwise (the
  // way Windows ports go), so that this way can be tested where reads pend.
  void SleepOnCommEventOnly();
  // Starts the first wait for the port's events; portName is where the
  // controller is looked for again should it be lost.
  void StartWaiting(HANDLE port, const std::string& portName);
  // Runs while loopRunning is set, dispatching window's messages and feeding link.
  void Run(HWND window, DeviceLink& link);

 private:
  // What the loop sleeps on while the port is silent.
  enum class SleepOn {
    kUnknown,    // not learnt yet: the next read may pend
    kRead,       // a read that pends until bytes arrive
    kCommEvent,  // the comm-event wait; reads take only what is queued
  };

  void DispatchWindowMessages(HWND window);
  void ServicePort(DeviceLink& link);
  // One turn while the controller is lost: messages, and the recovery when due.
  void Recover(HWND window, DeviceLink& link);
  void CloseLostPort(DeviceLink& link);
  void Resume(HANDLE port, DeviceLink& link);
  void ArmCommWait();
  void CollectCommWait();
  bool CollectRead(DeviceLink& link);
  // Reads with the whole free room until a read pends (true) or comes back empty.
  bool ReadUntilPending(DeviceLink& link);
  // Reads exactly what the port reports as queued.
  void ReadQueued(DeviceLink& link);
  // Starts a read of up to size bytes; false when it pends or fails.
  bool StartRead(DWORD size, DWORD& count);
  void Take(DeviceLink& link, DWORD count);

  HANDLE port_ = INVALID_HANDLE_VALUE;
  std::string portName_;
  HANDLE serialEvent_;
  HANDLE readEvent_;
  DeviceRecovery& recovery_;
  LinkListener& listener_;
  LinkHealth health_;
  bool commEventOnly_ = false;
  OVERLAPPED wait_ = {};
  OVERLAPPED read_ = {};
  DWORD eventMask_ = 0;
  DWORD lastReadCount_ = 0;
  bool waitArmed_ = false;
  bool readPending_ = false;
  SleepOn sleepOn_ = SleepOn::kUnknown;
  char staging_[DeviceLink::kBufferSize] = {};
};

}  // namespace astro
