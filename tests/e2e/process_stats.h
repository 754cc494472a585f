// CPU time and private memory of host processes, read from /proc, and the Wine
// server of a prefix.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

namespace e2e {

// User plus system CPU time of a process so far, in milliseconds.
std::optional<double> CpuTimeMs(pid_t pid);
// Resident memory of a process that no other process shares (its private clean
// and dirty pages), in kB.
std::optional<long> PrivateMemoryKb(pid_t pid);
// The wineserver that serves this prefix, if one runs.
std::optional<pid_t> FindWineserver(const std::string& prefixDir);

}  // namespace e2e
