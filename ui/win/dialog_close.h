// The information dialogs have nothing to undo: their OK button and their close
// box both end them with 1.
#pragma once

#include <windows.h>

namespace astro {

// Ends dialog with 1 when message is its OK button or its close box; true then,
// for the dialog procedure to return TRUE.
inline bool EndedByOkOrClose(HWND dialog, UINT message, WPARAM wParam) {
  const bool ok = message == WM_COMMAND && LOWORD(wParam) == IDOK;
  const bool close = message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE;
  if (!ok && !close) return false;
  EndDialog(dialog, 1);
  return true;
}

}  // namespace astro
