// The console window of the Windows build (console.h): code page, buffer,
// the handler of Ctrl+C and of the closing of the window, and the report's
// place and the wait for Enter at the end.
#include "src/os/console.h"

#include <io.h>
#include <windows.h>

#include "src/os/names.h"

namespace quelt {

namespace {

constexpr UINT kStrankaBehu = 1250;  // the program's texts are Windows-1250

// 64 KB: the progress line of thousands of records reaches the console host
// in a few writes instead of one write per record (per character, even, since
// the formatted print of this build puts out one character at a time).
char buffer_konzole[64 * 1024];

std::FILE* okno = nullptr;   // the console stream while it is a console
UINT puvodni_stranka = 0;    // the console's code page before the run; 0: none to restore

bool is_console(HANDLE h) {
    DWORD mode;
    return h != nullptr && h != INVALID_HANDLE_VALUE && GetConsoleMode(h, &mode) != 0;
}

bool stream_is_console(std::FILE* proud) {
    if (proud == nullptr || _fileno(proud) < 0) return false;
    return is_console(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(proud))));
}

// Processes attached to this console, this one included: 1 when the window was
// opened for this program alone, 0 when it cannot be told.
unsigned long processes_in_console() {
    DWORD seznam[2];
    return GetConsoleProcessList(seznam, 2);
}

void restore_code_page() {
    if (puvodni_stranka != 0) SetConsoleOutputCP(puvodni_stranka);
}

// Ctrl+C, Ctrl+Break, closing the window, logging off: the buffered text is
// shown and the code page given back, then the system ends the process as
// it always did (FALSE: the next handler, the system's own, runs).
BOOL WINAPI on_interruption(DWORD) {
    std::fflush(okno);
    restore_code_page();
    return FALSE;
}

void wait_for_enter() {
    int c;
    do {
        c = std::fgetc(stdin);
    } while (c != '\n' && c != EOF);
}

}  // namespace

void prepare_console(std::FILE* konzole) {
    if (!stream_is_console(konzole)) return;
    okno = konzole;
    std::setvbuf(okno, buffer_konzole, _IOFBF, sizeof buffer_konzole);
    const UINT stranka = GetConsoleOutputCP();
    if (stranka != kStrankaBehu && SetConsoleOutputCP(kStrankaBehu)) puvodni_stranka = stranka;
    SetConsoleCtrlHandler(on_interruption, TRUE);
}

void release_console(int status, const std::string& protokol, const std::string& zaver) {
    if (okno == nullptr) return;
    std::fflush(okno);
    if (waits_for_enter(true, is_console(GetStdHandle(STD_INPUT_HANDLE)), processes_in_console())) {
        const std::string cesta = status == 0 && !protokol.empty() ? os::full_path(protokol) : "";
        std::fputs(closing_lines(true, status, cesta, zaver).c_str(), okno);
        std::fflush(okno);
        wait_for_enter();
    }
    restore_code_page();
    SetConsoleCtrlHandler(on_interruption, FALSE);
}

}  // namespace quelt
