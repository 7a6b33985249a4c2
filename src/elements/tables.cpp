// Run-time columns of the definition tables and the name look-up.
//
// Every element read is looked up in its section's table, so the look-up is a
// small hash over the names built once at compile time: the names are unique,
// so the one match found is the first match of a row-by-row scan.
#include "src/elements/tables.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "src/report/report.h"
#include "src/xml/reader.h"

namespace quelt {

char PTabEsw[P_END];
LineNo PTabLin[P_END];
int PTabPre[P_END];

char TTabEsw[T_END];
LineNo TTabLin[T_END];
int TTabPre[T_END];
double TTabSum[T_END];

char NTabEsw[N_END];
LineNo NTabLin[N_END];
int NTabPre[N_END];
double NTabSum[N_END];

namespace {

constexpr std::size_t kSlots = 256;  // power of two, well above every table's rows

// The names of a table differ in their last bytes (the item numbers' digits),
// so the length and the last three bytes spread them well and cost far less
// than hashing every byte.
constexpr std::uint32_t name_hash(std::string_view s) {
    std::uint32_t h = static_cast<std::uint32_t>(s.size()) * 2654435761u;
    const std::size_t n = s.size();
    for (std::size_t i = n > 3 ? n - 3 : 0; i < n; ++i)
        h = (h ^ static_cast<unsigned char>(s[i])) * 16777619u;
    return h ^ (h >> 15);
}

// Open addressing: slot -> row + 1, 0 for an empty slot.
template <std::size_t Rows>
constexpr std::array<std::uint8_t, kSlots> build_index(const ElementDef (&table)[Rows]) {
    std::array<std::uint8_t, kSlots> slots{};
    for (std::size_t row = 0; row + 1 < Rows; ++row) {  // the end row never matches
        std::size_t s = name_hash(table[row].elem) & (kSlots - 1);
        while (slots[s] != 0) s = (s + 1) & (kSlots - 1);
        slots[s] = static_cast<std::uint8_t>(row + 1);
    }
    return slots;
}

constexpr auto kPIndex = build_index(Ptab);
constexpr auto kTIndex = build_index(Ttab);
constexpr auto kNIndex = build_index(Ntab);

template <std::size_t Rows>
int hashed_row(const ElementDef (&table)[Rows], const std::array<std::uint8_t, kSlots>& index,
               std::string_view name) {
    std::size_t s = name_hash(name) & (kSlots - 1);
    while (index[s] != 0) {
        const int row = index[s] - 1;
        if (same_name(table[row].elem, name)) return row;
        s = (s + 1) & (kSlots - 1);
    }
    return static_cast<int>(Rows) - 1;
}

}  // namespace

int next_P = 0;
int next_T = 0;
int next_N = 0;

int find_P_hashed(std::string_view name) { return hashed_row(Ptab, kPIndex, name); }
int find_T_hashed(std::string_view name) { return hashed_row(Ttab, kTIndex, name); }
int find_N_hashed(std::string_view name) { return hashed_row(Ntab, kNIndex, name); }

FindingText length_text(const ElementDef& row) {
    return row.lg_from == row.lg_to ? text("délka %d"_cp, row.lg_to)
                                    : text("délka %d - %d"_cp, row.lg_from, row.lg_to);
}

int unknown_element(const char* name, const char* content) {
    zpracuj_chybu(s_cislo_radky(), "ES301", name, content, text("%d", static_cast<int>(std::strlen(content))).s);
    return 1;
}

namespace {

void check_counts(const ElementDef* table, const int* counts, int rows, const char* value,
                  bool missing_by_name) {
    // Nearly always every element occurred once: one pass over the counts
    // (which compilers vectorise) sees that, without a test per row.
    int not_once = 0;
    for (int i = 0; i < rows; ++i) not_once |= counts[i] ^ 1;
    if (not_once == 0) return;
    for (int i = 0; i < rows; ++i) {
        const char* name = table[i].elem.data();
        if (counts[i] == 0)
            zpracuj_chybu(s_cislo_radky(), "ES303", name, value, missing_by_name ? name : "0");
        else if (counts[i] > 1)
            zpracuj_chybu(s_cislo_radky(), "ES304", name, value, text("%d", counts[i]).s);
    }
}

}  // namespace

void check_counts_at_start(const ElementDef* table, const int* counts, int rows) {
    check_counts(table, counts, rows, " ", false);
}

void check_counts_at_end(const ElementDef* table, const int* counts, int rows) {
    check_counts(table, counts, rows, "   ", true);
}

namespace {

// Every row but the end row has bounds: the employer and employee rules test
// numbers or texts against them and never ask whether there are any.
template <std::size_t Rows>
constexpr bool every_row_has_bounds(const ElementDef (&table)[Rows]) {
    for (std::size_t row = 0; row + 1 < Rows; ++row)
        if (table[row].val_from_e <= 0 || table[row].val_to_e <= 0) return false;
    return true;
}
static_assert(every_row_has_bounds(Ttab) && every_row_has_bounds(Ntab));

// The text bounds with their lengths, measured once at compile time.
constexpr auto kTextBounds = [] {
    std::array<std::string_view, std::size(TValChar)> bounds{};
    for (std::size_t i = 0; i < bounds.size(); ++i) bounds[i] = TValChar[i];
    return bounds;
}();

}  // namespace

bool outside_text_range(const ElementDef& row, std::string_view content) {
    return content < kTextBounds[static_cast<std::size_t>(row.val_from_e - 1000)] ||
           kTextBounds[static_cast<std::size_t>(row.val_to_e - 1000)] < content;
}

void reset_tables() {
    for (int i = 0; i < P_END; ++i) { PTabEsw[i] = ' '; PTabLin[i] = 0; PTabPre[i] = 0; }
    for (int i = 0; i < T_END; ++i) {
        TTabEsw[i] = ' '; TTabLin[i] = 0; TTabPre[i] = 0; TTabSum[i] = 0.0;
    }
    for (int i = 0; i < N_END; ++i) {
        NTabEsw[i] = ' '; NTabLin[i] = 0; NTabPre[i] = 0; NTabSum[i] = 0.0;
    }
}

}  // namespace quelt
