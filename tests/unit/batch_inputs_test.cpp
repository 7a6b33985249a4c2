// The batch's inputs on a real folder: what a folder contributes and what it
// skips, the batch's own outputs never taken as inputs, '@' names, report
// names that never take an input's, a submission's or each other's place
// (letter case ignored as Windows ignores it), the summary's place, and the
// folders an output folder needs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "src/batch/inputs.h"
#include "src/xml/cp1250.h"
#include "tests/unit/scratch_folder.h"

namespace quelt::test {
namespace {

using namespace quelt::batch;

std::vector<std::string> names_of(const std::vector<Input>& inputs) {
    std::vector<std::string> names;
    for (const Input& i : inputs) names.push_back(i.name);
    return names;
}

class BatchInputs : public ::testing::Test {
protected:
    void SetUp() override {
        before = std::filesystem::current_path();
        std::filesystem::current_path(dir.path());
    }
    void TearDown() override { std::filesystem::current_path(before); }
    ScratchFolder dir;
    std::filesystem::path before;
};

TEST_F(BatchInputs, AFolderGivesItsXmlFilesAndSaysWhatItSkips) {
    write_file("in/b.xml", example_submission());
    write_file("in/A.XML", example_submission());
    for (const char* other : {"in/Thumbs.db", "in/desktop.ini", "in/x.pdf", "in/y.docx"}) write_file(other, "x");
    write_file("in/sub/c.xml", example_submission());
    write_file("in/old.xml", "<?xml version = \"1.0\" encoding = \"Windows-1250\"?><ORV_chyby>\n</ORV_chyby>\n");
    ASSERT_EQ(mkfifo("in/pipe.xml", 0600), 0);
    // Links: to a file an input, to a folder none.
    std::filesystem::create_symlink("b.xml", "in/link.xml");
    std::filesystem::create_symlink("sub", "in/linked-folder.xml");
    const Inputs got = expand_names({"in"}, false);
    EXPECT_EQ(names_of(got.inputs),
              (std::vector<std::string>{"in/A.XML", "in/b.xml", "in/link.xml", "in/pipe.xml"}));
    ASSERT_EQ(got.skipped.size(), 5u);
    EXPECT_EQ(got.skipped[0].name, "in/Thumbs.db");
    EXPECT_STREQ(got.skipped[0].why, "není .xml");
    EXPECT_EQ(got.skipped[2].name, "in/old.xml");
    EXPECT_STREQ(got.skipped[2].why, "protokol kontroly");
    EXPECT_TRUE(got.inputs[0].id.regular);
    EXPECT_EQ(got.inputs[0].size, example_submission().size());
    EXPECT_TRUE(got.inputs[1].id == got.inputs[2].id);
    EXPECT_FALSE(got.inputs[3].id.regular);
    const Inputs every = expand_names({"in"}, true);
    EXPECT_EQ(every.inputs.size(), 8u);
    EXPECT_EQ(every.skipped.size(), 1u);
}

TEST_F(BatchInputs, OutputsNamedAsInputsAreRowsSayingWhatTheyAre) {
    write_file("souhrn.csv", "Soubor;IČO předkladatele;IČO zaměstnavatelů\n"_cp);
    write_file("a.htm", "<html>\n<head>\n<title>ORV - vysledky kontroly dat</title>\n");
    write_file("a.xml", example_submission());
    const Inputs got = expand_names({"souhrn.csv", "a.htm", "a.xml", "missing.xml", "@w.xml", ""}, false);
    ASSERT_EQ(got.inputs.size(), 6u);
    EXPECT_EQ(got.inputs[5].name, "");
    EXPECT_EQ(got.inputs[0].kind, InputKind::summary);
    EXPECT_EQ(got.inputs[1].kind, InputKind::report);
    EXPECT_EQ(got.inputs[2].kind, InputKind::file);
    EXPECT_EQ(got.inputs[3].kind, InputKind::file);
    EXPECT_EQ(got.inputs[4].name, "./@w.xml");
    EXPECT_TRUE(got.skipped.empty());
}

// A folder whose name begins with '@' gives names no run reads as a list.
TEST_F(BatchInputs, FolderNamesAreNeverLists) {
    write_file("@s/a.xml", example_submission());
    EXPECT_EQ(names_of(expand_names({"@s"}, false).inputs), (std::vector<std::string>{"./@s/a.xml"}));
}

TEST_F(BatchInputs, AFolderThatCannotBeReadIsARow) {
    if (geteuid() == 0) GTEST_SKIP() << "the superuser reads every folder";
    ASSERT_EQ(mkdir("closed", 0), 0);
    const Inputs got = expand_names({"closed"}, false);
    chmod("closed", 0700);  // so that the scratch folder can be removed
    ASSERT_EQ(got.inputs.size(), 1u);
    EXPECT_EQ(got.inputs[0].kind, InputKind::unreadable_folder);
}

TEST_F(BatchInputs, ReportNamesNeverMeetLetterCaseAside) {
    const std::vector<std::string> names = {"p1/Šárka.xml", "p2/šárka.xml", "mzdy-červen.xml", "jine/MZDY-ČERVEN.xml",
                                            "x/mzdy-červen-2.xml"};
    for (const std::string& name : names) write_file(name, example_submission());
    const std::vector<Input> inputs = expand_names(names, false).inputs;
    EXPECT_EQ(report_names(inputs, "out", "htm"),
              (std::vector<std::string>{"out/Šárka.htm", "out/šárka-2.htm", "out/mzdy-červen.htm",
                                        "out/MZDY-ČERVEN-2.htm", "out/mzdy-červen-2-2.htm"}));
}

TEST_F(BatchInputs, AReportNeverTakesAnInputsOrASubmissionsPlace) {
    write_file("q/in.htm", "not a submission");
    write_file("q/b.htm", "<?xml version=\"1.0\"?>\n<ORV verze=\"1.6\">\n");
    write_file("q/c.htm", "an old report");
    write_file("q/d.htm/inside", "a folder");
    write_file("b.xml", example_submission());
    ASSERT_EQ(mkfifo("q/e.htm", 0600), 0);
    std::vector<Input> inputs = expand_names({"q/in.htm", "b.xml", "c.xml", "d.xml", "e.xml", "souhrn.xml"}, false).inputs;
    Input folder;
    folder.name = "dir";
    folder.kind = InputKind::unreadable_folder;
    inputs.push_back(folder);
    EXPECT_EQ(report_names(inputs, "q", "htm"),
              (std::vector<std::string>{"q/in-2.htm", "q/b-2.htm", "q/c.htm", "q/d-2.htm", "q/e-2.htm",
                                        "q/souhrn-2.htm", ""}));
}

TEST_F(BatchInputs, TheSummaryNeverReplacesAnInputOrASubmission) {
    write_file("out/souhrn.csv", example_submission());
    write_file("out/souhrn.htm", "<!DOCTYPE html>\n<title>ORV - souhrn kontroly souborů</title>"_cp);
    write_file("in/souhrn.csv", "Soubor;IČO předkladatele;"_cp);
    const std::vector<Input> inputs = expand_names({"in/souhrn.csv"}, false).inputs;
    EXPECT_FALSE(summary_may_replace("out/souhrn.csv", inputs));
    EXPECT_TRUE(summary_may_replace("out/souhrn.htm", inputs));
    EXPECT_TRUE(summary_may_replace("in/souhrn.csv", inputs));
    EXPECT_TRUE(summary_may_replace("new/souhrn.csv", inputs));
    write_file("in/mine.csv", "x");
    EXPECT_FALSE(summary_may_replace("in/mine.csv", expand_names({"in/mine.csv"}, false).inputs));
    EXPECT_FALSE(summary_may_replace("in", inputs));
}

TEST_F(BatchInputs, AnOutputFolderWithTheFoldersAboveIt) {
    EXPECT_TRUE(make_path("a/b/c"));
    EXPECT_TRUE(std::filesystem::is_directory("a/b/c"));
    EXPECT_TRUE(make_path("a/b/c"));
    EXPECT_TRUE(make_path(dir / "x//y/"));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "x/y"));
    write_file("file", "x");
    EXPECT_FALSE(make_path("file/sub"));
    EXPECT_FALSE(make_path("file"));
}

}  // namespace
}  // namespace quelt::test
