#include "driver/win/main_window_setup.h"

#include "delivery/win/main_window.h"
#include "driver/win/driver_state.h"
#include "driver/win/image_ids.h"
#include "ui/startup_texts.h"
#include "ui/win/window_dpi.h"

namespace astro {

bool RegisterMainWindowClass(HINSTANCE instance) {
  WNDCLASSA windowClass = {};
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = MainWindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(kProgramIcon));
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // the arrow
  windowClass.hbrBackground = CreateSolidBrush(RGB(255, 255, 255));
  windowClass.lpszClassName = kMainWindowClass;
  return RegisterClassA(&windowClass) != 0;
}

HWND CreateMainWindow(HINSTANCE instance, std::int32_t language) {
  // The menus are per-language resources; a missing one leaves the window without.
  HMENU menu = LoadMenuA(instance, MAKEINTRESOURCEA(MainMenuResource(language)));
  // Its size at 100 %, at the DPI of the screen it opens on.
  const UINT dpi = SystemDpi();
  return CreateWindowExA(0, kMainWindowClass, ProductTitle(language),
                         WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 1, 1,
                         PixelsForDpi(kMainWindowWidth, dpi), PixelsForDpi(kMainWindowHeight, dpi),
                         nullptr, menu, instance, nullptr);
}

}  // namespace astro
