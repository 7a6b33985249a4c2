// Entry point of the batch program quelt-davka: checks many data files, each
// as a run of its own, and ends the process with the batch's exit status.
// The same program, started with its internal worker switch, is one of the
// batch's worker processes. The Windows console is prepared as for quelt,
// and the arguments come in UTF-16 there, so that any name reaches the batch.
#include <string>
#include <vector>

#include "src/batch/batch.h"
#include "src/os/console.h"
#include "src/os/names.h"
#include "src/run/run.h"
#include "src/state/run_state.h"

namespace {

int batch(const std::vector<std::string>& arguments) {
    quelt::prepare_console(quelt::konzole);
    const int status = quelt::quelt_davka(arguments);
    quelt::release_console(status, {});
    return status;
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) { return batch(quelt::os::arguments_from_wide(argc, argv)); }
#else
int main(int argc, char** argv) {
    return batch(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
}
#endif
