// The text safety of every output: what a text from the data or from a file
// name becomes before it is written into a report, the batch's summary or a
// link, so that it cannot break the markup, shift the columns, start a
// spreadsheet formula or lead a browser elsewhere. The checker's reports
// (quelt) and the batch's summary (quelt-davka) both write through here;
// tests/text_safety/cases.json holds the cases the page's module shares.
// Texts are Windows-1250 bytes, but for link, which takes a name's bytes.
#pragma once

#include <string>
#include <string_view>

namespace quelt {

// A value in an HTML or XML report: '<' as "&lt;" and a '&' that begins no
// character or entity reference as "&amp;"; a reference stays as it is.
// Returns text itself when nothing changes, else out's text.
const char* escape_markup(const char* text, std::string& out);

// A field of the CSV report: in double quotes, each '"' doubled, when it
// holds ';' or '"'. Returns text itself when nothing changes, else out's.
const char* escape_report_field(const char* text, std::string& out);

// A text of the summary page: < > & " as references.
std::string escape_html(std::string_view text);

// A field of the summary's souhrn.csv. A field that a spreadsheet would read
// as a formula (beginning with = + - @, a tab or a carriage return) gets an
// apostrophe before it, unless it is a number such as -5 or +12,50; then a
// field holding ';', '"', CR or LF is quoted as in the CSV report.
std::string summary_csv_field(std::string_view text);

// A report's name as a link from the summary page to the file beside it:
// every byte but A-Z a-z 0-9 - . _ ~ percent-encoded, so the link is
// relative, carries no scheme and asks for the name's own bytes (UTF-8 ones
// are what a browser expects).
std::string relative_link(std::string_view name);

}  // namespace quelt
