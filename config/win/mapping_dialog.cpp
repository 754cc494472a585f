#include "config/win/mapping_dialog.h"

#include <cstring>
#include <string>

#include "config/key_notation.h"
#include "config/mapping_dialog_texts.h"
#include "config/mapping_store.h"
#include "config/win/capture_dialog.h"
#include "config/win/win_key_translator.h"
#include "delivery/main_menu.h"
#include "driver/win/driver_state.h"
#include "ui/win/bitmap_button.h"
#include "ui/win/dialog_icon.h"
#include "ui/win/frame_geometry.h"
#include "ui/win/tooltips.h"

namespace astro {
namespace {

constexpr int kPictureFrame = 1103;
constexpr int kNameBox = 2000;
constexpr int kSave = 5;
constexpr int kDelete = 3;
constexpr int kClose = 1;
constexpr int kNew = 2;
constexpr int kDevicePicture = 219;
constexpr int kLabelNormal = 105;
constexpr int kLabelFocused = 106;
constexpr int kLabelPressed = 107;
constexpr COLORREF kAssigned = RGB(0, 0, 255);
constexpr COLORREF kUnassignedColour = RGB(0, 0, 0);
constexpr COLORREF kRecording = RGB(255, 0, 0);
constexpr int kNameSize = 64;
constexpr char kGenericMapping[] = "Empty";

// Answers of CheckUnsavedMapping.
constexpr int kNothingToSave = 7;
constexpr int kSaveNow = 6;
constexpr int kStay = 2;
constexpr int kGenericName = 4;

// The active mapping differs from the named one it came from.
std::int32_t mappingModified = 0;

std::string NameBoxText(HWND dialog) {
  char name[kNameSize] = {};
  GetDlgItemTextA(dialog, kNameBox, name, sizeof name);
  return name;
}

const MappingDialogTexts& Texts() {
  return MappingDialogTextsFor(settings.language);
}

void ShowSlot(HWND dialog, int slot) {
  const int label = LabelOfSlot(slot);
  const std::optional<KeyEventList> list = ReadButtonEvents(userRegistry, kSettingsKeyPath, slot);
  if (list) {
    WinKeyTranslator translator;
    SetBitmapButtonColour(dialog, label, kAssigned);
    SetBitmapButtonText(
        dialog, label,
        KeyEventsToText(list->data(), CountKeyEvents(list->data()), translator).c_str());
  } else {
    SetBitmapButtonColour(dialog, label, kUnassignedColour);
    SetBitmapButtonText(dialog, label, UnassignedLabel(slot));
  }
}

void RefreshSlotLabels(HWND dialog) {
  for (int slot = 1; slot <= kMappingSlots; ++slot) ShowSlot(dialog, slot);
}

void EnableSave(HWND dialog) {
  EnableWindow(GetDlgItem(dialog, kSave), mappingModified != 0);
}

void EnableDelete(HWND dialog, const std::string& name) {
  EnableWindow(GetDlgItem(dialog, kDelete), name != kGenericMapping);
}

int CheckUnsavedMapping(HWND dialog, std::string* name, int mode) {
  *name = NameBoxText(dialog);
  if (mappingModified == 0) return kNothingToSave;
  if (*name != kGenericMapping) {
    if (mode == kSave) return kSaveNow;
    const int answer = MessageBoxA(dialog, SaveQuestion(settings.language, *name).c_str(),
                                   Texts().caption, MB_YESNOCANCEL | MB_ICONQUESTION);
    return answer == IDYES ? kSaveNow : answer == IDNO ? kNothingToSave : kStay;
  }
  MessageBoxA(dialog, Texts().differentName, Texts().caption, MB_OK | MB_ICONEXCLAMATION);
  return kGenericName;
}

void FocusNameBox(HWND dialog) {
  SetFocus(GetDlgItem(dialog, kNameBox));
}

// Lists the named mappings, selecting (and loading) the current one.
void FillNameBox(HWND dialog) {
  HWND box = GetDlgItem(dialog, kNameBox);
  SendMessageA(box, CB_RESETCONTENT, 0, 0);
  const MappingList list = FillMappingList(userRegistry);
  for (const std::string& name : list.names) {
    SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  }
  // The box sorts its entries: the choice is found again by its text.
  LRESULT index = 0;
  if (list.selected >= 0) {
    index = SendMessageA(box, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                         reinterpret_cast<LPARAM>(list.names[list.selected].c_str()));
    if (index == CB_ERR) index = 0;
  }
  SendMessageA(box, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::string SelectedName(HWND dialog) {
  HWND box = GetDlgItem(dialog, kNameBox);
  const LRESULT index = SendMessageA(box, CB_GETCURSEL, 0, 0);
  if (index == CB_ERR) return std::string();
  char name[256] = {};
  if (SendMessageA(box, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0) >= LRESULT{sizeof name}) {
    return std::string();
  }
  SendMessageA(box, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(name));
  return name;
}

void SelectName(HWND dialog, const std::string& name) {
  HWND box = GetDlgItem(dialog, kNameBox);
  LRESULT index = SendMessageA(box, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                               reinterpret_cast<LPARAM>(name.c_str()));
  if (index == CB_ERR) {
    index = SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  }
  SendMessageA(box, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void SaveMapping(HWND dialog) {
  std::string name;
  switch (CheckUnsavedMapping(dialog, &name, kSave)) {
    case kSaveNow:
      StoreWorkingSet(userRegistry, name, mappingModified);
      SetCurrentMappingName(userRegistry, name);
      break;
    case kNothingToSave:
      LoadMapping(userRegistry, name);
      mappingModified = 0;
      break;
    case kGenericName:
      FocusNameBox(dialog);
      return;
    default:
      return;
  }
  mappingModified = 0;
  EnableSave(dialog);
}

void RecordSlot(HWND dialog, int label) {
  const int slot = SlotOfLabel(label);
  mappingModified = 1;
  EnableSave(dialog);
  SetBitmapButtonColour(dialog, label, kRecording);
  const std::optional<KeyEventList> list = CaptureKeySequence(dialog, slot, label);
  if (list && CountKeyEvents(list->data()) == 0) {
    DeleteButtonEvents(userRegistry, kSettingsKeyPath, slot);
  } else if (list) {
    WriteButtonEvents(userRegistry, kSettingsKeyPath, slot, list->data());
  }
  ShowSlot(dialog, slot);
  InvalidateRect(dialog, nullptr, TRUE);
}

void CloseDialog(HWND dialog) {
  std::string name;
  switch (CheckUnsavedMapping(dialog, &name, kClose)) {
    case kGenericName:
      FocusNameBox(dialog);
      return;
    case kSaveNow:
      SaveMapping(dialog);
      EndDialog(dialog, 1);
      return;
    case kNothingToSave:
      // After a No the active mapping keeps the unsaved changes.
      EndDialog(dialog, 1);
      return;
    default:
      return;
  }
}

void DeleteMapping(HWND dialog) {
  InstallDefaultMappings(userRegistry);
  const std::string name = NameBoxText(dialog);
  if (name == kGenericMapping) {
    MessageBoxA(dialog, Texts().deleteRefusal, Texts().deleteCaption, MB_OK | MB_ICONSTOP);
    return;
  }
  if (!name.empty()) {
    ClearMapping(userRegistry, name, true);
    // A factory mapping comes back at once with its factory contents.
    InstallDefaultMappings(userRegistry);
    FillNameBox(dialog);
    SendDlgItemMessageA(dialog, kNameBox, CB_SETCURSEL, 0, 0);
    LoadMapping(userRegistry, SelectedName(dialog));
    RefreshSlotLabels(dialog);
  }
  mappingModified = 0;
  EnableDelete(dialog, NameBoxText(dialog));
  EnableSave(dialog);
}

// Before the dialog moves to another mapping: saved when the user wants it.
// False when the dialog is to stay where it is.
bool SettleUnsaved(HWND dialog, int mode) {
  std::string name;
  switch (CheckUnsavedMapping(dialog, &name, mode)) {
    case kStay:
      return false;
    case kGenericName:
      FocusNameBox(dialog);
      return false;
    case kSaveNow:
      SaveMapping(dialog);
      return true;
    default:
      return true;
  }
}

// The hidden New button: the active mapping starts again from "Empty".
void NewMapping(HWND dialog) {
  if (!SettleUnsaved(dialog, kNew)) return;
  ClearMapping(userRegistry, "", false);
  StoreWorkingSet(userRegistry, kGenericMapping, mappingModified);
  SelectName(dialog, kGenericMapping);
  RefreshSlotLabels(dialog);
}

void NameChosen(HWND dialog) {
  if (!SettleUnsaved(dialog, kClose)) return;
  const std::string name = SelectedName(dialog);
  if (name.empty()) return;
  LoadMapping(userRegistry, name);
  RefreshSlotLabels(dialog);
  EnableDelete(dialog, name);
  EnableSave(dialog);
}

// A name typed that no mapping has: the active mapping is copied under it.
void NameTyped(HWND dialog) {
  const std::string name = NameBoxText(dialog);
  HWND box = GetDlgItem(dialog, kNameBox);
  if (name.empty() || SendMessageA(box, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                   reinterpret_cast<LPARAM>(name.c_str())) != CB_ERR) {
    return;
  }
  SelectName(dialog, name);
  StoreWorkingSet(userRegistry, name, mappingModified);
  SetCurrentMappingName(userRegistry, name);
  RefreshSlotLabels(dialog);
  EnableDelete(dialog, name);
  EnableSave(dialog);
}

void Paint(HWND dialog) {
  PAINTSTRUCT paint;
  HDC target = BeginPaint(dialog, &paint);
  RECT area;
  HBITMAP picture = LoadBitmapA(programInstance, MAKEINTRESOURCEA(kDevicePicture));
  if (GetControlRectInDialog(dialog, kPictureFrame, &area) && picture != nullptr) {
    BITMAP size = {};
    GetObjectA(picture, sizeof size, &size);
    HDC source = CreateCompatibleDC(target);
    HGDIOBJ previous = SelectObject(source, picture);
    SetStretchBltMode(target, COLORONCOLOR);
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    StretchBlt(target, area.left, area.top, width, height, source, 0, 0, size.bmWidth,
               size.bmHeight, SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);

    HFONT font =
        CreateFontA(width / 48, height / 48, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_ROMAN, nullptr);
    HGDIOBJ oldFont = SelectObject(target, font);
    SetBkMode(target, TRANSPARENT);
    SetTextColor(target, RGB(255, 0, 0));
    SIZE text = {};
    const char* const* lines = Texts().note;
    GetTextExtentPoint32A(target, lines[0], static_cast<int>(std::strlen(lines[0])), &text);
    int y = area.top + (height - text.cy) * 27 / 32;
    for (int line = 0; line < 3; ++line) {
      const int length = static_cast<int>(std::strlen(lines[line]));
      GetTextExtentPoint32A(target, lines[line], length, &text);
      TextOutA(target, area.left + (width - text.cx) / 2, y, lines[line], length);
      y += text.cy;
    }
    SelectObject(target, oldFont);
    DeleteObject(font);
  }
  if (picture != nullptr) DeleteObject(picture);
  EndPaint(dialog, &paint);
  ValidateRect(GetDlgItem(dialog, kPictureFrame), nullptr);
  // The labels draw themselves over the picture.
  for (int slot = 1; slot <= kMappingSlots; ++slot) {
    InvalidateRect(GetDlgItem(dialog, LabelOfSlot(slot)), nullptr, FALSE);
  }
}

void Initialise(HWND dialog) {
  SetDialogIcon(dialog);
  InstallDialogTooltips(dialog);
  mappingModified = 0;
  FillNameBox(dialog);
  for (int slot = 1; slot <= kMappingSlots; ++slot) {
    SetBitmapButtonBitmaps(dialog, LabelOfSlot(slot), kLabelNormal, kLabelFocused, kLabelPressed);
  }
  RefreshSlotLabels(dialog);
  RECT window;
  GetWindowRect(dialog, &window);
  SetWindowPos(dialog, nullptr, (GetSystemMetrics(SM_CXSCREEN) - (window.right - window.left)) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - (window.bottom - window.top)) / 4, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER);
  EnableDelete(dialog, SelectedName(dialog));
  EnableSave(dialog);
}

void OnCommand(HWND dialog, WPARAM wParam, LPARAM lParam) {
  const int item = LOWORD(wParam);
  const int code = HIWORD(wParam);
  if (SlotOfLabel(item) != 0) {
    // The label buttons report a click with lParam 0; the dialog's own Enter
    // handling sends a second command with the button's handle.
    if (lParam == 0) RecordSlot(dialog, item);
    return;
  }
  switch (item) {
    case kSave:
      SaveMapping(dialog);
      break;
    case kClose:
      CloseDialog(dialog);
      break;
    case kDelete:
      DeleteMapping(dialog);
      break;
    case kNew:
      // Escape also arrives as this command (lParam 0): it closes the dialog
      // rather than wiping the active mapping.
      if (lParam == 0) {
        CloseDialog(dialog);
      } else {
        NewMapping(dialog);
      }
      break;
    case kNameBox:
      if (code == CBN_SELCHANGE) NameChosen(dialog);
      if (code == CBN_KILLFOCUS) NameTyped(dialog);
      break;
    default:
      break;
  }
}

INT_PTR CALLBACK MappingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (DialogTooltipMessage(dialog, message, wParam, lParam)) return TRUE;
  switch (message) {
    case WM_INITDIALOG:
      Initialise(dialog);
      return TRUE;
    case WM_PAINT:
      Paint(dialog);
      return TRUE;
    case WM_COMMAND:
      OnCommand(dialog, wParam, lParam);
      return TRUE;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) {
        PostMessageA(dialog, WM_COMMAND, kClose, 0);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

bool GetControlRectInDialog(HWND dialog, int controlId, RECT* rect) {
  HWND control = GetDlgItem(dialog, controlId);
  RECT controlScreen;
  RECT controlClient;
  if (control == nullptr || !GetWindowRect(control, &controlScreen) ||
      !GetClientRect(control, &controlClient)) {
    return false;
  }
  *rect = ChildRectInParent(dialog, controlScreen, controlClient.right, controlClient.bottom);
  return true;
}

INT_PTR RunMappingDialog(HWND owner, std::int32_t language) {
  return DialogBoxParamA(programInstance, MAKEINTRESOURCEA(KeyboardDialogResource(language)), owner,
                         MappingDialogProc, 0);
}

}  // namespace astro
