// Run control: banner, command line, opening of the files in their fixed
// order, the report head, the processing loop over the modes, the sequence
// of input files of a list (the reader's hooks, handed down at the run's
// set-up) and the end of the run: the files closed, the console's totals.
//
// A run-level failure prints its message (and writes it into the report once
// that is open) and the run returns status 13. The end of the input stops the
// loop; the end-of-run handler then runs exactly once.
//
// No input is ever opened for writing: before the report or the output copy
// is opened, the run reads the names of its inputs (the list's once, kept for
// the whole run) and refuses an output that is one of them, or a report name
// that holds an ORV submission. Such a run writes nothing.
#include "src/run/run.h"

#include <cassert>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <new>
#include <string_view>
#include <vector>

#include "src/checks/codebooks.h"
#include "src/checks/field_checks.h"
#include "src/elements/tables.h"
#include "src/os/clock.h"
#include "src/os/files.h"
#include "src/os/names.h"
#include "src/report/catalogue.h"
#include "src/report/report.h"
#include "src/report/verdict.h"
#include "src/rules/employee_register.h"
#include "src/rules/rules.h"
#include "src/run/file_guard.h"
#include "src/state/run_state.h"
#include "src/structure/output_copy.h"
#include "src/structure/sections.h"
#include "src/xml/cp1250.h"
#include "src/xml/helpers.h"
#include "src/xml/reader.h"

