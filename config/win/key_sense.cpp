#include "config/win/key_sense.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "config/capture_room.h"
#include "config/key_event.h"
#include "config/key_halves.h"
#include "config/key_notation.h"
#include "config/win/win_key_translator.h"
#include "ui/win/frame_geometry.h"
#include "ui/win/heap_blocks.h"
#include "ui/win/scaled_pictures.h"
#include "ui/win/window_dpi.h"

namespace astro {
namespace {

constexpr char kClassName[] = "MKEYSENSE";
constexpr UINT_PTR kAnimationTimer = 1;
constexpr UINT kAnimationPeriod = 1000;  // milliseconds per frame
constexpr int kFrameCount = 3;
constexpr COLORREF kKeyNameColour = RGB(255, 0, 0);
// A full recording is framed in red, this many pixels wide at 96 dpi.
constexpr int kFullFrameWidth = 4;

enum : std::uint32_t { kRecording = 1, kFinished = 2 };

// One per control, from the process heap, kept in the user-data slot.
struct KeySenseRecord {
  std::uint32_t frame;
  std::int32_t frameBitmap[kFrameCount];  // resource ids; 0 = nothing shown in that frame
  // In the parent's client coordinates, fixed at creation: painting goes through
  // the parent's device context.
  std::int32_t left;
  std::int32_t right;
  std::int32_t top;
  std::int32_t bottom;
  std::int32_t parentWidth;
  std::int32_t parentHeight;
  UINT_PTR timerId;
  KeyEvent* events;  // heap block of eventCount records, no end record
  std::uint32_t eventCount;
  std::uint32_t captureState;
  CaptureRoom room;                       // the store reads back at most kMaxRecordedEvents
  char notation[kMaxNotationLength + 1];  // of all events, for the parent
};

KeySenseRecord* RecordOf(HWND control) {
  return reinterpret_cast<KeySenseRecord*>(GetWindowLongPtrA(control, GWLP_USERDATA));
}

void Notify(HWND control, WORD code, std::uint32_t value) {
  const WPARAM id = static_cast<WPARAM>(GetDlgCtrlID(control)) & 0xFFFF;
  const auto packed = (static_cast<std::uint32_t>(code) << 16) | (value & 0xFFFFu);
  SendMessageA(GetParent(control), WM_COMMAND, id, static_cast<LPARAM>(packed));
}

BOOL CreateRecord(HWND control, const CREATESTRUCTA& create) {
  auto* record = static_cast<KeySenseRecord*>(HeapAllocZeroed(sizeof(KeySenseRecord)));
  if (record == nullptr) return FALSE;

  MeasureInParent(control, create.hwndParent, *record);
  record->timerId = SetTimer(control, kAnimationTimer, kAnimationPeriod, nullptr);

  SetWindowLongPtrA(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(record));
  return TRUE;
}

// Also frees a list still being recorded: nobody else holds it.
void DestroyRecord(HWND control) {
  KeySenseRecord* record = RecordOf(control);
  if (record == nullptr) return;
  SetWindowLongPtrA(control, GWLP_USERDATA, 0);
  if (record->timerId != 0) KillTimer(control, record->timerId);
  HeapFreeBlock(record->events);
  HeapFreeBlock(record);
}

// The bitmap covers the whole rectangle, so nothing needs erasing first.
void Invalidate(HWND control) {
  InvalidateRect(control, nullptr, FALSE);
}

void RecordKey(HWND control, KeySenseRecord& record, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!record.room.Take(message, static_cast<std::uint32_t>(wParam))) {
    // Full: the key is not recorded, and the user hears and sees why.
    if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) MessageBeep(MB_ICONEXCLAMATION);
    Invalidate(control);
    return;
  }
  const std::size_t count = record.eventCount;
  auto* events = static_cast<KeyEvent*>(HeapAllocZeroed((count + 1) * sizeof(KeyEvent)));
  if (events == nullptr) return;
  if (count > 0) std::memcpy(events, record.events, count * sizeof(KeyEvent));
  HeapFreeBlock(record.events);
  KeyEvent& event = events[count];
  event.window = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(control));
  event.message = message;
  event.virtualKey = static_cast<std::uint32_t>(wParam);
  event.keyData = static_cast<std::uint32_t>(lParam);
  event.time = static_cast<std::uint32_t>(GetMessageTime());
  record.events = events;
  record.eventCount = static_cast<std::uint32_t>(count + 1);

  WinKeyTranslator translator;
  const std::string text =
      KeyEventsToText(record.events, static_cast<int>(record.eventCount), translator);
  std::memcpy(record.notation, text.c_str(), text.size() + 1);
  // The parent may do anything while it is told, even destroy the control: the
  // record is not touched after this.
  Notify(control, kKeySenseRecorded, static_cast<std::uint32_t>(text.size()));
  Invalidate(control);
}

