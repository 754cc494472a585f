// The keyboard mapping dialog end to end, worked like a user: label buttons
// clicked with the pointer, keys typed into the capture dialog through the
// system's input, boxes answered. What it stores is read back from the registry,
// and a recorded sequence is then typed by a press of the device button.
#include <gmock/gmock.h>

#include <algorithm>
#include <cctype>
#include <sstream>
#include <thread>

#include "client/astrolab_client.h"
#include "tests/e2e/client_events.h"
#include "tests/e2e/harness_paths.h"
#include "tests/e2e/tracking_fixture.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;

constexpr const char* kMappingTitle = "Astrolab/AIRCAP - Keyboard Mapping";
constexpr const char* kCaptureTitle = "Please enter a keyboard sequence ...";
constexpr const char* kBoxCaption = "Astrolab/AIRCAP Keyboard Mapping";
constexpr int kKeyboardCommand = 40001;
constexpr int kSlot3Label = 1105;
constexpr int kSave = 5;
constexpr int kDelete = 3;
constexpr int kNameBox = 2000;
constexpr int kCaptureOk = 1205;
constexpr int kCaptureCancel = 1206;
constexpr int kCaptureControl = 1160;
constexpr int kSlot1Label = 1302;
constexpr int kSlot5Label = 1107;
constexpr int kCloseCommand = 0xF060;
constexpr int kCancel = 2;
constexpr int kCloseRequest = 0x10;  // WM_CLOSE
constexpr int kEscape = 0x1B;
constexpr int kEnter = 0x0D;
constexpr int kArrowUp = 0x26;
constexpr int kArrowDown = 0x28;
constexpr int kGetColour = 0x402;  // a label's text colour (WM_USER + 2)
constexpr int kGetCount = 0x402;   // the capture control's count and full flag
constexpr int kGetLook = 0x403;    // a label's look (WM_USER + 3)
constexpr long kFocusedLook = 2;
constexpr long kPressedLook = 3;
constexpr long kBlue = 0xFF0000;  // COLORREF 0x00BBGGRR
constexpr long kBlack = 0;
constexpr long kRed = 0xFF;
constexpr int kProgramsField = 2001;
constexpr int kAddProgram = 2002;
constexpr int kProgramChoices = 2003;
constexpr const char* kChooserTitle = "Add current program";
constexpr const char* kV20 = "ProEngineer V.20";
constexpr const char* kV18 = "ProEngineer V.18";

std::string Entry(int kind, int scan, int virtualKey) {
  return {static_cast<char>(kind), static_cast<char>(scan), static_cast<char>(virtualKey & 0xFF),
          static_cast<char>(virtualKey >> 8)};
}
const std::string kEnd(4, '\0');
// The factory recording of "[Alt]vr" and of "[Alt]vi".
const std::string kAltVR = Entry(3, 0x38, 0x12) + Entry(3, 0x2F, 0x56) + Entry(4, 0x2F, 0x56) +
                           Entry(3, 0x13, 0x52) + Entry(4, 0x13, 0x52) + Entry(2, 0x38, 0x12) +
                           kEnd;
const std::string kAltVI = Entry(3, 0x38, 0x12) + Entry(3, 0x2F, 0x56) + Entry(4, 0x2F, 0x56) +
                           Entry(3, 0x17, 0x49) + Entry(4, 0x17, 0x49) + Entry(2, 0x38, 0x12) +
                           kEnd;

class MappingDialogTest : public TrackingTest {
 protected:
  void OpenMappingDialog() {
    ASSERT_TRUE(PostToDriver(kCommandMessage, kKeyboardCommand, 0));
    WaitForBox(kMappingTitle);
  }

  // Records a slot: its label clicked, the keys typed into the capture dialog
  // (which shows their notation on the label as they come), then OK.
  void Record(int label, const std::vector<std::string>& keys, const std::string& notation) {
    ClickWithPointer(kMappingTitle, label);
    WaitForBox(kCaptureTitle);
    EXPECT_EQ(LabelColour(label), kRed) << "a label being recorded is red";
    if (!keys.empty()) {
      TypeIntoCapture(label, keys, notation);
      EXPECT_FALSE(session_.Screenshot("capture_dialog").empty());
    }
    const ProbeResult ok = session_.Probe({"click", kCaptureTitle, std::to_string(kCaptureOk)});
    ASSERT_TRUE(ok.Succeeded()) << "probe exit code " << ok.exitCode;
  }

  // The key messages a test client's window received, "message wParam".
  std::vector<std::string> KeyLines(const ClientWindow& window) {
    std::vector<std::string> keys;
    for (const OutputLine& line : window.process->Lines()) {
      if (line.text.rfind("KEY ", 0) == 0) keys.push_back(line.text.substr(4));
    }
    return keys;
  }

  // Types the keys into the capture dialog and waits until the label shows them.
  void TypeIntoCapture(int label, const std::vector<std::string>& keys,
                       const std::string& notation) {
    std::vector<std::string> arguments = {"type-keys"};
    arguments.insert(arguments.end(), keys.begin(), keys.end());
    const ProbeResult typed = session_.Probe(arguments);
    ASSERT_TRUE(typed.Succeeded())
        << "exit code " << typed.exitCode << ": " << (typed.lines.empty() ? "" : typed.lines[0]);
    const auto deadline = Clock::now() + kReplyTimeout;
    while (LabelText(label) != notation) {
      ASSERT_LT(Clock::now(), deadline) << "the keys did not reach the capture dialog";
      std::this_thread::sleep_for(50ms);
    }
  }

