// What the keyboard mapping dialog says in each language, and which label
// stands for which button.
#include "config/mapping_dialog_texts.h"

#include <gtest/gtest.h>

#include <string>

namespace astro {
namespace {

TEST(MappingDialogTextsTest, SaveQuestionNamesTheMappingInEachLanguage) {
  EXPECT_EQ(SaveQuestion(0, "ProEngineer V.20"), "Save changes for ProEngineer V.20?");
  // "Änderungen für": Ä is C4 and ü FC in Windows-1252.
  EXPECT_EQ(SaveQuestion(1, "X"), std::string("\xC4nderungen f\xFCr X speichern ?"));
  EXPECT_EQ(SaveQuestion(4, "My keys"), "Salvare le alterazioni per My keys ?");
  // A name that itself holds "%s" is not expanded again.
  EXPECT_EQ(SaveQuestion(3, "a%sb"), "Guardar los cambios para a%sb ?");
  EXPECT_EQ(SaveQuestion(9, "M"), "Save changes for M?");
}

TEST(MappingDialogTextsTest, OtherLanguageIndicesHaveTheirOwnEnglishWords) {
  const MappingDialogTexts& english = MappingDialogTextsFor(0);
  const MappingDialogTexts& other = MappingDialogTextsFor(-1);
  EXPECT_STREQ(english.differentName, "Please enter a different name for your keyboard mapping !");
  EXPECT_STREQ(other.differentName, "Enter a different name for your keyboard mapping!");
  EXPECT_STREQ(english.deleteCaption, "Astrolab/AIRCAP keyboard mapping");
  EXPECT_STREQ(other.deleteCaption, "Astrolab/AIRCAP Keyboard Mapping");
  EXPECT_STREQ(english.note[2], "you use the button mapping !");
  EXPECT_STREQ(other.note[2], "you use the button mapping!");
  EXPECT_STREQ(other.note[1], "Close this Window before");
  EXPECT_STREQ(MappingDialogTextsFor(5).caption, "Astrolab/AIRCAP Keyboard Mapping");
  // German note: "schließen" with ß as DF.
  EXPECT_STREQ(MappingDialogTextsFor(1).note[1],
               "Bitte schlie\xDF"
               "en Sie dieses Fenster");
  EXPECT_STREQ(MappingDialogTextsFor(2).deleteRefusal,
               "Cette programmation ne peut pas \xEAtre effac\xE9");
  // The refusal of a name that cannot be a key says what a name may be, in every
  // language: its length limit and the backslash.
  for (int language = -1; language <= 5; ++language) {
    const std::string badName = MappingDialogTextsFor(language).badName;
    EXPECT_NE(badName.find("63"), std::string::npos) << language;
    EXPECT_NE(badName.find("(\\)"), std::string::npos) << language;
  }
  // "de 1 à 63": à is E0.
  EXPECT_NE(std::string(MappingDialogTextsFor(2).badName).find("de 1 \xE0 63"), std::string::npos);
  // The exclamation as each language writes it: French after a no-break space
  // (A0), Spanish opened by an inverted mark (A1), German and Italian unspaced.
  const char* const ends[5] = {"(\\) !", "(\\) enthalten!", "(\\)\xA0!", "(\\)!", "(\\)!"};
  for (int language = 0; language < 5; ++language) {
    const std::string badName = MappingDialogTextsFor(language).badName;
    const std::string end = ends[language];
    ASSERT_GT(badName.size(), end.size()) << language;
    EXPECT_EQ(badName.substr(badName.size() - end.size()), end) << language;
    EXPECT_EQ(badName[0] == '\xA1', language == 3) << language;
  }
}

TEST(MappingDialogTextsTest, ARefusedProgramIsNamedInEachLanguage) {
  EXPECT_EQ(BadProgramMessage(0, "C:\\x\\cad.exe"),
            "A program is named by its file name without folder (for example notepad.exe); "
            "C:\\x\\cad.exe cannot be one !");
  EXPECT_EQ(BadProgramMessage(9, "a:b"),
            "A program is named by its file name without folder (for example notepad.exe); "
            "a:b cannot be one!");
  // French: no-break spaces (A0) before ";" and "!", "désigné" with E9.
  EXPECT_EQ(BadProgramMessage(2, "x"),
            "Un programme est d\xE9sign\xE9 par son nom de fichier sans dossier (par exemple "
            "notepad.exe)\xA0; x n'en est pas un\xA0!");
  // Spanish opens with an inverted mark (A1); Italian "è" is E8.
  EXPECT_EQ(BadProgramMessage(3, "x").substr(0, 3), "\xA1Un");
  EXPECT_EQ(BadProgramMessage(4, "x").substr(BadProgramMessage(4, "x").size() - 11),
            "x non lo \xE8!");
  EXPECT_EQ(BadProgramMessage(1, "%s"),
            "Ein Programm wird mit seinem Dateinamen ohne Ordner angegeben (zum Beispiel "
            "notepad.exe); %s ist keiner!");
}

TEST(MappingDialogTextsTest, LabelsAndSlotsMatchBothWays) {
  const int labels[12] = {1302, 1104, 1105, 1106, 1107, 1108, 1009, 1010, 1011, 1112, 1213, 1214};
  const char* unassigned[12] = {"(1)", "(2)", "(3)", "(4)", "(5)", "(6)",
                                "(7)", "(8)", "(*)", "(+)", "(-)", "(Hintview)"};
  for (int slot = 1; slot <= 12; ++slot) {
    EXPECT_EQ(SlotOfLabel(labels[slot - 1]), slot);
    EXPECT_EQ(LabelOfSlot(slot), labels[slot - 1]);
    EXPECT_STREQ(UnassignedLabel(slot), unassigned[slot - 1]);
  }
  for (int other : {0, 1, 2, 5, 1000, 1103, 2000, 1303}) EXPECT_EQ(SlotOfLabel(other), 0) << other;
  EXPECT_EQ(LabelOfSlot(0), 0);
  EXPECT_EQ(LabelOfSlot(13), 0);
  EXPECT_STREQ(UnassignedLabel(13), "");
}

}  // namespace
}  // namespace astro
