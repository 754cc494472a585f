#include "driver/win/main_loop.h"

#include <algorithm>

#include "driver/win/win_serial_bus.h"

namespace astro {
namespace {

// Key, mouse move, mouse button, posted message, timer, paint, sent message, hot key.
constexpr DWORD kWakeMask = 0xFF;
// How long a lost port's cancelled operations may take to let go of their blocks.
constexpr DWORD kCancelWaitMs = 1000;

std::uint64_t NowMs() {
  return GetTickCount64();
}

}  // namespace

volatile std::int32_t loopRunning = 0;

MainLoop::MainLoop(HANDLE serialEvent, HANDLE readEvent, DeviceRecovery& recovery,
                   LinkListener& listener)
    : serialEvent_(serialEvent), readEvent_(readEvent), recovery_(recovery), listener_(listener) {
  wait_.hEvent = serialEvent_;
  read_.hEvent = readEvent_;
}

void MainLoop::SleepOnCommEventOnly() {
  commEventOnly_ = true;
  sleepOn_ = SleepOn::kCommEvent;
}

void MainLoop::StartWaiting(HANDLE port, const std::string& portName) {
  port_ = port;
  portName_ = portName;
  ArmCommWait();
}

void MainLoop::Run(HWND window, DeviceLink& link) {
  loopRunning = 1;
  lastReadCount_ = 0;
  link.Clear();
  while (loopRunning) {
    if (recovery_.Active()) {
      Recover(window, link);
      continue;
    }
    HANDLE events[2] = {serialEvent_, readEvent_};
    MsgWaitForMultipleObjects(2, events, FALSE, INFINITE, kWakeMask);
    // The wait names the port before the queue when both are ready, yet a message
    // that arrived with a line is handled first: a client's command (its mouse
    // mode, its window) applies to the lines that follow it.
    DispatchWindowMessages(window);
    // Whatever woke the loop, the port is read.
    ServicePort(link);
    if (health_.Lost()) CloseLostPort(link);
  }
}

void MainLoop::Recover(HWND window, DeviceLink& link) {
  MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(recovery_.DueIn(NowMs())),
                            kWakeMask);
  DispatchWindowMessages(window);
  const PortHandle port = recovery_.Step(NowMs());
  if (port != kInvalidPort) Resume(ToHandle(port), link);
}

void MainLoop::CloseLostPort(DeviceLink& link) {
  // A new comm mask ends a pending wait where cancelling does not (Wine); the
  // blocks are used again for the next port only once their operations let go.
  SetCommMask(port_, 0);
  CancelIo(port_);
  if (waitArmed_ && !HasOverlappedIoCompleted(&wait_)) {
    WaitForSingleObject(serialEvent_, kCancelWaitMs);
  }
  if (readPending_ && !HasOverlappedIoCompleted(&read_)) {
    WaitForSingleObject(readEvent_, kCancelWaitMs);
  }
  CloseHandle(port_);
  port_ = INVALID_HANDLE_VALUE;
  waitArmed_ = false;
  readPending_ = false;
  ResetEvent(serialEvent_);
  ResetEvent(readEvent_);
  link.Clear();
  recovery_.Begin(portName_, NowMs());
  listener_.ControllerLost();
}

void MainLoop::Resume(HANDLE port, DeviceLink& link) {
  port_ = port;
  portName_ = recovery_.PortName();
  health_.Reset();
  sleepOn_ = commEventOnly_ ? SleepOn::kCommEvent : SleepOn::kUnknown;
  link.Clear();
  listener_.ControllerBack(port, portName_);
  ArmCommWait();
}

