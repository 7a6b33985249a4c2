// The batch's inputs: each name it was given, a folder standing for its .xml
// files (all its files with -a), the batch's own earlier outputs told from
// submissions by their content, a report name for each input, and whether
// the summary may go where it goes. Every input's identity is taken once,
// so that a re-run into a folder of thousands of files asks the system
// about each name once, not once for every pair.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "src/os/files.h"

namespace quelt::batch {

enum class InputKind {
    file,               // checked by a run (a missing or odd file too: its run says why)
    unreadable_folder,  // a folder that cannot be listed
    report,             // a report of the checker, named as an input: not read
    summary,            // the batch's summary, named as an input: not read
};

struct Input {
    std::string name;  // as the run gets it and the summary shows it
    InputKind kind = InputKind::file;
    os::FileId id;      // a regular file's identity
    std::uint64_t size = 0;
};

// A folder's file that is no input, and why (UTF-8).
struct Skipped {
    std::string name;
    const char* why;
};

struct Inputs {
    std::vector<Input> inputs;
    std::vector<Skipped> skipped;
};

// The inputs of the names in the order given, a folder's files in name
// order (bytes). A name beginning with '@' is given as "./@name", the name
// quelt would read as the file itself and not as a list.
Inputs expand_names(const std::vector<std::string>& names, bool every_file);

// A report name in folder for each input (empty for an input no run checks):
// the report stem and the extension, "-2", "-3" ... added where the name is
// taken, letter case ignored as Windows ignores it, by an earlier input or
// the summary, or where it names a folder, an input or an ORV submission. An
// older report of that name is written again.
std::vector<std::string> report_names(const std::vector<Input>& inputs, const std::string& folder,
                                      const char* extension);

// Whether the summary may be written at name: no folder, no input a run
// reads, no ORV submission is there (an earlier summary may be).
bool summary_may_replace(const std::string& name, const std::vector<Input>& inputs);

// Makes the folder and the folders above it that are missing, never the
// root of a path (a drive, a share).
bool make_path(const std::string& folder);

}  // namespace quelt::batch
