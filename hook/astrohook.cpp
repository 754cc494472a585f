// astrohook.dll: tells the driver which top-level window the user has just
// activated, anywhere on the desktop. The system maps this library into every
// process whose threads activate a window; each copy finds the driver's hidden
// window anew and posts it "AstrolabHookMsg" with the window in wParam. It keeps
// no state about the driver and never changes or prevents an activation.
#include <windows.h>

namespace {

constexpr char kHookMessageName[] = "AstrolabHookMsg";
constexpr char kDriverWindowClass[] = "ASTROLAB_3D_CONTROLLER";

HINSTANCE libraryModule = nullptr;

LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam) {
  const UINT hookMessage = RegisterWindowMessageA(kHookMessageName);
  // Only an activation that names its window: the window that loses activation
  // can be reported with none, and must not count as the user's choice.
  if (code == HCBT_ACTIVATE && wParam != 0 && hookMessage != 0) {
    HWND driver = FindWindowA(kDriverWindowClass, nullptr);
    if (driver != nullptr) PostMessageA(driver, hookMessage, wParam, 0);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

// Installs the activation hook for every thread of the desktop; the caller owns
// the returned handle and releases it. 0 when the system refuses.
extern "C" __declspec(dllexport) HHOOK AstrolabHookOn() {
  return SetWindowsHookExA(WH_CBT, HookProc, libraryModule, 0);
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) libraryModule = instance;
  return TRUE;
}
