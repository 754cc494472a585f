// Keyboard mappings linked to programs end to end: while a linked program (Wine's
// own notepad) is in front, a button types its mapping's sequence there and the
// button window names that mapping; any other program gets the active mapping's.
#include <gmock/gmock.h>

#include <sstream>
#include <thread>

#include "tests/e2e/tracking_fixture.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;

constexpr const char* kLinkedTitle = "Veltrix [Mapping A]";
constexpr const char* kActiveTitle = "Veltrix [Active]";

// A letter's key pressed and released, then the end entry: kind (1 down, 2 up),
// scan code, virtual key in 16 bits little-endian.
std::string Letter(int scan, int virtualKey) {
  return {1,
          static_cast<char>(scan),
          static_cast<char>(virtualKey),
          0,
          2,
          static_cast<char>(scan),
          static_cast<char>(virtualKey),
          0,
          0,
          0,
          0,
          0};
}

class ProgramMappingsTest : public TrackingTest {
 protected:
  void BeforeDriverStarts() override {
    std::string error;
    // "Mapping A" types "a" (scan 0x1E) in notepad; the active mapping types "g"
    // (scan 0x22) everywhere else.
    ASSERT_TRUE(session_.SetDriverBinary("Mapping A", "Button1", Letter(0x1E, 0x41), &error))
        << error;
    ASSERT_TRUE(session_.SetDriverString("Mapping A", "Programs", "notepad.exe", &error)) << error;
    ASSERT_TRUE(session_.SetDriverBinary("", "Button1", Letter(0x22, 0x47), &error)) << error;
    ASSERT_TRUE(session_.SetDriverSetting("Name", "Active", &error)) << error;
    // The button window below notepad's, away from where the test clicks.
    ASSERT_TRUE(session_.SetDriverSetting("ButtonInfo", "1", &error)) << error;
    ASSERT_TRUE(session_.SetDriverSetting("ButtonInfoX", "0", &error)) << error;
    ASSERT_TRUE(session_.SetDriverSetting("ButtonInfoY", "560", &error)) << error;
  }

  void PressAndRelease(std::uint32_t mask) {
    ASSERT_TRUE(controller_->SendRaw(sim::ButtonLine(mask)));
    ASSERT_TRUE(controller_->SendRaw(sim::ButtonLine(0)));
  }

  // Clicks into notepad's edit, as a user brings it to the front.
  void ClickNotepad() {
    int x = -1, y = -1;
    std::istringstream(NotepadEdit().Field("POINT").value_or("")) >> x >> y;
    ASSERT_GE(x, 0) << "notepad's edit not found";
    ClickAt(x, y, kNotepadTitle);
  }

  // Notepad's text once what is typed next replaces its selection. Read once the
  // click that brought notepad to the front is done with (no mouse capture, the
  // same text and selection twice in a row), since Wine's notepad sometimes
  // selects its whole text when it is activated again.
  std::string TextAfterTyping(const std::string& typed) {
    std::string last;
    const auto deadline = Clock::now() + kReplyTimeout;
    while (Clock::now() < deadline) {
      const ProbeResult edit = NotepadEdit();
      const std::string text = edit.Text().value_or("");
      const std::string selection = edit.Field("SELECTION").value_or("");
      const std::string state = edit.Field("CAPTURE").value_or("") + "|" + selection + "|" + text;
      std::size_t start = 0, end = 0;
      if (state == last && edit.Field("CAPTURE") == "0" &&
          std::istringstream(selection) >> start >> end && start <= end && end <= text.size()) {
        return text.substr(0, start) + typed + text.substr(end);
      }
      last = state;
      std::this_thread::sleep_for(100ms);
    }
    ADD_FAILURE() << "notepad's edit did not settle";
    return typed;
  }

  // Waits until notepad's edit holds the text (typed keys arrive a little later).
  bool NotepadShows(const std::string& expected) {
    const auto deadline = Clock::now() + kReplyTimeout;
    std::string text;
    do {
      text = NotepadEdit().Text().value_or("<unreadable>");
      if (text == expected) return true;
      std::this_thread::sleep_for(50ms);
    } while (Clock::now() < deadline);
    ADD_FAILURE() << "notepad shows \"" << text << "\", not \"" << expected << "\"";
    return false;
  }

  // Waits until the test client's edit holds the text, as hex digits.
  bool EditorShows(const ClientWindow& editor, const std::string& hex) {
    const auto deadline = Clock::now() + kReplyTimeout;
    std::string text;
    do {
      const std::vector<std::string> fields =
          FieldsAfterLabel(Ask(editor.process, "edit-text", "EDIT"));
      text = fields.empty() ? "" : fields[0];
      if (text == hex) return true;
      std::this_thread::sleep_for(50ms);
    } while (Clock::now() < deadline);
    ADD_FAILURE() << "the editor shows " << text << ", not " << hex;
    return false;
  }
};

TEST_F(ProgramMappingsTest, TheLinkedMappingIsInForceWhileItsProgramIsInFront) {
  WaitForBox(kActiveTitle);
  StartNotepad();

  ClickNotepad();
  WaitForBox(kLinkedTitle);
  EXPECT_TRUE(session_.Probe({"settle", kLinkedTitle}).Succeeded());
  EXPECT_FALSE(session_.Screenshot("button_window_linked_mapping").empty());
  PressAndRelease(0x1);
  EXPECT_TRUE(NotepadShows("a"));

  // Another program: the active mapping's "g", and the window names it.
  // Brought to the front with the pointer, as notepad is: under Wine without a
  // window manager, a window activated by its own call while the pointer's click
  // left the X focus in notepad loses the foreground to notepad at the next
  // input, a press of the controller included.
  const ClientWindow editor = StartClient("Editor", {"--show", "--edit", "--commands"});
  Click(editor, "Editor");
  WaitForBox(kActiveTitle);
  const std::optional<std::string> notepadBefore = NotepadEdit().Text();
  PressAndRelease(0x1);
  EXPECT_TRUE(EditorShows(editor, "67"));  // "g"
  EXPECT_EQ(NotepadEdit().Text(), notepadBefore);

  // Back to notepad: "a" again, and nothing more in the editor.
  // Twice: an "a" that replaced a selection cannot pass for one not typed.
  ClickNotepad();
  WaitForBox(kLinkedTitle);
  const std::string expected = TextAfterTyping("aa");
  PressAndRelease(0x1);
  PressAndRelease(0x1);
  EXPECT_TRUE(NotepadShows(expected));
  EXPECT_TRUE(EditorShows(editor, "67"));
}

}  // namespace
}  // namespace e2e
