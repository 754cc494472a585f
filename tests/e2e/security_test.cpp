// The password lock end to end: the first Security command asks for a new
// password and checks it, the security dialog locks Exit, a wrong password is
// refused and a cancelled prompt says nothing.
#include <gmock/gmock.h>

#include "tests/e2e/desktop_fixture.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;

constexpr int kSecurityCommand = 40002;
constexpr const char* kNewPassword = "New Password";
constexpr const char* kPrompt = "Password Required !";
constexpr const char* kSecurity = "Astrolab/AIRCAP - Security";
constexpr const char* kLockCaption = "Astrolab/AIRCAP";

class SecurityTest : public DesktopTest {
 protected:
  void SetText(const std::string& caption, int field, const std::string& text) {
    EXPECT_TRUE(session_.Probe({"set-text", caption, std::to_string(field), text}).Succeeded());
  }
  // A click that may open a box: posted, so that the probe does not wait for it.
  void PostClick(const std::string& caption, int control) {
    EXPECT_TRUE(session_.Probe({"post-click", caption, std::to_string(control)}).Succeeded());
  }
  void ExpectBoxAndConfirm(const std::string& text) {
    const ProbeResult box = WaitForBox(kLockCaption);
    EXPECT_EQ(box.Text(), text);
    Press(kLockCaption, kOk);
  }
  // Sets the first password through the new-password dialog and leaves the
  // security dialog open.
  void SetFirstPassword(const std::string& password) {
    ASSERT_TRUE(PostToDriver(kCommandMessage, kSecurityCommand, 0));
    WaitForBox(kNewPassword);
    SetText(kNewPassword, 1032, password);
    SetText(kNewPassword, 1033, password);
    PostClick(kNewPassword, kOk);
    WaitForBox(kSecurity);
  }
  // The stored "Password" as hex of its raw bytes; it must be a text value.
  std::optional<std::string> StoredPassword() {
    const std::string key = std::string(WineSession::kDriverKey).substr(5);  // without "HKCU\\"
    const ProbeResult value = session_.Probe({"reg-value", key, "Password"});
    if (!value.Succeeded()) return std::nullopt;
    EXPECT_EQ(value.Field("TYPE"), "1");  // REG_SZ
    return value.Field("VALUE");
  }
};

TEST_F(SecurityTest, FirstPasswordIsCheckedStoredAndExitCanBeLocked) {
  StartWithController();
  ASSERT_TRUE(PostToDriver(kCommandMessage, kSecurityCommand, 0));
  WaitForBox(kNewPassword);
  SetText(kNewPassword, 1032, "abc");
  SetText(kNewPassword, 1033, "abd");
  PostClick(kNewPassword, kOk);
  ExpectBoxAndConfirm("Passwords don't match !");
  ExpectBoxAndConfirm("Minimum Length : 6 characters !");
  const std::optional<std::string> factory = StoredPassword();

  // The factory password would leave the lock open: refused like a mismatch.
  SetText(kNewPassword, 1032, "kto5fenrw!");
  SetText(kNewPassword, 1033, "kto5fenrw!");
  PostClick(kNewPassword, kOk);
  const ProbeResult reserved = WaitForBox(kLockCaption);
  EXPECT_EQ(reserved.Text(), "This is the factory password: please choose another one !");
  EXPECT_FALSE(session_.Screenshot("factory_password_refused").empty());
  Press(kLockCaption, kOk);
  WaitForBox(kNewPassword);
  EXPECT_EQ(StoredPassword(), factory);

  // 25 characters typed twice: the first 19 become the password.
  const std::string typed = "Abcdefghijklmnopqrstuvwxy";
  SetText(kNewPassword, 1032, typed);
  SetText(kNewPassword, 1033, typed);
  PostClick(kNewPassword, kOk);
  WaitForBox(kSecurity);
  const std::optional<std::string> stored = StoredPassword();
  // "Abcdefghijklmnopqrs" plus "ASTROLABASTROLABAST", byte by byte, worked by hand.
  EXPECT_EQ(stored, "82b5b7b6b4b2a8aaaabdbfbebcbab0b2b2c5c7");
  ASSERT_TRUE(session_.Probe({"settle", kSecurity}).Succeeded());
  EXPECT_FALSE(session_.Screenshot("security_dialog").empty());

  // "Allow User To Exit" unticked and confirmed: Exit is grey and refused.
  ASSERT_TRUE(session_.Probe({"click", kSecurity, "1028"}).Succeeded());
  ASSERT_TRUE(session_.Probe({"click", kSecurity, std::to_string(kOk)}).Succeeded());
  ASSERT_TRUE(session_.Probe({"sync-driver"}).Succeeded());
  EXPECT_TRUE(MenuState(kExitCommand) & 1);
  ASSERT_TRUE(PostToDriver(kCommandMessage, kExitCommand, 0));
  ExpectBoxAndConfirm("Change in settings not permitted !\n");
  ASSERT_TRUE(PostToDriver(kCloseMessage, 0, 0));
  ExpectBoxAndConfirm("Change in settings not permitted !\n");
  EXPECT_TRUE(driver_->Running());
  EXPECT_EQ(StoredPassword(), stored);

  // The password is its first 19 characters: those alone open the lock, and so
  // does the whole text typed again.
  for (const std::string& attempt : {typed.substr(0, 19), typed}) {
    ASSERT_TRUE(PostToDriver(kCommandMessage, kSecurityCommand, 0));
    WaitForBox(kPrompt);
    SetText(kPrompt, 1031, attempt);
    PostClick(kPrompt, kOk);
    WaitForBox(kSecurity);
    ASSERT_TRUE(session_.Probe({"click", kSecurity, "2"}).Succeeded());
  }
  // Eighteen of them do not.
  ASSERT_TRUE(PostToDriver(kCommandMessage, kSecurityCommand, 0));
  WaitForBox(kPrompt);
  SetText(kPrompt, 1031, typed.substr(0, 18));
  PostClick(kPrompt, kOk);
  ExpectBoxAndConfirm("ACCESS DENIED !");
}

