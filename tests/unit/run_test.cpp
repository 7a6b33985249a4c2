// The whole run in-process: command-line handling that golden cases cannot
// express, and that a run leaves nothing behind that changes the next one.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <new>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "src/run/run.h"
#include "src/state/run_state.h"
#include "src/structure/sections.h"
#include "tests/unit/report_capture.h"
#include "tests/unit/scratch_folder.h"

using namespace quelt;
using quelt::test::console_of;
using quelt::test::read_file;
using quelt::test::write_file;

// ---- Memory that runs out ----
// The test program's own operator new: once armed, the allocation numbered
// fail_from and every one after it fail as when memory has run out.
namespace {
bool armed = false;
long fail_from = 0;
long allocations = 0;  // made since the arming
}  // namespace

void* operator new(std::size_t n) {
    if (armed && allocations++ >= fail_from) throw std::bad_alloc();
    if (void* p = std::malloc(n == 0 ? 1 : n)) return p;
    throw std::bad_alloc();
}
// A request that copes with no memory (a sort's scratch buffer) is not one
// that could end the run: it is served and left out of the count.
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return std::malloc(n == 0 ? 1 : n); }
// Not inlined: g++ would see the free() of a new'd pointer and warn, not
// knowing that this program's new is malloc().
[[gnu::noinline]] void operator delete(void* p) noexcept { std::free(p); }
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

// Runs the checker with the console going to a scratch file; returns the
// status and leaves the console text in *console. With fail_at >= 0 the run's
// allocations from that one on fail; the run's count is left in allocations.
int run(std::vector<std::string> args, std::string* console = nullptr, long fail_at = -1) {
    std::vector<const char*> argv;
    for (const auto& a : args) argv.push_back(a.c_str());
    int status = 0;
    const std::string text = console_of([&] {
        fail_from = fail_at < 0 ? (1L << 62) : fail_at;
        allocations = 0;
        armed = true;
        status = quelt_run(static_cast<int>(argv.size()), argv.data());
        armed = false;
    });
    if (console != nullptr) *console = text;
    return status;
}

const char* kSmall =
    "<?xml version=\"1.0\"?>\n<ORV>\n<rok>2011</rok>\n<zamestnavatel>\n<AA0017>12345678</AA0017>\n"
    "<zamestnanec>\n<AA0126>1</AA0126>\n<AA0231>1800</AA0231>\n</zamestnanec>\n"
    "</zamestnavatel>\n</ORV>\n";

class Run : public ::testing::Test {
protected:
    void SetUp() override { setenv("SOURCE_DATE_EPOCH", "1278403200", 1); }
    // Short names: every file name on the command line has at most 60 characters.
    std::string path(const std::string& name) const { return folder_ / name; }
    quelt::test::ScratchFolder folder_;
};

}  // namespace

// An employer total that a file leaves out is not the one of the run before:
// the second run of b.xml reports as a fresh one does.
TEST_F(Run, ARunKeepsNoEmployerTotalOfTheRunBefore) {
    write_file(path("a.xml"), "<ORV>\n<zamestnavatel>\n<AA0123>72420</AA0123>\n</zamestnavatel>\n</ORV>\n");
    write_file(path("b.xml"),
               "<ORV>\n<zamestnavatel>\n<AA0118>36210</AA0118>\n<AA0119>0</AA0119>\n</zamestnavatel>\n</ORV>\n");
    ASSERT_EQ(run({path("b.xml"), path("fresh.csv")}), 0);
    ASSERT_EQ(run({path("a.xml"), path("a.csv")}), 0);
    ASSERT_EQ(run({path("b.xml"), path("again.csv")}), 0);
    const std::string fresh = read_file(path("fresh.csv"));
    EXPECT_NE(fresh.find(";EL062;"), std::string::npos);  // no budget: below the band
    EXPECT_EQ(read_file(path("again.csv")), fresh);
}