namespace quelt {

namespace {

// The list mode, run control's own: no other room reads a list.
std::string s_vstsez;  // the list file
char sw_muf = 'N';     // 'A' list mode

constexpr int kMaxArgument = 60;
constexpr const char* kBlanks77 =
    "                                                                             \r";

std::FILE* linsoub = nullptr;
int fatal_status = 0;  // 13 once a run-level failure ended the input

// A run of the batch checks one regular file, never a list: a pipe or a
// device (a FIFO, /dev/stdin, which in a worker is its own task pipe) is
// refused unread, decided on the file as opened.
bool regular_files_only = false;

// The list's names, read once before any output is opened (a list on a pipe
// cannot be read twice): its first word, then the words up to "...".
std::vector<std::string> list_names;
std::size_t next_name = 0;  // index of the name the next input takes
bool list_read = false;  // the list was opened and its names kept

// The fifteen texts of the help, each printed with one call.
constexpr const char* kHelp[15] = {
    "Volani programu:\n\nQUELT vstup chyby vystup -prepinac\n\n",
    "\nvstup    - uplna cesta ke vstupnimu souboru, max. 60 znaku\n",
    "             neni-li uveden hleda se orv.xml \n",
    "             je-li prni znak @, jedna se o seznam souboru\n",
    "\nchyby    - uplna cesta k chybovemu souboru, max. 60 znaku\n",
    "             neni-li uveden zapisuje se do  orve.htm\n",
    "             pripona urcuje typ .htm - html\n",
    "             pripona urcuje typ .txt - textovy\n",
    "                                .csv - (Excel)\n",
    "                                .xml          \n",
    "\nvystup   - uplna cesta k vystupmu souboru, max. 60 znaku\n",
    "             neni-li uveden, vystupni  se nevytvari\n",
    "\nprepinac - pripustne hodnoty\n",
    "             -w potlaceni vystupu chyb vahy W\n",
    "             -h tato napoveda\n",
};

int pis_napovedu() {
    for (const char* text : kHelp) std::fputs(text, konzole);
    return 1;
}

// A failure's message on the console and, when the report is open, in it
// too; its first line, without the blank before it, is kept for the verdict.
// input_missing: the message says that the data file or the list cannot be
// opened. It takes a plain text, which a run broken off for want of memory
// can give it too.
void say_failure(const char* message, bool input_missing = false) {
    std::fputs(message, konzole);
    if (errsoub != nullptr) std::fputs(message, errsoub);
    const char* words = message + std::strspn(message, " ");
    assert(*words != '\0');  // every message has its words
    note_run_failure(std::string_view(words, std::strcspn(words, "\n")), input_missing);
}

// A failure message made of its format and a file's name, as the system shows
// it.
void print_failure(const char* format, const std::string& jmeno, bool input_missing = false) {
    say_failure(os::message_about(format, jmeno).c_str(), input_missing);
}

constexpr const char* kCannotOpen = " Nelze otevrit soubor  %s\n Program ukoncen\n";
constexpr const char* kCannotRead = " Nelze cist soubor  %s\n Program ukoncen\n";

// An input that is the report or the output copy being written cannot be
// read: every element read from it would write more to it, without end.
bool is_output_file(std::FILE* in) {
    return os::same_open_file(in, errsoub) || os::same_open_file(in, outsoub);
}

// The bytes a list may hold in all: a list of a million names is far below
// it, while a list that never ends (a device such as /dev/zero or
// /dev/urandom named as the list) is refused once it passes it, instead of
// reading forever or filling the memory.
constexpr std::size_t kMaxListBytes = 64u << 20;

// Longest file name any system we run on can open (Windows' long paths).
constexpr std::size_t kMaxListName = 32767;

// Reads the next whitespace-delimited word of the list file. A name is used
// whole; a word longer than any file name is kept as its start and "...",
// which no file can be named, so that its open fails visibly, and the memory
// stays bounded whatever the list holds.
bool next_word(std::string& word, std::size_t& read) {
    int c;
    do {
        c = std::fgetc(linsoub);
        ++read;
    } while (c != EOF && std::isspace(c) && read <= kMaxListBytes);
    if (c == EOF) return false;
    word.clear();
    bool cut = false;
    do {
        if (word.size() < kMaxListName)
            word += static_cast<char>(c);
        else
            cut = true;
        c = std::fgetc(linsoub);
        ++read;
    } while (c != EOF && !std::isspace(c) && read <= kMaxListBytes);
    if (cut) word += "...";
    return true;
}

// A list that Notepad saved as UTF-8 starts with a byte-order mark: the mark
// is no part of the first name, and the names after it are UTF-8.
constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool list_without_end = false;  // the list passed kMaxListBytes

// Opens the list file and keeps its names. False when it cannot be opened.
bool read_list() {
    linsoub = os::open_file(s_vstsez, "r");
    if (linsoub == nullptr) return false;
    // The mark counts only as the file's very first bytes.
    const int first = std::fgetc(linsoub);
    if (first != EOF) std::ungetc(first, linsoub);
    bool mark_possible = first == static_cast<unsigned char>(kBom[0]);
    bool utf8 = false;
    std::string word;
    std::size_t read = 0;
    while (next_word(word, read)) {
        if (read > kMaxListBytes) {
            list_without_end = true;
            break;
        }
        if (mark_possible && word.starts_with(kBom)) {
            utf8 = true;
            word.erase(0, kBom.size());
        }
        mark_possible = false;
        if (word.empty()) continue;
        if (!list_names.empty() && word == "...") break;
        // A name after the mark is UTF-8, as the system's names are held on
        // Windows and as Linux and the browser open them; without it, the
        // bytes of the system's own code page.
        list_names.push_back(utf8 ? word : os::name_from_list_bytes(word));
    }
    std::fclose(linsoub);
    linsoub = nullptr;
    list_read = true;
    return true;
}

// Arguments in order: positional names, -w, -h. Returns -1 to go on, or the
// exit status that ends the run here.
int read_arguments(int argc, const char* const* argv) {
    int positional = 0;
    for (int i = 0; i < argc; ++i) {
        std::string pomstr = argv[i];
        if (os::shown_name(pomstr).size() > kMaxArgument) {
            print_failure(" Délka parametru vetsi nez 60  %s\n Program ukoncen\n"_cp, pomstr);
            return 13;
        }
        if (pomstr.empty() || pomstr[0] != '-') {
            ++positional;
            if (positional == 1) s_vstup = pomstr;
            else if (positional == 2) s_chyby = pomstr;
            else if (positional == 3) s_vystup = pomstr;
            continue;
        }
        if (pomstr.size() > 1 && (pomstr[1] == 'W' || pomstr[1] == 'H'))
            pomstr[1] = static_cast<char>(pomstr[1] - 'A' + 'a');
        if (pomstr == "-w") {
            sw_nepisW = 'A';
        } else if (pomstr == "-h") {
            return pis_napovedu();
        } else {
            print_failure(" Chybny parametr %s\n Program ukoncen\n", pomstr);
            return 13;
        }
    }
    return -1;
}

// The report format from the text after the first '.' of the report's name.
char report_format(const std::string& name) {
    const int dot = jinstr(name.c_str(), '.');
    if (dot == 0) return 'H';
    char pomstr[16];  // at most 10 characters after the dot
    jsubstr(pomstr, name.c_str(), dot + 1, 10);
    for (char* c = pomstr; *c != '\0'; ++c)
        *c = static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));
    const std::string_view ext(pomstr);
    if (ext == "txt") return 'T';
    if (ext == "csv") return 'C';
    if (ext == "xml") return 'X';
    return 'H';
}

