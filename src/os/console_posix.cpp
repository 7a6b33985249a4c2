// The console on every system but Windows (console.h).
#include "src/os/console.h"

namespace quelt {

// A console elsewhere shows the run's bytes as they are and closes only when
// its user closes it: nothing to prepare or to wait for.
void prepare_console(std::FILE*) {}
void release_console(int, const std::string&, const std::string&) {}

}  // namespace quelt
