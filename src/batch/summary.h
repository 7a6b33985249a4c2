// The summary of a batch: souhrn.csv (Windows-1250, ';' between fields,
// every field safe to open in a spreadsheet) and souhrn.htm (the same table
// as a page in Czech, with a link to each report and a row of totals), a row
// an input in the order given. Each is written whole into a new file that
// then takes the old one's place, so that a reader never sees a part of one:
// at the start, with every row not checked yet, then at most once a second
// while files finish, and at the end.
#pragma once

#include <string>
#include <vector>

#include "src/batch/protocol.h"
#include "src/report/verdict.h"
#include "src/xml/cp1250.h"

namespace quelt::batch {

// The summary's two files in the output folder.
inline constexpr const char* kSummaryCsv = "souhrn.csv";
inline constexpr const char* kSummaryHtm = "souhrn.htm";

// The summary page's title, by which the batch also knows an earlier summary.
inline constexpr auto kSummaryTitle = cp_array<"<title>ORV - souhrn kontroly souborů</title>">();

struct Row {
    std::string input;      // as checked
    std::string report;     // the report's path; empty: none
    bool finished = false;  // its check has ended (a row no run checks is finished at once)
    FileResult result;      // when finished
};

// A row's verdict; a row whose check has not ended is not checked.
Verdict verdict_of_row(const Row& row);

// Whether the row's check ran to its end (status 0): only such a row has
// counts, and only such rows leave the batch's status 0.
bool complete(const Row& row);

// The counts of the complete rows, as the summary's and the console's totals
// show them.
struct Totals {
    long long records = 0;
    long long errors_e = 0;
    long long warnings_w = 0;
};
Totals totals_of(const std::vector<Row>& rows);

// "1 soubor", "2 soubory", "5 souborů" (UTF-8, as the verdicts' words are:
// the summary writes it in Windows-1250, the console in ASCII).
std::string count_of_files(std::size_t n);

// "lze odeslat 97, s varováními 12, opravit 9, nezkontrolováno 2" (UTF-8).
std::string verdict_totals(const std::vector<Row>& rows);

// A name or message as the summary shows it: UTF-8 in Windows-1250 ('?' for
// what it cannot hold); other bytes are taken as Windows-1250 already.
std::string summary_text(const std::string& text);

// The cells of a row, not escaped (Windows-1250): Soubor, IČO předkladatele,
// IČO zaměstnavatelů, Záznamů zaměstnanců, Chyb E, Chyb W, Výsledek, Stav,
// Zpráva, Protokol. stopped: the batch was stopped before the row's turn.
std::vector<std::string> row_cells(const Row& row, bool stopped);

std::string summary_csv(const std::vector<Row>& rows, bool stopped);
std::string summary_htm(const std::vector<Row>& rows, bool stopped);

// Writes text as the file name through a new file beside it, which then
// takes name's place. False when it could not; name is then as it was.
bool write_whole(const std::string& name, const std::string& text);

// The two files of a summary, kept up to date.
class SummaryFiles {
public:
    SummaryFiles(std::string csv, std::string htm, const std::vector<Row>& rows);
    // A row has changed.
    void changed() { dirty_ = true; }
    // Writes both when they changed (or the last write failed) and a second
    // has passed since the last write; returns the milliseconds until the
    // next write is due (-1: none).
    int keep_up();
    // Writes both now. False when one could not be written: failed() is it.
    bool write(bool stopped);
    const std::string& failed() const { return failed_; }

private:
    std::string csv_, htm_, failed_;
    const std::vector<Row>& rows_;
    bool dirty_ = false;
    long long last_ms_ = 0;
};

}  // namespace quelt::batch
