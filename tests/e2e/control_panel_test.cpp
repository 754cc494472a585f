// The control panel and the button information window end to end, worked through
// the probe: the panel opens from the menu and from a push on the cap, its
// sliders shape the motion a client receives at once, OK saves, its switches
// command the device, and the button window shows what a held button does and
// remembers where the user put it. Screenshots of both are kept as artifacts.
#include <gmock/gmock.h>

#include <cmath>
#include <sstream>
#include <thread>
#include <tuple>

#include "client/astrolab_client.h"
#include "tests/e2e/client_events.h"
#include "tests/e2e/client_fixture.h"
#include "tests/e2e/harness_paths.h"
#include "tests/e2e/tracking_fixture.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;

constexpr const char* kPanelTitle = "Astrolab/AIRCAP 3D Controller Panel";
constexpr int kPanelCommand = 110;
constexpr int kLineLeft = 0;       // SB_LINELEFT
constexpr int kThumbPosition = 4;  // SB_THUMBPOSITION
constexpr int kCloseCommand = 0xF060;

class ControlPanelTest : public TrackingTest {
 protected:
  void OpenPanel() {
    ASSERT_TRUE(PostToDriver(kCommandMessage, kPanelCommand, 0));
    WaitForBox(kPanelTitle);
  }

  std::optional<std::string> ControlText(const std::string& caption, int item) {
    return session_.Probe({"control-text", caption, std::to_string(item)}).Text();
  }

  // Waits until the control shows the text; false on time-out.
  bool WaitForControlText(const std::string& caption, int item, const std::string& text) {
    const auto deadline = Clock::now() + kReplyTimeout;
    while (ControlText(caption, item) != text) {
      if (Clock::now() >= deadline) return false;
      std::this_thread::sleep_for(50ms);
    }
    return true;
  }

  // Waits until the control is enabled (the refresh after a device report).
  bool WaitForEnabled(const std::string& caption, int item) {
    const auto deadline = Clock::now() + kReplyTimeout;
    while (session_.Probe({"control-text", caption, std::to_string(item)}).Field("ENABLED") !=
           std::string("1")) {
      if (Clock::now() >= deadline) return false;
      std::this_thread::sleep_for(50ms);
    }
    return true;
  }

  void Click(const std::string& caption, int item) {
    EXPECT_TRUE(session_.Probe({"click", caption, std::to_string(item)}).Succeeded())
        << item << " in \"" << caption << "\"";
  }

  std::optional<std::string> Stored(const std::string& name) {
    const auto keys = session_.ReadDriverKey();
    if (!keys || keys->count("") == 0 || keys->at("").count(name) == 0) return std::nullopt;
    return keys->at("").at(name);
  }

  bool WaitForStored(const std::string& name, const std::string& value) {
    const auto deadline = Clock::now() + kReplyTimeout;
    while (Stored(name) != value) {
      if (Clock::now() >= deadline) return false;
      std::this_thread::sleep_for(100ms);
    }
    return true;
  }

  // The button events of one name a client received: (button, mask) pairs.
  std::vector<std::pair<std::uint64_t, std::int64_t>> Buttons(const ClientWindow& client,
                                                              const char* name) {
    std::vector<std::pair<std::uint64_t, std::int64_t>> events;
    for (const ClientEvent& event : ClientEvents(*client.process, name)) {
      events.emplace_back(event.wParam, event.lParam);
    }
    return events;
  }

  bool WaitForButtons(const ClientWindow& client, const char* name, std::size_t count) {
    const auto deadline = Clock::now() + kReplyTimeout;
    while (ClientEvents(*client.process, name).size() < count) {
      if (Clock::now() >= deadline) return false;
      std::this_thread::sleep_for(20ms);
    }
    return true;
  }
};

// The sliders' tooltips show their positions, which the panel's scroll bars hold:
// the null radius as it is, an axis as the position plus 50, in percent.
class PanelTooltipTest : public ControlPanelTest {
 protected:
  void BeforeDriverStarts() override {
    std::string error;
    ASSERT_TRUE(session_.SetDriverSetting("NullRadius", "37", &error)) << error;
    // e^(20/20): the X slider at +20.
    ASSERT_TRUE(session_.SetDriverSetting("Scaling X", "1  +2.7183", &error)) << error;
  }

