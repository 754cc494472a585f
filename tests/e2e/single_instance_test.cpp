// A second start while the driver runs: the box in the stored language, exit
// code -1, and the first instance (its window titled in that language) carries on
// serving its controller.
#include <gmock/gmock.h>

#include "tests/e2e/driver_fixture.h"

namespace e2e {
namespace {

struct LanguageCase {
  const char* storedLanguage;  // nullptr: no value stored
  const char* caption;
  const char* text;
  const char* mainWindowTitle;
};

class SingleInstanceTest : public DriverTest, public ::testing::WithParamInterface<LanguageCase> {};

TEST_P(SingleInstanceTest, SecondStartShowsTheBoxAndLeavesTheFirstRunning) {
  const LanguageCase& language = GetParam();
  std::string error;
  if (language.storedLanguage != nullptr) {
    ASSERT_TRUE(session_.SetDriverSetting("Language", language.storedLanguage, &error)) << error;
  }
  ChildProcess* first = nullptr;
  sim::SimulatedController* controller = StartDriverWithController(&first);
  ASSERT_NE(controller, nullptr);
  EXPECT_EQ(session_.Probe({"window-text", "ASTROLAB_3D_CONTROLLER"}).Text(),
            std::string(language.mainWindowTitle));

  ChildProcess* second = StartDriver();
  ASSERT_NE(second, nullptr);
  const ProbeResult box =
      session_.Probe({"wait-box", language.caption, "60000"}, std::chrono::seconds(90));
  ASSERT_TRUE(box.Succeeded()) << "no box captioned " << language.caption;
  EXPECT_EQ(box.Text(), std::string(language.text));
  EXPECT_EQ(box.Field("BUTTONS"), std::string("1"));
  ASSERT_TRUE(session_.Probe({"press", language.caption, "1"}).Succeeded());
  EXPECT_EQ(second->WaitForExit(kExitTimeout), 255);

  // The first instance still runs, keeps its window and still answers the device.
  EXPECT_TRUE(first->Running());
  EXPECT_TRUE(session_.Probe({"find-window", "ASTROLAB_3D_CONTROLLER"}).Succeeded());
  controller->ClearRecord();
  ASSERT_TRUE(controller->SendRaw("q01\r"));
  EXPECT_TRUE(controller->WaitForCommand("q00", kReplyTimeout));
}

INSTANTIATE_TEST_SUITE_P(
    Languages, SingleInstanceTest,
    ::testing::Values(
        LanguageCase{nullptr, "Astrolab/AIRCAP",
                     "Astrolab/AIRCAP driver is already active.\nYou need not to start it a "
                     "second time.",
                     "Astrolab/AIRCAP 3D Controller"},
        LanguageCase{"1", "AIRCAP", "Der AIRCAP Treiber ist schon gestartet.",
                     "AIRCAP 3D Controller"}),
    [](const ::testing::TestParamInfo<LanguageCase>& info) {
      return info.param.storedLanguage == nullptr ? std::string("English") : std::string("German");
    });

}  // namespace
}  // namespace e2e
