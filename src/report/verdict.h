// The verdict of a run: the clerk's one question, "may I send this file, and
// if not, what do I fix?", answered from how the run ended and what it
// counted. Every edition asks here: the page (through its WebAssembly module),
// quelt.exe in a window of its own, and quelt-davka for each row of its
// summary. The verdicts' Czech texts are written here once, in UTF-8; the
// console's ASCII form and the Windows-1250 form are derived from them.
//
// Nothing here changes a report, a console text or an exit status: the verdict
// is said beside them.
#pragma once

#include <string>
#include <string_view>

namespace quelt {

enum class Verdict {
    ok,          // complete, nothing found: may be sent
    warnings,    // complete, no E, at least one W: may be sent once they are checked
    errors,      // at least one E: do not send; correct the data at their source
    incomplete,  // the run did not finish: the file was not checked
};

// What the verdict needs to know of a run.
struct RunOutcome {
    int status = 13;            // the run's exit status (0 complete)
    int errors_e = 0;           // findings of weight E, written or not
    int warnings_w = 0;         // findings of weight W, counted with -w too
    bool no_submission = false; // ES306: no ORV submission was read to its end
    bool input_missing = false; // the data file (or the list) could not be opened
    std::string failure;        // the failure's message (status 13), Windows-1250
};

Verdict verdict_of(const RunOutcome& outcome);

// The fixed code of a verdict: "ok", "warnings", "errors", "incomplete".
const char* verdict_code(Verdict verdict);

// The run that just ended, as the global state holds it until the next run
// starts: its totals, whether ES306 was written, and its recorded failure.
RunOutcome outcome_of_last_run(int status);

// Run control records a run-level failure's message here as it prints it
// (without the closing " Program ukoncen"); the first one of a run counts.
void note_run_failure(std::string_view message, bool input_missing);
void reset_verdict();

// The verdict in words, UTF-8: the first sentence says whether the file may
// be sent; the advice says what to do. An incomplete run's advice names the
// failure when there is one.
struct VerdictText {
    std::string headline;
    std::string advice;
};
VerdictText verdict_text(const RunOutcome& outcome);

// A short word for a row of a summary ("lze odeslat", "opravit" ...), UTF-8.
const char* verdict_word(Verdict verdict);

// A summary of separate submissions (quelt-davka's souhrn.csv and souhrn.htm,
// the page's souhrn.csv): its columns in their order, and the message of a
// row whose run was complete. UTF-8.
inline constexpr int kSummaryColumns = 10;
extern const char* const kSummaryColumnNames[kSummaryColumns];
extern const char* const kCompleteRunMessage;

// Added to the verdict where the build carries the sample registers: their
// findings say nothing about real data. UTF-8.
extern const char* const kSampleRegistersNote;

// Said when the data file could not be opened in a window of quelt.exe's own:
// where a clerk checks a file instead. UTF-8.
extern const char* const kHowToCheckAFile;

// The lines a window of quelt.exe's own shows before it waits for Enter: the
// verdict's first sentence and, when the data file could not be opened, where
// a clerk checks a file instead. ASCII, each line starting with a blank and
// ending in a line feed, like the program's other console texts.
std::string verdict_console_lines(const RunOutcome& outcome);

// The console's form of a UTF-8 text: ASCII, Czech letters without their
// marks, as the program's other console texts are written. Its Windows-1250
// form, for the summary page and the reports, is cp1250_from_utf8
// (src/xml/cp1250.h).
std::string ascii_from_utf8(std::string_view utf8);

}  // namespace quelt
