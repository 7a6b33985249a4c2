// The calendar parts of an instant, in the local time zone or in UTC, from
// the system's thread-safe calls (each system names them differently).
#pragma once

#include <ctime>

namespace quelt::os {

std::tm local_time(std::time_t instant);
std::tm utc_time(std::time_t instant);

}  // namespace quelt::os
