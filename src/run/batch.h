// The batch program quelt-davka: many data files, each checked as a run of
// its own by the same checker, with a report per file and a summary of all.
// Worker processes (batch_platform.h) check several files at a time; each
// worker checks one file after another in-process through quelt_run_souboru.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace quelt {

// One file of the batch: the input as named, its report's name.
struct UlohaDavky {
    std::string vstup;
    std::string zprava;  // empty: no report (a folder that could not be read)
};

// How the check of one file ended, as its summary row shows it.
struct VysledekDavky {
    int status = 13;
    int chyb_E = 0;
    int chyb_W = 0;
    long long zaznamu = 0;
    std::string predkladatel;    // ICOpredkladatele as read
    std::string zamestnavatele;  // AA0017 of the employers as read
    std::string zprava;          // the run's failure message (status 13)
};

// Checks one file in this process, the run's console written to konzole (a
// scratch stream: its last lines give a failure's message).
VysledekDavky zkontroluj_soubor(const UlohaDavky& uloha, char format, bool bez_W,
                                std::FILE* konzole);

// The report names for the inputs, in FOLDER, with the extension: the input's
// name without folder and last extension, "-2", "-3" ... added where two
// would be the same (letter case aside, as on Windows), where the name is an
// input's file or an existing submission, or is one of the summary's names.
std::vector<std::string> nazvy_zprav(const std::vector<std::string>& vstupy,
                                     const std::string& slozka, const std::string& pripona);

// Messages between the batch and its workers: fields, each as its decimal
// length, ':' and its bytes. vezmi_zpravu takes the first message of pocet
// fields off the front of buffer; false (buffer untouched) while incomplete.
std::string zakoduj(const std::vector<std::string>& pole);
bool vezmi_zpravu(std::string& buffer, std::size_t pocet, std::vector<std::string>& pole);

// A summary field quoted as the CSV report quotes it (and a line end too).
std::string pole_csv(const std::string& text);

// The whole batch program with its arguments (after the program's name);
// returns the exit status. program is argv[0], used when the system cannot
// say where this program is.
int quelt_davka(int argc, const char* const* argv, const char* program);

}  // namespace quelt
