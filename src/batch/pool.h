// The worker pool: the files of a batch over worker processes, a few at a
// time. Each worker gets the next file when it reports the last one. A file
// past its time limit has its worker killed and replaced, and is not tried
// again. A worker that dies, sends what no worker writes, or cannot be fed
// is replaced, and its file is tried once more in a fresh worker before it
// is given up; no other file fails because of it. A request to stop ends
// every worker at once. No worker outlives the pool.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "src/batch/protocol.h"

namespace quelt::batch {

struct Task {
    std::size_t row;      // the summary's row, which the result names
    std::string input;
    std::string report;
    long long limit_ms;   // the time limit; 0: none
};

struct PoolSettings {
    std::string program;                 // the worker's program
    std::vector<std::string> arguments;  // after the program's name
    int workers = 1;
};

struct PoolCallbacks {
    // A task has ended: with its worker's result, or with status 13 and why
    // it did not (its report then holds that message, as a failed run's does).
    std::function<void(const Task&, const FileResult&)> finished;
    // Called after every wait; returns the milliseconds until it wants to
    // be called again (negative: not before something happens).
    std::function<int()> tick;
};

// Runs every task; false when a request to stop ended it (a task that was
// being checked then has ended as stopped; the others have not ended).
bool run_pool(const std::vector<Task>& tasks, const PoolSettings& settings,
              const PoolCallbacks& callbacks);

}  // namespace quelt::batch
