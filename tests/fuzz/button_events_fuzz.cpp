// Reads arbitrary bytes as a button's stored value, the way playback and the
// mapping dialog do, and checks the list against the bytes it came from: the
// length limit, one event per leading entry of a known kind, and a stored form
// that reads back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "config/mapping_store.h"
#include "config/memory_registry.h"
#include "config/stored_events.h"

namespace {

using namespace astro;

const std::string kKey = std::string(kSettingsKeyPath) + "\\Fuzzed";

void Check(bool condition) {
  if (!condition) std::abort();
}

bool IsKeyMessage(std::uint32_t message) {
  return message == 0x100 || message == 0x101 || message == 0x104 || message == 0x105;
}

// The events must be exactly the leading entries of the input whose kind is 1 to 4.
void CheckAgainstInput(const KeyEventList& list, const std::uint8_t* data, std::size_t size) {
  const std::size_t wholeEntries = size / 4 < 512 ? size / 4 : 512;
  Check(!list.empty() && list.back().message == 0);
  const std::size_t count = list.size() - 1;
  Check(static_cast<std::size_t>(CountKeyEvents(list.data())) == count);
  Check(count <= wholeEntries);
  for (std::size_t i = 0; i < count; ++i) {
    const KeyEvent& e = list[i];
    const std::uint8_t* entry = data + 4 * i;
    Check(entry[0] >= 1 && entry[0] <= 4);
    Check(IsKeyMessage(e.message));
    Check(e.message == (entry[0] <= 2 ? 0xFFu + entry[0] : 0x101u + entry[0]));
    Check(e.keyData == static_cast<std::uint32_t>(entry[1]) << 16);
    Check(e.virtualKey == (entry[2] | static_cast<std::uint32_t>(entry[3]) << 8));
    Check(e.window == 0 && e.time == 0 && e.pointX == 0 && e.pointY == 0);
  }
  // The list stops only at an entry that does not describe a key event.
  if (count < wholeEntries) Check(data[4 * count] == 0 || data[4 * count] > 4);
}

void CheckSameEvents(const KeyEventList& a, const KeyEventList& b) {
  Check(a.size() == b.size());
  for (std::size_t i = 0; i < a.size(); ++i) {
    Check(a[i].message == b[i].message);
    Check(ScanCode(a[i]) == ScanCode(b[i]));
    Check(a[i].virtualKey == b[i].virtualKey);
  }
}

void CheckStoredFormReadsBack(MemoryRegistry& registry, const KeyEventList& list,
                              const std::uint8_t* data) {
  const std::size_t count = list.size() - 1;
  const std::vector<std::uint8_t> stored = EncodeStoredEvents(list.data());
  Check(stored.size() == 4 * count + 4);
  // Every entry that was read is written back as it was, then the end entry.
  for (std::size_t i = 0; i < 4 * count; ++i) Check(stored[i] == data[i]);
  for (std::size_t i = 4 * count; i < stored.size(); ++i) Check(stored[i] == 0);
  CheckSameEvents(DecodeStoredEvents(stored.data(), stored.size()), list);

  // The same through the registry, as copying a mapping does it.
  WriteButtonEvents(registry, kKey, 2, list.data());
  const std::optional<KeyEventList> again = ReadButtonEvents(registry, kKey, 2);
  if (count == 0) {
    Check(!again.has_value());  // an empty list writes nothing
  } else if (stored.size() > kMaxButtonValueBytes) {
    // 512 events from a value without end entry: with the end entry added the
    // copy is over the limit and reads as unassigned.
    Check(!again.has_value());
  } else {
    Check(again.has_value());
    CheckSameEvents(*again, list);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  MemoryRegistry registry;
  registry.Put(kKey, "Button1", std::string(reinterpret_cast<const char*>(data), size),
               ValueType::kBinary);
  const std::optional<KeyEventList> list = ReadButtonEvents(registry, kKey, 1);
  if (size > kMaxButtonValueBytes) {
    Check(!list.has_value());
    return 0;
  }
  Check(list.has_value());
  CheckAgainstInput(*list, data, size);
  CheckStoredFormReadsBack(registry, *list, data);
  return 0;
}