LRESULT Finish(HWND control, KeySenseRecord& record, LPARAM mode) {
  if (mode == kKeySenseCancel) {
    record.captureState = kFinished;
    Notify(control, kKeySenseFinished, 1);
    return 1;
  }
  if (mode != kKeySenseDeliver) return 0;
  record.captureState = kFinished;
  const std::uint32_t count = record.eventCount;
  // Taken apart before the first notification, for the same reason as above.
  const std::vector<std::uint16_t> halves = KeyEventHalves(record.events, static_cast<int>(count));
  Notify(control, kKeySenseFinished, 0);
  Notify(control, kKeySenseListStart, count);
  for (std::uint16_t half : halves) Notify(control, kKeySenseListHalf, half);
  Notify(control, kKeySenseListEnd, 0);
  return 1;
}

LRESULT SetFrame(HWND control, KeySenseRecord& record, WPARAM frame, LPARAM bitmapId) {
  if (frame >= kFrameCount) return 0;
  record.frameBitmap[frame] = static_cast<std::int32_t>(bitmapId);
  if (frame == 0) {
    record.frame = 0;
    Invalidate(control);
    UpdateWindow(control);
  }
  return 1;
}

// On to the next frame that has a picture; with none, the frame stays.
void Animate(HWND control, KeySenseRecord& record) {
  for (std::uint32_t step = 1; step <= kFrameCount; ++step) {
    const std::uint32_t next = (record.frame + step) % kFrameCount;
    if (record.frameBitmap[next] > 0) {
      record.frame = next;
      break;
    }
  }
  Invalidate(control);
}

void DrawKeyName(HDC dc, const KeySenseRecord& record, int width, int height) {
  WinKeyTranslator translator;
  const std::string name = KeyEventName(record.events[record.eventCount - 1], true, translator);
  HFONT font = CreateFontA(height / 6, width / 32, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                           DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           DEFAULT_QUALITY, DEFAULT_PITCH | FF_ROMAN, nullptr);
  HGDIOBJ oldFont = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kKeyNameColour);
  SIZE extent{};
  GetTextExtentPoint32A(dc, name.c_str(), static_cast<int>(name.size()), &extent);
  // The second and third frames show the key pushed down: the name goes with it.
  const int pushed = record.frame != 0 ? height * 3 / 100 : 0;
  TextOutA(dc, record.left + (width - extent.cx) / 2,
           record.top + (height - extent.cy) / 3 + pushed, name.c_str(),
           static_cast<int>(name.size()));
  SelectObject(dc, oldFont);
  DeleteObject(font);
}

void DrawFullFrame(HWND control, HDC dc, const KeySenseRecord& record) {
  HBRUSH red = CreateSolidBrush(kKeyNameColour);
  RECT edge = {record.left, record.top, record.right, record.bottom};
  const int lines = PixelsForDpi(kFullFrameWidth, WindowDpi(control));
  for (int i = 0; i < lines; ++i) {
    FrameRect(dc, &edge, red);
    InflateRect(&edge, -1, -1);
  }
  DeleteObject(red);
}

