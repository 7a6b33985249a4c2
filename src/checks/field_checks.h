// Single-value checks that the element rules call after an element passed its
// generic checks: identification-number checksums, the employer's date, the
// facility code, the e-mail form and the duplicate-employer table. Each reports
// its own findings and returns 0 when the value passed, 1 otherwise.
#pragma once

namespace quelt {

int chk_ICO(const char* text);  // 0 valid, 1 check digit wrong, 2 length not 8
int chk_ICOPredkladatele(const char* content);
int chk_AA0017(const char* content);
int chk_AA0110(const char* content);
int chk_AA0113(const char* content);
int chk_eposta(const char* content);
int chk_ZamId(const char* identity);

void reset_field_checks();

}  // namespace quelt