  long Answer(const std::string& caption, int control, int message) {
    const ProbeResult answer =
        session_.Probe({"send", caption, std::to_string(control), std::to_string(message), "0"});
    EXPECT_TRUE(answer.Succeeded()) << control;
    return answer.Succeeded() ? std::stol(*answer.Field("RESULT")) : -1;
  }
  long LabelColour(int label) { return Answer(kMappingTitle, label, kGetColour); }

  // Whether the label comes to show the look within the reply time-out (the
  // pointer's events reach the dialog's thread in their own time).
  ::testing::AssertionResult Looks(int label, long look) {
    const auto deadline = Clock::now() + kReplyTimeout;
    long shown = -1;
    while ((shown = Answer(kMappingTitle, label, kGetLook)) != look) {
      if (Clock::now() >= deadline) {
        return ::testing::AssertionFailure() << "label " << label << " shows look " << shown;
      }
      std::this_thread::sleep_for(50ms);
    }
    return ::testing::AssertionSuccess();
  }

  // The pointer worked through xdotool: "mousemove X Y", "mousedown 1", ...
  void Pointer(const std::vector<std::string>& action) {
    std::vector<std::string> command = {FindOnPath("xdotool")};
    command.insert(command.end(), action.begin(), action.end());
    ASSERT_EQ(session_.Run(command, 10s), 0) << action.at(0);
  }

  // A key pressed on the control that has the focus, through the dialog manager.
  void PostKey(const std::string& caption, int key) {
    ASSERT_TRUE(session_.Probe({"post-key", caption, std::to_string(key)}).Succeeded());
  }

  std::optional<std::string> NameBoxText() { return LabelText(kNameBox); }

  // Keys typed at the end of the programs field, clicked into first: ";" and "."
  // and "\\" are the keys of a US keyboard (0xBA, 0xBE, 0xDC), letters their
  // capitals' codes.
  void TypeIntoProgramsField(const std::vector<std::string>& keys) {
    ClickWithPointer(kMappingTitle, kProgramsField);
    std::vector<std::string> arguments = {"type-keys", "0x23"};  // End
    arguments.insert(arguments.end(), keys.begin(), keys.end());
    ASSERT_TRUE(session_.Probe(arguments).Succeeded());
  }

  // Another mapping picked in the name box with an arrow key; the save question
  // that comes is checked and answered.
  void PickWithArrow(int arrow, const std::string& question, int answer) {
    ClickWithPointer(kMappingTitle, kNameBox);
    PostKey(kMappingTitle, arrow);
    EXPECT_EQ(WaitForBox(kBoxCaption).Text(), question);
    Press(kBoxCaption, answer);
  }

  // Save and Delete enabled or not, as "save delete" with 1 for enabled.
  std::string CommandStates() {
    std::string states;
    for (int control : {kSave, kDelete}) {
      const ProbeResult text =
          session_.Probe({"control-text", kMappingTitle, std::to_string(control)});
      states += (states.empty() ? "" : " ") + text.Field("ENABLED").value_or("?");
    }
    return states;
  }

  // The whole registry key of the driver, values as raw bytes, by subkey.
  std::map<std::string, std::map<std::string, std::string>> Stored() {
    const auto keys = session_.ReadDriverKey();
    EXPECT_TRUE(keys.has_value());
    return keys.value_or(std::map<std::string, std::map<std::string, std::string>>{});
  }

  std::optional<std::string> LabelText(int label) {
    return session_.Probe({"control-text", kMappingTitle, std::to_string(label)}).Text();
  }

  std::optional<std::string> Value(const std::string& subkey, const std::string& name) {
    const auto keys = session_.ReadDriverKey();
    if (!keys || keys->count(subkey) == 0 || keys->at(subkey).count(name) == 0) {
      return std::nullopt;
    }
    return keys->at(subkey).at(name);
  }

  std::vector<std::string> ComboItems(const std::string& caption = kMappingTitle,
                                      int control = kNameBox) {
    std::vector<std::string> items;
    const ProbeResult result = session_.Probe({"combo-items", caption, std::to_string(control)});
    for (const std::string& line : result.lines) {
      if (line.rfind("ITEM ", 0) != 0) continue;
      std::string text;
      for (std::size_t i = 5; i + 1 < line.size(); i += 2) {
        text += static_cast<char>(std::stoi(line.substr(i, 2), nullptr, 16));
      }
      items.push_back(text);
    }
    return items;
  }

  void BeforeDriverStarts() override {
    std::string error;
    ASSERT_TRUE(session_.SetDriverSetting("Name", startName_, &error)) << error;
  }

  std::string startName_ = kV20;
};

// "hi": key down and up of H, then of I.
std::string HiKinds(const std::string& value) {
  std::string kinds;
  for (std::size_t i = 0; i + 3 < value.size(); i += 4) {
    kinds += std::to_string(static_cast<int>(value[i])) + ":" +
             std::to_string(static_cast<unsigned char>(value[i + 2])) + " ";
  }
  return kinds;
}

