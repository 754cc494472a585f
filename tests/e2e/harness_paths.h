// Where the harness finds the Windows programs, its own directory and the host
// tools (Wine, Xvfb).
#pragma once

#include <string>
#include <vector>

namespace e2e {

// The cross-built programs (astrodriver.exe, test_client.exe, probe.exe, ...).
std::string WindowsBinDir();
std::string WindowsProgram(const std::string& exeName);
// The 32-bit ones (test_client32.exe); the 32-bit hook's files are in its ../hook.
std::string Windows32BinDir();
std::string Windows32Program(const std::string& exeName);
// <native build dir>/e2e: worker slots and their prefixes.
std::string HarnessDir();
// Full path of a program on PATH, or empty.
std::string FindOnPath(const std::string& program);
bool FileExists(const std::string& path);
// The harness's environment without the variables each session sets itself.
std::vector<std::string> BaseEnvironment();

}  // namespace e2e
