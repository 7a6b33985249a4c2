// Element reader: the four piece readers, line counting and the input buffer.
//
// The input is read through a buffer of our own, so reading costs no call per
// byte; when the buffer runs dry the next block is read, and at the real end
// of a file the run decides (its end_of_file hook, konec_vstupu) whether the
// next file of a list goes on as one stream. A byte of value 255 is data like
// any other.
#include "src/xml/reader.h"

#include <array>
#include <bit>
#include <cassert>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace quelt {

LineNo cislo_radky = 1;
char je_OTVZAV = 'N';
char je_ZAVZAV = 'N';
char buf_element[kPiece];
char akt_elem[kPiece];
char akt_obsah[kPiece];
char sw_konec = 'N';
int element_name_length = 0;
void (*on_bytes_read)(long long) = nullptr;

namespace {

// The input is read in blocks of this size, small enough that a block is
// still in the processor's cache when it is scanned. In WebAssembly every read
// leaves the module for JavaScript (under Node a system call, in the web page
// a copy from the blocks the page's worker reads from the browser), so the
// blocks are larger there, the size that checked fastest under Node of those
// tried (bench/README.md).
#ifdef __EMSCRIPTEN__
constexpr std::size_t kBlock = 1 << 20;
#else
constexpr std::size_t kBlock = 1 << 16;
#endif
// Bytes after the data of a block: a NUL right after the data stops the
// scans of the one-pass reader at the block's end, and short texts are
// copied as one fixed-size move that may read past the data into this room.
constexpr std::size_t kCopyRun = 32;
constexpr std::size_t kSlack = kCopyRun + 1;
// The longest start tag text (prefix and name) of the one-pass reader, with
// its '>': every name of the employer and employee tables fits.
constexpr std::size_t kShortName = 16;

std::FILE* insoub = nullptr;
unsigned char block[kBlock + kSlack];
std::size_t pos = 0;
std::size_t len = 0;
long long bytes_read = 0;  // bytes read so far, over all files of the run

LineNo text_line = -1;  // the line whose text s_cislo_radky holds
char line_buf[24];

// The hooks of a reader on its own: one file is the whole input.
int end_input() {
    sw_konec = 'A';
    return -1;
}
void fail_input() { sw_konec = 'A'; }

ReaderHooks hooks{end_input, fail_input};

// Reads the next block; at the end of a file asks for the next one. Returns
// the next byte, or -1 when the input has ended for good.
int refill() {
    // Every reader stops at the input's end before it asks again (the
    // processing loop stops there), and a file is open until the input ends.
    // The one guard of the readers: a reader asked all the same gets the end
    // once more, and no file is read after it.
    assert(sw_konec != 'A' && insoub != nullptr);
    if (sw_konec == 'A') return -1;  // GCOVR_EXCL_LINE: as the assertion
    for (;;) {
        len = std::fread(block, 1, kBlock, insoub);
        block[len] = '\0';
        pos = 0;
        if (len > 0) {
            bytes_read += static_cast<long long>(len);
            if (on_bytes_read != nullptr) on_bytes_read(bytes_read);
            return block[pos++];
        }
        if (std::ferror(insoub)) {
            hooks.read_error();
            return -1;
        }
        if (hooks.end_of_file() != 0) return -1;
        // Run control opened the next file of a list before it returned 0.
        assert(insoub != nullptr);
    }
}

inline int next_byte() { return pos < len ? block[pos++] : refill(); }

// Makes sure an unread byte stands at block[pos]; false at the end of the input.
inline bool byte_ready() {
    if (pos < len) return true;
    if (refill() < 0) return false;
    --pos;  // refill consumed the first byte of the new block: put it back
    return true;
}

inline void count_line() { ++cislo_radky; }

// Byte classes of the scanning loops: the bytes that end or interrupt a tag
// name (blank, line feed, '>', carriage return, and NUL, which is stored but
// noted as the end of the name's text) and a content ('<', line feed, carriage
// return). Every other byte is copied as it is.
constexpr std::array<bool, 256> byte_class(std::string_view stops) {
    std::array<bool, 256> t{};
    for (char c : stops) t[static_cast<unsigned char>(c)] = true;
    return t;
}
constexpr auto kNameStop = byte_class(std::string_view(" \n>\r\0", 5));
constexpr auto kContentStop = byte_class("<\n\r");

// Copies bytes of the current block up to a stop byte, the end of the block or
// kPiece - 1 stored bytes in all. n counts the bytes stored so far; they stand
// in buf from position n - shift on (shift: bytes of a prefix stored but
// already removed). Returns the new n.
inline int copy_until_stop(char* buf, int n, int shift, const std::array<bool, 256>& stops) {
    const unsigned char* p = block + pos;
    const unsigned char* end = block + len;
    const std::size_t room = static_cast<std::size_t>(kPiece - 1 - n);
    if (static_cast<std::size_t>(end - p) > room) end = p + room;
    char* out = buf + (n - shift);
    const unsigned char* start = p;
    while (p < end && !stops[*p]) *out++ = static_cast<char>(*p++);
    pos = static_cast<std::size_t>(p - block);
    return n + static_cast<int>(p - start);
}

// Skips up to and including the next '<', counting line feeds.
int skip_past_open() {
    for (;;) {
        if (!byte_ready()) return -1;
        const unsigned char* start = block + pos;
        const unsigned char* end = block + len;
        const void* hit = std::memchr(start, '<', static_cast<std::size_t>(end - start));
        const unsigned char* stop = hit ? static_cast<const unsigned char*>(hit) : end;
        for (const unsigned char* p = start; p < stop; ++p)
            if (*p == '\n') count_line();
        pos = static_cast<std::size_t>(stop - block);
        if (hit) {
            ++pos;
            return 0;
        }
    }
}

// Skips up to and including the next '>', counting line feeds.
int skip_past_close() {
    for (;;) {
        const int c = next_byte();
        if (c < 0) return -1;
        if (c == '>') return 0;
        if (c == '\n') count_line();
    }
}

// Removes the namespace prefix "orv:" at the start of a name or after its
// first character ("/orv:X" and any "?orv:X" become "/X").
// Every caller has the four bytes at p to read; a fixed-size memcmp is one
// comparison of them.
inline bool is_prefix(const char* p) { return std::memcmp(p, "orv:", 4) == 0; }

// Returns the number of bytes the name lost (4 or 0).
int remove_prefix(char* buf, int n) {
    if (n >= 4 && is_prefix(buf)) {
        std::memmove(buf, buf + 4, static_cast<std::size_t>(n - 4) + 1);
        return 4;
    }
    if (n >= 5 && buf[0] != '\0' && is_prefix(buf + 1)) {
        buf[0] = '/';
        std::memmove(buf + 1, buf + 5, static_cast<std::size_t>(n - 5) + 1);
        return 4;
    }
    return 0;
}

}  // namespace

