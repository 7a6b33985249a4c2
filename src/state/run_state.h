// The state of a run that every room of the checker shares: where the console
// texts go, the run's files and their names, the processing mode, and the
// employer and employee identifications that every report row shows. Run
// control sets the files and names up; the walk sets the mode and the
// identifications; the report writer, the checks and the rules read them.
// Each room's own state (the reader's line, the tables' columns, the report's
// counters, the register) stays in its room.
#pragma once

#include <cstdio>
#include <string>

namespace quelt {

// Where console texts go (standard output unless a caller sets another).
extern std::FILE* konzole;

// The processing mode: one letter, Z, G, H, S, T, M, N, O, U, J, I, K or W.
extern char rezim_zprac;

extern std::string s_vstup;   // the input file being read ("..." after a list's last)
extern std::string s_chyby;   // the report file
extern std::string s_vystup;  // the output copy file, "..." for none
extern std::FILE* errsoub;    // the report, open from the run's set-up to its end
extern std::FILE* outsoub;    // the output copy, when the run writes one
extern char sw_vystup;        // 'A' while the output copy is open

// Employer identification shown in every report row: AA0017, then "/" and the
// facility code when there is one; at most 19 characters.
extern char telicokod[20];
// Employee identification shown in every report row: AA0126, "   " at each
// employer start; at most 11 characters.
extern char identnec[12];

// Copies text into telicokod / identnec, cut to their size.
void set_telicokod(const char* text);
void set_identnec(const char* text);

// Run start: the default names, no file open, no identification.
void reset_shared_state();

}  // namespace quelt
