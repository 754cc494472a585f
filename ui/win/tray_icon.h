// The driver's icon in the notification area. The record is kept for the run so
// that a language change can retitle the tip, a restarted shell can be given the
// icon again, and exit can remove it.
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
// language and adds the icon, trying again while the system refuses it (the
// notification area may not exist yet at logon). False when it never took it.
bool AddTrayIcon(HWND window, HINSTANCE instance, std::int32_t language);

// The number of the message the shell broadcasts when it has (re)made the
// notification area, which then holds no icon.
UINT TaskbarCreatedMessage();
// Retitles the tip for the language (while the controller is lost, the tip says
// so) and tells the notification area.
void UpdateTrayTip(std::int32_t language);
// Adds the icon again from the kept record, if it was ever added.
void RestoreTrayIcon();
void RemoveTrayIcon();

}  // namespace astro
