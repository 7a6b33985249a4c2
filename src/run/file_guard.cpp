// The guard of the given files: which names are one file (by their identity,
// src/os/files.h) and whether a file's start is that of an ORV submission.
#include "src/run/file_guard.h"

#include "src/os/files.h"

namespace quelt {

namespace {

// ---- The start of a submission ----
// A cursor over the head; every step either moves past one piece of the
// prolog or says that the head ended before the piece did.

bool bily(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool zacina(std::string_view s, std::size_t at, std::string_view what) {
    return s.substr(at).starts_with(what);
}

// Position just past the first `end` at or after at, or npos.
std::size_t za(std::string_view s, std::size_t at, std::string_view end) {
    const std::size_t found = s.find(end, at);
    return found == std::string_view::npos ? found : found + end.size();
}

// Position just past a DOCTYPE that starts at at: its '>' outside quotes and
// outside the internal subset in brackets, whose declarations may hold '>'
// in quotes and in comments of their own.
std::size_t za_doctype(std::string_view s, std::size_t at) {
    int hloubka = 0;
    std::size_t i = at + 2;
    while (i < s.size()) {
        const char c = s[i];
        if (c == '"' || c == '\'') {
            const std::size_t konec = s.find(c, i + 1);
            if (konec == std::string_view::npos) return konec;
            i = konec + 1;
        } else if (hloubka > 0 && zacina(s, i, "<!--")) {
            i = za(s, i + 4, "-->");
            if (i == std::string_view::npos) return i;
        } else {
            if (c == '[') ++hloubka;
            if (c == ']' && hloubka > 0) --hloubka;
            if (c == '>' && hloubka == 0) return i + 1;
            ++i;
        }
    }
    return std::string_view::npos;
}

// The first start tag's local name: the name after '<' up to white space,
// '/' or '>', without the prefix before its last ':'. Empty when the name
// runs past the head.
std::string_view local_name(std::string_view s, std::size_t at) {
    std::size_t konec = at + 1;
    while (konec < s.size() && !bily(s[konec]) && s[konec] != '/' && s[konec] != '>') ++konec;
    if (konec == s.size()) return {};
    std::string_view jmeno = s.substr(at + 1, konec - at - 1);
    const std::size_t dvojtecka = jmeno.rfind(':');
    if (dvojtecka != std::string_view::npos) jmeno.remove_prefix(dvojtecka + 1);
    return jmeno;
}

}  // namespace


bool same_as_any(const std::string& name, const std::vector<std::string>& others) {
    const os::FileId id = os::file_info(name).id;
    if (!id.regular) return false;
    for (const std::string& other : others)
        if (os::file_info(other).id == id) return true;
    return false;
}

bool same_file(const std::string& a, const std::string& b) {
    return same_as_any(a, {b});
}

std::string_view first_element_name(std::string_view s) {
    std::size_t i = zacina(s, 0, "\xEF\xBB\xBF") ? 3 : 0;
    while (i != std::string_view::npos && i < s.size()) {
        if (bily(s[i])) {
            ++i;
        } else if (zacina(s, i, "<?")) {
            i = za(s, i + 2, "?>");
        } else if (zacina(s, i, "<!--")) {
            i = za(s, i + 4, "-->");
        } else if (zacina(s, i, "<!DOCTYPE")) {
            i = za_doctype(s, i);
        } else if (s[i] == '<') {
            return local_name(s, i);
        } else {
            return {};
        }
    }
    return {};
}

bool starts_like_submission(std::string_view s) { return first_element_name(s) == "ORV"; }

bool is_orv_submission(const std::string& name) {
    std::string head;
    os::read_head(name, kHlavaPodani, head);
    return starts_like_submission(head);
}

}  // namespace quelt
