#include "ui/win/bitmap_button.h"

#include <cstddef>
#include <cstdint>
#include <string>

#include "ui/bitmap_button_look.h"
#include "ui/text_fitting.h"
#include "ui/win/frame_geometry.h"
#include "ui/win/heap_blocks.h"
#include "ui/win/scaled_pictures.h"

namespace astro {
namespace {

constexpr char kClassName[] = "MBITMAPBUTTON";
constexpr COLORREF kInitialTextColour = 255;  // pure red: a label nobody coloured shows

// One per button, from the process heap, kept in the user-data slot.
struct ButtonRecord {
  std::uint32_t state;  // a look of bitmap_button_look.h
  std::uint32_t normalBitmap;
  std::uint32_t focusedBitmap;
  std::uint32_t pressedBitmap;
  // In the parent's client coordinates, fixed at creation: painting goes through
  // the parent's device context.
  std::int32_t left;
  std::int32_t right;
  std::int32_t top;
  std::int32_t bottom;
  std::int32_t parentWidth;
  std::int32_t parentHeight;
  std::uint32_t focused;
  char* text;  // kBitmapButtonTextLength characters and the terminator; may be nullptr
  COLORREF textColour;
};

ButtonRecord* RecordOf(HWND button) {
  return reinterpret_cast<ButtonRecord*>(GetWindowLongPtrA(button, GWLP_USERDATA));
}

// Longer texts are cut rather than refused: the label then still shows its start.
void CopyText(char* buffer, const char* text) {
  if (buffer == nullptr) return;
  int length = 0;
  if (text != nullptr && !IS_INTRESOURCE(text)) {
    while (length < kBitmapButtonTextLength && text[length] != '\0') {
      buffer[length] = text[length];
      ++length;
    }
  }
  buffer[length] = '\0';
}

BOOL CreateRecord(HWND button, const CREATESTRUCTA& create) {
  auto* record = static_cast<ButtonRecord*>(HeapAllocZeroed(sizeof(ButtonRecord)));
  if (record == nullptr) return FALSE;
  record->text = static_cast<char*>(HeapAllocZeroed(kBitmapButtonTextLength + 1));
  CopyText(record->text, create.lpszName);
  record->textColour = kInitialTextColour;
  MeasureInParent(button, create.hwndParent, *record);
  SetWindowLongPtrA(button, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(record));
  return TRUE;
}

void DestroyRecord(HWND button) {
  ButtonRecord* record = RecordOf(button);
  if (record == nullptr) return;
  SetWindowLongPtrA(button, GWLP_USERDATA, 0);
  HeapFreeBlock(record->text);
  HeapFreeBlock(record);
}

std::uint32_t BitmapOfState(const ButtonRecord& record) {
  switch (record.state) {
    case kButtonLookNormal:
      return record.normalBitmap;
    case kButtonLookFocused:
      return record.focusedBitmap;
    case kButtonLookPressed:
      return record.pressedBitmap;
    default:
      return 0;
  }
}

void DrawLabel(HDC dc, const ButtonRecord& record, int width, int height) {
  HFONT font = CreateFontA(height * 7 / 8, width / 25, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                           DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           DEFAULT_QUALITY, DEFAULT_PITCH | FF_ROMAN, nullptr);
  HGDIOBJ oldFont = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, record.textColour);

  const auto measure = [dc](const std::string& text) {
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return static_cast<int>(size.cx);
  };
  const std::string shown =
      FitButtonText(record.text != nullptr ? record.text : "", width, measure);
  SIZE extent{};
  GetTextExtentPoint32A(dc, shown.c_str(), static_cast<int>(shown.size()), &extent);
  TextOutA(dc, record.left + (width - extent.cx) / 2, record.top + (height - extent.cy) / 2,
           shown.c_str(), static_cast<int>(shown.size()));

