// Small helpers on NUL-terminated Windows-1250 strings and on numbers, with
// 1-based positions as in the rest of the program's string arithmetic. They
// decide which texts are numbers of the element types 'N' and 'R' (StrToDbl),
// how an end tag is matched (prvek_zac_kon) and how contents are trimmed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace quelt {

int jsubstr(char* dst, const char* src, int pos, int len);
int jezltrim(char* dst, const char* src);
int jinstr(const char* str, char ch);
double jezdifdbl(double a, double b);

// Exact powers of ten: every one up to 1e22 is a double without rounding.
inline constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                    1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// A number of type 'R' may hold one '.', other types none; one sign, first.
//
// The text is checked and its digits gathered in the same pass. With at most
// 15 digits they form an exact double and the one division by an exact power
// of ten rounds once, so the result is the correctly rounded value that
// strtod gives; longer texts are left to strtod. Inline: nearly every element
// is a number, and a call cost a third of the conversion.
inline int StrToDbl(double* out, const char* text, char type) {
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
    const std::ptrdiff_t count = (p - first) - (point != nullptr ? 1 : 0);
    const std::ptrdiff_t decimals = point != nullptr ? p - point - 1 : 0;
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

char prvek_zac_kon(std::string_view name, std::string_view tag);

}  // namespace quelt