TEST_F(Run, RepeatedRunsGiveIdenticalReports) {
    write_file(path("in.xml"), kSmall);
    for (const char* ext : {".htm", ".txt", ".csv", ".xml"}) {
        const std::string report = path(std::string("r") + ext);
        ASSERT_EQ(run({path("in.xml"), report, path("copy.xml")}), 0);
        const std::string first = read_file(report);
        const std::string first_copy = read_file(path("copy.xml"));
        ASSERT_EQ(run({path("in.xml"), report, path("copy.xml")}), 0);
        EXPECT_EQ(read_file(report), first) << ext;
        EXPECT_EQ(read_file(path("copy.xml")), first_copy) << ext;
        EXPECT_NE(first.find("ES303"), std::string::npos) << ext;
    }
}

TEST_F(Run, SourceDateEpochGivesTheHeadDate) {
    write_file(path("in.xml"), kSmall);
    ASSERT_EQ(run({path("in.xml"), path("r.txt")}), 0);
    EXPECT_NE(read_file(path("r.txt")).find("06/07/2010  08:00:00"), std::string::npos);
}

// Without SOURCE_DATE_EPOCH, or with one that is not a number, the clock.
TEST_F(Run, WithoutSourceDateEpochTheHeadHasTheLocalTime) {
    write_file(path("in.xml"), kSmall);
    for (const char* epoch : {static_cast<const char*>(nullptr), "", "1278403200x"}) {
        if (epoch == nullptr) unsetenv("SOURCE_DATE_EPOCH");
        else setenv("SOURCE_DATE_EPOCH", epoch, 1);
        const std::time_t before = std::time(nullptr);
        ASSERT_EQ(run({path("in.xml"), path("r.txt")}), 0);
        const std::time_t after = std::time(nullptr);
        const std::string report = read_file(path("r.txt"));
        bool found = false;
        for (std::time_t t = before; t <= after && !found; ++t) {
            std::tm parts{};
            localtime_r(&t, &parts);
            char shown[32];
            std::strftime(shown, sizeof shown, "%d/%m/%Y  %H:%M:%S", &parts);
            found = report.find(shown) != std::string::npos;
        }
        EXPECT_TRUE(found) << (epoch ? epoch : "unset") << "\n" << report.substr(0, 300);
    }
}

TEST_F(Run, EmptyArgumentIsTheInputName) {
    std::string console;
    EXPECT_EQ(run({"", path("r.csv")}, &console), 13);
    EXPECT_NE(console.find(" Nelze otevrit soubor  \n Program ukoncen\n"), std::string::npos);
    EXPECT_EQ(read_file(path("r.csv")), " Nelze otevrit soubor  \n Program ukoncen\n");
}

TEST_F(Run, HelpPrintsFifteenTextsAndCreatesNothing) {
    std::string console;
    EXPECT_EQ(run({path("in.xml"), path("never.csv"), "-h"}, &console), 1);
    EXPECT_NE(console.find("QUELT vstup chyby vystup -prepinac"), std::string::npos);
    EXPECT_NE(console.find("             -h tato napoveda\n"), std::string::npos);
    EXPECT_FALSE(std::ifstream(path("never.csv")).good());
}

TEST_F(Run, ConsoleTotalsAfterTheBlankingLine) {
    write_file(path("in.xml"), kSmall);
    std::string console;
    ASSERT_EQ(run({path("in.xml"), path("r.csv")}, &console), 0);
    const std::string blanks(77, ' ');
    const auto at = console.find(blanks + "\rCelkem chyb vahy E:");
    ASSERT_NE(at, std::string::npos);
    EXPECT_NE(console.find("\n\nCelkem chyb vahy W:", at), std::string::npos);
    EXPECT_EQ(console.substr(console.size() - 26), "\nProgram ukoncen normalne\n");
    EXPECT_EQ(console.find("\nProgram  QUELT_v0.9  kontola dat pro ORV\n"), 0u);
}

