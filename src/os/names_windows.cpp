// File names on Windows (names.h): UTF-16 names held as UTF-8 and shown in
// Windows-1250.
#include "src/os/names.h"

#include "src/os/wide_windows.h"
#include "src/xml/cp1250.h"

namespace quelt::os {

bool windows_names() { return true; }

char folder_separator() { return '\\'; }

std::string shown_name(const std::string& name) {
    std::string shown;
    utf8_to_cp1250(name, shown);
    return shown;
}

std::string name_from_list_bytes(const std::string& bytes) {
    return utf8_from_wide(wide_from(CP_ACP, bytes));
}

std::string full_path(const std::string& name) {
    const std::wstring wide = wide_from_utf8(name);
    DWORD n = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (n == 0) return {};
    std::wstring path(n, L'\0');
    n = GetFullPathNameW(wide.c_str(), n, path.data(), nullptr);
    if (n == 0 || n >= path.size()) return {};
    path.resize(n);
    return shown_name(utf8_from_wide(path));
}

std::vector<std::string> arguments_from_wide(int argc, wchar_t** argv) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) arguments.push_back(utf8_from_wide(argv[i]));
    return arguments;
}

}  // namespace quelt::os