TEST_F(MappingDialogTest, RecordedSlotGoesToTheActiveMappingAndClosingAsksToSaveIt) {
  OpenMappingDialog();
  ASSERT_TRUE(session_.Probe({"settle", kMappingTitle}).Succeeded());
  EXPECT_FALSE(session_.Screenshot("mapping_dialog").empty());
  EXPECT_EQ(LabelText(kSlot3Label), std::string("[Alt]vi"));

  Record(kSlot3Label, {"0x48", "0x49"}, "hi");
  EXPECT_EQ(LabelText(kSlot3Label), std::string("hi"));
  // In the active mapping at once: H down, H up, I down, I up.
  const std::optional<std::string> active = Value("", "Button3");
  ASSERT_TRUE(active.has_value());
  EXPECT_EQ(HiKinds(*active), "1:72 2:72 1:73 2:73 0:0 ");

  // Closing asks; No keeps it in the active mapping only.
  ASSERT_TRUE(session_.Probe({"dialog-syscommand", kMappingTitle, std::to_string(kCloseCommand)})
                  .Succeeded());
  const ProbeResult question = WaitForBox(kBoxCaption);
  EXPECT_EQ(question.Text(), std::string("Save changes for ProEngineer V.20?"));
  EXPECT_EQ(question.Field("BUTTONS"), std::string("6 7 2"));
  Press(kBoxCaption, kNo);
  EXPECT_EQ(Value("", "Button3"), active);
  EXPECT_EQ(Value(kV20, "Button3"), kAltVI);

  // The recorded sequence plays when the device button is pressed.
  // Without a window manager, Wine hands the driver the late X focus events of
  // its closed dialogs when its thread next reads them, and they can take the
  // foreground from the target (the first sample once went to no client). So the
  // driver reads them first, then the target is brought to the front; and the
  // press is repeated, a few times at most, until one whole sequence arrives: H
  // down, its character, H up, then I.
  const ClientWindow window = StartClient("Typing target", {"--activate", "--keys"});
  ASSERT_TRUE(session_.Probe({"sync-driver"}).Succeeded());
  Activate(window, "Typing target");
  ASSERT_EQ(NextSampleGoesTo(), window.window);
  const std::vector<std::string> expected = {"256 72", "258 104", "257 72",
                                             "256 73", "258 105", "257 73"};
  bool typed = false;
  for (int attempt = 0; attempt < 3 && !typed; ++attempt) {
    ASSERT_TRUE(session_.Probe({"sync-driver"}).Succeeded());
    Activate(window, "Typing target");
    const std::size_t before = KeyLines(window).size();
    ASSERT_TRUE(controller_->SendRaw(sim::ButtonLine(0x4)));
    ASSERT_TRUE(controller_->SendRaw(sim::ButtonLine(0)));
    const auto deadline = Clock::now() + 5s;
    std::vector<std::string> keys;
    do {
      keys = KeyLines(window);
      keys.erase(keys.begin(), keys.begin() + static_cast<long>(before));
      if (keys.size() < expected.size()) std::this_thread::sleep_for(50ms);
    } while (keys.size() < expected.size() && Clock::now() < deadline);
    typed = keys == expected;
  }
  EXPECT_TRUE(typed) << "the recorded sequence was not typed whole";

  // Once more, and Yes: the named mapping holds it too.
  OpenMappingDialog();
  Record(kSlot3Label, {"0x48", "0x49"}, "hi");
  ASSERT_TRUE(session_.Probe({"dialog-syscommand", kMappingTitle, std::to_string(kCloseCommand)})
                  .Succeeded());
  WaitForBox(kBoxCaption);
  Press(kBoxCaption, kYes);
  EXPECT_EQ(Value(kV20, "Button3"), active);
}

TEST_F(MappingDialogTest, OkWithNothingTypedClearsTheSlot) {
  OpenMappingDialog();
  Record(kSlot3Label, {}, "");
  EXPECT_EQ(LabelText(kSlot3Label), std::string("(3)"));
  EXPECT_FALSE(Value("", "Button3").has_value());
}

class GenericMappingTest : public MappingDialogTest {
 protected:
  GenericMappingTest() { startName_ = "Empty"; }
};

