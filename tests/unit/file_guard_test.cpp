// The guard of the given files: which names are one file, and which heads
// open an ORV submission (the reader's own root test is looser on purpose).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "src/run/file_guard.h"
#include "tests/unit/scratch_folder.h"

using namespace quelt;
using quelt::test::write_file;

namespace {

struct HeadCase {
    const char* head;
    bool submission;
};

const HeadCase kHeads[] = {
    {"<ORV>", true},
    {"<orv:ORV xmlns:orv=\"urn:x\">", true},
    {"<a:b:ORV>", true},
    {"<ORV/>", true},
    {"<ORV\n rok=\"2010\">", true},
    {"\xEF\xBB\xBF<ORV>", true},
    {"<?xml version=\"1.0\" encoding=\"windows-1250\"?>\r\n<ORV>", true},
    {"<?xml version=\"1.0\"?><?pi a > b?>\n<!-- <x> --><ORV>", true},
    {"<!DOCTYPE ORV>\n<ORV>", true},
    {"<!DOCTYPE ORV [ <!ENTITY a \"x>y\"> <!-- ] > --> ]>\n<ORV>", true},
    {" \t\r\n<ORV>", true},
    // Not a submission: another root, a root only beginning with ORV, text
    // before the root, a name or a prolog piece the head ends inside.
    {"<ORV_chyby>", false},
    {"<ORVX>", false},
    {"<orv>", false},
    {"<html><ORV>", false},
    {"text<ORV>", false},
    {"\xEF\xBB\xBF\xEF\xBB\xBF<ORV>", false},
    {"<ORV", false},
    {"<?xml version=\"1.0\"", false},
    {"<!-- <ORV> ", false},
    {"<!DOCTYPE ORV [ <ORV>", false},
    {"", false},
    {"< ORV>", false},
    {"Line;Code;\n", false},
};

TEST(FileGuard, HeadsThatOpenASubmission) {
    for (const HeadCase& c : kHeads)
        EXPECT_EQ(starts_like_submission(c.head), c.submission) << c.head;
}

class FileGuardFiles : public ::testing::Test {
protected:
    void SetUp() override {
        write_file(dir + "/a.xml", "<?xml version=\"1.0\"?>\n<ORV>\n</ORV>\n");
        write_file(dir + "/b.htm", "<html></html>\n");
    }
    quelt::test::ScratchFolder scratch;
    const std::string dir = scratch.path();
};

TEST_F(FileGuardFiles, OneFileWhateverTheSpelling) {
    const std::string a = dir + "/a.xml";
    ASSERT_EQ(link(a.c_str(), (dir + "/hard.xml").c_str()), 0);
    ASSERT_EQ(symlink("a.xml", (dir + "/sym.xml").c_str()), 0);
    mkdir((dir + "/sub").c_str(), 0700);
    EXPECT_TRUE(same_file(a, a));
    EXPECT_TRUE(same_file(a, dir + "/./sub/../a.xml"));
    EXPECT_TRUE(same_file(a, dir + "/hard.xml"));
    EXPECT_TRUE(same_file(dir + "/sym.xml", a));
    EXPECT_FALSE(same_file(a, dir + "/b.htm"));
    EXPECT_FALSE(same_file(a, dir + "/missing.xml"));
    EXPECT_FALSE(same_file(dir + "/missing.xml", dir + "/missing.xml"));
    EXPECT_FALSE(same_file(dir + "/sub", dir + "/sub"));
    EXPECT_FALSE(same_file("/dev/null", "/dev/null"));
}

TEST_F(FileGuardFiles, OneOfManyNames) {
    const std::string a = dir + "/a.xml";
    ASSERT_EQ(link(a.c_str(), (dir + "/hard.xml").c_str()), 0);
    const std::string b = dir + "/b.htm";
    const std::vector<std::string> names = {dir + "/missing.xml", b, dir + "/sub/../hard.xml"};
    mkdir((dir + "/sub").c_str(), 0700);
    EXPECT_TRUE(same_as_any(a, names));
    EXPECT_TRUE(same_as_any(b, names));
    EXPECT_FALSE(same_as_any(a, {b, dir + "/missing.xml", dir}));
    EXPECT_FALSE(same_as_any(a, {}));
    EXPECT_FALSE(same_as_any(dir + "/missing.xml", {dir + "/missing.xml"}));
    EXPECT_FALSE(same_as_any("/dev/null", {"/dev/null"}));
}

TEST_F(FileGuardFiles, SubmissionsAreFilesThatOpenWithTheRoot) {
    EXPECT_TRUE(is_orv_submission(dir + "/a.xml"));
    EXPECT_FALSE(is_orv_submission(dir + "/b.htm"));
    EXPECT_FALSE(is_orv_submission(dir + "/missing.xml"));
    EXPECT_FALSE(is_orv_submission(dir));
    EXPECT_FALSE(is_orv_submission("/dev/null"));
    // A pipe is never opened: opening one for reading would wait for a writer.
    ASSERT_EQ(mkfifo((dir + "/pipe").c_str(), 0600), 0);
    EXPECT_FALSE(is_orv_submission(dir + "/pipe"));
    // The root must come within the first 64 KiB.
    write_file(dir + "/late.xml", "<!--" + std::string(kHlavaPodani, ' ') + "--><ORV>");
    EXPECT_FALSE(is_orv_submission(dir + "/late.xml"));
    write_file(dir + "/in_time.xml", std::string(kHlavaPodani - 5, ' ') + "<ORV>");
    EXPECT_TRUE(is_orv_submission(dir + "/in_time.xml"));
}

}  // namespace