const char* s_cislo_radky() {
    if (text_line != cislo_radky) {
        std::snprintf(line_buf, sizeof line_buf, "%lld", cislo_radky);
        text_line = cislo_radky;
    }
    return line_buf;
}

// The namespace prefix at the start of a name, when the block shows it whole:
// "orv:" (4 bytes dropped) or one byte and "orv:" (5 bytes become "/"). Taken
// off while copying, so the name is never shifted; a prefix that the block
// cuts, or that follows a carriage return, is removed after the copy instead.
inline int prefix_in_block(char* buf) {
    if (len - pos < 5) return 0;
    const unsigned char* p = block + pos;
    const char* c = reinterpret_cast<const char*>(p);
    if (is_prefix(c)) return 4;
    if (!kNameStop[p[0]] && is_prefix(c + 1)) {
        buf[0] = '/';
        return 5;
    }
    return 0;
}

namespace {
bool read_short_tag(char* buf);
}

int dej_element(char* buf) {
    assert(sw_konec != 'A');  // the processing loop stops at the input's end
    if (read_short_tag(buf)) return 0;
    if (je_OTVZAV == 'N' && skip_past_open() < 0) return -1;
    je_OTVZAV = 'N';
    je_ZAVZAV = 'N';
    if (!byte_ready()) { buf[0] = '\0'; return -1; }
    int n = prefix_in_block(buf);  // bytes stored, the prefix's included
    pos += static_cast<std::size_t>(n);
    const int shift = n > 0 ? 4 : 0;
    int text_end = -1;  // first NUL, in stored bytes
    for (;;) {
        if (!byte_ready()) { buf[n - shift] = '\0'; return -1; }
        n = copy_until_stop(buf, n, shift, kNameStop);
        if (n == kPiece - 1) break;  // cut: the rest of the name stays in the input
        if (pos == len) continue;    // the block ended inside the name
        const unsigned char c = block[pos++];
        if (c == '\0') {
            if (text_end < 0) text_end = n;
            buf[n++ - shift] = '\0';
            continue;
        }
        if (c == '\r') continue;
        if (c == '\n') count_line();
        if (c == '>') je_ZAVZAV = 'A';
        break;
    }
    buf[n - shift] = '\0';
    const int removed = shift > 0 ? shift : remove_prefix(buf, n);
    element_name_length = (text_end >= 0 ? text_end : n) - removed;
    return 0;
}

