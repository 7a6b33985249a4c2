// The names the batch builds: a folder's file joined to its folder, the
// folders an output folder needs, the report of each input, and the letter
// case Windows ignores. The rules for Windows names are plain functions here
// too (windows = true), so that every system's build tests them.
#pragma once

#include <string>
#include <string_view>

namespace quelt::batch {

// The folder and the name with a separator between them, unless the folder
// ends in one already or, in Windows names, is a drive ("C:" + "a" is "C:a",
// a name in that drive's current folder).
std::string join_path(const std::string& folder, const std::string& name, bool windows);

// The last part of a path, after its last separator.
std::string base_name(const std::string& path, bool windows);

// How much of a path names no folder the batch could make: "/"; in Windows
// names "C:" or "C:\", "\\server\share\" and their "\\?\" forms.
std::size_t root_length(const std::string& path, bool windows);

// The name a report of the input gets, before its extension: the input's
// base name without its last extension; "soubor" when nothing (or only a
// dot or two) is left.
std::string report_stem(const std::string& input, bool windows);

// Whether the name ends in ".xml", letter case ignored.
bool has_xml_extension(std::string_view name);

// Whether the bytes are UTF-8 (as names are on Windows and mostly on Linux).
bool is_utf8(std::string_view text);

// A name as Windows compares names with letter case ignored: each character
// of the Basic Multilingual Plane upper-cased by a one-to-one table (Č = č,
// Ш = ш). A name that is not UTF-8 is read as Windows-1250.
std::u32string case_key(std::string_view name);

// What a file's first bytes say it is among the batch's own outputs: a
// report of the checker (its head in any format, the XML report's root
// <ORV_chyby>, or a report that holds only a failed run's message) or the
// batch's summary.
enum class BatchOutput { none, report, summary };
BatchOutput batch_output_of(std::string_view head);

}  // namespace quelt::batch
