// Entry point of the checker: runs one check with the command line's
// arguments and ends the process with its exit status.
#include "src/run/run.h"

int main(int argc, char** argv) {
    return quelt::quelt_run(argc - 1, argv + 1);
}
