// The programs a mapping is linked to as text: cutting a list into names, which
// names are file names at all, the stored form, and what the chooser of running
// programs offers.
#include "config/program_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace astro {
namespace {

using Names = std::vector<std::string>;

TEST(ProgramListTest, EntriesAreCutAtSeparatorsTrimmedAndEmptyOnesLeftOut) {
  EXPECT_EQ(SplitProgramList(" proe.exe ;xtop.exe;; \t;\tmy prog.exe\t"),
            (Names{"proe.exe", "xtop.exe", "my prog.exe"}));
  EXPECT_EQ(SplitProgramList("notepad.exe"), (Names{"notepad.exe"}));
  EXPECT_EQ(SplitProgramList(""), Names{});
  EXPECT_EQ(SplitProgramList(" ; ;"), Names{});
  // Not checked here: a folder stays, and such an entry never equals a file name.
  EXPECT_EQ(SplitProgramList("C:\\Tools\\cad.exe;"), (Names{"C:\\Tools\\cad.exe"}));
  EXPECT_FALSE(ListNamesProgram(SplitProgramList("C:\\Tools\\cad.exe"), "cad.exe"));
}

TEST(ProgramListTest, ProgramsCompareAsFileNamesWithoutRegardToCase) {
  const Names names = {"ProE.exe", "\xC4rger.EXE", "xtop.exe"};  // Ärger
  EXPECT_TRUE(ListNamesProgram(names, "proe.EXE"));
  EXPECT_TRUE(ListNamesProgram(names, "\xE4rger.exe"));  // ärger
  EXPECT_TRUE(ListNamesProgram(names, "XTOP.EXE"));
  EXPECT_FALSE(ListNamesProgram(names, "proe.ex"));
  EXPECT_FALSE(ListNamesProgram(names, "xtop.exe "));
  EXPECT_FALSE(ListNamesProgram(names, "Arger.exe"));  // the accent is no case
  EXPECT_FALSE(ListNamesProgram(names, ""));
  EXPECT_FALSE(ListNamesProgram({"stra\xDF"
                                 "e.exe"},
                                "STRASSE.EXE"));  // ß has no capital
}

TEST(ProgramListTest, OnlyNamesTheSystemCanHoldAsFileNamesAreAllowed) {
  for (const std::string& name :
       {std::string("notepad.exe"), std::string("my prog.exe"), std::string("a"),
        std::string("\xC4rger.exe"), std::string("x.y.z"), std::string("CONSOLE.exe"),
        std::string("com10.exe"), std::string("lpt.exe"), std::string("nul1.exe"),
        std::string(".hidden"), std::string(251, 'p') + ".exe"}) {
    EXPECT_TRUE(ProgramNameAllowed(name)) << name;
  }
  for (const std::string& name : {std::string(),
                                  std::string(252, 'p') + ".exe",
                                  std::string("C:\\Windows\\notepad.exe"),
                                  std::string("bin/cad"),
                                  std::string("c:notepad.exe"),
                                  std::string("a;b.exe"),
                                  std::string("tab\t.exe"),
                                  std::string("del\x7F.exe"),
                                  std::string("*.exe"),
                                  std::string("cad?.exe"),
                                  std::string("\"cad\".exe"),
                                  std::string("<cad>"),
                                  std::string("a|b"),
                                  std::string("notepad."),
                                  std::string("notepad.exe "),
                                  std::string("CON"),
                                  std::string("con.exe"),
                                  std::string("Nul .txt"),
                                  std::string("aux.tar.gz"),
                                  std::string("COM1.exe"),
                                  std::string("lpt9"),
                                  std::string("Com0.exe")}) {
    EXPECT_FALSE(ProgramNameAllowed(name)) << name;
  }
}

TEST(ProgramListTest, TheStoredFormKeepsOrderAndSpellingAndEachNameOnce) {
  EXPECT_EQ(JoinProgramList({"Proe.exe", "xtop.exe", "PROE.EXE", "notepad.exe", "xtop.exe"}),
            "Proe.exe;xtop.exe;notepad.exe");
  EXPECT_EQ(JoinProgramList({}), "");
  EXPECT_EQ(AddProgram(" proe.exe ; xtop.exe;", "notepad.exe"), "proe.exe;xtop.exe;notepad.exe");
  EXPECT_EQ(AddProgram("proe.exe;xtop.exe", "XTOP.exe"), "proe.exe;xtop.exe");
  EXPECT_EQ(AddProgram("", "notepad.exe"), "notepad.exe");
}

TEST(ProgramListTest, AProgramIsKnownByTheFileNameOfItsImage) {
  EXPECT_EQ(ProgramFileName("C:\\Windows\\system32\\notepad.exe"), "notepad.exe");
  EXPECT_EQ(ProgramFileName("\\\\?\\unix\\home\\user\\cad.exe"), "cad.exe");
  EXPECT_EQ(ProgramFileName("/usr/lib/wine/notepad.exe"), "notepad.exe");
  EXPECT_EQ(ProgramFileName("C:notepad.exe"), "notepad.exe");
  EXPECT_EQ(ProgramFileName("notepad.exe"), "notepad.exe");
  EXPECT_EQ(ProgramFileName("C:\\Tools\\"), "");
}

TEST(ProgramListTest, TheChooserOffersEachOtherProgramOnceSortedWithoutRegardToCase) {
  EXPECT_EQ(ProgramChoices({"notepad.exe", "Explorer.EXE", "astrodriver.exe", "", "NOTEPAD.EXE",
                            "calc.exe", "_tool.exe",
                            "\xE9"
                            "diteur.exe"},  // éditeur
                           "AstroDriver.exe"),
            (Names{"calc.exe", "Explorer.EXE", "notepad.exe", "_tool.exe",
                   "\xE9"
                   "diteur.exe"}));
  EXPECT_EQ(ProgramChoices({}, "astrodriver.exe"), Names{});
}

}  // namespace
}  // namespace astro
