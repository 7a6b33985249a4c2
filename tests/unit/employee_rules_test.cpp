// Employee record rules: the order of the steps of k_Nec (which failures end
// an element's checking), the register copies made before the length check,
// the occupation code kept for the closing rules, and the code-list look-ups.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "src/checks/codebooks.h"
#include "src/rules/employee_register.h"
#include "tests/unit/employee_record.h"

namespace quelt::test {
namespace {

class EmployeeElement : public ::testing::Test {
protected:
    void SetUp() override {
        cislo_radky = 42;
        start_entry();
    }
    static std::string radek(const char* kod) { return std::string("42;") + kod + ";;;"; }

    ReportCapture cap;
};

TEST_F(EmployeeElement, UnknownElementReportsTheContentLengthAndTouchesNothing) {
    EXPECT_EQ(k_Nec("AA0999", "5"), 1);
    EXPECT_EQ(k_Nec("aa0126", "12345"), 1);  // names compare case-sensitively
    EXPECT_EQ(nalezy(cap, "ES301"), (std::vector<std::string>{radek("ES301") + "AA0999;5;1",
                                                               radek("ES301") + "aa0126;12345;5"}));
    for (int r = 0; r < N_END; ++r) EXPECT_EQ(NTabPre[r], 0) << Ntab[r].elem;
    EXPECT_EQ(anec_ind[0], -1);
}

TEST_F(EmployeeElement, ValidElementIsCountedWithItsLineAndValue) {
    NTabEsw[N_AA0231] = 'E';  // left from an earlier record
    EXPECT_EQ(k_Nec("AA0231", "1996"), 0);
    EXPECT_TRUE(cap.rows().empty()) << cap.text();
    EXPECT_EQ(NTabEsw[N_AA0231], ' ');
    EXPECT_EQ(NTabLin[N_AA0231], 42);
    EXPECT_EQ(NTabPre[N_AA0231], 1);
    EXPECT_DOUBLE_EQ(NTabSum[N_AA0231], 1996);
    EXPECT_EQ(current_entry().anec_iAA0231, 1996);
}

TEST_F(EmployeeElement, TextElementStoresTheConversionStartValue) {
    k_Nec("AA0211", "2");
    EXPECT_DOUBLE_EQ(NTabSum[N_AA0211], 123.0);
    EXPECT_EQ(current_entry().anec_iAA0211, '2');
}

TEST_F(EmployeeElement, RangeFailureTakesTheCataloguesExpectedTextAndKeepsTheCopy) {
    k_Nec("AA0231", "1909");
    EXPECT_EQ(nalezy(cap, "EL002"), std::vector<std::string>{radek("EL002") + "AA0231;1909;1909-1995"});
    EXPECT_EQ(NTabEsw[N_AA0231], 'E');
    EXPECT_EQ(current_entry().anec_iAA0231, 1909);

    k_Nec("AA0131", "42");
    EXPECT_EQ(nalezy(cap, "EL005"), std::vector<std::string>{radek("EL005") + "AA0131;42;0 - 40"});
    EXPECT_DOUBLE_EQ(current_entry().anec_iAA0131, 42);
}

TEST_F(EmployeeElement, ConversionFailureEndsTheCheckAndStoresNothing) {
    NTabSum[N_AA0138] = 7;
    k_Nec("AA0138", "12a");
    EXPECT_EQ(cap.rows().size(), 1u);
    EXPECT_EQ(nalezy(cap, "ES138"), std::vector<std::string>{radek("ES138") + "AA0138;12a;"});
    EXPECT_EQ(NTabEsw[N_AA0138], 'E');
    EXPECT_DOUBLE_EQ(NTabSum[N_AA0138], 7);
    EXPECT_EQ(NTabPre[N_AA0138], 1);

    current_entry().anec_iAA0131 = 38;
    k_Nec("AA0131", "39,5");  // decimal comma
    EXPECT_DOUBLE_EQ(current_entry().anec_iAA0131, 38);
    k_Nec("AA0127", "1.5");  // no decimal point in a whole number
    EXPECT_EQ(nalezy(cap, "EL044"), std::vector<std::string>{radek("EL044") + "AA0127;1.5;1 - 16"});
    k_Nec("AA0131", "39.5");
    EXPECT_DOUBLE_EQ(current_entry().anec_iAA0131, 39.5);
}

TEST_F(EmployeeElement, LengthFailureEndsTheCheckAfterTheCopy) {
    k_Nec("AA0132", "");
    EXPECT_EQ(nalezy(cap, "ES132"), std::vector<std::string>{radek("ES132") + "AA0132;;" +
                                                             "délka 1 - 7"_cp});
    EXPECT_DOUBLE_EQ(NTabSum[N_AA0132], 0);
    EXPECT_EQ(NTabEsw[N_AA0132], 'E');

    // Too long and outside the code list: only the length is reported.
    k_Nec("AA0223", "AB");
    EXPECT_EQ(nalezy(cap, "ES223"), std::vector<std::string>{radek("ES223") + "AA0223;AB;" +
                                                             "délka 1"_cp});
    EXPECT_TRUE(nalezy(cap, "EL048").empty());
    EXPECT_EQ(current_entry().anec_iAA0223, 'A');
}

TEST_F(EmployeeElement, LongIdentifierIsKeptWholeInTheRegister) {
    cislo_radky = 1234567;
    k_Nec("AA0126", "ABCDEFGHIJKL");
    EXPECT_EQ(nalezy(cap, "ES126"), std::vector<std::string>{"1234567;ES126;;;AA0126;ABCDEFGHIJKL;" +
                                                             std::string("délka 1 - 10"_cp)});
    EXPECT_EQ(current_entry().anec_iAA0126, "ABCDEFGHIJKL");
    EXPECT_EQ(current_entry().anec_lin, 1234567);
    EXPECT_EQ(anec_ind[0], 0);
}

TEST_F(EmployeeElement, IdentifierPutsTheEntryIntoTheOrdering) {
    k_Nec("AA0126", "A1");
    start_entry();
    start_entry();
    cislo_radky = 60;
    k_Nec("AA0126", "A3");
    EXPECT_EQ(anec_ind, (std::vector<int>{0, -1, 2}));
    EXPECT_EQ(anec[2].anec_lin, 60);
    EXPECT_EQ(anec[1].anec_iAA0126, "-");
}

TEST_F(EmployeeElement, OccupationCodeKeptForTheClosingRulesCutToSeven) {
    k_Nec("AA0013", "1234567890");
    EXPECT_STREQ(necsav_AA0013, "1234567");
    EXPECT_EQ(nalezy(cap, "ES013").size(), 1u);
    k_Nec("AA0013", "2");
    EXPECT_STREQ(necsav_AA0013, "2");
}

TEST_F(EmployeeElement, RegisterCopiesOfTheRecordsValues) {
    k_Nec("AA0223", "M");
    k_Nec("AA0225", "2.25");
    k_Nec("AA0216", "3.5");
    k_Nec("AA0132", "100.5");
    k_Nec("AA0137", "1");
    const AnecEntry& z = current_entry();
    EXPECT_EQ(z.anec_iAA0223, 'M');
    EXPECT_DOUBLE_EQ(z.anec_iAA0225, 2.25);
    EXPECT_DOUBLE_EQ(z.anec_iAA0216, 3.5);
    EXPECT_DOUBLE_EQ(z.anec_iAA0132, 100.5);
    EXPECT_EQ(z.anec_iAA0137, 1);
}

TEST_F(EmployeeElement, WholeNumberFieldsHoldHugeValuesWithoutOverflow) {
    k_Nec("AA0231", "99999999999999999999");
    k_Nec("AA0137", "-99999999999999999999");
    EXPECT_EQ(current_entry().anec_iAA0231, INT_MAX);
    EXPECT_EQ(current_entry().anec_iAA0137, INT_MIN);
}

TEST_F(EmployeeElement, StateCodeKeepsItsListPosition) {
    k_Nec("AA0033", "SK");
    EXPECT_EQ(current_entry().anec_iAA0033, state_position("SK"));
    k_Nec("AA0033", "XX");
    EXPECT_EQ(current_entry().anec_iAA0033, state_count());
}

// A state code of three characters is noted for the employer's end, in the
// state list or not; a shorter code, or one whose length check fails and so
// is not looked up, leaves the note as it was.
TEST_F(EmployeeElement, LongStateCodesAreNotedForTheEmployerFoundOrNot) {
    struct Step {
        LineNo line;
        const char* code;
        int noted;
        const char* value;
        LineNo value_line;
    };
    const Step steps[] = {
        {40, "SK", 0, "", 0},     {41, "CZE", 1, "CZE", 41},   {42, "QQQ", 1, "QQQ", 42},
        {43, "DE", 1, "QQQ", 42}, {44, "ABCDE", 1, "QQQ", 42},
    };
    for (const Step& k : steps) {
        cislo_radky = k.line;
        k_Nec("AA0033", k.code);
        EXPECT_EQ(sw_anec_AA0033, k.noted) << k.code;
        EXPECT_STREQ(val_anec_AA0033, k.value) << k.code;
        EXPECT_EQ(lin_anec_AA0033, k.value_line) << k.code;
    }
    EXPECT_EQ(nalezy(cap, "EL047"), std::vector<std::string>{radek("EL047") + "AA0033;QQQ;   "});
}

TEST_F(EmployeeElement, CodeListLookupRunsAfterARangeFailure) {
    k_Nec("AA0223", "a");
    EXPECT_EQ(nalezy(cap, "ES223").size(), 1u);
    EXPECT_EQ(nalezy(cap, "EL048").size(), 1u);
    EXPECT_EQ(NTabEsw[N_AA0223], 'E');
    k_Nec("AA0223", "F");  // in range, not in the list
    EXPECT_EQ(nalezy(cap, "EL048").size(), 2u);
    EXPECT_EQ(NTabEsw[N_AA0223], ' ');
}

TEST_F(EmployeeElement, TextRangeIsByteWise) {
    k_Nec("AA0690", "CZ0A12");
    EXPECT_EQ(nalezy(cap, "ES690").size(), 1u);
    k_Nec("AA0690", "CZ01x9");
    EXPECT_EQ(nalezy(cap, "ES690").size(), 1u);
}

TEST_F(EmployeeElement, SecondOccurrenceReplacesTheFirst) {
    k_Nec("AA0131", "50");
    cislo_radky = 43;
    k_Nec("AA0131", "30");
    EXPECT_EQ(NTabPre[N_AA0131], 2);
    EXPECT_EQ(NTabEsw[N_AA0131], ' ');
    EXPECT_EQ(NTabLin[N_AA0131], 43);
    EXPECT_DOUBLE_EQ(NTabSum[N_AA0131], 30);
    EXPECT_DOUBLE_EQ(current_entry().anec_iAA0131, 30);
}

TEST(EmployeeElementOutsideARecord, ChecksWithoutARegisterEntry) {
    ReportCapture cap;
    cislo_radky = 5;
    EXPECT_EQ(k_Nec("AA0126", "X"), 0);
    EXPECT_EQ(k_Nec("AA0231", "1800"), 0);
    EXPECT_EQ(nalezy(cap, "EL002").size(), 1u);
    EXPECT_TRUE(anec.empty());
}

}  // namespace
}  // namespace quelt::test
