// Employee closing rules: at the end tag of an employee record, zpracuj_NECk
// shows the progress line, runs k_NecK and adds the record to the employer's
// sums. k_NecK checks that every element occurred exactly once and applies
// the 24 rules that combine several elements of the record (hours, days,
// register state, pay items, the statutory tariff), then counts the record
// when its average hourly earnings do not fit its salary and hours.
//
// Every rule has a gate: the elements it reads must all have passed their own
// checks (status not 'E'), otherwise the rule is skipped without a finding.
#include <algorithm>
#include <cassert>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <span>
#include <string_view>

#include "src/elements/tables.h"
#include "src/report/finding_text.h"
#include "src/report/report.h"
#include "src/rules/employee_register.h"
#include "src/rules/rules.h"
#include "src/rules/tariffs.h"
#include "src/state/run_state.h"
#include "src/xml/reader.h"

namespace quelt {

namespace {

// Fixed values of the reporting period: its calendar days, its working days
// (holidays included), the reporting year, and the days of a year.
constexpr double kPeriodDays = 181;
constexpr double kWorkingDays = 130;
constexpr double kReportYear = 2010;
constexpr double kYearDays = 365;

double value_of(int row) { return NTabSum[row]; }

LineText line_of(int row) { return line_text(NTabLin[row]); }

bool passed(int row) { return NTabEsw[row] != 'E'; }

bool gate_passed(std::span<const int> rows) {
    for (int row : rows)
        if (!passed(row)) return false;
    return true;
}

// The occupation class decides hours per day and the leave divisor: codes
// from '1' up are at eight hours a day. Compared as a signed byte, so codes
// with letters of 128 and more count as below '0'.
bool occupation_class_above_zero() { return static_cast<signed char>(necsav_AA0013[0]) > '0'; }

// Tariff for increase code v, class c, step s. The values lie inside the
// table: an element that passed its range check is a whole number within it
// (AA0129 0 to 3, AA0127 1 to 16, AA0128 0 to 12), a missing one is 0, and
// every caller asks only for values above 0. The indexes are held inside the
// table all the same, so that no look-up ever reads past it.
double tariff_at(double v, double c, double s) {
    const int iv = static_cast<int>(std::trunc(v));
    const int ic = static_cast<int>(std::trunc(c));
    const int is = static_cast<int>(std::trunc(s));
    assert(iv >= 1 && iv <= 3 && ic >= 1 && ic <= 16 && is >= 1 && is <= 12);
    return tariff(std::clamp(iv, 1, 3), std::clamp(ic, 1, 16), std::clamp(is, 1, 12));
}

// ---- Occurrences ----------------------------------------------------------

void check_occurrences() { check_counts_at_end(Ntab, NTabPre, N_END); }

// ---- Rules 1 to 24 -----------------------------------------------------------

// 1. Days in the register cannot exceed the years of employment.
void dny_v_evidenci_proti_praxi() {
    constexpr int brana[] = {N_AA0216, N_AA0218, N_AA0225};
    if (!gate_passed(brana)) return;
    const double dny = value_of(N_AA0218);
    double y = std::trunc(100 * (dny / kYearDays - 0.0005)) / 100;
    if (dny == kYearDays) y = 1;
    const double praxe = value_of(N_AA0225) + value_of(N_AA0216);
    if (y > praxe)
        zpracuj_chybu(line_of(N_AA0225).s, "EL006", "AA0225 + AA0216", text("%10.2f", praxe).s,
                      text(">= %10.2f", y).s);
}

// 2. Hours worked (with absence days converted to hours) against the
// average register count.
void hodiny_proti_evidencnimu_poctu() {
    constexpr int brana[] = {N_AA0132, N_AA0133, N_AA0136, N_AA0218, N_AA0219};
    if (!gate_passed(brana)) return;
    const double a132 = value_of(N_AA0132), a133 = value_of(N_AA0133), a136 = value_of(N_AA0136),
                 a218 = value_of(N_AA0218), a219 = value_of(N_AA0219);
    if (!(a136 > 0 && a218 > 0)) return;
    const double h = (a132 - a133) + 8 * a219 * a136 * kPeriodDays / a218;
    auto nahlas = [&] {
        zpracuj_chybu(line_of(N_AA0136).s, "WL009", "AA0132; AA0133; AA0218; AA0219; AA0136;",
                      text("%10.2f ; %10.2f ;  %3.0f ;  %3.0f ; %10.4f ;", a132, a133, a218, a219,
                           a136)
                          .s,
                      "   ");
    };
    if (748.8 * a136 > h) nahlas();
    if (1248 * a136 < h) nahlas();
}

// 3. Leave taken cannot exceed the hours not worked with pay compensation.
void dovolena_proti_nahradam() {
    constexpr int brana[] = {N_AA0134, N_AA0135};
    if (!gate_passed(brana)) return;
    if (value_of(N_AA0134) < value_of(N_AA0135))
        zpracuj_chybu(line_of(N_AA0135).s, "EL010", "AA0135", text("%10.2f", value_of(N_AA0135)).s,
                      text("%10.2f", value_of(N_AA0134)).s);
}

constexpr int kTariffGate[] = {N_AA0127, N_AA0128, N_AA0129, N_AA0138};

// 4. With increase code, class and step given, the tariff is the table's.
void tarif_presne() {
    if (!gate_passed(kTariffGate)) return;
    const double v = value_of(N_AA0129), c = value_of(N_AA0127), s = value_of(N_AA0128);
    if (!(v > 0 && c > 0 && s > 0)) return;
    const double t = tariff_at(v, c, s);
    if (t != value_of(N_AA0138) && value_of(N_AA0137) == 1)
        zpracuj_chybu(line_of(N_AA0138).s, "EL051", "AA0138", text("%10.0f", value_of(N_AA0138)).s,
                      text("%10.0f", t).s);
}

// 5. Without a step the tariff lies within its class; without increase code
// or class, within the whole table.
void tarif_v_rozsahu() {
    if (!gate_passed(kTariffGate)) return;
    const double v = value_of(N_AA0129), c = value_of(N_AA0127), s = value_of(N_AA0128);
    const double a138 = value_of(N_AA0138);
    const bool v_evidenci = value_of(N_AA0137) == 1;
    if (v > 0 && c > 0 && s == 0) {
        const double lo = tariff_at(v, c, 1), hi = tariff_at(v, c, 12);
        if ((a138 < lo || a138 > hi) && v_evidenci)
            zpracuj_chybu(line_of(N_AA0138).s, "EL051", "AA0138", text("%10.0f", a138).s,
                          text("%10.0f  - %10.0f", lo, hi).s);
    } else if (v_evidenci && (v <= 0 || c <= 0)) {
        const double lo = lowest_tariff(), hi = highest_tariff();
        if (a138 < lo || a138 > hi)
            zpracuj_chybu(line_of(N_AA0138).s, "EL051", "AA0138", text("%10.0f", a138).s,
                          text("%10.0f - %10.0f", lo, hi).s);
    }
}

// 6. The personal bonus is at most the class's highest tariff, half of it in
// classes 1 to 9.
void osobni_priplatek() {
    constexpr int brana[] = {N_AA0127, N_AA0129, N_AA0139};
    if (!gate_passed(brana)) return;
    const double v = value_of(N_AA0129), c = value_of(N_AA0127);
    if (!(value_of(N_AA0137) == 1 && v > 0 && c > 0)) return;
    double m = tariff_at(v, c, 12);
    if (c < 10) m = m / 2;
    if (m < value_of(N_AA0139) && value_of(N_AA0136) > 0 && value_of(N_AA0218) > 0)
        zpracuj_chybu(line_of(N_AA0139).s, "EL012", "AA0139", text("%10.0f", value_of(N_AA0139)).s,
                      text("%10.0f", m).s);
}

// 7. The management bonus is at most 60 % of the class's highest tariff.
void priplatek_za_vedeni() {
    constexpr int brana[] = {N_AA0127, N_AA0129, N_AA0137, N_AA0140};
    if (!gate_passed(brana)) return;
    const double v = value_of(N_AA0129), c = value_of(N_AA0127);
    if (!(value_of(N_AA0137) == 1 && v > 0 && c > 0)) return;
    const double m = 0.6 * tariff_at(v, c, 12);
    if (m < value_of(N_AA0140) && value_of(N_AA0136) > 0 && value_of(N_AA0218) > 0)
        zpracuj_chybu(line_of(N_AA0140).s, "EL013", "AA0140", text("%10.0f", value_of(N_AA0140)).s,
                      text(" <= %10.0f", m).s);
}

// 8. The salary paid is the sum of its eleven items. Reported at the record's
// end, as no single item is to blame.
void soucet_mzdy() {
    // Added in this order: double sums depend on it.
    constexpr int polozky[] = {N_AA0145, N_AA0146, N_AA0147, N_AA0148, N_AA0160, N_AA0162,
                               N_AA0150, N_AA0157, N_AA0163, N_AA0161, N_AA0158};
    if (!gate_passed(polozky) || !passed(N_AA0144)) return;
    double s = 0;
    for (int row : polozky) s += value_of(row);
    if (value_of(N_AA0144) != s)
        zpracuj_chybu(s_cislo_radky(), "EL015", "AA0144", text("%10.0f", value_of(N_AA0144)).s,
                      text("%10.0f", s).s);
}

// 9. The compensation for leave is a part of all compensations.
void nahrada_za_dovolenou() {
    constexpr int brana[] = {N_AA0158, N_AA0159};
    if (!gate_passed(brana)) return;
    if (value_of(N_AA0158) < value_of(N_AA0159))
        zpracuj_chybu(line_of(N_AA0159).s, "WL016", "AA0159", text("%10.0f", value_of(N_AA0159)).s,
                      text("%10.0f", value_of(N_AA0158)).s);
}

// 10. The total of allowances is the sum of its eight items.
void soucet_priplatku() {
    constexpr int polozky[] = {N_AA0239, N_AA0151, N_AA0152, N_AA0153,
                               N_AA0154, N_AA0155, N_AA0156, N_AA0240};
    if (!gate_passed(polozky) || !passed(N_AA0150)) return;
    double s = 0;
    for (int row : polozky) s += value_of(row);
    if (value_of(N_AA0150) != s)
        zpracuj_chybu(line_of(N_AA0150).s, "EL027", "AA0150", text("%10.0f", value_of(N_AA0150)).s,
                      text("%10.0f", s).s);
}

// 11. The total of on-call rewards is the sum of its two parts.
void soucet_pohotovosti() {
    constexpr int brana[] = {N_AA0161, N_AA0237, N_AA0238};
    if (!gate_passed(brana)) return;
    const double s = value_of(N_AA0237) + value_of(N_AA0238);
    if (value_of(N_AA0161) != s)
        zpracuj_chybu(line_of(N_AA0161).s, "EL028", "AA0161", text("%10.0f", value_of(N_AA0161)).s,
                      text("%10.0f", s).s);
}

// 12. Without a register count there are no hours and no days.
struct ZeroItem {
    int row;
    const char* format;
};
constexpr ZeroItem kZeroWithoutHeadcount[] = {
    {N_AA0132, "%10.0f"}, {N_AA0133, "%10.2f"}, {N_AA0134, "%10.2f"}, {N_AA0135, "%10.2f"},
    {N_AA0210, "%10.0f"}, {N_AA0218, "%10.0f"}, {N_AA0219, "%10.0f"},
};

void nulove_polozky_bez_evidence() {
    for (const ZeroItem& p : kZeroWithoutHeadcount) {
        const int brana[] = {p.row, N_AA0136};
        if (!gate_passed(brana)) continue;
        if (value_of(p.row) != 0 && value_of(N_AA0136) == 0)
            zpracuj_chybu(line_of(p.row).s, "EL037", Ntab[p.row].elem.data(),
                          text(p.format, value_of(p.row)).s, "0");
    }
}

// 13. Without a register count the employee is out of the register on the
// last day. Reported at the tariff's line, as the rule has always done.
void stav_bez_evidence() {
    constexpr int brana[] = {N_AA0137, N_AA0136};
    if (!gate_passed(brana)) return;
    if (value_of(N_AA0137) != 2 && value_of(N_AA0136) == 0)
        zpracuj_chybu(line_of(N_AA0138).s, "EL038", "AA0137", text("%10.0f", value_of(N_AA0137)).s,
                      "2");
}

// 14. A full register count means being in the register on the last day.
void stav_pri_plne_evidenci() {
    constexpr int brana[] = {N_AA0136, N_AA0137};
    if (!gate_passed(brana)) return;
    if (value_of(N_AA0137) != 1 && value_of(N_AA0136) == 1)
        zpracuj_chybu(line_of(N_AA0137).s, "EL059", "AA0137", text("%10.0f", value_of(N_AA0137)).s,
                      "1");
}

// 15. Weekly hours against the register count per day in the register. The
// printed upper limit is capped at the legal 40 hours; the comparison is not.
void tydenni_fond_proti_evidenci() {
    constexpr int brana[] = {N_AA0136, N_AA0131, N_AA0218};
    if (!gate_passed(brana)) return;
    const double a218 = value_of(N_AA0218);
    if (!(a218 > 0)) return;
    const double lo = 3620 * value_of(N_AA0136) / a218;
    const double hi = 10860 * value_of(N_AA0136) / a218;
    const double a131 = value_of(N_AA0131);
    if (a131 < lo || a131 > hi)
        zpracuj_chybu(line_of(N_AA0131).s, "WL060", "AA0131", text("%12.2f", a131).s,
                      text("%12.2f - %12.2f ", lo, hi > 40 ? 40.0 : hi).s);
}

// 16. The register count cannot exceed the share of the period in the register
// (with a tenth of tolerance).
void evidencni_pocet_proti_dnum() {
    constexpr int brana[] = {N_AA0136, N_AA0218};
    if (!gate_passed(brana)) return;
    const double a136 = value_of(N_AA0136), a218 = value_of(N_AA0218);
    if (a218 == 0 || a136 == 0) return;
    const double lim = 1.1 * a218 / kPeriodDays;
    if (a136 > lim)
        zpracuj_chybu(line_of(N_AA0218).s, "EL066", "AA0136", text("%10.4f", a136).s,
                      text("<= %10.6f", lim).s);
}

// 17. Days of absence cover the days of sickness and the leave taken in days.
void absence_proti_nemoci_a_dovolene() {
    constexpr int brana[] = {N_AA0135, N_AA0210, N_AA0219};
    if (!gate_passed(brana)) return;
    // Leave in tenths of hours over the tenths of hours of a day.
    const long long d = occupation_class_above_zero() ? 80 : 85;
    const long long q = static_cast<long long>(std::trunc(10 * value_of(N_AA0135))) / d;
    const double a210 = value_of(N_AA0210), a219 = value_of(N_AA0219);
    if (a219 < static_cast<double>(q) + a210)
        zpracuj_chybu(line_of(N_AA0210).s, "EL069", "AA0135; AA0210; AA0219;",
                      text("%10.2f ; %3.0f ; %3.0f ;", value_of(N_AA0135), a210, a219).s, "   ");
}

// 18. A full register count means at least 30 weekly hours.
void plny_uvazek_bez_zkraceni() {
    constexpr int brana[] = {N_AA0136, N_AA0131};
    if (!gate_passed(brana)) return;
    if (value_of(N_AA0131) < 30 && value_of(N_AA0136) == 1)
        zpracuj_chybu(line_of(N_AA0131).s, "EL070", "AA0131", text("%10.2f", value_of(N_AA0131)).s,
                      ">= 30");
}

// 19. A full register count means the whole period in the register.
void plna_evidence_cele_obdobi() {
    constexpr int brana[] = {N_AA0136, N_AA0218};
    if (!gate_passed(brana)) return;
    if (value_of(N_AA0218) != kPeriodDays && value_of(N_AA0136) == 1)
        zpracuj_chybu(line_of(N_AA0218).s, "EL071", "AA0218", text("%10.0f", value_of(N_AA0218)).s,
                      text("%10.0f", kPeriodDays).s);
}

// 20. No register count without days in the register.
void evidence_bez_dnu() {
    constexpr int brana[] = {N_AA0136, N_AA0218};
    if (!gate_passed(brana)) return;
    if (value_of(N_AA0218) == 0 && value_of(N_AA0136) != 0)
        zpracuj_chybu(line_of(N_AA0136).s, "EL073", "AA0136", text("%10.4f", value_of(N_AA0136)).s,
                      "0");
}

// 21. Years of employment cannot exceed the years since the age of 13.
// Reported at the line of the register days, as the rule has always done.
void praxe_proti_veku() {
    constexpr int brana[] = {N_AA0216, N_AA0225, N_AA0231};
    if (!gate_passed(brana)) return;
    const double s = value_of(N_AA0225) + value_of(N_AA0216);
    const double lim = kReportYear - value_of(N_AA0231) - 13;
    if (s > lim)
        zpracuj_chybu(line_of(N_AA0218).s, "EL076", "AA0216 + AA0225", text("%10.2f", s).s,
                      text("<= %10.2f", lim).s);
}

// 22. No more days in the register than the period has.
void dny_v_evidenci() {
    constexpr int brana[] = {N_AA0218};
    if (!gate_passed(brana)) return;
    if (value_of(N_AA0218) > kPeriodDays)
        zpracuj_chybu(line_of(N_AA0218).s, "EL077", "AA0218", text("%10.0f", value_of(N_AA0218)).s,
                      text("<= %10.0f", kPeriodDays).s);
}

// 23. No more days of absence than the period has working days.
void dny_absence() {
    constexpr int brana[] = {N_AA0219};
    if (!gate_passed(brana)) return;
    if (value_of(N_AA0219) > kWorkingDays)
        zpracuj_chybu(line_of(N_AA0219).s, "EL078", "AA0219", text("%10.0f", value_of(N_AA0219)).s,
                      text("<= %10.0f", kWorkingDays).s);
}

// 24. Days worked (hours over the hours of a day) and days of absence fit
// into the days in the register.
void odpracovane_a_absence_proti_evidenci() {
    constexpr int brana[] = {N_AA0218, N_AA0219, N_AA0132, N_AA0133};
    if (!gate_passed(brana)) return;
    const double a132 = value_of(N_AA0132), a133 = value_of(N_AA0133), a218 = value_of(N_AA0218),
                 a219 = value_of(N_AA0219);
    const double w = occupation_class_above_zero() ? (a132 - a133) / 8 : (a132 - a133) / 8.5;
    if (a218 < w + a219)
        zpracuj_chybu(line_of(N_AA0219).s, "EL080", "AA0132; AA0133; AA0218; AA0219;",
                      text("%10.2f ; %10.2f ;  %3.0f ; %3.0f ;", a132, a133, a218, a219).s,
                      "   ");
}

// 25. Average hourly earnings that do not fit the salary per hour worked
// (off by more than half or double) are counted for the employer's EL084.
void pocitej_hodinovy_vydelek() {
    constexpr int brana[] = {N_AA0144, N_AA0158, N_AA0161, N_AA0132, N_AA0165};
    if (!gate_passed(brana)) return;
    if (value_of(N_AA0137) != 1) return;
    const double a132 = value_of(N_AA0132), a165 = value_of(N_AA0165);
    bool chybne = true;
    if (a132 != 0) {
        const double r = (value_of(N_AA0144) - value_of(N_AA0158) - value_of(N_AA0161)) / a132;
        chybne = r > 2 * a165 || r < a165 / 2;
    }
    if (chybne) ++sumz_EL084;
}

// The rules in their order; each runs whatever the earlier ones found.
constexpr void (*kRules[])() = {
    dny_v_evidenci_proti_praxi,    hodiny_proti_evidencnimu_poctu,
    dovolena_proti_nahradam,       tarif_presne,
    tarif_v_rozsahu,               osobni_priplatek,
    priplatek_za_vedeni,           soucet_mzdy,
    nahrada_za_dovolenou,          soucet_priplatku,
    soucet_pohotovosti,            nulove_polozky_bez_evidence,
    stav_bez_evidence,             stav_pri_plne_evidenci,
    tydenni_fond_proti_evidenci,   evidencni_pocet_proti_dnum,
    absence_proti_nemoci_a_dovolene, plny_uvazek_bez_zkraceni,
    plna_evidence_cele_obdobi,     evidence_bez_dnu,
    praxe_proti_veku,              dny_v_evidenci,
    dny_absence,                   odpracovane_a_absence_proti_evidenci,
    pocitej_hodinovy_vydelek,
};

// The record's share of the employer's sums; the values count whether or not
// the elements passed their checks.
void add_to_employer() {
    sumz_AA0136 += value_of(N_AA0136);
    if (value_of(N_AA0137) == 1) sumz_AA0137 += 1;
    if (value_of(N_AA0137) > 1) sw_anec_AA0137 = 2;
    sumz_AA0144 += value_of(N_AA0144);
}

// text right-aligned in a field of the given width, or whole when longer:
// what printf's "%<width>s" writes.
char* right_aligned(char* p, std::string_view text, std::size_t width) {
    for (std::size_t i = text.size(); i < width; ++i) *p++ = ' ';
    std::memcpy(p, text.data(), text.size());
    return p + text.size();
}

// The progress line " Radek%8lld pro zamestnance%11s zamestnavatel%11s\r",
// put together here: a formatted write per record cost as much as a tenth
// of the record's checks.
void show_progress() {
    if (!konzole) return;
    char cislo[24];
    const auto r = std::to_chars(cislo, cislo + sizeof cislo, cislo_radky);
    char line[128];  // at most 6 + 20 + 16 + 11 + 14 + 19 + 1 bytes
    char* p = line;
    p = right_aligned(p, " Radek", 0);
    p = right_aligned(p, std::string_view(cislo, static_cast<std::size_t>(r.ptr - cislo)), 8);
    p = right_aligned(p, " pro zamestnance", 0);
    p = right_aligned(p, identnec, 11);
    p = right_aligned(p, " zamestnavatel", 0);
    p = right_aligned(p, telicokod, 11);
    *p++ = '\r';
    // No flush: the line is overwritten by the next one, and a flush per record
    // would cost more than the record's checks when the console is a file.
    std::fwrite(line, 1, static_cast<std::size_t>(p - line), konzole);
}

}  // namespace

int k_NecK() {
    check_occurrences();
    for (auto pravidlo : kRules) pravidlo();
    return 1;
}

int zpracuj_NECk() {
    show_progress();
    rezim_zprac = 'T';
    k_NecK();
    add_to_employer();
    return 0;
}

}  // namespace quelt
