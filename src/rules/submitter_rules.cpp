// Submitter header rules: k_Pre checks one header element against its row of
// the header table (known name, length, permitted range) and then runs the
// element's own checks: check digit and submitter register for the
// identification number, the address form for the e-mail.
#include <cstdio>
#include <cstring>

#include "src/checks/codebooks.h"
#include "src/checks/field_checks.h"
#include "src/elements/tables.h"
#include "src/report/report.h"
#include "src/rules/rules.h"
#include "src/xml/reader.h"

namespace quelt {

namespace {

void report_row(const ElementDef& row, const char* name, const char* content,
                const char* ocekavano) {
    zpracuj_chybu(s_cislo_radky(), row.err, name, content, ocekavano);
}

// The element's own checks, run whatever the range check found.
void own_checks(int r, const char* content) {
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
    const int r = find_P(name_v);
    if (r == P_END) return unknown_element(name, content);
    const ElementDef& row = Ptab[r];
    PTabEsw[r] = ' ';
    PTabLin[r] = cislo_radky;
    PTabPre[r] += 1;

    // A length failure ends the checking of this occurrence: an identification
    // number of the wrong length is neither checksummed nor looked up.
    if (outside_length(row, content_v.size())) {
        PTabEsw[r] = 'E';
        report_row(row, name, content, length_text(row).s);
        return 0;
    }
    // A row with a text range compares the whole content; a row without one
    // passes. No header row has a numeric range (data/element_tables.h).
    if (row.val_from_e >= 1000 && outside_text_range(row, content)) {
        PTabEsw[r] = 'E';
        report_row(row, name, content, "?");
    }
    own_checks(r, content);
    return 0;
}

}  // namespace quelt
