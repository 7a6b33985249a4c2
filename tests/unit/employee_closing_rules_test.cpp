// Employee closing rules: the occurrence checks, each of the 24 combined
// rules just inside and just outside its limit and with a failed gate element,
// the hourly-earnings count, and what the record adds to the employer's sums.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "src/rules/employee_register.h"
#include "src/state/run_state.h"
#include "tests/unit/employee_record.h"

namespace quelt::test {
namespace {

class EmployeeClosing : public ::testing::Test {
protected:
    void SetUp() override { cisty_zaznam(); }

    // Runs the closing rules once more; gives every row of the code so far.
    std::vector<std::string> po_kontrole(std::string_view kod) {
        k_NecK();
        return nalezy(cap, kod);
    }
    // The start of a row of this record: line, code, employer, employee.
    static std::string radek(LineNo line, const char* kod) {
        return std::to_string(line) + ";" + kod + ";12345678;E1;";
    }
    static std::string u_prvku(int row, const char* kod) { return radek(radek_prvku(row), kod); }

    ReportCapture cap;
};

TEST_F(EmployeeClosing, CleanRecordHasNoFinding) {
    k_NecK();
    EXPECT_TRUE(cap.rows().empty()) << cap.text();
    EXPECT_EQ(sumz_EL084, 0);
}

// ---- Occurrences ----

TEST_F(EmployeeClosing, MissingAndRepeatedElementsAtRecordEnd) {
    NTabPre[N_AA0165] = 0;
    NTabPre[N_AA0133] = 2;
    k_NecK();
    EXPECT_EQ(nalezy(cap, "ES303"),
              std::vector<std::string>{radek(kKonecZaznamu, "ES303") + "AA0165;   ;AA0165"});
    EXPECT_EQ(nalezy(cap, "ES304"),
              std::vector<std::string>{radek(kKonecZaznamu, "ES304") + "AA0133;   ;2"});
}

TEST_F(EmployeeClosing, OccurrencesAreReportedInTableOrderBeforeTheRules) {
    NTabPre[N_AA0690] = 0;
    NTabPre[N_AA0126] = 0;
    NTabSum[N_AA0218] = 182;  // EL077 and EL071
    k_NecK();
    const auto rows = cap.rows();
    ASSERT_GE(rows.size(), 3u);
    EXPECT_EQ(kod_radku(rows[0]) + bez_popisu(rows[0]).substr(bez_popisu(rows[0]).rfind(';')),
              "ES303;AA0126");
    EXPECT_EQ(kod_radku(rows[1]) + bez_popisu(rows[1]).substr(bez_popisu(rows[1]).rfind(';')),
              "ES303;AA0690");
    EXPECT_NE(kod_radku(rows[2]), "ES303");
}

// ---- 1. EL006 ----

TEST_F(EmployeeClosing, EL006DaysInRegisterAgainstYearsOfEmployment) {
    NTabSum[N_AA0218] = 181;  // y = 0.49
    NTabSum[N_AA0225] = 0.49;
    NTabSum[N_AA0216] = 0;
    EXPECT_TRUE(po_kontrole("EL006").empty());

    NTabSum[N_AA0225] = 0.28;
    NTabSum[N_AA0216] = 0.20;
    EXPECT_EQ(po_kontrole("EL006"), std::vector<std::string>{u_prvku(N_AA0225, "EL006") +
                                                             "AA0225 + AA0216;      0.48;>=       0.49"});
}

// The run's first record without AA0225: the element was never seen, its line
// column holds 0, and the row's line is one blank.
TEST_F(EmployeeClosing, EL006OfAFirstRecordWithoutYearsOfEmploymentHasABlankLine) {
    NTabPre[N_AA0225] = 0;
    NTabLin[N_AA0225] = 0;
    NTabSum[N_AA0225] = 0;
    NTabSum[N_AA0216] = 0;
    NTabSum[N_AA0218] = 181;
    EXPECT_EQ(po_kontrole("EL006"),
              std::vector<std::string>{" ;EL006;12345678;E1;AA0225 + AA0216;      0.00;>=       0.49"});
}

TEST_F(EmployeeClosing, EL006WholeYearCountsAsOne) {
    NTabSum[N_AA0218] = 365;
    NTabSum[N_AA0225] = 1;
    NTabSum[N_AA0216] = 0;
    EXPECT_TRUE(po_kontrole("EL006").empty());
    NTabSum[N_AA0225] = 0.99;
    EXPECT_EQ(po_kontrole("EL006"), std::vector<std::string>{u_prvku(N_AA0225, "EL006") +
                                                             "AA0225 + AA0216;      0.99;>=       1.00"});
}

// ---- 2. WL009 ----

TEST_F(EmployeeClosing, WL009HoursBelowTheRegisterCount) {
    NTabSum[N_AA0219] = 0;
    NTabSum[N_AA0132] = 748.8;
    EXPECT_TRUE(po_kontrole("WL009").empty());
    NTabSum[N_AA0132] = 748;
    EXPECT_EQ(po_kontrole("WL009"),
              std::vector<std::string>{u_prvku(N_AA0136, "WL009") +
                                       "\"AA0132; AA0133; AA0218; AA0219; AA0136;\";"
                                       "\"    748.00 ;       0.00 ;  181 ;    0 ;     1.0000 ;\";   "});
}

TEST_F(EmployeeClosing, WL009HoursAboveTheRegisterCount) {
    NTabSum[N_AA0219] = 0;
    NTabSum[N_AA0132] = 1248;
    EXPECT_TRUE(po_kontrole("WL009").empty());
    NTabSum[N_AA0132] = 1248.5;
    EXPECT_EQ(po_kontrole("WL009").size(), 1u);
}

TEST_F(EmployeeClosing, WL009CountsAbsenceDaysAsHoursOfTheRecordedShare) {
    // At a count of 0.5 the hours lie within 374.4 and 624; ten days of
    // absence add 8 x 10 x 0.5 x 181 / 181 = 40 hours.
    NTabSum[N_AA0136] = 0.5;
    NTabSum[N_AA0132] = 580;
    NTabSum[N_AA0219] = 10;  // h = 580 + 40 = 620 <= 624
    EXPECT_TRUE(po_kontrole("WL009").empty());
    NTabSum[N_AA0132] = 585;  // h = 625 > 1248 x 0.5 = 624
    EXPECT_EQ(po_kontrole("WL009").size(), 1u);
}

// ---- 3. EL010 ----

TEST_F(EmployeeClosing, EL010LeaveAbovePaidAbsence) {
    NTabSum[N_AA0135] = 40;
    EXPECT_TRUE(po_kontrole("EL010").empty());
    NTabSum[N_AA0135] = 40.01;
    EXPECT_EQ(po_kontrole("EL010"),
              std::vector<std::string>{u_prvku(N_AA0135, "EL010") + "AA0135;     40.01;     40.00"});
}

// ---- 4. EL051, exact tariff ----

TEST_F(EmployeeClosing, EL051TariffMustBeTheTablesOne) {
    NTabSum[N_AA0129] = 2;
    NTabSum[N_AA0127] = 5;
    NTabSum[N_AA0128] = 3;
    NTabSum[N_AA0138] = 11070;
    EXPECT_TRUE(po_kontrole("EL051").empty());
    NTabSum[N_AA0138] = 11000;
    EXPECT_EQ(po_kontrole("EL051"),
              std::vector<std::string>{u_prvku(N_AA0138, "EL051") + "AA0138;     11000;     11070"});
}

TEST_F(EmployeeClosing, EL051TableCornersAndOnlyForTheHeadcount) {
    NTabSum[N_AA0129] = 1;
    NTabSum[N_AA0127] = 1;
    NTabSum[N_AA0128] = 1;
    NTabSum[N_AA0138] = 6550;
    EXPECT_TRUE(po_kontrole("EL051").empty());
    NTabSum[N_AA0129] = 3;
    NTabSum[N_AA0127] = 16;
    NTabSum[N_AA0128] = 12;
    NTabSum[N_AA0138] = 39110;
    EXPECT_TRUE(po_kontrole("EL051").empty());
    NTabSum[N_AA0138] = 39100;
    EXPECT_EQ(po_kontrole("EL051").size(), 1u);
    NTabSum[N_AA0137] = 2;
    EXPECT_EQ(po_kontrole("EL051").size(), 1u);  // no further finding
    NTabSum[N_AA0137] = 1;
    NTabSum[N_AA0129] = 1;
    NTabSum[N_AA0127] = 1;
    NTabSum[N_AA0128] = 1;
    NTabSum[N_AA0138] = 6549;  // below the whole table too: still one finding
    EXPECT_EQ(po_kontrole("EL051").size(), 2u);
}

// A value outside the tariff table never reaches a look-up: its element's
// own check refuses it, and the refusal gates the tariff rules that read it
// (the bonus rules read the class's highest step, not the record's).
TEST_F(EmployeeClosing, ValuesOutsideTheTariffTableFailTheirElementAndGateTheRules) {
    struct ElementValue {
        const char* name;
        const char* content;
        bool bonuses_gated;
    };
    const ElementValue outside[] = {{"AA0129", "4", true},   {"AA0127", "17", true}, {"AA0127", "0.5", true},
                                    {"AA0128", "13", false}, {"AA0128", "-1", false}};
    for (const ElementValue& p : outside) {
        ReportCapture fresh;
        cisty_zaznam();
        NTabSum[N_AA0138] = 1;      // below every tariff
        NTabSum[N_AA0139] = 99999;  // above every bonus limit
        NTabSum[N_AA0140] = 99999;
        k_Nec(p.name, p.content);
        k_NecK();
        EXPECT_EQ(NTabEsw[find_N(p.name)], 'E') << p.name << " " << p.content;
        EXPECT_TRUE(nalezy(fresh, "EL051").empty()) << p.name << " " << p.content;
        EXPECT_EQ(nalezy(fresh, "EL012").empty(), p.bonuses_gated) << p.name << " " << p.content;
        EXPECT_EQ(nalezy(fresh, "EL013").empty(), p.bonuses_gated) << p.name << " " << p.content;
    }
}

// ---- 5. EL051, tariff range ----

TEST_F(EmployeeClosing, EL051WithoutStepTheTariffLiesWithinItsClass) {
    NTabSum[N_AA0129] = 1;
    NTabSum[N_AA0127] = 16;
    NTabSum[N_AA0128] = 0;
    for (double t : {22200.0, 33350.0}) {
        NTabSum[N_AA0138] = t;
        EXPECT_TRUE(po_kontrole("EL051").empty()) << t;
    }
    NTabSum[N_AA0138] = 22199;
    EXPECT_EQ(po_kontrole("EL051"), std::vector<std::string>{u_prvku(N_AA0138, "EL051") +
                                                             "AA0138;     22199;     22200  -      33350"});
    NTabSum[N_AA0138] = 40000;
    EXPECT_EQ(po_kontrole("EL051").back(),
              u_prvku(N_AA0138, "EL051") + "AA0138;     40000;     22200  -      33350");
}

// Without an increase code or without a class (AA0129 or AA0127 missing or
// 0), whatever the step, the tariff lies within the whole table.
TEST_F(EmployeeClosing, EL051WithoutIncreaseCodeOrClassTheTariffLiesWithinTheTable) {
    struct TariffKey {
        double v, c, s;  // increase code AA0129, class AA0127, step AA0128
    };
    const TariffKey keys[] = {{0, 10, 5}, {0, 10, 0}, {1, 0, 0}, {1, 0, 5}, {0, 0, 0}};
    for (const TariffKey& b : keys) {
        const std::string which = std::to_string(b.v) + " " + std::to_string(b.c) + " " + std::to_string(b.s);
        ReportCapture fresh;
        cisty_zaznam();
        NTabSum[N_AA0129] = b.v;
        NTabSum[N_AA0127] = b.c;
        NTabSum[N_AA0128] = b.s;
        for (double t : {6550.0, 20000.0, 39110.0}) {
            NTabSum[N_AA0138] = t;
            k_NecK();
        }
        EXPECT_TRUE(nalezy(fresh, "EL051").empty()) << which;
        for (double t : {6549.0, 39111.0, 0.0}) {
            NTabSum[N_AA0138] = t;
            k_NecK();
        }
        EXPECT_EQ(nalezy(fresh, "EL051"),
                  (std::vector<std::string>{
                      u_prvku(N_AA0138, "EL051") + "AA0138;      6549;      6550 -      39110",
                      u_prvku(N_AA0138, "EL051") + "AA0138;     39111;      6550 -      39110",
                      u_prvku(N_AA0138, "EL051") + "AA0138;         0;      6550 -      39110"}))
            << which;
    }
}

// ---- 6. EL012 ----

TEST_F(EmployeeClosing, EL012PersonalBonusIsHalfTheHighestTariffBelowClass10) {
    NTabSum[N_AA0127] = 9;  // highest tariff 18890
    NTabSum[N_AA0128] = 1;
    NTabSum[N_AA0138] = 12550;
    NTabSum[N_AA0139] = 9445;
    EXPECT_TRUE(po_kontrole("EL012").empty());
    NTabSum[N_AA0139] = 9446;
    EXPECT_EQ(po_kontrole("EL012"),
              std::vector<std::string>{u_prvku(N_AA0139, "EL012") + "AA0139;      9446;      9445"});
}

TEST_F(EmployeeClosing, EL012PersonalBonusIsTheWholeHighestTariffFromClass10) {
    NTabSum[N_AA0139] = 20510;
    EXPECT_TRUE(po_kontrole("EL012").empty());
    NTabSum[N_AA0139] = 20511;
    EXPECT_EQ(po_kontrole("EL012"),
              std::vector<std::string>{u_prvku(N_AA0139, "EL012") + "AA0139;     20511;     20510"});
}

// ---- 7. EL013 ----

TEST_F(EmployeeClosing, EL013ManagementBonusIsSixTenthsOfTheHighestTariff) {
    NTabSum[N_AA0140] = 12306;
    EXPECT_TRUE(po_kontrole("EL013").empty());
    NTabSum[N_AA0140] = 12307;
    EXPECT_EQ(po_kontrole("EL013"), std::vector<std::string>{u_prvku(N_AA0140, "EL013") +
                                                             "AA0140;     12307; <=      12306"});
}

// ---- 8. EL015 ----

TEST_F(EmployeeClosing, EL015SalaryIsTheSumOfItsElevenItems) {
    const int polozky[] = {N_AA0145, N_AA0146, N_AA0147, N_AA0148, N_AA0160, N_AA0162,
                           N_AA0150, N_AA0157, N_AA0163, N_AA0161, N_AA0158};
    NTabSum[N_AA0145] = 149990;
    for (int row : polozky) NTabSum[row] += 1;
    NTabSum[N_AA0144] = 150001;
    EXPECT_TRUE(po_kontrole("EL015").empty());
    NTabSum[N_AA0144] = 150002;
    EXPECT_EQ(po_kontrole("EL015"), std::vector<std::string>{radek(kKonecZaznamu, "EL015") +
                                                             "AA0144;    150002;    150001"});
}

TEST_F(EmployeeClosing, EL015LeavesOtherPayItemsOut) {
    NTabSum[N_AA0159] = 1;
    NTabSum[N_AA0239] = 1;
    NTabSum[N_AA0166] = 1;
    EXPECT_TRUE(po_kontrole("EL015").empty());
}

// ---- 9. WL016 ----

TEST_F(EmployeeClosing, WL016LeaveCompensationWithinAllCompensations) {
    NTabSum[N_AA0158] = 10;
    NTabSum[N_AA0159] = 10;
    EXPECT_TRUE(po_kontrole("WL016").empty());
    NTabSum[N_AA0159] = 11;
    EXPECT_EQ(po_kontrole("WL016"),
              std::vector<std::string>{u_prvku(N_AA0159, "WL016") + "AA0159;        11;        10"});
}

// ---- 10. EL027 ----

TEST_F(EmployeeClosing, EL027AllowancesAreTheSumOfTheirItems) {
    const int polozky[] = {N_AA0239, N_AA0151, N_AA0152, N_AA0153,
                           N_AA0154, N_AA0155, N_AA0156, N_AA0240};
    for (int row : polozky) NTabSum[row] = 2;
    NTabSum[N_AA0150] = 16;
    EXPECT_TRUE(po_kontrole("EL027").empty());
    NTabSum[N_AA0150] = 15;
    EXPECT_EQ(po_kontrole("EL027"),
              std::vector<std::string>{u_prvku(N_AA0150, "EL027") + "AA0150;        15;        16"});
}

// ---- 11. EL028 ----

TEST_F(EmployeeClosing, EL028OnCallTotalIsTheSumOfItsParts) {
    NTabSum[N_AA0161] = 5;
    NTabSum[N_AA0237] = 2;
    NTabSum[N_AA0238] = 3;
    EXPECT_TRUE(po_kontrole("EL028").empty());
    NTabSum[N_AA0238] = 4;
    EXPECT_EQ(po_kontrole("EL028"),
              std::vector<std::string>{u_prvku(N_AA0161, "EL028") + "AA0161;         5;         6"});
}

// ---- 12. EL037 ----

class EmployeeClosingNoCount : public EmployeeClosing {
protected:
    void SetUp() override {
        cisty_zaznam();
        // Out of the register for the whole period: no hours, no days.
        NTabSum[N_AA0136] = 0;
        NTabSum[N_AA0137] = 2;
        for (int row : {N_AA0132, N_AA0133, N_AA0134, N_AA0135, N_AA0210, N_AA0218, N_AA0219})
            NTabSum[row] = 0;
    }
};

TEST_F(EmployeeClosingNoCount, EL037NothingWhenAllAreZero) {
    k_NecK();
    EXPECT_TRUE(cap.rows().empty()) << cap.text();
}

TEST_F(EmployeeClosingNoCount, EL037EachItemWithItsFormat) {
    struct Pripad {
        int row;
        double v;
        const char* text;
    };
    const Pripad pripady[] = {
        {N_AA0132, 1, "AA0132;         1;0"},   {N_AA0133, 0.5, "AA0133;      0.50;0"},
        {N_AA0134, 0.25, "AA0134;      0.25;0"}, {N_AA0135, 2, "AA0135;      2.00;0"},
        {N_AA0210, 3, "AA0210;         3;0"},   {N_AA0218, 4, "AA0218;         4;0"},
        {N_AA0219, 5, "AA0219;         5;0"},
    };
    for (const Pripad& p : pripady) {
        ReportCapture fresh;
        SetUp();
        NTabSum[p.row] = p.v;
        k_NecK();
        EXPECT_EQ(nalezy(fresh, "EL037"), std::vector<std::string>{u_prvku(p.row, "EL037") + p.text});
    }
}

TEST_F(EmployeeClosingNoCount, EL037AllItemsInOrderAndGates) {
    for (int row : {N_AA0132, N_AA0133, N_AA0134, N_AA0135, N_AA0210, N_AA0218, N_AA0219})
        NTabSum[row] = 1;
    NTabEsw[N_AA0134] = 'E';
    const auto rows = po_kontrole("EL037");
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0].substr(0, 3), "111");
    EXPECT_EQ(rows[2].substr(0, 3), "114");
    EXPECT_EQ(rows[5].substr(0, 3), "156");
    NTabEsw[N_AA0134] = ' ';
    NTabEsw[N_AA0136] = 'E';
    EXPECT_EQ(po_kontrole("EL037").size(), 6u);  // no further finding
}

