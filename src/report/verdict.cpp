// The verdict of a run and its words. One rule decides: a run that did not
// finish checked nothing; any finding of weight E forbids sending; warnings
// alone allow it once they are checked; nothing found allows it outright.
// A file in which no ORV submission was read to its end (ES306) is an error
// too, said in words of its own: the clerk chose the wrong file or the export
// broke off, and there is nothing in it to correct.
#include "src/report/verdict.h"

#include <algorithm>
#include <cassert>
#include <cstring>

#include "src/report/catalogue.h"
#include "src/report/report.h"
#include "src/xml/cp1250.h"

namespace quelt {

namespace {

// The first failure a run recorded (empty while there is none; every
// message has its words), and whether it was its input. A fixed buffer: the
// failure may be that memory ran out.
char recorded_failure[512];
bool recorded_input_missing = false;

struct Words {
    const char* code;
    const char* word;
    const char* headline;
    const char* advice;
};

// Indexed by Verdict.
constexpr Words kWords[] = {
    {"ok", "lze odeslat", "Soubor je v pořádku a můžete ho odeslat.",
     "Kontrola doběhla do konce a nenašla žádnou chybu ani varování."},
    {"warnings", "s varováními", "Soubor smíte odeslat, až prověříte varování.",
     "Kontrola nenašla žádnou chybu (váha E), jen varování (váha W): ukazují hodnoty, které je "
     "třeba prověřit, ale mohou být správné. Hodnotu, která správná není, opravte ve mzdovém nebo "
     "personálním programu a soubor z něj znovu vyexportujte."},
    {"errors", "opravit", "Soubor neodesílejte: obsahuje chyby (váha E).",
     "Chyby opravte tam, odkud data pocházejí (ve mzdovém nebo personálním programu), soubor z "
     "něj znovu vyexportujte a znovu ho zkontrolujte."},
    {"incomplete", "nezkontrolováno", "Soubor nebyl zkontrolován: kontrola nedoběhla.",
     "Odstraňte příčinu a spusťte kontrolu znovu."},
};

constexpr const char* kNoSubmissionHeadline =
    "Soubor neodesílejte: není to úplný datový soubor ORV.";
constexpr const char* kNoSubmissionAdvice =
    "Buď byl vybrán jiný soubor, nebo se export nedokončil. Vyexportujte data ze mzdového nebo "
    "personálního programu znovu a zkontrolujte nový soubor.";
constexpr const char* kReasonLead = "Důvod: ";

const Words& words_of(Verdict verdict) { return kWords[static_cast<int>(verdict)]; }

// Code points of Windows-1250 above 0x7F and how the console writes them.
struct AsciiForm {
    char32_t cp;
    const char* ascii;
};
constexpr AsciiForm kAscii[] = {
    {0x00A0, " "},  {0x00C1, "A"},  {0x00C4, "A"},  {0x00C9, "E"},  {0x00CD, "I"},
    {0x00D3, "O"},  {0x00D6, "O"},  {0x00DA, "U"},  {0x00DC, "U"},  {0x00DD, "Y"},
    {0x00E1, "a"},  {0x00E4, "a"},  {0x00E9, "e"},  {0x00ED, "i"},  {0x00F3, "o"},
    {0x00F6, "o"},  {0x00FA, "u"},  {0x00FC, "u"},  {0x00FD, "y"},  {0x010C, "C"},
    {0x010D, "c"},  {0x010E, "D"},  {0x010F, "d"},  {0x011A, "E"},  {0x011B, "e"},
    {0x0139, "L"},  {0x013A, "l"},  {0x013D, "L"},  {0x013E, "l"},  {0x0147, "N"},
    {0x0148, "n"},  {0x0154, "R"},  {0x0155, "r"},  {0x0158, "R"},  {0x0159, "r"},
    {0x0160, "S"},  {0x0161, "s"},  {0x0164, "T"},  {0x0165, "t"},  {0x016E, "U"},
    {0x016F, "u"},  {0x017D, "Z"},  {0x017E, "z"},  {0x2013, "-"},  {0x2014, "-"},
    {0x2018, "'"},  {0x2019, "'"},  {0x201A, "'"},  {0x201C, "\""}, {0x201D, "\""},
    {0x201E, "\""}, {0x2026, "..."},
};

}  // namespace

const char* const kSummaryColumnNames[kSummaryColumns] = {
    "Soubor", "IČO předkladatele", "IČO zaměstnavatelů", "Záznamů zaměstnanců", "Chyb E",
    "Chyb W", "Výsledek", "Stav", "Zpráva", "Protokol"};

const char* const kCompleteRunMessage = "kontrola dokončena";

const char* const kSampleRegistersNote =
    "Nálezy registrů (ER202, WR204, EL046) pocházejí z ukázkových registrů této sestavy "
    "a o skutečných datech nic neříkají.";

const char* const kHowToCheckAFile =
    "Datový soubor přetáhněte myší na quelt.exe, nebo otevřete stránku quelt-kontrola.html "
    "a zkontrolujte ho v prohlížeči.";

Verdict verdict_of(const RunOutcome& outcome) {
    if (outcome.status != 0) return Verdict::incomplete;
    if (outcome.errors_e > 0 || outcome.no_submission) return Verdict::errors;
    if (outcome.warnings_w > 0) return Verdict::warnings;
    return Verdict::ok;
}

const char* verdict_code(Verdict verdict) { return words_of(verdict).code; }

const char* verdict_word(Verdict verdict) { return words_of(verdict).word; }

void note_run_failure(std::string_view message, bool input_missing) {
    assert(!message.empty());
    if (recorded_failure[0] != '\0') return;
    const std::size_t n = std::min(message.size(), sizeof recorded_failure - 1);
    std::memcpy(recorded_failure, message.data(), n);
    recorded_failure[n] = '\0';
    recorded_input_missing = input_missing;
}

void reset_verdict() {
    recorded_failure[0] = '\0';
    recorded_input_missing = false;
}

RunOutcome outcome_of_last_run(int status) {
    RunOutcome outcome;
    outcome.status = status;
    outcome.errors_e = sumchybE;
    outcome.warnings_w = sumchybW;
    outcome.no_submission = EtabNum[find_code("ES306")] > 0;
    outcome.input_missing = recorded_input_missing;
    outcome.failure = recorded_failure;
    return outcome;
}

VerdictText verdict_text(const RunOutcome& outcome) {
    const Verdict verdict = verdict_of(outcome);
    if (verdict == Verdict::errors && outcome.no_submission)
        return {kNoSubmissionHeadline, kNoSubmissionAdvice};
    const Words& w = words_of(verdict);
    VerdictText text{w.headline, w.advice};
    if (verdict == Verdict::incomplete && !outcome.failure.empty())
        text.advice = std::string(kReasonLead).append(utf8_from_cp1250(outcome.failure)).append(". ").append(w.advice);
    return text;
}

std::string verdict_console_lines(const RunOutcome& outcome) {
    std::string lines = " Vysledek kontroly: ";
    lines.append(ascii_from_utf8(verdict_text(outcome).headline)).append("\n");
    if (outcome.input_missing)
        lines.append(" ").append(ascii_from_utf8(kHowToCheckAFile)).append("\n");
    return lines;
}

std::string ascii_from_utf8(std::string_view utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t cp = next_code_point(utf8, i);
        if (cp < 0x80) {
            out += static_cast<char>(cp);
            continue;
        }
        const char* form = "?";
        for (const AsciiForm& a : kAscii)
            if (a.cp == cp) form = a.ascii;
        out += form;
    }
    return out;
}

}  // namespace quelt
