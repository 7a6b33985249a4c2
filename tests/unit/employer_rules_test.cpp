// Employer record rules: k_Tel's step order (number form before length,
// empty facility code, range findings that still run the row's action), the
// employer identity for the duplicate check, the stored totals, and the three
// plausibility checks at and beside the limits of their bands.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "src/checks/codebooks.h"
#include "src/elements/tables.h"
#include "src/rules/employee_register.h"
#include "src/rules/rules.h"
#include "src/state/run_state.h"
#include "src/xml/cp1250.h"
#include "src/xml/reader.h"
#include "tests/unit/employee_record.h"
#include "tests/unit/report_capture.h"

using namespace quelt;
using quelt::test::nalezy;
using quelt::test::ReportCapture;
using quelt::test::rows_written;

using Rows = std::vector<std::string>;

namespace {

// The report rows (without descriptions) of one employer element at a line.
Rows prvek(ReportCapture& cap, const char* name, const char* content, LineNo line = 30) {
    cislo_radky = line;
    return rows_written(cap, [&] { k_Tel(name, content); });
}

// A header that makes the provider look-ups quiet for the sample providers
// under 10000003.
void hlavicka() {
    l_predkladatel = 10000003;
    PTabEsw[P_rok] = ' ';
}

// Employer start as the section walk does it, with the identification it
// copies from AA0017 before the rules see it.
void novy_zamestnavatel(const char* ico) {
    for (int r = 0; r < T_END; ++r) {
        TTabPre[r] = 0;
        TTabSum[r] = 0.0;
    }
    start_employer_rules();
    set_telicokod(ico);
}

}  // namespace

TEST(KTel, UnknownNameGivesES301AndChangesNothing) {
    ReportCapture cap;
    cislo_radky = 30;
    EXPECT_EQ(k_Tel("AA0126", "abc"), 1);
    EXPECT_EQ(cap.rows(), (Rows{"30;ES301;;;AA0126;abc;3;Neznamý prvek"_cp}));
    for (int r = 0; r < T_END; ++r) {
        EXPECT_EQ(TTabPre[r], 0);
        EXPECT_EQ(TTabLin[r], 0);
        EXPECT_EQ(TTabSum[r], 0.0);
    }
}

TEST(KTel, OccurrenceIsCountedAtItsLine) {
    ReportCapture cap;
    hlavicka();
    prvek(cap, "AA0116", "12", 41);
    prvek(cap, "AA0116", "13", 42);
    EXPECT_EQ(TTabPre[T_AA0116], 2);
    EXPECT_EQ(TTabLin[T_AA0116], 42);
    EXPECT_EQ(TTabSum[T_AA0116], 13.0);
    EXPECT_EQ(TTabEsw[T_AA0116], ' ');
    prvek(cap, "AA0179", "CZ0100");
    EXPECT_EQ(TTabSum[T_AA0179], 123.0);  // text rows keep the start value
}

TEST(KTel, NumberFormComesBeforeLength) {
    ReportCapture cap;
    TTabSum[T_AA0116] = 7.0;
    EXPECT_EQ(prvek(cap, "AA0116", "12.5"), (Rows{"30;ES116;;;AA0116;12.5;"}));
    EXPECT_EQ(TTabEsw[T_AA0116], 'E');
    EXPECT_EQ(TTabSum[T_AA0116], 7.0);  // nothing stored
    EXPECT_EQ(atel_iAA0116, 0.0);
    // Too long and not a number: only the form is reported.
    EXPECT_EQ(prvek(cap, "AA0116", "1234567x"), (Rows{"30;ES116;;;AA0116;1234567x;"}));
    EXPECT_EQ(prvek(cap, "AA0116", "1234567"),
              (Rows{"30;ES116;;;AA0116;1234567;délka 1 - 6"_cp}));
    EXPECT_EQ(TTabSum[T_AA0116], 1234567.0);  // stored before the length check
    EXPECT_EQ(atel_iAA0116, 0.0);             // but the action did not run
    // Form R takes the decimal point.
    EXPECT_TRUE(prvek(cap, "AA0114", "12.5").empty());
    EXPECT_EQ(atel_iAA0114, 12.5);
    EXPECT_EQ(prvek(cap, "AA0114", "0"), (Rows{"30;EL057;;;AA0114;0;"}));
}

