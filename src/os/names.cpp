// The part of names.h that is the same on every system.
#include "src/os/names.h"

#include <cstdio>

namespace quelt::os {

std::string message_about(const char* format, const std::string& name, const std::string& extra) {
    const std::string shown = shown_name(name);
    const int n = std::snprintf(nullptr, 0, format, shown.c_str(), extra.c_str());
    std::string text(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    std::snprintf(text.data(), text.size() + 1, format, shown.c_str(), extra.c_str());
    return text;
}

}  // namespace quelt::os
