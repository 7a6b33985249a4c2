// The console window of the Windows build. A clerk who double-clicks
// quelt.exe gets a window of the program's own, which Windows closes the
// moment the run ends; it shows text in its own code page (852 on Czech
// Windows), and the C library writes to it without a buffer. While the
// console stream is such a window, the run gets code page 1250, a buffer of
// its own and, in a window of its own, a last line that waits for Enter.
// Files, pipes and every other build are left exactly as they are.
#pragma once

#include <cstdio>

namespace quelt {

// Whether the run ends by waiting for Enter: only when the console stream and
// standard input are both the console, and the console holds no other process
// (a window opened for this program alone: Explorer, a shortcut). Started from
// a console or a script, the window stays without it, and nobody may be there
// to press Enter.
bool cekat_na_enter(bool vystup_do_konzole, bool vstup_z_konzole,
                    unsigned long procesu_v_konzoli);

// Before anything is written to the console stream: when it is a Windows
// console, sets code page 1250 and the buffer, and has Ctrl+C, Ctrl+Break and
// the closing of the window flush the stream and restore the code page.
void priprav_konzoli(std::FILE* konzole);

// After the run, whatever its status: flushes the console stream, waits for
// Enter when the window is the program's own, restores the code page.
void uvolni_konzoli();

}  // namespace quelt
