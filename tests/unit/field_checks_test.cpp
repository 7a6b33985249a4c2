// Single-value checks: the check digit of identification numbers (also of
// texts that are not digits), the employer's date, the facility code that
// extends the employer identification, the e-mail form and the duplicate-
// employer table with its limit of 100.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "src/checks/field_checks.h"
#include "src/elements/tables.h"
#include "src/state/run_state.h"
#include "src/xml/cp1250.h"
#include "src/xml/reader.h"
#include "tests/unit/employee_record.h"
#include "tests/unit/report_capture.h"

using namespace quelt;
using quelt::test::nalezy;
using quelt::test::ReportCapture;

using Rows = std::vector<std::string>;

// 0 when the check digit matches the remainder of the weighted sum, 1 when
// it does not, 2 for a length other than eight.
TEST(ChkICO, CheckDigitFromTheRemainder) {
    const std::pair<const char*, int> cases[] = {
        {"12345679", 0},
        {"00000001", 0},  // remainder 0: check digit 1
        {"00000400", 0},  // remainder 1: check digit 0
        {"10000003", 0}, {"12345678", 1}, {"00000000", 1}, {"00000410", 1},
        {"", 2}, {"1234567", 2}, {"123456790", 2}, {" 12345679", 2},
        // Characters are not tested for digits.
        {"1234567A", 1},
        {":0000008", 0},  // ':' counts as 10: sum 80, remainder 3, check digit 8
        // A blank counts as -16: sum -128, remainder -7 (sign of the sum), 18 - 10 = 8.
        {" 0000008", 0},
        // Bytes are unsigned: 0xFD counts as 205, sum 1640, remainder 1, check digit 0.
        {"\xFD" "0000000", 0}, {"\xFD" "0000002", 1},
        {"0000000A", 1},  // a check "digit" that no remainder gives never matches
    };
    for (const auto& [ico, rc] : cases) EXPECT_EQ(chk_ICO(ico), rc) << ico;
}

TEST(ChkICO, SubmitterNumberFailsWithEL031AndMarksTheRow) {
    ReportCapture cap;
    cislo_radky = 12;
    EXPECT_EQ(chk_ICOPredkladatele("12345679"), 0);
    EXPECT_EQ(PTabEsw[P_ICOpredkladatele], ' ');
    EXPECT_EQ(chk_ICOPredkladatele("12345678"), 1);
    EXPECT_EQ(PTabEsw[P_ICOpredkladatele], 'E');
    EXPECT_EQ(cap.rows(), (Rows{"12;EL031;;;ICOpredkladatele;12345678;   ;"
                                "Neplatné IČO."_cp}));
}

TEST(ChkICO, EmployerNumberFailsWithEL031AndMarksTheRow) {
    ReportCapture cap;
    cislo_radky = 30;
    set_telicokod("1234567A");
    EXPECT_EQ(chk_AA0017("1234567A"), 1);
    EXPECT_EQ(TTabEsw[T_AA0017], 'E');
    EXPECT_EQ(PTabEsw[P_ICOpredkladatele], ' ');
    EXPECT_EQ(nalezy(cap, "EL031"), (Rows{"30;EL031;1234567A;;AA0017;1234567A;   "}));
    EXPECT_EQ(chk_AA0017("1234567"), 1);  // length: the same finding
    EXPECT_EQ(nalezy(cap, "EL031").size(), 2u);
}

TEST(ChkAA0110, MonthsAndDaysWithoutLeapYears) {
    ReportCapture cap;
    cislo_radky = 8;
    for (const char* ok : {"20100101", "20100228", "20100630", "20100731", "20101130", "20101231",
                           "20100831"})
        EXPECT_EQ(chk_AA0110(ok), 0) << ok;
    EXPECT_TRUE(cap.rows().empty());
    const char* bad[] = {"20100229", "20080229", "20100631", "20100431", "20100931", "20101131",
                         "20101301", "20100001", "20100100", "20100132", "20109901"};
    for (const char* b : bad) EXPECT_EQ(chk_AA0110(b), 1) << b;
    const Rows rows = nalezy(cap, "EL050");
    ASSERT_EQ(rows.size(), std::size(bad));
    EXPECT_EQ(rows[0], "8;EL050;;;AA0110;20100229;   ");
}

TEST(ChkAA0110, ComparedAsTextsNotNumbers) {
    ReportCapture cap;
    // "0A" sorts between "01" and "12"; " 5" sorts below "01".
    EXPECT_EQ(chk_AA0110("20100A01"), 0);
    EXPECT_EQ(chk_AA0110("201006 5"), 1);
    EXPECT_EQ(chk_AA0110("2010023A"), 1);  // "3A" is above "31"
    EXPECT_EQ(chk_AA0110("2010"), 1);      // a short text: empty month and day
}

TEST(ChkAA0113, EmptyCodeGivesNothing) {
    ReportCapture cap;
    set_telicokod("10000003");
    EXPECT_EQ(chk_AA0113(""), 0);
    EXPECT_STREQ(telicokod, "10000003");
    EXPECT_TRUE(cap.rows().empty());
}

