// The guard of the given files: file identity by name (device and inode on
// POSIX systems, volume serial number and file index on Windows) and the test
// whether a file's start is that of an ORV submission.
#include "src/run/file_guard.h"

#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace quelt {

namespace {

#ifdef _WIN32

// An existing regular file's identity. Opened with no access at all, so that
// nothing is read and nothing locked; a device or folder is no regular file.
struct Identita {
    bool pravidelny = false;
    DWORD svazek = 0, index_horni = 0, index_dolni = 0;
};

Identita identita(const std::string& name) {
    Identita id;
    HANDLE h = CreateFileA(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return id;
    BY_HANDLE_FILE_INFORMATION info;
    if (GetFileType(h) == FILE_TYPE_DISK && GetFileInformationByHandle(h, &info) &&
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        id.pravidelny = true;
        id.svazek = info.dwVolumeSerialNumber;
        id.index_horni = info.nFileIndexHigh;
        id.index_dolni = info.nFileIndexLow;
    }
    CloseHandle(h);
    return id;
}

bool stejna(const Identita& a, const Identita& b) {
    return a.svazek == b.svazek && a.index_horni == b.index_horni && a.index_dolni == b.index_dolni;
}

#else

struct Identita {
    bool pravidelny = false;
    dev_t zarizeni = 0;
    ino_t uzel = 0;
};

// stat follows symbolic links, so a link and its target are one file.
Identita identita(const std::string& name) {
    Identita id;
    struct stat st {};
    if (stat(name.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
        id.pravidelny = true;
        id.zarizeni = st.st_dev;
        id.uzel = st.st_ino;
    }
    return id;
}

bool stejna(const Identita& a, const Identita& b) {
    return a.zarizeni == b.zarizeni && a.uzel == b.uzel;
}

#endif

// ---- The start of a submission ----
// A cursor over the head; every step either moves past one piece of the
// prolog or says that the head ended before the piece did.

bool bily(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool zacina(std::string_view s, std::size_t at, std::string_view what) {
    return s.substr(at).starts_with(what);
}

// Position just past the first `end` at or after at, or npos.
std::size_t za(std::string_view s, std::size_t at, std::string_view end) {
    const std::size_t found = s.find(end, at);
    return found == std::string_view::npos ? found : found + end.size();
}

// Position just past a DOCTYPE that starts at at: its '>' outside quotes and
// outside the internal subset in brackets, whose declarations may hold '>'
// in quotes and in comments of their own.
std::size_t za_doctype(std::string_view s, std::size_t at) {
    int hloubka = 0;
    std::size_t i = at + 2;
    while (i < s.size()) {
        const char c = s[i];
        if (c == '"' || c == '\'') {
            const std::size_t konec = s.find(c, i + 1);
            if (konec == std::string_view::npos) return konec;
            i = konec + 1;
        } else if (hloubka > 0 && zacina(s, i, "<!--")) {
            i = za(s, i + 4, "-->");
            if (i == std::string_view::npos) return i;
        } else {
            if (c == '[') ++hloubka;
            if (c == ']' && hloubka > 0) --hloubka;
            if (c == '>' && hloubka == 0) return i + 1;
            ++i;
        }
    }
    return std::string_view::npos;
}

// The first start tag's local name: the name after '<' up to white space,
// '/' or '>', without the prefix before its last ':'. Empty when the name
// runs past the head.
std::string_view mistni_jmeno(std::string_view s, std::size_t at) {
    std::size_t konec = at + 1;
    while (konec < s.size() && !bily(s[konec]) && s[konec] != '/' && s[konec] != '>') ++konec;
    if (konec == s.size()) return {};
    std::string_view jmeno = s.substr(at + 1, konec - at - 1);
    const std::size_t dvojtecka = jmeno.rfind(':');
    if (dvojtecka != std::string_view::npos) jmeno.remove_prefix(dvojtecka + 1);
    return jmeno;
}

}  // namespace


bool tentyz_jako_nektery(const std::string& name, const std::vector<std::string>& others) {
    const Identita id = identita(name);
    if (!id.pravidelny) return false;
    for (const std::string& other : others) {
        const Identita io = identita(other);
        if (io.pravidelny && stejna(id, io)) return true;
    }
    return false;
}

bool tentyz_soubor(const std::string& a, const std::string& b) {
    return tentyz_jako_nektery(a, {b});
}

bool zacina_jako_podani(std::string_view s) {
    std::size_t i = zacina(s, 0, "\xEF\xBB\xBF") ? 3 : 0;
    while (i != std::string_view::npos && i < s.size()) {
        if (bily(s[i])) {
            ++i;
        } else if (zacina(s, i, "<?")) {
            i = za(s, i + 2, "?>");
        } else if (zacina(s, i, "<!--")) {
            i = za(s, i + 4, "-->");
        } else if (zacina(s, i, "<!DOCTYPE")) {
            i = za_doctype(s, i);
        } else if (s[i] == '<') {
            return mistni_jmeno(s, i) == "ORV";
        } else {
            return false;
        }
    }
    return false;
}

bool je_podani_orv(const std::string& name) {
    if (!identita(name).pravidelny) return false;
    std::FILE* f = std::fopen(name.c_str(), "rb");
    if (f == nullptr) return false;
    std::string head(kHlavaPodani, '\0');
    head.resize(std::fread(head.data(), 1, head.size(), f));
    std::fclose(f);
    return zacina_jako_podani(head);
}

}  // namespace quelt
