#include "delivery/win/push_log_file.h"

#include <cstdio>

namespace astro {

void PushLogFile::AppendLine(const std::string& line) {
  std::FILE* file = std::fopen(kPushLogPath, "a");
  if (file == nullptr) return;
  std::fputs(line.c_str(), file);
  std::fclose(file);
}

}  // namespace astro
