#include "tests/e2e/process_stats.h"

#include <dirent.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

namespace e2e {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace

std::optional<double> CpuTimeMs(pid_t pid) {
  const std::string stat = ReadFile("/proc/" + std::to_string(pid) + "/stat");
  // The command name is in parentheses and may hold spaces: count from its end.
  const std::size_t close = stat.rfind(')');
  if (close == std::string::npos) return std::nullopt;
  std::istringstream fields(stat.substr(close + 1));
  std::vector<std::string> values{std::istream_iterator<std::string>(fields),
                                  std::istream_iterator<std::string>()};
  // values[0] is field 3 (state); utime and stime are fields 14 and 15.
  if (values.size() < 13) return std::nullopt;
  const double ticks = std::stod(values[11]) + std::stod(values[12]);
  return ticks * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

std::optional<long> PrivateMemoryKb(pid_t pid) {
  std::istringstream rollup(ReadFile("/proc/" + std::to_string(pid) + "/smaps_rollup"));
  long total = 0;
  int found = 0;
  std::string name;
  long kb = 0;
  while (rollup >> name) {
    if ((name == "Private_Clean:" || name == "Private_Dirty:") && rollup >> kb) {
      total += kb;
      ++found;
    }
  }
  if (found != 2) return std::nullopt;
  return total;
}

std::optional<pid_t> FindWineserver(const std::string& prefixDir) {
  const std::vector<pid_t> servers = PrefixProcesses(prefixDir, "wineserver");
  if (servers.empty()) return std::nullopt;
  return servers.front();
}

std::vector<pid_t> PrefixProcesses(const std::string& prefixDir, const std::string& name) {
  std::vector<pid_t> found;
  DIR* proc = opendir("/proc");
  if (proc == nullptr) return found;
  const std::string wanted = "WINEPREFIX=" + prefixDir;
  const std::string shown = name.substr(0, 15);
  while (dirent* entry = readdir(proc)) {
    char* end = nullptr;
    const long pid = std::strtol(entry->d_name, &end, 10);
    if (*end != '\0' || pid <= 0) continue;
    const std::string base = std::string("/proc/") + entry->d_name;
    if (ReadFile(base + "/comm").rfind(shown, 0) != 0) continue;
    std::istringstream environment(ReadFile(base + "/environ"));
    std::string variable;
    bool ours = false;
    while (!ours && std::getline(environment, variable, '\0')) ours = variable == wanted;
    if (ours) found.push_back(static_cast<pid_t>(pid));
  }
  closedir(proc);
  return found;
}

}  // namespace e2e