TEST_F(EmployeeClosing, EL037NotWhileThereIsARegisterCount) {
    NTabSum[N_AA0136] = 0.0001;
    EXPECT_TRUE(po_kontrole("EL037").empty());
}

// ---- 13. EL038, 14. EL059 ----

TEST_F(EmployeeClosingNoCount, EL038OutOfTheRegisterOnTheLastDay) {
    EXPECT_TRUE(po_kontrole("EL038").empty());
    NTabSum[N_AA0137] = 1;
    // Reported at the tariff's line.
    EXPECT_EQ(po_kontrole("EL038"),
              std::vector<std::string>{u_prvku(N_AA0138, "EL038") + "AA0137;         1;2"});
    NTabEsw[N_AA0136] = 'E';
    EXPECT_EQ(po_kontrole("EL038").size(), 1u);
}

TEST_F(EmployeeClosing, EL038NotWithARegisterCount) {
    NTabSum[N_AA0137] = 1;
    EXPECT_TRUE(po_kontrole("EL038").empty());
}

TEST_F(EmployeeClosing, EL059FullCountMeansInTheRegister) {
    NTabSum[N_AA0137] = 2;
    EXPECT_EQ(po_kontrole("EL059"),
              std::vector<std::string>{u_prvku(N_AA0137, "EL059") + "AA0137;         2;1"});
}

