// Guards the files a run was given. Before the report or the output copy is
// opened for writing, the run asks whether the name it would write names one
// of its inputs, or a file that is an ORV submission: opening either for
// writing would destroy it, and the clerk's only copy of an export may be the
// file lost. Both questions are asked by name, before anything is opened.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quelt {

// True when both names name one existing regular file, whatever the spelling:
// another relative path, a hard link, a symbolic link (and on Windows another
// case). Devices, pipes, folders and missing files are never the same file.
bool same_file(const std::string& a, const std::string& b);

// True when name is an existing regular file that one of others names too.
// Asks for name's identity once: on Windows a name that names no file costs
// a search of its whole folder, and a list may hold thousands of names.
bool same_as_any(const std::string& name, const std::vector<std::string>& others);

// How much of a file's start decides whether it is a submission.
constexpr std::size_t kHlavaPodani = 64 * 1024;

// The local name of the first start tag of the bytes, after an optional
// UTF-8 byte-order mark, white space, the XML declaration and other
// processing instructions, comments and a DOCTYPE (any prefix left off);
// empty when anything else comes first or the bytes end before it does.
std::string_view first_element_name(std::string_view head);

// True when the bytes open an ORV submission: after an optional UTF-8
// byte-order mark, white space, the XML declaration and other processing
// instructions, comments and a DOCTYPE, the first start tag's local name is
// exactly "ORV" (any prefix). Anything else, or nothing decided within the
// bytes given, is not a submission.
bool starts_like_submission(std::string_view head);

// True when name is an existing regular file whose first kHlavaPodani bytes
// open an ORV submission. A device or a pipe is never read here.
bool is_orv_submission(const std::string& name);

}  // namespace quelt
