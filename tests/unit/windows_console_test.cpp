// The wait for Enter at the end of a run: only in a console window opened for
// the program alone, with its input from that window. A script or a console
// that started the program must never be held up.
#include <gtest/gtest.h>

#include "src/run/windows_console.h"

namespace quelt::test {
namespace {

TEST(WaitForEnter, OnlyInAWindowOfTheProgramsOwnWithInputFromIt) {
    // Double-click in Explorer or a shortcut: the window is the program's own.
    EXPECT_TRUE(cekat_na_enter(true, true, 1));
    // Started from cmd or PowerShell: the shell shares the window and keeps it.
    EXPECT_FALSE(cekat_na_enter(true, true, 2));
    EXPECT_FALSE(cekat_na_enter(true, true, 5));
    // The process list could not be read: no waiting on a guess.
    EXPECT_FALSE(cekat_na_enter(true, true, 0));
}

TEST(WaitForEnter, NeverWhenInputOrOutputIsRedirected) {
    // quelt.exe > log.txt, or the console stream pointed at a file or a pipe.
    EXPECT_FALSE(cekat_na_enter(false, true, 1));
    // quelt.exe < nul, or input from a pipe: no one can press Enter there.
    EXPECT_FALSE(cekat_na_enter(true, false, 1));
    EXPECT_FALSE(cekat_na_enter(false, false, 1));
    EXPECT_FALSE(cekat_na_enter(false, false, 0));
}

}  // namespace
}  // namespace quelt::test
