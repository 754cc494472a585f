// The driver's main window: the exit question and its locks, the window shown
// from the tray icon with its menu and picture, and the tray icon given back to a
// restarted shell. Screenshots of what the user sees are kept as artifacts.
#include <gmock/gmock.h>

#include <set>
#include <string>
#include <thread>
#include <utility>

#include "client/astrolab_client.h"
#include "tests/e2e/desktop_fixture.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;

constexpr int kGreyed = 0x1;  // MF_GRAYED

constexpr const char* kExitCaption = "Astrolab/AIRCAP 3D Controller";
constexpr const char* kExitQuestion = "Do you really want to end the driver?";
constexpr const char* kLockedCaption = "Astrolab/AIRCAP";
constexpr const char* kLockedText = "Change in settings not permitted !\n";

class MainWindowTest : public DesktopTest {
 protected:
  void ExpectLockedBoxAndConfirmIt(const std::string& screenshot) {
    const ProbeResult box = WaitForBox(kLockedCaption);
    EXPECT_EQ(box.Text(), std::string(kLockedText));
    EXPECT_EQ(box.Field("BUTTONS"), std::string("1"));
    if (!screenshot.empty()) {
      EXPECT_FALSE(session_.Screenshot(screenshot).empty());
    }
    Press(kLockedCaption, kOk);
  }

  // The driver's visible dialogs and boxes once every message posted to it so far
  // has been handled (a device command posted last reaches the controller), and
  // the foreground window's caption.
  std::pair<std::multiset<std::string>, std::string> DialogsOnceHandled() {
    controller_->ClearRecord();
    EXPECT_TRUE(session_
                    .Probe({"send-command", std::to_string(CmdDeviceCommand),
                            std::to_string(AstrolabDeviceCommandWord("z\r"))})
                    .Succeeded());
    EXPECT_TRUE(controller_->WaitForCommand("z", kReplyTimeout));
    std::multiset<std::string> dialogs;
    std::string foreground;
    for (const std::string& line : session_.Probe({"driver-dialogs"}).lines) {
      if (line.rfind("DIALOG ", 0) == 0) dialogs.insert(line.substr(7));
      if (line.rfind("FOREGROUND ", 0) == 0) foreground = line.substr(11);
    }
    return {dialogs, foreground};
  }
};

TEST_F(MainWindowTest, ExitAsksFirstNoKeepsTheDriverAndYesEndsItWithCodeZero) {
  StartWithController();
  ASSERT_TRUE(PostToDriver(kCommandMessage, kExitCommand, 0));
  ProbeResult box = WaitForBox(kExitCaption);
  EXPECT_EQ(box.Text(), std::string(kExitQuestion));
  EXPECT_EQ(box.Field("BUTTONS"), std::string("6 7"));
  EXPECT_FALSE(session_.Screenshot("exit_question").empty());
  Press(kExitCaption, kNo);
  // Still serving its controller, icon and all.
  controller_->ClearRecord();
  ASSERT_TRUE(controller_->SendRaw("q01\r"));
  EXPECT_TRUE(controller_->WaitForCommand("q00", kReplyTimeout));
  EXPECT_TRUE(driver_->Running());
  EXPECT_TRUE(session_.Probe({"tray-icon-exists"}).Succeeded());

  ASSERT_TRUE(PostToDriver(kCommandMessage, kExitCommand, 0));
  box = WaitForBox(kExitCaption);
  Press(kExitCaption, kYes);
  EXPECT_EQ(driver_->WaitForExit(kExitTimeout), 0);
  EXPECT_FALSE(session_.Probe({"find-window", kDriverClass}).Succeeded());
}

TEST_F(MainWindowTest, ClosingTheWindowAsksAndNoKeepsIt) {
  StartWithController();
  ASSERT_TRUE(PostToDriver(kCloseMessage, 0, 0));
  const ProbeResult box = WaitForBox(kExitCaption);
  EXPECT_EQ(box.Text(), std::string(kExitQuestion));
  Press(kExitCaption, kNo);
  EXPECT_TRUE(session_.Probe({"sync-driver"}).Succeeded());
  EXPECT_TRUE(driver_->Running());
  EXPECT_TRUE(session_.Probe({"find-window", kDriverClass}).Succeeded());
}

TEST_F(MainWindowTest, ExitLockedBeforeStartIsGreyAndRefusedForTheCommandAndTheClose) {
  std::string error;
  ASSERT_TRUE(session_.SetDriverSetting("Exit", "1", &error)) << error;
  StartWithController();
  const int exitState = MenuState(kExitCommand);
  ASSERT_GE(exitState, 0);
  EXPECT_TRUE(exitState & kGreyed);
  for (int item : {110, 111, 118, 40001, 40002, 40003}) {
    EXPECT_EQ(MenuState(item), 0) << "item " << item;
  }

  ASSERT_TRUE(PostToDriver(kCommandMessage, kExitCommand, 0));
  ExpectLockedBoxAndConfirmIt("exit_locked");
  ASSERT_TRUE(PostToDriver(kCloseMessage, 0, 0));
  ExpectLockedBoxAndConfirmIt("");
  EXPECT_TRUE(session_.Probe({"sync-driver"}).Succeeded());
  EXPECT_TRUE(driver_->Running());
  EXPECT_TRUE(session_.Probe({"tray-icon-exists"}).Succeeded());
}