  // Rests the pointer on the control until a tooltip with the text shows; the
  // text of the last tooltip seen when none does.
  std::string TooltipOver(int item, const std::string& expected) {
    const ProbeResult point = session_.Probe({"control-center", kPanelTitle, std::to_string(item)});
    EXPECT_TRUE(point.Succeeded()) << item;
    std::istringstream words(point.Field("POINT").value_or("0 0"));
    std::string x, y;
    words >> x >> y;
    const std::string xdotool = FindOnPath("xdotool");
    EXPECT_EQ(session_.Run({xdotool, "mousemove", x, y}, 10s), 0);
    EXPECT_EQ(session_.Run({xdotool, "mousemove_relative", "1", "1"}, 10s), 0);
    std::string seen;
    const auto deadline = Clock::now() + kReplyTimeout;
    while (Clock::now() < deadline) {
      seen = session_.Probe({"wait-tooltip", "5000"}).Text().value_or("");
      if (seen == expected) break;
      std::this_thread::sleep_for(100ms);
    }
    return seen;
  }
};

TEST_F(PanelTooltipTest, SlidersShowTheirPositionsInTheirTooltips) {
  OpenPanel();
  EXPECT_EQ(session_.Probe({"scroll-pos", kPanelTitle, "1037"}).lines.at(0), "37");
  const std::string radius = "This slider is for adjusting the overall absorbtion, (37)";
  EXPECT_EQ(TooltipOver(1037, radius), radius);
  EXPECT_FALSE(session_.Screenshot("panel_tooltip").empty());
  const std::string axis = "Use this slider to adjust the sensitivity for the x - axis (70% )";
  EXPECT_EQ(TooltipOver(1035, axis), axis);
  // The application reports a factor of 1/8: the overall slider at -3, a quarter.
  ASSERT_TRUE(
      session_
          .Probe({"send-command", std::to_string(CmdReportSensitivity), std::to_string(0x3E000000)})
          .Succeeded());
  const auto deadline = Clock::now() + kReplyTimeout;
  while (session_.Probe({"scroll-pos", kPanelTitle, "1036"}).lines.at(0) != "-3") {
    ASSERT_LT(Clock::now(), deadline) << "the overall slider did not move to -3";
    std::this_thread::sleep_for(50ms);
  }
  const std::string overall =
      "Use this slider to adjust the overall sensitivity (more to the right, less to the left) "
      "(25% )";
  EXPECT_EQ(TooltipOver(1036, overall), overall);
}

TEST_F(ControlPanelTest, AxisSliderShapesMotionAtOnceAndOkSavesIt) {
  const ClientWindow client = StartClient("Panel client");
  ASSERT_EQ(NextSampleGoesTo(), client.window);
  OpenPanel();
  ASSERT_TRUE(session_.Probe({"settle", kPanelTitle}).Succeeded());
  EXPECT_FALSE(session_.Screenshot("control_panel").empty());

  // One step left on the X slider: the factor becomes e^(-1/20).
  ASSERT_TRUE(
      session_.Probe({"scroll", kPanelTitle, "1035", std::to_string(kLineLeft), "0"}).Succeeded());
  EXPECT_EQ(session_.Probe({"scroll-pos", kPanelTitle, "1035"}).lines.at(0), "-1");
  ASSERT_TRUE(controller_->SendRaw(sim::ShortMotionLine({400, 0, 0, 0, 0, 0})));
  ASSERT_TRUE(controller_->SendRaw(sim::ShortMotionLine({0, 0, 0, 0, 0, 0})));
  const auto deadline = Clock::now() + kReplyTimeout;
  std::vector<ClientEvent> motion;
  while ((motion = ClientEvents(*client.process, ASTROLAB_MOTION_EVENT)).size() < 3) {
    ASSERT_LT(Clock::now(), deadline) << "the samples did not arrive";
    std::this_thread::sleep_for(20ms);
  }
  std::int32_t axes[6];
  const MotionWords words = *WordsOf(motion[1]);
  AstrolabUnpackMotion(words.wParam, words.lParam, axes);
  EXPECT_EQ(axes[0], static_cast<std::int32_t>(400 * std::exp(-0.05)));  // 380
  EXPECT_EQ(axes[0], 380);

  Click(kPanelTitle, kOk);
  const std::optional<std::string> scaling = Stored("Scaling X");
  ASSERT_TRUE(scaling.has_value());
  std::istringstream fields(*scaling);
  int enabled = 0;
  double factor = 0;
  fields >> enabled >> factor;
  EXPECT_EQ(enabled, 1);
  EXPECT_NEAR(factor, 0.9512, 1e-9);
  // OK hides the panel.
  EXPECT_FALSE(session_.Probe({"dialog-rect", kPanelTitle}).Succeeded());
}

