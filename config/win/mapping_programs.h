// The keyboard mapping dialog's "Programs:" line: the programs the named mapping
// in the name box is linked to. The field is edited freely and stored with Save
// (or the save question) like the mapping's slots.
#pragma once

#include <windows.h>

#include <string>

namespace astro {

constexpr int kProgramsField = 2001;
constexpr int kAddProgram = 2002;

// The field shows the stored list of mapping; nothing is unsaved in it.
void ShowProgramList(HWND dialog, const std::string& mapping);

// A mapping made from the name box's text: a list the user typed stays to be
// saved with it; a list shown from the previous mapping is not carried over,
// since two mappings would then claim the same programs.
void StartNewProgramList(HWND dialog);

// The field was edited since it was shown or saved.
bool ProgramListModified();

// Handles the field's notifications; true when the list changed.
bool OnProgramsFieldCommand(int code);

// "Add current program...": the program chosen among the running ones is added
// to the field. True when the list changed.
bool AddRunningProgram(HWND dialog);

// Every entry can be a program's file name; else the first that cannot is
// refused with a message and selected in the field, and false is returned.
bool CheckProgramList(HWND dialog);

// Stores the field's list with mapping (checked first) and shows its stored form.
void SaveProgramList(HWND dialog, const std::string& mapping);

}  // namespace astro
