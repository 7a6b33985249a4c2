// The worker pool with a stand-in worker that fails on purpose
// (tests/batch/stand_in_worker.cpp): each way a worker fails in an office,
// and that no other file fails because of it.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "src/batch/pool.h"
#include "src/batch/worker.h"
#include "src/os/process.h"
#include "tests/unit/scratch_folder.h"

namespace quelt::test {
namespace {

using namespace quelt::batch;

class BatchPool : public ::testing::Test {
protected:
    // Tasks for the files, each an example submission, in the scratch folder.
    std::vector<Task> tasks_for(const std::vector<std::string>& names, long long limit_ms = 0) {
        std::vector<Task> tasks;
        for (const std::string& name : names) {
            write_file(dir / name, example_submission());
            tasks.push_back(Task{tasks.size(), dir / name, dir / (name + ".htm"), limit_ms});
        }
        return tasks;
    }

    // Runs the pool with the stand-in in the mode; the results by file name.
    bool run(const std::vector<Task>& tasks, const std::string& mode, int workers = 2) {
        PoolSettings settings;
        settings.program = QUELT_STAND_IN_WORKER;
        settings.arguments = {mode, kWorkerSwitch, "H", "0", os::process_number()};
        settings.workers = workers;
        PoolCallbacks callbacks;
        callbacks.finished = [&](const Task& task, const FileResult& r) {
            EXPECT_EQ(results.count(task.input), 0u) << task.input << " ended twice";
            results[task.input] = r;
            ++ends;
        };
        callbacks.tick = [&] { return -1; };
        return run_pool(tasks, settings, callbacks);
    }

    const FileResult& of(const std::string& name) { return results[dir / name]; }

