// The batch's command line: every switch in both spellings, and every wrong
// argument with its message and status.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "src/batch/command_line.h"
#include "tests/unit/scratch_folder.h"

namespace quelt::test {
namespace {

using namespace quelt::batch;

struct Read {
    int status;
    Options options;
    std::string console;
};

Read read(const std::vector<std::string>& arguments) {
    Read r;
    std::FILE* console = std::tmpfile();
    r.status = read_options(arguments, r.options, console);
    r.console = written_to(console);
    std::fclose(console);
    return r;
}

TEST(BatchCommandLine, SwitchesInBothSpellingsAndAnyOrder) {
    const Read r = read({"a.xml", "-W", "-fcsv", "-j", "3", "-oOUT", "-t2.5", "-a", "--", "-b.xml", "dir"});
    ASSERT_EQ(r.status, -1) << r.console;
    EXPECT_TRUE(r.options.skip_w);
    EXPECT_TRUE(r.options.every_file);
    EXPECT_EQ(r.options.format, 'C');
    EXPECT_EQ(r.options.at_once, 3);
    EXPECT_EQ(r.options.folder, "OUT");
    EXPECT_DOUBLE_EQ(r.options.time_limit, 2.5);
    EXPECT_EQ(r.options.names, (std::vector<std::string>{"a.xml", "-b.xml", "dir"}));
    EXPECT_TRUE(r.console.empty());
}

TEST(BatchCommandLine, DefaultsAndValues) {
    const Read r = read({"-o", "out", "a.xml", "", "-t", "0", "-j", "1000", "-f", "HTML"});
    ASSERT_EQ(r.status, -1) << r.console;
    EXPECT_EQ(r.options.format, 'H');
    EXPECT_FALSE(r.options.skip_w);
    EXPECT_FALSE(r.options.every_file);
    EXPECT_EQ(r.options.time_limit, 0);
    EXPECT_EQ(r.options.at_once, 63);
    EXPECT_EQ(r.options.names, (std::vector<std::string>{"a.xml", ""}));
    EXPECT_EQ(read({"-o", "o", "a"}).options.time_limit, -1);
    EXPECT_EQ(read({"-fxml", "-o", "o", "a"}).options.format, 'X');
    EXPECT_EQ(read({"-f", "txt", "-o", "o", "a"}).options.format, 'T');
    EXPECT_STREQ(extension_of('X'), "xml");
    EXPECT_STREQ(extension_of('T'), "txt");
    EXPECT_STREQ(extension_of('C'), "csv");
    EXPECT_STREQ(extension_of('H'), "htm");
}

struct Wrong {
    std::vector<std::string> arguments;
    int status;
    const char* says;
    bool help;
};

TEST(BatchCommandLine, WrongArgumentsAreSaid) {
    const Wrong cases[] = {
        {{"-h", "-x"}, 1, "Volani programu:", true},
        {{"-o", "o", "a", "-H"}, 1, "Volani programu:", true},
        {{"-x", "-h"}, 13, " Chybny parametr -x\n", true},
        {{"-o", "o", "-", "a"}, 13, " Chybny parametr -\n", true},
        {{"-o", "o", "-wx", "a"}, 13, " Chybny parametr -wx\n", true},
        {{"a", "-o"}, 13, " Chybny parametr -o\n", true},
        {{"-f", "pdf", "-o", "o", "a"}, 13, " Neznamy format protokolu pdf (htm, txt, csv, xml)\n", false},
        {{"-j0", "-o", "o", "a"}, 13, " Chybny pocet soucasnych kontrol 0\n", false},
        {{"-j", "2x", "-o", "o", "a"}, 13, " Chybny pocet soucasnych kontrol 2x\n", false},
        {{"-j", "", "-o", "o", "a"}, 13, " Chybny pocet soucasnych kontrol \n", false},
        {{"-t", "-1", "-o", "o", "a"}, 13, " Chybny casovy limit -1 (sekundy, 0: bez limitu)\n", false},
        {{"-t", "1e3", "-o", "o", "a"}, 13, " Chybny casovy limit 1e3", false},
        {{"-t", "", "-o", "o", "a"}, 13, " Chybny casovy limit ", false},
        {{"-t", "2000000", "-o", "o", "a"}, 13, " Chybny casovy limit 2000000", false},
        {{"-t", "1.2.3", "-o", "o", "a"}, 13, " Chybny casovy limit 1.2.3", false},
        {{"a.xml"}, 13, " Chybi slozka pro protokoly (-o SLOZKA)\n", true},
        {{"-o", ""}, 13, " Chybi slozka pro protokoly (-o SLOZKA)\n", true},
        {{"-o", "out"}, 13, " Chybi jmeno souboru nebo slozky ke kontrole\n", true},
    };
    for (const Wrong& c : cases) {
        const Read r = read(c.arguments);
        EXPECT_EQ(r.status, c.status) << c.says;
        EXPECT_EQ(r.console.rfind(c.says, 0), 0u) << r.console;
        EXPECT_EQ(r.console.find("Volani programu:") != std::string::npos, c.help) << c.says;
    }
}

}  // namespace
}  // namespace quelt::test
