// Report writer: every finding of every rule goes through zpracuj_chybu, which
// counts it, looks its code up in the catalogue and writes one row at once in
// the chosen format. The same module writes the report head and, through
// zpracuj_KONp, the end of the run: document-level findings, the summary per
// code, the totals, the closing of the files and the console totals.
#pragma once

#include <cstdio>

namespace quelt {

// Report format: 'H' HTML, 'T' text, 'C' semicolon-separated, 'X' XML.
extern char sw_err;
// 'A' when findings of weight W are counted but not written (switch -w).
extern char sw_nepisW;
extern int sumchybE;
extern int sumchybW;
extern std::FILE* errsoub;
// Date and time of the run, "dd/mm/yyyy  hh:mm:ss".
extern char s_datetime[21];

// Writes one finding. Texts: line text, code, element, value, expected text
// ("?" as first character takes the catalogue's expected text). Returns 1 when
// written, 0 when suppressed by -w.
int zpracuj_chybu(const char* radek, const char* kod, const char* prvek, const char* hodnota,
                  const char* ocekavano);

// Writes the head of the chosen format (once, at set-up).
void pis_hlavicku();

// End of the run: ES306/ES308, summary, totals, closing of the files, console
// totals. Returns the exit status: 0, or 13 when a file could not be written.
int zpracuj_KONp();

// Resets the counters and flags of this module for a new run.
void reset_report();

}  // namespace quelt
