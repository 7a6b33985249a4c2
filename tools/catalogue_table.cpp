// Prints the table of all finding codes as Markdown in UTF-8, for the list of
// codes of a release (kody.md, made kody.html): code, weight, expected text and
// description, taken from the catalogue compiled into the checker, so the
// table can never disagree with the reports. Before it, the verdicts of a
// check in the words of src/report/verdict.cpp, what to do about a finding
// and the names of the items of a data file (data/finding_advice.h,
// data/item_names.h through finding_texts.h): the same words the web page
// says. tools/guide_pages.mjs gives every code's row its anchor (#CODE).
//
// Each code appears once, with the texts of its first row: the look-up of the
// report writer never reaches the second row of a doubled code. Rows follow
// the byte order of the codes, as in the summary of an HTML report.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "src/report/catalogue.h"
#include "src/report/verdict.h"
#include "src/xml/cp1250.h"
#include "tools/finding_texts.h"

namespace {

// A UTF-8 text with the characters that Markdown would read as markup (a
// cell border, emphasis, an HTML tag) escaped by a backslash.
std::string markdown_text(std::string_view utf8) {
    std::string out;
    for (const char c : utf8) {
        if (std::string_view("\\`*_<>|[]").find(c) != std::string_view::npos) out += '\\';
        out += c;
    }
    return out;
}

// A catalogue text (Windows-1250) so escaped, in UTF-8.
std::string markdown_cell(const char* cp1250) { return markdown_text(quelt::utf8_from_cp1250(cp1250)); }

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
        if (quelt::find_code(quelt::Etab[row].EtabTyp) == row) rows.push_back(row);
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
}

// The four verdicts, in the words every edition says them: a verdict's word,
// its first sentence and its advice; the guide (navod.md) says them in the
// same words, and a test checks that it does.
void print_verdicts() {
    std::printf("## Výsledek kontroly\n\n"
                "Nad počty nálezů řekne kontrola o souboru jedno ze čtyř:\n\n");
    for (const quelt::NamedOutcome& named : quelt::verdict_outcomes()) {
        const quelt::VerdictText text = quelt::verdict_text(named.outcome);
        std::string lead = quelt::verdict_word(quelt::verdict_of(named.outcome));
        if (named.outcome.no_submission) lead += ": soubor bez úplného hlášení ORV (ES306)";
        std::printf("- **%s:** %s %s\n", lead.c_str(), markdown_text(text.headline).c_str(),
                    markdown_text(text.advice).c_str());
    }
    std::printf("\nObsahuje-li kopie programu jen ukázkové registry, připojí k výsledku větu: %s\n\n",
                markdown_text(quelt::kSampleRegistersNote).c_str());
}

// A code as a link to its row of the table below.
std::string code_link(std::string_view code) {
    return std::string("[").append(code).append("](#").append(code).append(")");
}

// What to do about a finding: by its weight, then by the kind of its rule.
void print_advice() {
    std::printf("## Co s nálezem udělat\n\n");
    for (const quelt::WeightAdvice& w : quelt::kWeightAdvice)
        std::printf("- %s %s\n", markdown_text(w.what).c_str(), markdown_text(w.fix).c_str());
    std::printf("\nU těchto kódů pravidlo říká, co udělat, přesněji:\n\n| Kódy | Co udělat |\n|---|---|\n");
    for (const quelt::AdviceKind& kind : quelt::kAdviceKinds) {
        std::string codes;
        quelt::for_each_code(kind, [&](std::string_view code) {
            codes.append(codes.empty() ? "" : ", ").append(code_link(code));
        });
        std::printf("| %s | %s |\n", codes.c_str(), markdown_text(quelt::advice_text(kind)).c_str());
    }
    std::printf("\n");
}

// The items of a data file, which the column Prvek of a report names.
void print_item_names() {
    std::printf("## Údaje datového souboru\n\n"
                "Sloupec Prvek protokolu uvádí název prvku XML. Co který prvek znamená (u položek, "
                "jejichž význam popis formátu neuvádí, jen jejich číslo a část souboru):\n\n"
                "| Prvek | Údaj |\n|---|---|\n");
    quelt::for_each_element([](std::string_view element) {
        std::printf("| %s | %s |\n", std::string(element).c_str(), markdown_text(quelt::item_label(element)).c_str());
    });
    std::printf("\n## Seznam kódů\n\n| Kód | Váha | Očekáváno | Popis |\n|---|---|---|---|\n");
}

}  // namespace

int main() {
    const std::vector<int> rows = rows_in_code_order();
    print_head(rows.size());
    print_verdicts();
    print_advice();
    print_item_names();
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
