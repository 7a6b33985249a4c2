// Between the program's UTF-8 names and Windows' UTF-16 ones: for the
// Windows files of this folder alone.
#pragma once

#include <string>
#include <string_view>

#include <windows.h>

namespace quelt::os {

// Bytes of a code page (CP_UTF8, or CP_ACP for the system's own) in UTF-16.
inline std::wstring wide_from(UINT code_page, std::string_view bytes) {
    if (bytes.empty()) return {};
    const int n = MultiByteToWideChar(code_page, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0)
        MultiByteToWideChar(code_page, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), n);
    return wide;
}

inline std::wstring wide_from_utf8(std::string_view utf8) { return wide_from(CP_UTF8, utf8); }

inline std::string utf8_from_wide(std::wstring_view wide) {
    if (wide.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr,
                                      0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), n,
                            nullptr, nullptr);
    return utf8;
}

}  // namespace quelt::os
