#include "config/win/mapping_dialog.h"

#include <cstring>
#include <string>

#include "config/key_notation.h"
#include "config/mapping_dialog_texts.h"
#include "config/mapping_store.h"
#include "config/win/capture_dialog.h"
#include "config/win/mapping_programs.h"
#include "config/win/win_key_translator.h"
#include "delivery/main_menu.h"
#include "driver/win/driver_state.h"
#include "ui/win/bitmap_button.h"
#include "ui/win/dialog_icon.h"
#include "ui/win/frame_geometry.h"
#include "ui/win/scaled_pictures.h"
#include "ui/win/tooltips.h"
#include "ui/win/window_dpi.h"
#include "ui/win/window_text.h"

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
// Posted when a typed name was refused as the name box lost the focus: the box is
// shown once that change of focus is over.
constexpr UINT kRefuseTypedName = WM_APP + 1;

// Answers of CheckUnsavedMapping.
constexpr int kNothingToSave = 7;
constexpr int kSaveNow = 6;
constexpr int kStay = 2;
constexpr int kGenericName = 4;

// The active mapping differs from the named one it came from.
std::int32_t mappingModified = 0;
// The dialog has been ended: nothing more is asked or shown.
bool dialogEnding = false;
// A refusal of a typed name is on its way (kRefuseTypedName).
bool typedNameRefusalPosted = false;
// The hidden New button's own procedure, and how deep the dialog is inside it: only
// a command that the button itself sends runs New. Escape and a close request reach
// the dialog as the same command (id 2, the button's handle) without passing the
// button.
WNDPROC newButtonProcedure = nullptr;
int insideNewButton = 0;

// The name box's text as the question and Save use it: at most 63 characters.
std::string NameBoxText(HWND dialog) {
  char name[kNameSize] = {};
  GetDlgItemTextA(dialog, kNameBox, name, sizeof name);
  return name;
}

// The whole text, however long, for the check of a name to be stored.
std::string FullNameBoxText(HWND dialog) {
  return WholeWindowText(GetDlgItem(dialog, kNameBox));
}

