#include "tests/e2e/harness_paths.h"

#include <unistd.h>

#include <cstdlib>
#include <sstream>

extern char** environ;

namespace e2e {

std::string WindowsBinDir() {
  return ASTRO_WINDOWS_BIN;
}

std::string WindowsProgram(const std::string& exeName) {
  return WindowsBinDir() + "/" + exeName;
}

std::string Windows32BinDir() {
  return ASTRO_WINDOWS32_BIN;
}

std::string Windows32Program(const std::string& exeName) {
  return Windows32BinDir() + "/" + exeName;
}

std::string HarnessDir() {
  return ASTRO_E2E_DIR;
}

bool FileExists(const std::string& path) {
  return access(path.c_str(), F_OK) == 0;
}

std::string FindOnPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::istringstream directories(path != nullptr ? path : "/usr/bin:/bin");
  std::string directory;
  while (std::getline(directories, directory, ':')) {
    const std::string candidate = (directory.empty() ? "." : directory) + "/" + program;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return "";
}

std::vector<std::string> BaseEnvironment() {
  static const char* const kOwnVariables[] = {
      "DISPLAY=", "WINEPREFIX=", "WINEDEBUG=", "WINEDLLOVERRIDES=", "WINESERVER="};
  std::vector<std::string> environment;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string text = *entry;
    bool own = false;
    for (const char* name : kOwnVariables) own = own || text.rfind(name, 0) == 0;
    if (!own) environment.push_back(text);
  }
  return environment;
}

}  // namespace e2e
