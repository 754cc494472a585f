// Device buttons end to end: press and release messages reach the registered
// client, a button with a key sequence types it into the focused window of
// another program instead, the beep goes out for each press, and the factory
// keyboard mappings are in the registry after the first start.
#include <gmock/gmock.h>

#include <thread>

#include "client/astrolab_client.h"
#include "tests/e2e/client_events.h"
#include "tests/e2e/tracking_fixture.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;

// One stored entry: event kind (1 key down, 2 key up, 3 system key down, 4 system
// key up), scan code, virtual key in 16 bits little-endian.
std::string Entry(int kind, int scan, int virtualKey) {
  return {static_cast<char>(kind), static_cast<char>(scan), static_cast<char>(virtualKey & 0xFF),
          static_cast<char>(virtualKey >> 8)};
}
const std::string kEnd(4, '\0');

struct Event {
  std::uint64_t button;
  std::int64_t mask;
  bool operator==(const Event& other) const { return button == other.button && mask == other.mask; }
};
void PrintTo(const Event& event, std::ostream* out) {
  *out << "(" << event.button << ", " << event.mask << ")";
}

class ButtonDeliveryTest : public TrackingTest {
 protected:
  std::vector<Event> Events(const ClientWindow& client, const char* name) const {
    std::vector<Event> events;
    for (const ClientEvent& event : ClientEvents(*client.process, name)) {
      events.push_back({event.wParam, event.lParam});
    }
    return events;
  }

  // Waits until the client has received `count` messages of this name.
  bool WaitForEvents(const ClientWindow& client, const char* name, std::size_t count) const {
    const auto deadline = Clock::now() + kReplyTimeout;
    while (ClientEvents(*client.process, name).size() < count) {
      if (Clock::now() >= deadline) return false;
      std::this_thread::sleep_for(20ms);
    }
    return true;
  }

  void PressAndRelease(std::uint32_t mask) {
    ASSERT_TRUE(controller_->SendRaw(sim::ButtonLine(mask)));
    ASSERT_TRUE(controller_->SendRaw(sim::ButtonLine(0)));
  }

  // The key messages the client's window got: "message wParam" pairs.
  std::vector<std::string> Keys(const ClientWindow& client) const {
    std::vector<std::string> keys;
    for (const OutputLine& line : client.process->Lines()) {
      if (line.text.rfind("KEY ", 0) == 0) keys.push_back(line.text.substr(4));
    }
    return keys;
  }
};

TEST_F(ButtonDeliveryTest, PressesAndReleasesReachTheClientInButtonOrderWithABeepEach) {
  const ClientWindow client = StartClient("Button client");
  ASSERT_EQ(NextSampleGoesTo(), client.window);
  controller_->ClearRecord();

  ASSERT_TRUE(controller_->SendRaw(sim::ButtonLine(0x3)));
  ASSERT_TRUE(WaitForEvents(client, ASTROLAB_BUTTON_PRESS_EVENT, 2));
  ASSERT_TRUE(controller_->SendRaw(sim::ButtonLine(0x2)));
  ASSERT_TRUE(controller_->SendRaw(sim::ButtonLine(0x0)));
  ASSERT_TRUE(WaitForEvents(client, ASTROLAB_BUTTON_RELEASE_EVENT, 2));
  EXPECT_THAT(Events(client, ASTROLAB_BUTTON_PRESS_EVENT), ElementsAre(Event{1, 3}, Event{2, 3}));
  EXPECT_THAT(Events(client, ASTROLAB_BUTTON_RELEASE_EVENT), ElementsAre(Event{1, 2}, Event{2, 0}));
  EXPECT_THAT(CommandLines(*controller_), ElementsAre("b9", "b9"));
}

TEST_F(ButtonDeliveryTest, AZeroByteBeforeTheReleaseLineDoesNotHoldTheButton) {
  const ClientWindow client = StartClient("Button client");
  ASSERT_EQ(NextSampleGoesTo(), client.window);
  ASSERT_TRUE(
      controller_->SendRaw(sim::ButtonLine(0x1) + std::string(1, '\0') + sim::ButtonLine(0)));
  ASSERT_TRUE(WaitForEvents(client, ASTROLAB_BUTTON_RELEASE_EVENT, 1));
  EXPECT_THAT(Events(client, ASTROLAB_BUTTON_PRESS_EVENT), ElementsAre(Event{1, 1}));
  EXPECT_THAT(Events(client, ASTROLAB_BUTTON_RELEASE_EVENT), ElementsAre(Event{1, 0}));
}

