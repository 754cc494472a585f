// The target-application dialog end to end: registered clients listed by title or
// class name, closed ones shown as empty and dropped, and the user's choice of
// target, an empty one included, taking effect at once and standing.
#include <gmock/gmock.h>

#include "tests/e2e/tracking_fixture.h"

namespace e2e {
namespace {

constexpr int kApplicationCommand = 118;
constexpr int kFirstSlot = 1043;
constexpr int kSlots = 8;
constexpr const char* kEnglishDialog = "Astrolab/AIRCAP - Application";

class ApplicationDialogTest : public TrackingTest {
 protected:
  void OpenDialog(const std::string& caption) {
    ASSERT_TRUE(PostToDriver(kCommandMessage, kApplicationCommand, 0));
    WaitForBox(caption);
  }
  std::vector<std::string> SlotTexts(const std::string& caption) {
    std::vector<std::string> texts;
    for (int i = 0; i < kSlots; ++i) {
      texts.push_back(session_.Probe({"control-text", caption, std::to_string(kFirstSlot + i)})
                          .Text()
                          .value_or("?"));
    }
    return texts;
  }
  // The check state of every slot's radio button, "1" checked, "0" not.
  std::string Checks(const std::string& caption) {
    std::string checks;
    for (int i = 0; i < kSlots; ++i) {
      checks += session_.Probe({"control-text", caption, std::to_string(kFirstSlot + i)})
                    .Field("CHECKED")
                    .value_or("?");
    }
    return checks;
  }
};

TEST_F(ApplicationDialogTest, ListsClientsAndTheUsersChoiceOfNoneStands) {
  const ClientWindow modeler = StartClient("Modeler - part1.prt");
  const ClientWindow viewer = StartClient("Viewer");
  Command(viewer.process, "clear-title Viewer", "UNTITLED");
  // A window of the modeler's that registered and then closed.
  Command(modeler.process, "announce Scratch view", "READY");
  Command(modeler.process, "destroy Scratch view", "DESTROYED");

  OpenDialog(kEnglishDialog);
  EXPECT_THAT(SlotTexts(kEnglishDialog),
              ::testing::ElementsAre("Modeler - part1.prt", "AstrolabTestClient", "no application",
                                     "no application", "no application", "no application",
                                     "no application", "no application"));
  // The target is the closed window: no slot holds it.
  EXPECT_EQ(Checks(kEnglishDialog), "00000000");
  ASSERT_TRUE(session_.Probe({"settle", kEnglishDialog}).Succeeded());
  EXPECT_FALSE(session_.Screenshot("application_dialog").empty());

  Click(kEnglishDialog, kFirstSlot + 1);
  EXPECT_EQ(Checks(kEnglishDialog), "01000000");
  // An empty slot: no target, and every empty slot holds that "window".
  Click(kEnglishDialog, kFirstSlot + 4);
  EXPECT_EQ(Checks(kEnglishDialog), "00111111");
  Click(kEnglishDialog, kOk);

  // No fallback client is chosen while the user's choice stands.
  EXPECT_TRUE(SampleReachesNoClient());
  EXPECT_TRUE(SampleReachesNoClient());

  // Until a client registers again.
  Command(viewer.process, "announce Viewer", "READY");
  EXPECT_EQ(NextSampleGoesTo(), viewer.window);

  // Or the user chooses: at once, before OK.
  OpenDialog(kEnglishDialog);
  EXPECT_EQ(Checks(kEnglishDialog), "01000000");
  Click(kEnglishDialog, kFirstSlot);
  EXPECT_EQ(Checks(kEnglishDialog), "10000000");
  Click(kEnglishDialog, kOk);
  EXPECT_EQ(NextSampleGoesTo(), modeler.window);
}

class GermanApplicationDialogTest : public ApplicationDialogTest {
 protected:
  void BeforeDriverStarts() override {
    std::string error;
    ASSERT_TRUE(session_.SetDriverSetting("Language", "1", &error)) << error;
  }
};

TEST_F(GermanApplicationDialogTest, EmptySlotsSpeakGerman) {
  const ClientWindow client = StartClient("Konstruktion");
  OpenDialog("AIRCAP - Anwendung");
  const std::vector<std::string> texts = SlotTexts("AIRCAP - Anwendung");
  EXPECT_EQ(texts[0], "Konstruktion");
  for (int i = 1; i < kSlots; ++i) EXPECT_EQ(texts[i], "keine Anwendung") << i;
  EXPECT_EQ(Checks("AIRCAP - Anwendung"), "10000000");
  ASSERT_TRUE(session_.Probe({"settle", "AIRCAP - Anwendung"}).Succeeded());
  EXPECT_FALSE(session_.Screenshot("application_dialog_german").empty());
  // The close box ends it too; the target stays.
  ASSERT_TRUE(session_.Probe({"dialog-syscommand", "AIRCAP - Anwendung", "61536"}).Succeeded());
  EXPECT_EQ(NextSampleGoesTo(), client.window);
}

}  // namespace
}  // namespace e2e
