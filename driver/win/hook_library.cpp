#include "driver/win/hook_library.h"

namespace astro {
namespace {

constexpr int kHookLibraryResource = 266;

bool WriteWhole(HANDLE file, const void* data, DWORD size) {
  DWORD written = 0;
  return WriteFile(file, data, size, &written, nullptr) && written == size;
}

// Shared with the hook's thread, which outlives any wait for it.
struct HookStart {
  HANDLE installed = nullptr;
  HHOOK hook = nullptr;
};
HookStart hookStart;

DWORD WINAPI HookThread(LPVOID) {
  // The thread's message queue exists before the hook does: the system's calls
  // for other programs arrive there.
  MSG message;
  PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
  hookStart.hook = BindHookLibrary();
  SetEvent(hookStart.installed);
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}

}  // namespace

int ExtractHookFile(int resourceId, const char* fileName) {
  HRSRC resource = FindResourceA(nullptr, MAKEINTRESOURCEA(resourceId), "DLL");
  HGLOBAL loaded = resource != nullptr ? LoadResource(nullptr, resource) : nullptr;
  const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (data == nullptr) return -1;
  const DWORD size = SizeofResource(nullptr, resource);

  HANDLE file = CreateFileA(fileName, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return -1;
  const bool written = WriteWhole(file, data, size);
  const bool closed = CloseHandle(file) != FALSE;
  if (written && closed) return 1;
  // A truncated file would be found by name at the next start.
  DeleteFileA(fileName);
  return -1;
}

int ExtractHookLibrary() {
  return ExtractHookFile(kHookLibraryResource, kHookLibraryFile);
}

HHOOK BindHookLibrary() {
  HMODULE library = LoadLibraryA(kHookLibraryFile);
  if (library == nullptr) {
    ExtractHookLibrary();
    library = LoadLibraryA(kHookLibraryFile);
  }
  if (library == nullptr) return nullptr;
  using HookOn = HHOOK(WINAPI*)();
  // Through void*: a function pointer of another type is what GetProcAddress means.
  const auto hookOn =
      reinterpret_cast<HookOn>(reinterpret_cast<void*>(GetProcAddress(library, "AstrolabHookOn")));
  return hookOn != nullptr ? hookOn() : nullptr;
}

HHOOK StartHookThread() {
  hookStart.installed = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (hookStart.installed == nullptr) return nullptr;
  HANDLE thread = CreateThread(nullptr, 0, HookThread, nullptr, 0, nullptr);
  if (thread == nullptr) return nullptr;
  CloseHandle(thread);
  if (WaitForSingleObject(hookStart.installed, kHookStartWaitMs) != WAIT_OBJECT_0) return nullptr;
  return hookStart.hook;
}

}  // namespace astro
