#include "ui/application_choice.h"

#include <gtest/gtest.h>

#include "tests/unit/delivery_fixture.h"

namespace astro::testing {
namespace {

class ApplicationChoiceTest : public DeliveryFixture {
 protected:
  ApplicationChoiceTest() {
    AddWindow(501, "Modeler - part1.prt");
    AddWindow(502, "");  // alive, no title
    platform.classes[502] = "ViewerFrame";
    clients.Add(501);
    clients.Add(502);
    clients.Add(503);  // registered, then closed
    AppEntry bound;
    bound.window = 503;
    bound.processId = 7;
    bound.threadId = 70;
    apps.StoreByThread(70, bound);
  }
};

TEST_F(ApplicationChoiceTest, SlotsShowTitlesClassNamesAndEmptyTexts) {
  const auto lines = ListApplications(scope, 0);
  EXPECT_EQ(lines[0], "Modeler - part1.prt");
  EXPECT_EQ(lines[1], "ViewerFrame");
  for (int i = 2; i < 8; ++i) EXPECT_EQ(lines[i], "no application") << i;
  // The closed client left both lists; the others keep their slots.
  EXPECT_EQ(clients.Slot(2), 0u);
  EXPECT_FALSE(apps.HasThread(70));
  EXPECT_EQ(clients.Slot(0), 501u);
  EXPECT_EQ(clients.Slot(1), 502u);
}

TEST_F(ApplicationChoiceTest, EmptySlotTextsInEveryLanguage) {
  const char* expected[] = {"no application", "keine Anwendung", "aucune application",
                            "ninguna aplicaci\xF3n", "nessuna applicazione"};
  for (int language = 0; language < 5; ++language) {
    EXPECT_EQ(ListApplications(scope, language)[7], expected[language]) << language;
  }
  EXPECT_STREQ(EmptySlotText(9), "no application");
  EXPECT_STREQ(EmptySlotText(-1), "no application");
}

TEST_F(ApplicationChoiceTest, LongTitlesAreCutAt127Characters) {
  AddWindow(501, std::string(200, 'T'));
  EXPECT_EQ(ListApplications(scope, 0)[0], std::string(127, 'T'));
}

TEST_F(ApplicationChoiceTest, ChoosingASlotSetsTheTargetAtOnce) {
  ChooseApplication(scope, 1);
  EXPECT_EQ(context.targetWindow, 502u);
  EXPECT_FALSE(context.targetClearedByUser);
  ChooseApplication(scope, 5);
  EXPECT_EQ(context.targetWindow, 0u);
  EXPECT_TRUE(context.targetClearedByUser);
  ChooseApplication(scope, 0);
  EXPECT_EQ(context.targetWindow, 501u);
  EXPECT_FALSE(context.targetClearedByUser);
  ChooseApplication(scope, 8);  // no such slot: nothing changes
  EXPECT_EQ(context.targetWindow, 501u);
}

}  // namespace
}  // namespace astro::testing
