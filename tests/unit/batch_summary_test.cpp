// The batch's summary: the cells of each kind of row, the Czech plural
// forms, the verdicts' totals, the cap of the employers' numbers, and the
// two files as a spreadsheet and a browser meet them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <unistd.h>

#include "src/batch/summary.h"
#include "src/xml/cp1250.h"
#include "tests/unit/scratch_folder.h"

namespace quelt::test {
namespace {

using namespace quelt::batch;
using namespace std::string_literals;

Row finished(const char* input, int status, int e, int w, const char* failure = "") {
    Row row;
    row.input = input;
    row.report = std::string("out/") + input + ".htm";
    row.finished = true;
    row.result.outcome.status = status;
    row.result.outcome.errors_e = e;
    row.result.outcome.warnings_w = w;
    row.result.outcome.failure = failure;
    row.result.records = 3;
    row.result.submitter = "10000003";
    row.result.employers = "30000009";
    return row;
}

Row waiting(const char* input) {
    Row row;
    row.input = input;
    row.report = "out/w.htm";
    return row;
}

TEST(BatchSummary, CzechPluralForms) {
    const std::pair<std::size_t, const char*> forms[] = {
        {0, "0 souborů"}, {1, "1 soubor"},    {2, "2 soubory"},   {4, "4 soubory"},
        {5, "5 souborů"}, {11, "11 souborů"}, {22, "22 souborů"}, {101, "101 souborů"}};
    for (const auto& [n, text] : forms) EXPECT_EQ(count_of_files(n), text);
}

TEST(BatchSummary, EachKindOfRow) {
    const bool running = false;
    EXPECT_EQ(row_cells(finished("a.xml", 0, 0, 0), running),
              (std::vector<std::string>{"a.xml", "10000003", "30000009", "3", "0", "0", "lze odeslat", "0",
                                        "kontrola dokončena"_cp, "a.xml.htm"}));
    EXPECT_EQ(row_cells(finished("b.xml", 0, 0, 2), running)[6], "s varováními"_cp);
    EXPECT_EQ(row_cells(finished("c.xml", 0, 2, 2), running)[6], "opravit");
    Row empty = finished("d.xml", 0, 0, 0);
    empty.result.outcome.no_submission = true;
    EXPECT_EQ(row_cells(empty, running)[6], "opravit");
    EXPECT_EQ(row_cells(finished("e.xml", 13, 0, 0, "Nelze otevrit soubor  e.xml"), running),
              (std::vector<std::string>{"e.xml", "10000003", "30000009", "", "", "", "nezkontrolováno"_cp, "13",
                                        "Nelze otevrit soubor  e.xml", "e.xml.htm"}));
    EXPECT_EQ(row_cells(waiting("f.xml"), running),
              (std::vector<std::string>{"f.xml", "", "", "", "", "", "nezkontrolováno"_cp, "", "čeká na kontrolu"_cp, ""}));
    EXPECT_EQ(row_cells(waiting("f.xml"), true)[8], "nezkontrolováno: dávka byla přerušena"_cp);
    Row folder = finished("g", 13, 0, 0, "Nelze cist slozku  g");
    folder.report.clear();
    EXPECT_EQ(row_cells(folder, running)[9], "");
}

TEST(BatchSummary, NamesInWindows1250) {
    EXPECT_EQ(summary_text("mzdy-červen.xml"), "mzdy-červen.xml"_cp);
    EXPECT_EQ(summary_text("шаблон.xml"), "??????.xml");
    EXPECT_EQ(summary_text("mzdy-červen.xml"_cp), "mzdy-červen.xml"_cp);
}

TEST(BatchSummary, VerdictTotals) {
    const std::vector<Row> rows = {finished("a", 0, 0, 0), finished("b", 0, 1, 0), finished("c", 0, 2, 0),
                                   finished("d", 0, 0, 3), finished("e", 13, 0, 0), waiting("f")};
    EXPECT_EQ(verdict_totals(rows), "lze odeslat 1, s varováními 1, opravit 2, nezkontrolováno 2");
}

TEST(BatchSummary, TheSpreadsheetGetsNoFormula) {
    Row row = finished("=1+2.xml", 0, 0, 0);
    row.result.submitter = "=2+5";
    row.result.employers = "=cmd|' /C calc'!A0";
    const std::string csv = summary_csv({row}, false);
    EXPECT_EQ(csv.substr(0, csv.find('\n')),
              "Soubor;IČO předkladatele;IČO zaměstnavatelů;Záznamů zaměstnanců;Chyb E;Chyb W;Výsledek;Stav;"
              "Zpráva;Protokol"_cp);
    EXPECT_EQ(csv.substr(csv.find('\n') + 1),
              "'=1+2.xml;'=2+5;'=cmd|' /C calc'!A0;3;0;0;lze odeslat;0;kontrola dokončena;'=1+2.xml.htm\n"_cp);
}

TEST(BatchSummary, ThePageMarksVerdictsAndLinksSafely) {
    Row a = finished("<b>.xml", 0, 2, 0);
    a.report = "out/javascript:alert(1).htm";
    Row b = finished("mzdy-červen.xml", 0, 0, 0);
    b.report = "out/mzdy-červen.htm";
    const std::string page = summary_htm({a, b, waiting("c.xml")}, false);
    const std::vector<std::string> pieces = {
        "<tr data-verdict=\"errors\"><th scope=\"row\">&lt;b&gt;.xml</th>",
        "<a href=\"javascript%3Aalert%281%29.htm\">javascript:alert(1).htm</a>",
        "<a href=\"mzdy-%C4%8Derven.htm\">"s + "mzdy-červen.htm"_cp + "</a>",
        "<tr data-verdict=\"ok\">",
        "<td class=\"pocet\">3</td><td class=\"pocet\">2</td><td class=\"pocet\">0</td>"
        "<td class=\"verdict\">opravit</td><td>0</td>",
        "<tr data-verdict=\"incomplete\"><th scope=\"row\">c.xml</th>",
        "<td class=\"verdict\">nezkontrolováno</td>"_cp,
        "Celkem 3 soubory</th>",
        "<title>ORV - souhrn kontroly souborů</title>"_cp,
        "<h1>Souhrn kontroly souborů ORV</h1>"_cp,
        "(kontrola nedoběhla).</caption>"_cp,
        "Kontrola ještě běží: hotovo 2, zbývá 1."_cp};
    for (const std::string& piece : pieces)
        EXPECT_NE(page.find(piece), std::string::npos) << piece;
    EXPECT_NE(summary_htm({a}, false).find("Kontrola skončila."_cp), std::string::npos);
    EXPECT_NE(summary_htm({waiting("c")}, true).find("Kontrola byla přerušena"_cp), std::string::npos);
}

TEST(BatchSummary, AFileIsReplacedWholeOrNotAtAll) {
    ScratchFolder dir;
    const std::string name = dir / "souhrn.csv";
    write_file(name, "old");
    EXPECT_TRUE(write_whole(name, "new"));
    EXPECT_EQ(read_file(name), "new");
    // A folder where the new file would go: the old one stays.
    std::filesystem::create_directory(name + "." + std::to_string(getpid()) + ".tmp");
    EXPECT_FALSE(write_whole(name, "newer"));
    EXPECT_EQ(read_file(name), "new");
    // No place for the new file at all.
    EXPECT_FALSE(write_whole(dir / "missing/souhrn.csv", "x"));
    // A folder that cannot be replaced: the new file goes away again.
    write_file(dir / "taken/inside", "x");
    EXPECT_FALSE(write_whole(dir / "taken", "x"));
    EXPECT_FALSE(std::filesystem::exists(dir / ("taken." + std::to_string(getpid()) + ".tmp")));
}

// At most a write a second; a write that failed is tried again.
TEST(BatchSummary, KeptCurrentAtMostOnceASecond) {
    ScratchFolder dir;
    std::vector<Row> rows = {waiting("a.xml")};
    SummaryFiles files(dir / "souhrn.csv", dir / "souhrn.htm", rows);
    EXPECT_EQ(files.keep_up(), -1);  // nothing changed
    files.changed();
    EXPECT_EQ(files.keep_up(), -1);  // written at once: none written before
    EXPECT_NE(read_file(dir / "souhrn.csv").find("a.xml"), std::string::npos);
    rows[0] = finished("a.xml", 0, 0, 0);
    files.changed();
    const int due = files.keep_up();
    EXPECT_GT(due, 0);
    EXPECT_LE(due, 1000);
    EXPECT_EQ(read_file(dir / "souhrn.csv").find("kontrola dokončena"_cp), std::string::npos);
    std::filesystem::create_directory(dir / ("souhrn.csv." + std::to_string(getpid()) + ".tmp"));
    EXPECT_FALSE(files.write(false));
    EXPECT_EQ(files.failed(), dir / "souhrn.csv");
    EXPECT_GT(files.keep_up(), 0);  // to be tried again
    std::filesystem::remove(dir / ("souhrn.csv." + std::to_string(getpid()) + ".tmp"));
    EXPECT_TRUE(files.write(false));
    EXPECT_EQ(files.failed(), "");
    EXPECT_NE(read_file(dir / "souhrn.csv").find("kontrola dokončena"_cp), std::string::npos);
}

}  // namespace
}  // namespace quelt::test
