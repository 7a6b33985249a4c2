// Submitter header rules: unknown names, the length check that ends an
// element's checking, the text ranges with the catalogue's expected texts,
// and the identification number against the register. The address, the
// telephone, the creation time and a wrong check digit are end-to-end cases
// (tests/golden/cases/hdr_*), row for row.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "src/checks/codebooks.h"
#include "src/elements/tables.h"
#include "src/rules/rules.h"
#include "src/xml/cp1250.h"
#include "src/xml/reader.h"
#include "tests/unit/employee_record.h"
#include "tests/unit/report_capture.h"

using namespace quelt;
using quelt::test::ReportCapture;
using quelt::test::rows_written;

using Rows = std::vector<std::string>;

namespace {

// The report rows (without descriptions) of one header element at line 12.
Rows prvek(ReportCapture& cap, const char* name, const char* content) {
    cislo_radky = 12;
    return rows_written(cap, [&] { k_Pre(name, content); });
}

}  // namespace

TEST(KPre, UnknownNameGivesES301WithTheLengthAndTouchesNothing) {
    ReportCapture cap;
    cislo_radky = 12;
    EXPECT_EQ(k_Pre("AA0017", "abcde"), 1);
    EXPECT_EQ(cap.rows(), (Rows{"12;ES301;;;AA0017;abcde;5;Neznamý prvek"_cp}));
    for (int r = 0; r < P_END; ++r) {
        EXPECT_EQ(PTabPre[r], 0);
        EXPECT_EQ(PTabLin[r], 0);
    }
    EXPECT_EQ(prvek(cap, "Rok", ""), (Rows{"12;ES301;;;Rok;;0"}));
}

TEST(KPre, AnOccurrenceIsCountedAndClearsAnEarlierFailure) {
    ReportCapture cap;
    prvek(cap, "rok", "2011");
    EXPECT_EQ(PTabEsw[P_rok], 'E');
    cislo_radky = 20;
    EXPECT_EQ(k_Pre("rok", "2010"), 0);
    EXPECT_EQ(PTabEsw[P_rok], ' ');
    EXPECT_EQ(PTabLin[P_rok], 20);
    EXPECT_EQ(PTabPre[P_rok], 2);
}

TEST(KPre, YearAndPeriod) {
    ReportCapture cap;
    EXPECT_TRUE(prvek(cap, "rok", "2010").empty());
    EXPECT_EQ(prvek(cap, "rok", "2011"), (Rows{"12;ER209;;;rok;2011;2010"}));
    EXPECT_EQ(cap.rows().back(), "12;ER209;;;rok;2011;2010;Povoleno 2010, délka  4"_cp);
    EXPECT_EQ(prvek(cap, "rok", "10"), (Rows{"12;ER209;;;rok;10;délka 4"_cp}));
    EXPECT_TRUE(prvek(cap, "AA0226", "1-6").empty());
    EXPECT_EQ(prvek(cap, "AA0226", "1-5"), (Rows{"12;EL030;;;AA0226;1-5;1-6"}));
    EXPECT_EQ(prvek(cap, "AA0226", "7-12"), (Rows{"12;EL030;;;AA0226;7-12;délka 3"_cp}));
    EXPECT_EQ(PTabEsw[P_AA0226], 'E');
}

TEST(KPre, SubmitterNumberValidButUnknownGivesER202) {
    ReportCapture cap;
    EXPECT_EQ(prvek(cap, "ICOpredkladatele", "12345679"),
              (Rows{"12;ER202;;;ICOpredkladatele;12345679;   "}));
    EXPECT_EQ(l_predkladatel, 12345679u);
    EXPECT_TRUE(prvek(cap, "ICOpredkladatele", "10000003").empty());
    EXPECT_EQ(l_predkladatel, 10000003u);
    EXPECT_EQ(PTabEsw[P_ICOpredkladatele], ' ');
}

TEST(KPre, SubmitterNumberOfWrongLengthIsNeitherCheckedNorKept) {
    ReportCapture cap;
    prvek(cap, "ICOpredkladatele", "10000003");
    EXPECT_EQ(prvek(cap, "ICOpredkladatele", "1234567"),
              (Rows{"12;ESICO;;;ICOpredkladatele;1234567;délka 8"_cp}));
    EXPECT_EQ(PTabEsw[P_ICOpredkladatele], 'E');
    EXPECT_EQ(l_predkladatel, 10000003u);
}

TEST(KPre, NamesAndAuthorBelowTheRangeGetAnEmptyExpectedText) {
    ReportCapture cap;
    EXPECT_TRUE(prvek(cap, "predkladatel", "Obec Lhota").empty());
    EXPECT_EQ(prvek(cap, "predkladatel", "*Obec*"), (Rows{"12;ESPRE;;;predkladatel;*Obec*;"}));
    EXPECT_EQ(prvek(cap, "predkladatel", "-Obec"), (Rows{"12;ESPRE;;;predkladatel;-Obec;"}));
    EXPECT_EQ(prvek(cap, "predkladatel", "Obec"),
              (Rows{"12;ESPRE;;;predkladatel;Obec;délka 5 - 127"_cp}));
    EXPECT_EQ(prvek(cap, "autor", "J"), (Rows{"12;ESAUT;;;autor;J;délka 2 - 50"_cp}));
    EXPECT_EQ(prvek(cap, "autor", "(JN)"), (Rows{"12;ESAUT;;;autor;(JN);"}));
    EXPECT_TRUE(prvek(cap, "autor", "Žofie"_cp).empty());  // above "0", below "ý"
}
