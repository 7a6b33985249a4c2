// The words with which the web page explains a finding and the list of
// finding codes describes one, made once from the tables of data/
// (item_names.h, finding_advice.h) and the verdict's texts
// (src/report/verdict.h), for the two programs that print them at build
// time: tools/page_texts.cpp (the page) and tools/catalogue_table.cpp
// (kody.md). All texts UTF-8.
#pragma once

#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "data/element_tables.h"
#include "data/finding_advice.h"
#include "src/report/verdict.h"

namespace quelt {

// An item of a data file in a clerk's words, with its element name and the
// part of the file it stands in: "IČO zaměstnavatele (AA0017, v údajích
// zaměstnavatele)", or for an item whose meaning the format leaves unsaid
// "položka AA0141 v záznamu zaměstnance". Empty for a name that is no
// element of the definition tables.
std::string item_label(std::string_view element);

// Every element of the definition tables, the header's, the employer's and
// the employee record's in that order (their end rows aside): calls
// each(name).
template <typename Each>
void for_each_element(Each each) {
    const auto walk = [&](const auto& table) {
        for (std::size_t row = 0; row + 1 < std::size(table); ++row) each(table[row].elem);
    };
    walk(Ptab);
    walk(Ttab);
    walk(Ntab);
}

// What to do for a kind of rule: its own text, or the verdict's advice for
// a file without a complete submission.
std::string advice_text(const AdviceKind& kind);

// A run's outcome for each text of the verdicts, by its key: "ok",
// "warnings", "errors", "noSubmission" (an error: no complete submission
// read) and "incomplete" (without a reason), in that order.
struct NamedOutcome {
    const char* key;
    RunOutcome outcome;
};
std::vector<NamedOutcome> verdict_outcomes();

// The codes of a kind, one after the other: calls each(code).
template <typename Each>
void for_each_code(const AdviceKind& kind, Each each) {
    std::string_view codes = kind.codes;
    while (!codes.empty()) {
        const std::size_t blank = codes.find(' ');
        each(codes.substr(0, blank));
        codes = blank == std::string_view::npos ? std::string_view() : codes.substr(blank + 1);
    }
}

}  // namespace quelt
