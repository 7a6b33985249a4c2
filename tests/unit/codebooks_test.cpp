// Code-list look-ups: the conversion of identification numbers, the submitter
// and provider registers with the numbers they leave behind, the state list's
// first-occurrence positions, and the findings of every cis_ look-up. The
// registers and the occupation list are the shipped samples.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "src/checks/codebooks.h"
#include "src/checks/codelists.h"
#include "src/checks/field_checks.h"
#include "src/elements/tables.h"
#include "src/xml/reader.h"
#include "tests/unit/employee_record.h"
#include "tests/unit/report_capture.h"

using namespace quelt;
using quelt::test::nalezy;
using quelt::test::ReportCapture;

using Rows = std::vector<std::string>;

// An identification number as a number: the longest leading plain decimal
// (sign, fraction and exponent included), truncated toward zero and reduced
// modulo 2^32; no number, or one out of the 64-bit range, gives 0.
TEST(IcoNaCislo, ReadsTheLeadingDecimalNumber) {
    const std::pair<std::string, std::uint32_t> cases[] = {
        {"12345679", 12345679u}, {"00000400", 400u},
        {" \t 00000001", 1u},  // blanks before it are skipped
        {"\n\v\f\r2", 2u},    // and every other white space
        {"+42", 42u}, {"1234567A", 1234567u}, {"12 34", 12u}, {"1.5e2.3", 150u},
        {".5e1", 5u},  // a fraction alone
        {"7.", 7u}, {"1e3x", 1000u}, {"2E+2", 200u},
        // An exponent without digits is not read.
        {"1e", 1u}, {"1e+", 1u}, {"3E-x", 3u},
        // No number.
        {"", 0u}, {"abc", 0u}, {"-", 0u}, {".", 0u}, {"+.e5", 0u},
        {"- 5", 0u},  // no blank between sign and digits
        // Only plain decimals, not what strtod also takes.
        {"0x10", 0u},  // the 0 before the x
        {"0X1p4", 0u}, {"inf", 0u}, {"-INFINITY", 0u}, {"nan", 0u},
        // Truncated toward zero.
        {"12.9", 12u}, {"0.999", 0u}, {"-0.9", 0u},
        {"-12.9", 4294967284u},  // -12 modulo 2^32
        // Reduced modulo 2^32.
        {"-1", 4294967295u}, {"4294967295", 4294967295u}, {"4294967296", 0u}, {"4294967297", 1u},
        {"-4294967297", 4294967295u},
        // The largest double below 2^63 still reduces: 2^63 - 1024 = 0x7FFFFFFFFFFFFC00.
        {"9223372036854774784", 0xFFFFFC00u},
        // Huge or tiny values give 0.
        {"9223372036854775808", 0u},  // 2^63
        {"-9223372036854775808", 0u},
        {"9223372036854775807", 0u},  // reads as 2^63
        {"1e19", 0u}, {"1e999", 0u}, {"-1e999", 0u}, {"1e-999", 0u}, {std::string(400, '9'), 0u},
    };
    for (const auto& [text, number] : cases) EXPECT_EQ(ico_to_number(text.c_str()), number) << text;
}

TEST(CisPredkladatelu, KnownSubmitterPassesAndIsKept) {
    ReportCapture cap;
    EXPECT_EQ(l_predkladatel, 0u);  // run start
    cislo_radky = 12;
    EXPECT_EQ(cis_predkladatelu("10000003"), 0);
    EXPECT_EQ(l_predkladatel, 10000003u);
    EXPECT_TRUE(cap.rows().empty());
}

TEST(CisPredkladatelu, UnknownSubmitterGivesER202WithEightDigits) {
    ReportCapture cap;
    cislo_radky = 12;
    EXPECT_EQ(cis_predkladatelu("12345679"), 1);
    EXPECT_EQ(cis_predkladatelu("99999994"), 1);  // above every registered number
    EXPECT_EQ(cis_predkladatelu("00000400"), 1);  // below every one
    EXPECT_EQ(nalezy(cap, "ER202"), (Rows{"12;ER202;;;ICOpredkladatele;12345679;   ",
                                          "12;ER202;;;ICOpredkladatele;99999994;   ",
                                          "12;ER202;;;ICOpredkladatele;00000400;   "}));
    EXPECT_EQ(l_predkladatel, 400u);
}

