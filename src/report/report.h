// Report writer: every finding of every rule goes through zpracuj_chybu, which
// counts it, looks its code up in the catalogue and writes one row at once in
// the chosen format to the run's report (errsoub). The same module writes the
// report head at the run's set-up and the summary per code and the totals at
// its end.
#pragma once

#include "src/xml/cp1250.h"

namespace quelt {

// The program's version, in the banner and the HTML report's head.
inline constexpr const char* kVersion = "QUELT_v0.9";

// Texts of the report's head that tell a report from other files (the batch
// never checks its own earlier reports as submissions): the HTML report's
// title, the CSV report's first line, and the label of the date, which opens
// the text report's first line after a blank.
inline constexpr const char* kReportTitle = "<title>ORV - vysledky kontroly dat</title>";
inline constexpr const char* kCsvReportHead =
    "Radek;Chyba;Zamestnavatel;Zamestnanec;Prvek;Hodnota;Ocekavano;Popis";
inline constexpr const char* kDateLabel = "Datum a čas: "_cp;

// Report format: 'H' HTML, 'T' text, 'C' semicolon-separated, 'X' XML.
extern char sw_err;
// 'A' when findings of weight W are counted but not written (switch -w).
extern char sw_nepisW;
// Findings of weight E and W of the run, written or not.
extern int sumchybE;
extern int sumchybW;
// Date and time of the run, "dd/mm/yyyy  hh:mm:ss".
extern char s_datetime[21];

// Writes one finding. Texts: line text, code, element, value, expected text
// ("?" as first character takes the catalogue's expected text). Returns 1 when
// written, 0 when suppressed by -w.
int zpracuj_chybu(const char* radek, const char* kod, const char* prvek, const char* hodnota,
                  const char* ocekavano);

// Writes the head of the chosen format (once, at set-up).
void write_report_head();

// The report's end: the summary per code (HTML) and the totals.
void write_report_end();

// Resets the counters and flags of this module for a new run.
void reset_report();

}  // namespace quelt
