// What the system tells about the process behind a window, for the keyboard
// mapping linked to the program in front.
#pragma once

#include <windows.h>

#include <cstdint>

#include "delivery/program_names.h"

namespace astro {

// Opens the process with limited query rights for each question: a process
// that cannot be opened (gone, or another user's) cannot be asked.
class WinProcessQuery : public ProcessQuery {
 public:
  bool CreationTime(std::uint32_t processId, std::uint64_t* time) override;
  bool ImagePath(std::uint32_t processId, std::string* path) override;
};

// The process of the foreground window, the one the keys go to; 0 for none.
std::uint32_t ForegroundProcessId();

// The file name of the program in front, asked through names kept by `names`.
std::string ProgramInFrontOf(ProgramNames& names);

}  // namespace astro
