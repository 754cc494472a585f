// Binding the activation hook library, astrohook.dll, which the program carries
// as its own resource (type "DLL", id 266).
#pragma once

#include <windows.h>

namespace astro {

constexpr char kHookLibraryFile[] = "astrohook.dll";

// Milliseconds the driver waits for a hook to be installed at start-up.
constexpr DWORD kHookStartWaitMs = 10000;

// Writes the program's resource of type "DLL" with this id into the file of
// that name in the current directory, replacing any file there. 1, or -1 when
// the file cannot be written whole (a partly written file is removed).
int ExtractHookFile(int resourceId, const char* fileName);

// The same for the library, "astrohook.dll" from resource 266.
int ExtractHookLibrary();

// Loads the library by name through the system's search, writing it out first
// when that fails, and installs its hook. The hook handle, or 0 when the library
// or its export is missing or the hook is refused: the driver then runs without
// activation tracking.
HHOOK BindHookLibrary();

// Binds the library on a thread of its own that then only handles messages, and
// returns the hook handle once it is installed (0 as above, or when the thread
// does not report within 10 s). The system calls a hook for the programs of the
// other bitness on the thread that installed it: no such program may wait while
// the main thread beeps, sends device commands or runs a dialog.
HHOOK StartHookThread();

}  // namespace astro
