// What the end of a run in a console window of its own shows: plain logic,
// built and tested everywhere (the window itself is console_windows.cpp).
#include "src/os/console.h"

namespace quelt {

bool cekat_na_enter(bool vystup_do_konzole, bool vstup_z_konzole,
                    unsigned long procesu_v_konzoli) {
    return vystup_do_konzole && vstup_z_konzole && procesu_v_konzoli == 1;
}

namespace {

constexpr const char* kVyzva = " Stisknete Enter pro ukonceni\n";
constexpr const char* kKdeProtokol = " Protokol je ulozen v souboru ";

}  // namespace

std::string radky_na_konci(bool cekat, int status, std::string_view plna_cesta_protokolu,
                           std::string_view zaver) {
    if (!cekat) return {};
    std::string radky;
    if (status == 0 && !plna_cesta_protokolu.empty()) {
        radky += kKdeProtokol;
        radky += plna_cesta_protokolu;
        radky += '\n';
    }
    radky += zaver;
    return radky + kVyzva;
}

}  // namespace quelt
