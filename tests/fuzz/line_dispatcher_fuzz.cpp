// Feeds arbitrary bytes to the line decoder the way the main loop does: in reads
// no larger than the room left, each followed by a dispatch. Input layout: one
// byte of settings, then pairs of (read size, bytes of that read). The settings
// byte modulo 3 is modeChangeable; bit 2 is nAdoptFlag, 3 an open panel, 4
// hintviewAllowed, 5 hintviewActive, 6 repairs the checksums of short motion lines.
//
// Besides the buffer's invariants, every feeding is held against a model of the
// line cutting (what the buffer must hold after each read and dispatch) and
// against a motion decoder written here from the packet rules alone. The same
// bytes are fed twice more, in the largest reads that fit and one byte at a time;
// when no feeding dropped an over-long partial line, all three must hand off
// exactly the same things in the same order.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "driver/device_alphabet.h"
#include "driver/device_link.h"
#include "tests/sextet_rule.h"

namespace {

using namespace astro;
using testing::RuleCharacter;

void Check(bool condition) {
  if (!condition) std::abort();
}

constexpr std::size_t kLongestKeptPartial = 128;
constexpr std::size_t kMostTextHeld = 255;

// One hand-off of the decoder. Motion: the six axes, then hintviewAllowed,
// hintviewActive and hintviewCapable as they are at delivery. Buttons: the mask.
// Command: its length, then its bytes. Note: code and value. Repaint: nothing.
struct Event {
  char kind = 0;  // 'M', 'B', 'S', 'N', 'R'
  std::array<std::int64_t, 9> values{};
  bool operator==(const Event& other) const { return kind == other.kind && values == other.values; }
};

class RecordingHost : public DeviceLinkHost {
 public:
  RecordingHost(const DeliveryContext& context, const SettingsRecord& settings,
                const RuntimeFlags& flags)
      : context_(context), settings_(settings), flags_(flags) {}

  void SendCommand(const char* text, std::size_t length) override {
    Check(length <= 8);
    Event event{'S', {}};
    event.values[0] = static_cast<std::int64_t>(length);
    for (std::size_t i = 0; i < length; ++i) event.values[i + 1] = text[i];
    log.push_back(event);
  }
  void DeliverMotion() override {
    Event event{'M', {}};
    for (int i = 0; i < kAxisCount; ++i) event.values[i] = context_.axis[i];
    event.values[6] = settings_.hintviewAllowed;
    event.values[7] = flags_.hintviewActive;
    event.values[8] = flags_.hintviewCapable;
    log.push_back(event);
  }
  void DeliverButtons(std::uint32_t mask) override { log.push_back(Event{'B', {mask}}); }
  bool PanelOpen() override { return panelOpen; }
  void PostPanelNote(std::uint32_t code, std::int32_t value) override {
    log.push_back(Event{'N', {code, value}});
  }
  void RepaintPanel() override { log.push_back(Event{'R', {}}); }

  bool panelOpen = false;
  std::vector<Event> log;

 private:
  const DeliveryContext& context_;
  const SettingsRecord& settings_;
  const RuntimeFlags& flags_;
};

// What the receive buffer must hold: the received bytes without zero bytes, less
// every line up to its carriage return, and nothing when the partial line left
// after a dispatch is longer than 128 characters.
struct LineModel {
  std::string text;
  bool dropped = false;  // a partial line was discarded at some read boundary

  void Read(const char* bytes, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
      if (bytes[i] != '\0') text.push_back(bytes[i]);
    }
  }
  std::vector<std::string> Cut() {
    std::vector<std::string> lines;
    std::size_t end;
    while ((end = text.find(kCarriageReturn)) != std::string::npos) {
      lines.push_back(text.substr(0, end));
      text.erase(0, end + 1);
    }
    if (text.size() > kLongestKeptPartial) {
      text.clear();
      dropped = true;
    }
    return lines;
  }
};

// The value a received byte carries, 0 for a byte that is no value's character.
unsigned ReferenceSextet(char c) {
  static const std::array<unsigned, 256> values = [] {
    std::array<unsigned, 256> table{};
    for (unsigned v = 0; v < 64; ++v) table[RuleCharacter(v)] = v;
    return table;
  }();
  return values[static_cast<unsigned char>(c)];
}