TEST_F(Run, InputEndingInsideAContentEndsTheRunOnce) {
    write_file(path("in.xml"), "<ORV>\n<rok>20");
    ASSERT_EQ(run({path("in.xml"), path("r.csv"), path("copy.xml")}), 0);
    const std::string report = read_file(path("r.csv"));
    EXPECT_EQ(report.find("ES306"), report.rfind("ES306"));  // reported once
    EXPECT_NE(report.find("ES306"), std::string::npos);
    EXPECT_EQ(read_file(path("copy.xml")),
              "<ORV verze=\"1.6\" xmlns=\"http://www.orv.example/schemas/2004/ORV/1.6/\"> \n</ORV>\n");
}

TEST_F(Run, LineNumbersRunOnAcrossTheFilesOfAList) {
    write_file(path("a.xml"), "<ORV>\n\n\n</ORV>\n");       // 5 lines with the end
    write_file(path("b.xml"), "<x/>\n<x/>\n");                // 2 more
    write_file(path("list.lst"), path("a.xml") + "\n" + path("b.xml") + "\n");
    ASSERT_EQ(run({"@" + path("list.lst"), path("r.csv")}), 0);
    // No employer in the run: ES308 at the line where the input ended.
    EXPECT_NE(read_file(path("r.csv")).find("\n7;ES308;"), std::string::npos);
}

// A failure of the input once the check has begun (a file of a list that
// cannot be opened, a folder given as the data file or named in a list) first
// blanks the progress line, then says what failed.
TEST_F(Run, AFailureOfTheInputEndsTheProgressLineFirst) {
    write_file(path("a.xml"), "<ORV>\n</ORV>\n");
    ASSERT_EQ(mkdir(path("dir").c_str(), 0755), 0);
    write_file(path("missing.lst"), path("a.xml") + " " + path("none.xml"));
    write_file(path("folder.lst"), path("a.xml") + " " + path("dir"));
    struct Case {
        std::string input;
        std::string message;
    };
    const Case cases[] = {
        {"@" + path("missing.lst"), " Nelze otevrit soubor  " + path("none.xml")},
        {"@" + path("folder.lst"), " Nelze cist soubor  " + path("dir")},
        {path("dir"), " Nelze cist soubor  " + path("dir")},
    };
    for (const Case& p : cases) {
        std::string console;
        EXPECT_EQ(run({p.input, path("r.csv")}, &console), 13) << p.input;
        EXPECT_NE(console.find(std::string(77, ' ') + "\r" + p.message + "\n Program ukoncen\n"),
                  std::string::npos)
            << p.input << "\n" << console;
    }
}

TEST_F(Run, AListWordLongerThanAnyFileNameFailsVisibly) {
    write_file(path("list.lst"), std::string(100000, 'x') + "\n");
    std::string console;
    EXPECT_EQ(run({"@" + path("list.lst"), path("r.csv")}, &console), 13);
    const std::string shown = " Nelze otevrit soubor  " + std::string(32767, 'x') + "...\n";
    EXPECT_NE(console.find(shown), std::string::npos);
    EXPECT_NE(read_file(path("r.csv")).find(shown), std::string::npos);
}

// A list that never ends is refused after a bounded read, before any
// output exists: one endless word (/dev/zero) and endless words (/dev/urandom).
TEST_F(Run, AListWithoutEndIsRefusedBeforeAnyOutput) {
    for (const std::string list : {"/dev/zero", "/dev/urandom"}) {
        std::string console;
        EXPECT_EQ(run({"@" + list, path("r.csv")}, &console), 13) << list;
        EXPECT_NE(console.find(" Nelze cist soubor  " + list + "\n Program ukoncen\n"), std::string::npos)
            << list;
        EXPECT_EQ(access(path("r.csv").c_str(), F_OK), -1) << list;
    }
}

