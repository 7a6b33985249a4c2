// The items of a data file in the Czech words a clerk knows: what an element
// means, as the format describes it. One table for every place that names an
// item to a clerk: the web page's explanation of a finding and the list of
// finding codes (tools/page_texts.cpp, tools/catalogue_table.cpp).
//
// Only the items whose meaning the format states are here; an item it leaves
// without one (about a third of the employee record) is named by its number
// and its part of the file, never by a guessed meaning. Which part an item
// belongs to comes from the definition tables (element_tables.h), and a name
// here that is no element of them stops the build (tools/finding_texts.cpp).
//
// Texts in UTF-8; they are never written into a report.
#pragma once

#include <string_view>

namespace quelt {

struct ItemName {
    std::string_view element;  // the element's name in the file
    const char* czech;         // what it is, in a clerk's words
};

inline constexpr ItemName kItemNames[] = {
    // The submitter header.
    {"rok", "rok"},
    {"AA0226", "sledované období"},
    {"ICOpredkladatele", "IČO předkladatele"},
    {"predkladatel", "název předkladatele"},
    {"autor", "autor"},
    {"mail", "e-mailová adresa"},
    {"telefon", "telefonní číslo"},
    {"vytvoreno", "datum a čas vytvoření souboru"},
    // The employer.
    {"AA0017", "IČO zaměstnavatele"},
    {"AA0113", "kód zařízení"},
    {"AA0019", "kód právní formy"},
    {"AA0179", "územní kód NUTS zaměstnavatele"},
    {"AA0110", "datum"},
    {"AA0116", "rozpočtovaný počet zaměstnanců"},
    {"AA0123", "rozpočet platů na celý rok"},
    {"AA0114", "průměrný přepočtený počet zaměstnanců"},
    {"AA0115", "evidenční počet zaměstnanců"},
    {"AA0118", "vyplacené platy"},
    {"AA0119", "platy vyplacené z mimorozpočtových zdrojů"},
    // The employee record.
    {"AA0126", "identifikace zaměstnance"},
    {"AA0231", "rok narození"},
    {"AA0211", "pohlaví"},
    {"AA0223", "nejvyšší dosažené vzdělání"},
    {"AA0033", "kód státu"},
    {"AA0013", "kód zaměstnání"},
    {"AA0130", "druh pracovněprávního vztahu"},
    {"AA0131", "týdenní pracovní doba v hodinách"},
    {"AA0225", "doba zaměstnání v letech (s AA0216 celková)"},
    {"AA0216", "doba zaměstnání v letech (s AA0225 celková)"},
    {"AA0132", "odpracované hodiny ve sledovaném období"},
    {"AA0134", "neodpracované hodiny s náhradou platu"},
    {"AA0135", "čerpaná dovolená v hodinách"},
    {"AA0136", "průměrný evidenční stav přepočtený"},
    {"AA0137", "evidenční stav k poslednímu dni období (1 = v evidenčním stavu)"},
    {"AA0127", "platová třída"},
    {"AA0128", "platový stupeň"},
    {"AA0129", "kód zvýšení platového tarifu"},
    {"AA0138", "platový tarif"},
    {"AA0139", "osobní příplatek"},
    {"AA0140", "příplatek za vedení"},
    {"AA0144", "plat celkem (součet jedenácti položek)"},
    {"AA0150", "příplatky celkem"},
    {"AA0161", "odměny za pohotovost celkem"},
    {"AA0237", "odměna za pohotovost (část)"},
    {"AA0238", "odměna za pohotovost (část)"},
    {"AA0158", "náhrady celkem"},
    {"AA0159", "náhrada za dovolenou"},
    {"AA0165", "průměrný hodinový výdělek"},
    {"AA0091", "postavení v zaměstnání"},
    {"AA0210", "dny nemoci"},
    {"AA0218", "dny v evidenčním stavu ve sledovaném období"},
    {"AA0219", "dny absence"},
    {"AA0690", "územní kód NUTS zaměstnance"},
};

// The three parts of a data file, indexed as the definition tables are
// (header, employer, employee record), as "where" the item stands.
inline constexpr const char* kPartNames[3] = {
    "v údajích předkladatele",
    "v údajích zaměstnavatele",
    "v záznamu zaměstnance",
};

}  // namespace quelt
