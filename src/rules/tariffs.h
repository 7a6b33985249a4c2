// The statutory salary tariff table: 576 tariffs by increase code, salary
// class and step, read by the employee closing rules and by the employer's
// paid-salaries check.
#pragma once

namespace quelt {

inline constexpr int kTariffs = 576;
extern const double tabSazeb[kTariffs];

// tariff(v, c, s) for increase code v 1..3, class c 1..16, step s 1..12. The
// callers guarantee the ranges.
double tariff(int v, int c, int s);
// The lowest and the highest tariff of the whole table (first and last entry).
inline double lowest_tariff() { return tabSazeb[0]; }
inline double highest_tariff() { return tabSazeb[kTariffs - 1]; }

}  // namespace quelt
