// Definition tables: row order that the rules rely on, name look-up, bound
// resolution and the generic length and range tests.
#include <gtest/gtest.h>

#include <string>

#include "src/elements/tables.h"

using namespace quelt;

TEST(Tables, EveryRowIsFoundAtItsOwnNumber) {
    for (int i = 0; i < P_END; ++i) EXPECT_EQ(find_P(Ptab[i].elem), i) << Ptab[i].elem;
    for (int i = 0; i < T_END; ++i) EXPECT_EQ(find_T(Ttab[i].elem), i) << Ttab[i].elem;
    for (int i = 0; i < N_END; ++i) EXPECT_EQ(find_N(Ntab[i].elem), i) << Ntab[i].elem;
}

TEST(Tables, RowNumbersTheRulesUse) {
    EXPECT_EQ(find_P("ICOpredkladatele"), 2);
    EXPECT_EQ(find_T("AA0114"), 7);
    EXPECT_EQ(find_N("AA0136"), 15);
    EXPECT_EQ(find_N("AA0144"), 26);
    EXPECT_EQ(find_N("AA0690"), 57);
    EXPECT_EQ(P_END, 8);
    EXPECT_EQ(T_END, 11);
    EXPECT_EQ(N_END, 58);
}

// The end markers never match, case matters, an employee element is not an
// employer one, and look-alikes that share a name's length and some of its
// bytes are told apart.
TEST(Tables, UnknownNamesGiveTheEndRow) {
    for (const std::string name : {"KoNeCP", "", "xok", "Xrok", "ok"}) EXPECT_EQ(find_P(name), P_END) << name;
    for (const std::string name : {"KoNeCT", "AA0126", "AA1017"}) EXPECT_EQ(find_T(name), T_END) << name;
    for (const std::string name : {"KoNeCN", "aa0136", "AA013", "AA01366", "AB0126", "XX0690"})
        EXPECT_EQ(find_N(name), N_END) << name;
    EXPECT_EQ(find_N(std::string(299, 'A')), N_END);
}

TEST(Tables, BoundIndexesResolve) {
    const ElementDef& rok = Ptab[P_rok];
    EXPECT_STREQ(text_bound(rok.val_from_e), "2010");
    EXPECT_DOUBLE_EQ(TValDbl[Ttab[T_AA0114].val_from_e], 0.0001);
    EXPECT_DOUBLE_EQ(TValDbl[Ttab[T_AA0123].val_to_e], 1000000000000.0);
    EXPECT_DOUBLE_EQ(TValDbl[Ntab[N_AA0240].val_from_e], -999990.0);
    for (const auto& row : Ntab) {
        if (row.val_from_e >= 1000) {
            EXPECT_LT(row.val_to_e - 1000, 23);
        } else {
            EXPECT_LT(row.val_to_e, 26);
        }
    }
}

TEST(Tables, TextRangeIsByteWiseOnWholeText) {
    EXPECT_FALSE(outside_text_range(Ptab[P_rok], "2010"));
    EXPECT_TRUE(outside_text_range(Ptab[P_rok], "20100"));
    EXPECT_TRUE(outside_text_range(Ptab[P_rok], "2011"));
    EXPECT_FALSE(outside_text_range(Ttab[T_AA0179], "CZ01x9"));
    EXPECT_FALSE(outside_text_range(Ttab[T_AA0179], "CZ0123"));
    EXPECT_TRUE(outside_text_range(Ttab[T_AA0179], "CZ0A12"));
    EXPECT_FALSE(outside_text_range(Ptab[P_telefon], "+420 123 456 789"));
    EXPECT_TRUE(outside_text_range(Ptab[P_telefon], "(420) 123"));
    EXPECT_TRUE(outside_text_range(Ptab[P_predkladatel], "-firma"));
    // Bytes above 0x7F sort high: "Č" (0xC8) is inside "0" .. ten times "ý".
    EXPECT_FALSE(outside_text_range(Ptab[P_predkladatel], "\xC8" "esk\xE1 firma"));
    EXPECT_TRUE(outside_text_range(Ptab[P_predkladatel], "\xFE"));
}

TEST(Tables, NumericRangeIsInclusive) {
    EXPECT_FALSE(outside_number_range(Ntab[N_AA0231], 1910));
    EXPECT_FALSE(outside_number_range(Ntab[N_AA0231], 1996));
    EXPECT_TRUE(outside_number_range(Ntab[N_AA0231], 1909));
    EXPECT_TRUE(outside_number_range(Ntab[N_AA0231], 1997));
    EXPECT_FALSE(outside_number_range(Ntab[N_AA0136], 0.5));
    EXPECT_TRUE(outside_number_range(Ntab[N_AA0136], 1.01));
}

TEST(Tables, LengthTexts) {
    EXPECT_STREQ(length_text(Ptab[P_rok]).s, "d\xE9lka 4");
    EXPECT_STREQ(length_text(Ntab[N_AA0144]).s, "d\xE9lka 1 - 8");
}

// Names compared word by word: a difference in either word, at every length.
TEST(Tables, SameNameComparesWholeNames) {
    for (const std::string a : {"ab", "abcd", "abcdefg", "abcdefgh", "abcdefghijklmnop", "abcdefghijklmnopq"}) {
        EXPECT_TRUE(same_name(a, a)) << a;
        EXPECT_FALSE(same_name(a, a + "x")) << a;
        for (std::size_t i : {std::size_t{0}, a.size() - 1}) {
            std::string b = a;
            b[i] = 'X';
            EXPECT_FALSE(same_name(a, b)) << a << " " << i;
        }
    }
}