TEST_F(MainWindowTest, ExitLockedWhileRunningIsRefusedBecauseTheCommandReloadsTheSettings) {
  StartWithController();
  EXPECT_EQ(MenuState(kExitCommand), 0);
  std::string error;
  ASSERT_TRUE(session_.SetDriverSetting("Exit", "1", &error)) << error;
  ASSERT_TRUE(PostToDriver(kCommandMessage, kExitCommand, 0));
  ExpectLockedBoxAndConfirmIt("");
  EXPECT_TRUE(session_.Probe({"sync-driver"}).Succeeded());
  EXPECT_TRUE(driver_->Running());
}

TEST_F(MainWindowTest, EveryLockGreysItsItemAndRefusesItsCommand) {
  std::string error;
  for (const char* lock : {"Exit", "Panel", "Keyboard", "Application", "SecLang"}) {
    ASSERT_TRUE(session_.SetDriverSetting(lock, "1", &error)) << error;
  }
  StartWithController();
  for (int item : {109, 110, 118, 40001, 40003}) {
    const int state = MenuState(item);
    EXPECT_TRUE(state >= 0 && (state & kGreyed)) << "item " << item << " state " << state;
  }
  EXPECT_EQ(MenuState(111), 0);
  EXPECT_EQ(MenuState(40002), 0);
  for (int item : {110, 118, 40001, 40003}) {
    ASSERT_TRUE(PostToDriver(kCommandMessage, item, 0));
    ExpectLockedBoxAndConfirmIt("");
  }
  EXPECT_TRUE(driver_->Running());
}

// Commands another program posts (or the tray menu sends) while a dialog of the
// main window is open open nothing inside it: the open one comes to the front.
TEST_F(MainWindowTest, DialogCommandsWhileADialogIsOpenBringItForwardAndOpenNothing) {
  constexpr const char* kAbout = "Information";
  constexpr const char* kPanel = "Astrolab/AIRCAP 3D Controller Panel";
  std::string error;
  ASSERT_TRUE(session_.SetDriverSetting("Keyboard", "1", &error)) << error;
  StartWithController();
  ASSERT_TRUE(PostToDriver(kCommandMessage, 111, 0));
  WaitForBox(kAbout);
  // The panel runs on a thread of its own: it opens beside About and takes the
  // foreground.
  ASSERT_TRUE(PostToDriver(kCommandMessage, 110, 0));
  WaitForBox(kPanel);
  ASSERT_EQ(DialogsOnceHandled().second, kPanel);

  for (int round = 0; round < 3; ++round) {
    for (int item : {109, 111, 118, 40001, 40002, 40003}) {
      ASSERT_TRUE(PostToDriver(kCommandMessage, item, 0));
    }
    ASSERT_TRUE(PostToDriver(kCloseMessage, 0, 0));
  }
  const auto [dialogs, foreground] = DialogsOnceHandled();
  EXPECT_EQ(dialogs, (std::multiset<std::string>{kAbout, kPanel}));
  EXPECT_EQ(foreground, kAbout);

  // Once About is closed, the commands open their boxes again; none of the
  // commands posted before was kept for later.
  Press(kAbout, kOk);
  WaitUntilGone(kAbout);
  EXPECT_EQ(DialogsOnceHandled().first, std::multiset<std::string>{kPanel});
  ASSERT_TRUE(PostToDriver(kCommandMessage, 40001, 0));
  ExpectLockedBoxAndConfirmIt("");
  ASSERT_TRUE(PostToDriver(kCommandMessage, kExitCommand, 0));
  WaitForBox(kExitCaption);
  Press(kExitCaption, kNo);
  EXPECT_EQ(DialogsOnceHandled().first, std::multiset<std::string>{kPanel});
  EXPECT_TRUE(driver_->Running());
}

TEST_F(MainWindowTest, TrayDoubleClickShowsTheWindowWithItsMenuAndPicture) {
  StartWithController();
  EXPECT_EQ(session_.Probe({"window-state", kDriverClass}).Field("VISIBLE"),
            std::string("0 ICONIC 0"));
  ShowMainWindow();
  const ProbeResult rect = session_.Probe({"window-rect", kDriverClass});
  EXPECT_EQ(rect.Field("RECT"), std::string("1 1 500 237"));
  const std::pair<int, const char*> labels[] = {
      {109, "E&xit"},  {110, "&Panel"},      {118, "Appl&ication"}, {40001, "&Keyboard"},
      {111, "&About"}, {40002, "&Security"}, {40003, "&Language"}};
  for (const auto& [item, label] : labels) {
    EXPECT_EQ(MenuState(item), 0) << "item " << item;
    EXPECT_EQ(MenuText(item), std::string(label)) << "item " << item;
  }
  EXPECT_FALSE(session_.Screenshot("main_window_english", "502x239+0+0").empty());
}

TEST_F(MainWindowTest, RestartedShellGetsTheIconAgain) {
  StartWithController();
  ASSERT_TRUE(session_.Probe({"tray-delete"}).Succeeded());
  ASSERT_FALSE(session_.Probe({"tray-icon-exists"}).Succeeded());
  ASSERT_TRUE(session_.Probe({"broadcast", "TaskbarCreated"}).Succeeded());
  EXPECT_TRUE(WaitForTrayIcon());
}

}  // namespace
}  // namespace e2e