// ---- 15. WL060 ----

TEST_F(EmployeeClosing, WL060WeeklyHoursAgainstTheRegisterCount) {
    NTabSum[N_AA0131] = 20;  // the range is 20 to 60 at a full count for 181 days
    EXPECT_TRUE(po_kontrole("WL060").empty());
    NTabSum[N_AA0131] = 19.99;
    EXPECT_EQ(po_kontrole("WL060"),
              std::vector<std::string>{u_prvku(N_AA0131, "WL060") +
                                       "AA0131;       19.99;       20.00 -        40.00 "});
}

TEST_F(EmployeeClosing, WL060UpperLimitPrintedAtMost40ButComparedUncapped) {
    NTabSum[N_AA0131] = 60;
    EXPECT_TRUE(po_kontrole("WL060").empty());
    NTabSum[N_AA0131] = 60.01;
    EXPECT_EQ(po_kontrole("WL060"),
              std::vector<std::string>{u_prvku(N_AA0131, "WL060") +
                                       "AA0131;       60.01;       20.00 -        40.00 "});
    NTabSum[N_AA0136] = 0.25;  // 5 to 15 hours
    NTabSum[N_AA0131] = 15.5;
    EXPECT_EQ(po_kontrole("WL060").back(),
              u_prvku(N_AA0131, "WL060") + "AA0131;       15.50;        5.00 -        15.00 ");
    NTabSum[N_AA0136] = 0.68;  // 13.6 to 40.8 hours
    NTabSum[N_AA0131] = 41;
    EXPECT_EQ(po_kontrole("WL060").back(),
              u_prvku(N_AA0131, "WL060") + "AA0131;       41.00;       13.60 -        40.00 ");
}

