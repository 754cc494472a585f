// What a button report does: beeps, the button window, key sequences or posts to
// the target and the panel, mouse buttons; and the push gesture's button 12.
#include "delivery/button_actions.h"

#include <gtest/gtest.h>

#include <map>

#include "delivery/motion_shaping.h"
#include "tests/unit/delivery_fixture.h"

namespace astro::testing {
namespace {

constexpr WindowHandle kTarget = 50;
constexpr WindowHandle kPanel = 60;
constexpr WindowHandle kInfo = 70;
constexpr std::uint32_t kPress = 0xC102;
constexpr std::uint32_t kRelease = 0xC103;

// Records into the delivery platform's log, so that one log shows the order of
// everything that happens.
class FakeButtonPlatform : public ButtonPlatform {
 public:
  explicit FakeButtonPlatform(std::vector<std::string>& log) : log_(log) {}
  void Beep() override { log_.push_back("beep"); }
  WindowHandle ButtonInfoWindow() override { return info; }
  void SendToButtonInfo(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                        std::intptr_t lParam) override {
    log_.push_back("send " + std::to_string(window) + " " + Name(message) + " " +
                   std::to_string(wParam) + " " + std::to_string(lParam));
  }
  std::optional<KeyEventList> ReadSequence(int slot) override {
    log_.push_back("read " + std::to_string(slot));
    auto found = sequences.find(slot);
    if (found == sequences.end()) return std::nullopt;
    return found->second;
  }
  bool PanelVisible(WindowHandle) override { return panelVisible; }
  void PostPanelRequest(WindowHandle panel, std::uintptr_t request) override {
    log_.push_back("panel-request " + std::to_string(panel) + " " + std::to_string(request));
  }
  void PostMenuCommand(int command) override { log_.push_back("menu " + std::to_string(command)); }

  static std::string Name(std::uint32_t message) {
    return message == kPress ? "press" : message == kRelease ? "release" : "?";
  }

  WindowHandle info = 0;
  bool panelVisible = false;
  std::map<int, KeyEventList> sequences;

 private:
  std::vector<std::string>& log_;
};

class FakePlayback : public Playback {
 public:
  explicit FakePlayback(std::vector<std::string>& log) : log_(log) {}
  bool Running() override { return running; }
  bool Start(const KeyEventList& sequence) override {
    if (running) return false;
    log_.push_back("type " + std::to_string(CountKeyEvents(sequence.data())));
    return true;
  }
  bool running = false;

 private:
  std::vector<std::string>& log_;
};

KeyEventList Sequence(int events) {
  KeyEventList list(static_cast<std::size_t>(events) + 1);
  for (int i = 0; i < events; ++i) {
    list[static_cast<std::size_t>(i)].message = i % 2 == 0 ? kKeyDown : kKeyUp;
    list[static_cast<std::size_t>(i)].virtualKey = 0x41;
  }
  return list;
}

class ButtonActionsTest : public DeliveryFixture {
 protected:
  ButtonActionsTest() {
    AddWindow(kTarget);
    AddWindow(kPanel, "Panel");
    context.targetWindow = kTarget;
    flags.mouseMode = 0;
    settings.buttonBeep = 0;
  }

  // The posts as "W press|release N MASK", in order.
  std::vector<std::string> Posts() const {
    std::vector<std::string> out;
    for (const PostRecord& post : platform.posts) {
      out.push_back(std::to_string(post.window) + " " + FakeButtonPlatform::Name(post.message) +
                    " " + std::to_string(post.wParam) + " " + std::to_string(post.lParam));
    }
    return out;
  }

  std::vector<std::string> Log(const std::string& prefix) const { return platform.Entries(prefix); }