    ScratchFolder dir;
    std::map<std::string, FileResult> results;
    int ends = 0;
};

TEST_F(BatchPool, EveryFileOnceWithItsResult) {
    EXPECT_TRUE(run(tasks_for({"a.xml", "b.xml", "c.xml", "d.xml", "e.xml"}), "plain"));
    EXPECT_EQ(ends, 5);
    for (const auto& [name, r] : results) {
        EXPECT_EQ(r.outcome.status, 0) << name;
        EXPECT_EQ(r.records, 3);
        EXPECT_EQ(read_file(name + ".htm").substr(0, 6), "<html>");
    }
}

TEST_F(BatchPool, AFilePastItsTimeLimitIsStoppedAndNotTriedAgain) {
    std::vector<Task> tasks = tasks_for({"a.xml", "hang.xml", "c.xml"}, 20000);
    tasks[1].limit_ms = 300;
    EXPECT_TRUE(run(tasks, "hang:hang.xml"));
    EXPECT_EQ(ends, 3);
    EXPECT_EQ(of("a.xml").outcome.status, 0);
    EXPECT_EQ(of("c.xml").outcome.status, 0);
    const FileResult& hung = of("hang.xml");
    EXPECT_EQ(hung.outcome.status, 13);
    EXPECT_EQ(hung.outcome.failure, "Kontrola souboru  " + (dir / "hang.xml") +
                                        "  prekrocila casovy limit 0.3 s, zastavena");
    EXPECT_EQ(read_file(dir / "hang.xml.htm"), " " + hung.outcome.failure + "\n Program ukoncen\n");
}

TEST_F(BatchPool, AFileWhoseWorkerDiedIsTriedOnceMoreInAFreshOne) {
    EXPECT_TRUE(run(tasks_for({"a.xml", "die-once.xml", "c.xml"}), "die-once:die-once.xml", 1));
    EXPECT_EQ(ends, 3);
    for (const auto& [name, r] : results) EXPECT_EQ(r.outcome.status, 0) << name;
}

TEST_F(BatchPool, AFileThatKillsEveryWorkerEndsAloneAfterTwoTries) {
    EXPECT_TRUE(run(tasks_for({"a.xml", "die.xml", "c.xml", "d.xml"}), "die:die.xml"));
    EXPECT_EQ(ends, 4);
    EXPECT_EQ(of("die.xml").outcome.status, 13);
    EXPECT_EQ(of("die.xml").outcome.failure,
              "Kontrola souboru  " + (dir / "die.xml") + "  nedobehla: pracovni proces dvakrat skoncil");
    for (const char* name : {"a.xml", "c.xml", "d.xml"}) EXPECT_EQ(of(name).outcome.status, 0) << name;
}

// The last file left, its worker dead: the file is tried again all the same.
TEST_F(BatchPool, TheLastFileOfADeadWorkerIsTriedAgain) {
    EXPECT_TRUE(run(tasks_for({"die-once.xml"}), "die-once:die-once.xml", 1));
    EXPECT_EQ(of("die-once.xml").outcome.status, 0);
}

// A result for another file than the worker's is no result of its file.
TEST_F(BatchPool, AResultForAnotherFileIsNone) {
    EXPECT_TRUE(run(tasks_for({"a.xml", "wrong.xml", "c.xml"}), "wrong-row:wrong.xml", 1));
    EXPECT_EQ(of("wrong.xml").outcome.status, 13);
    EXPECT_EQ(of("a.xml").outcome.status, 0);
    EXPECT_EQ(of("c.xml").outcome.status, 0);
}

TEST_F(BatchPool, AWorkerThatWritesGarbageIsReplaced) {
    EXPECT_TRUE(run(tasks_for({"a.xml", "garble.xml", "c.xml"}), "garble:garble.xml", 1));
    EXPECT_EQ(of("garble.xml").outcome.status, 13);
    EXPECT_EQ(of("a.xml").outcome.status, 0);
    EXPECT_EQ(of("c.xml").outcome.status, 0);
}

// The first worker ends before it reads its first file: the file it could
// not be fed goes to a fresh worker, and no file fails.
TEST_F(BatchPool, AWorkerDeadBeforeItsFirstFileTakesNoFileWithIt) {
    EXPECT_TRUE(run(tasks_for({"a.xml", "b.xml", "c.xml"}), "exit-at-start:" + (dir / "started"), 1));
    EXPECT_EQ(ends, 3);
    for (const auto& [name, r] : results) EXPECT_EQ(r.outcome.status, 0) << name;
}

// A worker that can no longer be fed is replaced; its next file goes to the
// fresh worker and no file fails.
TEST_F(BatchPool, AWorkerThatCannotBeFedIsReplaced) {
    EXPECT_TRUE(run(tasks_for({"a.xml", "b.xml", "c.xml"}), "deaf-after:a.xml", 1));
    EXPECT_EQ(ends, 3);
    for (const auto& [name, r] : results) EXPECT_EQ(r.outcome.status, 0) << name;
}

// The worker's program is gone after the first file: the files left are
// said to be impossible to start, none is lost.
TEST_F(BatchPool, NoWorkerCanBeStartedAnyMore) {
    const std::string program = dir / "worker";
    std::filesystem::copy_file(QUELT_STAND_IN_WORKER, program);
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    PoolSettings settings;
    settings.program = program;
    settings.arguments = {"vanish-after:a.xml", kWorkerSwitch, "H", "0", os::process_number()};
    PoolCallbacks callbacks;
    callbacks.finished = [&](const Task& task, const FileResult& r) { results[task.input] = r; };
    EXPECT_TRUE(run_pool(tasks_for({"a.xml", "b.xml", "c.xml"}), settings, callbacks));
    EXPECT_EQ(of("a.xml").outcome.status, 0);
    EXPECT_EQ(of("b.xml").outcome.failure,
              "Kontrolu souboru  " + (dir / "b.xml") + "  nelze spustit: pracovni proces se nespustil");
    EXPECT_EQ(of("c.xml").outcome.status, 13);
}

// A worker that does not end when it has nothing more to do is ended.
TEST_F(BatchPool, AWorkerThatLingersIsEnded) {
    EXPECT_TRUE(run(tasks_for({"a.xml"}), "linger", 1));
    const int pid = std::stoi(read_file(dir / "linger.pid"));
    EXPECT_NE(kill(pid, 0), 0) << "worker " << pid << " outlived its pool";
}

TEST_F(BatchPool, NoWorkerAtAllIsSaidForEveryFile) {
    std::vector<Task> tasks = tasks_for({"a.xml", "b.xml"});
    tasks[1].report = dir / "missing/b.htm";  // its report cannot even say why
    PoolSettings settings;
    settings.program = dir / "no-such-program";
    settings.workers = 2;
    PoolCallbacks callbacks;
    callbacks.finished = [&](const Task& task, const FileResult& r) { results[task.input] = r; };
    EXPECT_TRUE(run_pool(tasks, settings, callbacks));
    EXPECT_EQ(of("a.xml").outcome.failure,
              "Kontrolu souboru  " + (dir / "a.xml") + "  nelze spustit: pracovni proces se nespustil");
    EXPECT_EQ(of("b.xml").outcome.status, 13);
}

// A request to stop (here the stand-in's SIGTERM to the test, its batch)
// ends the worker at once: its file says so, the files after it never start.
TEST_F(BatchPool, ARequestToStopEndsEveryWorker) {
    os::catch_stop_requests();
    EXPECT_FALSE(run(tasks_for({"a.xml", "stop.xml", "c.xml"}), "stop-batch:stop.xml", 1));
    os::catch_stop_requests();  // the request is answered: the next test starts afresh
    EXPECT_EQ(ends, 2);
    EXPECT_EQ(of("a.xml").outcome.status, 0);
    EXPECT_EQ(of("stop.xml").outcome.failure, "Kontrola souboru  " + (dir / "stop.xml") + "  prerusena");
    EXPECT_EQ(results.count(dir / "c.xml"), 0u);
    std::signal(SIGTERM, SIG_DFL);
}

}  // namespace
}  // namespace quelt::test
