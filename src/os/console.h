// The console window of the Windows build. A clerk who double-clicks
// quelt.exe gets a window of the program's own, which Windows closes the
// moment the run ends; it shows text in its own code page (852 on Czech
// Windows), and the C library writes to it without a buffer. While the
// console stream is such a window, the run gets code page 1250, a buffer of
// its own and, in a window of its own, the full path of the report and a last
// line that waits for Enter. Files, pipes and every other build are left
// exactly as they are. What the end shows is plain logic (console.cpp, built
// and tested everywhere); the window itself is console_windows.cpp, and
// console_posix.cpp has nothing to do.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace quelt {

// Whether the run ends by waiting for Enter: only when the console stream and
// standard input are both the console, and the console holds no other process
// (a window opened for this program alone: Explorer, a shortcut). Started from
// a console or a script, the window stays without it, and nobody may be there
// to press Enter.
bool waits_for_enter(bool output_to_console, bool input_from_console,
                    unsigned long processes_in_console);

// The lines the run adds at its end: nothing unless it waits for Enter; then,
// after a complete run (status 0), where the report is, with its full path,
// because the window closes with the run and a clerk who dropped a file on
// the program has no other way to learn which folder the report went to;
// then the line that waits.
// Just before the wait come the lines of the verdict (zaver), when the caller
// has one: whether the file may be sent, and where to check a file when the
// data file could not be opened.
std::string closing_lines(bool cekat, int status, std::string_view report_full_path,
                           std::string_view zaver = {});

// Before anything is written to the console stream: when it is a Windows
// console, sets code page 1250 and the buffer, and has Ctrl+C, Ctrl+Break and
// the closing of the window flush the stream and restore the code page.
void prepare_console(std::FILE* konzole);

// After the run, whatever its status: flushes the console stream; when the
// window is the program's own, says where the report is (status 0) and
// waits for Enter; restores the code page. protokol: the report's name as
// the run was given it, empty for a program that says where its reports are
// itself (the batch).
// zaver: the verdict's lines said before the wait (empty for the batch, whose
// rows say their own).
void release_console(int status, const std::string& protokol, const std::string& zaver = {});

}  // namespace quelt
