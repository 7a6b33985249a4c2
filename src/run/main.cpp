// Entry point of the checker: runs one check with the command line's
// arguments and ends the process with its exit status. The console window of
// the Windows build is prepared before the first text and released after the
// last, whichever way the run ended (help, failure, normal end).
#include "src/run/run.h"
#include "src/run/windows_console.h"

int main(int argc, char** argv) {
    quelt::priprav_konzoli(quelt::konzole);
    const int status = quelt::quelt_run(argc - 1, argv + 1);
    quelt::uvolni_konzoli();
    return status;
}
