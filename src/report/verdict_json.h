// A verdict as JSON, for the programs that hand the checker's texts to the
// web page: the page's module (src/entry/web_main.cpp, the verdict of the run
// that just ended) and the program that prints the page's texts at build time
// (tools/page_texts.cpp, the verdicts the page says without a run).
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "src/report/verdict.h"

namespace quelt {

// Appends a UTF-8 text as a JSON string: in double quotes, '"', '\\' and
// the control characters escaped, everything else (UTF-8 included) kept.
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

// Appends the members of an outcome's verdict, in the checker's words:
// "verdict" (its code), "word", "headline", "advice" (no braces around them).
inline void append_verdict_members(std::string& out, const RunOutcome& outcome) {
    const Verdict verdict = verdict_of(outcome);
    const VerdictText text = verdict_text(outcome);
    out += "\"verdict\":";
    append_json_string(out, verdict_code(verdict));
    out += ",\"word\":";
    append_json_string(out, verdict_word(verdict));
    out += ",\"headline\":";
    append_json_string(out, text.headline);
    out += ",\"advice\":";
    append_json_string(out, text.advice);
}

}  // namespace quelt