TEST_F(GenericMappingTest, EmptyInAnySpellingCanNeitherBeSavedNorDeletedNorLeftWhenChanged) {
  OpenMappingDialog();
  Record(kSlot3Label, {"0x48", "0x49"}, "hi");
  ASSERT_TRUE(session_.Probe({"post-click", kMappingTitle, std::to_string(kSave)}).Succeeded());
  const ProbeResult refusal = WaitForBox(kBoxCaption);
  EXPECT_EQ(refusal.Text(),
            std::string("Please enter a different name for your keyboard mapping !"));
  Press(kBoxCaption, kOk);
  const ProbeResult focus = session_.Probe({"focused", kMappingTitle});
  ASSERT_TRUE(focus.Succeeded());
  const std::string focused = *focus.Field("FOCUS");
  EXPECT_TRUE(focused.rfind("2000 ", 0) == 0 || focused.find(" 2000") != std::string::npos)
      << focused;

  // Another mapping picked while "Empty" holds changes: refused the same way, and
  // the box shows "Empty" again, whose changes are in force.
  PostKey(kMappingTitle, kArrowDown);
  EXPECT_EQ(WaitForBox(kBoxCaption).Text(),
            std::string("Please enter a different name for your keyboard mapping !"));
  Press(kBoxCaption, kOk);
  EXPECT_EQ(NameBoxText(), std::string("Empty"));
  EXPECT_EQ(HiKinds(Value("", "Button3").value_or("")), "1:72 2:72 1:73 2:73 0:0 ");
  EXPECT_EQ(Value("", "Name"), std::string("Empty"));

  // The registry does not tell "empty" from "Empty": neither saved into nor deleted.
  ASSERT_TRUE(
      session_.Probe({"set-text", kMappingTitle, std::to_string(kNameBox), "eMPTY"}).Succeeded());
  ASSERT_TRUE(session_.Probe({"post-click", kMappingTitle, std::to_string(kSave)}).Succeeded());
  EXPECT_EQ(WaitForBox(kBoxCaption).Text(),
            std::string("Please enter a different name for your keyboard mapping !"));
  Press(kBoxCaption, kOk);
  ASSERT_TRUE(session_.Probe({"post-click", kMappingTitle, std::to_string(kDelete)}).Succeeded());
  const ProbeResult deletion = WaitForBox("Astrolab/AIRCAP keyboard mapping");
  EXPECT_EQ(deletion.Text(), std::string("You can not delete the generic mapping !"));
  Press("Astrolab/AIRCAP keyboard mapping", kOk);
  const auto stored = Stored();
  ASSERT_TRUE(stored.count("Empty"));
  EXPECT_TRUE(stored.at("Empty").empty()) << "the generic mapping took a slot";
}

TEST_F(MappingDialogTest, ANewNameCreatesAMappingOfTheActiveOne) {
  OpenMappingDialog();
  // Into the name box, a new name, then away with Tab.
  ClickWithPointer(kMappingTitle, kNameBox);
  // The old name goes (End, then Backspace), "alpha" comes.
  std::vector<std::string> erase = {"type-keys", "0x23"};
  erase.insert(erase.end(), 20, "0x08");
  ASSERT_TRUE(session_.Probe(erase).Succeeded());
  ASSERT_TRUE(session_.Probe({"type-keys", "0x41", "0x4C", "0x50", "0x48", "0x41"}).Succeeded());
  ASSERT_TRUE(session_.Probe({"type-keys", "0x09"}).Succeeded());
  const auto deadline = Clock::now() + kReplyTimeout;
  while (!Value("alpha", "Button1").has_value()) {
    ASSERT_LT(Clock::now(), deadline) << "no mapping was created";
    std::this_thread::sleep_for(100ms);
  }
  EXPECT_EQ(Value("alpha", "Button1"), kAltVR);
  EXPECT_EQ(Value("", "Name"), std::string("alpha"));
  EXPECT_THAT(ComboItems(),
              ::testing::ElementsAre("alpha", "Empty", "I-DEAS MS", "Mechanical Desktop 2.0/3.0",
                                     "ProEngineer V.18", "ProEngineer V.20"));

  // Names that cannot be one key are refused, whether the box is left or Save or
  // Delete is pressed: nothing nested under V.20, nothing cut to 63 characters.
  Record(kSlot5Label, {"0x48"}, "h");  // a change, so that Save is enabled
  const auto before = Stored();
  const std::string tooLong(64, 'n');
  for (const std::string& name : {std::string(kV20) + "\\x", tooLong}) {
    ClickWithPointer(kMappingTitle, kNameBox);
    ASSERT_TRUE(
        session_.Probe({"set-text", kMappingTitle, std::to_string(kNameBox), name}).Succeeded());
    ASSERT_TRUE(session_.Probe({"type-keys", "0x09"}).Succeeded());
    EXPECT_EQ(WaitForBox(kBoxCaption).Text(),
              std::string("The name of a keyboard mapping must have 1 to 63 characters and no "
                          "backslash (\\) !"));
    if (name != tooLong) {
      EXPECT_FALSE(session_.Screenshot("mapping_name_refused").empty());
    }
    Press(kBoxCaption, kOk);
    for (int command : {kSave, kDelete}) {
      ASSERT_TRUE(
          session_.Probe({"post-click", kMappingTitle, std::to_string(command)}).Succeeded());
      WaitForBox(kBoxCaption);
      Press(kBoxCaption, kOk);
    }
    EXPECT_EQ(Stored(), before) << name;
  }

  // A mapping of the user's own, deleted, is gone for good; the first entry,
  // "Empty", becomes the active mapping: no slot assigned, nothing to delete.
  ASSERT_TRUE(
      session_.Probe({"set-text", kMappingTitle, std::to_string(kNameBox), "alpha"}).Succeeded());
  ASSERT_TRUE(session_.Probe({"click", kMappingTitle, std::to_string(kDelete)}).Succeeded());
  EXPECT_EQ(Stored().count("alpha"), 0u);
  EXPECT_EQ(Value("", "Name"), std::string("Empty"));
  EXPECT_FALSE(Value("", "Button1").has_value());
  EXPECT_EQ(NameBoxText(), std::string("Empty"));
  EXPECT_EQ(LabelText(kSlot1Label), std::string("(1)"));
  EXPECT_EQ(LabelColour(kSlot1Label), kBlack);
  EXPECT_EQ(CommandStates(), "0 0");
  EXPECT_THAT(ComboItems(),
              ::testing::ElementsAre("Empty", "I-DEAS MS", "Mechanical Desktop 2.0/3.0",
                                     "ProEngineer V.18", "ProEngineer V.20"));
}