TEST_F(SecurityTest, WrongPasswordIsDeniedAndACancelledPromptSaysNothing) {
  StartWithController();
  SetFirstPassword("secret1");
  ASSERT_TRUE(session_.Probe({"click", kSecurity, "2"}).Succeeded());  // Cancel

  ASSERT_TRUE(PostToDriver(kCommandMessage, kSecurityCommand, 0));
  WaitForBox(kPrompt);
  ASSERT_TRUE(session_.Probe({"settle", kPrompt}).Succeeded());
  EXPECT_FALSE(session_.Screenshot("password_prompt").empty());
  SetText(kPrompt, 1031, "secret2");
  PostClick(kPrompt, kOk);
  ExpectBoxAndConfirm("ACCESS DENIED !");

  ASSERT_TRUE(PostToDriver(kCommandMessage, kSecurityCommand, 0));
  WaitForBox(kPrompt);
  ASSERT_TRUE(session_.Probe({"click", kPrompt, "2"}).Succeeded());
  // Once the driver's thread takes messages again, the command is over.
  ASSERT_TRUE(session_.Probe({"sync-driver"}).Succeeded());
  EXPECT_FALSE(session_.Probe({"wait-box", kLockCaption, "0"}).Succeeded());
}

TEST_F(SecurityTest, EveryDialogThatSavesKeepsTheStoredPassword) {
  StartWithController();
  SetFirstPassword("keepme1");
  ASSERT_TRUE(session_.Probe({"click", kSecurity, std::to_string(kOk)}).Succeeded());
  const std::optional<std::string> stored = StoredPassword();
  ASSERT_TRUE(stored.has_value());

  // Before each path a value it rewrites is spoilt, so that the check also shows
  // the settings were saved.
  const auto spoil = [this] {
    std::string error;
    ASSERT_TRUE(session_.SetDriverSetting("Scaling X", "spoilt", &error)) << error;
  };
  const auto expectSavedAndKept = [&](const std::string& path) {
    const auto keys = session_.ReadDriverKey();
    ASSERT_TRUE(keys.has_value());
    EXPECT_EQ(keys->at("").at("Scaling X"), "1  +1.0000") << path;
    EXPECT_EQ(StoredPassword(), stored) << path;
  };

  spoil();
  ASSERT_TRUE(PostToDriver(kCommandMessage, 110, 0));
  WaitForBox("Astrolab/AIRCAP 3D Controller Panel");
  ASSERT_TRUE(session_.Probe({"click", "Astrolab/AIRCAP 3D Controller Panel", std::to_string(kOk)})
                  .Succeeded());
  expectSavedAndKept("panel OK");

  spoil();
  ASSERT_TRUE(PostToDriver(kCommandMessage, kLanguageCommand, 0));
  WaitForBox("Language Selection");
  ASSERT_TRUE(session_.Probe({"click", "Language Selection", std::to_string(kOk)}).Succeeded());
  expectSavedAndKept("language OK");

  spoil();
  ASSERT_TRUE(PostToDriver(kCommandMessage, kSecurityCommand, 0));
  WaitForBox(kPrompt);
  SetText(kPrompt, 1031, "keepme1");
  PostClick(kPrompt, kOk);
  WaitForBox(kSecurity);
  ASSERT_TRUE(session_.Probe({"click", kSecurity, std::to_string(kOk)}).Succeeded());
  expectSavedAndKept("security OK");

  // Only a new password changes it.
  ASSERT_TRUE(PostToDriver(kCommandMessage, kSecurityCommand, 0));
  WaitForBox(kPrompt);
  SetText(kPrompt, 1031, "keepme1");
  PostClick(kPrompt, kOk);
  WaitForBox(kSecurity);
  PostClick(kSecurity, 1034);
  WaitForBox(kNewPassword);
  SetText(kNewPassword, 1032, "changed2");
  SetText(kNewPassword, 1033, "changed2");
  ASSERT_TRUE(session_.Probe({"click", kNewPassword, std::to_string(kOk)}).Succeeded());
  const std::optional<std::string> changed = StoredPassword();
  EXPECT_NE(changed, stored);
  ASSERT_TRUE(session_.Probe({"click", kSecurity, std::to_string(kOk)}).Succeeded());
  EXPECT_EQ(StoredPassword(), changed);
}