// ---- 16. EL066 ----

TEST_F(EmployeeClosing, EL066CountAgainstTheShareOfThePeriod) {
    NTabSum[N_AA0136] = 1.1;  // the limit itself at 181 days
    EXPECT_TRUE(po_kontrole("EL066").empty());
    NTabSum[N_AA0218] = 100;  // limit 1.1 x 100 / 181 = 0.607735
    NTabSum[N_AA0136] = 0.6077;
    EXPECT_TRUE(po_kontrole("EL066").empty());
    NTabSum[N_AA0136] = 0.6078;
    EXPECT_EQ(po_kontrole("EL066"), std::vector<std::string>{u_prvku(N_AA0218, "EL066") +
                                                             "AA0136;    0.6078;<=   0.607735"});
}

// ---- 17. EL069 ----

TEST_F(EmployeeClosing, EL069AbsenceCoversSicknessAndLeaveDays) {
    NTabSum[N_AA0135] = 17;  // 170 / 80 = 2 days
    NTabSum[N_AA0210] = 3;
    NTabSum[N_AA0219] = 5;
    EXPECT_TRUE(po_kontrole("EL069").empty());
    NTabSum[N_AA0219] = 4;
    EXPECT_EQ(po_kontrole("EL069"),
              std::vector<std::string>{u_prvku(N_AA0210, "EL069") +
                                       "\"AA0135; AA0210; AA0219;\";\"     17.00 ;   3 ;   4 ;\";   "});
}

