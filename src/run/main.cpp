// Entry point of the checker: runs one check with the command line's
// arguments and ends the process with its exit status. The console window of
// the Windows build is prepared before the first text and released after the
// last, whichever way the run ended (help, failure, normal end); a window of
// the program's own then learns where the report of a complete run is and
// whether the file may be sent.
#include <cstdio>
#include <string>

#include "src/report/verdict.h"
#include "src/run/run.h"
#include "src/state/run_state.h"
#include "src/run/windows_console.h"

int main(int argc, char** argv) {
#ifdef __EMSCRIPTEN__
    // Under Node every write to standard output leaves WebAssembly for a
    // system call, and the C library's buffer holds 1 KB, a dozen progress
    // lines: a buffer of 64 KB makes such writes rare.
    static char buffer[1 << 16];
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
#endif
    quelt::priprav_konzoli(quelt::konzole);
    const int status = quelt::quelt_run(argc - 1, argv + 1);
    // Help (status 1) checks nothing and has no verdict.
    const std::string zaver =
        status == 1 ? std::string() : quelt::verdict_console_lines(quelt::outcome_of_last_run(status));
    quelt::uvolni_konzoli(status, quelt::s_chyby, zaver);
    return status;
}