TEST_F(SecurityTest, GermanWrongPasswordIsDeniedInGerman) {
  std::string error;
  ASSERT_TRUE(session_.SetDriverSetting("Language", "1", &error)) << error;
  StartWithController();
  ASSERT_TRUE(PostToDriver(kCommandMessage, kSecurityCommand, 0));
  WaitForBox("Neues Passwort");
  SetText("Neues Passwort", 1032, "geheim1");
  SetText("Neues Passwort", 1033, "geheim1");
  PostClick("Neues Passwort", kOk);
  WaitForBox("AIRCAP - Sicherheit");
  ASSERT_TRUE(session_.Probe({"click", "AIRCAP - Sicherheit", "2"}).Succeeded());

  ASSERT_TRUE(PostToDriver(kCommandMessage, kSecurityCommand, 0));
  WaitForBox("Passwort erforderlich!");
  SetText("Passwort erforderlich!", 1031, "geheim2");
  PostClick("Passwort erforderlich!", kOk);
  const ProbeResult box = WaitForBox("AIRCAP");
  EXPECT_EQ(box.Text(), "ZUGRIFF VERWEIGERT !");
  EXPECT_FALSE(session_.Screenshot("access_denied_german").empty());
  Press("AIRCAP", kOk);
}

// The lock is what the registry holds: a lock set there while the driver runs
// survives the saves of other dialogs and rules closing the window; the security
// dialog shows the stored flags, and only its OK changes them.
TEST_F(SecurityTest, StoredLocksRuleTheSecurityDialogAndSurviveOtherSaves) {
  StartWithController();
  SetFirstPassword("secret1");
  ASSERT_TRUE(session_.Probe({"click", kSecurity, std::to_string(kOk)}).Succeeded());

  // An administrator sets locks in the registry while the driver runs, each after
  // the driver last read its settings.
  std::string error;
  const auto lockValues = [this] {
    const auto keys = session_.ReadDriverKey();
    std::string values;
    for (const char* name : {"Exit", "Panel", "Keyboard", "Application", "SecLang"}) {
      values += keys && keys->at("").count(name) ? keys->at("").at(name) : "-";
    }
    return values;
  };
  // Exit: closing the window checks the stored lock, as the Exit command does.
  ASSERT_TRUE(session_.SetDriverSetting("Exit", "1", &error)) << error;
  ASSERT_TRUE(PostToDriver(kCloseMessage, 0, 0));
  ExpectBoxAndConfirm("Change in settings not permitted !\n");
  EXPECT_TRUE(driver_->Running());
  // Keyboard, while the panel is open: its OK keeps the lock.
  ASSERT_TRUE(PostToDriver(kCommandMessage, 110, 0));
  WaitForBox("Astrolab/AIRCAP 3D Controller Panel");
  ASSERT_TRUE(session_.SetDriverSetting("Keyboard", "1", &error)) << error;
  ASSERT_TRUE(session_.Probe({"click", "Astrolab/AIRCAP 3D Controller Panel", std::to_string(kOk)})
                  .Succeeded());
  EXPECT_EQ(lockValues(), "10100") << "the panel's OK";
  // Panel, while the language dialog is open: the same.
  ASSERT_TRUE(PostToDriver(kCommandMessage, kLanguageCommand, 0));
  WaitForBox("Language Selection");
  ASSERT_TRUE(session_.SetDriverSetting("Panel", "1", &error)) << error;
  ASSERT_TRUE(session_.Probe({"click", "Language Selection", std::to_string(kOk)}).Succeeded());
  EXPECT_EQ(lockValues(), "11100") << "the language dialog's OK";

  // The security dialog ticks what the registry allows.
  const auto openSecurity = [this] {
    ASSERT_TRUE(PostToDriver(kCommandMessage, kSecurityCommand, 0));
    WaitForBox(kPrompt);
    SetText(kPrompt, 1031, "secret1");
    PostClick(kPrompt, kOk);
    WaitForBox(kSecurity);
  };
  const int boxes[5] = {1028, 1027, 1030, 1029,
                        2009};  // Exit, Panel, Keyboard, Application, Language
  const auto ticks = [&] {
    std::string states;
    for (int box : boxes) {
      states += session_.Probe({"control-text", kSecurity, std::to_string(box)})
                    .Field("CHECKED")
                    .value_or("?");
    }
    return states;
  };
  openSecurity();
  EXPECT_EQ(ticks(), "00011");
  // Cancel saves nothing, whatever was ticked.
  const auto before = session_.ReadDriverKey();
  ASSERT_TRUE(session_.Probe({"click", kSecurity, "1029"}).Succeeded());
  ASSERT_TRUE(session_.Probe({"click", kSecurity, "1028"}).Succeeded());
  ASSERT_TRUE(session_.Probe({"click", kSecurity, "2"}).Succeeded());
  EXPECT_EQ(session_.ReadDriverKey(), before);

  // Every box unticked: every command it stands for is grey and refused.
  openSecurity();
  for (int box : {1029, 2009}) {
    ASSERT_TRUE(session_.Probe({"click", kSecurity, std::to_string(box)}).Succeeded());
  }
  EXPECT_EQ(ticks(), "00000");
  ASSERT_TRUE(session_.Probe({"click", kSecurity, std::to_string(kOk)}).Succeeded());
  EXPECT_EQ(lockValues(), "11111");
  ASSERT_TRUE(session_.Probe({"sync-driver"}).Succeeded());
  for (int command : {kExitCommand, 110, 40001, 118, kLanguageCommand}) {
    EXPECT_TRUE(MenuState(command) & 1) << command;
    ASSERT_TRUE(PostToDriver(kCommandMessage, command, 0));
    ExpectBoxAndConfirm("Change in settings not permitted !\n");
  }
  // All ticked again: all allowed.
  openSecurity();
  for (int box : boxes) {
    ASSERT_TRUE(session_.Probe({"click", kSecurity, std::to_string(box)}).Succeeded());
  }
  ASSERT_TRUE(session_.Probe({"click", kSecurity, std::to_string(kOk)}).Succeeded());
  EXPECT_EQ(lockValues(), "00000");
  ASSERT_TRUE(session_.Probe({"sync-driver"}).Succeeded());
  for (int command : {kExitCommand, 110, 40001, 118, kLanguageCommand}) {
    EXPECT_FALSE(MenuState(command) & 1) << command;
  }
  EXPECT_TRUE(driver_->Running());
}

}  // namespace
}  // namespace e2e
