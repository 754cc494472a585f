#include "delivery/win/win_command_platform.h"

#include "driver/port_discovery.h"
#include "ui/win/panel_state.h"

namespace astro {
namespace {

constexpr UINT kPanelMenuItem = 110;

}  // namespace

void WinCommandPlatform::SendDeviceBytes(const char* bytes, std::size_t length) {
  SendDeviceCommand(bus_, context_.port, bytes, length, nullptr);
}

void WinCommandPlatform::Sleep(unsigned milliseconds) {
  ::Sleep(milliseconds);
}

void WinCommandPlatform::EnablePanelMenuItem(bool enable) {
  EnableMenuItem(GetMenu(OwnWindow()), kPanelMenuItem,
                 MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED));
}

void WinCommandPlatform::MinimiseMainWindow() {
  PostMessageA(OwnWindow(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void WinCommandPlatform::PostToPanelByTitle(std::uint32_t code, std::intptr_t lParam) {
  HWND panel = FindWindowA(nullptr, panelTitle);
  if (panel != nullptr) {
    PostMessageA(panel, context_.commandEventMessage, code, static_cast<LPARAM>(lParam));
  }
}

}  // namespace astro
