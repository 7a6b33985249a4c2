// The batch's command line (command_line.h). Switches and names may come in
// any order; "-j2", "-fcsv", "-oFOLDER" and "-t5" work as well as "-j 2";
// "--" ends the switches.
#include "src/batch/command_line.h"

#include <cmath>
#include <cstdlib>

#include "src/os/process.h"

namespace quelt::batch {

const char* const kHelp =
    "Volani programu:\n\n"
    "quelt-davka [-w] [-a] [-f htm|txt|csv|xml] [-j N] [-t SEKUND] -o SLOZKA JMENO...\n\n"
    "JMENO    - datovy soubor, nebo slozka: kontroluji se jeji soubory .xml\n"
    "           (bez podslozek) v poradi jmen\n"
    "-o       - slozka pro protokoly a souhrn (souhrn.csv, souhrn.htm);\n"
    "           vytvori se, neni-li\n"
    "-a       - ze slozek vsechny soubory, nejen .xml\n"
    "-f       - format protokolu: htm (vychozi), txt, csv, xml\n"
    "-j       - nejvyse N souboru soucasne (vychozi: pocet procesoru)\n"
    "-t       - casovy limit kontroly jednoho souboru v sekundach\n"
    "           (vychozi: podle velikosti souboru; 0: bez limitu)\n"
    "-w       - potlaceni vystupu chyb vahy W\n"
    "-h       - tato napoveda\n\n"
    "Kazdy soubor je samostatna kontrola; stav 0, kdyz vsechny kontroly\n"
    "dobehly, jinak 13.\n";

namespace {

struct FormatName {
    const char* name;
    char format;
};

// The names -f takes for each format, letter case ignored; a format's first
// name is its reports' extension.
constexpr FormatName kFormats[] = {{"htm", 'H'}, {"txt", 'T'}, {"csv", 'C'}, {"xml", 'X'}, {"html", 'H'}};

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool read_format(const std::string& value, char& format) {
    std::string v;
    for (char c : value) v += lower(c);
    for (const FormatName& f : kFormats) {
        if (v != f.name) continue;
        format = f.format;
        return true;
    }
    return false;
}

bool read_count(const std::string& value, int& count) {
    char* end = nullptr;
    const long n = std::strtol(value.c_str(), &end, 10);
    if (value.empty() || *end != '\0' || n < 1) return false;
    count = static_cast<int>(n < os::kMostWorkers ? n : os::kMostWorkers);
    return true;
}

bool read_seconds(const std::string& value, double& seconds) {
    if (value.empty() || value.find_first_not_of("0123456789.") != std::string::npos) return false;
    char* end = nullptr;
    seconds = std::strtod(value.c_str(), &end);
    return *end == '\0' && std::isfinite(seconds) && seconds <= 1e6;
}

// A switch with a value: sets it, or says what is wrong. Returns false then.
bool read_value(char which, const std::string& value, Options& o, std::FILE* console) {
    switch (which) {
        case 'f':
            if (read_format(value, o.format)) return true;
            std::fprintf(console, " Neznamy format protokolu %s (htm, txt, csv, xml)\n", value.c_str());
            return false;
        case 'j':
            if (read_count(value, o.at_once)) return true;
            std::fprintf(console, " Chybny pocet soucasnych kontrol %s\n", value.c_str());
            return false;
        case 't':
            if (read_seconds(value, o.time_limit)) return true;
            std::fprintf(console, " Chybny casovy limit %s (sekundy, 0: bez limitu)\n", value.c_str());
            return false;
        default:
            o.folder = value;
            return true;
    }
}

int wrong(const std::string& what, std::FILE* console) {
    std::fprintf(console, " %s\n", what.c_str());
    std::fputs(kHelp, console);
    return 13;
}

}  // namespace

int read_options(const std::vector<std::string>& arguments, Options& o, std::FILE* console) {
    bool only_names = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        if (only_names || a.empty() || a[0] != '-') {
            o.names.push_back(a);
            continue;
        }
        const char s = a.size() > 1 ? lower(a[1]) : '\0';
        const bool flag = a.size() == 2;
        if (a == "--") {
            only_names = true;
        } else if (flag && s == 'h') {
            std::fputs(kHelp, console);
            return 1;
        } else if (flag && (s == 'w' || s == 'a')) {
            (s == 'w' ? o.skip_w : o.every_file) = true;
        } else if ((s == 'f' || s == 'j' || s == 'o' || s == 't') && (!flag || i + 1 < arguments.size())) {
            if (!read_value(s, flag ? arguments[++i] : a.substr(2), o, console)) return 13;
        } else {
            return wrong("Chybny parametr " + a, console);
        }
    }
    if (o.folder.empty()) return wrong("Chybi slozka pro protokoly (-o SLOZKA)", console);
    if (o.names.empty()) return wrong("Chybi jmeno souboru nebo slozky ke kontrole", console);
    return -1;
}

const char* extension_of(char format) {
    for (const FormatName& f : kFormats)
        if (f.format == format) return f.name;
    return kFormats[0].name;
}

}  // namespace quelt::batch
