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

double jezdifdbl(double a, double b) { return b > a ? b - a : a - b; }

char prvek_zac_kon(std::string_view name, std::string_view tag) {
    if (tag.empty()) return name.empty() ? 'A' : 'N';
    return tag.substr(1).starts_with(name) ? 'A' : 'N';
}

}  // namespace quelt
