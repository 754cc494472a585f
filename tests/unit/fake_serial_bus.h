// A scripted serial bus for the discovery tests: ports are set up by name, every
// call is recorded in order (sleeps are recorded, not slept), and each port's
// replies to the version string are handed out one read at a time.
#pragma once

#include <algorithm>
#include <cstring>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "driver/serial_bus.h"

namespace astro::testing {

struct FakePort {
  bool opens = true;
  PortProperties props;
  bool propertiesRefused = false;
  bool powerOffRefused = false;  // ApplyLineConfiguration(false)
  bool powerOnRefused = false;   // ApplyLineConfiguration(true)
  bool eventMaskRefused = false;
  bool timeoutsRefused = false;
  // One entry per signalled read; the port stays silent once they are used up.
  std::deque<std::string> replies;
  // When set, the read writes this many bytes of filler behind the reply (but
  // reports only the reply's length), to catch a search beyond the count.
  std::string staleTail;
  // Results of successive TransmitChar calls; true once used up.
  std::deque<bool> transmitResults;
};

class FakeSerialBus : public SerialBus {
 public:
  std::map<std::string, FakePort> ports;
  std::vector<std::string> log;             // every call, in order
  std::map<std::string, std::string> sent;  // bytes transmitted, by port name
  std::vector<std::size_t> pollCapacities;
  int createEventCalls = 0;
  int failingCreateEventCall = -1;  // 1-based number of the call that fails
  int openHandles = 0;              // ports opened and not yet closed
  int openEvents = 0;
  std::vector<std::string> systemPorts;  // what SystemPortNames answers

  FakePort& Port(const std::string& name) { return ports[name]; }

  std::string NameOf(PortHandle port) const {
    auto it = handleNames_.find(port);
    return it == handleNames_.end() ? "?" : it->second;
  }

  // The log entries that start with prefix, in order.
  std::vector<std::string> Entries(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const auto& entry : log) {
      if (entry.compare(0, prefix.size(), prefix) == 0) out.push_back(entry);
    }
    return out;
  }

  std::vector<std::string> SystemPortNames() override {
    log.push_back("SystemPortNames");
    return systemPorts;
  }
  PortHandle Open(const char* name) override {
    log.push_back(std::string("Open ") + name);
    auto it = ports.find(name);
    if (it == ports.end() || !it->second.opens) return kInvalidPort;
    const PortHandle handle = nextHandle_++;
    handleNames_[handle] = name;
    ++openHandles;
    return handle;
  }
  void Close(PortHandle port) override {
    log.push_back("Close " + NameOf(port));
    if (handleNames_.erase(port)) --openHandles;
  }
  bool SetupQueues(PortHandle port, std::uint32_t in, std::uint32_t out) override {
    log.push_back("SetupQueues " + NameOf(port) + " " + std::to_string(in) + " " +
                  std::to_string(out));
    return true;
  }
  bool ReadProperties(PortHandle port, PortProperties& props) override {
    log.push_back("ReadProperties " + NameOf(port));
    const FakePort& p = Config(port);
    if (p.propertiesRefused) return false;
    props = p.props;
    return true;
  }
  bool ApplyLineConfiguration(PortHandle port, bool powerOn) override {
    log.push_back("Apply " + NameOf(port) + (powerOn ? " on" : " off"));
    const FakePort& p = Config(port);
    return powerOn ? !p.powerOnRefused : !p.powerOffRefused;
  }
  bool SetEventMask(PortHandle port) override {
    log.push_back("SetEventMask " + NameOf(port));
    return !Config(port).eventMaskRefused;
  }
  bool SetTimeouts(PortHandle port) override {
    log.push_back("SetTimeouts " + NameOf(port));
    return !Config(port).timeoutsRefused;
  }
  EventHandle CreateSerialEvent() override {
    ++createEventCalls;
    log.push_back("CreateEvent");
    if (createEventCalls == failingCreateEventCall) return kInvalidEvent;
    ++openEvents;
    return 5000 + static_cast<EventHandle>(createEventCalls);
  }
  void CloseEvent(EventHandle event) override {
    log.push_back("CloseEvent " + std::to_string(event));
    --openEvents;
  }
  bool TransmitChar(PortHandle port, char c) override {
    FakePort& p = Config(port);
    bool ok = true;
    if (!p.transmitResults.empty()) {
      ok = p.transmitResults.front();
      p.transmitResults.pop_front();
    }
    // Bytes sent to one port with no other call between form one entry, so the
    // log reads by command.
    const std::string head = "Send " + NameOf(port) + " ";
    if (!ok) {
      log.push_back("Refused " + NameOf(port));
    } else if (!log.empty() && log.back().compare(0, head.size(), head) == 0) {
      log.back() += c;
    } else {
      log.push_back(head + c);
    }
    if (ok) sent[NameOf(port)] += c;
    return ok;
  }
  bool PollReply(PortHandle port, EventHandle event, char* buffer, std::size_t capacity,
                 std::size_t& count) override {
    log.push_back("Poll " + NameOf(port) + " " + std::to_string(event));
    pollCapacities.push_back(capacity);
    FakePort& p = Config(port);
    count = 0;
    if (p.replies.empty()) return false;
    const std::string reply = p.replies.front();
    p.replies.pop_front();
    count = std::min(capacity, reply.size());
    std::memcpy(buffer, reply.data(), count);
    const std::size_t tail = std::min(capacity - count, p.staleTail.size());
    std::memcpy(buffer + count, p.staleTail.data(), tail);
    return true;
  }
  void Sleep(unsigned milliseconds) override {
    log.push_back("Sleep " + std::to_string(milliseconds));
  }

 private:
  FakePort& Config(PortHandle port) { return ports[NameOf(port)]; }

  PortHandle nextHandle_ = 100;
  std::map<PortHandle, std::string> handleNames_;
};

class RecordingReporter : public ErrorReporter {
 public:
  std::vector<std::string> messages;
  void ReportError(const char* text) override { messages.emplace_back(text); }
};

}  // namespace astro::testing
