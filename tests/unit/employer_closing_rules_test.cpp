// Employer closing rules: the employer's element counts, the checks across
// the records of one employee (groups of two, three and eight), the headcount
// correction, the totals against the register sums, and the employer-wide
// rules on both sides of their record-count thresholds.
#include <gtest/gtest.h>

#include <string>

#include "src/checks/codebooks.h"
#include "src/state/run_state.h"
#include "tests/unit/employee_record.h"
#include "tests/unit/register_builder.h"

namespace quelt::test {
namespace {

constexpr LineNo kKonecZamestnavatele = 9000;

class EmployerClosing : public ::testing::Test {
protected:
    void SetUp() override {
        for (int r = 0; r < T_END; ++r) {
            TTabPre[r] = 1;
            TTabEsw[r] = ' ';
            TTabLin[r] = 10 + r;
        }
        // The tests add register entries without the record ends' sums; the
        // registered headcount is compared only where a test is about it.
        TTabEsw[T_AA0115] = 'E';
        set_telicokod("12345678");
        set_identnec("   ");
        sw_bylNEC = 'A';
        cislo_radky = kKonecZamestnavatele;
    }
    std::vector<std::string> po_uzavreni(std::string_view kod) {
        zpracuj_TELk();
        return nalezy(cap, kod);
    }
    // The start of a row: line, code, employer, employee.
    static std::string radek(const std::string& line, const char* kod, const char* kdo = "   ") {
        return line + ";" + kod + ";12345678;" + kdo + ";";
    }
    static void zamestnanci(int n, Zaznam vzor) {
        for (int i = 0; i < n; ++i) {
            const std::string id = "Z" + std::to_string(i);
            vzor.id = id.c_str();
            vzor.lin = 100 + i;
            pridej(vzor);
        }
    }