TEST_F(MappingDialogTest, DeletingAChangedFactoryMappingBringsItBackAndLoadsTheFirst) {
  std::string error;
  ASSERT_TRUE(session_.SetDriverBinary(kV20, "Button1", kAltVI, &error)) << error;
  OpenMappingDialog();
  EXPECT_EQ(Value("", "Button1"), kAltVI);  // loaded as it was changed
  ASSERT_TRUE(session_.Probe({"click", kMappingTitle, std::to_string(kDelete)}).Succeeded());
  EXPECT_EQ(Value(kV20, "Button1"), kAltVR);
  // "Empty" sorts first: it is the active mapping now, without any slot.
  EXPECT_EQ(Value("", "Name"), std::string("Empty"));
  EXPECT_FALSE(Value("", "Button1").has_value());
  EXPECT_FALSE(Value("", "Button3").has_value());
}

// Escape reaches the dialog as command 2 with the hidden New button's handle, and a
// close request from another program as WM_CLOSE: both are Close, never New.
TEST_F(MappingDialogTest, EscapeAndCloseRequestsCloseAndNeverClearTheMapping) {
  OpenMappingDialog();
  const auto opened = Stored();
  ASSERT_EQ(opened.at("").count("Button1"), 1u);  // V.20 loaded into the active mapping
  PostKey(kMappingTitle, kEscape);
  WaitUntilGone(kMappingTitle);
  EXPECT_EQ(Stored(), opened);

  OpenMappingDialog();
  Record(kSlot3Label, {"0x48", "0x49"}, "hi");
  const auto recorded = Stored();
  // Cancel to the question keeps the dialog, and everything, as it was.
  ASSERT_TRUE(session_.Probe({"post-dialog", kMappingTitle, std::to_string(kCloseRequest), "0"})
                  .Succeeded());
  EXPECT_EQ(WaitForBox(kBoxCaption).Text(), std::string("Save changes for ProEngineer V.20?"));
  Press(kBoxCaption, kCancel);
  WaitForBox(kMappingTitle);
  EXPECT_EQ(Stored(), recorded);
  // Escape asks the same; No closes with the recording in the active mapping only.
  PostKey(kMappingTitle, kEscape);
  EXPECT_EQ(WaitForBox(kBoxCaption).Text(), std::string("Save changes for ProEngineer V.20?"));
  Press(kBoxCaption, kNo);
  WaitUntilGone(kMappingTitle);
  EXPECT_EQ(Stored(), recorded);
  EXPECT_EQ(Value(kV20, "Button3"), kAltVI);
  EXPECT_EQ(Value("", "Name"), std::string(kV20));
}

TEST_F(MappingDialogTest, PickingAnotherMappingAsksAndStayingKeepsTheOneInForce) {
  OpenMappingDialog();
  EXPECT_EQ(CommandStates(), "0 1");
  EXPECT_EQ(LabelColour(kSlot1Label), kBlue);
  EXPECT_EQ(LabelColour(kSlot5Label), kBlack);
  EXPECT_EQ(LabelText(kSlot5Label), std::string("(5)"));
  const auto factoryV18 = Stored().at(kV18);
  ASSERT_EQ(factoryV18.count("Button1"), 1u);

  Record(kSlot3Label, {"0x48", "0x49"}, "hi");
  EXPECT_EQ(CommandStates(), "1 1");
  EXPECT_EQ(LabelColour(kSlot3Label), kBlue);
  const std::optional<std::string> hi = Value("", "Button3");

  // V.18 picked with the arrow key, the question answered Cancel: the box shows
  // V.20 again, whose changes are in force, and Save then saves into V.20.
  PickWithArrow(kArrowUp, "Save changes for ProEngineer V.20?", kCancel);
  EXPECT_EQ(NameBoxText(), std::string(kV20));
  EXPECT_EQ(Value("", "Button3"), hi);
  EXPECT_EQ(CommandStates(), "1 1");
  ASSERT_TRUE(session_.Probe({"click", kMappingTitle, std::to_string(kSave)}).Succeeded());
  EXPECT_EQ(Value(kV20, "Button3"), hi);
  EXPECT_EQ(Stored().at(kV18), factoryV18);
  EXPECT_EQ(CommandStates(), "0 1");

  // No: V.18 is loaded, V.20 keeps what was saved; Save stays enabled, since the
  // path leaves the changed flag as it was.
  Record(kSlot5Label, {"0x4A"}, "j");
  PickWithArrow(kArrowUp, "Save changes for ProEngineer V.20?", kNo);
  EXPECT_EQ(NameBoxText(), std::string(kV18));
  EXPECT_EQ(Value("", "Name"), std::string(kV18));
  EXPECT_EQ(Value("", "Button1"), factoryV18.at("Button1"));
  EXPECT_FALSE(Value("", "Button5").has_value());
  EXPECT_EQ(LabelText(kSlot5Label), std::string("(5)"));
  EXPECT_EQ(LabelColour(kSlot5Label), kBlack);
  EXPECT_FALSE(Value(kV20, "Button5").has_value());
  EXPECT_EQ(CommandStates(), "1 1");

  // Yes: saved under the name shown before the change, then V.20 loaded.
  Record(kSlot5Label, {"0x4B"}, "k");
  const std::optional<std::string> k = Value("", "Button5");
  PickWithArrow(kArrowDown, "Save changes for ProEngineer V.18?", kYes);
  EXPECT_EQ(NameBoxText(), std::string(kV20));
  EXPECT_EQ(Value(kV18, "Button5"), k);
  EXPECT_EQ(Value("", "Button3"), hi);
  EXPECT_FALSE(Value("", "Button5").has_value());
  EXPECT_EQ(CommandStates(), "0 1");
}

