// Employee register: clearing at the employer start, growth beyond the old
// fixed capacity, the stable order by employee identifier, records without an
// identifier, and the groups with their line lists.
#include <gtest/gtest.h>

#include <string>

#include "src/rules/rules.h"
#include "tests/unit/register_builder.h"
#include "tests/unit/report_capture.h"

namespace quelt::test {
namespace {

class Register : public ::testing::Test {
protected:
    void SetUp() override { clear_register(); }
    static std::vector<std::string> poradi(int serazenych) {
        std::vector<std::string> out;
        for (int p = 0; p < serazenych; ++p)
            out.push_back(entry_at(p).anec_iAA0126 + "@" +
                          line_text(entry_at(p).anec_lin).s);
        return out;
    }
    ReportCapture cap;
};

TEST_F(Register, EmployerStartClearsEntriesSumsAndFlags) {
    pridej({.id = "A", .lin = 10});
    sumz_AA0136 = 1;
    sumz_AA0137 = 2;
    sumz_AA0144 = 3;
    sumz_EL084 = 4;
    sw_anec_AA0137 = 2;
    sw_anec_AA0033 = 1;
    sumz_AA0223_Z = 7;
    sw_stejne_vzdelani = 'N';
    clear_register();
    EXPECT_EQ(maxAktiAnec, -1);
    EXPECT_TRUE(anec.empty());
    EXPECT_TRUE(anec_ind.empty());
    EXPECT_EQ(sumz_AA0136, 0);
    EXPECT_EQ(sumz_AA0137, 0);
    EXPECT_EQ(sumz_AA0144, 0);
    EXPECT_EQ(sumz_EL084, 0);
    EXPECT_EQ(sw_anec_AA0137, 0);
    EXPECT_EQ(sw_anec_AA0033, 0);
    EXPECT_EQ(sumz_AA0223_Z, 0);
    EXPECT_EQ(sw_stejne_vzdelani, 'A');
}

TEST_F(Register, NewRecordStartsFromClearedValues) {
    start_entry();
    const AnecEntry& e = current_entry();
    EXPECT_EQ(maxAktiAnec, 0);
    EXPECT_EQ(e.anec_iAA0126, "-");
    EXPECT_EQ(e.anec_lin, 0);
    EXPECT_EQ(e.anec_iAA0211, ' ');
    EXPECT_EQ(e.anec_iAA0223, ' ');
    EXPECT_EQ(e.anec_iAA0033, 0);
    EXPECT_EQ(e.anec_iAA0137, 0);
    EXPECT_EQ(anec_ind[0], -1);
}

TEST_F(Register, KeepsEveryRecordBeyondFifteenThousand) {
    for (int i = 0; i < 15002; ++i) pridej({.id = "X", .lin = 10 + i});
    EXPECT_EQ(maxAktiAnec, 15001);
    EXPECT_EQ(anec[15000].anec_lin, 15010);
    EXPECT_EQ(anec[15001].anec_lin, 15011);
}

TEST_F(Register, NoRecordsNothingToOrder) { EXPECT_EQ(sort_register(), 0); }

TEST_F(Register, OrderKeepsTheArrivalOfOneEmployeesRecords) {
    pridej({.id = "A", .lin = 10});
    pridej({.id = "B", .lin = 20});
    pridej({.id = "A", .lin = 30});
    const int n = sort_register();
    EXPECT_EQ(poradi(n), (std::vector<std::string>{"A@10", "A@30", "B@20"}));
}

TEST_F(Register, IdentifiersCompareAsBytes) {
    pridej({.id = "9", .lin = 1});
    pridej({.id = "\xC8" "A", .lin = 2});  // above every ASCII byte
    pridej({.id = "10", .lin = 3});
    pridej({.id = "123", .lin = 4});
    pridej({.id = "0123", .lin = 5});
    pridej({.id = "Z", .lin = 6});
    const int n = sort_register();
    EXPECT_EQ(poradi(n), (std::vector<std::string>{"0123@5", "10@3", "123@4", "9@1", "Z@6",
                                                   "\xC8" "A@2"}));
    for (int p = 0; p < n; ++p) EXPECT_EQ(same_employee_after(p, n), 0);
}

TEST_F(Register, RecordsWithoutIdentifierStayOutOfTheOrder) {
    pridej({.id = "B", .lin = 10});
    pridej({.lin = 20});
    pridej({.id = "-", .lin = 30});  // the cleared value, given as a real identifier
    pridej({.lin = 40});
    pridej({.id = "B", .lin = 50});
    const int n = sort_register();
    EXPECT_EQ(n, 3);
    EXPECT_EQ(poradi(n), (std::vector<std::string>{"-@30", "B@10", "B@50"}));
    EXPECT_EQ(anec_ind[3], -1);
    EXPECT_EQ(anec_ind[4], -1);
    EXPECT_EQ(same_employee_after(0, n), 0);
    EXPECT_EQ(same_employee_after(1, n), 1);
}

TEST_F(Register, GroupLineListOfThree) {
    pridej({.id = "A", .lin = 40});
    pridej({.id = "A", .lin = 102});
    pridej({.id = "A", .lin = 164});
    const int n = sort_register();
    ASSERT_EQ(same_employee_after(0, n), 2);
    EXPECT_STREQ(line_list(0, 2).s, "40,102,164");
}

TEST_F(Register, GroupLineListOfSixHasNoTail) {
    for (int i = 1; i <= 6; ++i) pridej({.id = "A", .lin = i * 100000});
    const int n = sort_register();
    ASSERT_EQ(same_employee_after(0, n), 5);
    EXPECT_STREQ(line_list(0, 5).s, "100000,200000,300000,400000,500000,600000");
}

TEST_F(Register, GroupLineListOfSevenAndMoreNamesTheFirstSix) {
    for (int i = 1; i <= 8; ++i) pridej({.id = "A", .lin = i});
    pridej({.id = "B", .lin = 9});
    const int n = sort_register();
    ASSERT_EQ(same_employee_after(0, n), 7);
    EXPECT_STREQ(line_list(0, 7).s, "1,2,3,4,5,6, ...... ");
    EXPECT_STREQ(line_list(0, 6).s, "1,2,3,4,5,6, ...... ");
}

TEST_F(Register, LineListFitsTheLongestLineNumbers) {
    for (int i = 0; i < 8; ++i) pridej({.id = "A", .lin = 9000000000000000000LL + i});
    const int n = sort_register();
    const std::string list = line_list(0, same_employee_after(0, n)).s;
    EXPECT_EQ(list.substr(list.size() - 9), ", ...... ");
    EXPECT_EQ(list.substr(0, 20), "9000000000000000000,");
}

TEST_F(Register, LargeEmployerIsOrderedStably) {
    constexpr int n = 100000;
    char id[16];
    for (int i = 0; i < n; ++i) {
        // Identifiers repeat every 40000 records, arriving in descending order.
        std::snprintf(id, sizeof id, "%05d", 39999 - i % 40000);
        pridej({.id = id, .lin = i + 1});
    }
    const int serazenych = sort_register();
    ASSERT_EQ(serazenych, n);
    for (int p = 1; p < n; ++p) {
        const AnecEntry& a = entry_at(p - 1);
        const AnecEntry& b = entry_at(p);
        ASSERT_TRUE(a.anec_iAA0126 < b.anec_iAA0126 ||
                    (a.anec_iAA0126 == b.anec_iAA0126 && a.anec_lin < b.anec_lin))
            << p;
    }
}

}  // namespace
}  // namespace quelt::test
