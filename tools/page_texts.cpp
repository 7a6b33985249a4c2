// Prints, as one JSON object in UTF-8, the texts the web page says in the
// checker's own words without a run of the checker: the verdicts (for a check
// that failed inside the page, and the words of the summary), the note on the
// sample registers, every item's name and what to do about a finding. They are
// made from the C++ sources (src/report/verdict.cpp, data/item_names.h,
// data/finding_advice.h), so that no text is typed again in the page:
// tools/assemble-web.mjs runs this program (in the web build, under Node) and
// puts its output into the page.
//
//   {"verdicts": {"ok"|"warnings"|"errors"|"incomplete"|"noSubmission":
//                 {"verdict", "word", "headline", "advice"}},
//    "reason": the advice of an incomplete run with its reason, where the
//              character U+0001 stands for the reason,
//    "samplesNote", "summary": {"columns": [name], "complete": message},
//    "items": {element: name},
//    "weightAdvice": {"E"|"W": {"what", "fix"}}, "adviceKinds": {key: text},
//    "codeAdvice": {code: key}}
#include <cstdio>
#include <string>

#include "data/finding_advice.h"
#include "src/report/verdict.h"
#include "tools/finding_texts.h"
#include "src/report/verdict_json.h"

namespace {

using quelt::append_json_string;

// The reason of a failure in the reason template: a character no message holds.
constexpr char kReasonMark = '\x01';

void append_verdicts(std::string& out) {
    out += "\"verdicts\":{";
    for (const quelt::NamedOutcome& named : quelt::verdict_outcomes()) {
        out += named.key == std::string_view("ok") ? "" : ",";
        append_json_string(out, named.key);
        out += ":{";
        quelt::append_verdict_members(out, named.outcome);
        out += '}';
    }
    out += "},\"reason\":";
    quelt::RunOutcome failed = quelt::verdict_outcomes().back().outcome;
    failed.failure.assign(1, kReasonMark);
    append_json_string(out, quelt::verdict_text(failed).advice);
}

// The columns of a summary of separate submissions and a complete row's
// message, as quelt-davka writes them.
void append_summary(std::string& out) {
    out += "\"summary\":{\"columns\":[";
    for (int k = 0; k < quelt::kSummaryColumns; ++k) {
        out += k == 0 ? "" : ",";
        append_json_string(out, quelt::kSummaryColumnNames[k]);
    }
    out += "],\"complete\":";
    append_json_string(out, quelt::kCompleteRunMessage);
    out += '}';
}

void append_items(std::string& out) {
    out += "\"items\":{";
    bool first = true;
    quelt::for_each_element([&](std::string_view element) {
        out += first ? "" : ",";
        first = false;
        append_json_string(out, element);
        out += ':';
        append_json_string(out, quelt::item_label(element));
    });
    out += '}';
}

void append_advice(std::string& out) {
    out += "\"weightAdvice\":{";
    for (int w = 0; w < 2; ++w) {
        out += w == 0 ? "\"E\":{\"what\":" : ",\"W\":{\"what\":";
        append_json_string(out, quelt::kWeightAdvice[w].what);
        out += ",\"fix\":";
        append_json_string(out, quelt::kWeightAdvice[w].fix);
        out += '}';
    }
    out += "},\"adviceKinds\":{";
    std::string codes;
    for (const quelt::AdviceKind& kind : quelt::kAdviceKinds) {
        out += &kind == quelt::kAdviceKinds ? "" : ",";
        append_json_string(out, kind.key);
        out += ':';
        append_json_string(out, quelt::advice_text(kind));
        quelt::for_each_code(kind, [&](std::string_view code) {
            codes += codes.empty() ? "" : ",";
            append_json_string(codes, code);
            codes += ':';
            append_json_string(codes, kind.key);
        });
    }
    out += "},\"codeAdvice\":{" + codes + "}";
}

}  // namespace

int main() {
    std::string out = "{";
    append_verdicts(out);
    out += ",\"samplesNote\":";
    append_json_string(out, quelt::kSampleRegistersNote);
    out += ',';
    append_summary(out);
    out += ',';
    append_items(out);
    out += ',';
    append_advice(out);
    out += "}\n";
    // The texts go into the page: a write that failed must fail the build.
    if (std::fputs(out.c_str(), stdout) < 0 || std::fflush(stdout) != 0) {
        std::fputs("quelt_page_texts: the texts could not be written\n", stderr);
        return 1;
    }
    return 0;
}
