// The worker pool (pool.h).
#include "src/batch/pool.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <deque>
#include <memory>

#include "src/os/files.h"
#include "src/os/names.h"
#include "src/os/process.h"

namespace quelt::batch {

namespace {

using Clock = std::chrono::steady_clock;

// A file is tried at most this often: once, and once more in a fresh worker
// when its worker died under it or could not be fed.
constexpr int kMostAttempts = 2;

// Why a file ended without its worker's result (the run's own messages are
// written the same way: the file's name between two blanks).
constexpr const char* kTimeLimit = "Kontrola souboru  %s  prekrocila casovy limit %s s, zastavena";
constexpr const char* kWorkerLost = "Kontrola souboru  %s  nedobehla: pracovni proces dvakrat skoncil";
constexpr const char* kNoWorker = "Kontrolu souboru  %s  nelze spustit: pracovni proces se nespustil";
constexpr const char* kStopped = "Kontrola souboru  %s  prerusena";

// What a worker is doing.
struct Busy {
    long task = -1;               // index of its task; -1: none
    Clock::time_point deadline;   // when its task has a time limit
};

std::string seconds_text(long long ms) {
    char text[32];
    if (ms % 1000 == 0)
        std::snprintf(text, sizeof text, "%lld", ms / 1000);
    else
        std::snprintf(text, sizeof text, "%.1f", static_cast<double>(ms) / 1000);
    return text;
}

std::string say(const char* format, const Task& task) {
    return os::message_about(format, task.input, seconds_text(task.limit_ms));
}

// The report of a file whose check did not end holds the reason, as a failed
// run's report holds its message; a half-written report is written over.
void write_failure_report(const std::string& report, const std::string& why) {
    std::FILE* f = os::open_file(report, "w");
    if (f == nullptr) return;
    std::fprintf(f, " %s\n Program ukoncen\n", why.c_str());
    os::close_written(f);
}

class Pool {
public:
    Pool(const std::vector<Task>& tasks, const PoolSettings& settings, const PoolCallbacks& callbacks);
    bool run();

private:
    void start_and_feed(std::size_t k);
    void feed(std::size_t k);
    void take_results(std::size_t k);
    void lose_worker(std::size_t k);
    void drop_worker(std::size_t k);
    long end_worker(std::size_t k);
    void end_late_tasks();
    void stop_all();
    void retry_or_give_up(std::size_t task);
    void give_up(std::size_t task, const char* why);
    void give_up_queue();
    void done(std::size_t task, const FileResult& result);
    int wait_ms() const;
    bool any_running() const;
    bool has_deadline(const Busy& b) const;

