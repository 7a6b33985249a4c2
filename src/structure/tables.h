// Run-time columns of the three definition tables and the look-up of an
// element name in a table. The constant columns live in data/element_tables.h.
//
// Status ('E' = the last occurrence failed a check) and line columns are only
// ever overwritten; counts and values are cleared at each section start.
#pragma once

#include <string_view>

#include "data/element_tables.h"
#include "src/report/finding_text.h"
#include "src/xml/line_text.h"

namespace quelt {

extern char PTabEsw[P_END];
extern LineNo PTabLin[P_END];
extern int PTabPre[P_END];

extern char TTabEsw[T_END];
extern LineNo TTabLin[T_END];
extern int TTabPre[T_END];
extern double TTabSum[T_END];

extern char NTabEsw[N_END];
extern LineNo NTabLin[N_END];
extern int NTabPre[N_END];
extern double NTabSum[N_END];

// Row of a name, or the end row (P_END, T_END, N_END) when it is not there.
// Exact, case-sensitive comparison.
int najdi_P(std::string_view name);
int najdi_T(std::string_view name);
int najdi_N(std::string_view name);

// Text of a bound index (1000 and above).
inline const char* text_bound(int index) { return TValChar[index - 1000]; }

// The expected text of a failed length check: "délka %d" when least and
// greatest are equal, else "délka %d - %d".
FindingText delka_text(const ElementDef& row);

// ES301 for a name that is not in the section's table: the content as value,
// its length as the expected text. Returns 1, the rule functions' result for it.
int neznamy_prvek(const char* name, const char* content);

// Missing and repeated elements of a section, from its count column: ES303
// for a count of 0, ES304 for a count above 1, at the current line. At a
// section start the value is " " and the expected text "0" or the count; at a
// section's end the value is "   " and the expected text the element's name
// or the count.
void kontrola_poctu_zacatek(const ElementDef* table, const int* pocty, int rows);
void kontrola_poctu_konec(const ElementDef* table, const int* pocty, int rows);

// Text range test: byte-wise on unsigned bytes, the whole text against the
// whole bound, both bounds inclusive.
bool mimo_text_rozsah(const ElementDef& row, std::string_view content);
// Numeric range test, both bounds inclusive.
bool mimo_num_rozsah(const ElementDef& row, double v);

// Statuses ' ', lines blank, counts and values 0: the state at run start.
void reset_tables();

}  // namespace quelt
