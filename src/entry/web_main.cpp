// Entry point of the checker in the web page: the same run as the command
// line's, called by the page's worker with the arguments a command line would
// give. Only what a browser needs differently lives here:
// - the console is kept as the screen would show it (a carriage return goes
//   back to the start of its line, a line feed ends it), so the progress line
//   written for every record stays inside WebAssembly and only the finished
//   screen goes to the page;
// - the reader's count of bytes read goes to the page's progress bar;
// - the run's verdict goes to the page as JSON, in the checker's own words,
//   and so does what the run read of the submission, for the page's summary
//   of separate submissions (souhrn.csv).
#include <emscripten.h>

#include <cstdio>
#include <string>

#include "src/report/verdict.h"
#include "src/report/verdict_json.h"
#include "src/run/run.h"
#include "src/state/run_state.h"
#include "src/structure/sections.h"
#include "src/xml/cp1250.h"
#include "src/xml/reader.h"

namespace {

std::string hotove_radky;  // the lines the screen has finished
std::string radek;         // the line the cursor stands in
std::size_t sloupec = 0;   // the cursor's column in it

// The console's bytes as a screen takes them.
ssize_t write_to_screen(void*, const char* buf, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        const char c = buf[i];
        if (c == '\n') {
            hotove_radky += radek;
            hotove_radky += '\n';
            radek.clear();
            sloupec = 0;
        } else if (c == '\r') {
            sloupec = 0;
        } else {
            if (sloupec < radek.size())
                radek[sloupec] = c;
            else
                radek += c;
            ++sloupec;
        }
    }
    return static_cast<ssize_t>(n);
}

// The page's worker sets Module.onRead to pass the count on.
EM_JS(void, hlas_nacteno, (double bytes_read), {
    if (Module["onRead"]) Module["onRead"](bytes_read);
});

void on_block_read(long long bytes_read) { hlas_nacteno(static_cast<double>(bytes_read)); }

std::string obrazovka;
std::string verdikt_json;
std::string prehled_json;

using quelt::append_json_string;

}  // namespace

// The screen after the run: its finished lines and the line of the cursor.
extern "C" EMSCRIPTEN_KEEPALIVE const char* quelt_obrazovka() {
    obrazovka = hotove_radky + radek;
    return obrazovka.c_str();
}

extern "C" EMSCRIPTEN_KEEPALIVE int quelt_obrazovka_delka() {
    return static_cast<int>(hotove_radky.size() + radek.size());
}

// The verdict of the run that just ended with status, as JSON (UTF-8):
// {"verdict": "ok|warnings|errors|incomplete", "word", "headline", "advice"}.
// The page shows the texts as they are; its totals come from the run's own
// report, the note on sample registers from its texts (#page-texts).
extern "C" EMSCRIPTEN_KEEPALIVE const char* quelt_verdikt(int status) {
    verdikt_json = "{";
    quelt::append_verdict_members(verdikt_json, quelt::outcome_of_last_run(status));
    verdikt_json += '}';
    return verdikt_json.c_str();
}

// What the run that just ended read of the submission, as JSON (UTF-8):
// {"submitter": ICOpredkladatele, "employers": every AA0017 joined by ", "
// (at most 2000 characters, then "..."), "records": the employee records}.
// The values are the file's Windows-1250 bytes as read.
extern "C" EMSCRIPTEN_KEEPALIVE const char* quelt_prehled() {
    const quelt::SubmissionSummary& p = quelt::submission_summary();
    prehled_json = "{\"submitter\":";
    append_json_string(prehled_json, quelt::utf8_from_cp1250(p.predkladatel));
    prehled_json += ",\"employers\":";
    append_json_string(prehled_json, quelt::utf8_from_cp1250(p.zamestnavatele));
    prehled_json += ",\"records\":" + std::to_string(p.zaznamu) + "}";
    return prehled_json.c_str();
}

int main(int argc, char** argv) {
    hotove_radky.clear();
    radek.clear();
    sloupec = 0;
    cookie_io_functions_t obrazovka_io{nullptr, write_to_screen, nullptr, nullptr};
    std::FILE* screen = fopencookie(nullptr, "w", obrazovka_io);
    if (screen == nullptr) return 13;
    // One call into the screen per 64 KB instead of one per record.
    std::setvbuf(screen, nullptr, _IOFBF, 1 << 16);
    quelt::konzole = screen;
    quelt::on_bytes_read = on_block_read;
    const int status = quelt::quelt_run(argc - 1, argv + 1);
    std::fclose(screen);
    quelt::konzole = stdout;
    return status;
}
