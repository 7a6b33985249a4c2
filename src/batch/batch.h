// The batch program quelt-davka: many data files, each checked as a run of
// its own by the same checker in a worker process, a report per file and a
// summary of all, kept current while the files are checked.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "src/batch/command_line.h"
#include "src/batch/pool.h"

namespace quelt {

// The whole batch program with its arguments (after the program's name), or
// a worker when the first is the worker switch; returns the exit status.
int quelt_davka(const std::vector<std::string>& arguments);

namespace batch {

// The batch of the options, its files checked by the worker program given
// (the batch itself runs quelt-davka again), its lines written to console.
int run_batch(const Options& options, const PoolSettings& workers, std::FILE* console);

// The time a file may take when no -t is given (see batch.cpp).
long long default_time_limit_ms(std::uint64_t size);

// How many workers check at a time: -j, else one a processor, at most
// os::kMostWorkers.
int worker_count(const Options& options, int processors);

}  // namespace batch

}  // namespace quelt
