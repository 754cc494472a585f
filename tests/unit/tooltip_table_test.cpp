// Tooltips must show the exact Windows-1252 bytes of their texts, composed with
// the control's state. Expected texts are typed here as readable UTF-8 and turned
// into Windows-1252 by a converter of this test (every accented letter used lies
// in U+00A0..U+00FF, where Windows-1252 equals the code point).
#include "ui/tooltip_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace astro {
namespace {

std::string Cp1252(const char* utf8) {
  std::string out;
  const auto* p = reinterpret_cast<const unsigned char*>(utf8);
  while (*p != 0) {
    if (*p < 0x80) {
      out.push_back(static_cast<char>(*p++));
      continue;
    }
    EXPECT_TRUE(*p == 0xC2 || *p == 0xC3) << "unexpected lead byte " << int(*p);
    out.push_back(static_cast<char>(((*p & 0x1Fu) << 6) | (p[1] & 0x3Fu)));
    p += 2;
  }
  return out;
}

class FakeSource : public TooltipSource {
 public:
  int SliderPosition(int item) override {
    slidersRead.push_back(item);
    const auto it = positions.find(item);
    return it != positions.end() ? it->second : 0;
  }
  std::string ControlText(int item) override {
    const auto it = controlTexts.find(item);
    return it != controlTexts.end() ? it->second : std::string();
  }
  std::optional<std::string> RecordedSequenceText(int button, MappingShown mapping) override {
    buttonsRead.push_back(button);
    mappingsRead.push_back(mapping);
    const auto it = recordings.find(button);
    if (it == recordings.end()) return std::nullopt;
    return it->second;
  }

  std::map<int, int> positions;
  std::map<int, std::string> controlTexts;
  std::map<int, std::string> recordings;
  std::vector<int> slidersRead;
  std::vector<int> buttonsRead;
  std::vector<MappingShown> mappingsRead;
  std::vector<ProgramInForce> shownPrograms;
  std::vector<ProgramInForce> ShownMappingPrograms() override { return shownPrograms; }
};

constexpr std::int32_t kEnglish = 0;
constexpr std::int32_t kGerman = 1;
constexpr std::int32_t kFrench = 2;
constexpr std::int32_t kSpanish = 3;
constexpr std::int32_t kItalian = 4;

class TooltipTableTest : public ::testing::Test {
 protected:
  void SetUp() override { FillTooltipTable(); }

  std::string Text(int item, std::int32_t language) {
    const std::optional<std::string> text = TooltipText(item, language, source_);
    EXPECT_TRUE(text.has_value()) << "item " << item << " language " << language;
    return text.value_or("<none>");
  }

