// Run control: the command line, the opening of the files, the report head,
// the processing loop over the modes and the sequence of input files of a
// list. The whole run is one function returning the exit status, so that tests
// and fuzzers can run it in-process, many times, with identical results.
#pragma once

#include <cstdio>
#include <string>

namespace quelt {

// Runs the checker with the arguments after the program name. Returns the exit
// status: 0 complete run, 1 help shown, 13 run-level failure.
int quelt_run(int argc, const char* const* argv);

// One data file checked into one report, as `quelt VSTUP ZPRAVA [-w]` checks
// it, for the batch program: the names are taken whole (no 60-character
// limit, no '@' list, no switch), the report format ('H', 'T', 'C', 'X') is
// the caller's, not read from the report name's dots, and a data file that
// is not a regular file (a pipe, a device) is refused without being read.
int quelt_run_souboru(const std::string& vstup, const std::string& zprava, char format,
                      bool bez_W);

// Where console texts go (standard output unless a caller sets another).
extern std::FILE* konzole;

extern char rezim_zprac;
extern std::string s_vstup;   // input file being read
extern std::string s_chyby;   // report file
extern std::string s_vystup;  // output copy file, "..." for none
extern std::string s_vstsez;  // list file
extern char sw_muf;           // 'A' list mode
extern char sw_vystup;        // 'A' output copy open
extern std::FILE* outsoub;

// Resets every piece of run state of every module to its start value.
void reset_run_state();

// Called by the reader at the end of the current input file: opens the next
// file of a list (0) or ends the input for good (-1).
int konec_vstupu();

// Called by the reader when the input cannot be read (a directory, an I/O
// error): reports the failure and ends the input; the run ends with status 13.
void chyba_cteni();

}  // namespace quelt