// "dd/mm/20yy  hh:mm:ss" from the clock, or from SOURCE_DATE_EPOCH in UTC.
void date_and_time() {
    std::time_t now = std::time(nullptr);
    std::tm parts{};
    const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
    char* end = nullptr;
    long long seconds = epoch != nullptr ? std::strtoll(epoch, &end, 10) : 0;
    if (epoch != nullptr && *epoch != '\0' && end != nullptr && *end == '\0') {
        parts = os::utc_time(static_cast<std::time_t>(seconds));
    } else {
        parts = os::local_time(now);
    }
    auto two = [](int v) { return static_cast<unsigned>((v % 100 + 100) % 100); };
    std::snprintf(s_datetime, sizeof s_datetime, "%02u/%02u/20%02u  %02u:%02u:%02u",
                  two(parts.tm_mday), two(parts.tm_mon + 1), two(parts.tm_year),
                  two(parts.tm_hour), two(parts.tm_min), two(parts.tm_sec));
}

constexpr const char* kIsInput = " Soubor  %s  je vstupem kontroly, neprepisuje se\n Program ukoncen\n";
constexpr const char* kLooksLikeData =
    " Soubor  %s  vypada jako datovy soubor ORV, neprepisuje se\n"
    " Vice souboru najednou zkontroluje quelt-davka (zkontroluj-soubory.cmd)\n"
    " Program ukoncen\n";

// True when the output's name names one of the files the run will read: the
// data file, or the list file, its first name (the parameter itself when the
// list holds none) and its other names up to "...". A list that cannot be
// opened, or a name that names no file, is no such file: their failures come
// at their usual place.
bool is_input(const std::string& vystup) {
    if (sw_muf != 'A') return same_file(vystup, s_vstup);
    if (same_file(vystup, s_vstsez)) return true;
    if (list_names.empty()) return same_file(vystup, s_vstup);
    return same_as_any(vystup, list_names);
}

// Before anything is opened for writing: an output that is an input, or a
// report name that holds an ORV submission (two submissions given as
// "quelt a.xml b.xml"), stops the run with nothing written. The output copy
// is an ORV document by design, so only the report is asked the second
// question; an earlier report of any format is overwritten as always.
// Returns -1 to go on, else the exit status. The message goes to the console
// alone: no report is open.
int guard_inputs() {
    if (!regular_files_only && !s_vstup.empty() && s_vstup[0] == '@') {
        sw_muf = 'A';
        s_vstsez = s_vstup.substr(1);
        read_list();
        if (list_without_end) {
            print_failure(kCannotRead, s_vstsez);
            return 13;
        }
    }
    if (is_input(s_chyby)) {
        print_failure(kIsInput, s_chyby);
        return 13;
    }
    if (is_orv_submission(s_chyby)) {
        print_failure(kLooksLikeData, s_chyby);
        return 13;
    }
    if (s_vystup != "..." && is_input(s_vystup)) {
        print_failure(kIsInput, s_vystup);
        return 13;
    }
    return -1;
}

constexpr const char* kNotAFile =
    " Soubor  %s  neni bezny soubor (roura, zarizeni), necte se\n Program ukoncen\n";

// Opens the data file s_vstup as the reader's input: the first one, or the
// next one of a list. False when it cannot be opened, is no regular file
// where only those are read, or is the report or the output copy being
// written; the failure is reported, after lead on the console (the blanks
// over a progress line).
bool open_data_file(const char* lead) {
    bool not_regular = false;
    std::FILE* in = regular_files_only ? os::open_regular_file(s_vstup, not_regular)
                                       : os::open_file(s_vstup, "rb");
    const char* failure = nullptr;
    if (in == nullptr) {
        failure = not_regular ? kNotAFile : kCannotOpen;
    } else if (is_output_file(in)) {
        std::fclose(in);
        failure = kCannotRead;
    } else {
        open_input(in);
        return true;
    }
    std::fputs(lead, konzole);
    print_failure(failure, s_vstup, failure == kCannotOpen);
    return false;
}

