#include "ui/win/window_dpi.h"

namespace astro {
namespace {

// Looked up at run time: Windows 7 and 8 have neither.
template <typename Function>
Function User32Function(const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}

using DpiForWindow = UINT(WINAPI*)(HWND);
using SystemMetricsForDpi = int(WINAPI*)(int, UINT);

}  // namespace

UINT SystemDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : kBaseDpi;
}

UINT WindowDpi(HWND window) {
  static const auto dpiForWindow = User32Function<DpiForWindow>("GetDpiForWindow");
  if (dpiForWindow != nullptr && window != nullptr) {
    const UINT dpi = dpiForWindow(window);
    if (dpi > 0) return dpi;
  }
  return SystemDpi();
}

int PixelsForDpi(int pixelsAt96, UINT dpi) {
  return MulDiv(pixelsAt96, static_cast<int>(dpi), static_cast<int>(kBaseDpi));
}

int WindowSystemMetric(HWND window, int index) {
  static const auto metricsForDpi = User32Function<SystemMetricsForDpi>("GetSystemMetricsForDpi");
  if (metricsForDpi == nullptr) return GetSystemMetrics(index);
  return metricsForDpi(index, WindowDpi(window));
}

void FollowDpiChange(HWND window, UINT message, LPARAM lParam) {
  if (message != WM_DPICHANGED || lParam == 0) return;
  const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
  SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  PostMessageA(window, kDpiLayoutChanged, 0, 0);
}

}  // namespace astro