TEST(CisPredkladatelu, FailedNumberIsKeptButNotLookedUp) {
    ReportCapture cap;
    PTabEsw[P_ICOpredkladatele] = 'E';
    EXPECT_EQ(cis_predkladatelu("12345678"), 1);
    EXPECT_TRUE(cap.rows().empty());
    EXPECT_EQ(l_predkladatel, 12345678u);
}

namespace {

// A provider look-up of an employer whose AA0017 stood at line 30, made while
// the reader is at line 31.
int poskytovatel(const char* ico) {
    TTabLin[T_AA0017] = 30;
    cislo_radky = 31;
    return cis_poskytovatelu(ico);
}

}  // namespace

TEST(CisPoskytovatelu, ProviderUnderTheFilesSubmitterPasses) {
    ReportCapture cap;
    l_predkladatel = 10000003;
    EXPECT_EQ(poskytovatel("30000009"), 0);
    EXPECT_EQ(poskytovatel("10000003"), 0);
    EXPECT_TRUE(cap.rows().empty());
    EXPECT_EQ(l_poskytovatel, 10000003u);
}

TEST(CisPoskytovatelu, ProviderUnderAnotherSubmitterGivesWR204OnTheSubmitter) {
    ReportCapture cap;
    l_predkladatel = 10000003;
    EXPECT_EQ(poskytovatel("40000001"), 0);
    EXPECT_EQ(nalezy(cap, "WR204"),
              (Rows{"30;WR204;;;ICOpredkladatele;10000003;20000006"}));
}

TEST(CisPoskytovatelu, UnknownProviderGivesWR204OnTheEmployerAtItsLine) {
    ReportCapture cap;
    l_predkladatel = 10000003;
    EXPECT_EQ(poskytovatel("60000007"), 1);
    EXPECT_EQ(poskytovatel("00000001"), 1);
    EXPECT_EQ(nalezy(cap, "WR204"), (Rows{"30;WR204;;;AA0017;60000007;   ",
                                          "30;WR204;;;AA0017;00000001;   "}));
    EXPECT_EQ(l_poskytovatel, 1u);
}

TEST(CisPoskytovatelu, BeforeAnySubmitterTheNumberIsZero) {
    ReportCapture cap;
    // The provider without a submitter matches the unset submitter number.
    EXPECT_EQ(poskytovatel("50000004"), 0);
    EXPECT_TRUE(cap.rows().empty());
    EXPECT_EQ(poskytovatel("30000009"), 0);
    EXPECT_EQ(nalezy(cap, "WR204"),
              (Rows{"30;WR204;;;ICOpredkladatele;00000000;10000003"}));
}

TEST(CisPoskytovatelu, FailedYearSkipsTheLookUpButKeepsTheNumber) {
    ReportCapture cap;
    PTabEsw[P_rok] = 'E';
    EXPECT_EQ(poskytovatel("60000007"), 1);
    EXPECT_EQ(poskytovatel("40000001"), 1);
    EXPECT_TRUE(cap.rows().empty());
    EXPECT_EQ(l_poskytovatel, 40000001u);
    // A failed submitter number does not stop the provider look-up.
    PTabEsw[P_rok] = ' ';
    PTabEsw[P_ICOpredkladatele] = 'E';
    EXPECT_EQ(poskytovatel("60000007"), 1);
    EXPECT_EQ(nalezy(cap, "WR204").size(), 1u);
}

TEST(StateList, TheFirstSixAreTheCzechAndSlovakCodes) {
    const char* head[] = {"CZ", "CZE", "203", "SK", "SVK", "703"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(state_position(head[i]), i);
        EXPECT_STREQ(state_at(i), head[i]);
    }
}

