// The output copy file. Its lines are gathered in a buffer of our own and
// written to the file in large blocks: one formatted write per element cost
// as much as all the checks of the element. A write that fails leaves the
// file's error flag set, as a formatted write would, and the end of the run
// reports it.
#include "src/structure/output_copy.h"

#include <cassert>
#include <cstdio>
#include <cstring>

#include "src/state/run_state.h"
#include "src/xml/reader.h"

namespace quelt {

namespace {

constexpr std::size_t kSize = 1 << 16;
// Every text comes from a piece of the reader: an element's line (three
// pieces and five marks) always fits in the emptied buffer.
static_assert(3 * kPiece + 5 <= kSize);
char buffer[kSize];
std::size_t used = 0;

void add_text(std::string_view text) {
    assert(text.size() <= kPiece);  // a fixed text or a piece of the reader
    if (text.size() > kSize - used) flush_copy();
    std::memcpy(buffer + used, text.data(), text.size());
    used += text.size();
}

char* put(char* p, std::string_view text) {
    std::memcpy(p, text.data(), text.size());
    return p + text.size();
}

}  // namespace

void write_copy(std::string_view text) {
    if (sw_vystup == 'A') add_text(text);
}

void write_copy_line(std::string_view name, std::string_view content, std::string_view tag) {
    assert(sw_vystup == 'A');  // the walk asks only while the copy is open
    const std::size_t n = name.size() + content.size() + tag.size() + 5;
    assert(n <= kSize);  // three pieces and five marks
    if (n > kSize - used)
        flush_copy();
    // One test for room, then the pieces straight into the buffer.
    char* p = buffer + used;
    *p++ = '<';
    p = put(p, name);
    *p++ = '>';
    p = put(p, content);
    *p++ = '<';
    p = put(p, tag);
    *p++ = '>';
    *p++ = '\n';
    used += n;
}

void flush_copy() {
    // Lines are held only while the copy is open.
    assert(used == 0 || outsoub != nullptr);
    if (used > 0) std::fwrite(buffer, 1, used, outsoub);
    used = 0;
}

void reset_output_copy() { used = 0; }

}  // namespace quelt
