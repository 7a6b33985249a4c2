// Formatting of finding texts into bounded buffers.
#include "src/report/finding_text.h"

#include <cstdarg>
#include <cstdio>

namespace quelt {

FindingText text(const char* format, ...) {
    FindingText t{};
    va_list args;
    va_start(args, format);
    std::vsnprintf(t.s, sizeof t.s, format, args);
    va_end(args);
    return t;
}

}  // namespace quelt
