// Submitter header rules: k_Pre checks one header element against its row of
// the header table (known name, length, permitted range) and then runs the
// element's own checks: check digit and submitter register for the
// identification number, the address form for the e-mail.
#include <cstdio>
#include <cstring>

#include "src/checks/codebooks.h"
#include "src/checks/field_checks.h"
#include "src/report/report.h"
#include "src/rules/rules.h"
#include "src/structure/tables.h"
#include "src/xml/helpers.h"
#include "src/xml/reader.h"

namespace quelt {

namespace {

void hlas_radek(const ElementDef& row, const char* name, const char* content,
                const char* ocekavano) {
    zpracuj_chybu(s_cislo_radky(), row.err, name, content, ocekavano);
}

// Outcome of the range check of a header element.
enum class Rozsah { v_mezich, mimo, neni_cislo };

// A row with a numeric range converts the content first; a row with a text
// range compares the whole content; a row without a range always passes.
Rozsah over_rozsah(const ElementDef& row, const char* content) {
    if (row.val_from_e >= 1 && row.val_from_e <= 999) {
        double v = 0.0;
        if (StrToDbl(&v, content, row.typ) != 0) return Rozsah::neni_cislo;
        return mimo_num_rozsah(row, v) ? Rozsah::mimo : Rozsah::v_mezich;
    }
    if (row.val_from_e >= 1000 && mimo_text_rozsah(row, content)) return Rozsah::mimo;
    return Rozsah::v_mezich;
}

// The element's own checks, run whatever the range check found.
void vlastni_kontroly(int r, const char* content) {
    if (r == P_ICOpredkladatele) {
        chk_ICOPredkladatele(content);
        cis_predkladatelu(content);
    } else if (r == P_mail) {
        chk_eposta(content);
    }
}

}  // namespace

int k_Pre(std::string_view name_v, std::string_view content_v) {
    const char* name = name_v.data();
    const char* content = content_v.data();
    const std::size_t n = content_v.size();
    const int r = najdi_P(name_v);
    if (r == P_END) return neznamy_prvek(name, content);
    const ElementDef& row = Ptab[r];
    PTabEsw[r] = ' ';
    PTabLin[r] = cislo_radky;
    PTabPre[r] += 1;

    // A length failure ends the checking of this occurrence: an identification
    // number of the wrong length is neither checksummed nor looked up.
    if (n < static_cast<std::size_t>(row.lg_from) || n > static_cast<std::size_t>(row.lg_to)) {
        PTabEsw[r] = 'E';
        hlas_radek(row, name, content, delka_text(row).s);
        return 0;
    }
    const Rozsah rozsah = over_rozsah(row, content);
    if (rozsah != Rozsah::v_mezich) {
        PTabEsw[r] = 'E';
        hlas_radek(row, name, content, "?");
        if (rozsah == Rozsah::neni_cislo) return 0;
    }
    vlastni_kontroly(r, content);
    return 0;
}

}  // namespace quelt