  SelectObject(dc, oldFont);
  DeleteObject(font);
}

void Paint(HWND button, const ButtonRecord& record) {
  const std::uint32_t bitmapId = BitmapOfState(record);
  if (bitmapId != 0) {
    HWND parent = GetParent(button);
    HDC parentDc = GetDC(parent);
    const RECT area = {record.left, record.top, record.right, record.bottom};
    if (DrawScaledPicture(parentDc, static_cast<int>(bitmapId), area)) {
      DrawLabel(parentDc, record, area.right - area.left, area.bottom - area.top);
    }
    ReleaseDC(parent, parentDc);
  }
  ValidateRect(button, nullptr);
}

// The bitmap covers the whole rectangle, so nothing needs erasing first.
void Invalidate(HWND button) {
  InvalidateRect(button, nullptr, FALSE);
}

LRESULT SendClick(HWND button) {
  const WPARAM item = static_cast<WPARAM>(GetDlgCtrlID(button)) & 0xFFFF;
  return SendMessageA(GetParent(button), WM_COMMAND, item, 0);
}

void MoveTo(HWND button, ButtonRecord& record, std::uint32_t state) {
  record.state = state;
  Invalidate(button);
}

// Moves the look as the input asks, repainting when it changed; true when the
// input is a click.
bool Step(HWND button, ButtonRecord& record, ButtonInput input) {
  const ButtonStep step = NextButtonStep(record.state, input);
  if (step.look != record.state) MoveTo(button, record, step.look);
  return step.click;
}

void OnMouseMove(HWND button, ButtonRecord& record, WPARAM keys, LPARAM position) {
  // Moves without the left button leave the look alone, with or without capture.
  if ((keys & MK_LBUTTON) == 0) return;
  if (PointerOverButton(record.right - record.left, record.bottom - record.top,
                        static_cast<std::uint32_t>(position))) {
    SetFocus(button);
    SetCapture(button);
    Step(button, record, ButtonInput::kHeldMoveInside);
  } else {
    ReleaseCapture();
    Step(button, record, ButtonInput::kHeldMoveOutside);
  }
}

LRESULT SetBitmap(HWND button, ButtonRecord& record, WPARAM which, LPARAM id) {
  const auto bitmapId = static_cast<std::uint32_t>(id);
  switch (which) {
    case 1:
      record.normalBitmap = bitmapId;
      MoveTo(button, record, kButtonLookNormal);
      return 1;
    case 2:
      record.focusedBitmap = bitmapId;
      return 1;
    case 3:
      record.pressedBitmap = bitmapId;
      return 1;
    default:
      return 0;
  }
}

LRESULT CALLBACK BitmapButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    return CreateRecord(button, *reinterpret_cast<const CREATESTRUCTA*>(lParam));
  }
  ButtonRecord* record = RecordOf(button);
  if (record == nullptr) return DefWindowProcA(button, message, wParam, lParam);

  switch (message) {
    case WM_NCDESTROY:
      DestroyRecord(button);
      break;
    case WM_NCCALCSIZE:
      return wParam ? (WVR_ALIGNTOP | WVR_ALIGNLEFT) : 0;
    case WM_NCPAINT:
    case WM_CREATE:
    case WM_MOVE:
    case WM_SIZE:
    case WM_SETFONT:
      return 0;
    case WM_PAINT:
      Paint(button, *record);
      return 0;
    case WM_DPICHANGED_AFTERPARENT:
      MeasureInParent(button, GetParent(button), *record);
      Invalidate(button);
      return 0;
    case WM_SETFOCUS:
      record->focused = 1;
      Step(button, *record, ButtonInput::kFocusGained);
      return 0;
    case WM_KILLFOCUS: {
      record->focused = 0;
      const std::uint32_t before = record->state;
      Step(button, *record, ButtonInput::kFocusLost);
      if (record->state != before) UpdateWindow(button);
      return 0;
    }
    case WM_LBUTTONDOWN:
      SetCapture(button);
      SetFocus(button);
      Step(button, *record, ButtonInput::kLeftDown);
      return 0;
    case WM_LBUTTONUP:
      ReleaseCapture();
      if (Step(button, *record, ButtonInput::kLeftUp)) SendClick(button);
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(button, *record, wParam, lParam);
      return 0;
    case WM_GETDLGCODE:
      return record->focused ? (DLGC_BUTTON | DLGC_DEFPUSHBUTTON) : 0;
    case WM_KEYUP:
      if (wParam == VK_RETURN && Step(button, *record, ButtonInput::kEnterReleased)) {
        return SendClick(button);
      }
      break;
    case kBitmapButtonSetBitmap:
      return SetBitmap(button, *record, wParam, lParam);
    case kBitmapButtonSetColour:
      record->textColour = static_cast<COLORREF>(wParam);
      Invalidate(button);
      return 1;
    case kBitmapButtonGetColour:
      return static_cast<LRESULT>(record->textColour);
    case kBitmapButtonGetLook:
      return static_cast<LRESULT>(record->state);
    case WM_SETTEXT:
      CopyText(record->text, reinterpret_cast<const char*>(lParam));
      Invalidate(button);
      // The window's own text follows, so that WM_GETTEXT (screen readers, the
      // tests) reads what the button shows.
      DefWindowProcA(button, message, wParam, reinterpret_cast<LPARAM>(record->text));
      return 1;
    default:
      break;
  }
  return DefWindowProcA(button, message, wParam, lParam);
}

}  // namespace

bool RegisterBitmapButtonClass(HINSTANCE instance) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = BitmapButtonProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  windowClass.hbrBackground = CreateSolidBrush(RGB(255, 255, 255));
  windowClass.lpszClassName = kClassName;
  if (RegisterClassA(&windowClass) != 0) return true;
  DeleteObject(windowClass.hbrBackground);
  return false;
}

bool SetBitmapButtonBitmaps(HWND dialog, int item, int normal, int focused, int pressed) {
  if (normal == 0) return false;
  const int ids[] = {normal, focused, pressed};
  for (WPARAM which = 1; which <= 3; ++which) {
    if (SendDlgItemMessageA(dialog, item, kBitmapButtonSetBitmap, which, ids[which - 1]) == 0) {
      return false;
    }
  }
  return true;
}

void SetBitmapButtonColour(HWND dialog, int item, COLORREF colour) {
  SendDlgItemMessageA(dialog, item, kBitmapButtonSetColour, colour, 0);
}

void SetBitmapButtonText(HWND dialog, int item, const char* text) {
  SetDlgItemTextA(dialog, item, text);
}

}  // namespace astro
