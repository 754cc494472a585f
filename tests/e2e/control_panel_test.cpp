// The control panel and the button information window end to end, worked through
// the probe: the panel opens from the menu and from a push on the cap, its
// sliders shape the motion a client receives at once, OK saves, its switches
// command the device, and the button window shows what a held button does and
// remembers where the user put it. Screenshots of both are kept as artifacts.
#include <gmock/gmock.h>

#include <cmath>
#include <map>
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
constexpr int kLineRight = 1;      // SB_LINERIGHT
constexpr int kThumbPosition = 4;  // SB_THUMBPOSITION
constexpr int kCloseCommand = 0xF060;

// The panel's controls.
constexpr int kBeepBox = 2024;
constexpr int kChangeableBox = 2025;
constexpr int kButtonWindowBox = 2026;
constexpr int kHintviewBox = 2027;
constexpr int kTranslationSwitch = 1113;
constexpr int kRotationSwitch = 1115;
constexpr int kHintviewSwitch = 2018;
constexpr int kTranslationDefault = 2035;
constexpr int kRotationDefault = 1401;
constexpr int kNullRadiusSlider = 1037;
constexpr int kYBox = 1143;
constexpr int kABox = 1145;
// Axes X, Y, Z, A, B, C.
const std::vector<int> kAxisBoxes = {1042, 1143, 1144, 1145, 1146, 1147};
const std::vector<int> kAxisSliders = {1035, 1039, 1040, 1137, 1038, 1041};
const std::vector<int> kModeSwitches = {1113, 1115, 1116};
const std::vector<int> kHintviewControls = {kHintviewSwitch, kHintviewBox};
// The on-screen copies of device buttons 1 to 12.
const std::vector<int> kButtonItems = {1000, 1001, 1002, 1003, 1004, 1005,
                                       1006, 1007, 1008, 1110, 1109, 2023};

// What a control shows, as the probe's control-states reads it: the numbers in
// the order of Aspect, then the text.
enum class Aspect { kEnabled, kChecked, kPushed, kPosition, kText };
struct ControlState {
  int numbers[4] = {};
  std::string text;
};

class ControlPanelTest : public TrackingTest {
 protected:
  void OpenPanel() {
    ASSERT_TRUE(PostToDriver(kCommandMessage, kPanelCommand, 0));
    WaitForBox(kPanelTitle);
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

  // The states of some of the panel's controls, read at one go; empty when the
  // panel cannot be read.
  std::map<int, ControlState> States(const std::vector<int>& items) {
    std::vector<std::string> arguments = {"control-states", kPanelTitle};
    for (int item : items) arguments.push_back(std::to_string(item));
    std::map<int, ControlState> states;
    const ProbeResult result = session_.Probe(arguments);
    if (!result.Succeeded()) return states;
    for (const std::string& line : result.lines) {
      std::istringstream words(line);
      std::string label, hex;
      int item = 0;
      ControlState state;
      if (!(words >> label >> item) || label != "CONTROL" ||
          !(words >> state.numbers[0] >> state.numbers[1] >> state.numbers[2] >>
            state.numbers[3])) {
        continue;
      }
      words >> hex;
      for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        state.text += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
      }
      states[item] = state;
    }
    return states;
  }

  // One aspect of the controls, in their order: numbers separated by blanks,
  // texts by " | ".
  std::string Describe(const std::vector<int>& items, Aspect aspect) {
    const std::map<int, ControlState> states = States(items);
    std::string shown;
    for (int item : items) {
      if (!shown.empty()) shown += aspect == Aspect::kText ? " | " : " ";
      const auto found = states.find(item);
      if (found == states.end()) {
        shown += "?";
        continue;
      }
      const ControlState& state = found->second;
      shown += aspect == Aspect::kText ? state.text
                                       : std::to_string(state.numbers[static_cast<int>(aspect)]);
    }
    return shown;
  }

  // Whether the controls come to show `expected` within the reply time-out: the
  // panel refreshes on its own thread, so a reading may fall in the middle of a
  // refresh.
  ::testing::AssertionResult Shows(const std::vector<int>& items, Aspect aspect,
                                   const std::string& expected) {
    const auto deadline = Clock::now() + kReplyTimeout;
    std::string shown;
    while ((shown = Describe(items, aspect)) != expected) {
      if (Clock::now() >= deadline) {
        return ::testing::AssertionFailure()
               << "the panel shows \"" << shown << "\", not \"" << expected << "\"";
      }
      std::this_thread::sleep_for(50ms);
    }
    return ::testing::AssertionSuccess();
  }

