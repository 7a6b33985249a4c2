// The catalogue of finding codes: for each code its description and expected
// text, and a counter of the findings of that code written in the run. Rules
// name only a code; the report writer looks the rest up here.
#pragma once

#include <string_view>

namespace quelt {

struct CatalogueRow {
    const char* EtabTyp;  // the code, five characters
    const char* EtabCek;  // expected text, at most 40 bytes
    const char* EtabTxt;  // description, at most 160 bytes
};

// 179 code rows and the end row "KONEC".
inline constexpr int kCodeRows = 179;
extern const CatalogueRow Etab[kCodeRows + 1];
extern int EtabNum[kCodeRows + 1];

// Row of the first code row whose code equals code, or kCodeRows (the end row).
int find_code(std::string_view code);

void reset_catalogue();

}  // namespace quelt
