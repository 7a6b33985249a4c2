// The words of a finding's explanation: an item's name in a clerk's words,
// what to do for a kind of rule, and a run's outcome for each text of the
// verdicts.
#include "tools/finding_texts.h"

#include "data/element_tables.h"
#include "data/item_names.h"
#include "src/report/verdict.h"

namespace quelt {

namespace {

// Whether one of a table's element rows (its end row aside) has the name.
template <std::size_t N>
constexpr bool in_table(const ElementDef (&table)[N], std::string_view element) {
    for (std::size_t row = 0; row + 1 < N; ++row)
        if (table[row].elem == element) return true;
    return false;
}

// Every name of the table of meanings is an element of the definition
// tables: a misspelt one would never be shown.
static_assert([] {
    for (const ItemName& item : kItemNames)
        if (!in_table(Ptab, item.element) && !in_table(Ttab, item.element) && !in_table(Ntab, item.element))
            return false;
    return true;
}());

// A run that went to its end with these findings.
RunOutcome complete_run(int errors_e, int warnings_w, bool no_submission) {
    RunOutcome o;
    o.status = 0;
    o.errors_e = errors_e;
    o.warnings_w = warnings_w;
    o.no_submission = no_submission;
    return o;
}

const char* meaning_of(std::string_view element) {
    for (const ItemName& item : kItemNames)
        if (item.element == element) return item.czech;
    return nullptr;
}

// The part of the file an element stands in (0 header, 1 employer, 2
// employee record), or -1 for a name that is no element.
int part_of(std::string_view element) {
    if (in_table(Ptab, element)) return 0;
    if (in_table(Ttab, element)) return 1;
    if (in_table(Ntab, element)) return 2;
    return -1;
}

}  // namespace

std::string item_label(std::string_view element) {
    const int part = part_of(element);
    if (part < 0) return {};
    const char* meaning = meaning_of(element);
    if (meaning == nullptr) return std::string("položka ").append(element).append(" ").append(kPartNames[part]);
    return std::string(meaning).append(" (").append(element).append(", ").append(kPartNames[part]).append(")");
}

std::vector<NamedOutcome> verdict_outcomes() {
    RunOutcome incomplete;
    incomplete.status = 13;
    return {{"ok", complete_run(0, 0, false)},
            {"warnings", complete_run(0, 1, false)},
            {"errors", complete_run(1, 0, false)},
            {"noSubmission", complete_run(1, 0, true)},
            {"incomplete", incomplete}};
}

std::string advice_text(const AdviceKind& kind) {
    if (kind.text != nullptr) return kind.text;
    return verdict_text(complete_run(1, 0, true)).advice;
}

}  // namespace quelt
