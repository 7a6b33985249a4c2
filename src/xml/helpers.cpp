// String and number helpers on NUL-terminated Windows-1250 texts.
#include "src/xml/helpers.h"

#include <cstdlib>
#include <cstring>

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
    std::memmove(dst, src, std::strlen(src) + 1);
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
    *out = std::strtod(text, nullptr);
    return 0;
}

char prvek_zac_kon(const char* name, const char* tag) {
    if (tag[0] == '\0') return name[0] == '\0' ? 'A' : 'N';
    for (const char* t = tag + 1; *name != '\0'; ++name, ++t)
        if (*t != *name) return 'N';
    return 'A';
}

}  // namespace quelt
