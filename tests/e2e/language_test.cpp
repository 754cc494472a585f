// The five languages end to end: the language dialog switches the main window's
// menu and title at once, OK stores the choice, the close box keeps it for the
// run only, the exit question follows, and tooltips speak the language.
#include <gmock/gmock.h>

#include <sstream>

#include "tests/e2e/desktop_fixture.h"
#include "tests/e2e/harness_paths.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;

constexpr int kCloseCommand = 0xF060;  // SC_CLOSE
constexpr int kGerman = 2005;
constexpr int kItalian = 2008;

class LanguageTest : public DesktopTest {
 protected:
  // Opens the language dialog from the main window's menu; its caption is the
  // title of the language in force.
  void OpenLanguageDialog(const std::string& caption) {
    ASSERT_TRUE(PostToDriver(kCommandMessage, kLanguageCommand, 0));
    WaitForBox(caption);
  }

  std::optional<std::string> StoredLanguage() {
    const auto keys = session_.ReadDriverKey();
    if (!keys || keys->count("") == 0 || keys->at("").count("Language") == 0) return std::nullopt;
    return keys->at("").at("Language");
  }

  std::optional<std::string> MainWindowTitle() {
    return session_.Probe({"window-text", kDriverClass}).Text();
  }
};

TEST_F(LanguageTest, GermanSwitchesMenuAndTitleAtOnceAndOkStoresIt) {
  StartWithController();
  ShowMainWindow();
  OpenLanguageDialog("Language Selection");
  EXPECT_FALSE(session_.Screenshot("language_dialog_english").empty());

  Click("Language Selection", kGerman);
  // The dialog speaks German now; the main window too, before OK.
  WaitForBox("Sprachenauswahl");
  EXPECT_EQ(MainWindowTitle(), std::string("AIRCAP 3D Controller"));
  const std::pair<int, const char*> labels[] = {
      {109, "&Beenden"}, {110, "&Einstellung"},  {118, "&Anwendung"}, {40001, "&Tastatur"},
      {111, "&Info"},    {40002, "&Sicherheit"}, {40003, "S&prache"}};
  for (const auto& [item, label] : labels) {
    EXPECT_EQ(MenuText(item), std::string(label)) << "item " << item;
  }
  EXPECT_FALSE(StoredLanguage().has_value()) << "stored before OK";
  EXPECT_FALSE(session_.Screenshot("language_dialog_german").empty());

  Click("Sprachenauswahl", kOk);
  EXPECT_EQ(StoredLanguage(), std::string("1"));
  ASSERT_TRUE(session_.Probe({"sync-driver"}).Succeeded());
  EXPECT_FALSE(session_.Screenshot("main_window_german", "502x239+0+0").empty());
}

TEST_F(LanguageTest, CloseBoxKeepsTheLanguageForTheRunOnly) {
  StartWithController();
  OpenLanguageDialog("Language Selection");
  Click("Language Selection", kGerman);
  WaitForBox("Sprachenauswahl");
  ASSERT_TRUE(
      session_.Probe({"dialog-syscommand", "Sprachenauswahl", std::to_string(kCloseCommand)})
          .Succeeded());
  EXPECT_EQ(MenuText(109), std::string("&Beenden"));
  EXPECT_FALSE(StoredLanguage().has_value());

  // The exit question is German now; Yes ends the run.
  ASSERT_TRUE(PostToDriver(kCommandMessage, kExitCommand, 0));
  const ProbeResult box = WaitForBox("AIRCAP 3D Controller");
  EXPECT_EQ(box.Text(), std::string("Wollen Sie wirklich den Treiber beenden?"));
  Press("AIRCAP 3D Controller", kYes);
  ASSERT_EQ(driver_->WaitForExit(kExitTimeout), 0);

  // A new start speaks the stored language, English.
  controller_->ClearRecord();
  ChildProcess* again = StartDriver();
  ASSERT_NE(again, nullptr);
  ASSERT_TRUE(WaitForTrayIcon());
  EXPECT_EQ(MainWindowTitle(), std::string("Astrolab/AIRCAP 3D Controller"));
  EXPECT_EQ(MenuText(109), std::string("E&xit"));
}

TEST_F(LanguageTest, ItalianMakesTheExitQuestionEmpty) {
  StartWithController();
  OpenLanguageDialog("Language Selection");
  Click("Language Selection", kItalian);
  Click("Scelta idioma", kOk);
  EXPECT_EQ(StoredLanguage(), std::string("4"));
  ASSERT_TRUE(PostToDriver(kCommandMessage, kExitCommand, 0));
  const ProbeResult box = WaitForBox("AIRCAP 3D Controller");
  EXPECT_EQ(box.Text(), std::string(""));
  EXPECT_EQ(box.Field("BUTTONS"), std::string("6 7"));
  EXPECT_FALSE(session_.Screenshot("exit_question_italian").empty());
  Press("AIRCAP 3D Controller", kNo);
}

TEST_F(LanguageTest, HoveringARadioButtonShowsItsTooltipInTheLanguage) {
  std::string error;
  ASSERT_TRUE(session_.SetDriverSetting("Language", "1", &error)) << error;
  StartWithController();
  OpenLanguageDialog("Sprachenauswahl");
  const ProbeResult point = session_.Probe({"control-center", "Sprachenauswahl", "2004"});
  ASSERT_TRUE(point.Succeeded());
  const std::vector<std::string> xy = [&] {
    std::istringstream words(*point.Field("POINT"));
    std::string x, y;
    words >> x >> y;
    return std::vector<std::string>{x, y};
  }();
  // The pointer moves onto the English radio button: in German it offers the
  // change to English.
  const std::string xdotool = FindOnPath("xdotool");
  ASSERT_EQ(session_.Run({xdotool, "mousemove", xy[0], xy[1]}, 10s), 0);
  ASSERT_EQ(session_.Run({xdotool, "mousemove_relative", "1", "1"}, 10s), 0);
  const ProbeResult tip = session_.Probe({"wait-tooltip", "15000"});
  ASSERT_TRUE(tip.Succeeded());
  EXPECT_EQ(tip.Text(), std::string("Klicken Sie hier um auf Englisch zu wechseln"));
  EXPECT_FALSE(session_.Screenshot("language_tooltip_german").empty());
}

}  // namespace
}  // namespace e2e