TEST_F(ButtonDeliveryTest, ASequenceIsTypedIntoTheFocusedEditInsteadOfPosted) {
  // "Hello": Shift held around the capital, then four plain letters.
  const std::string hello = Entry(1, 0x2A, 0x10) + Entry(1, 0x23, 0x48) + Entry(2, 0x23, 0x48) +
                            Entry(2, 0x2A, 0x10) + Entry(1, 0x12, 0x45) + Entry(2, 0x12, 0x45) +
                            Entry(1, 0x26, 0x4C) + Entry(2, 0x26, 0x4C) + Entry(1, 0x26, 0x4C) +
                            Entry(2, 0x26, 0x4C) + Entry(1, 0x18, 0x4F) + Entry(2, 0x18, 0x4F) +
                            kEnd;
  std::string error;
  ASSERT_TRUE(session_.SetDriverBinary("", "Button3", hello, &error)) << error;

  const ClientWindow editor = StartClient("Editor", {"--activate", "--edit"});
  ASSERT_EQ(NextSampleGoesTo(), editor.window);
  PressAndRelease(0x4);
  ASSERT_TRUE(WaitForEvents(editor, ASTROLAB_BUTTON_RELEASE_EVENT, 1));
  // Typed through the system's input: it may take a moment to reach the edit.
  std::string text;
  const auto deadline = Clock::now() + kReplyTimeout;
  do {
    const std::vector<std::string> fields =
        FieldsAfterLabel(Ask(editor.process, "edit-text", "EDIT"));
    text = fields.empty() ? "" : fields[0];
    if (text != "48656c6c6f") std::this_thread::sleep_for(50ms);
  } while (text != "48656c6c6f" && Clock::now() < deadline);
  EXPECT_EQ(text, "48656c6c6f");  // "Hello"
  // The press typed; only the release reached the client.
  EXPECT_TRUE(Events(editor, ASTROLAB_BUTTON_PRESS_EVENT).empty());
  EXPECT_THAT(Events(editor, ASTROLAB_BUTTON_RELEASE_EVENT), ElementsAre(Event{3, 0}));
}

