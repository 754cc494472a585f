// The start-up texts must be the exact Windows-1252 bytes the user sees; the
// expected values are spelled out byte by byte so that a UTF-8 slip or a hex
// escape that swallowed a letter shows up.
#include "ui/startup_texts.h"

#include <gtest/gtest.h>

#include <string>

#include "ui/tray_tip.h"

namespace astro {
namespace {

std::string Bytes(std::initializer_list<unsigned char> bytes) {
  return std::string(bytes.begin(), bytes.end());
}

TEST(AlreadyRunningTexts, EachLanguageHasItsTextAndCaption) {
  EXPECT_EQ(std::string(AlreadyRunningTexts(0).text),
            "Astrolab/AIRCAP driver is already active.\nYou need not to start it a second time.");
  EXPECT_EQ(std::string(AlreadyRunningTexts(0).caption), "Astrolab/AIRCAP");

  EXPECT_EQ(std::string(AlreadyRunningTexts(1).text), "Der AIRCAP Treiber ist schon gestartet.");

  const std::string french = std::string("AIRCAP driver est d") + Bytes({0xE9}) + "j" +
                             Bytes({0xE0}) + " activ" + Bytes({0xE9}) + "e!";
  EXPECT_EQ(std::string(AlreadyRunningTexts(2).text), french);
  EXPECT_EQ(french.size(), 31u);

  EXPECT_EQ(std::string(AlreadyRunningTexts(3).text),
            std::string("AIRCAP driver ya est") + Bytes({0xE1}) + " activado!");
  EXPECT_EQ(std::string(AlreadyRunningTexts(4).text),
            "AIRCAP driver attivo.\n Non necessario lanciarlo di nuovo!");

  for (int language = 1; language <= 4; ++language) {
    EXPECT_EQ(std::string(AlreadyRunningTexts(language).caption), "AIRCAP") << language;
  }
}

TEST(AlreadyRunningTexts, UnknownLanguagesFallBackToEnglish) {
  for (std::int32_t language : {5, 6, 100, -1, -5, INT32_MIN, INT32_MAX}) {
    EXPECT_STREQ(AlreadyRunningTexts(language).text, AlreadyRunningTexts(0).text) << language;
    EXPECT_STREQ(AlreadyRunningTexts(language).caption, "Astrolab/AIRCAP") << language;
  }
}

TEST(ProductTitle, EnglishNamesBothProductsOthersOnlyAircap) {
  EXPECT_STREQ(ProductTitle(0), "Astrolab/AIRCAP 3D Controller");
  for (int language = 1; language <= 4; ++language) {
    EXPECT_STREQ(ProductTitle(language), "AIRCAP 3D Controller") << language;
  }
  for (std::int32_t language : {5, -1, INT32_MIN, INT32_MAX}) {
    EXPECT_STREQ(ProductTitle(language), "Astrolab/AIRCAP 3D Controller") << language;
  }
  // The title is also the tray tip, a 64-byte field with its terminating zero.
  EXPECT_LT(std::string(ProductTitle(0)).size(), 64u);
}

TEST(MainMenuResource, ChosenByLanguage) {
  EXPECT_EQ(MainMenuResource(0), 168);
  EXPECT_EQ(MainMenuResource(1), 170);
  EXPECT_EQ(MainMenuResource(2), 169);
  EXPECT_EQ(MainMenuResource(3), 116);
  EXPECT_EQ(MainMenuResource(4), 171);
  EXPECT_EQ(MainMenuResource(5), 168);
  EXPECT_EQ(MainMenuResource(-1), 168);
}

TEST(TrayTipText, NamesThePortOrSaysDisconnectedInTheLanguage) {
  EXPECT_EQ(TrayTipText(0, false, "COM3"), "Astrolab/AIRCAP 3D Controller - COM3");
  EXPECT_EQ(TrayTipText(3, false, "COM12"), "AIRCAP 3D Controller - COM12");
  EXPECT_EQ(TrayTipText(0, false, ""), "Astrolab/AIRCAP 3D Controller");
  EXPECT_LT(TrayTipText(0, false, "COM256").size(), 64u);
  const char* lost[] = {
      "Astrolab/AIRCAP 3D Controller - disconnected", "AIRCAP 3D Controller - nicht verbunden",
      "AIRCAP 3D Controller - d\xE9"
      "connect\xE9",
      "AIRCAP 3D Controller - desconectado", "AIRCAP 3D Controller - disconnesso"};
  for (int language = 0; language < 5; ++language) {
    EXPECT_EQ(TrayTipText(language, true, "COM12"), lost[language]) << language;
    EXPECT_LT(TrayTipText(language, true, "COM12").size(), 64u) << language;
  }
  EXPECT_EQ(TrayTipText(7, true, "COM3"), lost[0]);
}

}  // namespace
}  // namespace astro
