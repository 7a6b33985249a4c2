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

char prvek_zac_kon(std::string_view name, std::string_view tag) {
    if (tag.empty()) return name.empty() ? 'A' : 'N';
    return tag.substr(1).starts_with(name) ? 'A' : 'N';
}

}  // namespace quelt
