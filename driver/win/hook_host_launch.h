// The activation hook for 32-bit programs, which the 64-bit library cannot be
// mapped into: astrohook32.exe, a small 32-bit program that installs the same
// hook from astrohook32.dll. The driver carries both as resources (type "DLL",
// 267 the library, 268 the program) and writes them out when they are missing.
#pragma once

#include <windows.h>

namespace astro {

constexpr char kHookHostFile[] = "astrohook32.exe";
constexpr char kHookLibrary32File[] = "astrohook32.dll";

// Starts astrohook32.exe by name through the system's search and waits until its
// hook is in place (at most 10 s). When it cannot be started or cannot load its
// library, both files are written into the current directory and it is started
// once more. False when it does not run in the end (no 32-bit Wine or system, a
// directory that takes no files, a refused hook): the driver then runs as
// without it, and reports nothing.
bool StartHookHost();

// Tells a running host to release its hook and end, and ends it after a short
// wait if it has not. The host also ends by itself when the driver's process
// ends.
void EndHookHost();

}  // namespace astro
