// The output copy file: the checked data, one element a line, written when
// the run has one (sw_vystup 'A'). Every line of the copy goes through here.
#pragma once

#include <string_view>

namespace quelt {

// Appends text to the copy.
void write_copy(std::string_view text);

// The line of a section element: "<name>content<tag>\n"; asked only while the
// copy is open.
void write_copy_line(std::string_view name, std::string_view content, std::string_view tag);

// Writes what the copy holds so far to outsoub: before the file is closed.
void flush_copy();

// Run start: nothing held.
void reset_output_copy();

}  // namespace quelt