int dej_zbytek_elementu(char* buf, char keep) {
    assert(sw_konec != 'A');  // the processing loop stops at the input's end
    if (je_ZAVZAV != 'N') return 0;
    je_OTVZAV = 'N';
    int n = 0;
    while (n < kPiece - 1) {
        const int c = next_byte();
        if (c < 0) { buf[n] = '\0'; return -1; }
        if (c == '\n') { count_line(); continue; }
        if (c == '\r') continue;
        if (c == ' ' && keep == 'A') continue;
        if (c == '>') {
            je_ZAVZAV = 'A';
            buf[n] = '\0';
            return n > 0 ? 2 : 0;
        }
        buf[n++] = static_cast<char>(c);
    }
    buf[n] = '\0';
    return 1;
}

int preskoc_zbytek_komentare() {
    assert(sw_konec != 'A');  // the processing loop stops at the input's end
    je_OTVZAV = 'N';
    char w[3] = {0, 0, 0};
    for (;;) {
        const int c = next_byte();
        if (c < 0) return -1;
        if (c == '\n') { count_line(); continue; }
        if (c == '\r') continue;
        w[0] = w[1];
        w[1] = w[2];
        w[2] = static_cast<char>(c);
        if (w[0] == '-' && w[1] == '-' && w[2] == '>') return 0;
    }
}

int dej_obsah(char* buf) {
    assert(sw_konec != 'A');  // the processing loop stops at the input's end
    if (je_ZAVZAV == 'N' && skip_past_close() < 0) return -1;
    je_OTVZAV = 'N';
    je_ZAVZAV = 'N';
    int n = 0;
    for (;;) {
        if (!byte_ready()) { buf[n] = '\0'; return -1; }
        n = copy_until_stop(buf, n, 0, kContentStop);
        if (n == kPiece - 1) {
            buf[n] = '\0';
            return 1;  // the rest of the content stays in the input
        }
        if (pos == len) continue;
        const unsigned char c = block[pos++];
        if (c == '\n') count_line();
        if (c == '<') {
            buf[n] = '\0';
            je_OTVZAV = 'A';
            return 0;
        }
    }
}

// ---- The common element in one pass ------------------------------------------
//
// Nearly every element of a submission stands on one line as
// <name>content</name>. When the whole of it, with what stands before its '<',
// lies in the current block and holds none of the bytes that make the piece
// readers do more than copy (a control byte or blank inside a tag, a control
// byte inside the content, a piece of 299 bytes), it is read here in one pass,
// with the very result of dej_element, dej_obsah and dej_element in turn:
// akt_elem the name, akt_obsah the content without its leading spaces,
// buf_element the end tag's name, the line feeds before the element counted,
// both flags as dej_element leaves them. Anything else is left to the piece
// readers, and so is a start tag of more than 15 bytes (no name of the
// employer and employee tables is that long) and an end tag that is not '/'
// and the start tag's text.
//
// The bytes are examined eight at a time, with plain integer arithmetic on
// 64-bit words, so every build (native or WebAssembly) runs the same code; it
// needs the little-endian byte order of all of them, and elsewhere the piece
// readers read every element. Measured with callgrind on a clean submission:
// about half the instructions the piece readers take for the same element.