TEST_F(ControlPanelTest, ModeSwitchesCommandTheDeviceAndAModeReportEndsHintview) {
  OpenPanel();
  controller_->ClearRecord();
  // Nothing reported yet: all three modes off, the device not Hintview-capable.
  Click(kPanelTitle, 1113);
  Click(kPanelTitle, 1115);
  ASSERT_TRUE(controller_->WaitForCommands(2, kReplyTimeout));
  EXPECT_THAT(CommandLines(*controller_), ElementsAre("mB", "m3"));
  EXPECT_TRUE(WaitForControlText(kPanelTitle, 1113, "Translation ON"));

  // A capable device in translation and rotation: Hintview can be switched on,
  // and the switches now send the long mode command.
  ASSERT_TRUE(controller_->SendRaw(sim::LongModeLine(3, 3)));
  ASSERT_TRUE(WaitForEnabled(kPanelTitle, 2018));
  controller_->ClearRecord();
  Click(kPanelTitle, 1116);
  ASSERT_TRUE(controller_->WaitForCommand("cG3", kReplyTimeout));
  Click(kPanelTitle, 1116);
  ASSERT_TRUE(controller_->WaitForCommand("c33", kReplyTimeout));
  Click(kPanelTitle, 2018);
  EXPECT_TRUE(WaitForControlText(kPanelTitle, 2018, "Hintview ON"));

  // The device reports translation, rotation and the dominant axis: Hintview off.
  ASSERT_TRUE(controller_->SendRaw(sim::LongModeLine(7, 3)));
  EXPECT_TRUE(WaitForControlText(kPanelTitle, 2018, "Hintview OFF"));
  EXPECT_TRUE(WaitForControlText(kPanelTitle, 1116, "Dominant ON"));
}

TEST_F(ControlPanelTest, APushOnTheCapOpensTheHiddenPanelAndIsButton12) {
  OpenPanel();
  const ClientWindow client = StartClient("Push client");
  ASSERT_EQ(NextSampleGoesTo(), client.window);
  ASSERT_TRUE(controller_->SendRaw(sim::LongModeLine(3, 3)));
  ASSERT_TRUE(WaitForEnabled(kPanelTitle, 2018));
  Click(kPanelTitle, 2018);
  ASSERT_TRUE(WaitForControlText(kPanelTitle, 2018, "Hintview ON"));
  Click(kPanelTitle, kOk);  // hidden

  // A firm push along -Y at a point inside the push zone, five samples, then rest.
  for (int sample = 0; sample < 5; ++sample) {
    ASSERT_TRUE(controller_->SendRaw(sim::ShortMotionLine({0, -500, 0, -289, 0, 0})));
  }
  WaitForBox(kPanelTitle);  // shown again
  ASSERT_TRUE(WaitForButtons(client, ASTROLAB_BUTTON_PRESS_EVENT, 1));
  ASSERT_TRUE(controller_->SendRaw(sim::ShortMotionLine({0, 0, 0, 0, 0, 0})));
  ASSERT_TRUE(WaitForButtons(client, ASTROLAB_BUTTON_RELEASE_EVENT, 1));
  EXPECT_THAT(Buttons(client, ASTROLAB_BUTTON_PRESS_EVENT),
              ElementsAre(std::pair<std::uint64_t, std::int64_t>{12, 2048}));
  EXPECT_THAT(Buttons(client, ASTROLAB_BUTTON_RELEASE_EVENT),
              ElementsAre(std::pair<std::uint64_t, std::int64_t>{12, 0}));
}

TEST_F(ControlPanelTest, ThumbDragOfTheOverallSliderStepsTheApplicationWithButton6) {
  OpenPanel();
  // Registered while the panel is open: the panel's target.
  const ClientWindow client = StartClient("Sensitivity client");
  ASSERT_EQ(NextSampleGoesTo(), client.window);
  // The application reports a factor of 0.25: the slider goes to -2.
  const std::uint32_t quarter = 0x3E800000;  // 0.25f
  ASSERT_TRUE(
      session_
          .Probe({"send-command", std::to_string(CmdReportSensitivity), std::to_string(quarter)})
          .Succeeded());
  const auto deadline = Clock::now() + kReplyTimeout;
  while (session_.Probe({"scroll-pos", kPanelTitle, "1036"}).lines.at(0) != "-2") {
    ASSERT_LT(Clock::now(), deadline) << "the slider did not follow the reported factor";
    std::this_thread::sleep_for(50ms);
  }
  const std::size_t pressesBefore =
      ClientEvents(*client.process, ASTROLAB_BUTTON_PRESS_EVENT).size();
  ASSERT_TRUE(session_.Probe({"scroll", kPanelTitle, "1036", std::to_string(kThumbPosition), "3"})
                  .Succeeded());
  ASSERT_TRUE(WaitForButtons(client, ASTROLAB_BUTTON_RELEASE_EVENT, 5));
  const auto presses = Buttons(client, ASTROLAB_BUTTON_PRESS_EVENT);
  ASSERT_EQ(presses.size(), pressesBefore + 5);
  for (std::size_t i = pressesBefore; i < presses.size(); ++i) {
    EXPECT_EQ(presses[i], (std::pair<std::uint64_t, std::int64_t>{6, 64}));
  }
  // The slider waits for the application's answer.
  EXPECT_EQ(session_.Probe({"scroll-pos", kPanelTitle, "1036"}).lines.at(0), "-2");
}

