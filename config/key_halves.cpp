#include "config/key_halves.h"

namespace astro {
namespace {

constexpr int kFieldsPerKeyEvent = kHalvesPerKeyEvent / 2;

// The fields in the order they lie in the record; Record is KeyEvent or const KeyEvent.
template <typename Record>
auto& Field(Record& event, int index) {
  switch (index) {
    case 0:
      return event.window;
    case 1:
      return event.message;
    case 2:
      return event.virtualKey;
    case 3:
      return event.keyData;
    case 4:
      return event.time;
    case 5:
      return event.pointX;
    default:
      return event.pointY;
  }
}

}  // namespace

static_assert(sizeof(KeyEvent) == kFieldsPerKeyEvent * sizeof(std::uint32_t),
              "the record is its fields without padding");

std::vector<std::uint16_t> KeyEventHalves(const KeyEvent* events, int count) {
  std::vector<std::uint16_t> halves;
  if (events == nullptr || count < 1) return halves;
  halves.reserve(static_cast<std::size_t>(count) * kHalvesPerKeyEvent);
  // Fields taken apart by value: the same sequence a little-endian copy of the
  // bytes gives, whatever machine this runs on.
  for (int i = 0; i < count; ++i) {
    for (int field = 0; field < kFieldsPerKeyEvent; ++field) {
      const std::uint32_t value = Field(events[i], field);
      halves.push_back(static_cast<std::uint16_t>(value & 0xFFFFu));
      halves.push_back(static_cast<std::uint16_t>(value >> 16));
    }
  }
  return halves;
}

void KeyListAssembler::Start(std::uint16_t count) {
  list_.assign(static_cast<std::size_t>(count) + 1, KeyEvent{});
  position_ = 0;
}

void KeyListAssembler::Add(std::uint16_t half) {
  if (list_.empty()) return;
  const std::size_t announced = (list_.size() - 1) * kHalvesPerKeyEvent;
  if (position_ >= announced) return;
  KeyEvent& event = list_[position_ / kHalvesPerKeyEvent];
  const std::size_t inRecord = position_ % kHalvesPerKeyEvent;
  std::uint32_t& field = Field(event, static_cast<int>(inRecord / 2));
  if (inRecord % 2 == 0) {
    field = (field & 0xFFFF0000u) | half;
  } else {
    field = (field & 0x0000FFFFu) | (static_cast<std::uint32_t>(half) << 16);
  }
  ++position_;
}

KeyEventList KeyListAssembler::Finish() {
  KeyEventList list;
  list.swap(list_);
  position_ = 0;
  if (list.empty()) list.push_back(KeyEvent{});
  return list;
}

}  // namespace astro
