// How the driver and astrohook32.exe, the host of the activation hook for 32-bit
// programs, talk: the host's command line is its program name, the driver's
// process id and the value of an inherited event handle that the host sets once
// its hook is in place, both in decimal; its exit code tells why it ended. The
// host has no C runtime, so this is plain loops over characters.
#pragma once

#include <cstddef>
#include <cstdint>

namespace astro {

enum HostExitCode : unsigned {
  kHostEnded = 0,           // told to quit, or its driver has gone
  kHostBadArguments = 1,    // no readable arguments, or no such driver process
  kHostLibraryMissing = 2,  // astrohook32.dll could not be loaded
  kHostHookRefused = 3,     // the library has no AstrolabHookOn, or it returned 0
};

struct HostArguments {
  std::uint32_t driverProcessId = 0;
  std::uint32_t readyEvent = 0;
};

namespace host_protocol {

inline const char* SkipBlanks(const char* text) {
  while (*text == ' ' || *text == '\t') ++text;
  return text;
}

// Reads decimal digits up to a blank or the end; false on anything else, on no
// digits and beyond 32 bits.
inline bool ReadNumber(const char** text, std::uint32_t* value) {
  const char* at = *text;
  std::uint64_t number = 0;
  if (*at < '0' || *at > '9') return false;
  for (; *at >= '0' && *at <= '9'; ++at) {
    number = number * 10 + static_cast<std::uint64_t>(*at - '0');
    if (number > 0xFFFFFFFFu) return false;
  }
  if (*at != '\0' && *at != ' ' && *at != '\t') return false;
  *value = static_cast<std::uint32_t>(number);
  *text = at;
  return true;
}

// Appends the decimal digits of value at *at, as long as they fit before end.
inline bool WriteNumber(std::uint32_t value, char** at, char* end) {
  char digits[10];
  std::size_t count = 0;
  do {
    digits[count++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  if (static_cast<std::size_t>(end - *at) < count) return false;
  while (count > 0) *(*at)++ = digits[--count];
  return true;
}

}  // namespace host_protocol

// Reads the two numbers behind the program's name (quoted, or up to the first
// blank) in a whole command line. False unless there are exactly two.
inline bool ReadHostArguments(const char* commandLine, HostArguments* arguments) {
  using namespace host_protocol;
  const char* at = SkipBlanks(commandLine);
  if (*at == '"') {
    do {
      ++at;
    } while (*at != '\0' && *at != '"');
    if (*at != '"') return false;
    ++at;
  } else {
    while (*at != '\0' && *at != ' ' && *at != '\t') ++at;
  }
  HostArguments read;
  at = SkipBlanks(at);
  if (!ReadNumber(&at, &read.driverProcessId)) return false;
  at = SkipBlanks(at);
  if (!ReadNumber(&at, &read.readyEvent)) return false;
  if (*SkipBlanks(at) != '\0') return false;
  *arguments = read;
  return true;
}

// Writes "<program> <driver process id> <event>" and a terminating zero into
// buffer; false when that does not fit into size bytes.
inline bool WriteHostCommandLine(const char* program, const HostArguments& arguments, char* buffer,
                                 std::size_t size) {
  using namespace host_protocol;
  if (size == 0) return false;
  char* at = buffer;
  char* const end = buffer + size - 1;  // room for the zero
  for (const char* c = program; *c != '\0'; ++c) {
    if (at == end) return false;
    *at++ = *c;
  }
  const std::uint32_t numbers[] = {arguments.driverProcessId, arguments.readyEvent};
  for (const std::uint32_t number : numbers) {
    if (at == end) return false;
    *at++ = ' ';
    if (!WriteNumber(number, &at, end)) return false;
  }
  *at = '\0';
  return true;
}

}  // namespace astro