TEST(KTel, IdentificationNumberOfWrongLengthRunsNoAction) {
    ReportCapture cap;
    hlavicka();
    EXPECT_EQ(prvek(cap, "AA0017", "1000003"), (Rows{"30;ES017;;;AA0017;1000003;délka 8"_cp}));
    EXPECT_EQ(TTabEsw[T_AA0017], 'E');
    EXPECT_EQ(l_poskytovatel, 0u);
}

TEST(KTel, EightZerosFailTheRangeButStillRunTheAction) {
    ReportCapture cap;
    hlavicka();
    novy_zamestnavatel("00000000");
    EXPECT_EQ(prvek(cap, "AA0017", "00000000"),
              (Rows{"30;ES017;00000000;;AA0017;00000000;", "30;EL031;00000000;;AA0017;00000000;   ",
                    "30;WR204;00000000;;AA0017;00000000;   "}));
    EXPECT_EQ(TTabEsw[T_AA0017], 'E');
    // The identity became the eight zeros.
    prvek(cap, "AA0019", "301");
    novy_zamestnavatel("00000000");
    prvek(cap, "AA0017", "00000000");
    EXPECT_EQ(prvek(cap, "AA0019", "301"), (Rows{"30;EL074;00000000;;AA0017 ;00000000;   "}));
}

TEST(KTel, ProviderLookUpUsesTheLineOfAA0017) {
    ReportCapture cap;
    hlavicka();
    novy_zamestnavatel("40000001");
    EXPECT_EQ(prvek(cap, "AA0017", "40000001", 33),
              (Rows{"33;WR204;40000001;;ICOpredkladatele;10000003;20000006"}));
    EXPECT_TRUE(prvek(cap, "AA0017", "30000009").empty());
}

TEST(KTel, ProvidersFollowTheHeaderRead) {
    ReportCapture cap;
    // A submitter number with a wrong check digit is still the one compared.
    cislo_radky = 12;
    k_Pre("rok", "2010");
    k_Pre("ICOpredkladatele", "12345678");
    EXPECT_EQ(prvek(cap, "AA0017", "30000009"),
              (Rows{"30;WR204;;;ICOpredkladatele;12345678;10000003"}));
    // A failed year turns the provider look-up off until the year is met again.
    k_Pre("rok", "2011");
    EXPECT_TRUE(prvek(cap, "AA0017", "60000007").empty());
    k_Pre("rok", "2010");
    EXPECT_EQ(prvek(cap, "AA0017", "60000007"), (Rows{"30;WR204;;;AA0017;60000007;   "}));
}

TEST(KTel, EmptyFacilityCodeIsRejectedSilently) {
    ReportCapture cap;
    hlavicka();
    novy_zamestnavatel("10000003");
    prvek(cap, "AA0017", "10000003");
    EXPECT_TRUE(prvek(cap, "AA0113", "").empty());
    EXPECT_EQ(TTabEsw[T_AA0113], 'E');
    EXPECT_EQ(TTabPre[T_AA0113], 1);
    EXPECT_STREQ(telicokod, "10000003");
    EXPECT_TRUE(prvek(cap, "AA0019", "301").empty());
    // The identity is the bare number: the same employer again is a duplicate.
    novy_zamestnavatel("10000003");
    prvek(cap, "AA0017", "10000003");
    EXPECT_EQ(prvek(cap, "AA0019", "301"), (Rows{"30;EL074;10000003;;AA0017 ;10000003;   "}));
}