// Programs are linked to the mapping in the name box: one picked among the
// running programs, one typed; they are saved with Save like its slots, an entry
// that is no file name is refused, and "Empty" may be linked too.
TEST_F(MappingDialogTest, ProgramsAreLinkedThroughTheChooserAndSavedWithTheMapping) {
  StartNotepad();
  OpenMappingDialog();
  EXPECT_EQ(LabelText(kProgramsField), std::string(""));
  EXPECT_EQ(CommandStates(), "0 1");

  // The chooser lists the programs with a window, sorted, without the driver.
  ClickWithPointer(kMappingTitle, kAddProgram);
  WaitForBox(kChooserTitle);
  const std::vector<std::string> offered = ComboItems(kChooserTitle, kProgramChoices);
  EXPECT_THAT(offered, ::testing::Contains("notepad.exe"));
  EXPECT_THAT(offered, ::testing::Not(::testing::Contains("astrodriver.exe")));
  const auto lower = [](std::string name) {
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
  };
  EXPECT_TRUE(std::is_sorted(
      offered.begin(), offered.end(),
      [&](const std::string& a, const std::string& b) { return lower(a) < lower(b); }))
      << ::testing::PrintToString(offered);
  EXPECT_FALSE(session_.Screenshot("program_chooser").empty());
  // "n" finds notepad in the focused list, Enter takes it.
  ASSERT_TRUE(session_.Probe({"type-keys", "0x4E", "0x0D"}).Succeeded());
  const auto deadline = Clock::now() + kReplyTimeout;
  while (LabelText(kProgramsField) != std::string("notepad.exe")) {
    ASSERT_LT(Clock::now(), deadline) << "the chosen program did not reach the field";
    std::this_thread::sleep_for(50ms);
  }
  EXPECT_EQ(CommandStates(), "1 1");
  EXPECT_FALSE(Value(kV20, "Programs").has_value()) << "saved before Save";

  // A second one typed with blanks; Save stores the list as text, without them.
  TypeIntoProgramsField({"0x20", "0xBA", "0x20", "0x58", "0x54", "0x4F", "0x50", "0xBE", "0x45",
                         "0x58", "0x45"});  // " ; xtop.exe"
  EXPECT_FALSE(session_.Screenshot("mapping_dialog_programs_en").empty());
  ClickWithPointer(kMappingTitle, kSave);
  EXPECT_EQ(Value(kV20, "Programs"), std::string("notepad.exe;xtop.exe"));
  EXPECT_EQ(LabelText(kProgramsField), std::string("notepad.exe;xtop.exe"));
  EXPECT_EQ(CommandStates(), "0 1");

  // An entry with a folder is refused by name and nothing is saved.
  TypeIntoProgramsField({"0xBA", "0x43", "0x41", "0x44", "0xDC", "0x58", "0xBE", "0x45", "0x58",
                         "0x45"});  // ";cad\x.exe"
  ClickWithPointer(kMappingTitle, kSave);
  EXPECT_EQ(WaitForBox(kBoxCaption).Text(),
            std::string("A program is named by its file name without folder (for example "
                        "notepad.exe); cad\\x.exe cannot be one !"));
  EXPECT_FALSE(session_.Screenshot("mapping_program_refused").empty());
  Press(kBoxCaption, kOk);
  EXPECT_EQ(Value(kV20, "Programs"), std::string("notepad.exe;xtop.exe"));
  EXPECT_EQ(CommandStates(), "1 1");

  // Leaving the mapping asks about the unsaved list; after No it is dropped, and
  // V.18 shows its own list: none.
  PickWithArrow(kArrowUp, "Save changes for ProEngineer V.20?", kNo);
  EXPECT_EQ(NameBoxText(), std::string(kV18));
  EXPECT_EQ(LabelText(kProgramsField), std::string(""));
  EXPECT_EQ(Value(kV20, "Programs"), std::string("notepad.exe;xtop.exe"));
  EXPECT_EQ(CommandStates(), "0 1");

  // "Empty", three entries up, takes a list, though never slots.
  for (int up = 0; up < 3; ++up) PostKey(kMappingTitle, kArrowUp);
  const auto picked = Clock::now() + kReplyTimeout;
  while (NameBoxText() != std::string("Empty")) {
    ASSERT_LT(Clock::now(), picked) << "\"Empty\" was not picked";
    std::this_thread::sleep_for(50ms);
  }
  TypeIntoProgramsField({"0x43", "0x41", "0x4C", "0x43", "0xBE", "0x45", "0x58", "0x45"});
  ClickWithPointer(kMappingTitle, kSave);
  EXPECT_EQ(Value("Empty", "Programs"), std::string("calc.exe"));
  const auto stored = Stored();
  ASSERT_TRUE(stored.count("Empty"));
  EXPECT_EQ(stored.at("Empty").size(), 1u) << "the generic mapping took a slot";
}

