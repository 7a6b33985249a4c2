// The summary of a batch (summary.h).
#include "src/batch/summary.h"

#include <chrono>
#include <cstdio>

#include "src/batch/naming.h"
#include "src/os/files.h"
#include "src/os/names.h"
#include "src/os/process.h"
#include "src/report/text_safety.h"
#include "src/xml/cp1250.h"

namespace quelt::batch {

namespace {

// At most one write of the summary a second while files finish.
constexpr long long kWriteEveryMs = 1000;

// The column names in Windows-1250.
std::vector<std::string> column_names() {
    std::vector<std::string> names;
    for (const char* name : kSummaryColumnNames) names.push_back(cp1250_from_utf8(name));
    return names;
}

// The verdicts in the order the totals and the page's caption name them.
constexpr Verdict kVerdictOrder[] = {Verdict::ok, Verdict::warnings, Verdict::errors, Verdict::incomplete};

// Columns of counts, right-aligned on the page.
bool count_column(std::size_t k) { return k >= 3 && k <= 5; }

long long now_ms() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::string verdict_word_cp(Verdict v) { return cp1250_from_utf8(verdict_word(v)); }

// The message of a row: a complete run's, a failure's, or why it has none yet.
std::string message_of(const Row& row, bool stopped) {
    if (!row.finished) return stopped ? "nezkontrolováno: dávka byla přerušena"_cp : "čeká na kontrolu"_cp;
    if (row.result.outcome.status == 0) return cp1250_from_utf8(kCompleteRunMessage);
    return summary_text(row.result.outcome.failure);
}

std::string csv_line(const std::vector<std::string>& cells) {
    std::string line;
    for (std::size_t k = 0; k < cells.size(); ++k) {
        if (k > 0) line += ';';
        line += summary_csv_field(cells[k]);
    }
    return line + "\n";
}

}  // namespace

Verdict verdict_of_row(const Row& row) {
    return row.finished ? verdict_of(row.result.outcome) : Verdict::incomplete;
}

bool complete(const Row& row) { return row.finished && row.result.outcome.status == 0; }

Totals totals_of(const std::vector<Row>& rows) {
    Totals t;
    for (const Row& row : rows) {
        if (!complete(row)) continue;
        t.records += row.result.records;
        t.errors_e += row.result.outcome.errors_e;
        t.warnings_w += row.result.outcome.warnings_w;
    }
    return t;
}

std::string count_of_files(std::size_t n) {
    const char* word = n == 1 ? "soubor" : n >= 2 && n <= 4 ? "soubory" : "souborů";
    return std::to_string(n) + " " + word;
}

std::string verdict_totals(const std::vector<Row>& rows) {
    std::size_t count[4] = {};
    for (const Row& row : rows) ++count[static_cast<int>(verdict_of_row(row))];
    std::string text;
    for (Verdict v : kVerdictOrder) {
        if (!text.empty()) text += ", ";
        text.append(verdict_word(v)).append(" ").append(std::to_string(count[static_cast<int>(v)]));
    }
    return text;
}

std::string summary_text(const std::string& text) {
    return is_utf8(text) ? cp1250_from_utf8(text) : text;
}


std::vector<std::string> row_cells(const Row& row, bool stopped) {
    const FileResult& r = row.result;
    auto count = [&](long long n) { return complete(row) ? std::to_string(n) : std::string(); };
    return {summary_text(row.input),
            r.submitter,
            r.employers,
            count(r.records),
            count(r.outcome.errors_e),
            count(r.outcome.warnings_w),
            verdict_word_cp(verdict_of_row(row)),
            row.finished ? std::to_string(r.outcome.status) : std::string(),
            message_of(row, stopped),
            row.finished && !row.report.empty() ? summary_text(base_name(row.report, os::windows_names()))
                                                : std::string()};
}

std::string summary_csv(const std::vector<Row>& rows, bool stopped) {
    std::string text = csv_line(column_names());
    for (const Row& row : rows) text += csv_line(row_cells(row, stopped));
    return text;
}

namespace {

constexpr auto kPageHead = concat(
    cp_array<"<!DOCTYPE html>\n<html lang=\"cs\">\n<head>\n"
             "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=Windows-1250\">\n">(),
    kSummaryTitle,
    cp_array<"\n<style>\n"
    "table { border-collapse: collapse; }\n"
    "th, td { border: 1px solid black; padding: 2px 4px; text-align: left; }\n"
    "thead th { background: lightblue; }\ntd.pocet { text-align: right; }\n"
    "tr[data-verdict=\"ok\"] td.verdict { color: #005a00; }\n"
    "tr[data-verdict=\"warnings\"] td.verdict { color: #7a4a00; }\n"
    "tr[data-verdict=\"errors\"] td.verdict { color: #a00000; font-weight: bold; }\n"
    "tr[data-verdict=\"incomplete\"] td.verdict { font-style: italic; }\n"
    "</style>\n</head>\n<body>\n<h1>Souhrn kontroly souborů ORV</h1>\n">());

// What the caption adds to a verdict's word (UTF-8), indexed by Verdict:
// the word itself comes from the verdicts' own texts.
constexpr const char* kVerdictGloss[] = {"", " (odeslat, až prověříte varování)",
                                         " (neodesílat, obsahuje chyby)", " (kontrola nedoběhla)"};

// The table's caption: each file a check of its own, and what each verdict
// means.
std::string caption() {
    std::string text = "Každý soubor je samostatná kontrola. Výsledek: ";
    for (Verdict v : kVerdictOrder) {
        if (v != kVerdictOrder[0]) text += "; ";
        text.append(verdict_word(v)).append(kVerdictGloss[static_cast<int>(v)]);
    }
    return "<caption>" + cp1250_from_utf8(text) + ".</caption>\n";
}

// Whether the batch still runs, has ended, or was stopped.
std::string state_line(const std::vector<Row>& rows, bool stopped) {
    std::size_t finished = 0;
    for (const Row& row : rows) finished += row.finished ? 1 : 0;
    if (stopped)
        return "<p>Kontrola byla přerušena: soubory, na které nedošlo, jsou nezkontrolované.</p>\n"_cp;
    if (finished < rows.size())
        return "<p>Kontrola ještě běží: hotovo "_cp + std::to_string(finished) + ", zbývá "_cp +
               std::to_string(rows.size() - finished) + ".</p>\n";
    return "<p>Kontrola skončila.</p>\n"_cp;
}

std::string page_row(const Row& row, bool stopped) {
    const std::vector<std::string> cells = row_cells(row, stopped);
    std::string line = "<tr data-verdict=\"";
    line += verdict_code(verdict_of_row(row));
    line += "\"><th scope=\"row\">" + escape_html(cells[0]) + "</th>";
    for (std::size_t k = 1; k + 1 < cells.size(); ++k) {
        const char* open = count_column(k) ? "<td class=\"pocet\">" : k == 6 ? "<td class=\"verdict\">" : "<td>";
        line += open + escape_html(cells[k]) + "</td>";
    }
    if (cells.back().empty()) return line + "<td></td></tr>\n";
    const std::string link = relative_link(base_name(row.report, os::windows_names()));
    return line + "<td><a href=\"" + link + "\">" + escape_html(cells.back()) + "</a></td></tr>\n";
}

// The totals: the files, and of the complete runs the records, E and W.
std::string totals_row(const std::vector<Row>& rows) {
    const Totals t = totals_of(rows);
    return "<tfoot>\n<tr><th scope=\"row\">Celkem " + cp1250_from_utf8(count_of_files(rows.size())) +
           "</th><td></td><td></td><td class=\"pocet\">" + std::to_string(t.records) +
           "</td><td class=\"pocet\">" + std::to_string(t.errors_e) + "</td><td class=\"pocet\">" +
           std::to_string(t.warnings_w) + "</td><td>" + escape_html(cp1250_from_utf8(verdict_totals(rows))) +
           "</td><td></td><td></td><td></td></tr>\n</tfoot>\n";
}

}  // namespace

std::string summary_htm(const std::vector<Row>& rows, bool stopped) {
    std::string page = kPageHead.data();
    page += state_line(rows, stopped);
    page += "<table>\n";
    page += caption();
    page += "<thead>\n<tr>";
    for (const std::string& name : column_names()) page += "<th scope=\"col\">" + name + "</th>";
    page += "</tr>\n</thead>\n<tbody>\n";
    for (const Row& row : rows) page += page_row(row, stopped);
    page += "</tbody>\n" + totals_row(rows) + "</table>\n</body>\n</html>\n";
    return page;
}

bool write_whole(const std::string& name, const std::string& text) {
    const std::string scratch = name + "." + os::process_number() + ".tmp";
    std::FILE* f = os::create_new_file(scratch);
    if (f == nullptr) return false;
    std::fwrite(text.data(), 1, text.size(), f);
    if (os::close_written(f) && os::replace_file(scratch, name)) return true;
    os::remove_file(scratch);
    return false;
}

SummaryFiles::SummaryFiles(std::string csv, std::string htm, const std::vector<Row>& rows)
    : csv_(std::move(csv)), htm_(std::move(htm)), rows_(rows) {}

int SummaryFiles::keep_up() {
    if (!dirty_) return -1;
    const long long due = last_ms_ + kWriteEveryMs - now_ms();
    if (due > 0) return static_cast<int>(due);
    return write(false) ? -1 : static_cast<int>(kWriteEveryMs);
}

bool SummaryFiles::write(bool stopped) {
    last_ms_ = now_ms();
    const bool csv = write_whole(csv_, summary_csv(rows_, stopped));
    const bool htm = write_whole(htm_, summary_htm(rows_, stopped));
    failed_ = !csv ? csv_ : !htm ? htm_ : std::string();
    // One that could not be written (a spreadsheet holding it open) is
    // tried again a second later.
    dirty_ = !csv || !htm;
    return csv && htm;
}

}  // namespace quelt::batch