  FakeSource source_;
};

TEST_F(TooltipTableTest, AxisSlidersShowTheirPositionPlusFiftyPercent) {
  EXPECT_EQ(Text(1035, kEnglish),
            "Use this slider to adjust the sensitivity for the x - axis (50% )");
  EXPECT_EQ(source_.slidersRead, std::vector<int>{1035});

  source_.positions = {{1039, -50}, {1040, 50}, {1137, 7}, {1038, -1}, {1041, 0}};
  EXPECT_EQ(Text(1039, kEnglish),
            "Use this slider to adjust the sensitivity for the y - axis (0% )");
  EXPECT_EQ(Text(1040, kEnglish),
            "Use this slider to adjust the sensitivity for the z - axis (100% )");
  EXPECT_EQ(
      Text(1137, kEnglish),
      "Use this slider to adjust the sensitivity for the rotations around the x - axis (57% )");
  EXPECT_EQ(
      Text(1038, kEnglish),
      "Use this slider to adjust the sensitivity for the rotations around the y - axis (49% )");
  EXPECT_EQ(
      Text(1041, kEnglish),
      "Use this slider to adjust the sensitivity for the rotations around the z - axis (50% )");
  EXPECT_EQ(
      Text(1035, kGerman),
      Cp1252("Mit diesem Schieber stellen Sie die Empfindlichkeit für die x-Achse ein (50% )"));
}

TEST_F(TooltipTableTest, OverallSliderShowsThirteenStepsFromZeroToHundred) {
  const std::string slot =
      "Use this slider to adjust the overall sensitivity (more to the right, less to the left)";
  source_.positions[1036] = 0;
  EXPECT_EQ(Text(1036, kEnglish), slot + " (50% )");
  source_.positions[1036] = -3;
  EXPECT_EQ(Text(1036, kEnglish), slot + " (25% )");

  // A product not rounded to single precision would show 24, 49, 74 and 99.
  const int shown[13] = {0, 8, 16, 25, 33, 41, 50, 58, 66, 75, 83, 91, 100};
  for (int position = -6; position <= 6; ++position) {
    source_.positions[1036] = position;
    EXPECT_EQ(Text(1036, kEnglish), slot + " (" + std::to_string(shown[position + 6]) + "% )")
        << "position " << position;
  }
}

TEST_F(TooltipTableTest, NullRadiusSliderFormatsTextTwentyNineWithThePosition) {
  source_.positions[1037] = 7;
  EXPECT_EQ(Text(1037, kEnglish), "This slider is for adjusting the overall absorbtion, (7)");
  EXPECT_EQ(Text(1037, kItalian), ", (7)");
  source_.positions[1037] = -12;
  EXPECT_EQ(Text(1037, kGerman),
            Cp1252("Mit diesem Schieber können Sie die generelle Dämpfung einstellen, (-12)"));
  EXPECT_EQ(source_.slidersRead, (std::vector<int>{1037, 1037, 1037}));
}

TEST_F(TooltipTableTest, PanelButtonShowsTheReadableNameOfAKnownSequence) {
  source_.recordings[1] = "[Alt]vr";
  EXPECT_EQ(Text(1000, kEnglish),
            "Click here to execute the function assigned to button # 1: Repaint View");
  EXPECT_EQ(source_.buttonsRead, std::vector<int>{1});

  source_.recordings[8] = "AU[Enter]";
  EXPECT_EQ(Text(1007, kEnglish),
            "Click here to execute the function assigned to button # 8: Autoscale");
  EXPECT_EQ(Text(1007, kGerman),
            Cp1252("Klicken Sie hier, um die Funktion von Taste # 8 auszuführen: Autoscale"));

  // A known sequence of button 1 is not known on button 2.
  source_.recordings[2] = "[Alt]vr";
  EXPECT_EQ(Text(1001, kEnglish),
            "Click here to execute the function assigned to button # 2: [Alt]vr");
}

TEST_F(TooltipTableTest, PanelButtonShowsTheTextFormOfAnUnknownSequence) {
  source_.recordings[1] = "[Alt]vR";
  EXPECT_EQ(Text(1000, kEnglish),
            "Click here to execute the function assigned to button # 1: [Alt]vR");
  source_.recordings[3] = "Hello[Enter]";
  EXPECT_EQ(Text(1002, kFrench),
            Cp1252("Cliquez ici pour exécuter la fonction affectée au bouton # 3: Hello[Enter]"));
}

TEST_F(TooltipTableTest, PanelButtonWithoutRecordingShowsOnlyItsSlot) {
  EXPECT_EQ(Text(1004, kEnglish), "Click here to execute the function assigned to button # 5");
  EXPECT_EQ(Text(1008, kEnglish), "Click here to execute the function assigned to the * button");
  EXPECT_EQ(Text(1109, kEnglish), "Click here to execute the funtion assigned to the + button");
  EXPECT_EQ(Text(1110, kEnglish), "Click here to execute the funktion assigned to the - button");
  EXPECT_EQ(Text(1003, kItalian), "Fare clic qui per eseguire la funzione assegnata al tasto # 4");
}

TEST_F(TooltipTableTest, PanelButtonsAskForTheirDeviceButtons) {
  const int items[12] = {1000, 1001, 1002, 1003, 1004, 1005, 1006, 1007, 1008, 1110, 1109, 2023};
  for (int item : items) Text(item, kEnglish);
  EXPECT_EQ(source_.buttonsRead, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
  // What a press plays: the mapping in force for the program the user works in.
  EXPECT_EQ(source_.mappingsRead, std::vector<MappingShown>(12, MappingShown::kInForce));

  source_.recordings[10] = "x";
  EXPECT_EQ(Text(1110, kEnglish), "Click here to execute the funktion assigned to the - button: x");
}

TEST_F(TooltipTableTest, HintviewPanelButtonWithoutRecordingOpensThePanel) {
  EXPECT_EQ(Text(2023, kGerman),
            Cp1252("Klicken Sie hier, um die Funktion der Hintview-Taste auszuführen: "
                   "Öffnen der Einstellungen"));
  EXPECT_EQ(Text(2023, kGerman).substr(Text(2023, kGerman).size() - 26),
            std::string(": \xD6") + "ffnen der Einstellungen");
  // With a recording the recording replaces the panel text.
  source_.recordings[12] = "[Alt]vr";
  EXPECT_EQ(Text(2023, kEnglish),
            "Click here to execute the funtion assigned to the hintview button: [Alt]vr");
}

TEST_F(TooltipTableTest, MappingDialogButtonsAppendTheTextFormOnly) {
  EXPECT_EQ(Text(1302, kEnglish), "Click here to change the keyboard mapping for button # 1: ");
  source_.recordings[1] = "[Alt]vr";
  // No readable name here: the dialog shows what is recorded.
  EXPECT_EQ(Text(1302, kEnglish),
            "Click here to change the keyboard mapping for button # 1: [Alt]vr");
  source_.recordings[12] = "[Enter]zoom";
  EXPECT_EQ(Text(1214, kEnglish),
            "Click here to change the keyboard mapping for the hintview button : [Enter]zoom");
  EXPECT_EQ(Text(1104, kEnglish), "Click here to change the keyboard mapping for button # 2: ");
  EXPECT_EQ(Text(1112, kEnglish),
            "Click here to change the keyboard mapping for the + button (Astrolab/AIRCAP PLUS "
            "only): ");
  EXPECT_EQ(Text(1104, kSpanish),
            Cp1252("Haga clic aquí para cambiar la asignación de teclado del botón # 2: "));

  source_.buttonsRead.clear();
  source_.mappingsRead.clear();
  for (int item : {1302, 1104, 1105, 1106, 1107, 1108, 1009, 1010, 1011, 1112, 1213, 1214}) {
    Text(item, kEnglish);
  }
  EXPECT_EQ(source_.buttonsRead, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
  // The labels show the active mapping, which the dialog edits.
  EXPECT_EQ(source_.mappingsRead, std::vector<MappingShown>(12, MappingShown::kActive));
}

TEST_F(TooltipTableTest, TheNameBoxTellsWhereTheShownMappingIsInForce) {
  EXPECT_EQ(Text(2000, kEnglish), "Please enter here a name for your keyboard mapping");
  source_.shownPrograms = {
      {"proe.exe", "Beta", true}, {"notepad.exe", "Alpha", false}, {"xtop.exe", "Beta", true}};
  EXPECT_EQ(Text(2000, kEnglish),
            "Please enter here a name for your keyboard mapping (in force in: proe.exe, "
            "xtop.exe; notepad.exe uses Alpha)");
  EXPECT_EQ(Text(2000, kFrench),
            Cp1252("Veuillez entrer ici un nom pour votre affectation clavier (en vigueur "
                   "dans\u00a0: proe.exe, xtop.exe; notepad.exe utilise Alpha)"));
  source_.shownPrograms = {{"notepad.exe", "Alpha", false}};
  EXPECT_EQ(Text(2000, kGerman).substr(Text(2000, kGerman).size() - 29),
            "(notepad.exe verwendet Alpha)");
}

TEST_F(TooltipTableTest, HelpItemSixSharesTheHintviewMappingButton) {
  for (std::int32_t language = 0; language < 5; ++language) {
    EXPECT_EQ(Text(6, language), Text(1214, language)) << language;
  }
  source_.recordings[12] = "abc";
  EXPECT_EQ(Text(6, kEnglish),
            "Click here to change the keyboard mapping for the hintview button : abc");
  EXPECT_EQ(Text(6, kItalian), Text(1214, kItalian));
}

TEST_F(TooltipTableTest, TargetRadioButtonsAppendTheirOwnText) {
  source_.controlTexts[1043] = "Notepad";
  EXPECT_EQ(Text(1043, kEnglish),
            "Click on this Radiobutton to redirect the data to this application: Notepad");
  source_.controlTexts[1050] = std::string(300, 'w');
  const std::string text = Text(1050, kEnglish);
  EXPECT_EQ(text, "Click on this Radiobutton to redirect the data to this application: " +
                      std::string(127, 'w'));
  EXPECT_EQ(Text(1047, kGerman),
            Cp1252("Klicken Sie auf dieses Optionsfeld, um die Daten an diese Anwendung "
                   "umzuleiten: "));
}

TEST_F(TooltipTableTest, LanguageRadioButtonsStateTheCurrentLanguageAndOfferTheOthers) {
  // In every language the four offers are different texts, none of them the
  // statement of the current language.
  for (std::int32_t language = 0; language < 5; ++language) {
    const std::string current = Text(2004 + language, language);
    std::set<std::string> offers;
    for (int item = 2004; item <= 2008; ++item) {
      if (item == 2004 + language) continue;
      const std::string offer = Text(item, language);
      EXPECT_NE(offer, current) << item << " in " << language;
      offers.insert(offer);
    }
    EXPECT_EQ(offers.size(), 4u) << language;
  }
}

TEST_F(TooltipTableTest, ItemsWithoutEntryHaveNoTooltip) {
  for (int item :
       {-1, 0, 8, 108, 1012, 1026, 1051, 1111, 1400, 2012, 2011, 2055, 2061, 40003, 65535}) {
    EXPECT_FALSE(TooltipText(item, kEnglish, source_).has_value()) << item;
    EXPECT_EQ(TooltipSlot(item, kEnglish), nullptr) << item;
  }
}

TEST_F(TooltipTableTest, ComposedTextIsCutToTheBuffer) {
  source_.recordings[7] = std::string(600, 'k');
  const std::string slot = "Click here to change the keyboard mapping for button # 7: ";
  const std::string text = Text(1009, kEnglish);
  EXPECT_EQ(text.size(), 511u);
  EXPECT_EQ(text, slot + std::string(511 - slot.size(), 'k'));
}

// What a quoted text is compared with.
enum class Shows {
  kSlot,        // the table's slot of the item
  kTooltip,     // the whole tooltip, composed without recordings
  kTooltipEnd,  // the end of that tooltip
};

struct QuotedTexts {
  std::vector<int> items;
  Shows shows;
  // English, German, French, Spanish, Italian, typed as readable text; nullptr
  // where a language's text is the table's own translation.
  std::array<const char*, 5> texts;
};

// Every key of the tooltip table with its English slot, the texts of the
// driver's text table that tooltips show, the language radio buttons and the
// Hintview button's second text, as the product documents them.
const QuotedTexts kQuoted[] = {
    {{1}, Shows::kSlot, {"Click on the O.K. button to close this dialog"}},
    {{2}, Shows::kSlot, {"Click on this button to abort this operation"}},
    {{3}, Shows::kSlot, {"Click here to clear the contents of this button mapping"}},
    {{4}, Shows::kSlot, {"What's this button (IDRETRY) ?"}},
    {{5}, Shows::kSlot, {"Click here to save this button mapping"}},
    {{6, 1214},
     Shows::kSlot,
     {"Click here to change the keyboard mapping for the hintview button : "}},
    {{7}, Shows::kSlot, {"Click here to abort the operation"}},
    {{109}, Shows::kSlot, {"Click here if you want to terminate the Astrolab/AIRCAP driver"}},
    {{110}, Shows::kSlot, {"Click here if you want to change the Astrolab/AIRCAP settings"}},
    {{111},
     Shows::kSlot,
     {"Click here if you want to get information about the Astrolab/AIRCAP driver"}},
    {{118}, Shows::kSlot, {"Open this menu to change the target application"}},
    {{1000}, Shows::kSlot, {"Click here to execute the function assigned to button # 1"}},
    {{1001}, Shows::kSlot, {"Click here to execute the function assigned to button # 2"}},
    {{1002}, Shows::kSlot, {"Click here to execute the function assigned to button # 3"}},
    {{1003}, Shows::kSlot, {"Click here to execute the function assigned to button # 4"}},
    {{1004}, Shows::kSlot, {"Click here to execute the function assigned to button # 5"}},
    {{1005}, Shows::kSlot, {"Click here to execute the function assigned to button # 6"}},
    {{1006}, Shows::kSlot, {"Click here to execute the function assigned to button # 7"}},
    {{1007}, Shows::kSlot, {"Click here to execute the function assigned to button # 8"}},
    {{1008}, Shows::kSlot, {"Click here to execute the function assigned to the * button"}},
    {{1009}, Shows::kSlot, {"Click here to change the keyboard mapping for button # 7: "}},
    {{1010}, Shows::kSlot, {"Click here to change the keyboard mapping for button # 8: "}},
    {{1011}, Shows::kSlot, {"Click here to change the keyboard mapping for the * button: "}},
    {{1027}, Shows::kSlot, {"The user can open the panel only if checked"}},
    {{1028}, Shows::kSlot, {"The user can exit the driver only if checked"}},
    {{1029}, Shows::kSlot, {"The user can change the target application only if checked"}},
    {{1030}, Shows::kSlot, {"The user can change the keyboard-mapping only if checked"}},
    {{1031}, Shows::kSlot, {"Please enter your password here"}},
    {{1032},
     Shows::kSlot,
     {"Please enter your new password here (min. 6 characters - max. 20 characters)"}},
    {{1033}, Shows::kSlot, {"Please enter your new password here again for confirmation"}},
    {{1034}, Shows::kSlot, {"Click on this button to change the password"}},
    {{1035}, Shows::kSlot, {"Use this slider to adjust the sensitivity for the x - axis"}},
    {{1039}, Shows::kSlot, {"Use this slider to adjust the sensitivity for the y - axis"}},
    {{1040}, Shows::kSlot, {"Use this slider to adjust the sensitivity for the z - axis"}},
    {{1036},
     Shows::kSlot,
     {"Use this slider to adjust the overall sensitivity (more to the right, less to the left)"}},
    {{1137},
     Shows::kSlot,
     {"Use this slider to adjust the sensitivity for the rotations around the x - axis"}},
    {{1038},
     Shows::kSlot,
     {"Use this slider to adjust the sensitivity for the rotations around the y - axis"}},
    {{1041},
     Shows::kSlot,
     {"Use this slider to adjust the sensitivity for the rotations around the z - axis"}},
    {{1042}, Shows::kSlot, {"Check/uncheck to switch x-axis movement on/off"}},
    {{1143}, Shows::kSlot, {"Check/uncheck to switch y-axis movement on/off"}},
    {{1144}, Shows::kSlot, {"Check/uncheck to switch z-axis movement on/off"}},
    {{1043, 1044, 1045, 1046, 1047, 1048, 1049, 1050},
     Shows::kSlot,
     {"Click on this Radiobutton to redirect the data to this application: "}},
    {{1302}, Shows::kSlot, {"Click here to change the keyboard mapping for button # 1: "}},
    {{1104}, Shows::kSlot, {"Click here to change the keyboard mapping for button # 2: "}},
    {{1105}, Shows::kSlot, {"Click here to change the keyboard mapping for button # 3: "}},
    {{1106}, Shows::kSlot, {"Click here to change the keyboard mapping for button # 4: "}},
    {{1107}, Shows::kSlot, {"Click here to change the keyboard mapping for button # 5: "}},
    {{1108}, Shows::kSlot, {"Click here to change the keyboard mapping for button # 6: "}},
    {{1109}, Shows::kSlot, {"Click here to execute the funtion assigned to the + button"}},
    {{1110}, Shows::kSlot, {"Click here to execute the funktion assigned to the - button"}},
    {{1112},
     Shows::kSlot,
     {"Click here to change the keyboard mapping for the + button (Astrolab/AIRCAP PLUS only): "}},
    {{1113}, Shows::kSlot, {"Click on this button to switch the translational movement on or off"}},
    {{1115}, Shows::kSlot, {"Click on this button to switch the rotaional movement on or off"}},
    {{1116}, Shows::kSlot, {"Click on this button to switch the dominant-mode on or off"}},
    {{1145}, Shows::kSlot, {"Check/uncheck to switch roations around the x-axis on/off"}},
    {{1146}, Shows::kSlot, {"Check/uncheck to switch roations around the y-axis on/off"}},
    {{1147}, Shows::kSlot, {"Check/uncheck to switch roations around the z-axis on/off"}},
    {{1205}, Shows::kSlot, {"Click on this button to close this dialog"}},
    {{1206}, Shows::kSlot, {"Click on this button to abort this operation"}},
    {{1213},
     Shows::kSlot,
     {"Click here to change the keyboard mapping for the - button (Astrolab/AIRCAP PLUS only): "}},
    {{2000}, Shows::kSlot, {"Please enter here a name for your keyboard mapping"}},
    // Each language's own radio button states that it is the current one.
    {{2004},
     Shows::kSlot,
     {"The current language used is english", "Klicken Sie hier um auf Englisch zu wechseln"}},
    {{2005},
     Shows::kSlot,
     {"Click here to change to the German Language", "Die verwendete Sprache ist Deutsch"}},
    {{2006},
     Shows::kSlot,
     {"Click here to change to the French Language",
      "Klicken Sie hier um auf Französisch zu wechseln", "La langue utilisée est français"}},
    {{2007},
     Shows::kSlot,
     {"Click here to change to the Spanish Language",
      "Klicken Sie hier um auf Spanisch zu wechseln", nullptr, "La lengua usada es español "}},
    {{2008},
     Shows::kSlot,
     {"Click here to change to the Italian Language",
      "Klicken Sie hier um auf Italienisch zu wechseln", nullptr, nullptr,
      "La lingua attualmente utilizzata è l'italiano"}},
    {{2009}, Shows::kSlot, {"The user can change the language only if checked"}},
    {{2010}, Shows::kSlot, {"Some examples how the Astrolab/AIRCAP could be customized"}},
    {{2018}, Shows::kSlot, {"Click on this button to switch the hintview function on or off"}},
    {{2023}, Shows::kSlot, {"Click here to execute the funtion assigned to the hintview button"}},
    {{40001}, Shows::kSlot, {"Open this menu to access the keyboard mapping options"}},
    {{40002}, Shows::kSlot, {"Open this menu to access the security options"}},

    // Without a recording the Hintview button tells that it opens the panel.
    {{2023},
     Shows::kTooltipEnd,
     {": open/close panel", ": Öffnen der Einstellungen", ": open/close panel",
      ": open/close panel", ": open/close panel"}},

    // Texts of the text table; the Italian ones are empty.
    {{2024},
     Shows::kTooltip,
     {"The beep function which confirms the pressing of individual buttons can be turned on or "
      "off here",
      "Hier können Sie den Beep zu einem Tastendruck ein- oder ausschalten",
      "Ici vous pouvez activer ou désactiver le bip d'un bouton",
      "Aquí puede activar o desactivar el tono de un botón", ""}},
    {{2026},
     Shows::kTooltip,
     {"Here, you can turn the seperate window with button information on or off",
      "Hier können Sie das unabhängige Fenster mit den Tasten Informationen ein- oder "
      "ausschalten",
      "Ici vous pouvez activer ou désactiver la fenêtre indépendante avec les informations des "
      "boutons",
      "Aquí puede activar o desactivar la ventana independente con las informaciones de los "
      "botones",
      ""}},
    {{2025},
     Shows::kTooltip,
     {"You can turn on or off the change of mode function here",
      "Hier können Sie das Ändern des Modes ein- oder ausschalten",
      "Ici vous pouvez activer ou désactiver le changement du mode",
      "Aquí puede activar o desactivar el cambio del modo", ""}},
    {{2027},
     Shows::kTooltip,
     {"At this point, you can allow or forbid the use of the Hintview button",
      "Hier können Sie die Hintview Taste grundsätzlich erlauben",
      "Ici vous pouvez permettre généralement le bouton du Hintview",
      "Aquí puede permitir generalmente el botón del Hintview", ""}},
    // The null radius slider stands at 3.
    {{1037},
     Shows::kTooltip,
     {"This slider is for adjusting the overall absorbtion, (3)",
      "Mit diesem Schieber können Sie die generelle Dämpfung einstellen, (3)",
      "Avec ce glissoir vous pouvez régler la réduction générale, (3)",
      "Con esta corredera puede reglar la reducción general, (3)", ", (3)"}},
    {{2035},
     Shows::kTooltip,
     {"By pressing this button, the sensitivity value for translation is reset to the "
      "predefined default value",
      "Durch Anklicken dieses Buttons wird die translatorische Empfindlichkeit wieder auf ihren "
      "voreingestellten Wert gesetzt",
      "En cliquant ce bouton la sensibilité de la translation sera remis à son valeur défaut",
      "Apretando este botón la sensibilidad de la translación será puesto de nuevo a su valor "
      "default",
      ""}},
    {{1401},
     Shows::kTooltip,
     {"By pressing this button, the sensitivity value for rotation is reset to the predefined "
      "default value",
      "Durch Anklicken dieses Buttons wird die rotatorische Empfindlichkeit wieder auf ihren "
      "voreingestellten Wert gesetzt",
      "En cliquant ce bouton la sensibilité de la rotation sera remis à son valeur défaut",
      "Apretando este botón la sensibilidad de la rotación será puesto de nuevo a su valor "
      "default",
      ""}},
    {{1114},
     Shows::kTooltip,
     {"By pressing this button, you can reset/redefine the cap´s zero position",
      "Durch Anklicken dieses Buttons können Sie die Null-Position der Kappe neu setzen",
      "En cliquant ce bouton vous pouvez obtenir de nouveau la position zéro du chapeau",
      "Apretando este botón puede obtener de nuevo la posición cero de la chapa", ""}},
    {{2045, 2046, 2047, 2053, 2054},
     Shows::kTooltip,
     {"This feature enables you to assign a real button to the Gyrodisc button",
      "Hier können Sie der Gyrodisc Taste eine reale Taste zuordnen",
      "Ici vous pouvez assigner au bouton du Gyrodisc un bouton réel",
      "Aquí puede asignar al botón del Gyrodisc un botón verdadero", ""}},
    {{2001},
     Shows::kSlot,
     {"Please enter here the programs (file names separated by ;) in which this keyboard "
      "mapping is used",
      "Bitte geben Sie hier die Programme ein (Dateinamen, getrennt durch ;), in denen diese "
      "Tastaturbelegung gilt",
      "Veuillez entrer ici les programmes (noms de fichier séparés par ;) où cette affectation "
      "clavier s'applique",
      "Por favor, introduzca aquí los programas (nombres de archivo separados por ;) en los que se "
      "usa esta asignación",
      "Inserire qui i programmi (nomi di file separati da ;) nei quali vale questa assegnazione "
      "della tastiera"}},
    {{2002},
     Shows::kSlot,
     {"Click here to add a program that is running now to this list",
      "Klicken Sie hier, um ein gerade laufendes Programm zu dieser Liste hinzuzufügen",
      "Cliquez ici pour ajouter à cette liste un programme en cours d'exécution",
      "Haga clic aquí para añadir a esta lista un programa en ejecución",
      "Fare clic qui per aggiungere a questa lista un programma in esecuzione"}},
    {{2003},
     Shows::kSlot,
     {"Choose the program to add to the list",
      "Wählen Sie das Programm, das der Liste hinzugefügt wird",
      "Choisissez le programme à ajouter à la liste", "Elija el programa que se añadirá a la lista",
      "Scegliere il programma da aggiungere alla lista"}},
    {{2056, 2057, 2058, 2059, 2060},
     Shows::kTooltip,
     {"This feature allows you to lock or unlock the Gyrodisc button",
      "Hier können Sie die Gyrodisc Taste sperren oder freigeben",
      "Ici vous pouvez activer ou désactiver le bouton du Gyrodisc",
      "Aquí puede activar o desactivar el botón del Gyrodisc", ""}},
};

// Each quoted text in its language; an index outside the five shows the English
// one. An empty Italian text is a tooltip all the same (shown empty), not a
// missing one.
TEST_F(TooltipTableTest, QuotedTextsInEveryLanguage) {
  source_.positions[1037] = 3;
  std::set<int> slotItems;
  for (const QuotedTexts& row : kQuoted) {
    for (int item : row.items) {
      if (row.shows == Shows::kSlot) slotItems.insert(item);
      for (std::int32_t language : {0, 1, 2, 3, 4, -1, 5, 99}) {
        const char* typed = row.texts[language >= 0 && language < 5 ? language : 0];
        if (typed == nullptr) continue;
        const std::string expected = Cp1252(typed);
        std::string shown;
        if (row.shows == Shows::kSlot) {
          const char* slot = TooltipSlot(item, language);
          ASSERT_NE(slot, nullptr) << item << " in " << language;
          shown = slot;
        } else {
          const std::optional<std::string> tooltip = TooltipText(item, language, source_);
          ASSERT_TRUE(tooltip.has_value()) << item << " in " << language;
          shown = *tooltip;
        }
        if (row.shows == Shows::kTooltipEnd) {
          ASSERT_GT(shown.size(), expected.size()) << item << " in " << language;
          shown = shown.substr(shown.size() - expected.size());
        }
        EXPECT_EQ(shown, expected) << item << " in " << language;
      }
    }
  }
  // The keys listed above are all the keys of the table, each once.
  const std::vector<int> items = TooltipTableItems();
  std::set<int> tableItems(items.begin(), items.end());
  EXPECT_EQ(tableItems.size(), items.size()) << "an item appears twice";
  tableItems.insert(6);
  EXPECT_EQ(slotItems, tableItems);
}

TEST(TooltipTable, EverySlotIsAPrintableWindows1252TextThatFits) {
  for (int item : TooltipTableItems()) {
    for (std::int32_t language = 0; language < 5; ++language) {
      const char* slot = TooltipSlot(item, language);
      ASSERT_NE(slot, nullptr) << item << " " << language;
      const std::string text = slot;
      EXPECT_FALSE(text.empty()) << item << " " << language;
      EXPECT_LE(text.size(), 127u) << item << " " << language;
      for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        EXPECT_GE(c, 0x20) << "control character in " << item << " " << language;
        EXPECT_NE(c, 0x7F) << item << " " << language;
        const bool utf8Pair = c == 0xC3 && i + 1 < text.size() &&
                              (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80;
        EXPECT_FALSE(utf8Pair) << "UTF-8 bytes in " << item << " " << language;
      }
      // Translated, not copied from English.
      if (language != kEnglish) {
        EXPECT_STRNE(slot, TooltipSlot(item, kEnglish)) << item << " " << language;
      }
    }
  }
}

TEST(TooltipTable, SlotsThatAKeySequenceFollowsEndInTheirSeparator) {
  for (int item : {1009, 1010, 1011, 1104, 1105, 1106, 1107, 1108, 1112, 1213,
                   1214, 1302, 1043, 1044, 1045, 1046, 1047, 1048, 1049, 1050}) {
    for (std::int32_t language = 0; language < 5; ++language) {
      const std::string slot = TooltipSlot(item, language);
      ASSERT_GE(slot.size(), 2u);
      EXPECT_EQ(slot.substr(slot.size() - 2), ": ") << item << " " << language;
    }
  }
}

// French sets a no-break space (0xA0) before ":", "?" and "!"; German, Spanish
// and Italian set no space there. (English is as written.)
TEST(TooltipTable, PunctuationIsSpacedAsEachLanguageWantsIt) {
  int frenchMarks = 0;
  for (int item : TooltipTableItems()) {
    for (std::int32_t language = kGerman; language <= kItalian; ++language) {
      const std::string slot = TooltipSlot(item, language);
      for (std::size_t i = 1; i < slot.size(); ++i) {
        if (slot[i] != ':' && slot[i] != '?' && slot[i] != '!') continue;
        if (language == kFrench) {
          ++frenchMarks;
          EXPECT_EQ(slot[i - 1], '\xA0') << item << " at " << i;
        } else {
          EXPECT_NE(slot[i - 1], ' ') << item << " " << language << " at " << i;
          EXPECT_NE(slot[i - 1], '\xA0') << item << " " << language << " at " << i;
        }
      }
    }
  }
  EXPECT_GE(frenchMarks, 20);
}

TEST(TooltipTable, NumberedButtonsCarryTheirNumberInEveryLanguage) {
  const std::map<int, const char*> numbers = {
      {1000, "# 1"}, {1001, "# 2"}, {1002, "# 3"}, {1003, "# 4"}, {1004, "# 5"}, {1005, "# 6"},
      {1006, "# 7"}, {1007, "# 8"}, {1302, "# 1"}, {1104, "# 2"}, {1105, "# 3"}, {1106, "# 4"},
      {1107, "# 5"}, {1108, "# 6"}, {1009, "# 7"}, {1010, "# 8"}};
  for (const auto& [item, number] : numbers) {
    for (std::int32_t language = 0; language < 5; ++language) {
      const std::string slot = TooltipSlot(item, language);
      EXPECT_NE(slot.find(number), std::string::npos) << item << " " << language;
      EXPECT_EQ(std::count(slot.begin(), slot.end(), '#'), 1) << item << " " << language;
    }
  }
}

}  // namespace
}  // namespace astro
