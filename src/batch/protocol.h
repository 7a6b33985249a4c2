// What the batch and its workers say to each other over the pipes, and what
// the check of one file gives. A message is a number of fields, each as its
// decimal length, ':' and its bytes, so that any name and any text pass.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "src/report/verdict.h"

namespace quelt::batch {

// The check of one file, as its summary row needs it.
struct FileResult {
    RunOutcome outcome;       // status, E and W, ES306, the failure's message
    long long records = 0;    // employee records
    std::string submitter;    // ICOpredkladatele as read
    std::string employers;    // AA0017 of the employers as read
};

// A task: the row's number, the input and the report.
constexpr std::size_t kTaskFields = 3;
// A result: the row's number and the fields of a FileResult.
constexpr std::size_t kResultFields = 10;

std::string encode_fields(const std::vector<std::string>& fields);

// Takes the first message of count fields off the front of buffer into
// fields (taken); leaves the buffer as it is while the message is
// incomplete (more), or when its start can be no message at all (garbled:
// bytes no worker writes).
enum class Take { taken, more, garbled };
Take take_message(std::string& buffer, std::size_t count, std::vector<std::string>& fields);

// Reads one message of count fields from a stream (the worker's side, which
// waits for each byte). False at the end of the stream, or on bytes the
// batch never writes.
bool read_message(std::FILE* in, std::size_t count, std::vector<std::string>& fields);

std::string encode_result(std::size_t row, const FileResult& result);
FileResult decode_result(const std::vector<std::string>& fields);

}  // namespace quelt::batch