// Motion lines decoded independently of the product: which hand-offs they cause
// and the axes they leave behind.
struct ReferenceMotion {
  std::array<std::int64_t, kAxisCount> axes{};
  std::int64_t hintviewAllowed = 0;
  std::int64_t hintviewActive = 0;
  bool panelOpen = false;
  std::vector<Event> expected;  // motions and repaints only

  void Line(const std::string& line) {
    if (line.empty() || line[0] != 'd') return;
    if (line.size() == 15) {
      unsigned sum = 0;
      for (std::size_t i = 1; i <= 12; ++i) sum += static_cast<unsigned char>(line[i]);
      const unsigned checksum = ReferenceSextet(line[13]) * 64 + ReferenceSextet(line[14]);
      for (int i = 0; i < kAxisCount; ++i) {
        const std::int64_t high = ReferenceSextet(line[2 * i + 1]);
        const std::int64_t low = ReferenceSextet(line[2 * i + 2]);
        // A failed checksum leaves all six axes at 0.
        axes[i] = sum == checksum ? (high - 32) * 64 + low : 0;
      }
      if (sum == checksum) Deliver();
    } else if (line.size() == 25) {
      if (hintviewAllowed != 0) {
        hintviewAllowed = 0;
        hintviewActive = 0;
        if (panelOpen) expected.push_back(Event{'R', {}});
      }
      for (int i = 0; i < kAxisCount; ++i) {
        std::int64_t value = 0;
        for (int k = 1; k <= 4; ++k) value = value * 16 + (line[4 * i + k] & 15);
        axes[i] = value - 32768;
      }
      Deliver();
    }
  }
  void Deliver() {
    Event event{'M', {}};
    for (int i = 0; i < kAxisCount; ++i) event.values[i] = axes[i];
    event.values[6] = hintviewAllowed;
    event.values[7] = hintviewActive;
    expected.push_back(event);
  }
};

bool InAlphabet(char c) {
  return c != '\0' && std::strchr(kDeviceAlphabet, c) != nullptr;
}

void CheckCommands(const StoredCommands& commands) {
  Check(std::strlen(commands.mode) == 3 && InAlphabet(commands.mode[1]) &&
        commands.mode[2] == kCarriageReturn);
  Check(std::strlen(commands.longModeResend) == 4 && InAlphabet(commands.longModeResend[1]) &&
        InAlphabet(commands.longModeResend[2]) && commands.longModeResend[3] == kCarriageReturn);
  Check(std::strcmp(commands.n, "n?\r") == 0 && std::strcmp(commands.q, "q00\r") == 0);
  Check(std::strcmp(commands.longModeStartup, "c33\r") == 0);
}

// One decoder with its own state, fed read by read.
class Feeding {
 public:
  explicit Feeding(std::uint8_t setup) {
    settings_.modeChangeable = setup % 3;  // 0, 1 and a value that is neither
    flags_.nAdoptFlag = (setup >> 2) & 1;
    host_.panelOpen = (setup >> 3) & 1;
    settings_.hintviewAllowed = (setup >> 4) & 1;
    flags_.hintviewActive = (setup >> 5) & 1;
    reference_.panelOpen = host_.panelOpen;
    reference_.hintviewAllowed = settings_.hintviewAllowed;
    reference_.hintviewActive = flags_.hintviewActive;
    link_.Clear();
  }

  std::size_t FreeCapacity() const { return link_.FreeCapacity(); }

  void Read(const char* bytes, std::size_t count) {
    Check(count <= link_.FreeCapacity());
    Check(link_.Append(bytes, count) == count);
    model_.Read(bytes, count);
    CheckBuffer();
    link_.DispatchLines();
    for (const std::string& line : model_.Cut()) reference_.Line(line);
    CheckBuffer();
    // Every complete line has been handled and no over-long remainder is kept.
    Check(link_.TextLength() <= DeviceLink::kLongestPartialLine);
    Check(std::strchr(link_.Buffer(), kCarriageReturn) == nullptr);
    for (int i = 0; i < kAxisCount; ++i) {
      Check(context_.axis[i] >= -32768 && context_.axis[i] <= 32767);
      Check(context_.axis[i] == reference_.axes[i]);
    }
    CheckCommands(commands_);
    Check(link_.Reports().modeNibble >= 0 && link_.Reports().modeNibble <= 15);
  }

