// Bounded copies into the fixed text buffers of the run (identifications,
// saved codes, the employer identity): a text that does not fit is cut, and
// the buffer always stays terminated.
#pragma once

#include <cstddef>
#include <cstring>

namespace quelt {

// dst = src, cut to size - 1 characters.
inline void copy_text(char* dst, std::size_t size, const char* src) {
    std::size_t n = 0;
    while (n + 1 < size && src[n] != '\0') {
        dst[n] = src[n];
        ++n;
    }
    dst[n] = '\0';
}

// dst += add, cut so that dst holds at most size - 1 characters. dst ends
// inside its buffer, so the room left is at least its terminator's.
inline void append_text(char* dst, std::size_t size, const char* add) {
    const std::size_t len = std::strlen(dst);
    copy_text(dst + len, size - len, add);
}

}  // namespace quelt
