// What the batch program needs of the operating system, in one place: its
// worker processes and their pipes, the listing and making of folders, the
// number of processors, and a scratch stream for a run's console. POSIX
// systems use posix_spawn, pipes and poll; Windows uses CreateProcess and
// named pipes read with overlapped I/O. Nothing here knows the checker.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

namespace quelt {

// A worker process: this program started again with the worker switch, its
// standard input and output pipes to the batch.
struct Pracovnik {
    std::string prijato;      // bytes read from it and not yet taken
    bool konec = false;       // its output has ended (it exited or died)
#ifdef _WIN32
    void* proces = nullptr;   // HANDLE
    void* vstup = nullptr;    // HANDLE: the batch writes here
    void* vystup = nullptr;   // HANDLE: the batch reads here (overlapped)
    void* udalost = nullptr;  // HANDLE: signalled when a read ends
    bool cteni_bezi = false;  // an overlapped read is pending
    char buffer[4096];
    unsigned char prekryti[64];  // OVERLAPPED, kept opaque here
#else
    int pid = -1;
    int vstup = -1;
    int vystup = -1;
#endif
};

// The most workers the batch starts (Windows waits on at most 64 objects).
constexpr int kNejvicePracovniku = 64;

// Processors this process may use (at least 1).
int pocet_procesoru();

// This program's own file, to start it again as a worker; empty when unknown.
std::string cesta_programu();

// Starts program with the arguments (each passed whole). False when it could
// not be started.
bool spust_pracovnika(const std::string& program, const std::vector<std::string>& argumenty,
                      Pracovnik& p);

// Writes all the bytes to the worker's input. False when it is gone.
bool posli_pracovnikovi(Pracovnik& p, const std::string& bytes);

// Waits until one of the workers that have not ended has sent bytes or ended;
// appends what came to its prijato (or sets konec) and returns its index.
// -1 when every worker has ended.
int cekej_na_pracovnika(std::vector<Pracovnik>& pracovnici);

// Closes the worker's input (it then ends) and waits for it to exit.
void ukonci_pracovnika(Pracovnik& p);

// In a worker: standard input and output carry bytes as they are (Windows
// would translate line ends).
void binarni_stdio();

// The names of the regular files of a folder (no sub-folders), not sorted.
// False when the folder cannot be read.
bool soubory_ve_slozce(const std::string& slozka, std::vector<std::string>& jmena);

// Whether the name is an existing folder.
bool je_slozka(const std::string& jmeno);

// Makes the folder when it does not exist (its parent must). False on failure.
bool vytvor_slozku(const std::string& jmeno);

// The separator put between a folder and a name.
char oddelovac_slozek();

// A scratch stream, read and write, that goes away when closed: a run's
// console is written there, so that the batch can read its last lines.
std::FILE* docasny_proud();

}  // namespace quelt