TEST_F(EmployeeClosing, EL069DayOfEightAndAHalfHoursForOccupationClassZero) {
    NTabSum[N_AA0135] = 16;  // 160 / 80 = 2, 160 / 85 = 1
    NTabSum[N_AA0210] = 3;
    NTabSum[N_AA0219] = 4;
    EXPECT_EQ(po_kontrole("EL069").size(), 1u);
    std::snprintf(necsav_AA0013, sizeof necsav_AA0013, "%s", "01234");
    EXPECT_EQ(po_kontrole("EL069").size(), 1u);  // no new finding
    // A first byte of 128 and more counts as below '0'.
    std::snprintf(necsav_AA0013, sizeof necsav_AA0013, "%s", "\xC8" "1234");
    EXPECT_EQ(po_kontrole("EL069").size(), 1u);
}

// ---- 18. EL070, 19. EL071, 20. EL073 ----

TEST_F(EmployeeClosing, EL070FullCountNeedsThirtyWeeklyHours) {
    NTabSum[N_AA0131] = 30;
    EXPECT_TRUE(po_kontrole("EL070").empty());
    NTabSum[N_AA0131] = 29.99;
    EXPECT_EQ(po_kontrole("EL070"),
              std::vector<std::string>{u_prvku(N_AA0131, "EL070") + "AA0131;     29.99;>= 30"});
}