// The button window opens at start-up because the settings ask for it, at a place
// stored on a monitor that is no longer there (the test display is one 1024x768
// monitor whose work area is the whole screen).
class ButtonWindowTest : public ControlPanelTest {
 protected:
  void BeforeDriverStarts() override {
    std::string error;
    ASSERT_TRUE(session_.SetDriverSetting("ButtonInfo", "1", &error)) << error;
    ASSERT_TRUE(session_.SetDriverSetting("ButtonInfoX", "5000", &error)) << error;
    ASSERT_TRUE(session_.SetDriverSetting("ButtonInfoY", "3000", &error)) << error;
    ASSERT_TRUE(session_.SetDriverSetting("Name", "My mapping", &error)) << error;
    // Button 2 types "q" (key down and up, scan code 0x10).
    const std::string q = {1, 0x10, 0x51, 0, 2, 0x10, 0x51, 0, 0, 0, 0, 0};
    ASSERT_TRUE(session_.SetDriverBinary("", "Button2", q, &error)) << error;
  }

  // The window's place and size, and whether it stays on top.
  struct Placement {
    int x = 0, y = 0, width = 0, height = 0;
    bool topmost = false;
  };
  Placement Place() {
    const ProbeResult probe = session_.Probe({"dialog-rect", kCaption});
    Placement place;
    std::istringstream(probe.Field("RECT").value_or("")) >> place.x >> place.y >> place.width >>
        place.height;
    place.topmost = probe.Field("TOPMOST") == std::string("1");
    return place;
  }

  // Pixels inside the picture frame that do not show the driver's bitmap.
  int Mismatched(int bitmap) {
    int mismatched = -1;
    std::istringstream(session_.Probe({"picture-match", kCaption, "2041", std::to_string(bitmap)})
                           .Field("MISMATCHED")
                           .value_or("")) >>
        mismatched;
    return mismatched;
  }

  // The frame shows this bitmap (all but a few pixels of it) and not the other,
  // which tells that the comparison can tell pictures apart.
  ::testing::AssertionResult ShowsPicture(int bitmap, int other) {
    const int wrong = Mismatched(bitmap);
    const int wrongOfOther = Mismatched(other);
    if (wrong < 0 || wrong > 5 || wrongOfOther < 20) {
      return ::testing::AssertionFailure() << wrong << " pixels differ from bitmap " << bitmap
                                           << ", " << wrongOfOther << " from bitmap " << other;
    }
    return ::testing::AssertionSuccess();
  }

  static constexpr const char* kCaption = "Veltrix [My mapping]";
  static constexpr int kButtonWindowBox = 2026;
};

