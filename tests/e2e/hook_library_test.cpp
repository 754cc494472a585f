// The hook's files as built: the system maps the library (and its 32-bit build)
// into every process of the desktop, so it must carry no runtime, and neither
// does the 32-bit program that installs it. Read from their headers with the
// cross objdump: no TLS directory, no constructor or TLS sections, imports from
// system libraries only, their own entry points, and the libraries export
// AstrolabHookOn by its plain name.
#include <gmock/gmock.h>
#include <stdio.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <sstream>

#include "tests/e2e/harness_paths.h"

namespace e2e {
namespace {

// One file of the hook, and how to read it.
struct HookFile {
  std::string path;
  const char* objdump;
  const char* entrySymbol;  // as the file's symbol table names it
  bool library;
};

std::vector<HookFile> HookFiles() {
  const std::string hook32 = Windows32BinDir() + "/../hook/";
  return {
      {WindowsBinDir() + "/../hook/astrohook.dll", "x86_64-w64-mingw32-objdump", "DllMain", true},
      // 32-bit stdcall symbols: an underscore before, the argument bytes after.
      {hook32 + "astrohook32.dll", "i686-w64-mingw32-objdump", "_DllMain@12", true},
      {hook32 + "astrohook32.exe", "i686-w64-mingw32-objdump", "_HostMain@0", false}};
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::vector<std::string> CommandLines(const std::string& command) {
  std::vector<std::string> lines;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return lines;
  char buffer[1024];
  while (fgets(buffer, sizeof buffer, pipe) != nullptr) {
    std::string line(buffer);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    lines.push_back(line);
  }
  pclose(pipe);
  return lines;
}

// What `objdump -p -h -t` tells of a PE library.
struct LibraryHeaders {
  bool read = false;
  unsigned long long imageBase = 0;
  unsigned long long entryPoint = 0;    // relative to the image base
  unsigned long long tlsDirectory = 0;  // data directory 9: its address
  std::set<std::string> importedLibraries;
  std::set<std::string> exports;
  std::set<std::string> sections;
  std::vector<unsigned long long> sectionAddresses;  // by index, in the image
  // Symbols by name: section number (from 1) and offset in that section.
  std::map<std::string, std::pair<std::size_t, unsigned long long>> symbols;

  // A symbol's address relative to the image base; 0 when unknown.
  unsigned long long SymbolAddress(const std::string& name) const {
    const auto symbol = symbols.find(name);
    if (symbol == symbols.end() || symbol->second.first == 0 ||
        symbol->second.first > sectionAddresses.size()) {
      return 0;
    }
    return sectionAddresses[symbol->second.first - 1] - imageBase + symbol->second.second;
  }
};

LibraryHeaders ReadHeaders(const std::string& objdump, const std::string& path) {
  LibraryHeaders headers;
  bool inExportNames = false;
  for (const std::string& line : CommandLines(objdump + " -p -h -t '" + path + "' 2>/dev/null")) {
    std::istringstream words(line);
    std::string first;
    words >> first;
    if (first == "ImageBase") {
      words >> std::hex >> headers.imageBase;
      headers.read = true;
    } else if (first == "AddressOfEntryPoint") {
      words >> std::hex >> headers.entryPoint;
    } else if (first == "Entry" && line.find("Thread Storage Directory") != std::string::npos) {
      int index = 0;
      words >> index >> std::hex >> headers.tlsDirectory;
    } else if (first == "DLL" && line.find("DLL Name:") != std::string::npos) {
      headers.importedLibraries.insert(Lower(line.substr(line.find(':') + 2)));
    } else if (line.find("[Ordinal/Name Pointer] Table") != std::string::npos) {
      inExportNames = true;
    } else if (inExportNames && first == "[") {
      // "	[   0] AstrolabHookOn"
      headers.exports.insert(line.substr(line.find(']') + 2));
    } else if (inExportNames) {
      inExportNames = false;
    }
    // Section lines of -h: "  0 .text  00000110  00000003b7821000  ..." (index, name,
    // size, address)
    std::istringstream section(line);
    std::size_t sectionIndex = 0;
    std::string name;
    unsigned long long size = 0;
    unsigned long long address = 0;
    if (section >> sectionIndex >> name >> std::hex >> size >> address &&
        sectionIndex == headers.sectionAddresses.size()) {
      headers.sections.insert(name);
      headers.sectionAddresses.push_back(address);
    }
    // Symbol lines of -t: "[  8](sec  1)(fl 0x00)(ty   20)(scl   2) (nx 0) 0x00000000000000a0
    // DllMain"
    const std::size_t sectionAt = line.find("(sec");
    const std::size_t valueAt = line.find(") 0x");
    if (line.rfind("[", 0) == 0 && sectionAt != std::string::npos && valueAt != std::string::npos) {
      std::size_t number = 0;
      std::istringstream(line.substr(sectionAt + 4)) >> number;
      std::istringstream symbol(line.substr(valueAt + 2));
      unsigned long long value = 0;
      std::string symbolName;
      if (symbol >> std::hex >> value >> symbolName) headers.symbols[symbolName] = {number, value};
    }
  }
  return headers;
}

TEST(HookLibraryTest, CarriesNoRuntime) {
  for (const HookFile& file : HookFiles()) {
    SCOPED_TRACE(file.path);
    const std::string objdump = FindOnPath(file.objdump);
    ASSERT_FALSE(objdump.empty()) << file.objdump << " is not installed";
    ASSERT_TRUE(FileExists(file.path)) << "missing: build the Windows programs first";

    const LibraryHeaders headers = ReadHeaders(objdump, file.path);
    ASSERT_TRUE(headers.read) << objdump << " could not read it";

    EXPECT_EQ(headers.tlsDirectory, 0u) << "it has a TLS directory";
    for (const char* section : {".tls", ".CRT", ".ctors", ".dtors"}) {
      EXPECT_EQ(headers.sections.count(section), 0u) << "it has a " << section << " section";
    }
    // The system libraries a hook needs; a runtime would add msvcrt.dll or another.
    const std::set<std::string> system = {"user32.dll", "kernel32.dll"};
    EXPECT_THAT(headers.importedLibraries, ::testing::Contains("user32.dll"));
    for (const std::string& imported : headers.importedLibraries) {
      EXPECT_EQ(system.count(imported), 1u) << "it imports " << imported;
    }
    if (file.library) {
      EXPECT_THAT(headers.exports, ::testing::Contains("AstrolabHookOn"));
    }

    const unsigned long long entry = headers.SymbolAddress(file.entrySymbol);
    ASSERT_NE(entry, 0u) << "no " << file.entrySymbol << " among its symbols";
    EXPECT_EQ(headers.entryPoint, entry) << "the entry point is not its own " << file.entrySymbol;
  }
}

}  // namespace
}  // namespace e2e