void EndMappingDialog(HWND dialog) {
  dialogEnding = true;
  EndDialog(dialog, 1);
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

// Unsaved: the slots, or the programs list of the mapping in the name box.
bool Unsaved() {
  return mappingModified != 0 || ProgramListModified();
}

void EnableSave(HWND dialog) {
  EnableWindow(GetDlgItem(dialog, kSave), Unsaved());
}

void EnableDelete(HWND dialog, const std::string& name) {
  EnableWindow(GetDlgItem(dialog, kDelete), !IsGenericMapping(name));
}

int CheckUnsavedMapping(HWND dialog, std::string* name, int mode) {
  *name = NameBoxText(dialog);
  if (!Unsaved()) return kNothingToSave;
  // "Empty" may be linked to programs; only its slots cannot be saved.
  if (!IsGenericMapping(*name) || mappingModified == 0) {
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

// A name that cannot be one mapping's key (see MappingNameStorable) is refused:
// the box says why, and the user corrects the name in the name box.
void RefuseName(HWND dialog) {
  typedNameRefusalPosted = false;
  MessageBoxA(dialog, Texts().badName, Texts().caption, MB_OK | MB_ICONEXCLAMATION);
  FocusNameBox(dialog);
  SendDlgItemMessageA(dialog, kNameBox, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
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

// False when nothing was saved or loaded: the name was refused.
bool SaveMapping(HWND dialog) {
  std::string name;
  const int verdict = CheckUnsavedMapping(dialog, &name, kSave);
  if (verdict == kGenericName) {
    FocusNameBox(dialog);
    return false;
  }
  if (verdict != kSaveNow && verdict != kNothingToSave) return false;
  if (!MappingNameStorable(FullNameBoxText(dialog))) {
    RefuseName(dialog);
    return false;
  }
  if (verdict == kSaveNow) {
    // Nothing is saved while the list holds an entry that is no program.
    if (!CheckProgramList(dialog)) return false;
    if (mappingModified != 0) {
      StoreWorkingSet(userRegistry, name, mappingModified);
      SetCurrentMappingName(userRegistry, name);
    }
    if (ProgramListModified()) SaveProgramList(dialog, name);
  } else {
    LoadMapping(userRegistry, name);
    ShowProgramList(dialog, name);
  }
  mappingModified = 0;
  EnableSave(dialog);
  return true;
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
      if (SaveMapping(dialog)) EndMappingDialog(dialog);
      return;
    case kNothingToSave:
      // After a No the active mapping keeps the unsaved changes.
      EndMappingDialog(dialog);
      return;
    default:
      return;
  }
}

void DeleteMapping(HWND dialog) {
  InstallDefaultMappings(userRegistry);
  const std::string name = NameBoxText(dialog);
  if (IsGenericMapping(name)) {
    MessageBoxA(dialog, Texts().deleteRefusal, Texts().deleteCaption, MB_OK | MB_ICONSTOP);
    return;
  }
  // A name with a backslash would reach into another mapping's key.
  if (!name.empty() && !MappingNameStorable(FullNameBoxText(dialog))) {
    RefuseName(dialog);
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
  ShowProgramList(dialog, NameBoxText(dialog));
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
      return SaveMapping(dialog);
    default:
      return true;
  }
}

// The name box shows name again: the mapping in force when a change was refused.
void ShowNameAgain(HWND dialog, const std::string& name) {
  HWND box = GetDlgItem(dialog, kNameBox);
  const LRESULT index = SendMessageA(box, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(name.c_str()));
  SendMessageA(box, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  if (index == CB_ERR) SetWindowTextA(box, name.c_str());
}

// The hidden New button: the active mapping starts again from "Empty".
void NewMapping(HWND dialog) {
  if (!SettleUnsaved(dialog, kNew)) return;
  ClearMapping(userRegistry, "", false);
  StoreWorkingSet(userRegistry, kGenericMappingName, mappingModified);
  SelectName(dialog, kGenericMappingName);
  ShowProgramList(dialog, kGenericMappingName);
  RefreshSlotLabels(dialog);
}

void NameChosen(HWND dialog) {
  // While the box tells of the change, its text is still the name it showed.
  const std::string inForce = NameBoxText(dialog);
  if (!SettleUnsaved(dialog, kClose)) {
    // Staying means staying with the mapping in force, in the box too: a later
    // Save must not copy it over the mapping that was picked.
    ShowNameAgain(dialog, inForce);
    return;
  }
  const std::string name = SelectedName(dialog);
  if (name.empty()) return;
  LoadMapping(userRegistry, name);
  ShowProgramList(dialog, name);
  RefreshSlotLabels(dialog);
  EnableDelete(dialog, name);
  EnableSave(dialog);
}

// A name typed that no mapping has: the active mapping is copied under it.
void NameTyped(HWND dialog) {
  const std::string name = FullNameBoxText(dialog);
  HWND box = GetDlgItem(dialog, kNameBox);
  if (name.empty() || SendMessageA(box, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                   reinterpret_cast<LPARAM>(name.c_str())) != CB_ERR) {
    return;
  }
  if (!MappingNameStorable(name)) {
    // Told once the focus has gone where it was going, unless the dialog ends.
    if (!dialogEnding && !typedNameRefusalPosted) {
      typedNameRefusalPosted = true;
      PostMessageA(dialog, kRefuseTypedName, 0, 0);
    }
    return;
  }
  SelectName(dialog, name);
  StoreWorkingSet(userRegistry, name, mappingModified);
  SetCurrentMappingName(userRegistry, name);
  StartNewProgramList(dialog);
  RefreshSlotLabels(dialog);
  EnableDelete(dialog, name);
  EnableSave(dialog);
}

void Paint(HWND dialog) {
  PAINTSTRUCT paint;
  HDC target = BeginPaint(dialog, &paint);
  RECT area;
  if (GetControlRectInDialog(dialog, kPictureFrame, &area) &&
      DrawScaledPicture(target, kDevicePicture, area)) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    // Sized by the area, which the dialog's units make follow the DPI.
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
  EndPaint(dialog, &paint);
  ValidateRect(GetDlgItem(dialog, kPictureFrame), nullptr);
  // The labels draw themselves over the picture.
  for (int slot = 1; slot <= kMappingSlots; ++slot) {
    InvalidateRect(GetDlgItem(dialog, LabelOfSlot(slot)), nullptr, FALSE);
  }
}

LRESULT CALLBACK NewButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
  ++insideNewButton;
  const LRESULT result = CallWindowProcA(newButtonProcedure, button, message, wParam, lParam);
  --insideNewButton;
  return result;
}

void WatchNewButton(HWND dialog) {
  HWND button = GetDlgItem(dialog, kNew);
  if (button == nullptr) return;
  const auto previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(NewButtonProc)));
  if (previous != NewButtonProc) newButtonProcedure = previous;
}

void Initialise(HWND dialog) {
  SetDialogIcon(dialog);
  InstallDialogTooltips(dialog);
  WatchNewButton(dialog);
  dialogEnding = false;
  typedNameRefusalPosted = false;
  mappingModified = 0;
  FillNameBox(dialog);
  ShowProgramList(dialog, SelectedName(dialog));
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
      // Escape and a close request arrive as this command too: they close.
      if (insideNewButton > 0) {
        NewMapping(dialog);
      } else {
        CloseDialog(dialog);
      }
      break;
    case kNameBox:
      if (code == CBN_SELCHANGE) NameChosen(dialog);
      if (code == CBN_KILLFOCUS) NameTyped(dialog);
      break;
    case kProgramsField:
      if (OnProgramsFieldCommand(code)) EnableSave(dialog);
      break;
    case kAddProgram:
      if (AddRunningProgram(dialog)) EnableSave(dialog);
      break;
    default:
      break;
  }
}

INT_PTR CALLBACK MappingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  FollowDpiChange(dialog, message, lParam);
  if (DialogTooltipMessage(dialog, message, wParam, lParam)) return TRUE;
  switch (message) {
    case WM_INITDIALOG:
      Initialise(dialog);
      return TRUE;
    case WM_DESTROY:
      for (int picture : {kDevicePicture, kLabelNormal, kLabelFocused, kLabelPressed}) {
        ReleaseScaledPicture(picture);
      }
      return FALSE;
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
    case WM_CLOSE:
      // Another program's close request: not turned into command 2 by the
      // dialog manager, but answered as Close.
      CloseDialog(dialog);
      return TRUE;
    case kRefuseTypedName:
      // The name may have been corrected, or the dialog ended, meanwhile.
      if (typedNameRefusalPosted && !dialogEnding &&
          !MappingNameStorable(FullNameBoxText(dialog))) {
        RefuseName(dialog);
      }
      typedNameRefusalPosted = false;
      return TRUE;
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