TEST(KTel, FacilityCodeExtendsIdentificationAndIdentity) {
    ReportCapture cap;
    hlavicka();
    novy_zamestnavatel("10000003");
    prvek(cap, "AA0017", "10000003");
    EXPECT_EQ(prvek(cap, "AA0113", "Z1", 31), (Rows{"31;WL054;10000003/Z1;;AA0113;Z1;   "}));
    EXPECT_TRUE(prvek(cap, "AA0019", "301").empty());
    // The same number with another facility code is another employer.
    novy_zamestnavatel("10000003");
    prvek(cap, "AA0017", "10000003");
    prvek(cap, "AA0113", "Z2");
    EXPECT_TRUE(prvek(cap, "AA0019", "301").empty());
    novy_zamestnavatel("10000003");
    prvek(cap, "AA0017", "10000003");
    prvek(cap, "AA0113", "Z1");
    EXPECT_EQ(prvek(cap, "AA0019", "301", 32),
              (Rows{"32;EL074;10000003/Z1;;AA0017/AA0113;10000003/Z1;   "}));
    // Later rows of the employer show the extended identification.
    EXPECT_EQ(prvek(cap, "AA0179", "CZ0999"), (Rows{"30;EL056;10000003/Z1;;AA0179;CZ0999;   "}));
}

TEST(KTel, IdentityIsNeverClearedOnlyRestartedAndCutAtNineteen) {
    ReportCapture cap;
    hlavicka();
    novy_zamestnavatel("10000003");
    prvek(cap, "AA0017", "10000003");
    prvek(cap, "AA0113", "ABCDEFGHIJ");
    prvek(cap, "AA0113", "KL");  // no room left in 19 characters
    EXPECT_STREQ(telicokod, "10000003/ABCDEFGHIJ");
    EXPECT_TRUE(prvek(cap, "AA0019", "301").empty());
    // An employer without an accepted AA0017 inherits the identity.
    novy_zamestnavatel("");
    prvek(cap, "AA0017", "1000000");  // length failure: no restart
    EXPECT_EQ(prvek(cap, "AA0019", "301"),
              (Rows{"30;EL074;;;AA0017/AA0113;10000003/ABCDEFGHIJ;   "}));
    // The legal form alone checks whatever identity there is.
    novy_zamestnavatel("");
    EXPECT_EQ(nalezy(cap, "EL074").size(), 1u);
    prvek(cap, "AA0019", "301");
    EXPECT_EQ(nalezy(cap, "EL074").size(), 2u);
}

TEST(KTel, BeforeAnyNumberTheEmptyIdentityIsCheckedToo) {
    ReportCapture cap;
    EXPECT_TRUE(prvek(cap, "AA0019", "301").empty());
    EXPECT_EQ(prvek(cap, "AA0019", "301"), (Rows{"30;EL074;;;AA0017/AA0113;;   "}));
}

TEST(KTel, IdentityFromAFacilityCodeAloneBeforeAnyNumber) {
    ReportCapture cap;
    prvek(cap, "AA0113", "Z1");
    EXPECT_TRUE(prvek(cap, "AA0019", "301").empty());
    prvek(cap, "AA0113", "Z1");  // appends once more: "/Z1/Z1"
    EXPECT_TRUE(prvek(cap, "AA0019", "301").empty());
}

TEST(KTel, TextRowsTheirRangesAndActions) {
    ReportCapture cap;
    prvek(cap, "AA0019", "999");
    prvek(cap, "AA0019", "{01");
    prvek(cap, "AA0019", "30");
    EXPECT_EQ(nalezy(cap, "EL055"), (Rows{"30;EL055;;;AA0019;999;   ", "30;EL055;;;AA0019;{01;   "}));
    EXPECT_EQ(nalezy(cap, "ES019"), (Rows{"30;ES019;;;AA0019;{01;", "30;ES019;;;AA0019;30;délka 3"_cp}));
    EXPECT_EQ(prvek(cap, "AA0179", "CZ0A12"),
              (Rows{"30;ES179;;;AA0179;CZ0A12;CZ0nnn", "30;EL056;;;AA0179;CZ0A12;   "}));
    EXPECT_TRUE(prvek(cap, "AA0110", "20100630").empty());
    EXPECT_EQ(prvek(cap, "AA0110", "20100631"), (Rows{"30;EL050;;;AA0110;20100631;   "}));
    EXPECT_EQ(prvek(cap, "AA0110", "20101301"),
              (Rows{"30;ES110;;;AA0110;20101301;20100601-20100831",
                    "30;EL050;;;AA0110;20101301;   "}));
    EXPECT_EQ(TTabEsw[T_AA0110], 'E');
}

