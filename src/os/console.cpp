// What the end of a run in a console window of its own shows: plain logic,
// built and tested everywhere (the window itself is console_windows.cpp).
#include "src/os/console.h"

namespace quelt {

bool waits_for_enter(bool output_to_console, bool input_from_console,
                    unsigned long processes_in_console) {
    return output_to_console && input_from_console && processes_in_console == 1;
}

namespace {

constexpr const char* kVyzva = " Stisknete Enter pro ukonceni\n";
constexpr const char* kKdeProtokol = " Protokol je ulozen v souboru ";

}  // namespace

std::string closing_lines(bool cekat, int status, std::string_view report_full_path,
                           std::string_view zaver) {
    if (!cekat) return {};
    std::string radky;
    if (status == 0 && !report_full_path.empty()) {
        radky += kKdeProtokol;
        radky += report_full_path;
        radky += '\n';
    }
    radky += zaver;
    return radky + kVyzva;
}

}  // namespace quelt