void MainLoop::DispatchWindowMessages(HWND window) {
  // Only the main window's messages (and its children's): other windows of this
  // thread run their own loops.
  MSG message;
  while (PeekMessageA(&message, window, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

void MainLoop::ArmCommWait() {
  ResetEvent(serialEvent_);
  eventMask_ = 0;
  if (WaitCommEvent(port_, &eventMask_, &wait_)) {
    // Completed at once; the next turn collects it.
    waitArmed_ = true;
    SetEvent(serialEvent_);
  } else {
    waitArmed_ = GetLastError() == ERROR_IO_PENDING;
    if (!waitArmed_) health_.Failed(NowMs());
  }
}

void MainLoop::CollectCommWait() {
  if (!waitArmed_ || !HasOverlappedIoCompleted(&wait_)) return;
  DWORD unused = 0;
  const bool completed = GetOverlappedResult(port_, &wait_, &unused, FALSE) != FALSE;
  // Under Wine the wait ends as aborted every few milliseconds on a sound port.
  if (!completed && GetLastError() != ERROR_OPERATION_ABORTED) health_.Failed(NowMs());
  const bool reported = completed && (eventMask_ & EV_RXFLAG) != 0;
  waitArmed_ = false;
  // Only a finished wait lets go of the event: resetting it under a pending one
  // could lose its wake.
  ResetEvent(serialEvent_);
  // A wait that ends without its event cannot be slept on; a read may pend instead.
  if (!reported && sleepOn_ == SleepOn::kCommEvent && !commEventOnly_) {
    sleepOn_ = SleepOn::kUnknown;
  }
}

bool MainLoop::CollectRead(DeviceLink& link) {
  if (!HasOverlappedIoCompleted(&read_)) return false;
  DWORD count = 0;
  if (GetOverlappedResult(port_, &read_, &count, FALSE)) {
    health_.Succeeded();
  } else {
    health_.Failed(NowMs());
    count = 0;
  }
  readPending_ = false;
  // A pending read that ends empty only timed out late: this port's reads do not
  // wait for data.
  if (count == 0) sleepOn_ = SleepOn::kCommEvent;
  Take(link, count);
  return true;
}

bool MainLoop::StartRead(DWORD size, DWORD& count) {
  count = 0;
  if (ReadFile(port_, staging_, size, &count, &read_)) {
    health_.Succeeded();
    return true;
  }
  if (GetLastError() == ERROR_IO_PENDING) {
    readPending_ = true;
  } else {
    health_.Failed(NowMs());
  }
  count = 0;  // a failed read counts as zero bytes
  return false;
}

bool MainLoop::ReadUntilPending(DeviceLink& link) {
  for (;;) {
    const DWORD room = static_cast<DWORD>(link.FreeCapacity());
    if (room == 0) return false;
    DWORD count = 0;
    const bool completed = StartRead(room, count);
    if (readPending_) {
      sleepOn_ = SleepOn::kRead;
      return true;
    }
    Take(link, count);
    if (!completed || count == 0) return false;
  }
}

void MainLoop::ReadQueued(DeviceLink& link) {
  for (;;) {
    DWORD errors = 0;
    COMSTAT status = {};
    if (!ClearCommError(port_, &errors, &status)) {
      health_.Failed(NowMs());
      return;
    }
    health_.Succeeded();
    if (status.cbInQue == 0) return;
    const DWORD room = static_cast<DWORD>(link.FreeCapacity());
    if (room == 0) return;
    DWORD count = 0;
    const bool completed = StartRead(std::min<DWORD>(room, status.cbInQue), count);
    // A read of queued bytes completes at once; should it pend all the same, it
    // completes shortly and wakes the loop.
    if (readPending_) return;
    Take(link, count);
    if (!completed || count == 0) return;
  }
}

void MainLoop::Take(DeviceLink& link, DWORD count) {
  lastReadCount_ = count;
  link.Append(staging_, count);
  link.DispatchLines();
}

void MainLoop::ServicePort(DeviceLink& link) {
  CollectCommWait();
  if (readPending_ && !CollectRead(link)) return;  // the port is still silent

  // Armed before reading, so that a carriage return arriving after the last read
  // still wakes the loop.
  if (sleepOn_ != SleepOn::kRead && !waitArmed_) ArmCommWait();
  if (sleepOn_ != SleepOn::kCommEvent) {
    if (ReadUntilPending(link)) return;
    // The port answered an empty read at once.
    sleepOn_ = SleepOn::kCommEvent;
    if (!waitArmed_) ArmCommWait();
  }
  ReadQueued(link);
  // A read that completed at once has set its event; the loop must not wake on it.
  if (!readPending_) ResetEvent(readEvent_);
}

}  // namespace astro
