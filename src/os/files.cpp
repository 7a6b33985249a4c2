// The part of files.h that is the same on every system.
#include "src/os/files.h"

namespace quelt::os {

bool close_written(std::FILE*& f) {
    const bool flushed = std::fflush(f) == 0;
    const bool ok = std::ferror(f) == 0;
    const bool closed = std::fclose(f) == 0;
    f = nullptr;
    return flushed && ok && closed;
}

}  // namespace quelt::os
