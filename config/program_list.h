// The programs a named mapping is linked to, as text: file names without folder,
// separated by ";" ("proe.exe;xtop.exe"). Names compare as the system compares
// file names, without regard to case (SameNameIgnoringCase: ASCII and the
// accented letters of Windows-1252).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace astro {

constexpr char kProgramSeparator = ';';
// The longest file name the system holds (one path component).
constexpr std::size_t kMaxProgramNameLength = 255;

// The entries of a list as typed or stored: cut at every ";", blanks (spaces and
// tabs) around each entry trimmed, empty entries left out. Entries are not
// checked: one that is no file name never equals a program's.
std::vector<std::string> SplitProgramList(const std::string& text);

// Whether name can stand in a list as a program's file name: 1 to 255
// characters; no control character (below 32, and 127); none of the characters
// the system refuses in file names (\ / : * ? " < > |) nor the separator ";";
// no blank or dot at the end (the system drops them, so no file is named so);
// and not a device name (CON, PRN, AUX, NUL, COM0 to COM9, LPT0 to LPT9, in any
// case, alone or before a dot: "con.exe" is the device too).
bool ProgramNameAllowed(const std::string& name);

// The stored form of a list: the entries joined by ";" without blanks, in their
// order and spelling, each name once (a later entry equal to an earlier one
// without regard to case is dropped). Empty for no entry.
std::string JoinProgramList(const std::vector<std::string>& names);

// The list text with name appended unless it is there already (without regard
// to case), in its stored form.
std::string AddProgram(const std::string& text, const std::string& name);

// Whether the entries name the program (its file name); never for the empty name.
bool ListNamesProgram(const std::vector<std::string>& names, const std::string& program);

// The file name of a program's image path: what follows the last backslash,
// slash or colon.
std::string ProgramFileName(const std::string& path);

// What a chooser of running programs offers: the file names sorted without
// regard to case, each once (the first spelling given), without ownProgram
// and empty names.
std::vector<std::string> ProgramChoices(const std::vector<std::string>& fileNames,
                                        const std::string& ownProgram);

}  // namespace astro
