// Employer closing rules: at the end tag of an employer, zpracuj_TELk judges
// what needs all of the employer's records: that each employer element
// occurred once, the records of one employee against each other, the
// employer's totals against the sums over its records, and the employer-wide
// plausibility rules.
#include <cstdio>
#include <cstring>

#include "src/checks/codebooks.h"
#include "src/elements/tables.h"
#include "src/report/finding_text.h"
#include "src/report/report.h"
#include "src/rules/employee_register.h"
#include "src/rules/rules.h"
#include "src/state/run_state.h"
#include "src/xml/reader.h"

namespace quelt {

char sw_bylNEC;
char sav_AA0223 = ' ';
int sumz_AA0223_Z = 0;
char sw_stejne_vzdelani = 'A';

namespace {

constexpr const char* kBlank = "   ";  // blank employee, value, expected text

// Above this total of weekly working-time funds one employee works too much
// (80 hours, less a little so that 79.99 passes).
constexpr double kMaxGroupFund = 79.991;
// Hours one employee can work in the period in all relations together.
constexpr int kMaxGroupHours = 1872;

int record_count() { return maxAktiAnec + 1; }

// ---- Step 1: each employer element once ------------------------------------

void check_employer_occurrences() {
    set_identnec(kBlank);
    check_counts_at_end(Ttab, TTabPre, T_END);
}

// ---- Step 3: education summary ----------------------------------------------

// Records without AA0126 stand outside the employee order but count here;
// when no record has AA0126 the first record of the file stands first.
void sum_up_education(int serazenych) {
    const int n = record_count();
    if (n <= 0) return;
    sav_AA0223 = serazenych > 0 ? entry_at(0).anec_iAA0223 : anec[0].anec_iAA0223;
    for (int e = 0; e < n; ++e) {
        const char vzdelani = anec[static_cast<std::size_t>(e)].anec_iAA0223;
        // A blank (no code) and bytes of 128 and more count with 'A' and 'B'.
        if (static_cast<signed char>(vzdelani) < 'C') ++sumz_AA0223_Z;
        if (vzdelani != sav_AA0223) sw_stejne_vzdelani = 'N';
    }
}

// ---- Step 4: records of one employee ------------------------------------------

// A group: the ordered positions p .. p + members - 1 of one employee (at most
// six), and the line list of every group finding.
struct Group {
    int p;
    int members;
    LineList lines;
};

const AnecEntry& member(const Group& g, int j) { return entry_at(g.p + j); }

// The first member after the first whose field differs from the first's; 0
// when all agree. A group finding names only that first difference.
template <class T>
int first_different(const Group& g, T AnecEntry::*field) {
    for (int j = 1; j < g.members; ++j)
        if (member(g, j).*field != member(g, 0).*field) return j;
    return 0;
}

// 4a. The same state in every record; codes not in the state list all compare
// equal, and print as "---".
void stejny_stat(const Group& g) {
    const int j = first_different(g, &AnecEntry::anec_iAA0033);
    if (j > 0)
        zpracuj_chybu(g.lines.s, "EL003", "AA0033", state_at(member(g, 0).anec_iAA0033),
                      state_at(member(g, j).anec_iAA0033));
}

// 4b. Working-time funds of the relations in the headcount together.
void fond_skupiny(const Group& g) {
    if (NTabEsw[N_AA0131] == 'E' || NTabEsw[N_AA0137] == 'E') return;
    double fond = 0;
    for (int j = 0; j < g.members; ++j)
        if (member(g, j).anec_iAA0137 == 1) fond += member(g, j).anec_iAA0131;
    if (fond > kMaxGroupFund)
        zpracuj_chybu(g.lines.s, "WL049", "AA0131", text("%10.2f", fond).s, "max. 79.99");
}

// 4c. Hours worked together; every record from the one that crosses the limit
// on is reported with the running total.
void hodiny_skupiny(const Group& g) {
    if (NTabEsw[N_AA0132] == 'E') return;
    double hodiny = 0;
    for (int j = 0; j < g.members; ++j) {
        hodiny += member(g, j).anec_iAA0132;
        if (hodiny > kMaxGroupHours)
            zpracuj_chybu(g.lines.s, "WL007", "AA0132", text("%10.0f", hodiny).s,
                          text(" <= %d", kMaxGroupHours).s);
    }
}

// 4d. An employee in the headcount with several records counts once against
// the employer's registered headcount.
void oprav_evidencni_stav(const Group& g) {
    int c = 0;
    for (int j = 0; j < g.members; ++j)
        if (member(g, j).anec_iAA0137 == 1) ++c;
    if (c > 1) sumz_AA0137 = sumz_AA0137 - c + 1;
}

// 4e, 4f. One sex and one education in every record.
void stejny_znak(const Group& g, char AnecEntry::*pole, const char* prvek) {
    const int j = first_different(g, pole);
    if (j > 0)
        zpracuj_chybu(g.lines.s, "EL003", prvek, text("%c", member(g, 0).*pole).s,
                      text("%c", member(g, j).*pole).s);
}

// 4g. One year of birth in every record.
void stejny_rok_narozeni(const Group& g) {
    const int j = first_different(g, &AnecEntry::anec_iAA0231);
    if (j > 0)
        zpracuj_chybu(g.lines.s, "EL003", "AA0231", text("%d", member(g, 0).anec_iAA0231).s,
                      text("%d", member(g, j).anec_iAA0231).s);
}

// Years of employment (AA0225, AA0216) may differ between an employee's
// relations: they are not compared.
void check_group(const Group& g) {
    set_identnec(member(g, 0).anec_iAA0126.c_str());
    stejny_stat(g);
    fond_skupiny(g);
    hodiny_skupiny(g);
    oprav_evidencni_stav(g);
    stejny_znak(g, &AnecEntry::anec_iAA0211, "AA0211");
    stejny_znak(g, &AnecEntry::anec_iAA0223, "AA0223");
    stejny_rok_narozeni(g);
}

void check_employee_groups(int serazenych) {
    int p = 0;
    while (p < serazenych) {
        const int dalsich = same_employee_after(p, serazenych);
        if (dalsich > 0) {
            const int members = dalsich + 1 < kGroupMembers ? dalsich + 1 : kGroupMembers;
            check_group(Group{p, members, line_list(p, dalsich)});
        }
        p += dalsich + 1;
    }
    // The group findings carry their employee; what follows concerns the employer.
    set_identnec(kBlank);
}

// ---- Step 5: employer totals against the sums over the records -------------

// The average headcount agrees when both print alike to four decimals.
void prumerny_pocet_proti_souctu() {
    if (TTabEsw[T_AA0114] == 'E') return;
    const double a114 = TTabSum[T_AA0114];
    const FindingText hodnota = text("%10.4f", a114), soucet = text("%10.4f", sumz_AA0136);
    if (a114 != sumz_AA0136 && std::strcmp(hodnota.s, soucet.s) != 0)
        zpracuj_chybu(line_text(TTabLin[T_AA0114]).s, "EL020", "AA0114", hodnota.s, soucet.s);
}

void soucet_presne(int row, double soucet, const char* kod) {
    if (TTabEsw[row] == 'E') return;
    if (TTabSum[row] != soucet)
        zpracuj_chybu(line_text(TTabLin[row]).s, kod, Ttab[row].elem.data(),
                      text("%10.0f", TTabSum[row]).s, text("%10.0f", soucet).s);
}

void souhrny_proti_zaznamum() {
    prumerny_pocet_proti_souctu();
    soucet_presne(T_AA0115, sumz_AA0137, "EL021");
    soucet_presne(T_AA0118, sumz_AA0144, "EL022");
}

// ---- Step 6: employer-wide rules ----------------------------------------------

// The record-count rules report at the employer's end tag: they concern the
// employer as a whole.
void pravidla_zamestnavatele() {
    const int n = record_count();
    if (sw_anec_AA0137 < 2 && n > 50) zpracuj_chybu(kBlank, "WL042", kBlank, kBlank, kBlank);
    if (sw_anec_AA0033 > 0)
        zpracuj_chybu(line_text(lin_anec_AA0033).s, "WL053", "AA0033", val_anec_AA0033,
                      "delka 2");
    chk_AA0118(atel_iAA0118);
    if (sw_stejne_vzdelani == 'A' && n >= 50)
        zpracuj_chybu(s_cislo_radky(), "EL081", "AA0223", text("%c", sav_AA0223).s, kBlank);
    if (sumz_AA0223_Z > n / 2 && n >= 50)
        zpracuj_chybu(s_cislo_radky(), "EL082", "AA0223", kBlank, kBlank);
    if (sumz_EL084 > n / 2 && n >= 20)
        zpracuj_chybu(s_cislo_radky(), "EL084", "AA0165", kBlank, kBlank);
    if (sw_bylNEC == 'N') zpracuj_chybu(s_cislo_radky(), "ES309", kBlank, kBlank, kBlank);
}

}  // namespace

int zpracuj_TELk() {
    check_employer_occurrences();
    const int serazenych = sort_register();
    sum_up_education(serazenych);
    check_employee_groups(serazenych);
    souhrny_proti_zaznamum();
    pravidla_zamestnavatele();
    rezim_zprac = 'H';
    return 0;
}

}  // namespace quelt
