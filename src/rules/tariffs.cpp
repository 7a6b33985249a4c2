// Salary tariff table and its look-up.
#include "src/rules/tariffs.h"

namespace quelt {

const double tabSazeb[kTariffs] = {
#include "data/tariffs.inc"
};

double tariff(int v, int c, int s) {
    return tabSazeb[192 * (v - 1) + 12 * (c - 1) + (s - 1)];
}

}  // namespace quelt