TEST(ChkAA0113, CodeExtendsTheIdentificationBeforeItsOwnRow) {
    ReportCapture cap;
    cislo_radky = 31;
    set_telicokod("10000003");
    EXPECT_EQ(chk_AA0113("ABC"), 1);
    EXPECT_STREQ(telicokod, "10000003/ABC");
    EXPECT_EQ(nalezy(cap, "WL054"), (Rows{"31;WL054;10000003/ABC;;AA0113;ABC;   "}));
}

TEST(ChkAA0113, IdentificationIsCutAtNineteenCharacters) {
    ReportCapture cap;
    set_telicokod("10000003");
    chk_AA0113("ABCDEFGHIJ");
    EXPECT_STREQ(telicokod, "10000003/ABCDEFGHIJ");  // exactly 19
    chk_AA0113("XY");  // a second code finds no room
    EXPECT_STREQ(telicokod, "10000003/ABCDEFGHIJ");
    set_telicokod("10000003");
    chk_AA0113("ABCDEF");
    chk_AA0113("WXYZ");
    EXPECT_STREQ(telicokod, "10000003/ABCDEF/WXY");
    EXPECT_EQ(nalezy(cap, "WL054").size(), 4u);
}

TEST(ChkEposta, AcceptedForms) {
    ReportCapture cap;
    for (const char* ok : {"jan.novak@firma.cz", "ab@c.cz", "ab@c.cz.", "a@b@c.cz", "a@b..cz",
                           "x.y@z.", "a.@b.c"})
        EXPECT_EQ(chk_eposta(ok), 0) << ok;
    EXPECT_TRUE(cap.rows().empty());
}

TEST(ChkEposta, RejectedFormsGiveOneFindingEach) {
    ReportCapture cap;
    cislo_radky = 15;
    const char* bad[] = {
        "abccz",          // neither "." nor "@"
        "ab@cz",          // no "."
        "ab.cz",          // no "@"
        "abc@cz.",        // the only "." is the last character
        ".ab@c.cz",       // begins with "."
        "@ab.cz",         // begins with "@"
        "ab.c@",          // ends with "@"
        "a.b@cz",         // the only "." stands before the "@"
        "a b@c.cz",       // a blank
        " .@. @ ",        // several defects, still one finding
    };
    for (const char* b : bad) EXPECT_EQ(chk_eposta(b), 1) << b;
    const Rows rows = nalezy(cap, "ESEMA");
    ASSERT_EQ(rows.size(), std::size(bad));
    EXPECT_EQ(rows[0], "15;ESEMA;;;mail;abccz;   ");
}

namespace {

// The identity of the n-th distinct employer of a test.
std::string identita(int n) {
    char t[16];
    std::snprintf(t, sizeof t, "%08d", 71000000 + n);
    return t;
}

}  // namespace

TEST(ChkZamId, RepeatGivesEL074WithTheElementsOfTheIdentity) {
    ReportCapture cap;
    cislo_radky = 40;
    EXPECT_EQ(chk_ZamId("10000003"), 0);
    EXPECT_EQ(chk_ZamId("10000003/ABC"), 0);
    EXPECT_EQ(chk_ZamId("10000003"), 1);
    EXPECT_EQ(chk_ZamId("10000003/ABC"), 1);
    EXPECT_EQ(chk_ZamId("10000003/AB"), 0);  // exact comparison
    EXPECT_EQ(nalezy(cap, "EL074"), (Rows{"40;EL074;;;AA0017 ;10000003;   ",
                                          "40;EL074;;;AA0017/AA0113;10000003/ABC;   "}));
}

TEST(ChkZamId, TableKeepsAHundredAndReportsTheHundredAndFirstOnce) {
    ReportCapture cap;
    cislo_radky = 50;
    for (int i = 0; i < 100; ++i) ASSERT_EQ(chk_ZamId(identita(i).c_str()), 0) << i;
    EXPECT_TRUE(cap.rows().empty());
    EXPECT_EQ(chk_ZamId(identita(100).c_str()), 1);
    EXPECT_EQ(cap.rows().size(), 1u);
    EXPECT_EQ(nalezy(cap, "WL901"), (Rows{"50;WL901;;;zamestnavatel;71000100;   "}));
    EXPECT_EQ(chk_ZamId(identita(101).c_str()), 1);  // the 102nd: nothing
    EXPECT_EQ(cap.rows().size(), 1u);
    // A repeat of a stored identity is still found; one not stored is not.
    EXPECT_EQ(chk_ZamId(identita(0).c_str()), 1);
    EXPECT_EQ(chk_ZamId(identita(99).c_str()), 1);
    EXPECT_EQ(chk_ZamId(identita(100).c_str()), 1);
    EXPECT_EQ(nalezy(cap, "EL074"), (Rows{"50;EL074;;;AA0017 ;71000000;   ",
                                          "50;EL074;;;AA0017 ;71000099;   "}));
    EXPECT_EQ(nalezy(cap, "WL901").size(), 1u);
}

TEST(ChkZamId, TableSpansTheRunUntilItIsReset) {
    {
        ReportCapture cap;
        chk_ZamId("10000003");
        chk_ZamId("10000003");  // the same employer again, later in the run
        EXPECT_EQ(nalezy(cap, "EL074").size(), 1u);
    }
    ReportCapture fresh;  // a new run starts empty
    EXPECT_EQ(chk_ZamId("10000003"), 0);
    EXPECT_TRUE(fresh.rows().empty());
}