class GermanMappingDialogTest : public MappingDialogTest {
 protected:
  void BeforeDriverStarts() override {
    MappingDialogTest::BeforeDriverStarts();
    std::string error;
    ASSERT_TRUE(session_.SetDriverSetting("Language", "1", &error)) << error;
    ASSERT_TRUE(session_.SetDriverString(kV20, "Programs", "notepad.exe;proe.exe", &error))
        << error;
  }
};

// The stored list is shown with the mapping, in the German dialog's line.
TEST_F(GermanMappingDialogTest, TheLineShowsTheStoredListInGerman) {
  ASSERT_TRUE(PostToDriver(kCommandMessage, kKeyboardCommand, 0));
  const std::string title = "AIRCAP - Tastaturbelegung";
  WaitForBox(title);
  const auto text = [&](int control) {
    return session_.Probe({"control-text", title, std::to_string(control)}).Text();
  };
  EXPECT_EQ(text(kProgramsField), std::string("notepad.exe;proe.exe"));
  EXPECT_EQ(text(kAddProgram), std::string("&Programm hinzuf\xFCgen..."));
  EXPECT_FALSE(session_.Screenshot("mapping_dialog_programs_de").empty());
}

TEST_F(MappingDialogTest, CaptureTakesEnterEscapeAndTabAndStopsWhereTheStoreStops) {
  OpenMappingDialog();
  // Enter, Escape and Tab are keys of the sequence, not commands of the dialog. The
  // notation names them as the system does (Wine: "Return", "Escape").
  Record(kSlot3Label, {"0x0D", "0x1B", "0x09"}, "[Return][Escape][Tab]");
  WaitUntilGone(kCaptureTitle);
  const std::optional<std::string> keys = Value("", "Button3");
  EXPECT_EQ(HiKinds(keys.value_or("")), "1:13 2:13 1:27 2:27 1:9 2:9 0:0 ");

  // Cancel, and the close box, leave the slot as it was.
  for (const bool closeBox : {false, true}) {
    ClickWithPointer(kMappingTitle, kSlot3Label);
    WaitForBox(kCaptureTitle);
    TypeIntoCapture(kSlot3Label, {"0x41"}, "a");
    if (closeBox) {
      ASSERT_TRUE(
          session_.Probe({"dialog-syscommand", kCaptureTitle, std::to_string(kCloseCommand)})
              .Succeeded());
    } else {
      ASSERT_TRUE(
          session_.Probe({"click", kCaptureTitle, std::to_string(kCaptureCancel)}).Succeeded());
    }
    WaitUntilGone(kCaptureTitle);
    EXPECT_EQ(LabelText(kSlot3Label), std::string("[Return][Escape][Tab]")) << closeBox;
    EXPECT_EQ(LabelColour(kSlot3Label), kBlue) << closeBox;
    EXPECT_EQ(Value("", "Button3"), keys) << closeBox;
  }

  // A second capture is refused while one runs: slot 1's label clicked meanwhile
  // opens nothing, and the OK of the first then ends the only capture there is.
  ClickWithPointer(kMappingTitle, kSlot3Label);
  WaitForBox(kCaptureTitle);
  ASSERT_TRUE(session_.Probe({"move-window", kCaptureTitle, "700", "560"}).Succeeded());
  TypeIntoCapture(kSlot3Label, {"0x48"}, "h");
  ClickWithPointer(kMappingTitle, kSlot1Label);
  ClickWithPointer(kCaptureTitle, kCaptureOk);
  WaitUntilGone(kCaptureTitle);
  EXPECT_EQ(HiKinds(Value("", "Button3").value_or("")), "1:72 2:72 0:0 ");
  EXPECT_EQ(Value("", "Button1"), kAltVR);
  EXPECT_EQ(LabelText(kSlot1Label), std::string("[Alt]vr"));

  // 255 letters typed are 510 events; of B after them only the key-up fits (a
  // key-down needs room for its key-up too): 511 events, the most the store reads
  // back (4 bytes each and the end entry make 2048 bytes). Typed a few at a time,
  // each batch awaited, so that no long backlog of input builds up.
  ClickWithPointer(kMappingTitle, kSlot3Label);
  WaitForBox(kCaptureTitle);
  const auto typeAndAwait = [&](const std::vector<std::string>& keys, long count) {
    std::vector<std::string> arguments = {"type-keys"};
    arguments.insert(arguments.end(), keys.begin(), keys.end());
    const ProbeResult typed = session_.Probe(arguments);
    ASSERT_TRUE(typed.Succeeded())
        << "exit code " << typed.exitCode << ": " << (typed.lines.empty() ? "" : typed.lines[0]);
    const auto deadline = Clock::now() + kReplyTimeout;
    while (Answer(kCaptureTitle, kCaptureControl, kGetCount) != count) {
      ASSERT_LT(Clock::now(), deadline) << "the recording did not reach " << count;
      std::this_thread::sleep_for(50ms);
    }
  };
  for (int typed = 0; typed < 255; typed += 15) {
    typeAndAwait(std::vector<std::string>(15, "0x41"), 2 * (typed + 15));
  }
  typeAndAwait({"0x42"}, 0x10000 + 511);  // full, and says so
  ASSERT_TRUE(session_.Probe({"settle", kCaptureTitle}).Succeeded());
  EXPECT_FALSE(session_.Screenshot("capture_full").empty());
  ClickWithPointer(kCaptureTitle, kCaptureOk);
  WaitUntilGone(kCaptureTitle);
  const std::optional<std::string> longest = Value("", "Button3");
  ASSERT_TRUE(longest.has_value());
  ASSERT_EQ(longest->size(), 2048u);
  EXPECT_EQ(longest->substr(2040), Entry(2, 0x30, 0x42) + kEnd);  // B's key-up, then the end
  EXPECT_EQ(LabelText(kSlot3Label), std::string(255, 'a'));
  // It reads back: Save puts it into the named mapping whole.
  ASSERT_TRUE(session_.Probe({"click", kMappingTitle, std::to_string(kSave)}).Succeeded());
  EXPECT_EQ(Value(kV20, "Button3"), longest);
}

