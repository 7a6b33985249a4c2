// Entry point of the batch program quelt-davka: checks many data files, each
// as a run of its own, and ends the process with the batch's exit status.
// The same program, started with its internal worker switch, is one of the
// batch's worker processes. The Windows console is prepared as for quelt.
#include "src/run/batch.h"
#include "src/run/run.h"
#include "src/state/run_state.h"
#include "src/run/windows_console.h"

int main(int argc, char** argv) {
    quelt::priprav_konzoli(quelt::konzole);
    const int status = quelt::quelt_davka(argc - 1, argv + 1, argc > 0 ? argv[0] : nullptr);
    quelt::uvolni_konzoli(status, {});
    return status;
}
