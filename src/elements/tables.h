// Run-time columns of the three definition tables and the look-up of an
// element name in a table. The constant columns live in data/element_tables.h.
//
// Status ('E' = the last occurrence failed a check) and line columns are only
// ever overwritten; counts and values are cleared at each section start.
#pragma once

#include <cstdint>
#include <cstring>
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

// Whether two element names are the same. Names are a few bytes long: a call
// of memcmp costs more than comparing them. A name of 4 to 16 bytes is
// compared as its first and its last word (they overlap when the name is
// shorter than two words), others byte by byte.
template <typename Word>
inline Word word_at(std::string_view s, std::size_t i) {
    Word w;
    std::memcpy(&w, s.data() + i, sizeof w);
    return w;
}

inline bool same_name(std::string_view a, std::string_view b) {
    const std::size_t n = a.size();
    if (n != b.size()) return false;
    if (n >= 8 && n <= 16)
        return word_at<std::uint64_t>(a, 0) == word_at<std::uint64_t>(b, 0) &&
               word_at<std::uint64_t>(a, n - 8) == word_at<std::uint64_t>(b, n - 8);
    if (n >= 4 && n < 8)
        return word_at<std::uint32_t>(a, 0) == word_at<std::uint32_t>(b, 0) &&
               word_at<std::uint32_t>(a, n - 4) == word_at<std::uint32_t>(b, n - 4);
    for (std::size_t i = 0; i < n; ++i)
        if (a[i] != b[i]) return false;
    return true;
}

// The look-up of a name by the hash over its table's names (tables.cpp).
int find_P_hashed(std::string_view name);
int find_T_hashed(std::string_view name);
int find_N_hashed(std::string_view name);

// The row each look-up tries first: the one after the row found last.
// Elements mostly come in table order, so the guess nearly always holds. It
// only saves time: a wrong one changes nothing, so it needs no reset.
extern int next_P, next_T, next_N;

template <std::size_t Rows>
inline int find_row(const ElementDef (&table)[Rows], std::string_view name, int& next,
                    int (*hashed)(std::string_view)) {
    const int row = same_name(table[next].elem, name) ? next : hashed(name);
    next = row + 1 < static_cast<int>(Rows) - 1 ? row + 1 : 0;
    return row;
}

// Row of a name, or the end row (P_END, T_END, N_END) when it is not there.
// Exact, case-sensitive comparison. Inline: nearly every element read is
// looked up, and the guessed row needs only one comparison.
inline int find_P(std::string_view name) { return find_row(Ptab, name, next_P, find_P_hashed); }
inline int find_T(std::string_view name) { return find_row(Ttab, name, next_T, find_T_hashed); }
inline int find_N(std::string_view name) { return find_row(Ntab, name, next_N, find_N_hashed); }

// Text of a bound index (1000 and above).
inline const char* text_bound(int index) { return TValChar[index - 1000]; }

// The length check of every row: the content's length within the row's
// least and greatest, both inclusive.
inline bool outside_length(const ElementDef& row, std::size_t n) {
    return n < static_cast<std::size_t>(row.lg_from) || n > static_cast<std::size_t>(row.lg_to);
}

// The expected text of a failed length check: "délka %d" when least and
// greatest are equal, else "délka %d - %d".
FindingText length_text(const ElementDef& row);

// ES301 for a name that is not in the section's table: the content as value,
// its length as the expected text. Returns 1, the rule functions' result for it.
int unknown_element(const char* name, const char* content);

// Missing and repeated elements of a section, from its count column: ES303
// for a count of 0, ES304 for a count above 1, at the current line. At a
// section start the value is " " and the expected text "0" or the count; at a
// section's end the value is "   " and the expected text the element's name
// or the count.
void check_counts_at_start(const ElementDef* table, const int* counts, int rows);
void check_counts_at_end(const ElementDef* table, const int* counts, int rows);

// Whether a row's bounds are numbers (indexes below 1000, into TValDbl) or
// texts (1000 and above, into TValChar). Every employer and employee row has
// bounds of one kind or the other (tables.cpp checks it at compile time).
inline bool has_number_bounds(const ElementDef& row) { return row.val_from_e < 1000; }

// Text range test: byte-wise on unsigned bytes, the whole text against the
// whole bound, both bounds inclusive.
bool outside_text_range(const ElementDef& row, std::string_view content);
// Numeric range test, both bounds inclusive. Here, not in tables.cpp: the
// test runs for nearly every element, and a call costs as much as the test.
inline bool outside_number_range(const ElementDef& row, double v) {
    return v < TValDbl[row.val_from_e] || v > TValDbl[row.val_to_e];
}

// The range test of an employer or employee row: the value v against number
// bounds, the content against text bounds.
inline bool outside_range(const ElementDef& row, double v, std::string_view content) {
    return has_number_bounds(row) ? outside_number_range(row, v) : outside_text_range(row, content);
}

// Statuses ' ', lines blank, counts and values 0: the state at run start.
void reset_tables();

}  // namespace quelt
