/* A minimal client of the Astrolab driver: finds the driver, announces its window,
 * switches the driver's mouse emulation off, and prints one line per motion sample
 * and per button change:
 *   MOTION X Y Z A B C      the six axes of a sample
 *   PRESS n 0xMMM           button n went down; MMM is the mask of the buttons down
 *   RELEASE n 0xMMM         button n went up
 *   REGISTERED              the window was announced (again)
 *
 *   sample_client.exe [--seconds N]      ends after N seconds (30) or when closed
 *
 * Exit code 0 once registered, 1 when no driver runs, 2 on any other failure. */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#include "client/astrolab_client.h"

enum { kDriverCheckTimer = 1, kEndTimer = 2, kDriverCheckMs = 2000 };

static UINT motionEvent, pressEvent, releaseEvent, commandEvent;
static HWND driver; /* the driver's hidden window */

/* Mouse mode 0: the cap no longer moves the pointer and buttons 1 to 8 are not
 * turned into mouse clicks, so everything arrives here as messages only. */
static BOOL Register(HWND window) {
  if (!PostMessageA(driver, commandEvent, CmdSetMouseMode, 0) ||
      !PostMessageA(driver, commandEvent, CmdSetClientWindow, (LPARAM)window)) {
    return FALSE;
  }
  printf("REGISTERED\n");
  fflush(stdout);
  return TRUE;
}

static void PrintMotion(WPARAM wParam, LPARAM lParam) {
  int32_t axes[6];
  /* Only the low 32 bits of each parameter carry the protocol's word. */
  AstrolabUnpackMotion((uint32_t)wParam, (uint32_t)lParam, axes);
  printf("MOTION %d %d %d %d %d %d\n", (int)axes[0], (int)axes[1], (int)axes[2], (int)axes[3],
         (int)axes[4], (int)axes[5]);
  fflush(stdout);
}

static void PrintButton(const char* change, WPARAM wParam, LPARAM lParam) {
  const uint32_t mask = (uint32_t)lParam & ((1u << ASTROLAB_BUTTON_COUNT) - 1u);
  printf("%s %u 0x%03X\n", change, (unsigned)(uint32_t)wParam, (unsigned)mask);
  fflush(stdout);
}

static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  /* Registered message numbers are not constants, so no switch for them. */
  if (message == motionEvent) {
    PrintMotion(wParam, lParam);
    return 0;
  }
  if (message == pressEvent || message == releaseEvent) {
    PrintButton(message == pressEvent ? "PRESS" : "RELEASE", wParam, lParam);
    return 0;
  }
  switch (message) {
    case WM_ACTIVATE:
      /* Announcing while active binds the window to this application, so that the
       * driver comes back to it whenever the user returns here. */
      if (LOWORD(wParam) != WA_INACTIVE) Register(window);
      break;
    case WM_TIMER:
      if (wParam == kEndTimer) {
        DestroyWindow(window);
      } else if (wParam == kDriverCheckTimer) {
        /* A restarted driver has a new window and knows nothing of this client. */
        HWND now = FindWindowA(ASTROLAB_WINDOW_CLASS, NULL);
        if (now != NULL && now != driver) {
          driver = now;
          Register(window);
        }
      }
      return 0;
    case WM_DESTROY:
      /* Give the pointer back its default emulation for the other programs. */
      PostMessageA(driver, commandEvent, CmdSetMouseMode, MouseModeDefault);
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

static int Fail(const char* reason, int code) {
  fprintf(stderr, "sample_client: %s\n", reason);
  return code;
}

int main(int argc, char** argv) {
  long seconds = 30;
  if (argc == 3 && strcmp(argv[1], "--seconds") == 0) {
    char* end = NULL;
    seconds = strtol(argv[2], &end, 10);
    if (end == argv[2] || *end != '\0') seconds = 0;
  } else if (argc != 1) {
    seconds = 0;
  }
  if (seconds < 1 || seconds > 1000000) return Fail("usage: sample_client [--seconds N]", 2);

  /* Every process registers the names itself; equal names give equal numbers. */
  motionEvent = RegisterWindowMessageA(ASTROLAB_MOTION_EVENT);
  pressEvent = RegisterWindowMessageA(ASTROLAB_BUTTON_PRESS_EVENT);
  releaseEvent = RegisterWindowMessageA(ASTROLAB_BUTTON_RELEASE_EVENT);
  commandEvent = RegisterWindowMessageA(ASTROLAB_COMMAND_EVENT);
  if (!motionEvent || !pressEvent || !releaseEvent || !commandEvent) {
    return Fail("cannot register the driver's messages", 2);
  }
  driver = FindWindowA(ASTROLAB_WINDOW_CLASS, NULL);
  if (driver == NULL) return Fail("the driver is not running", 1);

  WNDCLASSA windowClass;
  memset(&windowClass, 0, sizeof windowClass);
  windowClass.lpfnWndProc = WindowProcedure;
  windowClass.hInstance = GetModuleHandleA(NULL);
  windowClass.hCursor = LoadCursor(NULL, IDC_ARROW);
  windowClass.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
  windowClass.lpszClassName = "AstrolabSampleClient";
  if (!RegisterClassA(&windowClass)) return Fail("cannot register the window class", 2);
  HWND window = CreateWindowExA(0, windowClass.lpszClassName, "Astrolab sample client",
                                WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 320, 200, NULL,
                                NULL, windowClass.hInstance, NULL);
  if (window == NULL) return Fail("cannot create the window", 2);
  if (!Register(window)) return Fail("cannot post to the driver's window", 2);
  SetTimer(window, kDriverCheckTimer, kDriverCheckMs, NULL);
  SetTimer(window, kEndTimer, (UINT)seconds * 1000u, NULL);
  ShowWindow(window, SW_SHOWNORMAL);

  MSG message;
  while (GetMessageA(&message, NULL, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
