#include "config/win/mapping_programs.h"

#include "config/mapping_dialog_texts.h"
#include "config/mapping_links.h"
#include "config/program_list.h"
#include "config/win/program_chooser.h"
#include "driver/win/driver_state.h"
#include "ui/win/window_text.h"

namespace astro {
namespace {

bool modified = false;
// The dialog itself sets the field's text: that is no edit.
bool settingField = false;

std::string FieldText(HWND dialog) {
  return WholeWindowText(GetDlgItem(dialog, kProgramsField));
}

void SetField(HWND dialog, const std::string& text) {
  settingField = true;
  SendDlgItemMessageA(dialog, kProgramsField, EM_LIMITTEXT, kMaxProgramListLength, 0);
  SetDlgItemTextA(dialog, kProgramsField, text.c_str());
  settingField = false;
}

// Selects the first occurrence of entry in the field, or puts the caret at its end.
void SelectInField(HWND dialog, const std::string& entry) {
  const std::string text = FieldText(dialog);
  std::size_t at = text.find(entry);
  const std::size_t end = at == std::string::npos ? (at = text.size()) : at + entry.size();
  SendDlgItemMessageA(dialog, kProgramsField, EM_SETSEL, at, end);
}

}  // namespace

void ShowProgramList(HWND dialog, const std::string& mapping) {
  SetField(dialog, JoinProgramList(ReadProgramList(userRegistry, mapping)));
  modified = false;
}

void StartNewProgramList(HWND dialog) {
  if (!modified) SetField(dialog, std::string());
}

bool ProgramListModified() {
  return modified;
}

bool OnProgramsFieldCommand(int code) {
  if (code != EN_CHANGE || settingField) return false;
  modified = true;
  return true;
}

bool AddRunningProgram(HWND dialog) {
  const std::string program = ChooseRunningProgram(dialog);
  if (program.empty()) return false;
  const MappingDialogTexts& texts = MappingDialogTextsFor(settings.language);
  if (!ProgramNameAllowed(program)) {
    MessageBoxA(dialog, BadProgramMessage(settings.language, program).c_str(), texts.caption,
                MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  const std::string list = AddProgram(FieldText(dialog), program);
  if (list.size() > kMaxProgramListLength) {
    MessageBeep(MB_ICONEXCLAMATION);
    return false;
  }
  SetField(dialog, list);
  modified = true;
  return true;
}

bool CheckProgramList(HWND dialog) {
  for (const std::string& entry : SplitProgramList(FieldText(dialog))) {
    if (ProgramNameAllowed(entry)) continue;
    MessageBoxA(dialog, BadProgramMessage(settings.language, entry).c_str(),
                MappingDialogTextsFor(settings.language).caption, MB_OK | MB_ICONEXCLAMATION);
    SetFocus(GetDlgItem(dialog, kProgramsField));
    SelectInField(dialog, entry);
    return false;
  }
  return true;
}

void SaveProgramList(HWND dialog, const std::string& mapping) {
  WriteProgramList(userRegistry, mapping, SplitProgramList(FieldText(dialog)));
  ShowProgramList(dialog, mapping);
}

}  // namespace astro