// Opens the report, the output copy, the list and the first input file, in
// this order. Returns -1 when all are open, else the exit status.
int open_files() {
    errsoub = os::open_file(s_chyby, "w");
    if (errsoub == nullptr) {
        print_failure(kCannotOpen, s_chyby);
        return 13;
    }
    if (s_vystup != "...") {
        outsoub = os::open_file(s_vystup, "w");
        if (outsoub == nullptr) {
            print_failure(kCannotOpen, s_vystup);
            return 13;
        }
        sw_vystup = 'A';
    }
    if (sw_muf == 'A') {
        // A list that could not be opened before may be there now (the
        // report or the copy just made it): it is tried once more.
        if (!list_read && !read_list()) {
            print_failure(kCannotOpen, s_vstsez, true);
            return 13;
        }
        // A list read only now was made by this run's outputs, empty, or by
        // another program in between: it is refused all the same.
        if (list_without_end) {  // GCOVR_EXCL_START
            print_failure(kCannotRead, s_vstsez);
            return 13;
        }  // GCOVR_EXCL_STOP
        if (!list_names.empty()) s_vstup = list_names[next_name++];
    }
    return open_data_file("") ? -1 : 13;
}

using Handler = int (*)();

// The handler of a mode. Modes W and K have none: only the end of the input
// sets them, and that ends the processing loop first.
Handler handler_for(char mode) {
    switch (mode) {  // GCOVR_EXCL_BR_LINE: the default, as below
        case 'Z': return zpracuj_ZACp;
        case 'G': return zpracuj_ORVz;
        case 'H': return zpracuj_ORV;
        case 'S': return zpracuj_TELz;
        case 'T': return zpracuj_TEL;
        case 'M': return zpracuj_NECz;
        case 'N': return zpracuj_NEC;
        case 'O': return zpracuj_NECk;
        case 'U': return zpracuj_TELk;
        case 'J': return zpracuj_ORVk;
        case 'I': return zpracuj_ORVm;
        default:  // GCOVR_EXCL_START: W and K, see above
            assert(mode == 'W' || mode == 'K');
            return nullptr;
    }  // GCOVR_EXCL_STOP
}

// Closes the input, and the copy and the report after their last lines.
// Returns the name of the first of them a write failed to, or null.
const char* close_run_files() {
    close_input();
    const char* nezapsano = nullptr;
    if (sw_vystup == 'A') {
        write_copy("</ORV>\n");
        flush_copy();
        sw_vystup = 'N';
        if (!os::close_written(outsoub)) nezapsano = s_vystup.c_str();
    }
    if (!os::close_written(errsoub) && nezapsano == nullptr) nezapsano = s_chyby.c_str();
    return nezapsano;
}

// Mode K, the end of the run: the document's findings, the report's summary
// and totals, the files closed, and the totals on the console. Returns the
// exit status: 0, or 13 when the report or the copy could not be written.
int zpracuj_KONp() {
    check_document_end();
    write_report_end();
    const char* nezapsano = close_run_files();
    std::fputs(kBlanks77, konzole);
    if (nezapsano != nullptr) {
        // The report is closed: the message goes to the console alone.
        print_failure(" Nelze zapsat do souboru  %s\n Program ukoncen\n", nezapsano);
        return 13;
    }
    std::fprintf(konzole, "Celkem chyb vahy E:%8d\n\nCelkem chyb vahy W:%8d\n", sumchybE, sumchybW);
    std::fputs("\nProgram ukoncen normalne\n", konzole);
    return 0;
}

// Closes whatever a failed or finished run left open.
void close_everything() {
    close_input();
    if (linsoub != nullptr) std::fclose(linsoub);
    linsoub = nullptr;
    flush_copy();
    if (outsoub != nullptr) std::fclose(outsoub);
    outsoub = nullptr;
    sw_vystup = 'N';
    if (errsoub != nullptr) std::fclose(errsoub);
    errsoub = nullptr;
}

void print_banner() {
    std::fprintf(konzole, "\nProgram  %s  kontola dat pro ORV\n", kVersion);
    std::fputs("Kontrola datoveho souboru vykazu ORV pred odeslanim\n\n", konzole);
}