TEST(KTel, TotalsRejectedOnlyByTheRangeAreStored) {
    ReportCapture cap;
    EXPECT_EQ(prvek(cap, "AA0116", "-1"), (Rows{"30;ES116;;;AA0116;-1;"}));
    EXPECT_EQ(atel_iAA0116, -1.0);
    prvek(cap, "AA0123", "+5");
    prvek(cap, "AA0118", "10");
    prvek(cap, "AA0119", "x");
    EXPECT_EQ(atel_iAA0123, 5.0);
    EXPECT_EQ(atel_iAA0118, 10.0);
    EXPECT_EQ(atel_iAA0119, 0.0);
}

TEST(KTel, EmployerStartClearsThreeTotalsOnly) {
    ReportCapture cap;
    atel_iAA0114 = atel_iAA0115 = atel_iAA0116 = 1.0;
    atel_iAA0118 = atel_iAA0119 = atel_iAA0123 = 2.0;
    start_employer_rules();
    EXPECT_EQ(atel_iAA0114 + atel_iAA0115 + atel_iAA0116, 0.0);
    EXPECT_EQ(atel_iAA0118 + atel_iAA0119 + atel_iAA0123, 6.0);
}

TEST(KTel, HeadcountCheckRunsWhenAA0115ArrivesWithWhatIsStored) {
    ReportCapture cap;
    prvek(cap, "AA0116", "1300", 40);
    prvek(cap, "AA0114", "1000", 41);
    EXPECT_EQ(prvek(cap, "AA0115", "0", 42),
              (Rows{"40;WL063;;;AA0116;        1300;      800.00 -      1200.00"}));
    // AA0115 before AA0114: the average counts as 0.
    novy_zamestnavatel("");
    prvek(cap, "AA0116", "300", 50);
    EXPECT_EQ(prvek(cap, "AA0115", "0", 51),
              (Rows{"51;EL064;;;AA0116;         300;        0.00 -       100.00"}));
}

TEST(KTel, BudgetCheckRunsWhenAA0119ArrivesWithEarlierEmployersValues) {
    ReportCapture cap;
    prvek(cap, "AA0123", "1500000", 60);
    prvek(cap, "AA0118", "1000000", 61);
    EXPECT_EQ(prvek(cap, "AA0119", "0", 62),
              (Rows{"60;WL061;;;AA0123;     1500000;     1600000 -      2400000"}));
    // The next employer leaves AA0118 and AA0123 out: the earlier ones count.
    novy_zamestnavatel("");
    EXPECT_EQ(prvek(cap, "AA0119", "500000", 70),
              (Rows{"60;WL061;;;AA0123;     1500000;      800000 -      1200000"}));
}

namespace {

// A case of a plausibility check: the two stored values it reads, the value
// checked, and what it writes: nothing (""), one row that begins with the
// given line and code ("40;WL063"), or one whole row without its description.
struct BandCase {
    double p, q, x;
    const char* row;
};

// Runs the check on each case; its result must say whether it wrote a row.
template <typename Check>
void check_cases(Check check, std::initializer_list<BandCase> cases) {
    ReportCapture cap;
    for (const BandCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.p << " " << c.q << " " << c.x);
        int rc = -1;
        const Rows rows = rows_written(cap, [&] { rc = check(c.p, c.q, c.x); });
        EXPECT_EQ(rc, rows.empty() ? 0 : 1);
        const std::string_view want = c.row;
        if (want.empty() || want.find(';') != want.rfind(';')) {
            EXPECT_EQ(rows, want.empty() ? Rows{} : Rows{c.row});
            continue;
        }
        EXPECT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows.empty() ? "" : rows[0].substr(0, want.size() + 1), std::string(want) + ";");
    }
}

// chk_AA0116 with the average headcount a, the average recount b and the
// budgeted headcount x, reported at line 42 with AA0116 at line 40.
int pocty(double a, double b, double x) {
    atel_iAA0114 = a;
    atel_iAA0115 = b;
    TTabLin[T_AA0116] = 40;
    cislo_radky = 42;
    return chk_AA0116(x);
}

