// Entry point of the checker: runs one check with the command line's
// arguments and ends the process with its exit status. The console window of
// the Windows build is prepared before the first text and released after the
// last, whichever way the run ended (help, failure, normal end); a window of
// the program's own then learns where the report of a complete run is and
// whether the file may be sent. Windows gives the arguments in UTF-16, so
// that any file name it can hold reaches the run (as UTF-8).
#include <cstdio>
#include <string>
#include <vector>

#include "src/os/console.h"
#include "src/os/names.h"
#include "src/report/verdict.h"
#include "src/run/run.h"
#include "src/state/run_state.h"

namespace {

int checker(const std::vector<std::string>& arguments) {
#ifdef __EMSCRIPTEN__
    // Under Node every write to standard output leaves WebAssembly for a
    // system call, and the C library's buffer holds 1 KB, a dozen progress
    // lines: a buffer of 64 KB makes such writes rare.
    static char buffer[1 << 16];
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
#endif
    std::vector<const char*> argv;
    for (const std::string& a : arguments) argv.push_back(a.c_str());
    quelt::prepare_console(quelt::konzole);
    const int status = quelt::quelt_run(static_cast<int>(argv.size()), argv.data());
    // Help (status 1) checks nothing and has no verdict.
    const std::string zaver =
        status == 1 ? std::string() : quelt::verdict_console_lines(quelt::outcome_of_last_run(status));
    quelt::release_console(status, quelt::s_chyby, zaver);
    return status;
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) { return checker(quelt::os::arguments_from_wide(argc, argv)); }
#else
int main(int argc, char** argv) {
    return checker(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
}
#endif