    const std::vector<Task>& tasks_;
    const PoolSettings& settings_;
    const PoolCallbacks& callbacks_;
    std::deque<std::size_t> queue_;
    std::vector<int> attempts_;
    std::vector<std::unique_ptr<os::Worker>> workers_;
    std::vector<Busy> busy_;
    std::size_t unfinished_;
    int tick_ms_ = -1;
};

Pool::Pool(const std::vector<Task>& tasks, const PoolSettings& settings, const PoolCallbacks& callbacks)
    : tasks_(tasks), settings_(settings), callbacks_(callbacks), attempts_(tasks.size(), 0),
      unfinished_(tasks.size()) {
    for (std::size_t t = 0; t < tasks.size(); ++t) queue_.push_back(t);
    const std::size_t n = std::min(static_cast<std::size_t>(std::max(settings.workers, 1)),
                                   std::max<std::size_t>(tasks.size(), 1));
    for (std::size_t k = 0; k < n; ++k) workers_.push_back(std::make_unique<os::Worker>());
    busy_.resize(n);
}

bool Pool::run() {
    for (std::size_t k = 0; k < workers_.size() && !queue_.empty(); ++k) start_and_feed(k);
    if (callbacks_.tick) tick_ms_ = callbacks_.tick();
    while (unfinished_ > 0) {
        const os::WaitResult w = os::wait_for_workers(workers_, wait_ms());
        if (w.kind == os::WaitResult::stop) {
            stop_all();
            return false;
        }
        if (w.kind == os::WaitResult::output) take_results(static_cast<std::size_t>(w.worker));
        end_late_tasks();
        if (callbacks_.tick) tick_ms_ = callbacks_.tick();
    }
    for (const auto& w : workers_) w->finish();
    return true;
}

void Pool::start_and_feed(std::size_t k) {
    if (workers_[k]->start(settings_.program, settings_.arguments))
        feed(k);
    else if (!any_running())
        give_up_queue();
}

// Sends the worker the next file. A worker that cannot be fed is lost as
// one that died with its file, and a fresh one takes the next file (that
// file again, when it has a try left). A worker with nothing to do is told
// so and ends on its own; the pool collects it at its end.
void Pool::feed(std::size_t k) {
    while (!queue_.empty()) {
        const std::size_t t = queue_.front();
        queue_.pop_front();
        ++attempts_[t];
        const Task& task = tasks_[t];
        busy_[k] = Busy{static_cast<long>(t), Clock::now() + std::chrono::milliseconds(task.limit_ms)};
        if (workers_[k]->send(encode_fields({std::to_string(task.row), task.input, task.report}))) return;
        drop_worker(k);
        if (queue_.empty() || !workers_[k]->start(settings_.program, settings_.arguments)) break;
    }
    if (workers_[k]->running()) workers_[k]->close_input();
    else if (!queue_.empty() && !any_running()) give_up_queue();
}

void Pool::take_results(std::size_t k) {
    os::Worker& w = *workers_[k];
    std::vector<std::string> fields;
    for (;;) {
        const Take taken = take_message(w.received, kResultFields, fields);
        if (taken == Take::more) break;
        const long t = busy_[k].task;
        if (taken == Take::garbled || t < 0 || fields[0] != std::to_string(tasks_[t].row)) {
            lose_worker(k);
            return;
        }
        busy_[k].task = -1;
        done(static_cast<std::size_t>(t), decode_result(fields));
        feed(k);
    }
    if (!w.ended) return;
    // A worker told that nothing is left has ended as it should.
    if (busy_[k].task < 0 && queue_.empty())
        w.finish();
    else
        lose_worker(k);
}

// A worker that died, or wrote what no worker writes: it is replaced, and
// its file tried again.
void Pool::lose_worker(std::size_t k) {
    drop_worker(k);
    if (!queue_.empty()) start_and_feed(k);
}

void Pool::drop_worker(std::size_t k) {
    const long t = end_worker(k);
    if (t >= 0) retry_or_give_up(static_cast<std::size_t>(t));
}

// Kills worker k and returns the task it was checking (-1: none), which
// from now on no worker holds.
long Pool::end_worker(std::size_t k) {
    workers_[k]->kill();
    const long t = busy_[k].task;
    busy_[k].task = -1;
    return t;
}

void Pool::end_late_tasks() {
    const Clock::time_point now = Clock::now();
    for (std::size_t k = 0; k < busy_.size(); ++k) {
        if (!has_deadline(busy_[k]) || now < busy_[k].deadline) continue;
        give_up(static_cast<std::size_t>(end_worker(k)), kTimeLimit);
        if (!queue_.empty()) start_and_feed(k);
    }
}

void Pool::stop_all() {
    for (std::size_t k = 0; k < workers_.size(); ++k) {
        const long t = end_worker(k);
        if (t >= 0) give_up(static_cast<std::size_t>(t), kStopped);
    }
}

void Pool::retry_or_give_up(std::size_t task) {
    if (attempts_[task] < kMostAttempts)
        queue_.push_front(task);
    else
        give_up(task, kWorkerLost);
}

void Pool::give_up(std::size_t task, const char* why) {
    FileResult result;
    result.outcome.status = 13;
    result.outcome.failure = say(why, tasks_[task]);
    write_failure_report(tasks_[task].report, result.outcome.failure);
    done(task, result);
}

// No worker runs and none can be started: the files left cannot be checked.
void Pool::give_up_queue() {
    while (!queue_.empty()) {
        const std::size_t t = queue_.front();
        queue_.pop_front();
        give_up(t, kNoWorker);
    }
}

void Pool::done(std::size_t task, const FileResult& result) {
    --unfinished_;
    callbacks_.finished(tasks_[task], result);
}

int Pool::wait_ms() const {
    long long ms = tick_ms_;
    const Clock::time_point now = Clock::now();
    for (const Busy& b : busy_) {
        if (!has_deadline(b)) continue;
        using std::chrono::duration_cast, std::chrono::milliseconds;
        const long long left = std::max<long long>(0, duration_cast<milliseconds>(b.deadline - now).count() + 1);
        ms = ms < 0 ? left : std::min(ms, left);
    }
    return static_cast<int>(std::min<long long>(ms, 1 << 30));
}

bool Pool::has_deadline(const Busy& b) const {
    return b.task >= 0 && tasks_[static_cast<std::size_t>(b.task)].limit_ms > 0;
}

bool Pool::any_running() const {
    return std::any_of(workers_.begin(), workers_.end(), [](const auto& w) { return w->running(); });
}

}  // namespace

bool run_pool(const std::vector<Task>& tasks, const PoolSettings& settings,
              const PoolCallbacks& callbacks) {
    Pool pool(tasks, settings, callbacks);
    return pool.run();
}

}  // namespace quelt::batch
