// Following the user: which client window becomes the target when the user
// activates a window, and how a registering client is bound to the application
// activated last.
#include "delivery/activation_tracker.h"

#include <gtest/gtest.h>

#include "client/astrolab_client.h"
#include "delivery/client_commands.h"
#include "delivery/target_selection.h"
#include "tests/unit/delivery_fixture.h"

namespace astro::testing {
namespace {

// Application windows (activated by the user) and client windows, each with its
// thread and process.
constexpr WindowHandle kCadWindow = 600;      // thread 11 of process 1
constexpr WindowHandle kCadToolWindow = 601;  // thread 13 of process 1
constexpr WindowHandle kEditorWindow = 800;   // thread 33 of process 3, never bound
constexpr WindowHandle kPluginClient = 500;   // thread 11 of process 1
constexpr WindowHandle kOtherClient = 700;    // thread 22 of process 2

class ActivationTest : public DeliveryFixture {
 protected:
  ActivationTest() {
    scope.binding = &tracker;
    Owned(kCadWindow, 11, 1, "CadMain");
    Owned(kCadToolWindow, 13, 1, "CadTool");
    Owned(kEditorWindow, 33, 3, "Editor");
    Owned(kPluginClient, 11, 1, "PluginClient");
    Owned(kOtherClient, 22, 2, "OtherClient");
  }

  void Owned(WindowHandle window, std::uint32_t thread, std::uint32_t process,
             const std::string& className) {
    AddWindow(window, "Window " + std::to_string(window));
    platform.owners[window] = {thread, process};
    platform.classes[window] = className;
  }

  void Register(WindowHandle window) { RegisterClientWindow(scope, window); }

  void ExpectSlot(int index, WindowHandle window, std::uint32_t process, std::uint32_t thread) {
    EXPECT_EQ(apps.Slot(index).window, window) << "slot " << index;
    EXPECT_EQ(apps.Slot(index).processId, process) << "slot " << index;
    EXPECT_EQ(apps.Slot(index).threadId, thread) << "slot " << index;
  }

  int UsedSlots() const {
    int used = 0;
    for (int i = 0; i < AppTable::kSlots; ++i) used += apps.Slot(i).window != 0;
    return used;
  }

