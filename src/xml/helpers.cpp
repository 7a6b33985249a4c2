// String and number helpers on NUL-terminated Windows-1250 texts.
#include "src/xml/helpers.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace quelt {

int jsubstr(char* dst, const char* src, int pos, int len) {
    int n = 0;
    if (pos >= 1 && len > 0) {
        const char* s = src + (pos - 1);
        while (n < len && s[n] != '\0') {
            dst[n] = s[n];
            ++n;
        }
    }
    dst[n] = '\0';
    return n;
}

int jezltrim(char* dst, const char* src) {
    while (*src == ' ') ++src;
    while ((*dst++ = *src++) != '\0') {
    }  // forward copy: safe also when dst is src or lies before it
    return 0;
}

int jinstr(const char* str, char ch) {
    for (int i = 0; str[i] != '\0'; ++i)
        if (str[i] == ch) return i + 1;
    return 0;
}

int jstrtostr(char* dst, int dpos, const char* src, int spos, int n) {
    const int dlen = static_cast<int>(std::strlen(dst));
    char* d = dst + (dpos - 1);
    const char* s = src + (spos - 1);
    int copied = 0;
    while (copied < n && s[copied] != '\0') {
        d[copied] = s[copied];
        ++copied;
    }
    // A stretch that reaches past the text in dst becomes its end.
    if (dpos - 1 + copied >= dlen) d[copied] = '\0';
    return copied;
}

double jezdifdbl(double a, double b) { return b > a ? b - a : a - b; }

namespace {

// Exact powers of ten: every one up to 1e22 is a double without rounding.
constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                             1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

}  // namespace

// A number of type 'R' may hold one '.', other types none; one sign, first.
//
// The text is checked and its digits gathered in the same pass. With at most
// 15 digits they form an exact double and the one division by an exact power
// of ten rounds once, so the result is the correctly rounded value that
// strtod gives; longer texts are left to strtod.
int StrToDbl(double* out, const char* text, char type) {
    const char* p = text;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    std::uint64_t digits = 0;  // wraps beyond 19 digits, but then strtod decides
    const char* const first = p;
    const char* point = nullptr;
    for (; *p != '\0'; ++p) {
        const unsigned digit = static_cast<unsigned char>(*p) - static_cast<unsigned>('0');
        if (digit <= 9) {
            digits = digits * 10 + digit;
        } else if (*p == '.' && type == 'R' && point == nullptr) {
            point = p;
        } else {
            *out = 0.0;
            return 1;
        }
    }
    const long count = (p - first) - (point != nullptr ? 1 : 0);
    const long decimals = point != nullptr ? p - point - 1 : 0;
    if (count > 15) {
        *out = std::strtod(text, nullptr);
        return 0;
    }
    // A whole number needs no division (by one, it would change nothing).
    const double v = decimals == 0 ? static_cast<double>(digits)
                                   : static_cast<double>(digits) / kPow10[decimals];
    *out = negative ? -v : v;
    return 0;
}

char prvek_zac_kon(std::string_view name, std::string_view tag) {
    if (tag.empty()) return name.empty() ? 'A' : 'N';
    return tag.substr(1).starts_with(name) ? 'A' : 'N';
}

char prvek_zac_kon(const char* name, const char* tag) {
    return prvek_zac_kon(std::string_view(name), std::string_view(tag));
}

}  // namespace quelt
