// The batch's command line:
//   quelt-davka [-w] [-a] [-f htm|txt|csv|xml] [-j N] [-t SEKUND] -o SLOZKA JMENO...
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace quelt::batch {

struct Options {
    char format = 'H';        // the reports' format, as the run takes it: 'H', 'T', 'C', 'X'
    bool skip_w = false;      // -w
    bool every_file = false;  // -a: a folder gives all its files, not only .xml ones
    int at_once = 0;          // -j; 0: one a processor
    double time_limit = -1;   // -t, seconds a file; 0: none; negative: by the file's size
    std::string folder;       // -o
    std::vector<std::string> names;
};

// The help, printed by -h and after a wrong switch.
extern const char* const kHelp;

// Reads the arguments after the program's name; a wrong one is said on
// console. Returns -1 to go on, else the exit status (1 after -h, 13).
int read_options(const std::vector<std::string>& arguments, Options& options, std::FILE* console);

// The extension of a report in the format.
const char* extension_of(char format);

}  // namespace quelt::batch
