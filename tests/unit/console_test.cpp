// The wait for Enter at the end of a run: only in a console window opened for
// the program alone, with its input from that window. A script or a console
// that started the program must never be held up.
#include <gtest/gtest.h>

#include "src/os/console.h"

namespace quelt::test {
namespace {

TEST(WaitForEnter, OnlyInAWindowOfTheProgramsOwnWithInputFromIt) {
    // Double-click in Explorer or a shortcut: the window is the program's own.
    EXPECT_TRUE(waits_for_enter(true, true, 1));
    // Started from cmd or PowerShell: the shell shares the window and keeps it.
    EXPECT_FALSE(waits_for_enter(true, true, 2));
    EXPECT_FALSE(waits_for_enter(true, true, 5));
    // The process list could not be read: no waiting on a guess.
    EXPECT_FALSE(waits_for_enter(true, true, 0));
}

TEST(WaitForEnter, NeverWhenInputOrOutputIsRedirected) {
    // quelt.exe > log.txt, or the console stream pointed at a file or a pipe.
    EXPECT_FALSE(waits_for_enter(false, true, 1));
    // quelt.exe < nul, or input from a pipe: no one can press Enter there.
    EXPECT_FALSE(waits_for_enter(true, false, 1));
    EXPECT_FALSE(waits_for_enter(false, false, 1));
    EXPECT_FALSE(waits_for_enter(false, false, 0));
}

// What the end of a run adds in the console: the report's place only in a
// window of the program's own (which closes with it) and only for a complete
// report; a console or a script keeps its bytes exactly.
TEST(EndOfRun, ConsoleOrScriptGetsNoExtraByte) {
    EXPECT_EQ(closing_lines(false, 0, "C:\\ORV\\orve.htm"), "");
    EXPECT_EQ(closing_lines(false, 13, "C:\\ORV\\orve.htm"), "");
    EXPECT_EQ(closing_lines(false, 1, ""), "");
}

TEST(EndOfRun, OwnWindowSaysWhereTheReportIsBeforeTheWaitLine) {
    EXPECT_EQ(closing_lines(true, 0, "C:\\ORV\\chyby.htm"),
              " Protokol je ulozen v souboru C:\\ORV\\chyby.htm\n"
              " Stisknete Enter pro ukonceni\n");
    // A path in Windows-1250 bytes reaches the console as it is.
    EXPECT_EQ(closing_lines(true, 0, "C:\\Mzdy\\\xE8\xED\xF2\\orve.htm"),
              " Protokol je ulozen v souboru C:\\Mzdy\\\xE8\xED\xF2\\orve.htm\n"
              " Stisknete Enter pro ukonceni\n");
}

// The verdict's lines come between the report's place and the wait; a
// console the program shares gets none of them.
TEST(EndOfRun, VerdictLinesJustBeforeTheWait) {
    const std::string verdict = " Vysledek kontroly: Soubor je v poradku a muzete ho odeslat.\n";
    EXPECT_EQ(closing_lines(true, 0, "C:\\ORV\\orve.htm", verdict),
              " Protokol je ulozen v souboru C:\\ORV\\orve.htm\n" + verdict +
                  " Stisknete Enter pro ukonceni\n");
    EXPECT_EQ(closing_lines(true, 13, "", " Vysledek kontroly: x\n Datovy soubor y\n"),
              " Vysledek kontroly: x\n Datovy soubor y\n Stisknete Enter pro ukonceni\n");
    EXPECT_EQ(closing_lines(false, 0, "C:\\ORV\\orve.htm", verdict), "");
}

TEST(EndOfRun, NoReportPlaceAfterHelpOrFailureOrUnknownPath) {
    // Help (1) writes no report; a failure (13) leaves none worth opening.
    EXPECT_EQ(closing_lines(true, 1, "C:\\ORV\\orve.htm"), " Stisknete Enter pro ukonceni\n");
    EXPECT_EQ(closing_lines(true, 13, "C:\\ORV\\orve.htm"), " Stisknete Enter pro ukonceni\n");
    // The full path could not be told: the wait line alone, no empty name.
    EXPECT_EQ(closing_lines(true, 0, ""), " Stisknete Enter pro ukonceni\n");
}

}  // namespace
}  // namespace quelt::test
