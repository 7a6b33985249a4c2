// The worker's side of the batch: the check of one file in this process, and
// a worker's life, which reads a task, checks its file and writes the
// result, one file after another, until its input ends. The checker's state
// is global by design, so a process checks one file at a time; every run
// starts from the reset of all state.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "src/batch/protocol.h"

namespace quelt::batch {

// The internal switch that makes quelt-davka a worker.
constexpr const char* kWorkerSwitch = "--pracovnik";

// Checks one file in this process as `quelt INPUT REPORT` would (the format
// and -w as given), the run's console written to console.
FileResult check_file(const std::string& input, const std::string& report, char format, bool skip_w,
                      std::FILE* console);

// Reads tasks from in and writes their results to out until in ends;
// check checks one file (input, report).
using CheckFile = std::function<FileResult(const std::string&, const std::string&)>;
void serve_tasks(std::FILE* in, std::FILE* out, const CheckFile& check);

// The arguments that start a worker for the format and -w, after its
// program's name; the batch's process number goes with them.
std::vector<std::string> worker_arguments(char format, bool skip_w);

// A worker's whole life, with the arguments worker_arguments gave.
int run_worker(const std::vector<std::string>& arguments);

}  // namespace quelt::batch
