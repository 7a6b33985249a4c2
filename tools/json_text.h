// A UTF-8 text as a JSON string, for the programs that hand texts of the
// checker to the web page: the page's module (src/run/web_main.cpp) and the
// program that prints the page's texts at build time (tools/page_texts.cpp).
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace quelt {

// Appends text in double quotes; '"', '\\' and the control characters are
// escaped, everything else (UTF-8 included) is kept as it is.
inline void append_json_string(std::string& out, std::string_view text) {
    out += '"';
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", u);
            out += escape;
        } else {
            out += c;
        }
    }
    out += '"';
}

}  // namespace quelt