  FakeButtonPlatform buttons{platform.log};
  FakePlayback playback{platform.log};
  ButtonActions actions{scope, buttons, playback};
};

using Strings = std::vector<std::string>;

TEST_F(ButtonActionsTest, TwoButtonsInOneReportBeepAndPostInButtonOrder) {
  settings.buttonBeep = 1;
  actions.DeliverButtons(0b101);
  EXPECT_EQ(Log("beep"), Strings(2, "beep"));
  EXPECT_EQ(Posts(), (Strings{"50 press 1 5", "50 press 3 5"}));
  // Each beep comes before its button's post.
  const Strings expectedOrder = {"beep", "read 1", "post 50", "beep", "read 3", "post 50"};
  EXPECT_EQ(platform.log, expectedOrder);
  EXPECT_EQ(flags.buttonDown[0], 1);
  EXPECT_EQ(flags.buttonDown[1], 0);
  EXPECT_EQ(flags.buttonDown[2], 1);
  EXPECT_EQ(context.buttonMask, 5u);

  actions.DeliverButtons(0b100);
  EXPECT_EQ(Posts().back(), "50 release 1 4");
  EXPECT_EQ(flags.buttonDown[0], 0);
  EXPECT_EQ(Log("beep").size(), 2u);  // no beep for a release
}

TEST_F(ButtonActionsTest, ReleasingButton9KeepsButtons1To8AndReleases10To12) {
  actions.DeliverButtons(0x100 | 0x001);
  platform.posts.clear();
  // Button 9 goes up and button 2 goes down in one report.
  actions.DeliverButtons(0x002);
  EXPECT_EQ(Posts(), (Strings{"50 release 9 1"}));
  EXPECT_EQ(context.buttonMask, 1u);
  // Button 2 is seen once a later report still shows it down.
  actions.DeliverButtons(0x003);
  EXPECT_EQ(Posts().back(), "50 press 2 3");

  actions.DeliverButtons(0x100 | 0x200 | 0x800 | 0x003);
  platform.posts.clear();
  actions.DeliverButtons(0x200 | 0x800);
  EXPECT_EQ(Posts(), (Strings{"50 release 9 3", "50 release 10 3", "50 release 12 3"}));
}

TEST_F(ButtonActionsTest, PressWithASequenceTypesItInsteadOfPosting) {
  buttons.sequences[4] = Sequence(6);
  actions.DeliverButtons(0x008);
  EXPECT_EQ(Log("type"), (Strings{"type 6"}));
  EXPECT_TRUE(Posts().empty());
  ASSERT_TRUE(actions.MacroSlot(3).has_value());
  // The release is posted all the same; the held sequence goes with the next
  // report that finds no playback running.
  actions.DeliverButtons(0);
  EXPECT_EQ(Posts(), (Strings{"50 release 4 0"}));
  EXPECT_FALSE(actions.MacroSlot(3).has_value());
}

TEST_F(ButtonActionsTest, DuringAPlaybackPressesGoToTheTargetAndHeldSequencesStay) {
  buttons.sequences[4] = Sequence(6);
  buttons.sequences[5] = Sequence(2);
  actions.DeliverButtons(0x010);  // button 5 types
  playback.running = true;
  actions.DeliverButtons(0x018);  // button 4 pressed while it types
  EXPECT_EQ(Log("type"), (Strings{"type 2"}));
  EXPECT_EQ(Posts(), (Strings{"50 press 4 24"}));
  EXPECT_TRUE(actions.MacroSlot(4).has_value());
  playback.running = false;
  actions.DeliverButtons(0x018);
  EXPECT_FALSE(actions.MacroSlot(4).has_value());
}

TEST_F(ButtonActionsTest, OfTwoSequencesInOneReportTheFirstIsTypedAndTheSecondPosted) {
  // The system takes typed keys at once, so the playback is never seen running;
  // the first sequence still runs for the rest of its report.
  buttons.sequences[4] = Sequence(6);
  buttons.sequences[5] = Sequence(2);
  actions.DeliverButtons(0x018);
  EXPECT_EQ(Log("type"), (Strings{"type 6"}));
  EXPECT_EQ(Posts(), (Strings{"50 press 5 24"}));
  // The next report types again.
  actions.DeliverButtons(0);
  actions.DeliverButtons(0x010);
  EXPECT_EQ(Log("type"), (Strings{"type 6", "type 2"}));
}

TEST_F(ButtonActionsTest, EmptySequenceTakesTheSequencePathAndTypesNothing) {
  buttons.sequences[4] = KeyEventList(1);  // the end record alone
  buttons.sequences[5] = Sequence(2);
  actions.DeliverButtons(0x008);
  EXPECT_EQ(Log("type"), (Strings{"type 0"}));
  EXPECT_TRUE(Posts().empty());
  // Nothing plays, so a second button of the same report types its own.
  actions.DeliverButtons(0);
  actions.DeliverButtons(0x018);
  EXPECT_EQ(Log("type"), (Strings{"type 0", "type 0", "type 2"}));
}

TEST_F(ButtonActionsTest, ButtonWindowIsSentToAndThePanelPostedTo) {
  buttons.info = kInfo;
  platform.panel = kPanel;
  buttons.sequences[1] = Sequence(2);
  actions.DeliverButtons(0x003);
  EXPECT_EQ(Log("send"), (Strings{"send 70 press 1 3", "send 70 press 2 3"}));
  // Button 1 typed its sequence: the panel still hears of it, the target not.
  EXPECT_EQ(Posts(), (Strings{"60 press 1 3", "50 press 2 3", "60 press 2 3"}));
}

TEST_F(ButtonActionsTest, GoneTargetLeavesTheTableAndWindow0GetsNothing) {
  AppEntry entry;
  entry.window = kTarget;
  entry.processId = 7;
  entry.threadId = 8;
  apps.StoreByThread(8, entry);
  platform.windows.erase(kTarget);
  actions.DeliverButtons(0x001);
  EXPECT_EQ(apps.Slot(0).window, 0u);
  EXPECT_EQ(context.targetWindow, kTarget);  // kept; motion picks a new one

  context.targetWindow = 0;
  platform.posts.clear();
  actions.DeliverButtons(0x000);
  EXPECT_TRUE(Posts().empty());
}

TEST_F(ButtonActionsTest, MouseButtonsFollowTheTableWithDragLocks) {
  flags.mouseMode = 8;
  const auto press = [&](std::uint32_t bit) {
    actions.DeliverButtons(context.buttonMask | bit);
    actions.DeliverButtons(context.buttonMask & ~bit);
  };
  press(0x002);  // button 2: left down
  press(0x002);  // left up
  press(0x002);  // left down
  EXPECT_EQ(Log("mouse"), (Strings{"mouse 2", "mouse 4", "mouse 2"}));
  platform.log.clear();
  press(0x001);  // button 1: left down, then up on release
  press(0x004);  // button 3: right down (latched)
  press(0x004);  // right up
  press(0x008);  // button 4: right down, up
  press(0x010);  // button 5: middle down, up
  press(0x020);  // button 6: middle down (latched)
  press(0x040);  // button 7: nothing
  press(0x080);  // button 8: one wheel notch
  press(0x100);  // button 9: nothing
  const Strings expected = {"mouse 2",  "mouse 4",  "mouse 8",  "mouse 16", "mouse 8",
                            "mouse 16", "mouse 32", "mouse 64", "mouse 32", "wheel 120"};
  Strings seen;
  for (const std::string& entry : platform.log) {
    if (entry.rfind("mouse", 0) == 0 || entry.rfind("wheel", 0) == 0) seen.push_back(entry);
  }
  EXPECT_EQ(seen, expected);
}

TEST_F(ButtonActionsTest, ALostControllerLeavesNothingPressed) {
  flags.mouseMode = 8;
  actions.DeliverButtons(0x004);  // button 3: right down, latched
  actions.DeliverButtons(0x000);
  actions.DeliverButtons(0x001 | 0x100 | 0x400);  // buttons 1, 9 and 11 held
  platform.posts.clear();
  platform.log.clear();
  actions.ReleaseAll();
  EXPECT_EQ(Posts(), (Strings{"50 release 9 1", "50 release 11 1", "50 release 1 0"}));
  EXPECT_EQ(context.buttonMask, 0u);
  // Button 1's left button, then the drag lock's right button.
  EXPECT_EQ(Log("mouse"), (Strings{"mouse 4", "mouse 16"}));

  // Nothing held: nothing happens.
  platform.log.clear();
  actions.ReleaseAll();
  EXPECT_TRUE(platform.log.empty());
}

TEST_F(ButtonActionsTest, WithoutMouseBit3NoMouseButtonMoves) {
  flags.mouseMode = MouseModeDefault & ~8;
  for (std::uint32_t bit = 1; bit < 0x1000; bit <<= 1) {
    actions.DeliverButtons(bit);
    actions.DeliverButtons(0);
  }
  EXPECT_TRUE(Log("mouse").empty());
  EXPECT_TRUE(Log("wheel").empty());
}

TEST_F(ButtonActionsTest, HintviewPressWithoutSequenceOpensThePanelAndTellsTheTarget) {
  settings.buttonBeep = 1;
  actions.HintviewPress();
  EXPECT_EQ(Log("menu"), (Strings{"menu 110"}));
  EXPECT_EQ(Log("beep").size(), 1u);
  EXPECT_EQ(Posts(), (Strings{"50 press 12 2048"}));
  actions.HintviewRelease();
  EXPECT_EQ(Posts().back(), "50 release 12 0");

  // With the panel open: it is asked to hide when visible, to show when not, and
  // hears of the press itself.
  platform.panel = kPanel;
  platform.posts.clear();
  buttons.panelVisible = true;
  actions.HintviewPress();
  buttons.panelVisible = false;
  actions.HintviewPress();
  EXPECT_EQ(Log("panel-request"), (Strings{"panel-request 60 3", "panel-request 60 2"}));
  EXPECT_EQ(Posts(), (Strings{"50 press 12 2048", "60 press 12 2048", "50 press 12 2048",
                              "60 press 12 2048"}));
}

TEST_F(ButtonActionsTest, HintviewPressWithASequenceTypesItAndStillTellsTheTarget) {
  buttons.info = kInfo;
  buttons.sequences[12] = Sequence(4);
  actions.HintviewPress();
  EXPECT_EQ(Log("type"), (Strings{"type 4"}));
  EXPECT_TRUE(Log("menu").empty());
  EXPECT_EQ(Posts(), (Strings{"70 press 12 2048", "50 press 12 2048"}));
  EXPECT_TRUE(actions.MacroSlot(11).has_value());
  platform.panel = kPanel;
  actions.HintviewRelease();
  EXPECT_EQ(Posts(), (Strings{"70 press 12 2048", "50 press 12 2048", "70 release 12 0",
                              "50 release 12 0", "60 release 12 0"}));
}

class NoLog : public PushLog {
 public:
  void AppendLine(const std::string&) override {}
};

TEST_F(ButtonActionsTest, RecognisedPushOpensThePanelAndIsButton12UntilTheNextRest) {
  // A force of 500 along -Y acting at (0, 0, -0.5) on the cap, inside the wedge:
  // torque p x t = (-250, 0, 0), so A = -250 / 0.865 = -289. Each entry scores 1,
  // the force never falls (g = 3) and is strong from the first entry (f = 0):
  // R = 0.1 + 0.4 + 0.3 + 0.2 = 1 > 0.85.
  NoLog log;
  PushGestureRecognizer recognizer(actions, log);
  scope.push = &recognizer;
  flags.hintviewActive = 1;
  for (int sample = 0; sample < 5; ++sample) {
    SetAxes(0, -500, 0, -289, 0, 0);
    DeliverMotion(scope);
  }
  EXPECT_EQ(Log("menu"), (Strings{"menu 110"}));
  EXPECT_EQ(Posts(), (Strings{"50 press 12 2048"}));  // no motion while it is judged

  // Held: more of the push is swallowed; the rest releases it and moves on.
  SetAxes(0, -480, 0, -280, 0, 0);
  DeliverMotion(scope);
  EXPECT_EQ(Posts().size(), 1u);
  SetAxes(0, 0, 0, 0, 0, 0);
  DeliverMotion(scope);
  ASSERT_EQ(platform.posts.size(), 3u);
  EXPECT_EQ(Posts()[1], "50 release 12 0");
  EXPECT_EQ(platform.posts[2].message, kMotionMessage);
}

}  // namespace
}  // namespace astro::testing
