// Test support for the register and the employer closing rules: adds an
// employee record's register entry straight, as k_Nec would have filled it.
#pragma once

#include "src/rules/employee_register.h"
#include "src/xml/line_text.h"

namespace quelt::test {

struct Zaznam {
    const char* id = nullptr;  // nullptr: the record had no AA0126
    LineNo lin = 0;
    int stat = 0;  // position in the state list (0: "CZ")
    double fond = 20;  // two or three relations stay below 80 hours
    double hodiny = 0;
    int stav = 1;  // AA0137
    char pohlavi = '1';
    char vzdelani = 'M';
    int rok = 1970;
    double praxe1 = 10;  // AA0225
    double praxe2 = 5;   // AA0216
};

inline void pridej(const Zaznam& z) {
    start_entry();
    AnecEntry& e = current_entry();
    if (z.id != nullptr) {
        e.anec_iAA0126 = z.id;
        e.anec_lin = z.lin;
        anec_ind[static_cast<std::size_t>(maxAktiAnec)] = maxAktiAnec;
    }
    e.anec_iAA0033 = z.stat;
    e.anec_iAA0131 = z.fond;
    e.anec_iAA0132 = z.hodiny;
    e.anec_iAA0137 = z.stav;
    e.anec_iAA0211 = z.pohlavi;
    e.anec_iAA0223 = z.vzdelani;
    e.anec_iAA0231 = z.rok;
    e.anec_iAA0225 = z.praxe1;
    e.anec_iAA0216 = z.praxe2;
}

}  // namespace quelt::test
