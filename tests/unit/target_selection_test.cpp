// Registration of client windows and the choice of a fallback target.
#include "delivery/target_selection.h"

#include <gtest/gtest.h>

#include "client/astrolab_client.h"
#include "tests/unit/delivery_fixture.h"

namespace astro::testing {
namespace {

class RecordingBinding : public ClientBinding {
 public:
  explicit RecordingBinding(DeliveryContext& context) : context_(context) {}
  void BindClient(WindowHandle window) override {
    bound.push_back(window);
    targetWhenBound.push_back(context_.targetWindow);
  }
  std::vector<WindowHandle> bound;
  std::vector<WindowHandle> targetWhenBound;

 private:
  DeliveryContext& context_;
};

class RegistrationTest : public DeliveryFixture {};

TEST_F(RegistrationTest, TheDriversOwnWindowChangesNothing) {
  RecordingBinding binding(context);
  scope.binding = &binding;
  platform.panel = 77;
  context.targetWindow = 50;
  RegisterClientWindow(scope, kOwnWindow);
  EXPECT_EQ(context.targetWindow, 50u);
  EXPECT_TRUE(binding.bound.empty());
  EXPECT_TRUE(platform.posts.empty());
  EXPECT_EQ(clients.Slot(0), 0u);
}

TEST_F(RegistrationTest, ClientBecomesTargetIsBoundListedAndThePanelIsTold) {
  RecordingBinding binding(context);
  scope.binding = &binding;
  platform.panel = 77;
  AddWindow(77, "Panel");
  AddWindow(500);
  RegisterClientWindow(scope, 500);
  EXPECT_EQ(context.targetWindow, 500u);
  ASSERT_EQ(binding.bound, std::vector<WindowHandle>{500});
  EXPECT_EQ(binding.targetWhenBound[0], 500u);
  ASSERT_EQ(platform.posts.size(), 1u);
  EXPECT_EQ(platform.posts[0].window, 77u);
  EXPECT_EQ(platform.posts[0].message, kCommandMessage);
  EXPECT_EQ(platform.posts[0].wParam, static_cast<std::uintptr_t>(CmdSetClientWindow));
  EXPECT_EQ(platform.posts[0].lParam, 500);
  EXPECT_EQ(clients.Slot(0), 500u);
  // A second registration of the same window does not list it twice.
  RegisterClientWindow(scope, 500);
  EXPECT_EQ(clients.Slot(1), 0u);
}

TEST_F(RegistrationTest, WithoutPanelNothingIsPostedAndWithoutBindingTheClientIsStillTarget) {
  AddWindow(500);
  RegisterClientWindow(scope, 500);
  EXPECT_EQ(context.targetWindow, 500u);
  EXPECT_TRUE(platform.posts.empty());
  EXPECT_EQ(clients.Slot(0), 500u);
}

TEST_F(RegistrationTest, ClientsThatAreGoneLeaveTheListAndTheApplicationTable) {
  for (WindowHandle w : {501, 502, 503}) {
    AddWindow(w);
    RegisterClientWindow(scope, w);
  }
  AppEntry bound;
  bound.window = 502;
  bound.processId = 9;
  bound.threadId = 90;
  apps.StoreByThread(90, bound);
  platform.windows.erase(502);
  AddWindow(504);
  RegisterClientWindow(scope, 504);
  EXPECT_EQ(clients.Slot(0), 501u);
  EXPECT_EQ(clients.Slot(1), 503u);
  EXPECT_EQ(clients.Slot(2), 504u);
  EXPECT_EQ(clients.Slot(3), 0u);
  EXPECT_FALSE(apps.HasThread(90));
}

TEST_F(RegistrationTest, NinthLiveClientIsTargetButNotListed) {
  for (WindowHandle w = 501; w <= 508; ++w) {
    AddWindow(w);
    RegisterClientWindow(scope, w);
  }
  AddWindow(509);
  RegisterClientWindow(scope, 509);
  EXPECT_EQ(context.targetWindow, 509u);
  EXPECT_FALSE(clients.Contains(509));
  EXPECT_EQ(clients.Slot(7), 508u);
}

class FallbackTest : public DeliveryFixture {};

TEST_F(FallbackTest, NewestClientWithATitleBecomesTargetAndTheDriverIsTold) {
  AddWindow(501, "First");
  AddWindow(502, "Second");
  AddWindow(503, "");  // alive but without title
  clients.Add(501);
  clients.Add(502);
  clients.Add(503);
  clients.Add(504);  // gone
  EXPECT_EQ(ChooseFallbackTarget(scope), 502u);
  EXPECT_EQ(context.targetWindow, 502u);
  ASSERT_EQ(platform.driverPosts.size(), 1u);
  EXPECT_EQ(platform.driverPosts[0].first, static_cast<std::uint32_t>(CmdSetClientWindow));
  EXPECT_EQ(platform.driverPosts[0].second, 502);
  // The list is looked at from the end.
  EXPECT_EQ(platform.Entries("title "),
            (std::vector<std::string>{"title 504", "title 503", "title 502"}));
}

TEST_F(FallbackTest, WithoutCandidatesTheTargetStays) {
  context.targetWindow = 0;
  clients.Add(504);  // gone
  EXPECT_EQ(ChooseFallbackTarget(scope), 0u);
  EXPECT_EQ(context.targetWindow, 0u);
  EXPECT_TRUE(platform.driverPosts.empty());
}

}  // namespace
}  // namespace astro::testing