  void Scroll(int item, int code, int position) {
    EXPECT_TRUE(session_
                    .Probe({"scroll", kPanelTitle, std::to_string(item), std::to_string(code),
                            std::to_string(position)})
                    .Succeeded())
        << item;
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

// Settings unlike a first run's: the beep off, the X factor e^1 (slider 20 ln e =
// +20), Y and C 0.5 (20 ln 0.5 = -13.9: slider -14), A e^1 with its axis off, and
// a null radius of 5.
class PanelSettingsTest : public ControlPanelTest {
 protected:
  void BeforeDriverStarts() override {
    const std::pair<const char*, const char*> values[] = {
        {"ButtonBeep", "0"},         {"Scaling X", "1  +2.7183"}, {"Scaling Y", "1  +0.5000"},
        {"Scaling A", "0  +2.7183"}, {"Scaling C", "1  +0.5000"}, {"NullRadius", "5"}};
    for (const auto& [name, value] : values) {
      std::string error;
      ASSERT_TRUE(session_.SetDriverSetting(name, value, &error)) << error;
    }
  }
};

TEST_F(PanelSettingsTest, BoxesDefaultButtonsAndNullRadiusChangeTheSettingsThatOkStores) {
  // A Hintview-capable device in translation and rotation before the panel
  // opens, so that its Hintview box can be used. The driver has read the report
  // once it answers the q report behind it.
  controller_->ClearRecord();
  ASSERT_TRUE(controller_->SendRaw(sim::LongModeLine(3, 1) + sim::QLine(0, 1)));
  ASSERT_TRUE(controller_->WaitForCommand("q00", kReplyTimeout));
  OpenPanel();
  EXPECT_TRUE(Shows(kHintviewControls, Aspect::kEnabled, "1 1"));
  EXPECT_TRUE(Shows({kBeepBox, kChangeableBox, kButtonWindowBox, kHintviewBox}, Aspect::kChecked,
                    "0 1 0 1"));
  EXPECT_TRUE(Shows(kAxisBoxes, Aspect::kChecked, "1 1 1 0 1 1"));
  EXPECT_TRUE(Shows(kAxisSliders, Aspect::kEnabled, "1 1 1 0 1 1"));
  EXPECT_TRUE(Shows(kAxisSliders, Aspect::kPosition, "20 -14 0 20 0 -14"));

  Click(kPanelTitle, kBeepBox);
  // Modes no longer changeable: their switches go grey at once.
  Click(kPanelTitle, kChangeableBox);
  EXPECT_TRUE(Shows(kModeSwitches, Aspect::kEnabled, "0 0 0"));
  // Hintview on, then no longer allowed: it goes off and its switch grey.
  Click(kPanelTitle, kHintviewSwitch);
  ASSERT_TRUE(WaitForControlText(kPanelTitle, kHintviewSwitch, "Hintview ON"));
  Click(kPanelTitle, kHintviewBox);
  EXPECT_TRUE(Shows({kHintviewSwitch}, Aspect::kText, "Hintview OFF"));
  EXPECT_TRUE(Shows(kHintviewControls, Aspect::kEnabled, "0 1"));
  Click(kPanelTitle, kButtonWindowBox);

  // Y off, A on: their sliders follow at once.
  Click(kPanelTitle, kYBox);
  Click(kPanelTitle, kABox);
  EXPECT_TRUE(Shows(kAxisBoxes, Aspect::kChecked, "1 0 1 1 1 1"));
  EXPECT_TRUE(Shows(kAxisSliders, Aspect::kEnabled, "1 0 1 1 1 1"));

  // Each default button sets the factors of its group to 1 (slider 0) and
  // leaves the other group and every axis switch alone.
  Click(kPanelTitle, kTranslationDefault);
  EXPECT_TRUE(Shows(kAxisSliders, Aspect::kPosition, "0 0 0 20 0 -14"));
  Click(kPanelTitle, kRotationDefault);
  EXPECT_TRUE(Shows(kAxisSliders, Aspect::kPosition, "0 0 0 0 0 0"));
  EXPECT_TRUE(Shows(kAxisBoxes, Aspect::kChecked, "1 0 1 1 1 1"));
  EXPECT_TRUE(Shows(kAxisSliders, Aspect::kEnabled, "1 0 1 1 1 1"));

  // The null radius: two steps right and one left, then the thumb to the end
  // and a step right that stays there.
  Scroll(kNullRadiusSlider, kLineRight, 0);
  Scroll(kNullRadiusSlider, kLineRight, 0);
  Scroll(kNullRadiusSlider, kLineLeft, 0);
  EXPECT_TRUE(Shows({kNullRadiusSlider}, Aspect::kPosition, "6"));
  Scroll(kNullRadiusSlider, kThumbPosition, 100);
  Scroll(kNullRadiusSlider, kLineRight, 0);
  EXPECT_TRUE(Shows({kNullRadiusSlider}, Aspect::kPosition, "100"));

  Click(kPanelTitle, kOk);
  const auto keys = session_.ReadDriverKey();
  ASSERT_TRUE(keys.has_value() && keys->count("") == 1);
  const std::map<std::string, std::string> expected = {
      {"ButtonBeep", "1"},         {"ModeChangeable", "0"},     {"Hintview", "0"},
      {"ButtonInfo", "1"},         {"NullRadius", "100"},       {"Scaling X", "1  +1.0000"},
      {"Scaling Y", "0  +1.0000"}, {"Scaling Z", "1  +1.0000"}, {"Scaling A", "1  +1.0000"},
      {"Scaling B", "1  +1.0000"}, {"Scaling C", "1  +1.0000"}};
  for (const auto& [name, value] : expected) {
    const auto stored = keys->at("").find(name);
    EXPECT_EQ(stored != keys->at("").end() ? stored->second : "(missing)", value) << name;
  }

  // Settings changed in the registry meanwhile: the panel shown again (the menu
  // command reads them first) checks its boxes and enables its switches by them.
  for (const auto& [name, value] :
       {std::pair{"ButtonBeep", "0"}, {"ModeChangeable", "1"}, {"Hintview", "1"}}) {
    std::string error;
    ASSERT_TRUE(session_.SetDriverSetting(name, value, &error)) << error;
  }
  OpenPanel();
  EXPECT_TRUE(Shows({kBeepBox, kChangeableBox, kButtonWindowBox, kHintviewBox}, Aspect::kChecked,
                    "0 1 1 1"));
  EXPECT_TRUE(Shows(kModeSwitches, Aspect::kEnabled, "1 1 1"));
  EXPECT_TRUE(Shows(kHintviewControls, Aspect::kEnabled, "1 1"));
}

TEST_F(ControlPanelTest, ModeReportsSetTheSwitchesTheAxisBoxesAndTheHintviewControls) {
  OpenPanel();
  // Nothing reported yet: every mode off, so every axis box clear, while the
  // sliders follow the axis switches (all on); not Hintview-capable.
  EXPECT_TRUE(Shows(kModeSwitches, Aspect::kText, "Translation OFF | Rotation OFF | Dominant OFF"));
  EXPECT_TRUE(Shows(kAxisBoxes, Aspect::kChecked, "0 0 0 0 0 0"));
  EXPECT_TRUE(Shows(kAxisSliders, Aspect::kEnabled, "1 1 1 1 1 1"));
  EXPECT_TRUE(Shows(kHintviewControls, Aspect::kEnabled, "0 0"));

  // A capable device in translation and rotation: the Hintview switch comes on;
  // the Hintview box, greyed at the first refresh, stays grey, since a refresh
  // only ever greys it.
  ASSERT_TRUE(controller_->SendRaw(sim::LongModeLine(3, 1)));
  EXPECT_TRUE(Shows(kModeSwitches, Aspect::kText, "Translation ON | Rotation ON | Dominant OFF"));
  EXPECT_TRUE(Shows(kAxisBoxes, Aspect::kChecked, "1 1 1 1 1 1"));
  EXPECT_TRUE(Shows(kHintviewControls, Aspect::kEnabled, "1 0"));
  Click(kPanelTitle, kYBox);
  EXPECT_TRUE(Shows(kAxisSliders, Aspect::kEnabled, "1 0 1 1 1 1"));

  // Rotation and the dominant axis (mode 5), from a device that is not capable:
  // the translation boxes clear, the sliders still follow the axis switches alone.
  ASSERT_TRUE(controller_->SendRaw(sim::ModeLine(5)));
  EXPECT_TRUE(Shows(kModeSwitches, Aspect::kText, "Translation OFF | Rotation ON | Dominant ON"));
  EXPECT_TRUE(Shows(kAxisBoxes, Aspect::kChecked, "0 0 0 1 1 1"));
  EXPECT_TRUE(Shows(kAxisSliders, Aspect::kEnabled, "1 0 1 1 1 1"));
  EXPECT_TRUE(Shows(kHintviewControls, Aspect::kEnabled, "0 0"));

  // Translation alone (mode 2): Y, switched off, stays clear.
  ASSERT_TRUE(controller_->SendRaw(sim::ModeLine(2)));
  EXPECT_TRUE(Shows(kModeSwitches, Aspect::kText, "Translation ON | Rotation OFF | Dominant OFF"));
  EXPECT_TRUE(Shows(kAxisBoxes, Aspect::kChecked, "1 0 1 0 0 0"));

  // A client fixes the modes. The rotation switch, clicked before the panel
  // shows that, leaves rotation off but still sends the mode: 2, "B".
  ASSERT_TRUE(
      session_.Probe({"send-command", std::to_string(CmdSetModeChangeable), "0"}).Succeeded());
  ASSERT_TRUE(session_.Probe({"sync-driver"}).Succeeded());
  controller_->ClearRecord();
  Click(kPanelTitle, kRotationSwitch);
  ASSERT_TRUE(controller_->WaitForCommands(1, kReplyTimeout));
  EXPECT_THAT(CommandLines(*controller_), ElementsAre("mB"));
  // The device reports the mode it keeps; the refresh then shows the modes fixed.
  ASSERT_TRUE(controller_->SendRaw(sim::ModeLine(2)));
  EXPECT_TRUE(Shows({kChangeableBox}, Aspect::kChecked, "0"));
  EXPECT_TRUE(Shows(kModeSwitches, Aspect::kEnabled, "0 0 0"));
}

TEST_F(ControlPanelTest, OnScreenButtonsPressAndReleaseForTheTargetAndHeldButtonsShowPushed) {
  OpenPanel();
  // Registered while the panel is open: the panel's target.
  const ClientWindow client = StartClient("Button client");
  ASSERT_EQ(NextSampleGoesTo(), client.window);
  // "1", "*", "-", "+" and "Hintview": device buttons 1, 9, 10, 11 and 12.
  for (int item : {1000, 1008, 1110, 1109, 2023}) Click(kPanelTitle, item);
  ASSERT_TRUE(WaitForButtons(client, ASTROLAB_BUTTON_RELEASE_EVENT, 5));
  std::vector<std::string> received;
  std::vector<std::uint64_t> times;
  for (const OutputLine& line : client.process->Lines()) {
    const std::optional<ClientEvent> event = ParseClientEvent(line.text);
    if (!event || (event->name != ASTROLAB_BUTTON_PRESS_EVENT &&
                   event->name != ASTROLAB_BUTTON_RELEASE_EVENT)) {
      continue;
    }
    received.push_back((event->name == ASTROLAB_BUTTON_PRESS_EVENT ? "press " : "release ") +
                       std::to_string(event->wParam) + " " + std::to_string(event->lParam));
    times.push_back(event->micros);
  }
  // Each press carries its button's bit (1 << (n - 1)); its release, half a
  // second later, carries 0.
  EXPECT_THAT(received, ElementsAre("press 1 1", "release 1 0", "press 9 256", "release 9 0",
                                    "press 10 512", "release 10 0", "press 11 1024", "release 11 0",
                                    "press 12 2048", "release 12 0"));
  for (std::size_t i = 0; i + 1 < times.size(); i += 2) {
    const std::uint64_t held = times[i + 1] - times[i];
    EXPECT_GE(held, 350'000u) << received[i];
    EXPECT_LE(held, 2'500'000u) << received[i];
  }

  // Device button 10 held: its copy ("-") shows pushed until it is let go.
  ASSERT_TRUE(controller_->SendRaw(sim::ButtonLine(1u << 9)));
  EXPECT_TRUE(Shows(kButtonItems, Aspect::kPushed, "0 0 0 0 0 0 0 0 0 1 0 0"));
  ASSERT_TRUE(controller_->SendRaw(sim::ButtonLine(0)));
  EXPECT_TRUE(Shows(kButtonItems, Aspect::kPushed, "0 0 0 0 0 0 0 0 0 0 0 0"));
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