  ActivationTracker tracker{context, apps, platform};
};

TEST_F(ActivationTest, ClientRegisteringBeforeAnyActivationIsTargetButNotBound) {
  Register(kPluginClient);
  EXPECT_EQ(context.targetWindow, kPluginClient);
  EXPECT_EQ(UsedSlots(), 0);

  // Its application's activation cannot bring it back.
  Register(kOtherClient);
  tracker.OnActivation(kCadWindow);
  EXPECT_EQ(context.targetWindow, kOtherClient);
}

TEST_F(ActivationTest, ClientOfTheActivatedThreadIsBoundAndComesBackOnActivation) {
  tracker.OnActivation(kCadWindow);
  EXPECT_EQ(context.targetWindow, kOwnWindow);  // nothing bound yet
  Register(kPluginClient);
  ExpectSlot(0, kPluginClient, 1, 11);
  EXPECT_EQ(context.currentApp.window, kPluginClient);

  // Another program's client takes the target; an unbound program's activation
  // leaves it there.
  Register(kOtherClient);
  tracker.OnActivation(kEditorWindow);
  EXPECT_EQ(context.targetWindow, kOtherClient);

  // Activating the bound application brings its client back; the entry is found
  // by thread and stored back by process, into its own slot. A 32-bit program's
  // activation can be reported twice (by both hooks): the second changes nothing.
  for (int report = 0; report < 2; ++report) {
    tracker.OnActivation(kCadWindow);
    EXPECT_EQ(context.targetWindow, kPluginClient) << "report " << report;
    ExpectSlot(0, kPluginClient, 1, 11);
    EXPECT_EQ(UsedSlots(), 1);
  }
}

TEST_F(ActivationTest, ClientOfAnotherThreadOfTheActivatedProcessIsBoundByProcess) {
  Owned(kPluginClient, 12, 1, "PluginClient");
  tracker.OnActivation(kCadWindow);
  Register(kPluginClient);
  // The entry carries the activated window's thread and process.
  ExpectSlot(0, kPluginClient, 1, 11);
  Register(kOtherClient);
  tracker.OnActivation(kCadWindow);
  EXPECT_EQ(context.targetWindow, kPluginClient);
}

TEST_F(ActivationTest, SecondThreadOfABoundProcessBringsTheClientBackAndIsRememberedOnce) {
  tracker.OnActivation(kCadWindow);
  Register(kPluginClient);
  Register(kOtherClient);

  // Found by process, stored back under the tool window's thread.
  tracker.OnActivation(kCadToolWindow);
  EXPECT_EQ(context.targetWindow, kPluginClient);
  ExpectSlot(0, kPluginClient, 1, 11);
  ExpectSlot(1, kPluginClient, 1, 13);

  // Found by thread from now on, stored back by process: no slot is added
  // however often the user switches between the two windows.
  for (int i = 0; i < 20; ++i) {
    Register(kOtherClient);
    tracker.OnActivation(i % 2 == 0 ? kCadToolWindow : kCadWindow);
    EXPECT_EQ(context.targetWindow, kPluginClient) << "activation " << i;
  }
  EXPECT_LE(UsedSlots(), 3);

  // The table still has room for another application.
  Owned(900, 44, 4, "Viewer");
  Owned(910, 44, 4, "ViewerClient");
  tracker.OnActivation(900);
  Register(910);
  Register(kOtherClient);
  tracker.OnActivation(900);
  EXPECT_EQ(context.targetWindow, 910u);
}

TEST_F(ActivationTest, ClientBesideAnXServerIsBoundToTheXWindowActivatedLast) {
  // Remote applications' windows all belong to the X server's process.
  Owned(610, 71, 7, kXServerClientClass);
  Owned(611, 71, 7, kXServerClientClass);
  tracker.OnActivation(610);
  Register(kOtherClient);  // a process of its own
  ExpectSlot(0, kOtherClient, 7, 71);
  tracker.OnActivation(kEditorWindow);
  Register(kPluginClient);  // takes the target, bound to nothing
  tracker.OnActivation(611);
  EXPECT_EQ(context.targetWindow, kOtherClient);

  // Any client announcing itself while an X window was activated last is bound
  // to that X window; the later binding takes the slot of the X server's process.
  Register(kPluginClient);
  ExpectSlot(0, kPluginClient, 7, 71);
}

TEST_F(ActivationTest, FirstRegistrationOfAnApplicationWins) {
  Owned(501, 11, 1, "SecondPluginClient");
  tracker.OnActivation(kCadWindow);
  Register(kPluginClient);
  Register(501);
  EXPECT_EQ(context.targetWindow, 501u);  // target in turn, but not bound
  ExpectSlot(0, kPluginClient, 1, 11);
  EXPECT_EQ(UsedSlots(), 1);
  Register(kOtherClient);
  tracker.OnActivation(kCadWindow);
  EXPECT_EQ(context.targetWindow, kPluginClient);
}

TEST_F(ActivationTest, ActivationOfAWindowAlreadyGoneIsRememberedButChangesNothing) {
  tracker.OnActivation(kCadWindow);
  Register(kPluginClient);
  Register(kOtherClient);
  tracker.OnActivation(4242);  // no such window: thread 0
  EXPECT_EQ(tracker.LastActivated().window, 4242u);
  EXPECT_EQ(tracker.LastActivated().threadId, 0u);
  EXPECT_STREQ(tracker.LastActivated().className, "");
  EXPECT_EQ(context.targetWindow, kOtherClient);
  EXPECT_EQ(UsedSlots(), 1);
}

TEST_F(ActivationTest, ClassNameIsKeptUpTo39Characters) {
  const std::string longName(60, 'K');
  Owned(620, 81, 8, longName);
  tracker.OnActivation(620);
  EXPECT_EQ(std::string(tracker.LastActivated().className), std::string(39, 'K'));
  EXPECT_EQ(tracker.LastActivated().processId, 8u);
  EXPECT_EQ(tracker.LastActivated().threadId, 81u);
}

TEST_F(ActivationTest, RegistrationCarriesTheHandleInTheLow32BitsSignExtended) {
  // Handles of 64-bit Windows fit in 32 bits; a 32-bit client passes only those,
  // and whatever stands above them is not part of the handle.
  class NoCommands : public CommandPlatform {
    void SendDeviceBytes(const char*, std::size_t) override {}
    void Sleep(unsigned) override {}
    void EnablePanelMenuItem(bool) override {}
    void MinimiseMainWindow() override {}
    void PostToPanelByTitle(std::uint32_t, std::intptr_t) override {}
  } commands;
  const struct {
    std::uint64_t lParam;
    std::uint64_t window;
  } cases[] = {
      {0x0000000000020086u, 0x0000000000020086u},
      {0x0000000700020086u, 0x0000000000020086u},
      {0x0000000080001234u, 0xFFFFFFFF80001234u},
      {0xFFFFFFFF80001234u, 0xFFFFFFFF80001234u},
  };
  for (const auto& c : cases) {
    HandleClientCommand(scope, commands, CmdSetClientWindow, static_cast<std::intptr_t>(c.lParam));
    EXPECT_EQ(static_cast<std::uint64_t>(context.targetWindow), c.window) << std::hex << c.lParam;
  }
}

}  // namespace
}  // namespace astro::testing
