// File identity of two open streams: device and inode on POSIX systems, the
// volume serial number and file index on Windows.
#include "src/run/same_file.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace quelt {

#ifdef _WIN32

bool stejny_soubor(std::FILE* input, std::FILE* output) {
    if (input == nullptr || output == nullptr) return false;
    HANDLE a = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(input)));
    HANDLE b = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(output)));
    if (GetFileType(a) != FILE_TYPE_DISK) return false;
    BY_HANDLE_FILE_INFORMATION ia;
    BY_HANDLE_FILE_INFORMATION ib;
    if (!GetFileInformationByHandle(a, &ia) || !GetFileInformationByHandle(b, &ib)) return false;
    return ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber &&
           ia.nFileIndexHigh == ib.nFileIndexHigh && ia.nFileIndexLow == ib.nFileIndexLow;
}

#else

bool stejny_soubor(std::FILE* input, std::FILE* output) {
    if (input == nullptr || output == nullptr) return false;
    struct stat a {};
    struct stat b {};
    if (fstat(fileno(input), &a) != 0 || fstat(fileno(output), &b) != 0) return false;
    return S_ISREG(a.st_mode) && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

#endif

}  // namespace quelt
