// The text table must hand out the exact Windows-1252 bytes the user sees. The
// expected texts below are typed as readable UTF-8 and turned into Windows-1252
// by a small converter of their own (all accented letters used are in the
// U+00A0..U+00FF range, where Windows-1252 equals the code point), and a few are
// also spelled out as raw bytes so that a swallowed hex escape shows up.
#include "ui/lang_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

namespace astro {
namespace {

// Converts UTF-8 text limited to U+0000..U+00FF into single Windows-1252 bytes.
std::string Cp1252(const char* utf8) {
  std::string out;
  const auto* p = reinterpret_cast<const unsigned char*>(utf8);
  while (*p != 0) {
    if (*p < 0x80) {
      out.push_back(static_cast<char>(*p));
      ++p;
    } else {
      // Only two-byte sequences C2 xx / C3 xx occur in the expected texts.
      EXPECT_TRUE(*p == 0xC2 || *p == 0xC3) << "unexpected lead byte " << int(*p);
      EXPECT_EQ(p[1] & 0xC0, 0x80) << "bad continuation byte";
      const unsigned code = ((*p & 0x1Fu) << 6) | (p[1] & 0x3Fu);
      out.push_back(static_cast<char>(code));
      p += 2;
    }
  }
  return out;
}

std::string Bytes(std::initializer_list<unsigned char> bytes) {
  return std::string(bytes.begin(), bytes.end());
}

std::string Text(std::int32_t language, std::int32_t id) {
  const char* text = LangText(language, id);
  EXPECT_NE(text, nullptr) << "language " << language << " id " << id;
  return text != nullptr ? std::string(text) : std::string("<null>");
}

void ExpectRow(std::int32_t id, const char* const (&expected)[5]) {
  for (std::int32_t language = 0; language < 5; ++language) {
    EXPECT_EQ(Text(language, id), Cp1252(expected[language]))
        << "id " << id << " language " << language;
  }
}

TEST(LangTextConverter, TurnsUtf8IntoWindows1252Bytes) {
  EXPECT_EQ(Cp1252("Sensibilité Dêfault"),
            std::string("Sensibilit") + Bytes({0xE9}) + " D" + Bytes({0xEA}) + "fault");
  EXPECT_EQ(Cp1252("¿ä´Äü"), Bytes({0xBF, 0xE4, 0xB4, 0xC4, 0xFC}));
}

// The whole table as the product shows it, one row per id in English, German,
// French, Spanish and Italian, typed as readable text.
const char* const kExpectedTable[45][5] = {
    /* 0 */ {"Astrolab/AIRCAP 3D Controller Panel", "AIRCAP 3D Controller Einstellungen",
             "AIRCAP 3D Controller Panel", "AIRCAP 3D Controller Panel",
             "AIRCAP 3D Controller Pannello"},
    /* 1 */ {"Rotation ON", "Rotation AN", "Rotation ACTIF", "Rotación ACTIVADO", "Rotazione ON"},
    /* 2 */
    {"Rotation OFF", "Rotation AUS", "Rotation INACTIF", "Rotación DESACTIVADO", "Rotazione OFF"},
    /* 3 */
    {"Translation ON", "Translation AN", "Translation ACTIF", "Translación ACTIVADO",
     "Traslazione ON"},
    /* 4 */
    {"Translation OFF", "Translation AUS", "Translation INACTIF", "Translación DESACTIVADO",
     "Traslazione OFF"},
    /* 5 */
    {"Dominant ON", "Dominant AN", "Dominant ACTIF", "Dominante ACTIVADO", "Modo distanza ON"},
    /* 6 */
    {"Dominant OFF", "Dominant AUS", "Dominant INACTIF", "Dominante DESACTIVADO",
     "Modo distanza OFF"},
    /* 7 */ {"Hintview ON", "Hintview AN", "Hintview ACTIF", "Hintview ACTIVADO", "Hintview ON"},
    /* 8 */
    {"Hintview OFF", "Hintview AUS", "Hintview INACTIF", "Hintview DESACTIVADO", "Hintview OFF"},
    /* 9: 23 blanks */
    {"                       ", "                       ", "                       ",
     "                       ", "                       "},
    /* 10 */
    {"Overall Sensitivity", "Generelle Empfindlichkeit", "Sensibilité Générale",
     "Sensibilidad General", "Sensibilità Generale"},
    /* 11 */
    {"Translation Sensitivity", "Translations Empfindlichkeit", "Sensibilité de la Translation",
     "Sensibilidad de la Translación", "Traslazione Sensibilità"},
    /* 12 */
    {"Rotation Sensitivity", "Rotations Empfindlichkeit", "Sensibilité de la Rotation",
     "Sensibilidad de la Rotación", "Rotazione Sensibilità"},
    /* 13 */
    {"Default Sensitivity", "Voreinstellung", "Sensibilité Dêfault", "Sensibilidad Default",
     "Sensibilità Default"},
    /* 14 */ {"Buttons", "Tasten", "Boutons", "Botones", "Tasti"},
    /* 15 */ {"3D Modes", "3D Modes", "3D Modes", "3D Modos", "Modi 3D"},
    /* 16 */ {"Changeable", "Veränderbar", "Variable", "Variable", "Variabile"},
    /* 17 */
    {"Astrolab/AIRCAP 3D Controller Panel - Button Info",
     "AIRCAP 3D Controller Einstellungen - Tasten Info", "AIRCAP 3D Controller Panel",
     "AIRCAP 3D Controller Panel", "AIRCAP 3D Controller Pannello"},
    /* 18 */
    {"Do you really want to end the driver?", "Wollen Sie wirklich den Treiber beenden?",
     "Voulez-vous terminer le driver realment?", "¿Quiere terminar el driver realmente?", ""},
    /* 19 */
    {"Astrolab/AIRCAP 3D Controller", "AIRCAP 3D Controller", "AIRCAP 3D Controller",
     "AIRCAP 3D Controller", "AIRCAP 3D Controller"},
    /* 20 */ {"[Default]", "[Voreinstellung]", "[Dêfault]", "[Default]", "[Default]"},
    /* 21 */
    {"Button Window", "Tasten Fenster", "Fenêtre des boutons", "Ventana de los botones", ""},
    /* 22 */
    {"Overall absorbtion", "Generelle Dämpfung", "réduction générale", "reducción general", ""},
    /* 23: no entry */ {"", "", "", "", ""},
    /* 24 */ {"Hintview", "Hintview", "Hintview", "Hintview", "Hintview"},
    /* 25 */
    {"The beep function which confirms the pressing of individual buttons can be turned on or off "
     "here",
     "Hier können Sie den Beep zu einem Tastendruck ein- oder ausschalten",
     "Ici vous pouvez activer ou désactiver le bip d'un bouton",
     "Aquí puede activar o desactivar el tono de un botón", ""},
    /* 26 */
    {"Here, you can turn the seperate window with button information on or off",
     "Hier können Sie das unabhängige Fenster mit den Tasten Informationen ein- oder ausschalten",
     "Ici vous pouvez activer ou désactiver la fenêtre indépendante avec les informations des "
     "boutons",
     "Aquí puede activar o desactivar la ventana independente con las informaciones de los botones",
     ""},
    /* 27 */
    {"You can turn on or off the change of mode function here",
     "Hier können Sie das Ändern des Modes ein- oder ausschalten",
     "Ici vous pouvez activer ou désactiver le changement du mode",
     "Aquí puede activar o desactivar el cambio del modo", ""},
    /* 28 */
    {"At this point, you can allow or forbid the use of the Hintview button",
     "Hier können Sie die Hintview Taste grundsätzlich erlauben",
     "Ici vous pouvez permettre généralement le bouton du Hintview",
     "Aquí puede permitir generalmente el botón del Hintview", ""},
    /* 29 */
    {"This slider is for adjusting the overall absorbtion",
     "Mit diesem Schieber können Sie die generelle Dämpfung einstellen",
     "Avec ce glissoir vous pouvez régler la réduction générale",
     "Con esta corredera puede reglar la reducción general", ""},
    /* 30 */
    {"By pressing this button, the sensitivity value for translation is reset to the predefined "
     "default value",
     "Durch Anklicken dieses Buttons wird die translatorische Empfindlichkeit wieder auf ihren "
     "voreingestellten Wert gesetzt",
     "En cliquant ce bouton la sensibilité de la translation sera remis à son valeur défaut",
     "Apretando este botón la sensibilidad de la translación será puesto de nuevo a su valor "
     "default",
     ""},
    /* 31 */
    {"By pressing this button, the sensitivity value for rotation is reset to the predefined "
     "default value",
     "Durch Anklicken dieses Buttons wird die rotatorische Empfindlichkeit wieder auf ihren "
     "voreingestellten Wert gesetzt",
     "En cliquant ce bouton la sensibilité de la rotation sera remis à son valeur défaut",
     "Apretando este botón la sensibilidad de la rotación será puesto de nuevo a su valor default",
     ""},
    /* 32 */ {"Astrolab", "AIRCAP", "AIRCAP", "AIRCAP", "AIRCAP"},
    /* 33 */ {"Veltrix", "Veltrix", "Veltrix", "Veltrix", "Veltrix"},
    /* 34 */ {"Information", "Information", "Autour de", "Acerca de", "Informazione"},
    /* 35 */
    {"Hardware Reset", "Hardware Reset", "Hardware Reset", "Hardware Reset", "Hardware Reset"},
    /* 36 */
    {"By pressing this button, you can reset/redefine the cap´s zero position",
     "Durch Anklicken dieses Buttons können Sie die Null-Position der Kappe neu setzen",
     "En cliquant ce bouton vous pouvez obtenir de nouveau la position zéro du chapeau",
     "Apretando este botón puede obtener de nuevo la posición cero de la chapa", ""},
    /* 37 */ {"North", "Nord", "Nord", "Norte", ""},
    /* 38: no entry */ {"", "", "", "", ""},
    /* 39 */ {"South", "Süd", "Sud", "Sur", ""},
    /* 40 */ {"East", "Ost", "Est", "Este", ""},
    /* 41 */ {"Center", "Mitte", "Centre", "Centro", ""},
    /* 42 */ {"West", "West", "Ouest", "Oeste", ""},
    /* 43 */
    {"This feature enables you to assign a real button to the Gyrodisc button",
     "Hier können Sie der Gyrodisc Taste eine reale Taste zuordnen",
     "Ici vous pouvez assigner au bouton du Gyrodisc un bouton réel",
     "Aquí puede asignar al botón del Gyrodisc un botón verdadero", ""},
    /* 44 */
    {"This feature allows you to lock or unlock the Gyrodisc button",
     "Hier können Sie die Gyrodisc Taste sperren oder freigeben",
     "Ici vous pouvez activer ou désactiver le bouton du Gyrodisc",
     "Aquí puede activar o desactivar el botón del Gyrodisc", ""},
};

TEST(LangText, EveryIdInEveryLanguageByteForByte) {
  for (std::int32_t id = 0; id < 45; ++id) ExpectRow(id, kExpectedTable[id]);
  // An index outside 0..4 is English.
  for (std::int32_t id = 0; id < 45; ++id) {
    EXPECT_EQ(Text(5, id), Cp1252(kExpectedTable[id][0])) << "id " << id;
  }
}

TEST(LangText, FullRowsInEveryLanguage) {
  ExpectRow(0, {"Astrolab/AIRCAP 3D Controller Panel", "AIRCAP 3D Controller Einstellungen",
                "AIRCAP 3D Controller Panel", "AIRCAP 3D Controller Panel",
                "AIRCAP 3D Controller Pannello"});
  ExpectRow(
      18,
      {"Do you really want to end the driver?", "Wollen Sie wirklich den Treiber beenden?",
       "Voulez-vous terminer le driver realment?", "¿Quiere terminar el driver realmente?", ""});
  ExpectRow(19, {"Astrolab/AIRCAP 3D Controller", "AIRCAP 3D Controller", "AIRCAP 3D Controller",
                 "AIRCAP 3D Controller", "AIRCAP 3D Controller"});
  ExpectRow(22, {"Overall absorbtion", "Generelle Dämpfung", "réduction générale",
                 "reducción general", ""});
  ExpectRow(34, {"Information", "Information", "Autour de", "Acerca de", "Informazione"});
  ExpectRow(36, {"By pressing this button, you can reset/redefine the cap´s zero position",
                 "Durch Anklicken dieses Buttons können Sie die Null-Position der Kappe neu setzen",
                 "En cliquant ce bouton vous pouvez obtenir de nouveau la position zéro du chapeau",
                 "Apretando este botón puede obtener de nuevo la posición cero de la chapa", ""});
  ExpectRow(1,
            {"Rotation ON", "Rotation AN", "Rotation ACTIF", "Rotación ACTIVADO", "Rotazione ON"});
  ExpectRow(6, {"Dominant OFF", "Dominant AUS", "Dominant INACTIF", "Dominante DESACTIVADO",
                "Modo distanza OFF"});
  ExpectRow(13, {"Default Sensitivity", "Voreinstellung", "Sensibilité Dêfault",
                 "Sensibilidad Default", "Sensibilità Default"});
  ExpectRow(20, {"[Default]", "[Voreinstellung]", "[Dêfault]", "[Default]", "[Default]"});
  ExpectRow(26, {"Here, you can turn the seperate window with button information on or off",
                 "Hier können Sie das unabhängige Fenster mit den Tasten Informationen ein- oder "
                 "ausschalten",
                 "Ici vous pouvez activer ou désactiver la fenêtre indépendante avec les "
                 "informations des boutons",
                 "Aquí puede activar o desactivar la ventana independente con las informaciones "
                 "de los botones",
                 ""});
  ExpectRow(27, {"You can turn on or off the change of mode function here",
                 "Hier können Sie das Ändern des Modes ein- oder ausschalten",
                 "Ici vous pouvez activer ou désactiver le changement du mode",
                 "Aquí puede activar o desactivar el cambio del modo", ""});
  ExpectRow(39, {"South", "Süd", "Sud", "Sur", ""});
  ExpectRow(42, {"West", "West", "Ouest", "Oeste", ""});
}

// Texts where an accented letter is followed by a hex digit letter, spelled as raw
// bytes with their lengths.
TEST(LangText, AccentsBeforeHexDigitLettersKeepTheirLetters) {
  EXPECT_EQ(Text(2, kTextDefaultMarker), Bytes({'[', 'D', 0xEA, 'f', 'a', 'u', 'l', 't', ']'}));
  EXPECT_EQ(Text(1, 39), Bytes({'S', 0xFC, 'd'}));
  EXPECT_EQ(Text(2, kTextOverallAbsorption).substr(0, 4), Bytes({'r', 0xE9, 'd', 'u'}));
  EXPECT_EQ(Text(2, kTextOverallAbsorption).size(), 18u);

  const std::string french30 = Text(2, 30);
  EXPECT_EQ(french30.substr(french30.size() - 7), Bytes({' ', 'd', 0xE9, 'f', 'a', 'u', 't'}));
  const std::string french43 = Text(2, 43);
  EXPECT_EQ(french43.substr(french43.size() - 5), Bytes({' ', 'r', 0xE9, 'e', 'l'}));
  EXPECT_EQ(Text(2, 29), Cp1252("Avec ce glissoir vous pouvez régler la réduction générale"));
  EXPECT_EQ(Text(3, 18).substr(0, 2), Bytes({0xBF, 'Q'}));
  EXPECT_EQ(Text(0, 36).find(Bytes({'c', 'a', 'p', 0xB4, 's', ' '})), 52u);
}

TEST(LangText, FixedTextsAreTheSameInEveryLanguage) {
  for (std::int32_t language = 0; language < 5; ++language) {
    EXPECT_EQ(Text(language, 9), std::string(23, ' ')) << language;
    EXPECT_EQ(Text(language, kTextMaker), "Veltrix") << language;
  }
}

TEST(LangText, EmptyItalianTextsAreRealEntries) {
  for (std::int32_t id : {kTextExitQuestion, kTextButtonWindow, std::int32_t{25}}) {
    const char* text = LangText(4, id);
    ASSERT_NE(text, nullptr) << id;
    EXPECT_STREQ(text, "") << id;
    const char* slot = LangTextSlot(4, id);
    ASSERT_NE(slot, nullptr) << id;
    EXPECT_STREQ(slot, "") << id;
    // The other languages do have a text there.
    EXPECT_GT(std::strlen(LangText(0, id)), 0u) << id;
  }
}

TEST(LangText, LanguagesOutsideTheKnownFiveGiveEnglish) {
  for (std::int32_t language : {-1, 5, 6, 99, INT32_MIN, INT32_MAX}) {
    EXPECT_EQ(Text(language, kTextPanelTitle), "Astrolab/AIRCAP 3D Controller Panel") << language;
    EXPECT_EQ(Text(language, kTextExitQuestion), "Do you really want to end the driver?")
        << language;
    EXPECT_EQ(Text(language, kTextExitCaption), "Astrolab/AIRCAP 3D Controller") << language;
    EXPECT_EQ(Text(language, kTextRotationOn), "Rotation ON") << language;
    EXPECT_EQ(Text(language, 10), "Overall Sensitivity") << language;
    EXPECT_EQ(Text(language, kTextAboutTitle), "Information") << language;
    EXPECT_EQ(Text(language, 9), std::string(23, ' ')) << language;
    EXPECT_EQ(Text(language, kTextMaker), "Veltrix") << language;
  }
}

TEST(LangText, IdsWithoutTextGiveTheEmptyText) {
  for (std::int32_t language : {0, 1, 2, 3, 4, 5, -1}) {
    for (std::int32_t id : {23, 38, -1, 45, 1000, INT32_MIN, INT32_MAX}) {
      const char* text = LangText(language, id);
      ASSERT_NE(text, nullptr) << "language " << language << " id " << id;
      EXPECT_STREQ(text, "") << "language " << language << " id " << id;
    }
  }
  for (std::int32_t slot = 0; slot < 6; ++slot) {
    EXPECT_EQ(LangTextSlot(slot, 23), nullptr) << slot;
    EXPECT_EQ(LangTextSlot(slot, 38), nullptr) << slot;
  }
}

TEST(LangTextSlot, SixthSlotHoldsEnglishOnlyForTheSwitchCaptions) {
  const char* const english[9] = {nullptr,          "Rotation ON",     "Rotation OFF",
                                  "Translation ON", "Translation OFF", "Dominant ON",
                                  "Dominant OFF",   "Hintview ON",     "Hintview OFF"};
  for (std::int32_t id = 1; id <= 8; ++id) {
    const char* text = LangTextSlot(5, id);
    ASSERT_NE(text, nullptr) << id;
    EXPECT_STREQ(text, english[id]) << id;
    EXPECT_STREQ(LangTextSlot(0, id), english[id]) << id;
  }
  for (std::int32_t id : {0, 9, 10, 18, 33, 44}) {
    EXPECT_EQ(LangTextSlot(5, id), nullptr) << id;
  }
  // The sixth slot is never used as a language.
  EXPECT_STREQ(LangText(5, 0), "Astrolab/AIRCAP 3D Controller Panel");
  EXPECT_STREQ(LangText(5, 10), "Overall Sensitivity");
}

TEST(LangTextSlot, OutOfRangeSlotsAndIdsHaveNoText) {
  for (std::int32_t slot : {-1, 6, 99}) {
    EXPECT_EQ(LangTextSlot(slot, 1), nullptr) << slot;
  }
  for (std::int32_t id : {-1, 45, 1000}) {
    EXPECT_EQ(LangTextSlot(0, id), nullptr) << id;
  }
  EXPECT_STREQ(LangTextSlot(3, kTextAboutTitle), "Acerca de");
  EXPECT_EQ(std::string(LangTextSlot(1, 9)), std::string(23, ' '));
}

TEST(LangText, EveryTextIsPlainWindows1252) {
  EXPECT_EQ(kLangTextCount, 45);
  int texts = 0;
  for (std::int32_t id = 0; id < kLangTextCount; ++id) {
    for (std::int32_t slot = 0; slot < 5; ++slot) {
      const char* text = LangTextSlot(slot, id);
      if (id == 23 || id == 38) {
        EXPECT_EQ(text, nullptr) << id;
        continue;
      }
      ASSERT_NE(text, nullptr) << "id " << id << " slot " << slot;
      ++texts;
      const auto* p = reinterpret_cast<const unsigned char*>(text);
      for (std::size_t i = 0; p[i] != 0; ++i) {
        EXPECT_GE(p[i], 0x20) << "control byte in id " << id << " slot " << slot;
        if (p[i] == 0xC3) {
          EXPECT_FALSE(p[i + 1] >= 0x80 && p[i + 1] <= 0xBF)
              << "UTF-8 sequence in id " << id << " slot " << slot;
        }
      }
    }
  }
  EXPECT_EQ(texts, 43 * 5);
}

TEST(LangText, NamedIdsKeepTheirNumbers) {
  EXPECT_EQ(kTextPanelTitle, 0);
  EXPECT_EQ(kTextExitQuestion, 18);
  EXPECT_EQ(kTextExitCaption, 19);
  EXPECT_EQ(kTextDefaultMarker, 20);
  EXPECT_EQ(kTextMaker, 33);
  EXPECT_EQ(kTextAboutTitle, 34);
  EXPECT_EQ(Text(1, kTextButtons), "Tasten");
  EXPECT_EQ(Text(4, kText3DModes), "Modi 3D");
  EXPECT_EQ(Text(1, kTextChangeable), Cp1252("Veränderbar"));
  EXPECT_EQ(Text(4, kTextHintviewOff), "Hintview OFF");
}

}  // namespace
}  // namespace astro
