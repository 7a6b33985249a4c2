// The calendar parts of an instant on POSIX systems (clock.h).
#include "src/os/clock.h"

namespace quelt::os {

std::tm local_time(std::time_t instant) {
    std::tm parts{};
    localtime_r(&instant, &parts);
    return parts;
}

std::tm utc_time(std::time_t instant) {
    std::tm parts{};
    gmtime_r(&instant, &parts);
    return parts;
}

}  // namespace quelt::os
