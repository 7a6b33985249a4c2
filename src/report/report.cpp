// Report writer: rows of findings in the four formats, the report head, and
// the report's end: its summary per code and its totals.
//
// Texts that come from the data (values, element names, file names) are
// escaped for the format they are written in, so a value like " <= 1872" or a
// name with '&' cannot break the markup of an HTML or XML report, and a value
// with ';' cannot shift the columns of a semicolon report (text_safety.h).
// The fixed markup is written as it stands.
#include "src/report/report.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "src/os/names.h"
#include "src/report/catalogue.h"
#include "src/report/text_safety.h"
#include "src/state/run_state.h"
#include "src/xml/cp1250.h"

namespace quelt {

char sw_err = 'H';
char sw_nepisW = 'N';
int sumchybE = 0;
int sumchybW = 0;
char s_datetime[21];

namespace {

// Scratch buffers for the escaped texts of one row (eight columns at most).
std::string scratch[8];

// The text of column k as the report's format needs it.
const char* escaped(int k, const char* text) {
    switch (sw_err) {
        case 'H':
        case 'X': return escape_markup(text, scratch[k]);
        case 'C': return escape_report_field(text, scratch[k]);
        default: return text;
    }
}

void write_row(const char* const col[8], bool weight_e) {
    const char* c[8];
    for (int k = 0; k < 8; ++k) c[k] = escaped(k, col[k]);
    switch (sw_err) {
        case 'C':
            std::fprintf(errsoub, "%s;%s;%s;%s;%s;%s;%s;%s\n", c[0], c[1], c[2], c[3], c[4],
                         c[5], c[6], c[7]);
            break;
        case 'T':
            std::fprintf(errsoub, "%9s  %5s %9s  %9s %7s  %10s  %10s  %30s\n", c[0], c[1], c[2],
                         c[3], c[4], c[5], c[6], c[7]);
            break;
        case 'X':
            std::fprintf(errsoub, "<Chyba>\n<Radek>%s</Radek>\n<KodChyby>%s</KodChyby>\n", c[0],
                         c[1]);
            std::fprintf(errsoub,
                         "<Zamestnavatel>%s</Zamestnavatel>\n<Zamestnanec>%s</Zamestnanec>\n",
                         c[2], c[3]);
            std::fprintf(errsoub, "<Prvek>%s</Prvek>\n<Hodnota>%s</Hodnota>\n", c[4], c[5]);
            std::fprintf(errsoub, "<DelkaHodn>%s</DelkaHodn>\n<Popis>%s</Popis>\n</Chyba>\n",
                         c[6], c[7]);
            break;
        default:
            std::fprintf(errsoub,
                         weight_e ? "<tr>\n<td>&nbsp;%s</td>\n<td><b>&nbsp;%s</b></td>\n"
                                    "<td>&nbsp;%s</td>\n<td>&nbsp;%s</td>\n<td>&nbsp;%s</td>\n"
                                    "<td>&nbsp;%s</td>\n<td>&nbsp;%s</td>\n<td>&nbsp;%s</td>\n"
                                  : "<tr>\n<td>&nbsp;%s</td>\n<td>&nbsp;%s</td>\n"
                                    "<td>&nbsp;%s</td>\n<td>&nbsp;%s</td>\n<td>&nbsp;%s</td>\n"
                                    "<td>&nbsp;%s</td>\n<td>&nbsp;%s</td>\n<td>&nbsp;%s</td>\n",
                         c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7]);
            break;
    }
}

}  // namespace

int zpracuj_chybu(const char* radek, const char* kod, const char* prvek, const char* hodnota,
                  const char* ocekavano) {
    if (kod[0] == 'W') ++sumchybW;
    if (kod[0] == 'E') ++sumchybE;
    if (kod[0] == 'W' && sw_nepisW == 'A') return 0;

    const int row = find_code(kod);
    if (row < kCodeRows) ++EtabNum[row];
    if (ocekavano[0] == '?') ocekavano = Etab[row].EtabCek;

    const char* col[8] = {radek, kod, telicokod, identnec, prvek, hodnota, ocekavano,
                          Etab[row].EtabTxt};
    write_row(col, kod[0] == 'E');
    return 1;
}

