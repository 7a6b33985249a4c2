// Run control: the command line, the opening of the files, the report head,
// the processing loop over the modes and the sequence of input files of a
// list. The whole run is one function returning the exit status, so that tests
// and fuzzers can run it in-process, many times, with identical results. The
// state the run shares with the rest of the checker is src/state/run_state.h.
#pragma once

#include <string>

namespace quelt {

// Runs the checker with the arguments after the program name. Returns the exit
// status: 0 complete run, 1 help shown, 13 run-level failure.
int quelt_run(int argc, const char* const* argv);

// One data file checked into one report, as `quelt VSTUP CHYBY [-w]` checks
// it, for the batch program: the names are taken whole (no 60-character
// limit, no '@' list, no switch), the report format ('H', 'T', 'C', 'X') is
// the caller's, not read from the report name's dots, and a data file that
// is not a regular file (a pipe, a device) is refused without being read.
int quelt_run_file(const std::string& vstup, const std::string& chyby, char format,
                      bool bez_W);

// The run's set-up: every piece of run state of every module at its start
// value, and the reader's hooks handed down. Each run starts with it; a test
// that drives one part in-process starts with it too.
void reset_run_state();

}  // namespace quelt
