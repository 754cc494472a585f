#include "delivery/win/main_dialog_guard.h"

#include <windows.h>

#include <cstring>

namespace astro {
namespace {

// Main thread only.
int openDialogs = 0;

BOOL CALLBACK FindInputDialog(HWND window, LPARAM found) {
  char className[16] = {};
  GetClassNameA(window, className, sizeof className);
  if (std::strcmp(className, "#32770") != 0 || !IsWindowVisible(window) ||
      !IsWindowEnabled(window)) {
    return TRUE;
  }
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

}  // namespace

MainDialogScope::MainDialogScope() {
  ++openDialogs;
}

MainDialogScope::~MainDialogScope() {
  --openDialogs;
}

bool MainDialogOpen() {
  return openDialogs > 0;
}

void BringMainDialogToFront() {
  HWND dialog = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindInputDialog, reinterpret_cast<LPARAM>(&dialog));
  if (dialog == nullptr) return;
  if (IsIconic(dialog)) ShowWindow(dialog, SW_RESTORE);
  SetForegroundWindow(dialog);
}

}  // namespace astro
