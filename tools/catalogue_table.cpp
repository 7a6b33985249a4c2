// Prints the table of all finding codes as Markdown in UTF-8, for the list of
// codes of a release (kody.md, made kody.html): code, weight, expected text and
// description, taken from the catalogue compiled into the checker, so the
// table can never disagree with the reports.
//
// Each code appears once, with the texts of its first row: the look-up of the
// report writer never reaches the second row of a doubled code. Rows follow
// the byte order of the codes, as in the summary of an HTML report.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "src/report/catalogue.h"
#include "src/xml/cp1250.h"

namespace {

// Appends the UTF-8 form of one code point.
void append_utf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// The code point of a Windows-1250 byte; the five bytes the code page leaves
// undefined become U+FFFD (the catalogue holds none).
char32_t from_cp1250(unsigned char byte) {
    if (byte < 0x80) return byte;
    for (const auto& pair : quelt::kCp1250Upper)
        if (pair.byte == byte) return pair.cp;
    return 0xFFFD;
}

// A catalogue text in UTF-8, with the characters that Markdown would read
// as markup (a cell border, emphasis, an HTML tag) escaped by a backslash.
std::string markdown_cell(const char* cp1250) {
    std::string out;
    for (const char* p = cp1250; *p != '\0'; ++p) {
        const auto byte = static_cast<unsigned char>(*p);
        if (std::string_view("\\`*_<>|[]").find(*p) != std::string_view::npos) out += '\\';
        append_utf8(out, from_cp1250(byte));
    }
    return out;
}

// What a clerk does with the findings: the one rule for E and W.
constexpr const char* kPravidloOdeslani =
    "Soubor, ve kterém kontrola našla jen varování (váha W), smíte odeslat: varování\n"
    "ukazují hodnoty, které je třeba prověřit, ale mohou být správné. Soubor s jakoukoli\n"
    "chybou (váha E) neodesílejte: chybu opravte tam, odkud data pocházejí (ve mzdovém\n"
    "nebo personálním programu), soubor z něj znovu vyexportujte a znovu ho zkontrolujte.";

const char* weight_text(char first) {
    return first == 'E' ? "E (chyba)" : "W (varování)";
}

// Rows that the look-up reaches, ordered by their codes.
std::vector<int> rows_in_code_order() {
    std::vector<int> rows;
    for (int row = 0; row < quelt::kCodeRows; ++row)
        if (quelt::najdi_kod(quelt::Etab[row].EtabTyp) == row) rows.push_back(row);
    std::stable_sort(rows.begin(), rows.end(), [](int a, int b) {
        return std::string_view(quelt::Etab[a].EtabTyp) < std::string_view(quelt::Etab[b].EtabTyp);
    });
    return rows;
}

void print_head(std::size_t count) {
    std::printf("# Kódy nálezů kontroly quelt\n\n");
    std::printf("Všech %zu kódů, které může kontrola zapsat do protokolu, s váhou, očekávanou\n"
                "hodnotou a popisem přesně tak, jak je protokol uvádí. Tabulka je vytvořena přímo\n"
                "z katalogu, který je součástí programu. Kódy jsou seřazeny jako v souhrnu\n"
                "protokolu HTML: nejprve všechny chyby (E), potom varování (W).\n\n",
                count);
    // The rule for sending is said in the same words in the guide (navod.md);
    // a test of the packed release checks that it is.
    std::printf("%s\n\n", kPravidloOdeslani);
    std::printf("| Kód | Váha | Očekáváno | Popis |\n|---|---|---|---|\n");
}

}  // namespace

int main() {
    const std::vector<int> rows = rows_in_code_order();
    print_head(rows.size());
    for (int row : rows) {
        const quelt::CatalogueRow& r = quelt::Etab[row];
        std::printf("| %s | %s | %s | %s |\n", r.EtabTyp, weight_text(r.EtabTyp[0]),
                    markdown_cell(r.EtabCek).c_str(), markdown_cell(r.EtabTxt).c_str());
    }
    // The table goes to a file of the release: a write that failed (a full
    // disk) must fail the release, not leave it a shorter table.
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        std::fputs("quelt_catalogue_table: the table could not be written\n", stderr);
        return 1;
    }
    return 0;
}
