// Test support for the employee and employer rules: a complete employee
// record that passes every combined rule, set straight into the run-time
// columns of the employee table, and filters over the report rows.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "data/element_tables.h"
#include "src/elements/tables.h"
#include "src/rules/rules.h"
#include "src/state/run_state.h"
#include "src/xml/reader.h"
#include "tests/unit/report_capture.h"

namespace quelt::test {

// The line of the record's end tag; every element row r stands at line 100 + r.
inline constexpr LineNo kKonecZaznamu = 500;
inline LineNo radek_prvku(int row) { return 100 + row; }

// A record of a full-time employee in the headcount for the whole period,
// class 10 step 5 of increase code 1 at the table's tariff, 1000 hours worked,
// 40 hours of leave and 5 days of absence, a salary of 150000 made of the
// basic pay alone and average hourly earnings of 150.
inline void cisty_zaznam() {
    for (int r = 0; r < N_END; ++r) {
        NTabEsw[r] = ' ';
        NTabPre[r] = 1;
        NTabSum[r] = Ntab[r].val_from_e >= 1000 ? 123.0 : 0.0;
        NTabLin[r] = radek_prvku(r);
    }
    struct Hodnota {
        int row;
        double v;
    };
    constexpr Hodnota hodnoty[] = {
        {N_AA0231, 1970}, {N_AA0125, 1},      {N_AA0130, 1},      {N_AA0131, 40},
        {N_AA0225, 10},   {N_AA0216, 5},      {N_AA0132, 1000},   {N_AA0134, 40},
        {N_AA0135, 40},   {N_AA0136, 1},      {N_AA0137, 1},      {N_AA0127, 10},
        {N_AA0128, 5},    {N_AA0129, 1},      {N_AA0138, 15810},  {N_AA0144, 150000},
        {N_AA0145, 150000}, {N_AA0165, 150},  {N_AA0091, 1111},   {N_AA0218, 181},
        {N_AA0219, 5},
    };
    for (const Hodnota& h : hodnoty) NTabSum[h.row] = h.v;
    std::snprintf(necsav_AA0013, sizeof necsav_AA0013, "%s", "21410");
    cislo_radky = kKonecZaznamu;
    set_telicokod("12345678");
    set_identnec("E1");
}

// A report row without its description (the last column).
inline std::string bez_popisu(const std::string& row) { return row.substr(0, row.rfind(';')); }

inline std::string kod_radku(const std::string& row) {
    const auto a = row.find(';');
    const auto b = row.find(';', a + 1);
    return row.substr(a + 1, b - a - 1);
}

// The rows of one code, without their descriptions, in report order.
inline std::vector<std::string> nalezy(const ReportCapture& cap, std::string_view kod) {
    std::vector<std::string> out;
    for (const std::string& row : cap.rows())
        if (kod_radku(row) == kod) out.push_back(bez_popisu(row));
    return out;
}

// The rows that the call f writes to the report, without their descriptions.
template <typename F>
std::vector<std::string> rows_written(const ReportCapture& cap, F f) {
    const std::size_t before = cap.rows().size();
    f();
    std::vector<std::string> out;
    const std::vector<std::string> all = cap.rows();
    for (std::size_t i = before; i < all.size(); ++i) out.push_back(bez_popisu(all[i]));
    return out;
}

}  // namespace quelt::test
