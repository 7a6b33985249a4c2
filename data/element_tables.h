// Definition tables of the three sections of an ORV file: the submitter header
// (P), the employer (T) and the employee record (N). One row per element, in
// the binding order that the rules address by row number (the enums below
// name those rows); the last row of each table is its end marker.
//
// Columns: element name, type ('S' text, 'N' whole number, 'R' number with a
// decimal point), least and greatest length, the two bound indexes (0 = no
// range; 1..999 = TValDbl index; 1000 and above = TValChar index + 1000) and
// the finding code of every failed generic check.
#pragma once

#include <string_view>

#include "src/xml/cp1250.h"

namespace quelt {

struct ElementDef {
    std::string_view elem;  // PtabElem / TtabElem / NtabElem
    char typ;               // PTabTyp / TTabTyp / NTabTyp
    int lg_from;            // PtabLgFrom ...
    int lg_to;              // PtabLgTo ...
    int val_from_e;         // PtabValFromE ...
    int val_to_e;           // PtabValToE ...
    const char* err;        // PtabErr / TtabErr / NtabErr
};

// Numeric bounds, addressed by indexes 1..999 of the tables (0 is never a bound).
inline constexpr double TValDbl[26] = {
    0,          999999999, 1,       0,        999999, 1000000000000.0, 0.0001,
    100000000000.0, 1910,   1996,    2,        99,     40,              9999.99,
    16,         12,        3,       -9999999, -99999, -9999,           99999,
    -999990,    -999999,   9999999, 9999,     365,
};

// Text bounds, addressed by indexes 1000.. of the tables. "ý" is byte 253.
inline constexpr const char* TValChar[23] = {
    "2010",                "1-6",                 "0",        "ýýýýýýýýýý"_cp, "+",
    "2010-06-01T00:00:00", "2010-08-31T23:59:59", " ",        "000",           "zzz",
    "CZ0000",              "CZ0999",              "20100601", "20100831",      "zzzzzzzzzz",
    "1",                   "2",                   "A",        "Z",             "004",
    "ZWE",                 "00000",               "zzzzz",
};

// Submitter header rows.
enum PRow : int {
    P_rok, P_AA0226, P_ICOpredkladatele, P_predkladatel, P_autor, P_mail, P_telefon, P_vytvoreno,
    P_END  // "KoNeCP"
};
inline constexpr ElementDef Ptab[P_END + 1] = {
    {"rok", 'S', 4, 4, 1000, 1000, "ER209"},
    {"AA0226", 'S', 3, 3, 1001, 1001, "EL030"},
    {"ICOpredkladatele", 'N', 8, 8, 0, 1, "ESICO"},
    {"predkladatel", 'S', 5, 127, 1002, 1003, "ESPRE"},
    {"autor", 'S', 2, 50, 1002, 1003, "ESAUT"},
    {"mail", 'S', 6, 50, 1002, 1003, "ESEMA"},
    {"telefon", 'S', 9, 50, 1004, 1003, "WSTEL"},
    {"vytvoreno", 'S', 19, 19, 1005, 1006, "ESVYT"},
    {"KoNeCP", ' ', 0, 0, 0, 0, ""},
};
// The header's range check compares texts only: no header row has a numeric
// range (a bound index from 1 to 999).
static_assert([] {
    for (const ElementDef& row : Ptab)
        if (row.val_from_e >= 1 && row.val_from_e < 1000) return false;
    return true;
}());

// Employer rows.
enum TRow : int {
    T_AA0017, T_AA0113, T_AA0019, T_AA0179, T_AA0110, T_AA0116, T_AA0123, T_AA0114, T_AA0115,
    T_AA0118, T_AA0119,
    T_END  // "KoNeCT"
};
inline constexpr ElementDef Ttab[T_END + 1] = {
    {"AA0017", 'N', 8, 8, 2, 1, "ES017"},
    {"AA0113", 'S', 0, 10, 1007, 1003, "ES113"},
    {"AA0019", 'S', 3, 3, 1008, 1009, "ES019"},
    {"AA0179", 'S', 6, 6, 1010, 1011, "ES179"},
    {"AA0110", 'S', 8, 8, 1012, 1013, "ES110"},
    {"AA0116", 'N', 1, 6, 3, 4, "ES116"},
    {"AA0123", 'N', 1, 12, 3, 5, "ES123"},
    {"AA0114", 'R', 1, 11, 6, 7, "EL057"},
    {"AA0115", 'N', 1, 6, 3, 4, "ES115"},
    {"AA0118", 'N', 1, 12, 3, 5, "ES118"},
    {"AA0119", 'N', 1, 12, 3, 5, "ES119"},
    {"KoNeCT", ' ', 0, 0, 0, 0, ""},
};

// Employee record rows.
enum NRow : int {
    N_AA0126, N_AA0231, N_AA0211, N_AA0223, N_AA0033, N_AA0013, N_AA0125, N_AA0130, N_AA0131,
    N_AA0225, N_AA0216, N_AA0132, N_AA0133, N_AA0134, N_AA0135, N_AA0136, N_AA0137, N_AA0127,
    N_AA0128, N_AA0129, N_AA0138, N_AA0139, N_AA0140, N_AA0141, N_AA0142, N_AA0143, N_AA0144,
    N_AA0145, N_AA0146, N_AA0147, N_AA0148, N_AA0160, N_AA0162, N_AA0150, N_AA0239, N_AA0240,
    N_AA0151, N_AA0152, N_AA0153, N_AA0154, N_AA0155, N_AA0156, N_AA0157, N_AA0163, N_AA0161,
    N_AA0237, N_AA0238, N_AA0158, N_AA0159, N_AA0165, N_AA0166, N_AA0167, N_AA0168, N_AA0091,
    N_AA0210, N_AA0218, N_AA0219, N_AA0690,
    N_END  // "KoNeCN"
};
inline constexpr ElementDef Ntab[N_END + 1] = {
    {"AA0126", 'S', 1, 10, 1007, 1014, "ES126"},
    {"AA0231", 'N', 4, 4, 8, 9, "EL002"},
    {"AA0211", 'S', 1, 1, 1015, 1016, "EL032"},
    {"AA0223", 'S', 1, 1, 1017, 1018, "ES223"},
    {"AA0033", 'S', 2, 3, 1019, 1020, "ES033"},
    {"AA0013", 'S', 5, 5, 1021, 1022, "ES013"},
    {"AA0125", 'N', 1, 1, 3, 10, "ES125"},
    {"AA0130", 'N', 1, 2, 3, 11, "ES130"},
    {"AA0131", 'R', 1, 5, 3, 12, "EL005"},
    {"AA0225", 'R', 1, 5, 3, 11, "ES225"},
    {"AA0216", 'R', 1, 6, 3, 11, "ES216"},
    {"AA0132", 'R', 1, 7, 3, 13, "ES132"},
    {"AA0133", 'R', 1, 7, 3, 13, "ES133"},
    {"AA0134", 'R', 1, 7, 3, 13, "ES134"},
    {"AA0135", 'R', 1, 7, 3, 13, "ES135"},
    {"AA0136", 'R', 1, 6, 3, 2, "ES136"},
    {"AA0137", 'N', 1, 1, 2, 10, "ES137"},
    {"AA0127", 'N', 1, 2, 2, 14, "EL044"},
    {"AA0128", 'N', 1, 2, 3, 15, "EL079"},
    {"AA0129", 'N', 1, 1, 3, 16, "EL001"},
    {"AA0138", 'N', 1, 6, 3, 4, "ES138"},
    {"AA0139", 'N', 1, 6, 3, 4, "ES139"},
    {"AA0140", 'N', 1, 6, 3, 4, "ES140"},
    {"AA0141", 'N', 1, 6, 3, 4, "ES141"},
    {"AA0142", 'N', 1, 6, 3, 4, "ES142"},
    {"AA0143", 'N', 1, 6, 3, 4, "ES143"},
    {"AA0144", 'N', 1, 8, 17, 1, "ES144"},
    {"AA0145", 'N', 1, 8, 17, 1, "ES145"},
    {"AA0146", 'N', 1, 6, 18, 4, "ES146"},
    {"AA0147", 'N', 1, 6, 18, 4, "ES147"},
    {"AA0148", 'N', 1, 6, 18, 4, "ES148"},
    {"AA0160", 'N', 1, 6, 18, 4, "ES160"},
    {"AA0162", 'N', 1, 5, 19, 20, "ES162"},
    {"AA0150", 'N', 1, 6, 18, 4, "ES150"},
    {"AA0239", 'N', 1, 6, 18, 4, "ES239"},
    {"AA0240", 'N', 1, 6, 21, 4, "ES240"},
    {"AA0151", 'N', 1, 6, 18, 4, "ES151"},
    {"AA0152", 'N', 1, 6, 18, 4, "ES152"},
    {"AA0153", 'N', 1, 6, 18, 4, "ES153"},
    {"AA0154", 'N', 1, 6, 18, 4, "ES154"},
    {"AA0155", 'N', 1, 6, 18, 4, "ES155"},
    {"AA0156", 'N', 1, 6, 18, 4, "ES156"},
    {"AA0157", 'N', 1, 7, 22, 23, "ES157"},
    {"AA0163", 'N', 1, 6, 18, 4, "ES163"},
    {"AA0161", 'N', 1, 6, 18, 4, "ES161"},
    {"AA0237", 'N', 1, 6, 18, 4, "ES237"},
    {"AA0238", 'N', 1, 6, 18, 4, "ES238"},
    {"AA0158", 'N', 1, 6, 18, 4, "ES158"},
    {"AA0159", 'N', 1, 6, 18, 4, "ES159"},
    {"AA0165", 'R', 1, 7, 3, 13, "ES165"},
    {"AA0166", 'N', 1, 12, 3, 1, "ES166"},
    {"AA0167", 'N', 1, 6, 18, 4, "ES167"},
    {"AA0168", 'N', 1, 6, 18, 4, "ES168"},
    {"AA0091", 'N', 4, 4, 3, 24, "ES091"},
    {"AA0210", 'N', 1, 3, 3, 25, "ES210"},
    {"AA0218", 'N', 1, 3, 3, 25, "ES218"},
    {"AA0219", 'N', 1, 3, 3, 25, "ES219"},
    {"AA0690", 'S', 6, 6, 1010, 1011, "ES690"},
    {"KoNeCN", ' ', 0, 0, 0, 0, ""},
};

}  // namespace quelt