TEST(StateList, EveryCodeHasTheFirstPositionItOccursAt) {
    for (int p = 0; p < state_count(); ++p) {
        int first = 0;
        while (std::strcmp(TcisStat[first], TcisStat[p]) != 0) ++first;
        ASSERT_EQ(state_position(TcisStat[p]), first) << TcisStat[p];
    }
}

TEST(StateList, WithdrawnCodesAreThereAndRepeatsKeepTheirFirstPlace) {
    for (const char* code : {"CS", "SCG", "YU", "YUG", "200", "DE", "DEU", "276", "ZWE"}) {
        EXPECT_LT(state_position(code), state_count()) << code;
        EXPECT_GT(state_position(code), 5) << code;
    }
    // SK is also a withdrawn code (Sikkim) further on; it keeps position 3.
    int later = -1;
    for (int p = 6; p < state_count(); ++p)
        if (std::strcmp(TcisStat[p], "SK") == 0) later = p;
    EXPECT_GT(later, 5);
    EXPECT_EQ(state_position("SK"), 3);
}

TEST(StateList, AbsentCodesStandAtTheListsLength) {
    for (const char* code : {"XX", "", "cz", "CZ ", "CZEE", "000", "ZZZ"})
        EXPECT_EQ(state_position(code), state_count()) << code;
    EXPECT_STREQ(state_at(state_count()), "---");
    EXPECT_STREQ(state_at(-1), "---");
    EXPECT_STREQ(state_at(state_count() - 1), TcisStat[nTcisStat - 1]);
}

TEST(CisKodstat, CzechAndSlovakCodesPassOthersWarnUnknownFail) {
    ReportCapture cap;
    cislo_radky = 77;
    for (const char* code : {"CZ", "SK", "203", "SVK", "703"}) EXPECT_EQ(cis_kodstat(code), 0) << code;
    EXPECT_TRUE(cap.rows().empty());
    EXPECT_EQ(cis_kodstat("004"), 0);  // the first position after them
    EXPECT_EQ(cis_kodstat("DE"), 0);
    EXPECT_EQ(cis_kodstat("XX"), 1);
    EXPECT_EQ(nalezy(cap, "WL033"), (Rows{"77;WL033;;;AA0033;004;CZ, SK", "77;WL033;;;AA0033;DE;CZ, SK"}));
    EXPECT_EQ(nalezy(cap, "EL047"), (Rows{"77;EL047;;;AA0033;XX;   "}));
}

TEST(CisKodzam, ListedCodesPassThoseEndingInZeroWarn) {
    ReportCapture cap;
    cislo_radky = 9;
    EXPECT_EQ(cis_kodzam("93399"), 0);
    EXPECT_TRUE(cap.rows().empty());
    EXPECT_EQ(cis_kodzam("11210"), 1);
    EXPECT_EQ(nalezy(cap, "WL039"), (Rows{"9;WL039;;;AA0013;11210;   "}));
    EXPECT_TRUE(nalezy(cap, "EL046").empty());
}

TEST(CisKodzam, UnlistedCodesFailWithoutTheWarning) {
    ReportCapture cap;
    cislo_radky = 9;
    for (const char* code : {"99999", "00000", "12345", "9339", "933990", "11200"})
        EXPECT_EQ(cis_kodzam(code), 1) << code;
    EXPECT_EQ(nalezy(cap, "EL046").size(), 6u);
    EXPECT_TRUE(nalezy(cap, "WL039").empty());  // 11200 ends in 0 but is not listed
}

TEST(SmallLists, LegalForms) {
    ReportCapture cap;
    cislo_radky = 5;
    for (const char* code : {"301", "921", "732"}) EXPECT_EQ(cis_kodpraf(code), 0) << code;
    EXPECT_EQ(cis_kodpraf("999"), 1);
    EXPECT_EQ(cis_kodpraf("30"), 1);
    EXPECT_EQ(cis_kodpraf("3011"), 1);  // longer than every code: no match
    EXPECT_EQ(nalezy(cap, "EL055"), (Rows{"5;EL055;;;AA0019;999;   ", "5;EL055;;;AA0019;30;   ",
                                          "5;EL055;;;AA0019;3011;   "}));
}

