// The settings in the system's registry: the driver's WinRegistry writes and
// reads the same bytes as the MemoryRegistry that the unit tests use, and the
// driver loads its settings at start-up.
#include <gmock/gmock.h>

#include "client/astrolab_client.h"
#include "config/memory_registry.h"
#include "config/password_scrambling.h"
#include "tests/e2e/driver_fixture.h"
#include "tests/e2e/harness_paths.h"
#include "tests/e2e/settings_sequence.h"

namespace e2e {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

class MemoryValueLister : public SettingsValueLister {
 public:
  explicit MemoryValueLister(const astro::MemoryRegistry& registry) : registry_(registry) {}

  std::optional<std::vector<StoredValue>> ListSettingsValues() override {
    if (!registry_.HasKey(astro::kSettingsKeyPath)) return std::nullopt;
    std::vector<StoredValue> values;
    for (const std::string& name : registry_.ValueNames(astro::kSettingsKeyPath)) {
      const astro::ValueType type = *registry_.TypeOf(astro::kSettingsKeyPath, name);
      values.push_back({name, type == astro::ValueType::kString ? kTypeText : kTypeBinary,
                        *registry_.Bytes(astro::kSettingsKeyPath, name)});
    }
    return values;
  }

 private:
  const astro::MemoryRegistry& registry_;
};

// The lines of one step of the sequence, without its "STEP" line.
std::vector<std::string> StepLines(const std::vector<std::string>& lines, const std::string& step) {
  std::vector<std::string> out;
  bool inside = false;
  for (const std::string& line : lines) {
    if (line.rfind("STEP ", 0) == 0) {
      inside = line == "STEP " + step;
      continue;
    }
    if (inside) out.push_back(line);
  }
  return out;
}

class SettingsTest : public DriverTest {};

TEST_F(SettingsTest, SystemRegistryHoldsTheSameBytesAsTheMemoryRegistry) {
  ASSERT_TRUE(FileExists(WindowsProgram("settings_tool.exe")));
  std::string error;
  ChildProcess* tool = session_.StartWindowsProgram("settings_tool.exe", {}, &error);
  ASSERT_NE(tool, nullptr) << error;
  ASSERT_EQ(tool->WaitForExit(kExitTimeout), 0);
  std::vector<std::string> onWine;
  for (const OutputLine& line : tool->Lines()) onWine.push_back(line.text);

  astro::MemoryRegistry memory;
  MemoryValueLister lister(memory);
  const std::vector<std::string> inMemory = RunSettingsSequence(memory, lister);
  ASSERT_GT(inMemory.size(), 100u);
  // Line by line, so that a difference shows where it is.
  ASSERT_EQ(onWine.size(), inMemory.size());
  for (std::size_t i = 0; i < inMemory.size(); ++i) {
    EXPECT_EQ(onWine[i], inMemory[i]) << "line " << i + 1;
  }

  // A key without "Password" gets the default password, scrambled, as 20 bytes.
  const astro::PasswordBytes scrambled = astro::ScramblePassword(astro::kDefaultPassword);
  const std::string password(scrambled.data(), scrambled.size());
  EXPECT_EQ(password.size(), 20u);
  EXPECT_THAT(StepLines(onWine, "load from an empty key"),
              Contains("VALUE Password 1 20 " + Hex(password)));
  EXPECT_EQ(Hex(password), "acc7c387b5b1afb4b87400000000000000000000");

  // The sequence ends with a default record saved: Wine's own tool shows the text.
  std::vector<std::string> query;
  ASSERT_EQ(
      session_.Run({FindOnPath("wine"), "reg", "query", WineSession::kDriverKey, "/v", "Scaling X"},
                   kExitTimeout, &query),
      0);
  EXPECT_THAT(query, Contains(HasSubstr("REG_SZ    1  +1.0000")));
}

TEST_F(SettingsTest, ModeChangeableZeroInTheRegistryMakesTheDriverRestoreItsMode) {
  std::string error;
  ASSERT_TRUE(session_.SetDriverSetting("ModeChangeable", "0", &error)) << error;
  sim::SimulatedController* controller = StartDriverWithController();
  ASSERT_NE(controller, nullptr);
  controller->ClearRecord();

  ASSERT_TRUE(controller->SendRaw("mA\r"));
  ASSERT_TRUE(controller->WaitForCommand("m3", kReplyTimeout));
  EXPECT_THAT(CommandLines(*controller), ElementsAre("m3"));
}

TEST_F(SettingsTest, WithoutTheSettingTheDriverAdoptsTheDevicesMode) {
  sim::SimulatedController* controller = StartDriverWithController();
  ASSERT_NE(controller, nullptr);
  controller->ClearRecord();

  // The q report is answered; had the mode report been answered, it would come first.
  ASSERT_TRUE(controller->SendRaw("mA\rq01\r"));
  ASSERT_TRUE(controller->WaitForCommand("q00", kReplyTimeout));
  EXPECT_THAT(CommandLines(*controller), ElementsAre("q00"));
  // Adopted, not ignored: once a client makes the driver's mode win, the next
  // report is answered with the adopted one.
  ASSERT_TRUE(
      session_.Probe({"send-command", std::to_string(CmdSetModeChangeable), "0"}).Succeeded());
  ASSERT_TRUE(controller->SendRaw("m3\r"));
  ASSERT_TRUE(controller->WaitForCommand("mA", kReplyTimeout));
  EXPECT_THAT(CommandLines(*controller), ElementsAre("q00", "mA"));
}

}  // namespace
}  // namespace e2e