  // The motions and repaints handed off are those of the reference, in order.
  void CheckMotions() const {
    std::vector<Event> motions;
    for (Event event : host_.log) {
      if (event.kind != 'M' && event.kind != 'R') continue;
      event.values[8] = 0;  // hintviewCapable belongs to the mode reports
      motions.push_back(event);
    }
    Check(motions == reference_.expected);
  }

  bool Dropped() const { return model_.dropped; }

  // Same hand-offs, same state left behind.
  bool SameAs(const Feeding& other) const {
    const DeviceReports& a = link_.Reports();
    const DeviceReports& b = other.link_.Reports();
    return host_.log == other.host_.log && std::strcmp(link_.Buffer(), other.link_.Buffer()) == 0 &&
           std::memcmp(context_.axis, other.context_.axis, sizeof context_.axis) == 0 &&
           a.modeNibble == b.modeNibble && a.secondNibble == b.secondNibble &&
           a.nNibble == b.nNibble && std::memcmp(&flags_, &other.flags_, sizeof flags_) == 0 &&
           settings_.hintviewAllowed == other.settings_.hintviewAllowed &&
           std::memcmp(&commands_, &other.commands_, sizeof commands_) == 0;
  }

 private:
  void CheckBuffer() const {
    const std::size_t length = link_.TextLength();
    Check(length <= DeviceLink::kBufferSize - 1);
    Check(link_.Buffer()[length] == '\0');
    Check(link_.FreeCapacity() == DeviceLink::kBufferSize - 1 - length);
    Check(length == model_.text.size() && model_.text.compare(link_.Buffer()) == 0);
  }

  DeliveryContext context_;
  SettingsRecord settings_;
  RuntimeFlags flags_;
  StoredCommands commands_;
  RecordingHost host_{context_, settings_, flags_};
  DeviceLink link_{context_, settings_, flags_, commands_, host_};
  LineModel model_;
  ReferenceMotion reference_;
};

// Gives every "d" line of fifteen characters in the input the checksum the rule
// asks for, so that mutated axis characters reach the decoding instead of
// failing the checksum.
void RepairChecksums(std::string& input) {
  for (std::size_t p = 0; p + 15 < input.size(); ++p) {
    if (input[p] != 'd' || input[p + 15] != kCarriageReturn) continue;
    unsigned sum = 0;
    for (std::size_t i = 1; i <= 12; ++i) sum += static_cast<unsigned char>(input[p + i]);
    input[p + 13] = static_cast<char>(RuleCharacter(sum / 64));
    input[p + 14] = static_cast<char>(RuleCharacter(sum % 64));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t setup = data[0];
  std::string input(reinterpret_cast<const char*>(data), size);
  if ((setup >> 6) & 1) RepairChecksums(input);

  // The fuzzer's reads; the bytes they took make up the stream.
  Feeding chunked(setup);
  std::string stream;
  std::size_t pos = 1;
  while (pos < size) {
    const std::size_t wanted = static_cast<unsigned char>(input[pos++]);
    std::size_t n = size - pos < wanted ? size - pos : wanted;
    if (n > chunked.FreeCapacity()) n = chunked.FreeCapacity();
    chunked.Read(input.data() + pos, n);
    stream.append(input, pos, n);
    pos += n;
  }

  // The largest reads the buffer allows. Zero bytes take no room, so the room
  // left is never less than 255 - 128 and every read makes progress.
  Feeding whole(setup);
  for (std::size_t at = 0; at < stream.size();) {
    std::size_t n = stream.size() - at;
    if (n > whole.FreeCapacity()) n = whole.FreeCapacity();
    Check(n > 0 && n <= kMostTextHeld);
    whole.Read(stream.data() + at, n);
    at += n;
  }

  Feeding bytewise(setup);
  for (char byte : stream) bytewise.Read(&byte, 1);

  chunked.CheckMotions();
  whole.CheckMotions();
  bytewise.CheckMotions();
  // Without a discarded partial line, every feeding handles the same lines; one
  // that discarded a partial line handles others, and may legitimately differ.
  if (!chunked.Dropped() && !whole.Dropped()) Check(chunked.SameAs(whole));
  if (!chunked.Dropped() && !bytewise.Dropped()) Check(chunked.SameAs(bytewise));
  return 0;
}