// A run that runs out of memory at any allocation ends as a run-level
// failure: its message on the console and as the last text of the report,
// every file closed, status 13; and the next run is a normal one.
TEST_F(Run, MemoryRunningOutEndsTheRunWithAMessage) {
    write_file(path("in.xml"), kSmall);
    const std::vector<std::string> args = {path("in.xml"), path("r.txt"), path("copy.xml")};
    ASSERT_EQ(run(args), 0);
    const std::string report = read_file(path("r.txt"));
    // Every run starts over an earlier report, which the run first reads.
    const std::string earlier = "an earlier report\n";
    write_file(path("r.txt"), earlier);
    run(args);  // texts keep their room from the first run: count a later one
    const long made = allocations;
    ASSERT_GT(made, 3);  // the names, the register: every one is tried below

    const std::string message = " Nedostatek pameti pro kontrolu\n Program ukoncen\n";
    for (long k = 0; k < made; ++k) {
        write_file(path("r.txt"), earlier);
        std::string console;
        const int status = run(args, &console, k);
        EXPECT_EQ(status, 13) << "allocation " << k;
        EXPECT_EQ(console.substr(console.size() - message.size() - 78),
                  std::string(77, ' ') + "\r" + message) << "allocation " << k;
        const std::string written = read_file(path("r.txt"));
        if (written != earlier) {  // the report was open: the message ends it
            EXPECT_EQ(written.substr(written.size() - message.size()), message) << "allocation " << k;
        }
    }
    ASSERT_EQ(run(args), 0);
    EXPECT_EQ(read_file(path("r.txt")), report);
}

// What a run leaves of the submission for the batch's summary is bounded: a
// value of more than 20 characters is cut and marked, and the joined list of
// employers holds at most 2000 characters of numbers, cut after a whole one,
// then one mark: the text the batch's and the page's summaries both show.
TEST_F(Run, TheSummaryOfASubmissionStaysBounded) {
    std::string xml = "<ORV>\n<ICOpredkladatele>1234567890123456789012345</ICOpredkladatele>\n";
    for (int i = 0; i < 300; ++i) {
        const std::string ico = std::to_string(1000000000 + i);
        xml += "<zamestnavatel>\n<AA0017>" + ico + "</AA0017>\n<zamestnanec>\n</zamestnanec>\n"
               "</zamestnavatel>\n";
    }
    write_file(path("in.xml"), xml + "</ORV>\n");
    ASSERT_EQ(run({path("in.xml"), path("r.csv")}), 0);
    const SubmissionSummary& p = submission_summary();
    EXPECT_EQ(p.predkladatel, "12345678901234567890...");
    EXPECT_EQ(p.zaznamu, 300);
    EXPECT_EQ(p.zamestnavatele.find("1000000000, 1000000001, "), 0u);
    EXPECT_EQ(p.zamestnavatele.substr(p.zamestnavatele.size() - 17), ", 1000000165, ...");
    EXPECT_EQ(p.zamestnavatele.find("..."), p.zamestnavatele.size() - 3);
    EXPECT_LE(p.zamestnavatele.size() - 5, 2000u);
}

// Only a list's very first bytes can be its byte-order mark: a list that
// starts with a mark and blanks reads its names after them, one whose first
// name only starts like a mark keeps those bytes in the name.
TEST_F(Run, AListsByteOrderMarkIsItsFirstThreeBytesOnly) {
    write_file(path("a.xml"), "<ORV>\n</ORV>\n");
    write_file(path("mark.lst"), "\xEF\xBB\xBF\r\n" + path("a.xml") + "\r\n");
    write_file(path("half.lst"), "\xEF\xBB" + path("a.xml") + "\n");
    std::string console;
    EXPECT_EQ(run({"@" + path("mark.lst"), path("r.csv")}, &console), 0) << console;
    EXPECT_EQ(run({"@" + path("half.lst"), path("r.csv")}, &console), 13);
    EXPECT_NE(console.find(" Nelze otevrit soubor  \xEF\xBB" + path("a.xml") + "\n"), std::string::npos)
        << console;
}