void Paint(HWND control, const KeySenseRecord& record) {
  const std::int32_t bitmapId = record.frameBitmap[record.frame % kFrameCount];
  if (bitmapId > 0) {
    HWND parent = GetParent(control);
    HDC parentDc = GetDC(parent);
    const RECT area = {record.left, record.top, record.right, record.bottom};
    if (DrawScaledPicture(parentDc, bitmapId, area)) {
      if (record.eventCount > 0) {
        DrawKeyName(parentDc, record, area.right - area.left, area.bottom - area.top);
      }
      if (record.room.full) DrawFullFrame(control, parentDc, record);
    }
    ReleaseDC(parent, parentDc);
  }
  ValidateRect(control, nullptr);
}

LRESULT CALLBACK KeySenseProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    return CreateRecord(control, *reinterpret_cast<const CREATESTRUCTA*>(lParam));
  }
  KeySenseRecord* record = RecordOf(control);
  if (record == nullptr) return DefWindowProcA(control, message, wParam, lParam);

  switch (message) {
    case WM_CREATE:
      record->captureState = kRecording;
      Notify(control, kKeySenseStarted, 0);
      return 0;
    case WM_NCDESTROY:
      DestroyRecord(control);
      break;
    case WM_NCCALCSIZE:
      return wParam ? (WVR_ALIGNTOP | WVR_ALIGNLEFT) : 0;
    case WM_NCPAINT:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTALLKEYS;
    case WM_LBUTTONDOWN:
      // Keys go where the focus is: a click brings them back to the control.
      SetFocus(control);
      return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
      // While recording, a key is only recorded: Alt does not open the window
      // menu, Alt+F4 does not close the dialog.
      if (record->captureState != kRecording) break;
      RecordKey(control, *record, message, wParam, lParam);
      return 0;
    case WM_TIMER:
      if (wParam != record->timerId) break;
      Animate(control, *record);
      return 0;
    case WM_PAINT:
      Paint(control, *record);
      return 0;
    case WM_DPICHANGED_AFTERPARENT:
      MeasureInParent(control, GetParent(control), *record);
      Invalidate(control);
      return 0;
    case kKeySenseSetFrame:
      return SetFrame(control, *record, wParam, lParam);
    case kKeySenseFinish:
      return Finish(control, *record, lParam);
    case kKeySenseGetCount:
      return static_cast<LRESULT>(record->eventCount) | (record->room.full ? kKeySenseFull : 0);
    default:
      break;
  }
  return DefWindowProcA(control, message, wParam, lParam);
}

}  // namespace

bool RegisterKeySenseClass(HINSTANCE instance) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = KeySenseProc;
  windowClass.hInstance = instance;
  // The program carries no cursor of its own; the system's arrow rather than none,
  // which would leave whatever pointer last crossed the control.
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  windowClass.lpszClassName = kClassName;
  return RegisterClassA(&windowClass) != 0;
}

const char* KeySenseNotation(HWND control) {
  char className[sizeof kClassName + 1] = {};
  if (GetClassNameA(control, className, sizeof className) == 0 ||
      lstrcmpiA(className, kClassName) != 0) {
    return "";
  }
  const KeySenseRecord* record = RecordOf(control);
  return record != nullptr ? record->notation : "";
}

bool SetKeySenseFrames(HWND dialog, int controlId, int bitmap0, int bitmap1, int bitmap2) {
  if (bitmap0 == 0) return false;
  const int ids[kFrameCount] = {bitmap0, bitmap1, bitmap2};
  for (WPARAM frame = 0; frame < kFrameCount; ++frame) {
    if (SendDlgItemMessageA(dialog, controlId, kKeySenseSetFrame, frame, ids[frame]) == 0) {
      return false;
    }
  }
  return true;
}

void FinishKeySense(HWND dialog, int controlId, int mode) {
  if (mode == 1) {
    SendDlgItemMessageA(dialog, controlId, kKeySenseFinish, 0, kKeySenseCancel);
  } else if (mode == 0 || mode == 2) {
    SendDlgItemMessageA(dialog, controlId, kKeySenseFinish, 0, kKeySenseDeliver);
  }
}

}  // namespace astro