TEST_F(ButtonWindowTest, HeldButtonsShowTheirAssignmentAndTheWindowKeepsItsPlace) {
  // Moved into the screen's bottom-right corner, on top, and that place stored.
  WaitForBox(kCaption);
  Placement place = Place();
  ASSERT_GT(place.width, 0);
  EXPECT_EQ(place.x, 1024 - place.width);
  EXPECT_EQ(place.y, 768 - place.height);
  EXPECT_TRUE(place.topmost);
  EXPECT_TRUE(WaitForStored("ButtonInfoX", std::to_string(1024 - place.width)));
  EXPECT_TRUE(WaitForStored("ButtonInfoY", std::to_string(768 - place.height)));

  // The logo while no button is held; the held button's cap (bitmaps: logo 261,
  // button 1 259, 2 258, 10 245, 11 244), the latest press replacing the shown one.
  EXPECT_EQ(ControlText(kCaption, 2040), std::string(""));
  ASSERT_TRUE(session_.Probe({"settle", kCaption}).Succeeded());
  EXPECT_TRUE(ShowsPicture(261, 259));
  EXPECT_FALSE(session_.Screenshot("button_window_idle").empty());
  ASSERT_TRUE(controller_->SendRaw(sim::ButtonLine(0x1)));
  EXPECT_TRUE(WaitForControlText(kCaption, 2040, "[Default]"));
  EXPECT_TRUE(ShowsPicture(259, 258));
  ASSERT_TRUE(controller_->SendRaw(sim::ButtonLine(0x3)));
  EXPECT_TRUE(WaitForControlText(kCaption, 2040, "q"));
  ASSERT_TRUE(session_.Probe({"settle", kCaption}).Succeeded());
  EXPECT_TRUE(ShowsPicture(258, 259));
  EXPECT_FALSE(session_.Screenshot("button_window_held").empty());
  ASSERT_TRUE(controller_->SendRaw(sim::ButtonLine(0)));
  EXPECT_TRUE(WaitForControlText(kCaption, 2040, ""));
  EXPECT_TRUE(ShowsPicture(261, 258));
  for (const auto& [mask, picture, other] : {std::tuple{0x200, 245, 244}, {0x400, 244, 245}}) {
    ASSERT_TRUE(controller_->SendRaw(sim::ButtonLine(mask)));
    EXPECT_TRUE(WaitForControlText(kCaption, 2040, "[Default]"));
    EXPECT_TRUE(ShowsPicture(picture, other));
    ASSERT_TRUE(controller_->SendRaw(sim::ButtonLine(0)));
    EXPECT_TRUE(WaitForControlText(kCaption, 2040, ""));
  }

  // Closed by its close box while the panel is open: the panel's box follows.
  OpenPanel();
  EXPECT_EQ(session_.Probe({"control-text", kPanelTitle, "2026"}).Field("CHECKED"),
            std::string("1"));
  ASSERT_TRUE(
      session_.Probe({"dialog-syscommand", kCaption, std::to_string(kCloseCommand)}).Succeeded());
  WaitUntilGone(kCaption);
  EXPECT_TRUE(WaitForStored("ButtonInfo", "0"));
  const auto deadline = Clock::now() + kReplyTimeout;
  while (session_.Probe({"control-text", kPanelTitle, "2026"}).Field("CHECKED") !=
         std::string("0")) {
    ASSERT_LT(Clock::now(), deadline) << "the panel's box still shows the window open";
    std::this_thread::sleep_for(50ms);
  }

  // Opened and closed from the panel again and again: the driver keeps no handle
  // of the threads that are over (the last one may still be held).
  const auto threadHandles = [&] {
    return std::stoi(session_.Probe({"thread-handles"}).Field("THREADS").value_or("-1000"));
  };
  const int threadsBefore = threadHandles();
  ASSERT_TRUE(
      session_.Probe({"cycle-toggle", kPanelTitle, std::to_string(kButtonWindowBox), kCaption, "8"})
          .Succeeded());
  EXPECT_LE(threadHandles(), threadsBefore + 1);

  // No place remembered (both 0, read again when the panel is asked for): the
  // box opens it centred at a quarter of the screen's height, on top.
  std::string error;
  ASSERT_TRUE(session_.SetDriverSetting("ButtonInfoX", "0", &error)) << error;
  ASSERT_TRUE(session_.SetDriverSetting("ButtonInfoY", "0", &error)) << error;
  OpenPanel();
  Click(kPanelTitle, kButtonWindowBox);
  WaitForBox(kCaption);
  place = Place();
  EXPECT_EQ(place.x, (1024 - place.width) / 2);
  EXPECT_EQ(place.y, (768 - place.height) / 4);
  EXPECT_TRUE(place.topmost);
  EXPECT_TRUE(WaitForStored("ButtonInfo", "1"));

  // Moved: the place is stored at once, and the next start opens it there.
  ASSERT_TRUE(session_.Probe({"move-window", kCaption, "300", "200"}).Succeeded());
  EXPECT_TRUE(WaitForStored("ButtonInfoX", "300"));
  EXPECT_TRUE(WaitForStored("ButtonInfoY", "200"));
  ASSERT_TRUE(PostToDriver(kCommandMessage, kExitCommand, 0));
  WaitForBox("Astrolab/AIRCAP 3D Controller");
  Press("Astrolab/AIRCAP 3D Controller", kYes);
  ASSERT_EQ(driver_->WaitForExit(kExitTimeout), 0);
  driver_ = StartDriver();
  ASSERT_NE(driver_, nullptr);
  WaitForBox(kCaption);
  place = Place();
  EXPECT_EQ(place.x, 300);
  EXPECT_EQ(place.y, 200);

  // Closed by its close box: no longer wanted at the next start.
  ASSERT_TRUE(
      session_.Probe({"dialog-syscommand", kCaption, std::to_string(kCloseCommand)}).Succeeded());
  EXPECT_TRUE(WaitForStored("ButtonInfo", "0"));
}

}  // namespace
}  // namespace e2e
