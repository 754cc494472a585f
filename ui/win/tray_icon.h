// The driver's icon in the notification area. The record is kept for the run so
// that a language change can retitle the tip and exit can remove the icon.
#pragma once

#include <windows.h>
// Needs the types of windows.h.
#include <shellapi.h>

#include <cstdint>

namespace astro {

constexpr UINT kTrayIconId = 65535;
constexpr UINT kTrayCallbackMessage = 65535;

extern NOTIFYICONDATAA trayRecord;

// Copies title into the tip field, cut to the field's 63 characters.
void SetTrayTip(const char* title);

// Fills the record for window with the program's icon and the product title of the
// language and adds the icon. False when the system refuses it.
bool AddTrayIcon(HWND window, HINSTANCE instance, std::int32_t language);

}  // namespace astro
