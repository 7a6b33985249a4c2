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

// The value of a validated number text. With at most 15 digits the digits form
// an exact double and the one division by an exact power of ten rounds once,
// so the result is the correctly rounded value that strtod gives; longer
// texts are left to strtod.
double decimal_value(const char* text) {
    const char* p = text;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    std::uint64_t digits = 0;
    int count = 0;
    int decimals = 0;
    bool after_point = false;
    for (; *p != '\0'; ++p) {
        if (*p == '.') {
            after_point = true;
            continue;
        }
        if (++count > 15) return std::strtod(text, nullptr);
        digits = digits * 10 + static_cast<std::uint64_t>(*p - '0');
        if (after_point) ++decimals;
    }
    const double v = static_cast<double>(digits) / kPow10[decimals];
    return negative ? -v : v;
}

}  // namespace

// A number of type 'R' may hold one '.', other types none; one sign, first.
int StrToDbl(double* out, const char* text, char type) {
    int dots = 0;
    for (int i = 0; text[i] != '\0'; ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') continue;
        if (c == '.') {
            if (type != 'R' || ++dots > 1) { *out = 0.0; return 1; }
            continue;
        }
        if ((c == '+' || c == '-') && i == 0) continue;
        *out = 0.0;
        return 1;
    }
    *out = decimal_value(text);
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
