// The campaign's code lists and registers as constant tables. They are made at
// build time from the text files of the data folder (cmake/codelists.cmake),
// so another campaign's lists need only new files and a rebuild. The build
// has already checked their order: every list but the legal forms and the
// states is ascending without repeats, the legal forms are ascending with
// repeats allowed, and the states keep their own fixed order.
#pragma once

#include <cstdint>

namespace quelt {

// Submitter register: identification numbers, ascending.
extern const std::uint32_t TcisPred[];
extern const int nTcisPred;

// Provider register: providers ascending, and in the parallel column the
// submitter of each (0 for a provider without one).
extern const std::uint32_t TcisPosPre[];
extern const std::uint32_t TcisPrePos[];
extern const int nTcisPosPre;

// Occupation codes, five characters, ascending.
extern const char TcisKzam[][6];
extern const int nTcisKzam;

// Legal-form codes, three characters, ascending, repeats allowed.
extern const char TcisPraf[][4];
extern const int nTcisPraf;

// State codes in their fixed order: positions 0 to 5 are CZ, CZE, 203, SK,
// SVK, 703; a code may occur more than once, its first position counts.
extern const char TcisStat[][4];
extern const int nTcisStat;

// Every distinct state code once, with the position of its first occurrence
// in TcisStat, sorted by code in byte order for bisection.
struct PoziceStatu {
    char kod[4];
    int pozice;
};
extern const PoziceStatu TcisStatPoradi[];
extern const int nTcisStatPoradi;

// District codes, six characters, ascending.
extern const char TcisNuts[][7];
extern const int nTcisNuts;

// Education codes, one character, ascending.
extern const char TcisVzde[][2];
extern const int nTcisVzde;

// Position-in-employment codes, four characters, ascending.
extern const char TcisPosZ[][5];
extern const int nTcisPosZ;

// Kinds of employment relation, one or two characters, ascending.
extern const char TcisDppv[][3];
extern const int nTcisDppv;

}  // namespace quelt
