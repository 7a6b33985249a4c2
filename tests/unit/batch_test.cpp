// The batch program's pieces that its end-to-end test cannot reach with
// certainty: messages split anywhere by the pipe, the report names, the
// summary's quoting, and what one process's runs give each file.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "src/run/batch.h"
#include "src/run/run.h"
#include "src/state/run_state.h"

using namespace quelt;

namespace {

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void write_file(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string scratch_dir() {
    char name[] = "/tmp/quelt-batch-XXXXXX";
    const char* d = mkdtemp(name);
    return d == nullptr ? std::string("/tmp") : std::string(d);
}

}  // namespace

// ---- Messages between the batch and its workers ----

TEST(BatchMessages, AMessageCutAnywhereWaitsForItsRest) {
    const std::vector<std::string> fields = {"7", "a b:c.xml", "", std::string("x\0y;\n", 5)};
    const std::string bytes = zakoduj(fields) + zakoduj({"8", "b", "c", "d"});
    for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
        std::string buffer = bytes.substr(0, cut);
        std::vector<std::string> got;
        std::vector<std::vector<std::string>> taken;
        while (vezmi_zpravu(buffer, 4, got)) taken.push_back(got);
        buffer += bytes.substr(cut);
        while (vezmi_zpravu(buffer, 4, got)) taken.push_back(got);
        ASSERT_EQ(taken.size(), 2u) << "cut at " << cut;
        EXPECT_EQ(taken[0], fields) << "cut at " << cut;
        EXPECT_EQ(taken[1], (std::vector<std::string>{"8", "b", "c", "d"}));
        EXPECT_TRUE(buffer.empty());
    }
}

TEST(BatchMessages, GarbageIsNoMessage) {
    std::string buffer = "12x:abc";
    std::vector<std::string> got;
    EXPECT_FALSE(vezmi_zpravu(buffer, 1, got));
}

// ---- Report names ----

TEST(BatchNames, SameNamesInTwoFoldersGetDistinctReports) {
    const auto names = nazvy_zprav({"p1/a.xml", "p2/a.xml", "p3/A.XML", "a"}, "out", "htm");
    EXPECT_EQ(names, (std::vector<std::string>{"out/a.htm", "out/a-2.htm", "out/A-3.htm",
                                               "out/a-4.htm"}));
}

TEST(BatchNames, TheLastExtensionGoesAndTheSummaryKeepsItsNames) {
    const auto names =
        nazvy_zprav({"x.tar.xml", ".xml", "souhrn.xml", "SOUHRN.dat", "dir/"}, "o/", "csv");
    EXPECT_EQ(names, (std::vector<std::string>{"o/x.tar.csv", "o/.xml.csv", "o/souhrn-2.csv",
                                               "o/SOUHRN-3.csv", "o/soubor.csv"}));
}

TEST(BatchNames, AnInputOrASubmissionIsNeverTheReport) {
    const std::string dir = scratch_dir();
    write_file(dir + "/in.htm", "not a submission");
    write_file(dir + "/b.htm", "<?xml version=\"1.0\"?>\n<ORV verze=\"1.6\">\n");
    write_file(dir + "/c.htm", "an old report");
    const auto names = nazvy_zprav({dir + "/in.htm", "b.xml", "c.xml"}, dir, "htm");
    EXPECT_EQ(names, (std::vector<std::string>{dir + "/in-2.htm", dir + "/b-2.htm",
                                               dir + "/c.htm"}));
}

// ---- The summary's quoting ----

TEST(BatchSummary, FieldsAreQuotedAsTheCsvReportQuotesThem) {
    EXPECT_EQ(pole_csv("a.xml"), "a.xml");
    EXPECT_EQ(pole_csv("a;b.xml"), "\"a;b.xml\"");
    EXPECT_EQ(pole_csv("say \"x\""), "\"say \"\"x\"\"\"");
    EXPECT_EQ(pole_csv("two\nlines"), "\"two\nlines\"");
}

// ---- One process, many files ----

// A faulty file and then a clean one in the same process: the second's
// result and report are those of a fresh run, and the first's counts are its
// own (nothing carries over: every run starts from the reset state).
TEST(BatchRuns, EachFileOfAProcessIsAFreshRun) {
    const std::string dir = scratch_dir();
    const std::string example = read_file(QUELT_SOURCE_DIR "/examples/priklad.xml");
    ASSERT_FALSE(example.empty());
    std::string faulty = example;
    faulty.insert(faulty.find("</orv:zamestnavatel>"), "<orv:AA0017>1</orv:AA0017>");
    write_file(dir + "/faulty.xml", faulty);
    write_file(dir + "/clean.xml", example);
    std::FILE* console = std::tmpfile();
    ASSERT_NE(console, nullptr);

    const VysledekDavky fresh =
        zkontroluj_soubor({dir + "/clean.xml", dir + "/fresh.htm"}, 'H', false, console);
    const VysledekDavky first =
        zkontroluj_soubor({dir + "/faulty.xml", dir + "/first.htm"}, 'H', false, console);
    const VysledekDavky second =
        zkontroluj_soubor({dir + "/clean.xml", dir + "/second.htm"}, 'H', false, console);
    const VysledekDavky missing =
        zkontroluj_soubor({dir + "/none.xml", dir + "/none.htm"}, 'H', false, console);
    std::fclose(console);

    EXPECT_EQ(fresh.status, 0);
    EXPECT_GT(first.chyb_E, 0);
    EXPECT_EQ(first.zamestnavatele, "30000009, 1");
    EXPECT_EQ(second.chyb_E, fresh.chyb_E);
    EXPECT_EQ(second.chyb_W, fresh.chyb_W);
    EXPECT_EQ(second.zaznamu, 3);
    EXPECT_EQ(second.predkladatel, "10000003");
    EXPECT_EQ(second.zamestnavatele, "30000009");
    std::string a = read_file(dir + "/fresh.htm");
    std::string b = read_file(dir + "/second.htm");
    EXPECT_EQ(a, b);
    EXPECT_EQ(missing.status, 13);
    EXPECT_EQ(missing.zprava, "Nelze otevrit soubor  " + dir + "/none.xml");
    EXPECT_EQ(missing.zaznamu, 0);
}