TEST_F(EmployeeClosing, EL070AndWL060TogetherAt19Hours) {
    NTabSum[N_AA0131] = 19;
    k_NecK();
    EXPECT_EQ(nalezy(cap, "EL070").size(), 1u);
    EXPECT_EQ(nalezy(cap, "WL060").size(), 1u);
}

TEST_F(EmployeeClosing, EL071FullCountMeansTheWholePeriod) {
    NTabSum[N_AA0218] = 180;
    EXPECT_EQ(po_kontrole("EL071"),
              std::vector<std::string>{u_prvku(N_AA0218, "EL071") + "AA0218;       180;       181"});
}

TEST_F(EmployeeClosing, EL073NoCountWithoutDays) {
    NTabSum[N_AA0218] = 0;
    NTabSum[N_AA0136] = 0.5;
    EXPECT_EQ(po_kontrole("EL073"),
              std::vector<std::string>{u_prvku(N_AA0136, "EL073") + "AA0136;    0.5000;0"});
}

// ---- 21. EL076 ----

TEST_F(EmployeeClosing, EL076YearsOfEmploymentAgainstAge) {
    NTabSum[N_AA0225] = 20;  // born 1970: at most 2010 - 1970 - 13 = 27 years
    NTabSum[N_AA0216] = 7;
    EXPECT_TRUE(po_kontrole("EL076").empty());
    NTabSum[N_AA0216] = 7.01;
    // Reported at the line of the register days.
    EXPECT_EQ(po_kontrole("EL076"), std::vector<std::string>{u_prvku(N_AA0218, "EL076") +
                                                             "AA0216 + AA0225;     27.01;<=      27.00"});
}

// ---- 22. EL077, 23. EL078 ----

TEST_F(EmployeeClosing, EL077DaysInTheRegisterWithinThePeriod) {
    NTabSum[N_AA0218] = 182;
    EXPECT_EQ(po_kontrole("EL077"), std::vector<std::string>{u_prvku(N_AA0218, "EL077") +
                                                             "AA0218;       182;<=        181"});
}

TEST_F(EmployeeClosing, EL078DaysOfAbsenceWithinTheWorkingDays) {
    NTabSum[N_AA0132] = 0;
    NTabSum[N_AA0219] = 130;
    EXPECT_TRUE(po_kontrole("EL078").empty());
    NTabSum[N_AA0219] = 131;
    EXPECT_EQ(po_kontrole("EL078"), std::vector<std::string>{u_prvku(N_AA0219, "EL078") +
                                                             "AA0219;       131;<=        130"});
}

// ---- 24. EL080 ----