TEST_F(ButtonDeliveryTest, ProEngineerV20MappingTypesAltVRAndPostsOnlyTheRelease) {
  // The factory mapping's slot 1, as the driver installed it, made the active one.
  const auto keys = session_.ReadDriverKey();
  ASSERT_TRUE(keys.has_value());
  const auto mapping = keys->find("ProEngineer V.20");
  ASSERT_NE(mapping, keys->end());
  const std::string altVR = mapping->second.at("Button1");
  EXPECT_EQ(altVR, Entry(3, 0x38, 0x12) + Entry(3, 0x2F, 0x56) + Entry(4, 0x2F, 0x56) +
                       Entry(3, 0x13, 0x52) + Entry(4, 0x13, 0x52) + Entry(2, 0x38, 0x12) + kEnd);
  std::string error;
  ASSERT_TRUE(session_.SetDriverBinary("", "Button1", altVR, &error)) << error;
  ASSERT_TRUE(session_.SetDriverSetting("Name", "ProEngineer V.20", &error)) << error;

  const ClientWindow window = StartClient("CAD window", {"--activate", "--keys"});
  ASSERT_EQ(NextSampleGoesTo(), window.window);
  PressAndRelease(0x1);
  ASSERT_TRUE(WaitForEvents(window, ASTROLAB_BUTTON_RELEASE_EVENT, 1));
  // The system-key messages of V and R (0x104 with 'V' 0x56 and 'R' 0x52) come in
  // order, each with its character; the release of Alt is a plain key-up.
  const auto deadline = Clock::now() + kReplyTimeout;
  while (Keys(window).size() < 7 && Clock::now() < deadline) std::this_thread::sleep_for(20ms);
  const std::vector<std::string> keysSeen = Keys(window);
  const std::vector<std::string> expected = {"260 18", "260 86",  "262 118", "261 86",
                                             "260 82", "262 114", "261 82",  "257 18"};
  EXPECT_EQ(keysSeen, expected);
  EXPECT_TRUE(Events(window, ASTROLAB_BUTTON_PRESS_EVENT).empty());
  EXPECT_THAT(Events(window, ASTROLAB_BUTTON_RELEASE_EVENT), ElementsAre(Event{1, 0}));

  // Buttons 1 and 2, both with sequences, in one report: the first is typed; the
  // second press comes while it runs and goes to the target as a message.
  ASSERT_TRUE(session_.SetDriverBinary("", "Button2", mapping->second.at("Button2"), &error))
      << error;
  PressAndRelease(0x3);
  ASSERT_TRUE(WaitForEvents(window, ASTROLAB_BUTTON_RELEASE_EVENT, 3));
  const auto typed = Clock::now() + kReplyTimeout;
  while (Keys(window).size() < 2 * expected.size() && Clock::now() < typed) {
    std::this_thread::sleep_for(20ms);
  }
  std::vector<std::string> twice = expected;
  twice.insert(twice.end(), expected.begin(), expected.end());
  EXPECT_EQ(Keys(window), twice) << "only button 1's sequence is typed";
  EXPECT_THAT(Events(window, ASTROLAB_BUTTON_PRESS_EVENT), ElementsAre(Event{2, 3}));

  // A press of button 2 in the next report, while button 1 types a long sequence
  // (ProEngineer V.18's "Done-Return[Enter]View[Enter]Repaint[Enter]Done-Return
  // [Enter]"): posted too, and only the long sequence's characters arrive.
  const auto v18 = keys->find("ProEngineer V.18");
  ASSERT_NE(v18, keys->end());
  ASSERT_TRUE(session_.SetDriverBinary("", "Button1", v18->second.at("Button1"), &error)) << error;
  const std::size_t keysBefore = Keys(window).size();
  ASSERT_TRUE(controller_->SendRaw(sim::ButtonLine(0x1) + sim::ButtonLine(0) +
                                   sim::ButtonLine(0x2) + sim::ButtonLine(0)));
  ASSERT_TRUE(WaitForEvents(window, ASTROLAB_BUTTON_RELEASE_EVENT, 5));
  const std::string longText = "Done-Return\rView\rRepaint\rDone-Return\r";
  std::string characters;
  const auto typedLong = Clock::now() + kReplyTimeout;
  do {
    characters.clear();
    const std::vector<std::string> seen = Keys(window);
    for (std::size_t i = keysBefore; i < seen.size(); ++i) {
      if (seen[i].rfind("258 ", 0) == 0)
        characters += static_cast<char>(std::stoi(seen[i].substr(4)));
      if (seen[i].rfind("260 ", 0) == 0) characters += "<system key>";
    }
    if (characters.size() < longText.size()) std::this_thread::sleep_for(20ms);
  } while (characters.size() < longText.size() && Clock::now() < typedLong);
  EXPECT_EQ(characters, longText);
  EXPECT_THAT(Events(window, ASTROLAB_BUTTON_PRESS_EVENT), ElementsAre(Event{2, 3}, Event{2, 2}));
}

TEST_F(ButtonDeliveryTest, FactoryMappingsAreInstalledAtTheFirstStart) {
  const auto keys = session_.ReadDriverKey();
  ASSERT_TRUE(keys.has_value());
  // Value lengths: 4 bytes an event and the end entry; one slot carries one byte more.
  const std::map<std::string, std::map<std::string, std::size_t>> expected = {
      {"Empty", {}},
      {"ProEngineer V.18",
       {{"Button1", 348}, {"Button2", 484}, {"Button3", 452}, {"Button4", 628}, {"Button8", 452}}},
      {"ProEngineer V.20",
       {{"Button1", 28}, {"Button2", 28}, {"Button3", 28}, {"Button4", 28}, {"Button8", 28}}},
      {"I-DEAS MS",
       {{"Button1", 276}, {"Button2", 260}, {"Button3", 268}, {"Button4", 292}, {"Button8", 36}}},
      {"Mechanical Desktop 2.0/3.0", {{"Button1", 109}, {"Button2", 84}, {"Button8", 84}}},
  };
  for (const auto& [name, slots] : expected) {
    const auto mapping = keys->find(name);
    ASSERT_NE(mapping, keys->end()) << name;
    std::map<std::string, std::size_t> lengths;
    for (const auto& [value, bytes] : mapping->second) lengths[value] = bytes.size();
    EXPECT_EQ(lengths, slots) << name;
  }
}

}  // namespace
}  // namespace e2e
