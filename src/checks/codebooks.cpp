// Look-ups in the campaign's code lists and registers: each cis_ function tests
// one element value against its list and reports a miss. The registers also
// leave the submitter's and the employer's numbers behind for later look-ups.
#include "src/checks/codebooks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "src/checks/codelists.h"
#include "src/elements/tables.h"
#include "src/report/finding_text.h"
#include "src/report/report.h"
#include "src/xml/reader.h"

namespace quelt {

std::uint32_t l_predkladatel = 0;
std::uint32_t l_poskytovatel = 0;

namespace {

constexpr const char* kNone = "   ";  // empty expected text

// Position of a number in an ascending register, or -1.
int find_number(const std::uint32_t* tab, int n, std::uint32_t value) {
    const std::uint32_t* end = tab + n;
    const std::uint32_t* it = std::lower_bound(tab, end, value);
    return (it != end && *it == value) ? static_cast<int>(it - tab) : -1;
}

// A code of a fixed-width field of W bytes as one number: its bytes, NUL
// padded, the first byte highest. Numbers order as the texts do byte by byte
// (strcmp's order), and are equal when the texts are: the lists are searched
// by comparing numbers, with no call per comparison.
template <std::size_t W>
std::uint64_t field_key(const char (&field)[W]) {
    static_assert(W <= sizeof(std::uint64_t), "a code field of at most 8 bytes");
    std::uint64_t k = 0;
    for (std::size_t i = 0; i < W; ++i) k = k << 8 | static_cast<unsigned char>(field[i]);
    return k;
}

// The number of a value as field_key makes it; false when the value does not
// fit a field of W bytes with its terminator, and so equals no code of it.
template <std::size_t W>
bool text_key(std::string_view value, std::uint64_t& k) {
    if (value.size() >= W) return false;
    k = 0;
    for (std::size_t i = 0; i < W; ++i)
        k = k << 8 | (i < value.size() ? static_cast<unsigned char>(value[i]) : 0u);
    return true;
}

// Position of a text in an ascending list of fixed-width codes, or -1. The
// whole value is compared, so a longer or shorter text never matches.
template <std::size_t W>
int find_sorted_code(const char (*tab)[W], int n, const char* value) {
    std::uint64_t k = 0;
    if (!text_key<W>(value, k)) return -1;
    const char (*end)[W] = tab + n;
    const char (*it)[W] = std::lower_bound(
        tab, end, k, [](const char(&entry)[W], std::uint64_t v) { return field_key(entry) < v; });
    return (it != end && field_key(*it) == k) ? static_cast<int>(it - tab) : -1;
}

// The same for lists kept in their own order: first equal entry, or -1.
template <std::size_t W>
int find_code_in_order(const char (*tab)[W], int n, const char* value) {
    std::uint64_t k = 0;
    if (!text_key<W>(value, k)) return -1;
    for (int i = 0; i < n; ++i)
        if (field_key(tab[i]) == k) return i;
    return -1;
}

// An identification number as findings print it: eight digits, leading zeros.
FindingText eight_digits(std::uint32_t n) { return text("%08u", static_cast<unsigned>(n)); }

// A finding at the current line with the content as value.
void report_here(const char* kod, const char* prvek, const char* obsah, const char* ocekavano = kNone) {
    zpracuj_chybu(s_cislo_radky(), kod, prvek, obsah, ocekavano);
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// End of the longest leading number: digits with an optional fraction, or a
// fraction alone, then an optional exponent. Returns p when there is none.
const char* number_end(const char* p) {
    const char* q = p;
    const char* cela = q;
    while (is_digit(*q)) ++q;
    bool cislice = q != cela;
    if (*q == '.') {
        const char* zlomek = ++q;
        while (is_digit(*q)) ++q;
        cislice = cislice || q != zlomek;
    }
    if (!cislice) return p;
    if (*q == 'e' || *q == 'E') {
        const char* e = q + 1;
        if (*e == '+' || *e == '-') ++e;
        if (is_digit(*e)) {
            while (is_digit(*e)) ++e;
            q = e;
        }
    }
    return q;
}

}  // namespace

std::uint32_t ico_to_number(const char* text) {
    const char* p = text;
    while (is_blank(*p)) ++p;
    const bool zaporne = *p == '-';
    if (*p == '+' || *p == '-') ++p;
    const char* konec = number_end(p);
    if (konec == p) return 0;
    // The range holds decimal digits, a point and an exponent only. strtod
    // reads it from a copy, since the text may go on with bytes it would take
    // further ("0x1A" is 0 here); every build's C library converts such a text
    // correctly rounded. A result out of range reads as 0 or as infinite, and
    // both give 0 below.
    const std::string cislo(p, konec);
    double v = std::strtod(cislo.c_str(), nullptr);
    v = std::trunc(zaporne ? -v : v);
    if (!std::isfinite(v) || std::fabs(v) >= 9223372036854775808.0) return 0;
    // Reduction modulo 2^32: -1 gives 4294967295.
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(static_cast<std::int64_t>(v)));
}

int state_count() { return nTcisStat; }

int state_position(std::string_view code) {
    std::uint64_t k = 0;
    if (!text_key<sizeof PoziceStatu::kod>(code, k)) return nTcisStat;
    const PoziceStatu* end = TcisStatPoradi + nTcisStatPoradi;
    const PoziceStatu* it = std::lower_bound(
        TcisStatPoradi, end, k,
        [](const PoziceStatu& entry, std::uint64_t v) { return field_key(entry.kod) < v; });
    if (it != end && field_key(it->kod) == k) return it->pozice;
    return nTcisStat;
}

const char* state_at(int pos) {
    if (pos < 0 || pos >= nTcisStat) return "---";
    return TcisStat[pos];
}

int cis_predkladatelu(const char* content) {
    l_predkladatel = ico_to_number(content);
    if (PTabEsw[P_ICOpredkladatele] == 'E') return 1;
    if (find_number(TcisPred, nTcisPred, l_predkladatel) >= 0) return 0;
    report_here("ER202", "ICOpredkladatele", eight_digits(l_predkladatel).s);
    return 1;
}

int cis_poskytovatelu(const char* content) {
    l_poskytovatel = ico_to_number(content);
    // A failed year means the file is not of this campaign: its providers are
    // not compared with this campaign's register.
    if (PTabEsw[P_rok] == 'E') return 1;
    const LineText radek = line_text(TTabLin[T_AA0017]);
    const int i = find_number(TcisPosPre, nTcisPosPre, l_poskytovatel);
    if (i < 0) {
        zpracuj_chybu(radek.s, "WR204", "AA0017", eight_digits(l_poskytovatel).s, kNone);
        return 1;
    }
    if (TcisPrePos[i] != l_predkladatel)
        zpracuj_chybu(radek.s, "WR204", "ICOpredkladatele", eight_digits(l_predkladatel).s,
                      eight_digits(TcisPrePos[i]).s);
    return 0;
}

int cis_kodpraf(const char* content) {
    if (find_code_in_order(TcisPraf, nTcisPraf, content) >= 0) return 0;
    report_here("EL055", "AA0019", content);
    return 1;
}

int cis_kodnuts(const char* content, const char* element) {
    if (find_sorted_code(TcisNuts, nTcisNuts, content) >= 0) return 0;
    report_here("EL056", element, content);
    return 1;
}

int cis_kodzam(const char* content) {
    if (find_sorted_code(TcisKzam, nTcisKzam, content) < 0) {
        report_here("EL046", "AA0013", content);
        return 1;
    }
    // A code ending in 0 is a group, not an occupation.
    if (content[4] == '0') {
        report_here("WL039", "AA0013", content);
        return 1;
    }
    return 0;
}

int cis_kodstat(const char* content) {
    const int p = state_position(content);
    if (p >= nTcisStat) {
        report_here("EL047", "AA0033", content);
        return 1;
    }
    // Positions 0 to 5 are the Czech and the Slovak Republic.
    if (p > 5) report_here("WL033", "AA0033", content, "?");
    return 0;
}

int cis_kodvzde(const char* content) {
    if (find_sorted_code(TcisVzde, nTcisVzde, content) >= 0) return 0;
    report_here("EL048", "AA0223", content);
    return 1;
}

int cis_koddppv(const char* content) {
    if (find_code_in_order(TcisDppv, nTcisDppv, content) >= 0) return 0;
    report_here("EL004", "AA0130", content, "10, (1)");
    return 1;
}

int cis_postzam(const char* content) {
    if (find_sorted_code(TcisPosZ, nTcisPosZ, content) >= 0) return 0;
    report_here("EL068", "AA0091", content);
    return 1;
}

void reset_codebooks() {
    l_predkladatel = 0;
    l_poskytovatel = 0;
}

}  // namespace quelt