// chk_AA0123 with the salaries paid p and those from other sources o, AA0123
// at line 60.
int rozpocet(double p, double o, double x) {
    atel_iAA0118 = p;
    atel_iAA0119 = o;
    TTabLin[T_AA0123] = 60;
    cislo_radky = 62;
    return chk_AA0123(x);
}

// chk_AA0118 for an employer with n employee records, AA0118 at line 70.
int platy(double prumer, double n, double x) {
    atel_iAA0114 = prumer;
    maxAktiAnec = static_cast<int>(n) - 1;
    TTabLin[T_AA0118] = 70;
    cislo_radky = 90;
    return chk_AA0118(x);
}

}  // namespace

TEST(ChkAA0116, WarningBandAndItsLimits) {
    check_cases(pocty, {
        {1000, 0, 1300, "40;WL063;;;AA0116;        1300;      800.00 -      1200.00"},
        {1000, 0, 1200, ""}, {1000, 0, 800, ""}, {1000, 0, 1201, "40;WL063"}, {1000, 0, 799, "40;WL063"},
        {5, 5, 50, "40;WL063;;;AA0116;          50;        0.00 -        15.00"},
        // Within 10 of the average: agreement, however far outside the band.
        {5, 0, 15, ""}, {5, 0, 16, "40;WL063"},
        // Within 10 of the recount but far from the average: no finding.
        {1000, 1305, 1300, ""}, {1000, 1290, 1300, ""}, {1000, 1289, 1300, "40;WL063"},
    });
}

TEST(ChkAA0116, ErrorBandAndItsLimits) {
    check_cases(pocty, {
        {1000, 0, 9001, "42;EL064;;;AA0116;        9001;      110.00 -      9000.00"},
        // At the limit 9·A it is no error, but outside the warning band.
        {1000, 0, 9000, "40;WL063;;;AA0116;        9000;      800.00 -      1200.00"},
        {1000, 0, 109, "42;EL064"}, {1000, 0, 110, "40;WL063"},
        // A difference of exactly 100 counts as agreement for the error band.
        {5, 0, 105, "40;WL063"},
        {5, 0, 106, "42;EL064;;;AA0116;         106;        0.00 -       105.00"},
        {5, 7, 106, "40;WL063"}, {0, 0, 0, ""},
    });
}

TEST(ChkAA0123, BandsAroundTwiceThePayAndTheirLimits) {
    check_cases(rozpocet, {
        {1500000, 500000, 2000000, ""},
        {1500000, 500000, 1500000, "60;WL061;;;AA0123;     1500000;     1600000 -      2400000"},
        {1500000, 500000, 100000, "60;EL062;;;AA0123;      100000;      220000 -     18000000"},
        // The limits are inside.
        {1000000, 0, 1600000, ""}, {1000000, 0, 2400000, ""},
        {1000000, 0, 1599999, "60;WL061"}, {1000000, 0, 2400001, "60;WL061"},
        {1000000, 0, 220000, "60;WL061"}, {1000000, 0, 219999, "60;EL062"},
        {1000000, 0, 18000000, "60;WL061"}, {1000000, 0, 18000001, "60;EL062"},
        // 0.22 · 5 = 1.1 prints as 2 with the added 0.49; 18 · 5 = 90.
        {5, 0, 0, "60;EL062;;;AA0123;           0;           2 -           90"},
        // Negative pay fails every budget.
        {0, 1000, 0, "60;EL062"}, {0, 1000, 1, "60;EL062"}, {0, 1000, 1000000, "60;EL062"},
    });
}

TEST(ChkAA0118, PaidSalariesOfEmployersWithMoreThanTwentyRecords) {
    check_cases(platy, {
        {30.5, 21, 1000000, "70;EL058;;;AA0118;   1000000;>  1198650.00"},
        {30.5, 20, 1000000, ""}, {30.5, 0, 1000000, ""},
        // Reaching six times the first tariff exactly is enough.
        {30.5, 21, 1198650, ""}, {30.5, 21, 1198649, "70;EL058"},
    });
}
