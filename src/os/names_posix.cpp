// File names on POSIX systems (names.h): bytes, shown as they are.
#include "src/os/names.h"

#include <unistd.h>

namespace quelt::os {

bool windows_names() { return false; }

char folder_separator() { return '/'; }

std::string shown_name(const std::string& name) { return name; }

std::string name_from_list_bytes(const std::string& bytes) { return bytes; }

std::string full_path(const std::string& name) {
    if (!name.empty() && name[0] == '/') return name;
    std::string folder(4096, '\0');
    if (getcwd(folder.data(), folder.size()) == nullptr) return {};  // GCOVR_EXCL_LINE: a vanished folder
    folder.resize(folder.find('\0'));
    return folder + (folder.back() == '/' ? "" : "/") + name;
}

}  // namespace quelt::os