void write_report_head() {
    std::FILE* f = errsoub;
    const char* datum = escaped(0, s_datetime);
    // The name as the system shows it: on Windows, Windows-1250 ('?' for
    // what it cannot write), like every text of the report.
    const std::string jmeno = os::shown_name(s_vstup);
    const char* soubor = escaped(1, jmeno.c_str());
    switch (sw_err) {
        case 'C':
            std::fprintf(f, "%s\n", kCsvReportHead);
            break;
        case 'T':
            std::fprintf(f, " %s  %s  %s  %s \n", kDateLabel, datum, "Soubor: ", soubor);
            std::fputs("C.radku  Chyba   ICO/Kod Zamestnanec  Prvek      Hodnota Ocekavano   Popis\n\n",
                       f);
            break;
        case 'X':
            std::fputs("<?xml version = \"1.0\" encoding = \"Windows-1250\"?>", f);
            std::fputs("<ORV_chyby>\n", f);
            std::fprintf(f, "<DatumCas>%s</DatumCas>\n", datum);
            std::fprintf(f, "<Soubor>%s</Soubor>\n", soubor);
            break;
        default:
            std::fputs("<html>\n<head>\n", f);
            std::fputs("<META http-equiv=\"Content-Type\" content=\"text/html; charset=Windows-1250\">\n",
                       f);
            std::fprintf(f, "%s\n</head>\n<body>\n", kReportTitle);
            std::fputs("<table cellspacing=\"0\" cellpadding=\"2\" border=\"1\" width=100% >\n", f);
            std::fputs("<tr bgcolor=\"lightblue\" valign=\"left\">\n", f);
            std::fprintf(f,
                         " <th width=15%%> %s </th><th width=20%%> %s </th><th width=12%%> %s </th>"
                         " <th width=38%%> %s </th>  ",
                         kDateLabel, datum, "Soubor: ", soubor);
            std::fprintf(f, " <th width=15%%> %s </th> \n", kVersion);
            std::fputs("</table><br> \n", f);
            std::fputs("<table cellspacing=\"0\" cellpadding=\"2\" border=\"1\">\n", f);
            std::fputs("<tr bgcolor=\"lightblue\">\n", f);
            std::fputs("<th>Řádek<th>Chyba</th><th>Zaměstnavatel</th><th>Zaměstnanec</th>"
                       "<th>Prvek</th><th>Hodnota</th><th>Očekáváno</th><th>Popis</th>\n"_cp,
                       f);
            std::fputs("</tr>\n", f);
            break;
    }
}

namespace {

// Summary per code, HTML only: the codes in byte order, equal codes in their
// catalogue order, each with its count when it was written at least once.
void write_code_summary() {
    std::fputs("</table><br> \n<table cellspacing=\"0\" cellpadding=\"2\" border=\"1\" >\n",
               errsoub);
    std::fputs("<tr bgcolor=\"lightblue\">\n", errsoub);
    std::fputs("<th width=10%> Chyba </th><th width=0%> Počet </th> <th width=80%> Popis chyby</th> </tr>\n"_cp,
               errsoub);
    int order[kCodeRows];
    for (int i = 0; i < kCodeRows; ++i) order[i] = i;
    std::stable_sort(order, order + kCodeRows, [](int a, int b) {
        return std::strcmp(Etab[a].EtabTyp, Etab[b].EtabTyp) < 0;
    });
    for (int row : order) {
        if (EtabNum[row] <= 0) continue;
        const char* kod = escaped(0, Etab[row].EtabTyp);
        const char* popis = escaped(1, Etab[row].EtabTxt);
        std::fprintf(errsoub,
                     Etab[row].EtabTyp[0] == 'E'
                         ? "<tr>\n<td><b>&nbsp;%s</b></td>\n<td>&nbsp;%d</td>\n<td>&nbsp;%s</td>\n"
                         : "<tr>\n<td>&nbsp;%s</td>\n<td>&nbsp;%d</td>\n<td>&nbsp;%s</td>\n",
                     kod, EtabNum[row], popis);
    }
}

void write_totals() {
    switch (sw_err) {
        case 'C':
            std::fprintf(errsoub, "\nCelkem chyb vahy E:;%8d\n", sumchybE);
            std::fprintf(errsoub, "\nCelkem chyb vahy W:;%8d\n", sumchybW);
            break;
        case 'T':
            std::fprintf(errsoub, "\nCelkem chyb vahy E:%8d\n\nCelkem chyb vahy W:%8d\n", sumchybE,
                         sumchybW);
            break;
        case 'X':
            std::fprintf(errsoub,
                         "\n<CelkemchybE>%8d</CelkemchybE>\n<CelkemchybW>%8d</CelkemchybW>\n",
                         sumchybE, sumchybW);
            std::fputs("</ORV_chyby>\n", errsoub);
            break;
        default:
            std::fputs("</tr>\n</table><br> \n<table cellspacing=\"0\" cellpadding=\"2\" border=\"1\" >\n",
                       errsoub);
            std::fputs("<tr bgcolor=\"lightblue\">\n", errsoub);
            std::fputs("<th width=50%> Celkem chyb </th><th width=20%> Počet </th> </tr>\n"_cp,
                       errsoub);
            std::fprintf(errsoub, "<tr>\n<td>Váha E</td>\n<td>&nbsp;%d</td>\n</tr>\n"_cp, sumchybE);
            std::fprintf(errsoub, "<tr>\n<td>Váha W</td>\n<td>&nbsp;%d</td>\n</tr>\n"_cp, sumchybW);
            std::fputs("\n</table></body>\n</html>\n", errsoub);
            break;
    }
}

}  // namespace

void write_report_end() {
    if (sw_err == 'H') write_code_summary();
    write_totals();
}

void reset_report() {
    sw_err = 'H';
    sw_nepisW = 'N';
    sumchybE = 0;
    sumchybW = 0;
    std::memset(s_datetime, 0, sizeof s_datetime);
    for (std::string& s : scratch) s.clear();
}

}  // namespace quelt