TEST_F(EmployeeClosing, EL080WorkedAndAbsentDaysWithinRegisterDays) {
    NTabSum[N_AA0219] = 56;  // 1000 / 8 = 125 days worked
    EXPECT_TRUE(po_kontrole("EL080").empty());
    NTabSum[N_AA0219] = 57;
    EXPECT_EQ(po_kontrole("EL080"),
              std::vector<std::string>{u_prvku(N_AA0219, "EL080") +
                                       "\"AA0132; AA0133; AA0218; AA0219;\";"
                                       "\"   1000.00 ;       0.00 ;  181 ;  57 ;\";   "});
}

TEST_F(EmployeeClosing, EL080DayOfEightAndAHalfHoursForOccupationClassZero) {
    NTabSum[N_AA0219] = 63;  // 1000 / 8.5 = 117.6 days worked
    std::snprintf(necsav_AA0013, sizeof necsav_AA0013, "%s", "01234");
    EXPECT_TRUE(po_kontrole("EL080").empty());
    NTabSum[N_AA0219] = 64;
    EXPECT_EQ(po_kontrole("EL080").size(), 1u);
}

// ---- What keeps each rule silent ----

// A rule reports the record as the first settings make it, and stays silent
// when, besides them, one value takes the record out of the rule, or one
// element the rule reads failed its own check (a gate).
TEST_F(EmployeeClosing, WhatKeepsEachRuleSilent) {
    struct Setting {
        int row;
        double v;
    };
    struct RuleCase {
        const char* kod;
        std::vector<Setting> fires;
        std::vector<Setting> outside;
        std::vector<int> gates;
    };
    const RuleCase rules[] = {
        {"EL006", {{N_AA0225, 0}, {N_AA0216, 0}}, {}, {N_AA0216, N_AA0218, N_AA0225}},
        {"WL009", {{N_AA0132, 100}}, {{N_AA0136, 0}, {N_AA0218, 0}}, {N_AA0219}},
        {"EL010", {{N_AA0135, 50}}, {}, {N_AA0134}},
        {"EL051", {{N_AA0138, 1}}, {}, {N_AA0127, N_AA0128, N_AA0129, N_AA0138}},
        // The class's range, then the table's: only for the headcount.
        {"EL051", {{N_AA0128, 0}, {N_AA0138, 40000}}, {{N_AA0137, 2}}, {}},
        {"EL051", {{N_AA0128, 0}, {N_AA0129, 0}, {N_AA0138, 40000}}, {{N_AA0137, 2}}, {N_AA0128}},
        // The bonus rules need an increase code and a class: without either
        // they have no highest tariff to compare with.
        {"EL012",
         {{N_AA0139, 30000}},
         {{N_AA0136, 0}, {N_AA0218, 0}, {N_AA0137, 2}, {N_AA0129, 0}, {N_AA0127, 0}},
         {N_AA0139}},
        {"EL013",
         {{N_AA0140, 20000}},
         {{N_AA0137, 2}, {N_AA0218, 0}, {N_AA0136, 0}, {N_AA0129, 0}, {N_AA0127, 0}},
         {N_AA0137}},
        {"EL015",
         {{N_AA0144, 1}},
         {},
         {N_AA0145, N_AA0146, N_AA0147, N_AA0148, N_AA0160, N_AA0162, N_AA0150, N_AA0157, N_AA0163, N_AA0161,
          N_AA0158, N_AA0144}},
        {"WL016", {{N_AA0158, 10}, {N_AA0159, 11}}, {}, {N_AA0158}},
        {"EL027",
         {{N_AA0150, 1}},
         {},
         {N_AA0239, N_AA0151, N_AA0152, N_AA0153, N_AA0154, N_AA0155, N_AA0156, N_AA0240, N_AA0150}},
        {"EL028", {{N_AA0161, 5}, {N_AA0237, 2}, {N_AA0238, 4}}, {}, {N_AA0237}},
        {"EL059", {{N_AA0137, 2}}, {{N_AA0136, 0.9999}}, {N_AA0137}},
        {"WL060", {{N_AA0131, 10}}, {{N_AA0218, 0}}, {N_AA0131}},
        {"EL066", {{N_AA0218, 100}, {N_AA0136, 0.6078}}, {}, {N_AA0218}},
        {"EL069", {{N_AA0135, 16}, {N_AA0210, 3}, {N_AA0219, 4}}, {}, {N_AA0135}},
        {"EL070", {{N_AA0131, 29.99}}, {{N_AA0136, 0.99}}, {N_AA0131}},
        {"EL071", {{N_AA0218, 180}}, {{N_AA0136, 0.9}}, {N_AA0136}},
        {"EL073", {{N_AA0218, 0}, {N_AA0136, 0.5}}, {{N_AA0136, 0}, {N_AA0218, 1}}, {N_AA0218}},
        {"EL076", {{N_AA0225, 20}, {N_AA0216, 7.01}}, {}, {N_AA0231}},
        {"EL077", {{N_AA0218, 182}}, {}, {N_AA0218}},
        {"EL078", {{N_AA0132, 0}, {N_AA0219, 131}}, {}, {N_AA0219}},
        {"EL080", {{N_AA0219, 57}}, {}, {N_AA0133}},
    };
    for (const RuleCase& p : rules) {
        // The rule's rows for the record of the first settings and one change.
        auto rows = [&p](auto change) {
            ReportCapture fresh;
            cisty_zaznam();
            for (const Setting& h : p.fires) NTabSum[h.row] = h.v;
            change();
            k_NecK();
            return nalezy(fresh, p.kod);
        };
        EXPECT_EQ(rows([] {}).size(), 1u) << p.kod;
        for (const Setting& h : p.outside)
            EXPECT_TRUE(rows([&h] { NTabSum[h.row] = h.v; }).empty()) << p.kod << " " << Ntab[h.row].elem;
        for (int gate : p.gates)
            EXPECT_TRUE(rows([gate] { NTabEsw[gate] = 'E'; }).empty()) << p.kod << " " << Ntab[gate].elem;
    }
}

