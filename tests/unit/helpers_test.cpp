// String and number helpers: positions, trimming, the number test of the
// element types and the end-tag match.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "src/xml/helpers.h"

using namespace quelt;

TEST(Helpers, JinstrFindsFirstOccurrence) {
    EXPECT_EQ(jinstr("rep.old.txt", '.'), 4);
    EXPECT_EQ(jinstr("report", '.'), 0);
    EXPECT_EQ(jinstr("", '.'), 0);
}

TEST(Helpers, JsubstrCopiesFromOneBasedPosition) {
    char dst[16];
    EXPECT_EQ(jsubstr(dst, "orve.htm", 6, 10), 3);
    EXPECT_STREQ(dst, "htm");
    EXPECT_EQ(jsubstr(dst, "abc", 4, 5), 0);  // just past the end
    EXPECT_STREQ(dst, "");
    EXPECT_EQ(jsubstr(dst, "@list", 2, 3), 3);
    EXPECT_STREQ(dst, "lis");
    EXPECT_EQ(jsubstr(dst, "abc", 0, 2), 0);  // no position 0
    EXPECT_EQ(jsubstr(dst, "abc", 1, 0), 0);
    EXPECT_STREQ(dst, "");
}

TEST(Helpers, JezltrimRemovesLeadingSpacesOnly) {
    char buf[16] = "  12 ";
    jezltrim(buf, buf);
    EXPECT_STREQ(buf, "12 ");
    char tab[16] = "\t12";
    jezltrim(tab, tab);
    EXPECT_STREQ(tab, "\t12");
}

TEST(Helpers, JezdifdblIsAbsoluteDifference) {
    EXPECT_DOUBLE_EQ(jezdifdbl(3.0, 10.0), 7.0);
    EXPECT_DOUBLE_EQ(jezdifdbl(10.0, 3.0), 7.0);
    EXPECT_DOUBLE_EQ(jezdifdbl(-2.0, 2.0), 4.0);
}

// Whole numbers ('N') take a sign, decimals ('R') a point as well; an empty
// text, a lone sign or a lone point read as 0.
TEST(Helpers, StrToDblReadsWholeNumbersAndDecimals) {
    const struct {
        const char* text;
        char type;
        double v;
    } cases[] = {
        {"123", 'N', 123.0}, {"-5", 'N', -5.0}, {"+5", 'N', 5.0}, {"007", 'N', 7.0}, {"", 'N', 0.0},
        {"-", 'N', 0.0},     {"1.25", 'R', 1.25}, {".5", 'R', 0.5}, {"5.", 'R', 5.0}, {".", 'R', 0.0},
    };
    for (const auto& p : cases) {
        double v = 99.0;
        EXPECT_EQ(StrToDbl(&v, p.text, p.type), 0) << p.text;
        EXPECT_DOUBLE_EQ(v, p.v) << p.text;
    }
}

// Anything else is refused and reads as 0; only 'R' takes a point.
TEST(Helpers, StrToDblRejectsAndZeroes) {
    const std::pair<const char*, char> cases[] = {
        {"1.5", 'N'}, {"5-", 'N'},  {"+-5", 'N'}, {"12 ", 'N'},   {" 12", 'N'},  {"1e5", 'N'},
        {"0x10", 'N'}, {"inf", 'N'}, {"1,5", 'N'}, {"1.2.3", 'R'}, {"1,25", 'R'}, {"1.5", 'S'},
    };
    for (const auto& [text, type] : cases) {
        double v = 42.0;
        EXPECT_EQ(StrToDbl(&v, text, type), 1) << text << " " << type;
        EXPECT_DOUBLE_EQ(v, 0.0) << text << " " << type;
    }
}

TEST(Helpers, PrvekZacKonMatchesEndTagsByPrefix) {
    EXPECT_EQ(prvek_zac_kon("AA0017", "/AA0017"), 'A');
    EXPECT_EQ(prvek_zac_kon("AA0017", "/AA0018"), 'N');
    EXPECT_EQ(prvek_zac_kon("AA0017", "/AA00170"), 'A');
    EXPECT_EQ(prvek_zac_kon("AA0017", "xAA0017"), 'A');
    EXPECT_EQ(prvek_zac_kon("AA0017", "/AA001"), 'N');
    EXPECT_EQ(prvek_zac_kon("AA0017", ""), 'N');
    EXPECT_EQ(prvek_zac_kon("", ""), 'A');
}

// The fast conversion must give exactly what strtod gives, to the last bit,
// or reports with "%10.4f" and the exact comparisons of the rules would change.
TEST(Helpers, StrToDblAgreesBitForBitWithStrtod) {
    std::uint64_t state = 12345;
    auto next = [&state] {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<unsigned>(state >> 33);
    };
    char text[32];
    for (int i = 0; i < 200000; ++i) {
        int n = 0;
        if (next() % 4 == 0) text[n++] = next() % 2 ? '-' : '+';
        const int digits = 1 + static_cast<int>(next() % 18);
        const int point = static_cast<int>(next() % (digits + 2));
        for (int d = 0; d < digits; ++d) {
            if (d == point) text[n++] = '.';
            text[n++] = static_cast<char>('0' + next() % 10);
        }
        text[n] = '\0';
        double v = 0.0;
        ASSERT_EQ(StrToDbl(&v, text, 'R'), 0) << text;
        const double want = std::strtod(text, nullptr);
        ASSERT_EQ(std::memcmp(&v, &want, sizeof v), 0) << text;
    }
}
