// The names the batch builds (naming.h).
#include "src/batch/naming.h"

#include <algorithm>
#include <iterator>

#include "src/batch/summary.h"
#include "src/report/report.h"
#include "src/run/file_guard.h"
#include "src/xml/cp1250.h"

namespace quelt::batch {

namespace {

struct UpperCase {
    char32_t lower;
    char32_t upper;
};
constexpr UpperCase kUpperCase[] = {
#include "src/batch/upper_case.inc"
};

char32_t upper_case(char32_t c) {
    const auto* row = std::lower_bound(std::begin(kUpperCase), std::end(kUpperCase), c,
                                       [](const UpperCase& u, char32_t v) { return u.lower < v; });
    return row != std::end(kUpperCase) && row->lower == c ? row->upper : c;
}

// The code points of a UTF-8 name; false when it is not UTF-8.
bool utf8_code_points(std::string_view s, std::u32string& out) {
    for (std::size_t i = 0; i < s.size();) {
        const char32_t c = next_code_point(s, i);
        if (c == kNotUtf8) return false;
        out += c;
    }
    return true;
}

// A byte the code page leaves undefined keeps a unit of its own.
char32_t cp1250_unit(unsigned char byte) {
    const char32_t cp = cp1250_code_point(byte);
    return cp == 0 && byte != 0 ? 0xDC00 + byte : cp;
}

bool separator(char c, bool windows) { return c == '/' || (windows && c == '\\'); }

// The length of "\\server\share\" from the server's name on.
std::size_t share_root(const std::string& p, std::size_t server) {
    std::size_t i = server;
    for (int part = 0; part < 2; ++part) {
        while (i < p.size() && !separator(p[i], true)) ++i;
        if (i == p.size()) return i;
        ++i;
    }
    return i;
}

std::size_t drive_root(const std::string& p, std::size_t at) {
    if (p.size() < at + 2 || p[at + 1] != ':') return at;
    return p.size() > at + 2 && separator(p[at + 2], true) ? at + 3 : at + 2;
}

std::size_t windows_root(const std::string& p) {
    const bool two = p.size() >= 2 && separator(p[0], true) && separator(p[1], true);
    if (!two) return separator(p[0], true) ? 1 : drive_root(p, 0);
    const bool device = p.size() >= 4 && (p[2] == '?' || p[2] == '.') && separator(p[3], true);
    if (!device) return share_root(p, 2);
    if (p.compare(4, 4, "UNC\\") == 0 || p.compare(4, 4, "UNC/") == 0) return share_root(p, 8);
    return drive_root(p, 4);
}

// A report holding only a failed run's message: every line begins with a
// blank and the last says that the program ended.
bool message_only(std::string_view head) {
    const std::string_view end = head.ends_with("\r\n") ? " Program ukoncen\r\n" : " Program ukoncen\n";
    if (!head.ends_with(end) || head[0] != ' ') return false;
    for (std::size_t i = head.find('\n'); i + 1 < head.size(); i = head.find('\n', i + 1))
        if (head[i + 1] != ' ') return false;
    return true;
}

bool report_head(std::string_view head) {
    if (head.starts_with("<html>")) return head.substr(0, 512).find(kReportTitle) != head.npos;
    const std::string_view csv = kCsvReportHead;
    const std::string_view after_csv = head.starts_with(csv) ? head.substr(csv.size()) : "";
    return (head.starts_with(' ') && head.substr(1).starts_with(kDateLabel)) ||
           after_csv.starts_with("\n") ||
           after_csv.starts_with("\r\n") || first_element_name(head) == "ORV_chyby" ||
           message_only(head);
}

bool summary_head(std::string_view head) {
    if (head.starts_with("<!DOCTYPE html>"))
        return head.substr(0, 1024).find(kSummaryTitle.data()) != head.npos;
    return head.starts_with("Soubor;IČO předkladatele;"_cp) ||
           head.starts_with("Soubor;Chyby E;Varování W;"_cp);
}

}  // namespace

std::string join_path(const std::string& folder, const std::string& name, bool windows) {
    if (folder.empty()) return name;
    const char last = folder.back();
    if (separator(last, windows) || (windows && last == ':' && folder.size() == 2)) return folder + name;
    return folder + (windows ? '\\' : '/') + name;
}

std::string base_name(const std::string& path, bool windows) {
    std::size_t i = path.size();
    while (i > 0 && !separator(path[i - 1], windows) && !(windows && path[i - 1] == ':')) --i;
    return path.substr(i);
}

std::size_t root_length(const std::string& path, bool windows) {
    if (path.empty()) return 0;
    if (windows) return windows_root(path);
    std::size_t i = 0;
    while (i < path.size() && path[i] == '/') ++i;
    return i;
}

std::string report_stem(const std::string& input, bool windows) {
    std::string stem = base_name(input, windows);
    const std::size_t dot = stem.rfind('.');
    if (dot != std::string::npos && dot > 0) stem.resize(dot);
    if (stem.empty() || stem == "." || stem == "..") stem = "soubor";
    return stem;
}

bool has_xml_extension(std::string_view name) {
    if (name.size() < 4 || name[name.size() - 4] != '.') return false;
    const std::u32string key = case_key(name.substr(name.size() - 3));
    return key == U"XML";
}

bool is_utf8(std::string_view text) {
    std::u32string ignored;
    return utf8_code_points(text, ignored);
}

std::u32string case_key(std::string_view name) {
    std::u32string key;
    if (!utf8_code_points(name, key)) {
        // Not UTF-8: the bytes of Windows-1250, as the program's texts are.
        key.clear();
        for (char c : name) key += cp1250_unit(static_cast<unsigned char>(c));
    }
    for (char32_t& c : key) c = upper_case(c);
    return key;
}

BatchOutput batch_output_of(std::string_view head) {
    if (head.empty()) return BatchOutput::none;
    if (summary_head(head)) return BatchOutput::summary;
    return report_head(head) ? BatchOutput::report : BatchOutput::none;
}

}  // namespace quelt::batch
