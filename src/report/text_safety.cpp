// The text safety of every output (text_safety.h).
#include "src/report/text_safety.h"

#include <cstring>

namespace quelt {

namespace {

// Length of the entity or character reference that starts at s ('&'), or 0:
// a name, or "&#" and decimal digits or "&#x" and hexadecimal ones, then ';'.
std::size_t reference_length(std::string_view s) {
    for (std::string_view name : {"&amp;", "&lt;", "&gt;", "&quot;", "&apos;"})
        if (s.starts_with(name)) return name.size();
    if (!s.starts_with("&#")) return 0;
    const bool hex = s.starts_with("&#x");
    const std::size_t first = hex ? 3 : 2;
    const std::size_t end = s.find_first_not_of(hex ? "0123456789abcdefABCDEF" : "0123456789", first);
    if (end == first || end == std::string_view::npos || s[end] != ';') return 0;
    return end + 1;
}

// A number as a spreadsheet reads one: a sign, digits, and a decimal point
// or comma with more digits.
bool is_number(std::string_view s) {
    const std::size_t i = !s.empty() && (s[0] == '+' || s[0] == '-') ? 1 : 0;
    if (i == s.size()) return false;
    const std::size_t digits = s.find_first_not_of("0123456789", i);
    if (digits == i) return false;
    if (digits == std::string_view::npos) return true;
    if (s[digits] != '.' && s[digits] != ',') return false;
    const std::size_t rest = digits + 1;
    return rest < s.size() && s.find_first_not_of("0123456789", rest) == std::string_view::npos;
}

bool starts_formula(std::string_view s) {
    return !s.empty() && std::string_view("=+-@\t\r").find(s[0]) != std::string_view::npos &&
           !is_number(s);
}

// In double quotes, each '"' doubled.
std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

}  // namespace

const char* escape_markup(const char* text, std::string& out) {
    if (std::strpbrk(text, "<&") == nullptr) return text;
    out.clear();
    const std::string_view s(text);
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '<') {
            out += "&lt;";
        } else if (s[i] == '&') {
            const std::size_t n = reference_length(s.substr(i));
            if (n == 0) {
                out += "&amp;";
            } else {
                out.append(s.substr(i, n));
                i += n - 1;
            }
        } else {
            out += s[i];
        }
    }
    return out.c_str();
}

const char* escape_report_field(const char* text, std::string& out) {
    if (std::strpbrk(text, ";\"") == nullptr) return text;
    out = quoted(text);
    return out.c_str();
}

std::string escape_html(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '&': out += "&amp;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string summary_csv_field(std::string_view text) {
    std::string field(starts_formula(text) ? "'" : "");
    field.append(text);
    if (field.find_first_of(";\"\r\n") == std::string::npos) return field;
    return quoted(field);
}

std::string relative_link(std::string_view name) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (char c : name) {
        const auto b = static_cast<unsigned char>(c);
        if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') ||
            c == '-' || c == '.' || c == '_' || c == '~') {
            out += c;
        } else {
            out += '%';
            out += kHex[b >> 4];
            out += kHex[b & 0x0F];
        }
    }
    return out;
}

}  // namespace quelt