// ---- 25. hourly earnings count ----

TEST_F(EmployeeClosing, HourlyEarningsCountedOutsideHalfToDouble) {
    struct Pripad {
        double a165;
        int pocet;
    };
    // Salary per hour worked is 150.
    for (Pripad p : {Pripad{75, 0}, Pripad{74.99, 1}, Pripad{300, 0}, Pripad{300.01, 1}}) {
        sumz_EL084 = 0;
        NTabSum[N_AA0165] = p.a165;
        k_NecK();
        EXPECT_EQ(sumz_EL084, p.pocet) << p.a165;
    }
}

TEST_F(EmployeeClosing, HourlyEarningsLeaveOutCompensationsAndOnCall) {
    NTabSum[N_AA0158] = 50000;
    NTabSum[N_AA0161] = 25000;  // (150000 - 75000) / 1000 = 75
    NTabSum[N_AA0165] = 150;
    k_NecK();
    EXPECT_EQ(sumz_EL084, 0);
    NTabSum[N_AA0165] = 150.01;
    k_NecK();
    EXPECT_EQ(sumz_EL084, 1);
}

TEST_F(EmployeeClosing, HourlyEarningsCountWithoutHoursOnlyInTheHeadcountAndValidGates) {
    NTabSum[N_AA0132] = 0;
    k_NecK();
    EXPECT_EQ(sumz_EL084, 1);
    NTabSum[N_AA0137] = 2;
    k_NecK();
    EXPECT_EQ(sumz_EL084, 1);
    NTabSum[N_AA0137] = 1;
    NTabEsw[N_AA0165] = 'E';
    k_NecK();
    EXPECT_EQ(sumz_EL084, 1);
}

// ---- zpracuj_NECk ----

TEST_F(EmployeeClosing, RecordEndShowsProgressAndFeedsTheEmployerSums) {
    NTabSum[N_AA0136] = 0.5;
    NTabSum[N_AA0144] = 1000;
    NTabSum[N_AA0145] = 1000;
    NTabEsw[N_AA0144] = 'E';  // the sums take the values all the same
    const std::string text = console_of([] {
        zpracuj_NECk();
        NTabSum[N_AA0137] = 2;
        zpracuj_NECk();
    });

    EXPECT_EQ(rezim_zprac, 'T');
    EXPECT_DOUBLE_EQ(sumz_AA0136, 1.0);
    EXPECT_DOUBLE_EQ(sumz_AA0137, 1.0);
    EXPECT_DOUBLE_EQ(sumz_AA0144, 2000.0);
    EXPECT_EQ(sw_anec_AA0137, 2);
    const std::string radek_postupu = " Radek     500 pro zamestnance         E1 zamestnavatel   12345678\r";
    EXPECT_EQ(text, radek_postupu + radek_postupu);
}

// Fields wider than their printf widths (%8lld, %11s) are written whole.
TEST_F(EmployeeClosing, ProgressLineKeepsLongFieldsWhole) {
    cislo_radky = 1234567890123;
    set_identnec("12345678901");
    set_telicokod("12345678/1234567890");
    EXPECT_EQ(console_of([] { zpracuj_NECk(); }),
              " Radek1234567890123 pro zamestnance12345678901 zamestnavatel12345678/1234567890\r");
}

TEST_F(EmployeeClosing, RegisterStateOneIsNotAboveOne) {
    konzole = nullptr;
    zpracuj_NECk();
    konzole = stdout;
    EXPECT_EQ(sw_anec_AA0137, 0);
}

}  // namespace
}  // namespace quelt::test
