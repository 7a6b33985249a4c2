// File names as the system holds them and as the program's texts show them.
// POSIX systems name files by bytes, and the program shows the bytes it was
// given. Windows names files in UTF-16: the program holds such a name as
// UTF-8 (its arguments, a folder's entries and a list's names are converted
// on the way in) and shows it in Windows-1250, a character that code page
// cannot write as '?', since every text it writes is Windows-1250.
#pragma once

#include <string>
#include <vector>

namespace quelt::os {

// Whether names are Windows names: '\' and '/' separate folders, a drive
// ("C:") or a share ("\\server\share") begins a full name, and letter case
// does not tell two names apart.
bool windows_names();

// The separator the program puts between a folder and a name.
char folder_separator();

// A name as the report head, the console and the summary show it.
std::string shown_name(const std::string& name);

// A message about a file: format with the name as the program shows it
// (shown_name) for its first %s, and then extra for a second one.
std::string message_about(const char* format, const std::string& name, const std::string& extra = {});

// A name read from a list without a byte-order mark: the bytes of the
// system's own code page, as a program given them on its command line
// would have taken them.
std::string name_from_list_bytes(const std::string& bytes);

// The full path of a name (a relative one completed with the current
// folder), as shown_name shows it; empty when it cannot be told.
std::string full_path(const std::string& name);

}  // namespace quelt::os

#ifdef _WIN32
namespace quelt::os {
// The program's arguments after its own name, given by Windows in UTF-16,
// as UTF-8.
std::vector<std::string> arguments_from_wide(int argc, wchar_t** argv);
}  // namespace quelt::os
#endif
