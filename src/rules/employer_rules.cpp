// Employer record rules: k_Tel checks one employer element against its row of
// the employer table (known name, number form, length, permitted range), then
// carries out the row's action: identity and code-list checks, the employer
// identity for the duplicate check, and the six totals. Two plausibility
// checks run as soon as their totals are in; the third, on the salaries paid,
// waits for the employer's end, where the number of records is known.
#include <cstdio>
#include <cstring>

#include "src/checks/codebooks.h"
#include "src/checks/field_checks.h"
#include "src/elements/tables.h"
#include "src/report/finding_text.h"
#include "src/report/report.h"
#include "src/rules/employee_register.h"
#include "src/rules/rules.h"
#include "src/rules/tariffs.h"
#include "src/state/bounded_text.h"
#include "src/xml/helpers.h"
#include "src/xml/reader.h"

namespace quelt {

double atel_iAA0116 = 0.0;
double atel_iAA0123 = 0.0;
double atel_iAA0114 = 0.0;
double atel_iAA0115 = 0.0;
double atel_iAA0118 = 0.0;
double atel_iAA0119 = 0.0;

namespace {

// The employer identity for the duplicate check: AA0017, then "/" and the
// facility code. Never cleared: an accepted AA0017 starts it afresh, and an
// employer without one inherits the previous identity.
char newZamId[20] = "";

double smaller(double a, double b) { return a < b ? a : b; }
double larger(double a, double b) { return a > b ? a : b; }

void report_row(const ElementDef& row, const char* name, const char* content,
                const char* ocekavano) {
    zpracuj_chybu(s_cislo_radky(), row.err, name, content, ocekavano);
}

// The row's own action, carried out also when the range check rejected.
void row_action(int r, const char* content, double v) {
    switch (r) {
    case T_AA0017:
        chk_AA0017(content);
        copy_text(newZamId, sizeof newZamId, content);
        cis_poskytovatelu(content);
        break;
    case T_AA0113:
        chk_AA0113(content);
        append_text(newZamId, sizeof newZamId, "/");
        append_text(newZamId, sizeof newZamId, content);
        break;
    case T_AA0019:
        // The legal form follows the identity elements, so the identity is
        // complete here.
        chk_ZamId(newZamId);
        cis_kodpraf(content);
        break;
    case T_AA0179: cis_kodnuts(content, "AA0179"); break;
    case T_AA0110: chk_AA0110(content); break;
    case T_AA0116: atel_iAA0116 = v; break;
    case T_AA0123: atel_iAA0123 = v; break;
    case T_AA0114: atel_iAA0114 = v; break;
    case T_AA0115:
        atel_iAA0115 = v;
        chk_AA0116(atel_iAA0116);
        break;
    case T_AA0118: atel_iAA0118 = v; break;
    case T_AA0119:
        atel_iAA0119 = v;
        chk_AA0123(atel_iAA0123);
        break;
    }
}

}  // namespace

int k_Tel(std::string_view name_v, std::string_view content_v) {
    const char* name = name_v.data();
    const char* content = content_v.data();
    const std::size_t n = content_v.size();
    const int r = find_T(name_v);
    if (r == T_END) return unknown_element(name, content);
    const ElementDef& row = Ttab[r];
    TTabEsw[r] = ' ';
    TTabLin[r] = cislo_radky;
    TTabPre[r] += 1;

    // Numbers are converted before anything else; a text row keeps 123.
    double v = 123.0;
    if (has_number_bounds(row) && StrToDbl(&v, content, row.typ) != 0) {
        TTabEsw[r] = 'E';
        report_row(row, name, content, "?");
        return 0;
    }
    TTabSum[r] = v;

    if (outside_length(row, n)) {
        TTabEsw[r] = 'E';
        report_row(row, name, content, length_text(row).s);
        return 0;
    }
    // Only the facility code may be empty; it then has nothing to check.
    if (n == 0) {
        TTabEsw[r] = 'E';
        return 0;
    }
    if (outside_range(row, v, content_v)) {
        TTabEsw[r] = 'E';
        report_row(row, name, content, "?");
    }
    row_action(r, content, v);
    return 0;
}

// Budgeted headcount against the average headcount: an error far outside,
// a warning outside a narrower band, unless the two counts agree closely.
int chk_AA0116(double x) {
    const double a = atel_iAA0114;
    const double b = atel_iAA0115;
    if ((x < 0.11 * a || x > 9.0 * a) && jezdifdbl(x, a) > 100 && jezdifdbl(x, b) > 100) {
        const double lo = larger(smaller(0.11 * a, a - 100), 0.0);
        const double hi = larger(9.0 * a, a + 100);
        zpracuj_chybu(s_cislo_radky(), "EL064", "AA0116", text("%12.0f", x).s,
                      text("%12.2f - %12.2f", lo, hi).s);
        return 1;
    }
    if ((x < 0.8 * a || x > 1.2 * a) && jezdifdbl(x, a) > 10 && jezdifdbl(x, b) > 10) {
        const double lo = larger(smaller(0.8 * a, a - 10), 0.0);
        const double hi = larger(1.2 * a, a + 10);
        zpracuj_chybu(line_text(TTabLin[T_AA0116]).s, "WL063", "AA0116", text("%12.0f", x).s,
                      text("%12.2f - %12.2f", lo, hi).s);
        return 1;
    }
    return 0;
}

// Salary budget against the salaries paid less those from other sources: a
// whole-year budget should be about twice the half-year's pay.
int chk_AA0123(double x) {
    const double d = atel_iAA0118 - atel_iAA0119;
    const char* kod = nullptr;
    double f_lo = 0.0, f_hi = 0.0;
    if (x < 0.22 * d || x > 18.0 * d) {
        kod = "EL062";
        f_lo = 0.22;
        f_hi = 18.0;
    } else if (x < 1.6 * d || x > 2.4 * d) {
        kod = "WL061";
        f_lo = 1.6;
        f_hi = 2.4;
    } else {
        return 0;
    }
    zpracuj_chybu(line_text(TTabLin[T_AA0123]).s, kod, "AA0123", text("%12.0f", x).s,
                  text("%12.0f - %12.0f", f_lo * d + 0.49, f_hi * d).s);
    return 1;
}

// Salaries paid must reach six times the lowest tariff per average employee;
// asked only of employers with more than 20 employee records.
int chk_AA0118(double x) {
    const double m = 6.0 * (atel_iAA0114 * tabSazeb[0]);
    if (!(m > x && maxAktiAnec > 19)) return 0;
    zpracuj_chybu(line_text(TTabLin[T_AA0118]).s, "EL058", "AA0118", text("%10.0f", x).s,
                  text(">  %10.2f", m).s);
    return 1;
}

void start_employer_rules() {
    atel_iAA0116 = 0.0;
    atel_iAA0115 = 0.0;
    atel_iAA0114 = 0.0;
}

void reset_employer_rules() {
    atel_iAA0116 = atel_iAA0123 = atel_iAA0114 = 0.0;
    atel_iAA0115 = atel_iAA0118 = atel_iAA0119 = 0.0;
    newZamId[0] = '\0';
}

}  // namespace quelt
