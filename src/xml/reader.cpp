// Element reader: the four piece readers, line counting and the input buffer.
//
// The input is read through a buffer of our own, so reading costs no call per
// byte; when the buffer runs dry the next block is read, and at the real end
// of a file the run decides (konec_vstupu) whether the next file of a list
// goes on as one stream. A byte of value 255 is data like any other.
#include "src/xml/reader.h"

#include <array>
#include <cstring>
#include <string_view>

#include "src/run/run.h"

namespace quelt {

LineNo cislo_radky = 1;
char je_OTVZAV = 'N';
char je_ZAVZAV = 'N';
char buf_element[kPiece];
char akt_elem[kPiece];
char akt_obsah[kPiece];
char sw_konec = 'N';
int delka_elementu = 0;
void (*pri_nacteni)(long long) = nullptr;

namespace {

// The input is read in blocks of this size. The web edition reads through the
// browser's file objects, where every read is a round trip to the browser, so
// it reads far fewer, larger blocks: 246 MB took 7.6 s to read in 64 KB
// blocks, 1.6 s in 4 MB and 0.9 s in 16 MB blocks (headless Chromium 156).
#ifdef __EMSCRIPTEN__
constexpr std::size_t kBlock = 16 << 20;
#else
constexpr std::size_t kBlock = 1 << 16;
#endif

std::FILE* insoub = nullptr;
unsigned char block[kBlock];
std::size_t pos = 0;
std::size_t len = 0;
long long precteno = 0;  // bytes read so far, over all files of the run

LineNo text_line = -1;  // the line whose text s_cislo_radky holds
char line_buf[24];

// Reads the next block; at the end of a file asks for the next one. Returns
// the next byte, or -1 when the input has ended for good.
int refill() {
    while (sw_konec != 'A') {
        if (insoub != nullptr) {
            len = std::fread(block, 1, kBlock, insoub);
            pos = 0;
            if (len > 0) {
                precteno += static_cast<long long>(len);
                if (pri_nacteni != nullptr) pri_nacteni(precteno);
                return block[pos++];
            }
            if (std::ferror(insoub)) {
                chyba_cteni();
                return -1;
            }
        }
        if (konec_vstupu() != 0) return -1;
    }
    return -1;
}

inline int znak() { return pos < len ? block[pos++] : refill(); }

// Makes sure an unread byte stands at block[pos]; false at the end of the input.
inline bool dalsi_k_dispozici() {
    if (pos < len) return true;
    if (refill() < 0) return false;
    --pos;  // refill consumed the first byte of the new block: put it back
    return true;
}

inline void novy_radek() { ++cislo_radky; }

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
inline int kopiruj_po_zarazku(char* buf, int n, int shift, const std::array<bool, 256>& stops) {
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
int preskoc_za_otviraci() {
    for (;;) {
        if (!dalsi_k_dispozici()) return -1;
        const unsigned char* start = block + pos;
        const unsigned char* end = block + len;
        const void* hit = std::memchr(start, '<', static_cast<std::size_t>(end - start));
        const unsigned char* stop = hit ? static_cast<const unsigned char*>(hit) : end;
        for (const unsigned char* p = start; p < stop; ++p)
            if (*p == '\n') novy_radek();
        pos = static_cast<std::size_t>(stop - block);
        if (hit) {
            ++pos;
            return 0;
        }
    }
}

// Skips up to and including the next '>', counting line feeds.
int preskoc_za_zaviraci() {
    for (;;) {
        const int c = znak();
        if (c < 0) return -1;
        if (c == '>') return 0;
        if (c == '\n') novy_radek();
    }
}

// Removes the namespace prefix "orv:" at the start of a name or after its
// first character ("/orv:X" and any "?orv:X" become "/X").
inline bool je_prefix(const char* p) { return p[0] == 'o' && p[1] == 'r' && p[2] == 'v' && p[3] == ':'; }

// Returns the number of bytes the name lost (4 or 0).
int odstran_prefix(char* buf, int n) {
    if (n >= 4 && je_prefix(buf)) {
        std::memmove(buf, buf + 4, static_cast<std::size_t>(n - 4) + 1);
        return 4;
    }
    if (n >= 5 && buf[0] != '\0' && je_prefix(buf + 1)) {
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
inline int prefix_v_bloku(char* buf) {
    if (len - pos < 5) return 0;
    const unsigned char* p = block + pos;
    const char* c = reinterpret_cast<const char*>(p);
    if (je_prefix(c)) return 4;
    if (!kNameStop[p[0]] && je_prefix(c + 1)) {
        buf[0] = '/';
        return 5;
    }
    return 0;
}

int dej_element(char* buf) {
    if (sw_konec == 'A') return -1;
    if (je_OTVZAV == 'N' && preskoc_za_otviraci() < 0) return -1;
    je_OTVZAV = 'N';
    je_ZAVZAV = 'N';
    if (!dalsi_k_dispozici()) { buf[0] = '\0'; return -1; }
    int n = prefix_v_bloku(buf);  // bytes stored, the prefix's included
    pos += static_cast<std::size_t>(n);
    const int shift = n > 0 ? 4 : 0;
    int text_end = -1;  // first NUL, in stored bytes
    for (;;) {
        if (!dalsi_k_dispozici()) { buf[n - shift] = '\0'; return -1; }
        n = kopiruj_po_zarazku(buf, n, shift, kNameStop);
        if (n == kPiece - 1) break;  // cut: the rest of the name stays in the input
        if (pos == len) continue;    // the block ended inside the name
        const unsigned char c = block[pos++];
        if (c == '\0') {
            if (text_end < 0) text_end = n;
            buf[n++ - shift] = '\0';
            continue;
        }
        if (c == '\r') continue;
        if (c == '\n') novy_radek();
        if (c == '>') je_ZAVZAV = 'A';
        break;
    }
    buf[n - shift] = '\0';
    const int removed = shift > 0 ? shift : odstran_prefix(buf, n);
    delka_elementu = (text_end >= 0 ? text_end : n) - removed;
    return 0;
}

int dej_zbytek_elementu(char* buf, char keep) {
    if (sw_konec == 'A') return -1;
    if (je_ZAVZAV != 'N') return 0;
    je_OTVZAV = 'N';
    int n = 0;
    while (n < kPiece - 1) {
        const int c = znak();
        if (c < 0) { buf[n] = '\0'; return -1; }
        if (c == '\n') { novy_radek(); continue; }
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
    if (sw_konec == 'A') return -1;
    je_OTVZAV = 'N';
    char w[3] = {0, 0, 0};
    for (;;) {
        const int c = znak();
        if (c < 0) return -1;
        if (c == '\n') { novy_radek(); continue; }
        if (c == '\r') continue;
        w[0] = w[1];
        w[1] = w[2];
        w[2] = static_cast<char>(c);
        if (w[0] == '-' && w[1] == '-' && w[2] == '>') return 0;
    }
}

int dej_obsah(char* buf) {
    if (sw_konec == 'A') return -1;
    if (je_ZAVZAV == 'N' && preskoc_za_zaviraci() < 0) return -1;
    je_OTVZAV = 'N';
    je_ZAVZAV = 'N';
    int n = 0;
    for (;;) {
        if (!dalsi_k_dispozici()) { buf[n] = '\0'; return -1; }
        n = kopiruj_po_zarazku(buf, n, 0, kContentStop);
        if (n == kPiece - 1) {
            buf[n] = '\0';
            return 1;  // the rest of the content stays in the input
        }
        if (pos == len) continue;
        const unsigned char c = block[pos++];
        if (c == '\n') novy_radek();
        if (c == '<') {
            buf[n] = '\0';
            je_OTVZAV = 'A';
            return 0;
        }
    }
}

int zpracuj_prvni() {
    if (dej_zbytek_elementu(buf_element, 'N') < 0) {
        rezim_zprac = 'W';
        return -1;
    }
    if (sw_vystup == 'A') std::fprintf(outsoub, "<%s %s>\n", akt_elem, buf_element);
    return 0;
}

int zpracuj_koment() { return 0; }

void otevri_vstup(std::FILE* f) {
    // The reader fills its own block: a stdio buffer besides it would only
    // copy every byte once more, and in the web build cost a browser read of
    // its own for every block.
    std::setvbuf(f, nullptr, _IONBF, 0);
    insoub = f;
    pos = 0;
    len = 0;
}

void zavri_vstup() {
    if (insoub != nullptr) std::fclose(insoub);
    insoub = nullptr;
}

void reset_reader() {
    delka_elementu = 0;
    zavri_vstup();
    pos = 0;
    len = 0;
    cislo_radky = 1;
    text_line = -1;
    je_OTVZAV = 'N';
    je_ZAVZAV = 'N';
    sw_konec = 'N';
    precteno = 0;
    buf_element[0] = akt_elem[0] = akt_obsah[0] = '\0';
}

}  // namespace quelt
