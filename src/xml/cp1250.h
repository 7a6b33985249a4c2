// Windows-1250 texts written in UTF-8 sources.
//
// Every text the checker writes (messages, catalogue, report markup) is
// Windows-1250, while the sources stay UTF-8 whatever compiler builds them.
// The literal operator "..."_cp converts a UTF-8 string literal to its
// Windows-1250 bytes at compile time; a character that Windows-1250 cannot
// hold stops the build.
#pragma once

#include <array>
#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>

namespace quelt {

// Unicode code point -> Windows-1250 byte, for every code point above 0x7F
// that the code page holds, ascending by code point.
struct Cp1250Pair {
    char32_t cp;
    unsigned char byte;
};
inline constexpr Cp1250Pair kCp1250Upper[] = {
    {0x00A0, 0xA0}, {0x00A4, 0xA4}, {0x00A6, 0xA6}, {0x00A7, 0xA7}, {0x00A8, 0xA8}, {0x00A9, 0xA9},
    {0x00AB, 0xAB}, {0x00AC, 0xAC}, {0x00AD, 0xAD}, {0x00AE, 0xAE}, {0x00B0, 0xB0}, {0x00B1, 0xB1},
    {0x00B4, 0xB4}, {0x00B5, 0xB5}, {0x00B6, 0xB6}, {0x00B7, 0xB7}, {0x00B8, 0xB8}, {0x00BB, 0xBB},
    {0x00C1, 0xC1}, {0x00C2, 0xC2}, {0x00C4, 0xC4}, {0x00C7, 0xC7}, {0x00C9, 0xC9}, {0x00CB, 0xCB},
    {0x00CD, 0xCD}, {0x00CE, 0xCE}, {0x00D3, 0xD3}, {0x00D4, 0xD4}, {0x00D6, 0xD6}, {0x00D7, 0xD7},
    {0x00DA, 0xDA}, {0x00DC, 0xDC}, {0x00DD, 0xDD}, {0x00DF, 0xDF}, {0x00E1, 0xE1}, {0x00E2, 0xE2},
    {0x00E4, 0xE4}, {0x00E7, 0xE7}, {0x00E9, 0xE9}, {0x00EB, 0xEB}, {0x00ED, 0xED}, {0x00EE, 0xEE},
    {0x00F3, 0xF3}, {0x00F4, 0xF4}, {0x00F6, 0xF6}, {0x00F7, 0xF7}, {0x00FA, 0xFA}, {0x00FC, 0xFC},
    {0x00FD, 0xFD}, {0x0102, 0xC3}, {0x0103, 0xE3}, {0x0104, 0xA5}, {0x0105, 0xB9}, {0x0106, 0xC6},
    {0x0107, 0xE6}, {0x010C, 0xC8}, {0x010D, 0xE8}, {0x010E, 0xCF}, {0x010F, 0xEF}, {0x0110, 0xD0},
    {0x0111, 0xF0}, {0x0118, 0xCA}, {0x0119, 0xEA}, {0x011A, 0xCC}, {0x011B, 0xEC}, {0x0139, 0xC5},
    {0x013A, 0xE5}, {0x013D, 0xBC}, {0x013E, 0xBE}, {0x0141, 0xA3}, {0x0142, 0xB3}, {0x0143, 0xD1},
    {0x0144, 0xF1}, {0x0147, 0xD2}, {0x0148, 0xF2}, {0x0150, 0xD5}, {0x0151, 0xF5}, {0x0154, 0xC0},
    {0x0155, 0xE0}, {0x0158, 0xD8}, {0x0159, 0xF8}, {0x015A, 0x8C}, {0x015B, 0x9C}, {0x015E, 0xAA},
    {0x015F, 0xBA}, {0x0160, 0x8A}, {0x0161, 0x9A}, {0x0162, 0xDE}, {0x0163, 0xFE}, {0x0164, 0x8D},
    {0x0165, 0x9D}, {0x016E, 0xD9}, {0x016F, 0xF9}, {0x0170, 0xDB}, {0x0171, 0xFB}, {0x0179, 0x8F},
    {0x017A, 0x9F}, {0x017B, 0xAF}, {0x017C, 0xBF}, {0x017D, 0x8E}, {0x017E, 0x9E}, {0x02C7, 0xA1},
    {0x02D8, 0xA2}, {0x02D9, 0xFF}, {0x02DB, 0xB2}, {0x02DD, 0xBD}, {0x2013, 0x96}, {0x2014, 0x97},
    {0x2018, 0x91}, {0x2019, 0x92}, {0x201A, 0x82}, {0x201C, 0x93}, {0x201D, 0x94}, {0x201E, 0x84},
    {0x2020, 0x86}, {0x2021, 0x87}, {0x2022, 0x95}, {0x2026, 0x85}, {0x2030, 0x89}, {0x2039, 0x8B},
    {0x203A, 0x9B}, {0x20AC, 0x80}, {0x2122, 0x99},
};

// The Windows-1250 byte of a code point above 0x7F, or 0 when the code page
// has none (a binary search of the table above).
constexpr unsigned char cp1250_byte(char32_t cp) {
    std::size_t lo = 0, hi = std::size(kCp1250Upper);
    while (lo < hi) {
        const std::size_t mid = (lo + hi) / 2;
        if (kCp1250Upper[mid].cp == cp) return kCp1250Upper[mid].byte;
        if (kCp1250Upper[mid].cp < cp) lo = mid + 1;
        else hi = mid;
    }
    return 0;
}

// The code point of a Windows-1250 byte; 0 for the five bytes the code page
// leaves undefined.
constexpr char32_t cp1250_code_point(unsigned char byte) {
    if (byte < 0x80) return byte;
    for (const Cp1250Pair& pair : kCp1250Upper)
        if (pair.byte == byte) return pair.cp;
    return 0;
}

// What next_code_point gives for a byte that starts no well-formed UTF-8
// sequence: no code point at all.
inline constexpr char32_t kNotUtf8 = 0x110000;

// The code point of the UTF-8 sequence at s[i], and i past it. A byte that
// starts no well-formed sequence (0x80 to 0xC1 and 0xF5 to 0xFF lead none; an
// overlong form, a surrogate or a sequence cut short is none either) gives
// kNotUtf8 and i past that one byte.
inline char32_t next_code_point(std::string_view s, std::size_t& i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    const std::size_t len = b0 < 0x80 ? 1 : b0 >= 0xF5 ? 0 : b0 >= 0xF0 ? 4 : b0 >= 0xE0 ? 3 : b0 >= 0xC2 ? 2 : 0;
    if (len == 0 || i + len > s.size()) {
        ++i;
        return kNotUtf8;
    }
    char32_t cp = len == 1 ? b0 : len == 2 ? b0 & 0x1F : len == 3 ? b0 & 0x0F : b0 & 0x07;
    for (std::size_t k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) {
            ++i;
            return kNotUtf8;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    if ((len == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
        (len == 4 && (cp < 0x10000 || cp > 0x10FFFF))) {
        ++i;
        return kNotUtf8;
    }
    i += len;
    return cp;
}

// Appends the UTF-8 form of a code point of the Basic Multilingual Plane.
inline void append_utf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// A UTF-8 text read at run time (a file name) in Windows-1250. A character
// the code page cannot hold, and each byte that starts no well-formed UTF-8
// sequence, becomes '?'. Returns false when any did.
inline bool utf8_to_cp1250(std::string_view utf8, std::string& out) {
    out.clear();
    bool whole = true;
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t cp = next_code_point(utf8, i);
        const unsigned char byte = cp < 0x80 ? static_cast<unsigned char>(cp)
                                   : cp == kNotUtf8 ? 0
                                                    : cp1250_byte(cp);
        out += byte != 0 || cp == 0 ? static_cast<char>(byte) : '?';
        whole = whole && (byte != 0 || cp == 0);
    }
    return whole;
}

// The same, for a caller that needs only the text.
inline std::string cp1250_from_utf8(std::string_view utf8) {
    std::string out;
    utf8_to_cp1250(utf8, out);
    return out;
}

// A Windows-1250 text in UTF-8; a byte the code page leaves undefined becomes
// U+FFFD.
inline std::string utf8_from_cp1250(std::string_view cp1250) {
    std::string out;
    for (const char c : cp1250) {
        const char32_t cp = cp1250_code_point(static_cast<unsigned char>(c));
        append_utf8(out, cp == 0 && c != '\0' ? 0xFFFD : cp);
    }
    return out;
}

// A string literal as a template argument.
template <std::size_t N>
struct Utf8Literal {
    char s[N]{};
    constexpr Utf8Literal(const char (&a)[N]) {
        for (std::size_t i = 0; i < N; ++i) s[i] = a[i];
    }
};

namespace cp1250_detail {

consteval unsigned char byte_for(char32_t cp) {
    if (cp < 0x80) return static_cast<unsigned char>(cp);
    for (const auto& p : kCp1250Upper)
        if (p.cp == cp) return p.byte;
    throw "character not in Windows-1250";
}

// Decodes one UTF-8 sequence starting at s[i]; advances i.
template <std::size_t N>
consteval char32_t decode(const char (&s)[N], std::size_t& i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    auto cont = [&](std::size_t k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) throw "malformed UTF-8";
        return static_cast<char32_t>(b & 0x3F);
    };
    char32_t cp;
    if (b0 < 0x80) { cp = b0; i += 1; }
    else if ((b0 & 0xE0) == 0xC0) { cp = ((b0 & 0x1F) << 6) | cont(1); i += 2; }
    else if ((b0 & 0xF0) == 0xE0) { cp = ((b0 & 0x0F) << 12) | (cont(1) << 6) | cont(2); i += 3; }
    else throw "UTF-8 sequence outside the code page";
    return cp;
}

template <Utf8Literal S>
consteval std::size_t encoded_length() {
    std::size_t n = 0;
    for (std::size_t i = 0; i + 1 < sizeof(S.s);) {
        decode(S.s, i);
        ++n;
    }
    return n;
}

template <Utf8Literal S>
consteval std::array<char, encoded_length<S>() + 1> encode() {
    std::array<char, encoded_length<S>() + 1> out{};
    std::size_t n = 0;
    for (std::size_t i = 0; i + 1 < sizeof(S.s);)
        out[n++] = static_cast<char>(byte_for(decode(S.s, i)));
    out[n] = '\0';
    return out;
}

template <Utf8Literal S>
inline constexpr auto kEncoded = encode<S>();

}  // namespace cp1250_detail

// "Chybná hodnota"_cp: the Windows-1250 bytes, NUL-terminated.
template <Utf8Literal S>
constexpr const char* operator""_cp() {
    return cp1250_detail::kEncoded<S>.data();
}

// Joins NUL-terminated character arrays at compile time, for texts that are
// built from shared constants (the namespace address, for one).
template <std::size_t... N>
consteval std::array<char, (N + ...) - sizeof...(N) + 1> concat(const std::array<char, N>&... parts) {
    std::array<char, (N + ...) - sizeof...(N) + 1> out{};
    std::size_t n = 0;
    auto append = [&](const auto& part) {
        for (std::size_t i = 0; i + 1 < part.size(); ++i) out[n++] = part[i];
    };
    (append(parts), ...);
    out[n] = '\0';
    return out;
}

// The Windows-1250 bytes of a UTF-8 literal as an array, for concat().
template <Utf8Literal S>
consteval auto cp_array() {
    return cp1250_detail::kEncoded<S>;
}

}  // namespace quelt