namespace {

using Word = std::uint64_t;
constexpr Word kOnes = 0x0101010101010101u;
constexpr Word kHighBits = 0x8080808080808080u;
constexpr Word kLow7Bits = 0x7f7f7f7f7f7f7f7fu;
constexpr bool kByWords = std::endian::native == std::endian::little;

inline Word load_word(const unsigned char* p) {
    Word w;
    std::memcpy(&w, p, sizeof w);
    return w;
}

// The high bit of every byte of w that equals c, and no other bit.
inline Word bytes_equal(Word w, unsigned char c) {
    const Word x = w ^ (kOnes * c);
    return ~(((x & kLow7Bits) + kLow7Bits) | x | kLow7Bits);
}

// The scans need only the first byte of a kind in a word. These marks cost
// half as much: the first mark is sure, marks after it may be wrong (a borrow
// runs on into the next byte).
//
// Marks bytes of w below c (c at most 0x80).
inline Word marks_below(Word w, unsigned char c) { return (w - kOnes * c) & ~w & kHighBits; }

// Marks bytes of w that equal c.
inline Word marks_equal(Word w, unsigned char c) { return marks_below(w ^ (kOnes * c), 1); }

// Place of the first marked byte of a non-zero mark word.
inline std::size_t first_mark(Word m) { return static_cast<std::size_t>(std::countr_zero(m)) / 8; }

// Number of marked bytes.
inline LineNo count_marks(Word m) { return static_cast<LineNo>(((m >> 7) * kOnes) >> 56); }

// The first '<' at or after p before end, counting the line feeds passed on
// the way into lines; null when there is none.
inline const unsigned char* find_open(const unsigned char* p, const unsigned char* end,
                                      LineNo& lines) {
    for (; p < end; p += sizeof(Word)) {
        const Word w = load_word(p);
        const Word lt = marks_equal(w, '<');
        const Word lf = bytes_equal(w, '\n');  // every one counts: the sure marks
        if (lt != 0) {
            lines += count_marks(lf & ((lt & (~lt + 1)) - 1));  // line feeds before the '<'
            p += first_mark(lt);
            return p < end ? p : nullptr;
        }
        lines += count_marks(lf);
    }
    return nullptr;
}

// The first byte of the n at p (n a multiple of 8, at most 32) that is a
// control byte, a blank or '>', or p + n: a tag name of the one pass ends
// there. The n bytes may be read (the block's slack).
inline const unsigned char* find_name_end(const unsigned char* p, std::size_t n) {
    for (const unsigned char* q = p; q < p + n; q += sizeof(Word)) {
        const Word w = load_word(q);
        const Word m = marks_below(w, 0x21) | marks_equal(w, '>');
        if (m != 0) return q + first_mark(m);
    }
    return p + n;
}

// The first byte at or after p below 0x0E (NUL, tab, line feed, carriage
// return...) or '<': a content of the one pass ends there, and only a '<' lets
// the pass go on.
inline const unsigned char* find_content_end(const unsigned char* p) {
    for (;; p += sizeof(Word)) {
        const Word w = load_word(p);
        const Word m = marks_below(w, 0x0E) | marks_equal(w, '<');
        if (m != 0) return p + first_mark(m);
    }
}

// The content [src, src + n) into akt_obsah, terminated. A short content
// moves as one fixed-size run: a few instructions instead of a call.
inline void copy_content(const unsigned char* src, std::size_t n) {
    if (n <= kCopyRun)
        std::memcpy(akt_obsah, src, kCopyRun);
    else
        std::memcpy(akt_obsah, src, n);
    akt_obsah[n] = '\0';
}

// Whether the n bytes at a and at b are the same, n at most 16: two words
// each, the bytes past n masked off. Both may be read 16 bytes far (the
// block's slack keeps that in bounds).
inline bool same_16(const unsigned char* a, const unsigned char* b, std::size_t n) {
    const Word x0 = load_word(a) ^ load_word(b);
    const Word x1 = load_word(a + 8) ^ load_word(b + 8);
    if (n <= 8) return (x0 & (~Word{0} >> (64 - 8 * n))) == 0;
    return x0 == 0 && (x1 & (~Word{0} >> (128 - 8 * n))) == 0;
}

inline bool same_bytes(const unsigned char* a, std::size_t n, std::string_view b) {
    return n == b.size() && std::memcmp(a, b.data(), n) == 0;
}

}  // namespace

