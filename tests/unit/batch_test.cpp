// The batch as a whole, in-process with a stand-in worker where a worker
// must fail: what one worker's runs give each file, a summary on the disk
// after a request to stop, and the ways the batch refuses to start.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "src/batch/batch.h"
#include "src/batch/summary.h"
#include "src/batch/worker.h"
#include "src/os/process.h"
#include "src/xml/cp1250.h"
#include "tests/unit/scratch_folder.h"

namespace quelt::test {
namespace {

using namespace quelt::batch;

// A faulty file and then a clean one in the same process: the second's
// result and report are those of a fresh run, and the first's counts are its
// own (nothing carries over: every run starts from the reset state). The
// reports' heads hold no clock: SOURCE_DATE_EPOCH gives their date.
TEST(BatchRuns, EachFileOfAProcessIsAFreshRun) {
    ScratchFolder dir;
    setenv("SOURCE_DATE_EPOCH", "1278403200", 1);
    std::string faulty = example_submission();
    faulty.insert(faulty.find("</orv:zamestnavatel>"), "<orv:AA0017>1</orv:AA0017>");
    write_file(dir / "faulty.xml", faulty);
    write_file(dir / "clean.xml", example_submission());
    std::FILE* console = std::tmpfile();
    ASSERT_NE(console, nullptr);

    const FileResult fresh = check_file(dir / "clean.xml", dir / "fresh.htm", 'H', false, console);
    const FileResult first = check_file(dir / "faulty.xml", dir / "first.htm", 'H', false, console);
    const FileResult second = check_file(dir / "clean.xml", dir / "second.htm", 'H', false, console);
    const FileResult missing = check_file(dir / "none.xml", dir / "none.htm", 'H', false, console);
    std::fclose(console);
    unsetenv("SOURCE_DATE_EPOCH");

    EXPECT_EQ(fresh.outcome.status, 0);
    EXPECT_GT(first.outcome.errors_e, 0);
    EXPECT_EQ(first.employers, "30000009, 1");
    EXPECT_EQ(second.outcome.errors_e, fresh.outcome.errors_e);
    EXPECT_EQ(second.outcome.warnings_w, fresh.outcome.warnings_w);
    EXPECT_EQ(second.records, 3);
    EXPECT_EQ(second.submitter, "10000003");
    EXPECT_EQ(second.employers, "30000009");
    EXPECT_EQ(read_file(dir / "fresh.htm"), read_file(dir / "second.htm"));
    EXPECT_EQ(missing.outcome.status, 13);
    EXPECT_TRUE(missing.outcome.input_missing);
    EXPECT_EQ(missing.outcome.failure, "Nelze otevrit soubor  " + (dir / "none.xml"));
    EXPECT_EQ(missing.records, 0);
}

// A pipe given as a data file is refused unread by the run that would read
// it, a list is never read, and the report says so.
TEST(BatchRuns, APipeIsNeverReadAndANameIsNeverAList) {
    ScratchFolder dir;
    ASSERT_EQ(mkfifo((dir / "pipe.xml").c_str(), 0600), 0);
    write_file(dir / "list.txt", dir / "missing.xml");
    std::FILE* console = std::tmpfile();
    const FileResult pipe = check_file(dir / "pipe.xml", dir / "pipe.htm", 'H', false, console);
    const FileResult list = check_file("@" + (dir / "list.txt"), dir / "list.htm", 'H', false, console);
    std::fclose(console);
    EXPECT_EQ(pipe.outcome.status, 13);
    EXPECT_FALSE(pipe.outcome.input_missing);
    EXPECT_EQ(pipe.outcome.failure, "Soubor  " + (dir / "pipe.xml") + "  neni bezny soubor (roura, zarizeni), necte se");
    EXPECT_EQ(read_file(dir / "pipe.htm"), " " + pipe.outcome.failure + "\n Program ukoncen\n");
    EXPECT_EQ(list.outcome.failure, "Nelze otevrit soubor  @" + (dir / "list.txt"));
}

class BatchWhole : public ::testing::Test {
protected:
    int run(const std::vector<std::string>& arguments, const std::string& mode = "plain") {
        Options options;
        std::FILE* console = std::tmpfile();
        const int read = read_options(arguments, options, console);
        EXPECT_EQ(read, -1);
        PoolSettings workers;
        workers.program = QUELT_STAND_IN_WORKER;
        workers.arguments = {mode, kWorkerSwitch, "H", "0", os::process_number()};
        workers.workers = 1;
        const int status = run_batch(options, workers, console);
        said = written_to(console);
        std::fclose(console);
        return status;
    }
    ScratchFolder dir;
    std::string said;
};

TEST_F(BatchWhole, AStoppedBatchLeavesItsWholeSummary) {
    for (const char* name : {"a.xml", "b-stop.xml", "c.xml"}) write_file(dir / ("in/" + std::string(name)), example_submission());
    EXPECT_EQ(run({"-o", dir / "out", dir / "in"}, "stop-batch:b-stop.xml"), 13);
    os::catch_stop_requests();  // the request is answered: the next test starts afresh
    const std::string csv = read_file(dir / "out/souhrn.csv");
    EXPECT_NE(csv.find("/in/a.xml;10000003;30000009;3;0;0;lze odeslat;0;kontrola dokončena;a.htm\n"_cp),
              std::string::npos) << csv;
    EXPECT_NE(csv.find("/in/b-stop.xml;;;;;;nezkontrolováno;13;Kontrola souboru  "_cp), std::string::npos) << csv;
    EXPECT_NE(csv.find("/in/c.xml;;;;;;nezkontrolováno;;nezkontrolováno: dávka byla přerušena;\n"_cp),
              std::string::npos) << csv;
    EXPECT_NE(said.find(" Kontrola prerusena"), std::string::npos) << said;
    EXPECT_NE(said.find("Celkem 3 soubory: lze odeslat 1, s varovanimi 0, opravit 0, nezkontrolovano 2"),
              std::string::npos) << said;
    EXPECT_NE(read_file(dir / "out/souhrn.htm").find("Kontrola byla přerušena"_cp), std::string::npos);
}

TEST_F(BatchWhole, TheConsoleSaysEachFileAndTheTotals) {
    write_file(dir / "in/a.xml", example_submission());
    write_file(dir / "in/x.pdf", "x");
    write_file(dir / "in/old.xml", " Nelze otevrit soubor  a.xml\n Program ukoncen\n");
    EXPECT_EQ(run({"-o", dir / "out", dir / "in", dir / "missing.xml", dir / "in/old.xml"}), 13);
    const std::vector<std::string> lines = {
         "preskocen: " + (dir / "in/old.xml") + " (protokol kontroly)\n",
          "preskocen: " + (dir / "in/x.pdf") + " (neni .xml)\n",
          "[1/3] " + (dir / "in/old.xml") + ": nezkontrolovano (stav 13): Soubor  " + (dir / "in/old.xml") +
              "  je protokol kontroly, nekontroluje se\n",
          "] " + (dir / "in/a.xml") + ": lze odeslat (chyb E 0, chyb W 0), protokol " + (dir / "out/a.htm") + "\n",
          "] " + (dir / "missing.xml") + ": nezkontrolovano (stav 13): Nelze otevrit soubor  " + (dir / "missing.xml"),
          "Celkem 3 soubory: lze odeslat 1, s varovanimi 0, opravit 0, nezkontrolovano 2\n",
          "Preskoceno: 2 soubory (nejsou .xml nebo jsou vysledky kontroly)\n",
          "Celkem chyb vahy E:       0\n", "Protokoly a souhrn jsou ve slozce:\n" + (dir / "out") + "\n"};
    for (const std::string& line : lines)
        EXPECT_NE(said.find(line), std::string::npos) << line << "\nin:\n" << said;
}

TEST_F(BatchWhole, TheWaysItRefusesToStart) {
    write_file(dir / "file", "x");
    write_file(dir / "out/souhrn.csv", example_submission());
    write_file(dir / "in/a.pdf", "x");
    write_file(dir / "in/a.xml", example_submission());
    EXPECT_EQ(run({"-o", dir / "out2", dir / "in/a.pdf", dir / "in/a.pdf"}), 0);
    EXPECT_EQ(run({"-o", dir / "x", dir / "in/sub-missing"}), 13);
    EXPECT_EQ(run({"-o", dir / "y", dir / "in"}), 0);
    EXPECT_EQ(run({"-o", dir / "file/sub", dir / "in"}), 13);
    EXPECT_TRUE(said.ends_with(" Nelze vytvorit slozku  " + (dir / "file/sub") + "\n Program ukoncen\n")) << said;
    EXPECT_EQ(run({"-o", dir / "out", dir / "in/a.xml"}), 13);
    EXPECT_EQ(said, " Souhrn  " + (dir / "out/souhrn.csv") +
                        "  by prepsal vstupni soubor nebo podani ORV\n Program ukoncen\n");
    EXPECT_EQ(read_file(dir / "out/souhrn.csv"), example_submission());
    write_file(dir / "empty/a.pdf", "x");
    EXPECT_EQ(run({"-o", dir / "z", dir / "empty"}), 13);
    EXPECT_EQ(said, "preskocen: " + (dir / "empty/a.pdf") + " (neni .xml)\n Zadny soubor ke kontrole\n");
}

// A summary that cannot be written stops the batch before any file is
// checked: hours of checking would end without one.
TEST_F(BatchWhole, ASummaryThatCannotBeWrittenStopsItFirst) {
    write_file(dir / "in/a.xml", example_submission());
    std::filesystem::create_directories(dir / ("out/souhrn.csv." + os::process_number() + ".tmp"));
    EXPECT_EQ(run({"-o", dir / "out", dir / "in"}), 13);
    EXPECT_EQ(said, " Nelze zapsat souhrn  " + (dir / "out/souhrn.csv") + "\n Program ukoncen\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "out/a.htm"));
}

// A summary that can no longer be written at the end says so: the batch ends
// with status 13, its files checked.
TEST_F(BatchWhole, ASummaryThatCannotBeWrittenAtTheEndIsSaid) {
    write_file(dir / "in/a.xml", example_submission());
    EXPECT_EQ(run({"-t", "0", "-o", dir / "out", dir / "in"}, "block-summary:a.xml"), 13);
    EXPECT_TRUE(said.ends_with(" Nelze zapsat souhrn  " + (dir / "out/souhrn.csv") + "\n Program ukoncen\n")) << said;
    EXPECT_NE(said.find("lze odeslat (chyb E 0, chyb W 0)"), std::string::npos) << said;
    EXPECT_TRUE(std::filesystem::exists(dir / "out/a.htm"));
}

// Only the batch's own outputs named: rows saying what they are, no check.
TEST_F(BatchWhole, OutputsNamedAloneAreRowsAndNoCheck) {
    write_file(dir / "old/souhrn.csv", "Soubor;IČO předkladatele;"_cp);
    write_file(dir / "old/a.htm", " Nelze otevrit soubor  a.xml\n Program ukoncen\n");
    EXPECT_EQ(run({"-o", dir / "out", dir / "old/souhrn.csv", dir / "old/a.htm"}), 13);
    EXPECT_NE(said.find("[1/2] " + (dir / "old/souhrn.csv") + ": nezkontrolovano (stav 13): Soubor  " +
                        (dir / "old/souhrn.csv") + "  je souhrn kontroly souboru, nekontroluje se\n"),
              std::string::npos) << said;
    EXPECT_NE(said.find("Celkem 2 soubory: lze odeslat 0, s varovanimi 0, opravit 0, nezkontrolovano 2"),
              std::string::npos) << said;
    EXPECT_EQ(read_file(dir / "old/a.htm"), " Nelze otevrit soubor  a.xml\n Program ukoncen\n");
}

TEST(BatchProgram, HelpAndAWorkerWithoutItsArguments) {
    EXPECT_EQ(quelt_davka({"-h"}), 1);
    EXPECT_EQ(quelt_davka({"-x"}), 13);
    EXPECT_EQ(quelt_davka({kWorkerSwitch, "H"}), 13);
}

// A worker's life without a process: tasks in, results out, until its input
// ends or holds what the batch never writes.
TEST(BatchWorker, ServesTasksUntilItsInputEnds) {
    ScratchFolder dir;
    write_file(dir / "a.xml", example_submission());
    for (const std::string tail : {"", "x", "1234567890123:a"}) {
        std::FILE* in = std::tmpfile();
        std::FILE* out = std::tmpfile();
        const std::string tasks = encode_fields({"4", dir / "a.xml", dir / "a.htm"}) +
                                  encode_fields({"5", dir / "b.xml", dir / "b.htm"}) + tail;
        std::fwrite(tasks.data(), 1, tasks.size(), in);
        std::rewind(in);
        std::vector<std::string> checked;
        serve_tasks(in, out, [&](const std::string& input, const std::string& report) {
            checked.push_back(input + " " + report);
            FileResult r;
            r.outcome.status = checked.size() == 1 ? 0 : 13;
            return r;
        });
        EXPECT_EQ(checked, (std::vector<std::string>{dir / "a.xml" + " " + dir / "a.htm",
                                                     dir / "b.xml" + " " + dir / "b.htm"}));
        std::string results = written_to(out);
        std::vector<std::string> fields;
        ASSERT_EQ(take_message(results, kResultFields, fields), Take::taken);
        EXPECT_EQ(fields[0], "4");
        ASSERT_EQ(take_message(results, kResultFields, fields), Take::taken);
        EXPECT_EQ(fields[0], "5");
        EXPECT_EQ(fields[1], "13");
        std::fclose(in);
        std::fclose(out);
    }
}

TEST(BatchWorkers, OneAProcessorUnlessToldOtherwise) {
    Options options;
    EXPECT_EQ(worker_count(options, 8), 8);
    EXPECT_EQ(worker_count(options, 200), 63);
    options.at_once = 1;
    EXPECT_EQ(worker_count(options, 8), 1);
    options.at_once = 3;
    EXPECT_EQ(worker_count(options, 1), 3);
}

TEST(BatchTimeLimit, HalfAMinuteAndASecondAMegabyte) {
    EXPECT_EQ(default_time_limit_ms(0), 30000);
    EXPECT_EQ(default_time_limit_ms(7140), 30007);
    EXPECT_EQ(default_time_limit_ms(1000000000), 1030000);
}

}  // namespace
}  // namespace quelt::test