    ReportCapture cap;
};

TEST_F(EmployerClosing, CleanEmployerHasNoFindingAndReturnsToHeader) {
    zamestnanci(3, {});
    rezim_zprac = 'U';
    EXPECT_EQ(zpracuj_TELk(), 0);
    EXPECT_TRUE(cap.rows().empty()) << cap.text();
    EXPECT_EQ(rezim_zprac, 'H');
}

// ---- Step 1 ----

TEST_F(EmployerClosing, MissingAndRepeatedEmployerElements) {
    zamestnanci(1, {});
    TTabPre[T_AA0119] = 0;
    TTabPre[T_AA0116] = 2;
    set_identnec("LAST");  // left by the employer's last record
    zpracuj_TELk();
    EXPECT_EQ(nalezy(cap, "ES303"),
              std::vector<std::string>{radek("9000", "ES303") + "AA0119;   ;AA0119"});
    EXPECT_EQ(nalezy(cap, "ES304"), std::vector<std::string>{radek("9000", "ES304") + "AA0116;   ;2"});
}

// ---- Step 4: groups ----

TEST_F(EmployerClosing, GroupOfThreeDifferingInState) {
    pridej({.id = "A", .lin = 120, .stat = state_position("CZ")});
    pridej({.id = "B", .lin = 150});
    pridej({.id = "A", .lin = 180, .stat = state_position("CZ")});
    pridej({.id = "A", .lin = 240, .stat = state_position("SK")});
    EXPECT_EQ(po_uzavreni("EL003"),
              std::vector<std::string>{radek("120,180,240", "EL003", "A") + "AA0033;CZ;SK"});
}

TEST_F(EmployerClosing, StateNotInTheListShowsDashes) {
    pridej({.id = "A", .lin = 1, .stat = state_count()});
    pridej({.id = "A", .lin = 2, .stat = state_count()});  // both unknown: equal
    pridej({.id = "B", .lin = 3, .stat = state_position("SK")});
    pridej({.id = "B", .lin = 4, .stat = state_count()});
    EXPECT_EQ(po_uzavreni("EL003"),
              std::vector<std::string>{radek("3,4", "EL003", "B") + "AA0033;SK;---"});
}

TEST_F(EmployerClosing, GroupOfTwoReportsOnlyTheFirstDifferenceOfEachCheck) {
    pridej({.id = "A", .lin = 40, .pohlavi = '1', .vzdelani = 'M', .rok = 1970});
    pridej({.id = "A", .lin = 102, .pohlavi = '2', .vzdelani = 'K', .rok = 1971});
    EXPECT_EQ(po_uzavreni("EL003"),
              (std::vector<std::string>{radek("40,102", "EL003", "A") + "AA0211;1;2",
                                        radek("40,102", "EL003", "A") + "AA0223;M;K",
                                        radek("40,102", "EL003", "A") + "AA0231;1970;1971"}));
}

TEST_F(EmployerClosing, EachConsistencyCheckComparesWithTheFirstRecord) {
    pridej({.id = "A", .lin = 1, .rok = 1970});
    pridej({.id = "A", .lin = 2, .rok = 1970});
    pridej({.id = "A", .lin = 3, .rok = 1980});
    pridej({.id = "A", .lin = 4, .rok = 1990});
    EXPECT_EQ(po_uzavreni("EL003"),
              std::vector<std::string>{radek("1,2,3,4", "EL003", "A") + "AA0231;1970;1980"});
}

TEST_F(EmployerClosing, YearsOfEmploymentMayDiffer) {
    pridej({.id = "A", .lin = 1, .praxe1 = 1, .praxe2 = 2});
    pridej({.id = "A", .lin = 2, .praxe1 = 3, .praxe2 = 4});
    zpracuj_TELk();
    EXPECT_TRUE(cap.rows().empty()) << cap.text();
}

TEST_F(EmployerClosing, GroupOfEightTakesItsFirstSix) {
    for (int i = 1; i <= 8; ++i)
        pridej({.id = "A", .lin = 10 * i, .hodiny = 400, .rok = i <= 6 ? 1970 : 1999});
    zpracuj_TELk();
    EXPECT_TRUE(nalezy(cap, "EL003").empty());
    // 400 hours a record: above 1872 from the fifth record on, six take part.
    EXPECT_EQ(nalezy(cap, "WL007"),
              (std::vector<std::string>{
                  radek("10,20,30,40,50,60, ...... ", "WL007", "A") + "AA0132;      2000; <= 1872",
                  radek("10,20,30,40,50,60, ...... ", "WL007", "A") + "AA0132;      2400; <= 1872"}));
}

TEST_F(EmployerClosing, GroupFindingsCarryTheGroupsIdentifierCutToEleven) {
    pridej({.id = "ABCDEFGHIJKLM", .lin = 1, .pohlavi = '1'});
    pridej({.id = "ABCDEFGHIJKLM", .lin = 2, .pohlavi = '2'});
    EXPECT_EQ(po_uzavreni("EL003"),
              std::vector<std::string>{radek("1,2", "EL003", "ABCDEFGHIJK") + "AA0211;1;2"});
}

TEST_F(EmployerClosing, RecordsWithoutIdentifierDoNotSplitAGroup) {
    pridej({.id = "A", .lin = 1, .rok = 1970});
    pridej({.lin = 2, .rok = 1950});
    pridej({.id = "A", .lin = 3, .rok = 1971});
    EXPECT_EQ(po_uzavreni("EL003"),
              std::vector<std::string>{radek("1,3", "EL003", "A") + "AA0231;1970;1971"});
}

TEST_F(EmployerClosing, WL049WorkingTimeFundsOfTheHeadcountRelations) {
    pridej({.id = "A", .lin = 1, .fond = 40});
    pridej({.id = "A", .lin = 2, .fond = 39.99});
    pridej({.id = "B", .lin = 3, .fond = 40});
    pridej({.id = "B", .lin = 4, .fond = 40});
    pridej({.id = "C", .lin = 5, .fond = 40});
    pridej({.id = "C", .lin = 6, .fond = 40, .stav = 2});  // not in the headcount
    EXPECT_EQ(po_uzavreni("WL049"),
              std::vector<std::string>{radek("3,4", "WL049", "B") + "AA0131;     80.00;max. 79.99"});
}

TEST_F(EmployerClosing, WL049SkippedWhenTheFundOrStateFailedLast) {
    pridej({.id = "A", .lin = 1, .fond = 40});
    pridej({.id = "A", .lin = 2, .fond = 40});
    NTabEsw[N_AA0137] = 'E';
    EXPECT_TRUE(po_uzavreni("WL049").empty());
    NTabEsw[N_AA0137] = ' ';
    NTabEsw[N_AA0131] = 'E';
    EXPECT_TRUE(po_uzavreni("WL049").empty());
}

TEST_F(EmployerClosing, WL007RunningTotalOfHours) {
    pridej({.id = "A", .lin = 1, .hodiny = 1000});
    pridej({.id = "A", .lin = 2, .hodiny = 1000});
    pridej({.id = "A", .lin = 3, .hodiny = 1000});
    pridej({.id = "B", .lin = 4, .hodiny = 936});
    pridej({.id = "B", .lin = 5, .hodiny = 936});
    EXPECT_EQ(po_uzavreni("WL007"),
              (std::vector<std::string>{radek("1,2,3", "WL007", "A") + "AA0132;      2000; <= 1872",
                                        radek("1,2,3", "WL007", "A") + "AA0132;      3000; <= 1872"}));
}

TEST_F(EmployerClosing, WL007JustAboveAndSkippedWhenHoursFailedLast) {
    pridej({.id = "B", .lin = 4, .hodiny = 936});
    pridej({.id = "B", .lin = 5, .hodiny = 936.5});
    EXPECT_EQ(po_uzavreni("WL007").size(), 1u);
    NTabEsw[N_AA0132] = 'E';
    EXPECT_EQ(po_uzavreni("WL007").size(), 1u);
}

// ---- Step 4d and step 5 ----

TEST_F(EmployerClosing, EmployeeWithSeveralHeadcountRecordsCountsOnce) {
    pridej({.id = "A", .lin = 1});
    pridej({.id = "A", .lin = 2});
    pridej({.id = "A", .lin = 3});
    pridej({.id = "B", .lin = 4});
    pridej({.id = "B", .lin = 5, .stav = 2});
    TTabEsw[T_AA0115] = ' ';
    sumz_AA0137 = 4;  // as the record ends added them
    TTabSum[T_AA0115] = 2;
    EXPECT_TRUE(po_uzavreni("EL021").empty());
    EXPECT_EQ(sumz_AA0137, 2);
}

TEST_F(EmployerClosing, HeadcountCorrectionOfALargeGroupTakesItsFirstSix) {
    for (int i = 0; i < 8; ++i) pridej({.id = "A", .lin = i + 1});
    TTabEsw[T_AA0115] = ' ';
    sumz_AA0137 = 8;
    TTabSum[T_AA0115] = 1;
    EXPECT_EQ(po_uzavreni("EL021"),
              std::vector<std::string>{radek("18", "EL021") + "AA0115;         1;         3"});
}

TEST_F(EmployerClosing, EL020AverageHeadcountAgreesToFourDecimals) {
    TTabSum[T_AA0114] = 12.5;
    sumz_AA0136 = 12.50001;
    EXPECT_TRUE(po_uzavreni("EL020").empty());
    sumz_AA0136 = 12.5001;
    EXPECT_EQ(po_uzavreni("EL020"),
              std::vector<std::string>{radek("17", "EL020") + "AA0114;   12.5000;   12.5001"});
    TTabEsw[T_AA0114] = 'E';
    EXPECT_EQ(po_uzavreni("EL020").size(), 1u);
}

TEST_F(EmployerClosing, EL021AndEL022MustAgreeExactly) {
    TTabEsw[T_AA0115] = ' ';
    TTabSum[T_AA0115] = 3;
    sumz_AA0137 = 3;
    TTabSum[T_AA0118] = 1000000;
    sumz_AA0144 = 1000000;
    zpracuj_TELk();
    EXPECT_TRUE(cap.rows().empty()) << cap.text();

    sumz_AA0137 = 2;
    sumz_AA0144 = 999999.5;
    zpracuj_TELk();
    EXPECT_EQ(nalezy(cap, "EL021"),
              std::vector<std::string>{radek("18", "EL021") + "AA0115;         3;         2"});
    EXPECT_EQ(nalezy(cap, "EL022"),
              std::vector<std::string>{radek("19", "EL022") + "AA0118;   1000000;   1000000"});

    TTabEsw[T_AA0115] = 'E';
    TTabEsw[T_AA0118] = 'E';
    zpracuj_TELk();
    EXPECT_EQ(nalezy(cap, "EL021").size(), 1u);
    EXPECT_EQ(nalezy(cap, "EL022").size(), 1u);
}

TEST_F(EmployerClosing, TotalsFindingsCarryTheBlankEmployee) {
    pridej({.id = "A", .lin = 1, .stav = 2, .pohlavi = '1'});
    pridej({.id = "A", .lin = 2, .stav = 2, .pohlavi = '2'});
    TTabEsw[T_AA0115] = ' ';
    TTabSum[T_AA0115] = 7;
    EXPECT_EQ(po_uzavreni("EL021"),
              std::vector<std::string>{radek("18", "EL021") + "AA0115;         7;         0"});
}

// ---- Step 6 ----

TEST_F(EmployerClosing, WL042NeedsMoreThanFiftyRecordsAllInTheHeadcount) {
    zamestnanci(50, {});
    EXPECT_TRUE(po_uzavreni("WL042").empty());
    zamestnanci(1, {});
    EXPECT_EQ(po_uzavreni("WL042"), std::vector<std::string>{"   ;WL042;12345678;   ;   ;   ;   "});
    sw_anec_AA0137 = 2;
    EXPECT_EQ(po_uzavreni("WL042").size(), 1u);
}

TEST_F(EmployerClosing, WL053ThreeCharacterStateCode) {
    EXPECT_TRUE(po_uzavreni("WL053").empty());
    sw_anec_AA0033 = 1;
    lin_anec_AA0033 = 77;
    std::snprintf(val_anec_AA0033, sizeof val_anec_AA0033, "%s", "CZE");
    EXPECT_EQ(po_uzavreni("WL053"), std::vector<std::string>{radek("77", "WL053") + "AA0033;CZE;delka 2"});
}

TEST_F(EmployerClosing, EL081AndEL082FromFiftyRecords) {
    zamestnanci(49, {.vzdelani = 'A'});
    zpracuj_TELk();
    EXPECT_TRUE(nalezy(cap, "EL081").empty());
    EXPECT_TRUE(nalezy(cap, "EL082").empty());

    clear_register();
    zamestnanci(50, {.vzdelani = 'A'});
    zpracuj_TELk();
    EXPECT_EQ(nalezy(cap, "EL081"), std::vector<std::string>{radek("9000", "EL081") + "AA0223;A;   "});
    EXPECT_EQ(nalezy(cap, "EL082"), std::vector<std::string>{radek("9000", "EL082") + "AA0223;   ;   "});
}

TEST_F(EmployerClosing, EL081NotWhenOneRecordDiffers) {
    zamestnanci(49, {.vzdelani = 'M'});
    pridej({.id = "ZZ", .lin = 1, .vzdelani = 'K'});
    EXPECT_TRUE(po_uzavreni("EL081").empty());
}

TEST_F(EmployerClosing, EL082CountsCodesBelowCIncludingMissingOnes) {
    zamestnanci(25, {.vzdelani = 'M'});
    zamestnanci(12, {.vzdelani = 'B'});
    zamestnanci(12, {.vzdelani = ' '});
    zamestnanci(1, {.vzdelani = 'C'});
    EXPECT_TRUE(po_uzavreni("EL082").empty());  // 24 of 50
    clear_register();
    zamestnanci(24, {.vzdelani = 'M'});
    zamestnanci(25, {.vzdelani = 'A'});
    pridej({.lin = 1, .vzdelani = '\xC1'});  // no AA0126 and a byte above 127: still counted
    EXPECT_EQ(po_uzavreni("EL082").size(), 1u);  // 26 of 50
    EXPECT_EQ(sumz_AA0223_Z, 26);
}

TEST_F(EmployerClosing, EducationSummaryCountsRecordsWithoutIdentifier) {
    zamestnanci(49, {.vzdelani = 'A'});
    pridej({.lin = 1, .vzdelani = 'A'});
    zpracuj_TELk();
    EXPECT_EQ(nalezy(cap, "EL081").size(), 1u);
    EXPECT_EQ(nalezy(cap, "EL082").size(), 1u);
}

// With no record in the employee order (none has AA0126), the first record
// of the file stands first: its education is the one the others must share.
TEST_F(EmployerClosing, EducationOfRecordsWithoutIdentifierStartsWithTheFirst) {
    for (char first : {'A', 'K'}) {
        ReportCapture fresh;
        clear_register();
        pridej({.lin = 1, .vzdelani = first});
        for (int i = 1; i < 50; ++i) pridej({.lin = 1 + i, .vzdelani = 'A'});
        zpracuj_TELk();
        EXPECT_EQ(sav_AA0223, first);
        EXPECT_EQ(nalezy(fresh, "EL081").size(), first == 'A' ? 1u : 0u) << first;
    }
}

TEST_F(EmployerClosing, EL084FromTwentyRecords) {
    zamestnanci(19, {});
    sumz_EL084 = 19;
    EXPECT_TRUE(po_uzavreni("EL084").empty());
    zamestnanci(1, {});
    sumz_EL084 = 10;  // not more than half
    EXPECT_TRUE(po_uzavreni("EL084").empty());
    sumz_EL084 = 11;
    EXPECT_EQ(po_uzavreni("EL084"), std::vector<std::string>{radek("9000", "EL084") + "AA0165;   ;   "});
}

TEST_F(EmployerClosing, ES309EmployerWithoutRecords) {
    sw_bylNEC = 'N';
    TTabSum[T_AA0114] = 1.5;
    TTabSum[T_AA0118] = 100;
    zpracuj_TELk();
    const auto rows = cap.rows();
    ASSERT_EQ(rows.size(), 3u) << cap.text();
    EXPECT_EQ(bez_popisu(rows[0]), radek("17", "EL020") + "AA0114;    1.5000;    0.0000");
    EXPECT_EQ(bez_popisu(rows[1]), radek("19", "EL022") + "AA0118;       100;         0");
    EXPECT_EQ(bez_popisu(rows[2]), radek("9000", "ES309") + "   ;   ;   ");
}

TEST_F(EmployerClosing, FindingsComeInStepOrder) {
    TTabPre[T_AA0110] = 0;
    pridej({.id = "A", .lin = 1, .fond = 40, .pohlavi = '1', .vzdelani = 'A'});
    pridej({.id = "A", .lin = 2, .fond = 40, .pohlavi = '2', .vzdelani = 'A'});
    zamestnanci(48, {.vzdelani = 'A'});
    sumz_EL084 = 30;
    sw_anec_AA0033 = 1;
    lin_anec_AA0033 = 5;
    TTabEsw[T_AA0115] = ' ';
    TTabSum[T_AA0115] = 1;
    zpracuj_TELk();
    std::vector<std::string> kody;
    for (const std::string& row : cap.rows()) kody.push_back(kod_radku(row));
    EXPECT_EQ(kody, (std::vector<std::string>{"ES303", "WL049", "EL003", "EL021", "WL053", "EL081", "EL082",
                                              "EL084"}));
}

// ---- A large employer ----

TEST_F(EmployerClosing, HundredThousandRecordsInPairs) {
    konzole = nullptr;
    constexpr int n = 100000;
    char id[16];
    for (int i = 0; i < n; ++i) {
        // Every employee has two records, the second arriving half the file later.
        std::snprintf(id, sizeof id, "%07d", (n / 2 - 1) - i % (n / 2));
        pridej({.id = id, .lin = i + 1, .hodiny = 1000});
    }
    sumz_AA0137 = n;
    TTabEsw[T_AA0115] = ' ';
    TTabSum[T_AA0115] = n / 2;
    zpracuj_TELk();
    konzole = stdout;
    const auto wl007 = nalezy(cap, "WL007");
    ASSERT_EQ(wl007.size(), static_cast<std::size_t>(n / 2));
    EXPECT_EQ(wl007.front(), radek("50000,100000", "WL007", "0000000") + "AA0132;      2000; <= 1872");
    EXPECT_TRUE(nalezy(cap, "EL021").empty());
    EXPECT_EQ(nalezy(cap, "WL042").size(), 1u);
}

}  // namespace
}  // namespace quelt::test