bool read_whole_element(std::string_view structural1, std::string_view structural2,
                        ElementLengths& lengths) {
    if constexpr (!kByWords) return false;
    assert(sw_konec != 'A');  // the element step stops at the input's end
    // Called between elements: every reader but dej_obsah leaves the next
    // '<' unread, and the element step reads an end tag after every content.
    assert(je_OTVZAV == 'N');
    if (pos >= len) return false;
    const unsigned char* const end = block + len;
    LineNo lines = 0;
    const unsigned char* open = find_open(block + pos, end, lines);
    if (open == nullptr) return false;

    // The start tag's text (raw) of at most 15 bytes, the name without "orv:"
    // in front. A prefix after one byte (the name would become '/' and the
    // rest) is left to the piece readers. A prefix seen whole lies before the
    // NUL after the block's data.
    const unsigned char* raw = open + 1;
    const unsigned char* name = is_prefix(reinterpret_cast<const char*>(raw)) ? raw + 4 : raw;
    if (name == raw && is_prefix(reinterpret_cast<const char*>(raw + 1))) return false;
    // The scans stop at the NUL after the block's data at the latest: a '>'
    // or '<' they stop at is data.
    const unsigned char* name_end = find_name_end(name, kShortName);
    const std::size_t raw_n = static_cast<std::size_t>(name_end - raw) + 1;  // with its '>'
    if (*name_end != '>' || raw_n > kShortName) return false;
    assert(name_end < end);
    const std::size_t n = static_cast<std::size_t>(name_end - name);
    const unsigned char* content = name_end + 1;
    const unsigned char* content_end = find_content_end(content);
    if (*content_end != '<' || content_end - content >= kPiece - 1) return false;
    assert(content_end < end);
    // The end tag must be '/' and the start tag's text with its '>': one
    // comparison. The compared bytes hold no NUL, so they lie before the NUL
    // after the block's data.
    const unsigned char* tag = content_end + 1;
    if (*tag != '/' || !same_16(tag + 1, raw, raw_n)) return false;

    // The element step reads these otherwise: a structural tag of the
    // section, a comment, an empty-element tag.
    if (same_bytes(name, n, structural1) || same_bytes(name, n, structural2) || same_bytes(name, n, "!--") ||
        (n > 0 && name[n - 1] == '/'))
        return false;

    // The texts, short ones each by one fixed-size move (the block's slack
    // keeps the reads in bounds, the buffers are far longer than the moves).
    // The end tag's name is '/' and the name: the byte before the name
    // becomes the '/'.
    std::memcpy(akt_elem, name, kShortName);
    akt_elem[n] = '\0';
    std::memcpy(buf_element, name - 1, kShortName);
    buf_element[0] = '/';
    buf_element[n + 1] = '\0';
    while (*content == ' ') ++content;
    lengths.name = n;
    lengths.content = static_cast<std::size_t>(content_end - content);
    lengths.end_tag = n + 1;
    copy_content(content, lengths.content);

    cislo_radky += lines;
    pos = static_cast<std::size_t>(tag + raw_n + 1 - block);
    je_ZAVZAV = 'A';  // je_OTVZAV stays 'N', as it came
    return true;
}

namespace {

// A tag name of at most 31 bytes in the current block, ended by '>', a blank
// or a line feed, read as dej_element reads it (the structural tags, and the
// names of elements the one pass leaves to the piece readers). False, having
// read nothing, for anything else.
bool read_short_tag(char* buf) {
    if constexpr (!kByWords) return false;
    if (pos >= len) return false;
    const unsigned char* const end = block + len;
    LineNo lines = 0;
    const unsigned char* raw = block + pos;
    if (je_OTVZAV == 'N') {
        const unsigned char* open = find_open(raw, end, lines);
        if (open == nullptr) return false;
        raw = open + 1;
    }
    const unsigned char* stop = find_name_end(raw, kCopyRun);
    const std::size_t m = static_cast<std::size_t>(stop - raw);
    if (stop >= end || m >= kCopyRun || (*stop != '>' && *stop != ' ' && *stop != '\n'))
        return false;
    const char* t = reinterpret_cast<const char*>(raw);
    std::size_t n = m;  // the name stored
    if (m >= 4 && is_prefix(t)) {
        n = m - 4;
        std::memcpy(buf, t + 4, n);
    } else if (m >= 5 && is_prefix(t + 1)) {
        n = m - 4;
        buf[0] = '/';
        std::memcpy(buf + 1, t + 5, n - 1);
    } else {
        std::memcpy(buf, t, n);
    }
    buf[n] = '\0';
    element_name_length = static_cast<int>(n);
    je_OTVZAV = 'N';
    je_ZAVZAV = *stop == '>' ? 'A' : 'N';
    cislo_radky += lines + (*stop == '\n' ? 1 : 0);
    pos = static_cast<std::size_t>(stop + 1 - block);
    return true;
}

}  // namespace

void set_reader_hooks(const ReaderHooks& hooks_of_run) {
    assert(hooks_of_run.end_of_file != nullptr && hooks_of_run.read_error != nullptr);
    hooks = hooks_of_run;
}

void open_input(std::FILE* f) {
    // The reader fills its own block: a stdio buffer besides it would only
    // copy every byte once more, and in the web build cost a browser read of
    // its own for every block.
    std::setvbuf(f, nullptr, _IONBF, 0);
    insoub = f;
    pos = 0;
    len = 0;
}

void close_input() {
    if (insoub != nullptr) std::fclose(insoub);
    insoub = nullptr;
}

void reset_reader() {
    hooks = ReaderHooks{end_input, fail_input};
    element_name_length = 0;
    close_input();
    pos = 0;
    len = 0;
    block[0] = '\0';
    cislo_radky = 1;
    text_line = -1;
    je_OTVZAV = 'N';
    je_ZAVZAV = 'N';
    sw_konec = 'N';
    bytes_read = 0;
    buf_element[0] = akt_elem[0] = akt_obsah[0] = '\0';
}

}  // namespace quelt
