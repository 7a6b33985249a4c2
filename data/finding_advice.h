// What a clerk does about a finding, in Czech: by its weight, and where the
// rule behind the code says more, for the kind of rule (an IČO's check
// digit, a code missing from its code list, a date outside the period ...)
// instead of the weight's general fix. One source for the web page's explanation of a finding and
// for the list of finding codes (tools/page_texts.cpp,
// tools/catalogue_table.cpp).
//
// Texts in UTF-8; they are never written into a report.
#pragma once

namespace quelt {

// By the weight: what the finding means for sending the file, and what to
// do about it where the kind of rule says nothing more. Indexed 0 for E,
// 1 for W.
struct WeightAdvice {
    const char* what;
    const char* fix;
};

inline constexpr WeightAdvice kWeightAdvice[2] = {
    {"Jde o chybu (váha E): soubor s ní neodesílejte.",
     "Údaj opravte ve mzdovém nebo personálním programu, ze kterého soubor pochází (ne v souboru "
     "XML), soubor znovu vyexportujte a znovu ho zkontrolujte."},
    {"Jde o varování (váha W): hodnotu prověřte.",
     "Je-li správná, nechte ji; je-li chybná, opravte ji ve mzdovém nebo personálním programu a "
     "soubor znovu vyexportujte."},
};

// A kind of rule: its key (the page's name for it), what to do, and the codes
// of the findings it gives, separated by blanks. A text of nullptr is the
// verdict's own advice for a file that holds no complete submission
// (src/report/verdict.h), said once there.
struct AdviceKind {
    const char* key;
    const char* text;
    const char* codes;
};

inline constexpr AdviceKind kAdviceKinds[] = {
    {"checkDigit",
     "Poslední z osmi číslic IČO je kontrolní: počítá se z prvních sedmi a tady nesouhlasí, v IČO je "
     "tedy překlep. Porovnejte IČO s dokladem organizace nebo s Registrem organizací, opravte ho ve "
     "mzdovém nebo personálním programu a soubor znovu vyexportujte.",
     "EL031"},
    {"codeList",
     "Hodnota není kódem z číselníku, podle kterého se údaj vyplňuje. Ve mzdovém nebo personálním "
     "programu vyberte platný kód z číselníku a soubor znovu vyexportujte.",
     "EL004 EL046 EL047 EL048 EL055 EL056 EL068"},
    {"register",
     "Kontrola porovnává IČO s registrem, který je součástí této kopie programu (registr předkladatelů "
     "nebo poskytovatelů). Ověřte, že je IČO zapsané správně; je-li správné, obraťte se na úřad, "
     "který kampaň řídí.",
     "ER202 WR204"},
    {"period",
     "Hodnota musí ležet v období kampaně, jak ukazuje sloupec Očekáváno. Ověřte, že byl soubor "
     "vyexportován za správné období, a je-li třeba, vyexportujte ho znovu.",
     "ER209 EL030 ESVYT ES110"},
    {"date",
     "Takové datum v kalendáři není: den neodpovídá měsíci. Opravte datum ve mzdovém nebo "
     "personálním programu a soubor znovu vyexportujte.",
     "EL050"},
    {"sum",
     "Údaj se má rovnat součtu nebo počtu jiných údajů: ve sloupci Hodnota je uvedená hodnota, ve "
     "sloupci Očekáváno to, co spočítala kontrola. Ve mzdovém nebo personálním programu opravte "
     "součet, nebo položku, ze které se počítá, a soubor znovu vyexportujte.",
     "EL015 EL020 EL021 EL022 EL027 EL028"},
    {"sameEmployee",
     "Záznamy téhož zaměstnance (se stejnou identifikací AA0126) se v tomto údaji liší; sloupec "
     "Řádek vypisuje řádky těchto záznamů. Sjednoťte údaj ve všech jeho záznamech, nebo opravte "
     "identifikaci, patří-li záznamy různým zaměstnancům; pak soubor znovu vyexportujte.",
     "EL003"},
    {"duplicateEmployer",
     "Stejný zaměstnavatel (IČO, případně s kódem zařízení) je v kontrolovaných datech vícekrát, "
     "smí tam být jen jednou. Ověřte, že export ani seznam souborů nezahrnuly data téhož "
     "zaměstnavatele dvakrát.",
     "EL074"},
    {"missing",
     "Údaj v souboru chybí: každý údaj musí být v každém záznamu právě jednou. Ověřte, že je ve "
     "mzdovém nebo personálním programu vyplněn, a soubor vyexportujte znovu.",
     "ES303"},
    {"repeated",
     "Údaj je v záznamu uveden vícekrát (kolikrát, ukazuje sloupec Očekáváno), smí být jen jednou. "
     "Vyexportujte soubor znovu; opakuje-li se nález, obraťte se na dodavatele mzdového nebo "
     "personálního programu.",
     "ES304"},
    {"structure",
     "Soubor nemá stavbu, kterou formát ORV předepisuje (prvky XML, jejich názvy a pořadí). Takovou "
     "chybu v datech neopravíte: vyexportujte soubor znovu, a opakuje-li se nález, obraťte se na "
     "dodavatele mzdového nebo personálního programu.",
     "ES100 ES101 ES300 ES301 ES302 ES305 WS102"},
    {"incompleteExport",
     "V souboru chybějí data: ověřte, že export zahrnul všechny zaměstnavatele a jejich zaměstnance, "
     "a vyexportujte soubor znovu.",
     "ES308 ES309"},
    {"noSubmission", nullptr, "ES306"},
};

}  // namespace quelt
