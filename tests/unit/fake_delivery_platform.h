// A window system in miniature for the delivery tests: windows exist with titles,
// posts are recorded (and fail as the system's would for a window that is gone),
// input events are recorded in order.
#pragma once

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "delivery/delivery_platform.h"

namespace astro::testing {

struct PostRecord {
  WindowHandle window;
  std::uint32_t message;
  std::uintptr_t wParam;
  std::intptr_t lParam;
};

class FakeDeliveryPlatform : public DeliveryPlatform {
 public:
  // Existing windows and their titles (a window may exist with an empty title).
  std::map<WindowHandle, std::string> windows;
  // A post to one of these windows fails with the given error code.
  std::map<WindowHandle, std::uint32_t> postErrors;
  WindowHandle panel = 0;
  // Thread and process of windows, for WindowThreadProcess.
  std::map<WindowHandle, std::pair<std::uint32_t, std::uint32_t>> owners;
  // Class names of windows (a window without one here has the class "Client").
  std::map<WindowHandle, std::string> classes;

  // Every call, in order: "move DX DY", "wheel N", "mouse FLAGS", "post W", "title W", "exists W",
  // "driver CODE L".
  std::vector<std::string> log;
  std::vector<PostRecord> posts;  // successful and failed posts alike
  std::vector<std::pair<std::uint32_t, std::intptr_t>> driverPosts;

  void MoveMouse(std::int32_t dx, std::int32_t dy) override {
    log.push_back("move " + std::to_string(dx) + " " + std::to_string(dy));
  }
  void TurnWheel(std::int32_t amount) override { log.push_back("wheel " + std::to_string(amount)); }
  void PressMouseButton(std::uint32_t flags) override {
    log.push_back("mouse " + std::to_string(flags));
  }
  std::uint32_t Post(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                     std::intptr_t lParam) override {
    log.push_back("post " + std::to_string(window));
    posts.push_back({window, message, wParam, lParam});
    auto error = postErrors.find(window);
    if (error != postErrors.end()) return error->second;
    // Window 0 stands for the posting thread's own queue, which always takes it.
    if (window != 0 && windows.count(window) == 0) return kErrorInvalidWindowHandle;
    return 0;
  }
  void ReadWindowTitle(WindowHandle window, char* title, std::size_t size) override {
    log.push_back("title " + std::to_string(window));
    auto it = windows.find(window);
    const std::string text = it == windows.end() ? std::string() : it->second.substr(0, size - 1);
    std::memcpy(title, text.c_str(), text.size() + 1);
  }
  bool WindowExists(WindowHandle window) override {
    log.push_back("exists " + std::to_string(window));
    return windows.count(window) != 0;
  }
  void ReadWindowClass(WindowHandle window, char* name, std::size_t size) override {
    auto known = classes.find(window);
    std::string text = known != classes.end() ? known->second : "Client";
    if (windows.count(window) == 0 && owners.count(window) == 0) text.clear();
    text = text.substr(0, size - 1);
    std::memcpy(name, text.c_str(), text.size() + 1);
  }
  void WindowThreadProcess(WindowHandle window, std::uint32_t* threadId,
                           std::uint32_t* processId) override {
    auto it = owners.find(window);
    *threadId = it == owners.end() ? 0 : it->second.first;
    *processId = it == owners.end() ? 0 : it->second.second;
  }
  void PostToDriverWindow(std::uint32_t code, std::intptr_t lParam) override {
    log.push_back("driver " + std::to_string(code) + " " + std::to_string(lParam));
    driverPosts.emplace_back(code, lParam);
  }
  WindowHandle PanelWindow() override { return panel; }

  // The log entries that start with prefix.
  std::vector<std::string> Entries(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const auto& entry : log) {
      if (entry.compare(0, prefix.size(), prefix) == 0) out.push_back(entry);
    }
    return out;
  }
};

}  // namespace astro::testing
