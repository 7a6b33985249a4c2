// The calendar parts of an instant on Windows (clock.h).
#include "src/os/clock.h"

namespace quelt::os {

std::tm local_time(std::time_t instant) {
    std::tm parts{};
    localtime_s(&parts, &instant);
    return parts;
}

std::tm utc_time(std::time_t instant) {
    std::tm parts{};
    gmtime_s(&parts, &instant);
    return parts;
}

}  // namespace quelt::os
