// Single-value checks of the header and employer elements: the check digit of
// an identification number, the employer's date, the facility code, the form
// of the e-mail address and the table of employers met in the run, which
// catches an employer reported twice, also across the files of a list.
#include "src/checks/field_checks.h"

#include <cassert>
#include <cstdio>
#include <cstring>

#include "src/elements/tables.h"
#include "src/report/finding_text.h"
#include "src/report/report.h"
#include "src/state/bounded_text.h"
#include "src/state/run_state.h"
#include "src/xml/reader.h"

namespace quelt {

namespace {

constexpr const char* kNone = "   ";  // empty expected text

// The duplicate-employer table: the first 100 distinct identities of the run.
constexpr int kMaxEmployerIds = 100;
char TabZamId[kMaxEmployerIds][20];
int nTabZamId = -1;  // index of the last stored entry; -1 empty

// Weights of the first seven digits of an identification number.
constexpr int kIcoWeights[7] = {8, 7, 6, 5, 4, 3, 2};

// A character's value as a digit; other characters enter the sum with their
// code as it is, so they almost always break the check digit.
int digit_value(char c) { return static_cast<unsigned char>(c) - '0'; }

// EL031 for an identification number whose check digit or length is wrong.
int check_ico(const char* content, char& status, const char* prvek) {
    if (chk_ICO(content) == 0) return 0;
    status = 'E';
    zpracuj_chybu(s_cislo_radky(), "EL031", prvek, content, kNone);
    return 1;
}

// Two characters from a 1-based position, as far as the text reaches.
struct TwoChars {
    char s[3];
};
TwoChars two_chars(const char* text, int pos) {
    TwoChars d{};
    const std::size_t len = std::strlen(text);
    if (len >= static_cast<std::size_t>(pos)) copy_text(d.s, sizeof d.s, text + pos - 1);
    return d;
}

bool has_30_days(const char* mesic) {
    return std::strcmp(mesic, "04") == 0 || std::strcmp(mesic, "06") == 0 ||
           std::strcmp(mesic, "09") == 0 || std::strcmp(mesic, "11") == 0;
}

// 1-based position of the first occurrence of a character, 0 if none.
int first_position(const char* s, char c) {
    const char* p = std::strchr(s, c);
    return p ? static_cast<int>(p - s) + 1 : 0;
}

// 1-based position of the last occurrence of a character the text holds.
int last_position(const char* s, char c) {
    const char* p = std::strrchr(s, c);
    assert(p != nullptr);
    return static_cast<int>(p - s) + 1;
}

bool bad_address(const char* adresa) {
    const int n = static_cast<int>(std::strlen(adresa));
    const int tecka = first_position(adresa, '.');
    const int zavinac = first_position(adresa, '@');
    if (tecka == 0 || zavinac == 0) return true;
    if (tecka == 1 || tecka == n) return true;
    if (zavinac == 1 || zavinac == n) return true;
    if (zavinac > last_position(adresa, '.')) return true;
    return std::strchr(adresa, ' ') != nullptr;
}

// The element text of EL074: a bare identification number or one with its
// facility code.
FindingText employer_element(const char* identita) {
    return std::strlen(identita) == 8 ? text("%s ", "AA0017") : text("%s/%s", "AA0017", "AA0113");
}

}  // namespace

int chk_ICO(const char* text) {
    if (std::strlen(text) != 8) return 2;
    int s = 0;
    for (int i = 0; i < 7; ++i) s += kIcoWeights[i] * digit_value(text[i]);
    // Characters below '0' make the sum negative; the remainder then takes
    // the sign of the sum and the check digit comes out of range.
    const int r = s % 11;
    int c = 11 - r;
    if (c > 9) c -= 10;
    return c == digit_value(text[7]) ? 0 : 1;
}

int chk_ICOPredkladatele(const char* content) {
    return check_ico(content, PTabEsw[P_ICOpredkladatele], "ICOpredkladatele");
}

int chk_AA0017(const char* content) { return check_ico(content, TTabEsw[T_AA0017], "AA0017"); }

int chk_AA0110(const char* content) {
    const TwoChars mesic = two_chars(content, 5);
    const TwoChars den = two_chars(content, 7);
    // Compared as texts; there is no leap year: 29 February always fails.
    const bool spatne = std::strcmp(mesic.s, "01") < 0 || std::strcmp(den.s, "01") < 0 ||
                        std::strcmp(den.s, "31") > 0 || std::strcmp(mesic.s, "12") > 0 ||
                        (std::strcmp(mesic.s, "02") == 0 && std::strcmp(den.s, "28") > 0) ||
                        (has_30_days(mesic.s) && std::strcmp(den.s, "30") > 0);
    if (!spatne) return 0;
    zpracuj_chybu(s_cislo_radky(), "EL050", "AA0110", content, kNone);
    return 1;
}

int chk_AA0113(const char* content) {
    if (content[0] == '\0') return 0;
    // The employer identification grows first, so this row shows it already.
    append_text(telicokod, sizeof telicokod, "/");
    append_text(telicokod, sizeof telicokod, content);
    zpracuj_chybu(s_cislo_radky(), "WL054", "AA0113", content, kNone);
    return 1;
}

int chk_eposta(const char* content) {
    if (!bad_address(content)) return 0;
    zpracuj_chybu(s_cislo_radky(), "ESEMA", "mail", content, kNone);
    return 1;
}

int chk_ZamId(const char* identity) {
    char id[sizeof TabZamId[0]];
    copy_text(id, sizeof id, identity);
    for (int i = 0; i <= nTabZamId && i < kMaxEmployerIds; ++i) {
        if (std::strcmp(TabZamId[i], id) == 0) {
            zpracuj_chybu(s_cislo_radky(), "EL074", employer_element(id).s, id, kNone);
            return 1;
        }
    }
    // Counted up to one past the table: the 101st identity is reported once,
    // every later one is neither stored nor reported.
    if (nTabZamId <= kMaxEmployerIds) ++nTabZamId;
    if (nTabZamId == kMaxEmployerIds) {
        zpracuj_chybu(s_cislo_radky(), "WL901", "zamestnavatel", id, kNone);
        return 1;
    }
    if (nTabZamId > kMaxEmployerIds) return 1;
    copy_text(TabZamId[nTabZamId], sizeof TabZamId[0], id);
    return 0;
}

void reset_field_checks() { nTabZamId = -1; }

}  // namespace quelt
