// The names the batch builds: joins and roots in both systems' names, report
// stems, the .xml test, letter case as Windows ignores it, and the batch's
// own outputs told by their first bytes.
#include <gtest/gtest.h>

#include <string>

#include "src/batch/naming.h"
#include "src/xml/cp1250.h"

namespace quelt::test {
namespace {

using namespace quelt::batch;

struct JoinCase {
    bool windows;
    const char* folder;
    const char* name;
    const char* joined;
};

const JoinCase kJoins[] = {
    {false, "out", "a.htm", "out/a.htm"},
    {false, "out/", "a.htm", "out/a.htm"},
    {false, "", "a.htm", "a.htm"},
    // A colon ends no folder in a Linux name: -o 'rep:' is the folder rep:.
    {false, "rep:", "a.htm", "rep:/a.htm"},
    {false, "C:", "a.htm", "C:/a.htm"},
    {false, "dir\\", "a.htm", "dir\\/a.htm"},
    {true, "out", "a.htm", "out\\a.htm"},
    {true, "out\\", "a.htm", "out\\a.htm"},
    {true, "out/", "a.htm", "out/a.htm"},
    {true, "C:", "a.htm", "C:a.htm"},
    {true, "\\\\server\\share\\new", "a.htm", "\\\\server\\share\\new\\a.htm"},
    {true, ".", "@a.xml", ".\\@a.xml"},
};

TEST(BatchNames, JoinedInEachSystemsWay) {
    for (const JoinCase& c : kJoins)
        EXPECT_EQ(join_path(c.folder, c.name, c.windows), c.joined) << c.folder << " + " << c.name;
}

struct RootCase {
    bool windows;
    const char* path;
    std::size_t root;
};

// The part of a path the batch never tries to make.
const RootCase kRoots[] = {
    {false, "out/new", 0},
    {false, "/srv/out", 1},
    {false, "//srv/out", 2},
    {false, "", 0},
    {true, "out\\new", 0},
    {true, "\\out", 1},
    {true, "C:", 2},
    {true, "C:out", 2},
    {true, "C:\\out\\new", 3},
    {true, "\\\\server\\share\\new\\sub", 15},
    {true, "//server/share/new", 15},
    {true, "\\\\server\\share", 14},
    {true, "\\\\server", 8},
    {true, "\\\\?\\C:\\out", 7},
    {true, "\\\\?\\UNC\\server\\share\\new", 21},
    {true, "\\\\.\\C:\\out", 7},
    {true, "\\\\?\\", 4},
    {true, "\\\\?", 3},
    {true, "/", 1},
    {true, "C", 0},
};

TEST(BatchNames, RootsOfPathsAreNeverMade) {
    for (const RootCase& c : kRoots) EXPECT_EQ(root_length(c.path, c.windows), c.root) << c.path;
}

struct StemCase {
    const char* input;
    const char* stem;
};

const StemCase kStems[] = {
    {"p1/a.xml", "a"},      {"x.tar.xml", "x.tar"}, {".xml", ".xml"},   {"a", "a"},
    {"dir/", "soubor"},     {"..x", "soubor"},      {".", "soubor"},    {"..", "soubor"},
    {"...xml", "soubor"},      {"@w.xml", "@w"},       {"./@w.xml", "@w"}, {"a.", "a"},
};

TEST(BatchNames, AReportIsNamedAfterItsInput) {
    for (const StemCase& c : kStems) EXPECT_EQ(report_stem(c.input, false), c.stem) << c.input;
    EXPECT_EQ(report_stem("C:a.xml", true), "a");
    EXPECT_EQ(report_stem("dir\\b.xml", true), "b");
    EXPECT_EQ(report_stem("dir\\b.xml", false), "dir\\b");
}

TEST(BatchNames, XmlFilesWhateverTheirCase) {
    for (const char* yes : {"a.xml", "A.XML", "b.Xml", ".xml", "c.d.xml"}) EXPECT_TRUE(has_xml_extension(yes)) << yes;
    for (const char* no : {"a.xml.pdf", "axml", "xml", "a.xm", "Thumbs.db", "desktop.ini", "a.docx", ""})
        EXPECT_FALSE(has_xml_extension(no)) << no;
}

TEST(BatchNames, LetterCaseAsWindowsIgnoresIt) {
    EXPECT_EQ(case_key("Šárka.htm"), case_key("šárka.HTM"));
    EXPECT_EQ(case_key("mzdy-červen.htm"), case_key("MZDY-ČERVEN.htm"));
    EXPECT_EQ(case_key("шаблон.htm"), case_key("ШАБЛОН.htm"));
    EXPECT_EQ(case_key("ÿ-ǆ"), case_key("Ÿ-Ǆ"));
    // Characters whose upper case is no single character stay themselves.
    EXPECT_NE(case_key("ß"), case_key("SS"));
    EXPECT_NE(case_key("a.htm"), case_key("b.htm"));
    EXPECT_NE(case_key("Šárka"), case_key("Sarka"));
    // A name that is no UTF-8 is Windows-1250 bytes.
    EXPECT_EQ(case_key("Šárka.htm"_cp), case_key("šÁRKA.htm"_cp));
    EXPECT_EQ(case_key("Šárka.htm"_cp), case_key("Šárka.htm"));
    EXPECT_NE(case_key("\x81"), case_key("\x83"));
    // Four-byte characters stay themselves; a sequence cut short, or a
    // continuation missing, makes the whole name Windows-1250.
    EXPECT_EQ(case_key("a😀.htm"), case_key("A😀.HTM"));
    EXPECT_EQ(case_key("\xC4"), case_key("\xE4"));
    EXPECT_EQ(case_key("\xC4x"), case_key("\xE4X"));
    EXPECT_NE(case_key("\xF5\x80\x80\x80"), case_key("\xF5\x80\x80\x81"));
}

struct OutputCase {
    const char* what;
    std::string head;
    BatchOutput output;
};

TEST(BatchNames, TheBatchsOutputsByTheirFirstBytes) {
    const OutputCase cases[] = {
        {"HTML report", "<html>\n<head>\n<META http-equiv=\"Content-Type\" content=\"text/html; "
                        "charset=Windows-1250\">\n<title>ORV - vysledky kontroly dat</title>",
         BatchOutput::report},
        {"text report", " Datum a čas:  06/07/2010  00:00:00  Soubor:  a.xml \n"_cp, BatchOutput::report},
        {"CSV report", "Radek;Chyba;Zamestnavatel;Zamestnanec;Prvek;Hodnota;Ocekavano;Popis\n", BatchOutput::report},
        {"CSV report, CR LF", "Radek;Chyba;Zamestnavatel;Zamestnanec;Prvek;Hodnota;Ocekavano;Popis\r\n",
         BatchOutput::report},
        {"XML report", "<?xml version = \"1.0\" encoding = \"Windows-1250\"?><ORV_chyby>\n", BatchOutput::report},
        {"a failed run's report", " Nelze otevrit soubor  a.xml\n Program ukoncen\n", BatchOutput::report},
        {"a failed run's report, CR LF", " Nelze otevrit soubor  a.xml\r\n Program ukoncen\r\n", BatchOutput::report},
        {"summary CSV", "Soubor;IČO předkladatele;IČO zaměstnavatelů;"_cp, BatchOutput::summary},
        {"the page's summary CSV", "Soubor;Chyby E;Varování W;Stav;Zpráva\n"_cp, BatchOutput::summary},
        {"summary page", "<!DOCTYPE html>\n<html lang=\"cs\">\n<head>\n<title>ORV - souhrn kontroly souborů</title>"_cp,
         BatchOutput::summary},
        {"a submission", "<?xml version=\"1.0\"?>\n<ORV>", BatchOutput::none},
        {"an HTML page", "<html><title>Moje</title>", BatchOutput::none},
        {"a CSV of other columns", "Radek;Chyba;Jine\n", BatchOutput::none},
        {"more than the report's columns", "Radek;Chyba;Zamestnavatel;Zamestnanec;Prvek;Hodnota;Ocekavano;Popis;X\n",
         BatchOutput::none},
        {"a text with a line that does not begin with a blank", " a\nb\n Program ukoncen\n", BatchOutput::none},
        {"a text that does not end the program", " Nelze otevrit soubor  a.xml\n", BatchOutput::none},
        {"a text that does not begin with a blank", "Nelze otevrit soubor  a.xml\n Program ukoncen\n",
         BatchOutput::none},
        {"another document page", "<!DOCTYPE html><title>Souhrn</title>", BatchOutput::none},
        {"nothing", "", BatchOutput::none},
    };
    for (const OutputCase& c : cases) EXPECT_EQ(batch_output_of(c.head), c.output) << c.what;
}

}  // namespace
}  // namespace quelt::test