TEST(SmallLists, DistrictsReportUnderTheCallersElement) {
    ReportCapture cap;
    cislo_radky = 5;
    EXPECT_EQ(cis_kodnuts("CZ0100", "AA0179"), 0);
    EXPECT_EQ(cis_kodnuts("CZ0806", "AA0690"), 0);
    EXPECT_EQ(cis_kodnuts("CZ020A", "AA0690"), 0);
    EXPECT_EQ(cis_kodnuts("CZ0999", "AA0690"), 1);
    EXPECT_EQ(cis_kodnuts("CZ0100 ", "AA0179"), 1);
    EXPECT_EQ(nalezy(cap, "EL056"),
              (Rows{"5;EL056;;;AA0690;CZ0999;   ", "5;EL056;;;AA0179;CZ0100 ;   "}));
}

TEST(SmallLists, EducationTakesOnlyTheFourteenLetters) {
    ReportCapture cap;
    cislo_radky = 5;
    for (const char* code : {"A", "B", "H", "V"}) EXPECT_EQ(cis_kodvzde(code), 0) << code;
    for (const char* code : {"F", "Z", "a", "AB"}) EXPECT_EQ(cis_kodvzde(code), 1) << code;
    EXPECT_EQ(nalezy(cap, "EL048").front(), "5;EL048;;;AA0223;F;   ");
    EXPECT_EQ(nalezy(cap, "EL048").size(), 4u);
}

TEST(SmallLists, KindsOfEmploymentRelation) {
    ReportCapture cap;
    cislo_radky = 5;
    EXPECT_EQ(cis_koddppv("10"), 0);
    EXPECT_EQ(cis_koddppv("1"), 0);
    EXPECT_EQ(cis_koddppv("2"), 1);
    EXPECT_EQ(cis_koddppv("01"), 1);
    EXPECT_EQ(nalezy(cap, "EL004"),
              (Rows{"5;EL004;;;AA0130;2;10, (1)", "5;EL004;;;AA0130;01;10, (1)"}));
}

TEST(SmallLists, PositionsInEmployment) {
    ReportCapture cap;
    cislo_radky = 5;
    EXPECT_EQ(cis_postzam("1111"), 0);
    EXPECT_EQ(cis_postzam("1320"), 0);
    EXPECT_EQ(cis_postzam("1113"), 1);
    EXPECT_EQ(nalezy(cap, "EL068"), (Rows{"5;EL068;;;AA0091;1113;   "}));
}

// The shipped sample registers hold exactly what the end-to-end cases use.
TEST(SampleRegisters, SubmittersAndTheirProviders) {
    ASSERT_EQ(nTcisPred, 2);
    EXPECT_EQ(TcisPred[0], 10000003u);
    EXPECT_EQ(TcisPred[1], 20000006u);
    const std::uint32_t pairs[5][2] = {{10000003, 10000003}, {20000006, 20000006},
                                       {30000009, 10000003}, {40000001, 20000006},
                                       {50000004, 0}};
    ASSERT_GT(nTcisPosPre, 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(TcisPosPre[i], pairs[i][0]);
        EXPECT_EQ(TcisPrePos[i], pairs[i][1]);
    }
    // Everything else: benchmark providers under 10000003, valid check digits.
    for (int i = 5; i < nTcisPosPre; ++i) {
        EXPECT_GE(TcisPosPre[i], 71000000u);
        EXPECT_LE(TcisPosPre[i], 71999999u);
        EXPECT_EQ(TcisPrePos[i], 10000003u);
        EXPECT_GT(TcisPosPre[i], TcisPosPre[i - 1]);
        char ico[16];
        std::snprintf(ico, sizeof ico, "%08u", static_cast<unsigned>(TcisPosPre[i]));
        EXPECT_EQ(chk_ICO(ico), 0) << ico;
    }
}