// The run after its command line: the names and the report format are set.
int check();

int run(int argc, const char* const* argv) {
    print_banner();
    const int args = read_arguments(argc, argv);
    if (args >= 0) return args;
    sw_err = report_format(s_chyby);
    return check();
}

int check() {
    const int guarded = guard_inputs();
    if (guarded >= 0) return guarded;
    const int opened = open_files();
    if (opened >= 0) return opened;

    date_and_time();
    write_report_head();
    rezim_zprac = 'Z';

    while (sw_konec != 'A') {
        const Handler handler = handler_for(rezim_zprac);
        if (handler == nullptr) break;  // GCOVR_EXCL_BR_LINE: W and K come with the input's end
        handler();
    }
    assert(sw_konec == 'A');

    if (fatal_status != 0) return fatal_status;
    rezim_zprac = 'K';
    return zpracuj_KONp();
}

int konec_vstupu();
void read_failure();

}  // namespace

void reset_run_state() {
    reset_shared_state();
    s_vstsez.clear();
    sw_muf = 'N';
    linsoub = nullptr;
    fatal_status = 0;
    list_names.clear();
    next_name = 0;
    list_read = false;
    list_without_end = false;
    regular_files_only = false;
    reset_report();
    reset_verdict();
    reset_catalogue();
    reset_tables();
    reset_reader();
    set_reader_hooks(ReaderHooks{konec_vstupu, read_failure});
    reset_sections();
    reset_output_copy();
    reset_register();
    reset_codebooks();
    reset_field_checks();
    reset_employer_rules();
    reset_employee_rules();
}

namespace {

// The reader's end_of_file hook: at the end of the current file, the next
// file of a list goes on as one stream (0), or the input ends (-1).
int konec_vstupu() {
    if (sw_muf != 'A') {
        rezim_zprac = 'K';
        sw_konec = 'A';
        return -1;
    }
    close_input();
    if (next_name == list_names.size()) {
        s_vstup = "...";
        rezim_zprac = 'K';
        sw_konec = 'A';
        return -1;
    }
    s_vstup = list_names[next_name++];
    if (open_data_file(kBlanks77)) return 0;
    fatal_status = 13;
    sw_konec = 'A';
    return -1;
}

// The reader's read_error hook: a file that cannot be read (a folder, an I/O
// error) ends the run with its message and status 13.
void read_failure() {
    std::fputs(kBlanks77, konzole);
    print_failure(kCannotRead, s_vstup);
    fatal_status = 13;
    sw_konec = 'A';
}

// A run that an exception broke off (memory ran out) ends as any run-level
// failure does: its message on the console and in the report, status 13.
// Plain texts, not print_failure's std::string: there may be no memory for one.
int broken_off_run(const char* message) {
    std::fputs(kBlanks77, konzole);
    say_failure(message);
    return 13;
}

// In the fuzz build an exception that escapes the run, other than memory
// running out, is a fault to be found, not a failure to report: it goes on
// and ends the fuzzer.
#ifdef QUELT_FUZZ_BUILD
constexpr bool kVyjimkaKonciProgram = true;
#else
constexpr bool kVyjimkaKonciProgram = false;
#endif

// Runs one check from a clean state, whatever way it ends.
template <typename Beh>
int guarded_run(Beh beh) {
    int status;
    try {
        reset_run_state();
        status = beh();
    } catch (const std::bad_alloc&) {
        status = broken_off_run(" Nedostatek pameti pro kontrolu\n Program ukoncen\n");
    } catch (...) {  // GCOVR_EXCL_START: only memory running out throws
        if (kVyjimkaKonciProgram) throw;
        assert(!"only memory running out throws");
        status = broken_off_run(" Vnitrni chyba programu\n Program ukoncen\n");
    }  // GCOVR_EXCL_STOP
    close_everything();
    std::fflush(konzole);
    return status;
}

}  // namespace

int quelt_run(int argc, const char* const* argv) {
    return guarded_run([&] { return run(argc, argv); });
}

int quelt_run_file(const std::string& vstup, const std::string& chyby, char format,
                      bool bez_W) {
    return guarded_run([&] {
        print_banner();
        regular_files_only = true;
        s_vstup = vstup;
        s_chyby = chyby;
        if (bez_W) sw_nepisW = 'A';
        sw_err = format;
        return check();
    });
}

}  // namespace quelt
