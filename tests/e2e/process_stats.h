// CPU time and private memory of host processes, read from /proc, and the Wine
// server of a prefix.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace e2e {

// User plus system CPU time of a process so far, in milliseconds.
std::optional<double> CpuTimeMs(pid_t pid);
// Resident memory of a process that no other process shares (its private clean
// and dirty pages), in kB.
std::optional<long> PrivateMemoryKb(pid_t pid);
// The wineserver that serves this prefix, if one runs.
std::optional<pid_t> FindWineserver(const std::string& prefixDir);
// The processes of this prefix whose name starts with this one (a Windows
// program's file name, as Wine names its process; the system keeps the first 15
// characters).
std::vector<pid_t> PrefixProcesses(const std::string& prefixDir, const std::string& name);

}  // namespace e2e
