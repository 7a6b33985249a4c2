// Windows-1250 from UTF-8 at run time: the names of a list that Notepad saved
// as UTF-8, which the Windows build opens in Windows-1250; and back, for the
// page and the verdict.
#include <gtest/gtest.h>

#include <string>

#include "src/xml/cp1250.h"

using namespace quelt;

namespace {

struct Conversion {
    const char* utf8;
    const char* cp1250;
    bool whole;
};

const Conversion kConversions[] = {
    {"priklad.xml", "priklad.xml", true},
    {"", "", true},
    {"výkaz.xml", "v\xFDkaz.xml", true},
    {"čeština", "\xE8\x65\x9A\x74ina", true},
    {"Přehled čtvrtletí ŽŠ.xml", "P\xF8" "ehled \xE8tvrtlet\xED \x8E\x8A.xml", true},
    {"€–„…", "\x80\x96\x84\x85", true},  // three bytes each in UTF-8
    // Characters the code page has not: one '?' each, whatever their length.
    {"д.xml", "?.xml", false},
    {"a😀b", "a?b", false},
    {"\xC2\x80", "?", false},  // U+0080, a control character 1250 leaves out
    // Bytes that are no UTF-8: one '?' for each byte that starts nothing.
    {"a\xFF" "b", "a?b", false},
    {"a\xC3", "a?", false},                  // cut short at the end
    {"\xC3" "a", "?a", false},               // cut short by an ASCII byte
    {"\xC0\xAF", "??", false},               // overlong '/'
    {"\xE0\x80\xAF", "???", false},          // overlong '/' in three bytes
    {"\xED\xA0\x80", "???", false},          // a surrogate
    {"\xF4\x90\x80\x80", "????", false},     // past U+10FFFF
    {"\xF0\x80\x80\xAF", "????", false},     // overlong '/' in four bytes
    {"\xF5\x80\x80", "???", false},           // no lead byte: past U+10FFFF
    {"\xFF\x80\x80", "???", false},
    {"\xEE\x80\x80", "?", false},             // U+E000, a character 1250 has not
    {"\xF0\x9F\x98", "???", false},           // four bytes cut short
};

TEST(Cp1250, Utf8NamesAtRunTime) {
    for (const Conversion& c : kConversions) {
        std::string out = "left over";
        EXPECT_EQ(utf8_to_cp1250(c.utf8, out), c.whole) << c.utf8;
        EXPECT_EQ(out, c.cp1250) << c.utf8;
        EXPECT_EQ(cp1250_from_utf8(c.utf8), c.cp1250) << c.utf8;
        if (c.whole) {
            EXPECT_EQ(utf8_from_cp1250(c.cp1250), c.utf8) << c.utf8;
        }
    }
}

TEST(Cp1250, EveryCharacterOfTheTableComesBack) {
    for (const Cp1250Pair& p : kCp1250Upper) EXPECT_EQ(cp1250_byte(p.cp), p.byte);
    EXPECT_EQ(cp1250_byte(0x00A1), 0);
    EXPECT_EQ(cp1250_byte(0x10FFFF), 0);
}

}  // namespace
