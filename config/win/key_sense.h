// "MKEYSENSE": the key-capture control. It records every key message that reaches
// it (Enter, Escape and Tab included) until its parent finishes it, shows the
// name of the last key touched in red over an animated picture, and talks to its
// parent only by WM_COMMAND: wParam = its id, lParam = code * 65536 + value.
//
// Like the bitmap button, it draws through its parent's device context at the
// rectangle it found at creation: the parent must not clip its children and the
// control must not be moved afterwards.
#pragma once

#include <windows.h>

namespace astro {

// Messages a parent sends to the control.
// wParam 0, 1, 2: the frame; lParam: its bitmap resource id, 0 for none. Frame 0
// also shows that frame at once. Other wParam values are refused with 0.
constexpr UINT kKeySenseSetFrame = WM_USER;
// lParam kKeySenseDeliver or kKeySenseCancel; other values are refused with 0.
constexpr UINT kKeySenseFinish = WM_USER + 1;
constexpr LPARAM kKeySenseDeliver = 0;
constexpr LPARAM kKeySenseCancel = 1;
// Answers the number of events recorded, plus kKeySenseFull once a key was refused
// because the recording holds all the store can read back (accessibility tools and
// tests read it; the control shows it with a red frame).
constexpr UINT kKeySenseGetCount = WM_USER + 2;
constexpr LRESULT kKeySenseFull = 0x10000;

// Notification codes (the upper half of lParam), with the value they carry.
enum KeySenseNote : WORD {
  kKeySenseStarted = 1,    // 0: created and recording
  kKeySenseFinished = 2,   // 0: delivery follows at once; 1: cancelled, nothing follows
  kKeySenseListStart = 3,  // number of events (low 16 bits)
  kKeySenseListHalf = 4,   // the next 16 bits of the list, 14 per event
  kKeySenseListEnd = 5,    // 0
  kKeySenseRecorded = 6,   // length of the notation so far (KeySenseNotation)
};

// Registers the class once at start-up; true when the system took it. The
// program's resources hold no cursor, so the control shows the system's arrow.
bool RegisterKeySenseClass(HINSTANCE instance);

// The notation of every event control has recorded so far, as the last
// kKeySenseRecorded notification announced it. The text belongs to the control:
// valid until its next recorded key or its destruction. Empty for a window that
// is not a key-capture control.
const char* KeySenseNotation(HWND control);

// Gives the control item of dialog its three frames. False when bitmap0 is 0
// (nothing is sent) or the control refused a frame.
bool SetKeySenseFrames(HWND dialog, int controlId, int bitmap0, int bitmap1, int bitmap2);

// mode 1 finishes and cancels; modes 0 and 2 finish and deliver; others do nothing.
void FinishKeySense(HWND dialog, int controlId, int mode);

}  // namespace astro
