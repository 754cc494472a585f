// The new-password rules and what the lock says, in the user's language.
#include "config/security_texts.h"

#include <gtest/gtest.h>

#include <string>

namespace astro {
namespace {

std::vector<std::string> Texts(const NewPasswordVerdict& verdict) {
  std::vector<std::string> texts;
  for (const BoxText& box : verdict.boxes) texts.push_back(box.text);
  return texts;
}

TEST(NewPasswordTest, MismatchComesBeforeTheMinimumLength) {
  const NewPasswordVerdict shortAndDifferent = CheckNewPassword("abc", "abd", 0);
  EXPECT_FALSE(shortAndDifferent.accepted);
  EXPECT_EQ(
      Texts(shortAndDifferent),
      (std::vector<std::string>{"Passwords don't match !", "Minimum Length : 6 characters !"}));
  EXPECT_EQ(Texts(CheckNewPassword("abcdef", "abcdeg", 0)),
            (std::vector<std::string>{"Passwords don't match !"}));
  EXPECT_EQ(Texts(CheckNewPassword("abcde", "abcde", 0)),
            (std::vector<std::string>{"Minimum Length : 6 characters !"}));
  // Six characters typed twice: taken, nothing shown.
  const NewPasswordVerdict good = CheckNewPassword("secret", "secret", 0);
  EXPECT_TRUE(good.accepted);
  EXPECT_TRUE(good.boxes.empty());
}

TEST(NewPasswordTest, APasswordThatCannotBeStoredWholeIsRefused) {
  // The key's first character is 'A' (65): a character of value 256 - 65 = 191
  // (0xBF) in first place scrambles to a zero byte and would cut the stored text.
  const std::string cut = std::string(1, '\xBF') + "bcdefg";
  const NewPasswordVerdict verdict = CheckNewPassword(cut, cut, 1);
  EXPECT_FALSE(verdict.accepted);
  ASSERT_EQ(verdict.boxes.size(), 1u);
  EXPECT_STREQ(verdict.boxes[0].caption, "AIRCAP");
  EXPECT_EQ(std::string(verdict.boxes[0].text).rfind("Dieses Passwort", 0), 0u);
}

TEST(NewPasswordTest, TheFactoryPasswordIsRefusedInEveryLanguage) {
  // Stored, "kto5fenrw!" means "no password set": the lock would open unasked.
  for (int language = 0; language < 6; ++language) {
    const NewPasswordVerdict verdict = CheckNewPassword("kto5fenrw!", "kto5fenrw!", language);
    EXPECT_FALSE(verdict.accepted) << language;
    ASSERT_EQ(verdict.boxes.size(), 1u) << language;
    EXPECT_STREQ(verdict.boxes[0].caption,
                 language == 0 || language == 5 ? "Astrolab/AIRCAP" : "AIRCAP");
  }
  EXPECT_STREQ(CheckNewPassword("kto5fenrw!", "kto5fenrw!", 0).boxes[0].text,
               "This is the factory password: please choose another one !");
  // "Esta es la contraseña de fábrica: ¡elija otra!": ñ F1, á E1, ¡ A1.
  EXPECT_EQ(std::string(CheckNewPassword("kto5fenrw!", "kto5fenrw!", 3).boxes[0].text),
            std::string("Esta es la contrase") + '\xF1' + "a de f" + '\xE1' + "brica: " + '\xA1' +
                "elija otra!");
  // French sets a no-break space (A0) before ":" and "!".
  EXPECT_EQ(std::string(CheckNewPassword("kto5fenrw!", "kto5fenrw!", 2).boxes[0].text),
            std::string("C'est le mot de passe d'usine") + '\xA0' + ": choisissez-en un autre" +
                '\xA0' + "!");
  // Only the exact text: another case, or more characters, is a password like any other.
  EXPECT_TRUE(CheckNewPassword("KTO5FENRW!", "KTO5FENRW!", 0).accepted);
  EXPECT_TRUE(CheckNewPassword("kto5fenrw!1", "kto5fenrw!1", 0).accepted);
  // Mismatching: the mismatch alone, as for any other text.
  EXPECT_EQ(Texts(CheckNewPassword("kto5fenrw!", "kto5fenrw?", 0)),
            (std::vector<std::string>{"Passwords don't match !"}));
}

TEST(NewPasswordTest, FieldsGiveTheirFirst19Characters) {
  const std::string typed = "abcdefghijklmnopqrstuvwxy";  // 25 characters
  EXPECT_EQ(PasswordFieldText(typed), "abcdefghijklmnopqrs");
  EXPECT_EQ(PasswordFieldText("short"), "short");
  EXPECT_TRUE(CheckNewPassword(PasswordFieldText(typed), PasswordFieldText(typed), 0).accepted);
}

TEST(SecurityTextsTest, RefusalsSpeakTheLanguage) {
  EXPECT_STREQ(AccessDeniedText(0).text, "ACCESS DENIED !");
  EXPECT_STREQ(AccessDeniedText(0).caption, "Astrolab/AIRCAP");
  EXPECT_STREQ(AccessDeniedText(1).text, "ZUGRIFF VERWEIGERT !");
  EXPECT_STREQ(AccessDeniedText(1).caption, "AIRCAP");
  // "ACCÈS REFUSÉ !": È is C8, É is C9.
  EXPECT_EQ(std::string(AccessDeniedText(2).text),
            std::string("ACC") + '\xC8' + "S REFUS" + '\xC9' + " !");
  EXPECT_STREQ(AccessDeniedText(4).text, "NO ACCESSO !");
  EXPECT_EQ(AccessDeniedText(5).text, nullptr);
  EXPECT_EQ(AccessDeniedText(-1).text, nullptr);
  // "Passwörter ... überein": ö F6, ü FC.
  EXPECT_EQ(std::string(PasswordMismatchText(1).text),
            std::string("Die Passw") + '\xF6' + "rter stimmen nicht " + '\xFC' + "berein !");
  EXPECT_EQ(std::string(PasswordTooShortText(3).text),
            std::string("Extensi") + '\xF3' + "n minima : 6 sig" + '\xF1' + "ales");
  EXPECT_STREQ(PasswordTooShortText(7).text, "Minimum Length : 6 characters !");
  EXPECT_STREQ(PasswordTooShortText(7).caption, "Astrolab/AIRCAP");
}

}  // namespace
}  // namespace astro