// The labels are the program's own buttons. Under the pointer: pressed, the
// pushed look; dragged off, the focused look; back on, pushed again; released
// there, one click, which opens the capture dialog for that slot. Dragged off to
// the left and released there: no click. Enter released on the focused label: a
// click.
TEST_F(MappingDialogTest, LabelButtonsClickWhenReleasedOverThemAndOnEnter) {
  OpenMappingDialog();
  const ProbeResult place =
      session_.Probe({"control-center", kMappingTitle, std::to_string(kSlot3Label)});
  ASSERT_TRUE(place.Succeeded());
  int left = 0, top = 0, width = 0, height = 0;
  std::istringstream(place.Field("RECT").value_or("")) >> left >> top >> width >> height;
  ASSERT_GT(width, 0);
  const std::string y = std::to_string(top + height / 2);
  const std::string inside = std::to_string(left + width / 2);
  // Over the device picture, and over the dialog's margin left of the label.
  const std::string right = std::to_string(left + width + 40);
  const std::string leftOf = std::to_string(left - 8);

  Pointer({"mousemove", inside, y});
  Pointer({"mousedown", "1"});
  EXPECT_TRUE(Looks(kSlot3Label, kPressedLook));
  ASSERT_TRUE(session_.Probe({"settle", kMappingTitle}).Succeeded());
  EXPECT_FALSE(session_.Screenshot("label_pressed").empty());
  Pointer({"mousemove", right, y});
  EXPECT_TRUE(Looks(kSlot3Label, kFocusedLook));
  Pointer({"mousemove", inside, y});
  EXPECT_TRUE(Looks(kSlot3Label, kPressedLook));
  Pointer({"mouseup", "1"});
  WaitForBox(kCaptureTitle);
  EXPECT_EQ(LabelColour(kSlot3Label), kRed);
  ASSERT_TRUE(session_.Probe({"click", kCaptureTitle, std::to_string(kCaptureCancel)}).Succeeded());
  WaitUntilGone(kCaptureTitle);

  Pointer({"mousemove", inside, y});
  Pointer({"mousedown", "1"});
  EXPECT_TRUE(Looks(kSlot3Label, kPressedLook));
  Pointer({"mousemove", leftOf, y});
  EXPECT_TRUE(Looks(kSlot3Label, kFocusedLook));
  Pointer({"mouseup", "1"});
  // Slot 1's label clicked next opens the capture for slot 1: had the release
  // clicked slot 3, its capture would be open and would refuse another.
  ClickWithPointer(kMappingTitle, kSlot1Label);
  WaitForBox(kCaptureTitle);
  EXPECT_EQ(LabelColour(kSlot1Label), kRed);
  EXPECT_NE(LabelColour(kSlot3Label), kRed);
  ASSERT_TRUE(session_.Probe({"click", kCaptureTitle, std::to_string(kCaptureCancel)}).Succeeded());
  WaitUntilGone(kCaptureTitle);

  // The focus comes back to slot 1's label; Enter there is a click too.
  const auto deadline = Clock::now() + kReplyTimeout;
  std::string focus;
  while ((focus = session_.Probe({"focused", kMappingTitle}).Field("FOCUS").value_or("")) !=
         std::to_string(kSlot1Label) + " 0") {
    ASSERT_LT(Clock::now(), deadline) << "the focus is at " << focus;
    std::this_thread::sleep_for(50ms);
  }
  EXPECT_TRUE(Looks(kSlot1Label, kFocusedLook));
  PostKey(kMappingTitle, kEnter);
  WaitForBox(kCaptureTitle);
  EXPECT_EQ(LabelColour(kSlot1Label), kRed);
  ASSERT_TRUE(session_.Probe({"click", kCaptureTitle, std::to_string(kCaptureCancel)}).Succeeded());
}

}  // namespace
}  // namespace e2e
