// The About box end to end: opened from the main window's menu, titled in the
// language in force, closed by OK or its close box.
#include <gmock/gmock.h>

#include "tests/e2e/desktop_fixture.h"

namespace e2e {
namespace {

constexpr int kAboutCommand = 111;
constexpr int kCloseCommand = 0xF060;  // SC_CLOSE

class AboutDialogTest : public DesktopTest {
 protected:
  // True once no visible dialog has the caption.
  bool Closes(const std::string& caption) {
    const auto deadline = Clock::now() + kReplyTimeout;
    while (session_.Probe({"dialog-rect", caption}).Succeeded()) {
      if (Clock::now() >= deadline) return false;
    }
    return true;
  }
};

TEST_F(AboutDialogTest, ShowsTheVersionAndClosesWithOk) {
  StartWithController();
  ASSERT_TRUE(PostToDriver(kCommandMessage, kAboutCommand, 0));
  WaitForBox("Information");
  EXPECT_EQ(session_.Probe({"control-text", "Information", "1"}).Text(), "OK");
  ASSERT_TRUE(session_.Probe({"settle", "Information"}).Succeeded());
  EXPECT_FALSE(session_.Screenshot("about_dialog").empty());
  ASSERT_TRUE(session_.Probe({"click", "Information", std::to_string(kOk)}).Succeeded());
  EXPECT_TRUE(Closes("Information"));
}

TEST_F(AboutDialogTest, FrenchTitleAndTheCloseBox) {
  std::string error;
  ASSERT_TRUE(session_.SetDriverSetting("Language", "2", &error)) << error;
  StartWithController();
  ASSERT_TRUE(PostToDriver(kCommandMessage, kAboutCommand, 0));
  WaitForBox("Autour de");
  ASSERT_TRUE(session_.Probe({"dialog-syscommand", "Autour de", std::to_string(kCloseCommand)})
                  .Succeeded());
  EXPECT_TRUE(Closes("Autour de"));
}

}  // namespace
}  // namespace e2e
