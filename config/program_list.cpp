#include "config/program_list.h"

#include <algorithm>
#include <cstring>

#include "config/case_folding.h"

namespace astro {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// CON, PRN, AUX, NUL, COM0..COM9 and LPT0..LPT9: the part before the first dot
// (with the blanks the system drops before it) names a device.
bool IsDeviceName(const std::string& name) {
  std::string base = name.substr(0, name.find('.'));
  while (!base.empty() && IsBlank(base.back())) base.pop_back();
  for (const char* device : {"CON", "PRN", "AUX", "NUL"}) {
    if (SameNameIgnoringCase(base, device)) return true;
  }
  if (base.size() != 4 || base[3] < '0' || base[3] > '9') return false;
  const std::string port = base.substr(0, 3);
  return SameNameIgnoringCase(port, "COM") || SameNameIgnoringCase(port, "LPT");
}

}  // namespace

std::vector<std::string> SplitProgramList(const std::string& text) {
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(kProgramSeparator, start);
    if (end == std::string::npos) end = text.size();
    std::size_t first = start;
    std::size_t last = end;
    while (first < last && IsBlank(text[first])) ++first;
    while (last > first && IsBlank(text[last - 1])) --last;
    if (last > first) names.push_back(text.substr(first, last - first));
    start = end + 1;
  }
  return names;
}

bool ProgramNameAllowed(const std::string& name) {
  if (name.empty() || name.size() > kMaxProgramNameLength) return false;
  for (char c : name) {
    const auto code = static_cast<unsigned char>(c);
    if (code < 0x20 || code == 0x7F) return false;
    if (std::strchr("\\/:*?\"<>|;", c) != nullptr) return false;
  }
  if (name.back() == '.' || name.back() == ' ') return false;
  return !IsDeviceName(name);
}

std::string JoinProgramList(const std::vector<std::string>& names) {
  std::string text;
  for (std::size_t i = 0; i < names.size(); ++i) {
    const auto earlier = names.begin() + static_cast<std::ptrdiff_t>(i);
    if (std::find_if(names.begin(), earlier, [&](const std::string& name) {
          return SameNameIgnoringCase(name, names[i]);
        }) != earlier) {
      continue;
    }
    if (!text.empty()) text += kProgramSeparator;
    text += names[i];
  }
  return text;
}

std::string AddProgram(const std::string& text, const std::string& name) {
  std::vector<std::string> names = SplitProgramList(text);
  names.push_back(name);
  return JoinProgramList(names);
}

bool ListNamesProgram(const std::vector<std::string>& names, const std::string& program) {
  if (program.empty()) return false;
  return std::any_of(names.begin(), names.end(),
                     [&](const std::string& name) { return SameNameIgnoringCase(name, program); });
}

std::string ProgramFileName(const std::string& path) {
  const std::size_t cut = path.find_last_of("\\/:");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::vector<std::string> ProgramChoices(const std::vector<std::string>& fileNames,
                                        const std::string& ownProgram) {
  std::vector<std::string> choices;
  for (const std::string& name : fileNames) {
    if (!name.empty() && !SameNameIgnoringCase(name, ownProgram)) choices.push_back(name);
  }
  std::stable_sort(choices.begin(), choices.end(), NameBeforeIgnoringCase);
  choices.erase(std::unique(choices.begin(), choices.end(), SameNameIgnoringCase), choices.end());
  return choices;
}

}  // namespace astro
