// Small helpers on NUL-terminated Windows-1250 strings and on numbers, with
// 1-based positions as in the rest of the program's string arithmetic. They
// decide which texts are numbers of the element types 'N' and 'R' (StrToDbl),
// how an end tag is matched (prvek_zac_kon) and how contents are trimmed.
#pragma once

#include <string_view>

namespace quelt {

int jsubstr(char* dst, const char* src, int pos, int len);
int jezltrim(char* dst, const char* src);
int jinstr(const char* str, char ch);
int jstrtostr(char* dst, int dpos, const char* src, int spos, int n);
double jezdifdbl(double a, double b);
int StrToDbl(double* out, const char* text, char type);
char prvek_zac_kon(const char* name, const char* tag);
char prvek_zac_kon(std::string_view name, std::string_view tag);

}  // namespace quelt
