// Submitter header rules: unknown names, the length check that ends an
// element's checking, the text ranges with the catalogue's expected texts,
// and the own checks of the identification number and the e-mail address.
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

TEST(KPre, SubmitterNumberWithWrongCheckDigitIsKeptNotLookedUp) {
    ReportCapture cap;
    EXPECT_EQ(prvek(cap, "ICOpredkladatele", "12345678"),
              (Rows{"12;EL031;;;ICOpredkladatele;12345678;   "}));
    EXPECT_EQ(PTabEsw[P_ICOpredkladatele], 'E');
    EXPECT_EQ(l_predkladatel, 12345678u);
    // Not a digit: no form check of its own, the check digit catches it.
    EXPECT_EQ(prvek(cap, "ICOpredkladatele", "1234567A"),
              (Rows{"12;EL031;;;ICOpredkladatele;1234567A;   "}));
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

TEST(KPre, MailRangeAndFormAreTwoFindings) {
    ReportCapture cap;
    EXPECT_TRUE(prvek(cap, "mail", "jan.novak@obec.cz").empty());
    EXPECT_EQ(prvek(cap, "mail", "a.b@cz"), (Rows{"12;ESEMA;;;mail;a.b@cz;   "}));
    EXPECT_EQ(prvek(cap, "mail", "(ab@cz"), (Rows{"12;ESEMA;;;mail;(ab@cz;jmeno@example.cz",
                                                  "12;ESEMA;;;mail;(ab@cz;   "}));
    EXPECT_EQ(prvek(cap, "mail", "-a@b.cz"), (Rows{"12;ESEMA;;;mail;-a@b.cz;jmeno@example.cz"}));
    // An empty address fails its length; the form is not checked.
    EXPECT_EQ(prvek(cap, "mail", ""), (Rows{"12;ESEMA;;;mail;;délka 6 - 50"_cp}));
}

TEST(KPre, Telephone) {
    ReportCapture cap;
    EXPECT_TRUE(prvek(cap, "telefon", "+420123456789").empty());
    EXPECT_TRUE(prvek(cap, "telefon", "+420 123 456 789").empty());
    EXPECT_TRUE(prvek(cap, "telefon", "123456789").empty());
    EXPECT_EQ(prvek(cap, "telefon", "12345678"),
              (Rows{"12;WSTEL;;;telefon;12345678;délka 9 - 50"_cp}));
    EXPECT_EQ(prvek(cap, "telefon", "(420)123456"),
              (Rows{"12;WSTEL;;;telefon;(420)123456;nnnnnnnn"}));
}

TEST(KPre, CreationTimeIsComparedAsText) {
    ReportCapture cap;
    EXPECT_TRUE(prvek(cap, "vytvoreno", "2010-07-15T08:00:00").empty());
    EXPECT_TRUE(prvek(cap, "vytvoreno", "2010-07-15 08:00:00").empty());
    EXPECT_TRUE(prvek(cap, "vytvoreno", "2010-06-01T00:00:00").empty());
    EXPECT_TRUE(prvek(cap, "vytvoreno", "2010-08-31T23:59:59").empty());
    EXPECT_EQ(prvek(cap, "vytvoreno", "2010-09-01T08:00:00"),
              (Rows{"12;ESVYT;;;vytvoreno;2010-09-01T08:00:00;"
                    "2010-06-01T00:00:00 až 2010-08-31T23:59"_cp}));
    EXPECT_EQ(prvek(cap, "vytvoreno", "2010-05-31T23:59:59").size(), 1u);
    EXPECT_EQ(prvek(cap, "vytvoreno", "2010-07-15"),
              (Rows{"12;ESVYT;;;vytvoreno;2010-07-15;délka 19"_cp}));
}
