// Catalogue: size, look-up of the first row of a code, and the exact
// Windows-1250 bytes of texts with Czech letters and no-break spaces.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "src/report/catalogue.h"
#include "src/xml/cp1250.h"

using namespace quelt;

namespace {
const CatalogueRow& row_of(const char* code) { return Etab[find_code(code)]; }
}  // namespace

TEST(Catalogue, HasAllCodeRowsAndTheEndRow) {
    EXPECT_STREQ(Etab[kCodeRows].EtabTyp, "KONEC");
    EXPECT_STREQ(Etab[kCodeRows].EtabTxt, "KoNeC");
    EXPECT_STREQ(Etab[kCodeRows].EtabCek, "KoNeC");
    std::set<std::string> codes;
    for (int i = 0; i < kCodeRows; ++i) {
        EXPECT_EQ(std::strlen(Etab[i].EtabTyp), 5u) << i;
        EXPECT_LE(std::strlen(Etab[i].EtabTxt), 160u) << Etab[i].EtabTyp;
        EXPECT_LE(std::strlen(Etab[i].EtabCek), 40u) << Etab[i].EtabTyp;
        codes.insert(Etab[i].EtabTyp);
    }
    EXPECT_EQ(codes.size(), 173u);  // six codes stand twice
}

TEST(Catalogue, LookupTakesTheFirstRowOfADoubledCode) {
    EXPECT_EQ(find_code("ER209"), 0);
    EXPECT_STREQ(row_of("ER209").EtabTxt, "Povoleno 2010, d\xE9lka  4");
    EXPECT_EQ(find_code("EL030"), 1);
    EXPECT_EQ(find_code("WSTEL"), 6);
    EXPECT_EQ(find_code("EL032"), 21);
    EXPECT_EQ(find_code("EL005"), 27);
    EXPECT_STREQ(row_of("EL005").EtabTxt,
                 "P\xF8" "ekro\xE8" "ena maxim\xE1ln\xED hodnota t\xFD" "denn\xED pracovn\xED doby");
    EXPECT_EQ(find_code("EL044"), 36);
    EXPECT_STREQ(row_of("EL044").EtabTxt, "Platová třída zaměstnance musí být 1 - 16"_cp);
}

TEST(Catalogue, UnknownCodesGiveTheEndRow) {
    for (const char* code : {"ER125", "KONEC", "es303", "ES30", ""}) EXPECT_EQ(find_code(code), kCodeRows) << code;
}

TEST(Catalogue, EveryRowIsReachableUnlessDoubled) {
    for (int i = 0; i < kCodeRows; ++i) {
        const int found = find_code(Etab[i].EtabTyp);
        EXPECT_LE(found, i);
        EXPECT_STREQ(Etab[found].EtabTyp, Etab[i].EtabTyp);
    }
}

TEST(Catalogue, ExactBytesOfCzechTexts) {
    // Two no-break spaces (0xA0), after "k" in EL027 and after "v" in WL016.
    EXPECT_NE(std::strstr(row_of("EL027").EtabTxt, "z\xFA\xE8tovan\xFD" "ch k\xA0v\xFDplat\xEC AA0150"),
              nullptr);
    EXPECT_NE(std::strstr(row_of("WL016").EtabTxt, "To je v\xA0po\xF8\xE1" "dku"), nullptr);
    EXPECT_STREQ(row_of("ES303").EtabTxt, "Prvkek nebyl uveden");
    EXPECT_STREQ(row_of("ES304").EtabTxt, "Vícenásobný výskyt prvku      ."_cp);
    EXPECT_STREQ(row_of("ESVYT").EtabCek, "2010-06-01T00:00:00 a\x9E 2010-08-31T23:59");
    EXPECT_STREQ(row_of("WL033").EtabCek, "CZ, SK");
    EXPECT_STREQ("ČčÝýŘř©"_cp, "\xC8\xE8\xDD\xFD\xD8\xF8\xA9");
}

TEST(Catalogue, WS102QuotesTheNamespaceAddress) {
    EXPECT_STREQ(row_of("WS102").EtabTxt,
                 "Element <ORV> by m\xECl obsahovat atributy verze=\"1.6\" a "
                 "xmlns=\"http://www.orv.example/schemas/2004/ORV/1.6/\"");
}
