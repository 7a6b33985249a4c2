// The batch program's calls into the operating system: worker processes and
// their pipes, folders, processors and a scratch stream (batch_platform.h).
#include "src/run/batch_platform.h"

#include <cstring>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#ifdef __linux__
#include <sched.h>
#endif
extern char** environ;
#endif

namespace quelt {

#ifdef _WIN32

static_assert(sizeof(OVERLAPPED) <= sizeof(Pracovnik::prekryti));

namespace {

OVERLAPPED* prekryti(Pracovnik& p) { return reinterpret_cast<OVERLAPPED*>(p.prekryti); }

// One argument as the C library of the started program splits its command
// line: in double quotes, a quote escaped, backslashes before a quote doubled.
void pridej_argument(std::string& radek, const std::string& arg) {
    if (!radek.empty()) radek += ' ';
    radek += '"';
    std::size_t lomitek = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++lomitek;
            continue;
        }
        if (c == '"') radek.append(lomitek * 2 + 1, '\\');
        else radek.append(lomitek, '\\');
        lomitek = 0;
        radek += c;
    }
    radek.append(lomitek * 2, '\\');
    radek += '"';
}

}  // namespace

int pocet_procesoru() {
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    return info.dwNumberOfProcessors > 0 ? static_cast<int>(info.dwNumberOfProcessors) : 1;
}

std::string cesta_programu() {
    std::string jmeno(32768, '\0');
    const DWORD n = GetModuleFileNameA(nullptr, jmeno.data(), static_cast<DWORD>(jmeno.size()));
    if (n == 0 || n >= jmeno.size()) return std::string();
    jmeno.resize(n);
    return jmeno;
}

bool spust_pracovnika(const std::string& program, const std::vector<std::string>& argumenty,
                      Pracovnik& p) {
    // The worker's output is a named pipe, so that the batch can wait on the
    // outputs of all its workers at once (overlapped reads); its input an
    // anonymous pipe, written plainly.
    static long cislo = 0;
    const std::string jmeno = "\\\\.\\pipe\\quelt-davka-" + std::to_string(GetCurrentProcessId()) +
                              "-" + std::to_string(++cislo);
    SECURITY_ATTRIBUTES dedi{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE cte = CreateNamedPipeA(jmeno.c_str(),
                                  PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED |
                                      FILE_FLAG_FIRST_PIPE_INSTANCE,
                                  PIPE_TYPE_BYTE | PIPE_WAIT, 1, 0, 1 << 16, 0, nullptr);
    if (cte == INVALID_HANDLE_VALUE) return false;
    HANDLE pise = CreateFileA(jmeno.c_str(), GENERIC_WRITE, 0, &dedi, OPEN_EXISTING, 0, nullptr);
    HANDLE vstup_cte = nullptr;
    HANDLE vstup_pise = nullptr;
    const bool trubky = pise != INVALID_HANDLE_VALUE &&
                        CreatePipe(&vstup_cte, &vstup_pise, &dedi, 1 << 16) &&
                        SetHandleInformation(vstup_pise, HANDLE_FLAG_INHERIT, 0);
    std::string radek;
    pridej_argument(radek, program);
    for (const std::string& a : argumenty) pridej_argument(radek, a);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = vstup_cte;
    si.hStdOutput = pise;
    si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION pi{};
    const bool spusten = trubky && CreateProcessA(program.c_str(), radek.data(), nullptr, nullptr,
                                                  TRUE, 0, nullptr, nullptr, &si, &pi);
    if (pise != INVALID_HANDLE_VALUE) CloseHandle(pise);
    if (vstup_cte != nullptr) CloseHandle(vstup_cte);
    if (!spusten) {
        CloseHandle(cte);
        if (vstup_pise != nullptr) CloseHandle(vstup_pise);
        return false;
    }
    CloseHandle(pi.hThread);
    p.proces = pi.hProcess;
    p.vstup = vstup_pise;
    p.vystup = cte;
    p.udalost = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    p.cteni_bezi = false;
    p.konec = false;
    return true;
}

bool posli_pracovnikovi(Pracovnik& p, const std::string& bytes) {
    std::size_t hotovo = 0;
    while (hotovo < bytes.size()) {
        DWORD n = 0;
        if (!WriteFile(p.vstup, bytes.data() + hotovo, static_cast<DWORD>(bytes.size() - hotovo),
                       &n, nullptr))
            return false;
        hotovo += n;
    }
    return true;
}

int cekej_na_pracovnika(std::vector<Pracovnik>& pracovnici) {
    HANDLE udalosti[kNejvicePracovniku];
    int kdo[kNejvicePracovniku];
    DWORD n = 0;
    for (std::size_t i = 0; i < pracovnici.size(); ++i) {
        Pracovnik& p = pracovnici[i];
        if (p.konec) continue;
        if (!p.cteni_bezi) {
            ResetEvent(p.udalost);
            std::memset(p.prekryti, 0, sizeof p.prekryti);
            prekryti(p)->hEvent = p.udalost;
            if (!ReadFile(p.vystup, p.buffer, sizeof p.buffer, nullptr, prekryti(p)) &&
                GetLastError() != ERROR_IO_PENDING) {
                p.konec = true;
                return static_cast<int>(i);
            }
            p.cteni_bezi = true;
        }
        udalosti[n] = p.udalost;
        kdo[n] = static_cast<int>(i);
        ++n;
    }
    if (n == 0) return -1;
    const DWORD w = WaitForMultipleObjects(n, udalosti, FALSE, INFINITE);
    if (w >= WAIT_OBJECT_0 + n) return -1;
    Pracovnik& p = pracovnici[static_cast<std::size_t>(kdo[w - WAIT_OBJECT_0])];
    DWORD precteno = 0;
    p.cteni_bezi = false;
    if (!GetOverlappedResult(p.vystup, prekryti(p), &precteno, FALSE))
        p.konec = true;
    else
        p.prijato.append(p.buffer, precteno);
    return kdo[w - WAIT_OBJECT_0];
}

void ukonci_pracovnika(Pracovnik& p) {
    if (p.proces == nullptr) return;
    CloseHandle(p.vstup);
    if (p.cteni_bezi) {
        CancelIo(p.vystup);
        DWORD n = 0;
        GetOverlappedResult(p.vystup, prekryti(p), &n, TRUE);
        p.cteni_bezi = false;
    }
    CloseHandle(p.vystup);
    WaitForSingleObject(p.proces, INFINITE);
    CloseHandle(p.proces);
    CloseHandle(p.udalost);
    p.proces = p.vstup = p.vystup = p.udalost = nullptr;
    p.konec = true;
}

void binarni_stdio() {
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
}

bool soubory_ve_slozce(const std::string& slozka, std::vector<std::string>& jmena) {
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA((slozka + "\\*").c_str(), &data);
    if (h == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) jmena.emplace_back(data.cFileName);
    } while (FindNextFileA(h, &data));
    FindClose(h);
    return true;
}

bool je_slozka(const std::string& jmeno) {
    const DWORD a = GetFileAttributesA(jmeno.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool vytvor_slozku(const std::string& jmeno) {
    return CreateDirectoryA(jmeno.c_str(), nullptr) != 0 || je_slozka(jmeno);
}

char oddelovac_slozek() { return '\\'; }

std::FILE* docasny_proud() {
    // The C library's tmpfile() would make its file in the root of the
    // drive, where a clerk may not write: the user's temporary folder, and a
    // file the C library deletes when it is closed ("D").
    char slozka[MAX_PATH + 1];
    char jmeno[MAX_PATH + 1];
    const DWORD n = GetTempPathA(sizeof slozka, slozka);
    if (n == 0 || n > MAX_PATH) return nullptr;
    if (GetTempFileNameA(slozka, "qdv", 0, jmeno) == 0) return nullptr;
    return std::fopen(jmeno, "w+bTD");
}

#else

int pocet_procesoru() {
#ifdef __linux__
    cpu_set_t mnozina;
    if (sched_getaffinity(0, sizeof mnozina, &mnozina) == 0) {
        const int n = CPU_COUNT(&mnozina);
        if (n > 0) return n;
    }
#endif
    const long n = sysconf(_SC_NPROCESSORS_ONLN);
    return n > 0 ? static_cast<int>(n) : 1;
}

std::string cesta_programu() {
#ifdef __linux__
    std::string jmeno(4096, '\0');
    const ssize_t n = readlink("/proc/self/exe", jmeno.data(), jmeno.size());
    if (n > 0 && static_cast<std::size_t>(n) < jmeno.size()) {
        jmeno.resize(static_cast<std::size_t>(n));
        return jmeno;
    }
#endif
    return std::string();
}

bool spust_pracovnika(const std::string& program, const std::vector<std::string>& argumenty,
                      Pracovnik& p) {
    // A worker that died must not end the batch with SIGPIPE on the next
    // write: the write fails instead, and the batch reports the file.
    std::signal(SIGPIPE, SIG_IGN);
    int do_nej[2];
    int od_nej[2];
    if (pipe2(do_nej, O_CLOEXEC) != 0) return false;
    if (pipe2(od_nej, O_CLOEXEC) != 0) {
        close(do_nej[0]);
        close(do_nej[1]);
        return false;
    }
    posix_spawn_file_actions_t akce;
    posix_spawn_file_actions_init(&akce);
    posix_spawn_file_actions_adddup2(&akce, do_nej[0], 0);
    posix_spawn_file_actions_adddup2(&akce, od_nej[1], 1);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : argumenty) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    const int chyba = posix_spawn(&pid, program.c_str(), &akce, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&akce);
    close(do_nej[0]);
    close(od_nej[1]);
    if (chyba != 0) {
        close(do_nej[1]);
        close(od_nej[0]);
        return false;
    }
    p.pid = pid;
    p.vstup = do_nej[1];
    p.vystup = od_nej[0];
    p.konec = false;
    return true;
}

bool posli_pracovnikovi(Pracovnik& p, const std::string& bytes) {
    std::size_t hotovo = 0;
    while (hotovo < bytes.size()) {
        const ssize_t n = write(p.vstup, bytes.data() + hotovo, bytes.size() - hotovo);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        hotovo += static_cast<std::size_t>(n);
    }
    return true;
}

int cekej_na_pracovnika(std::vector<Pracovnik>& pracovnici) {
    std::vector<pollfd> fds;
    std::vector<int> kdo;
    for (std::size_t i = 0; i < pracovnici.size(); ++i) {
        if (pracovnici[i].konec) continue;
        fds.push_back(pollfd{pracovnici[i].vystup, POLLIN, 0});
        kdo.push_back(static_cast<int>(i));
    }
    if (fds.empty()) return -1;
    for (;;) {
        const int n = poll(fds.data(), fds.size(), -1);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return -1;
        for (std::size_t k = 0; k < fds.size(); ++k) {
            if (fds[k].revents == 0) continue;
            Pracovnik& p = pracovnici[static_cast<std::size_t>(kdo[k])];
            char buffer[1 << 16];
            ssize_t r;
            do {
                r = read(p.vystup, buffer, sizeof buffer);
            } while (r < 0 && errno == EINTR);
            if (r <= 0)
                p.konec = true;
            else
                p.prijato.append(buffer, static_cast<std::size_t>(r));
            return kdo[k];
        }
    }
}

void ukonci_pracovnika(Pracovnik& p) {
    if (p.pid < 0) return;
    close(p.vstup);
    close(p.vystup);
    int status;
    while (waitpid(p.pid, &status, 0) < 0 && errno == EINTR) {
    }
    p.pid = -1;
    p.vstup = p.vystup = -1;
    p.konec = true;
}

void binarni_stdio() {}

bool soubory_ve_slozce(const std::string& slozka, std::vector<std::string>& jmena) {
    DIR* d = opendir(slozka.c_str());
    if (d == nullptr) return false;
    while (const dirent* e = readdir(d)) {
        const std::string jmeno = e->d_name;
        if (jmeno == "." || jmeno == "..") continue;
        struct stat st;
        if (stat((slozka + "/" + jmeno).c_str(), &st) == 0 && S_ISREG(st.st_mode))
            jmena.push_back(jmeno);
    }
    closedir(d);
    return true;
}

bool je_slozka(const std::string& jmeno) {
    struct stat st;
    return stat(jmeno.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool vytvor_slozku(const std::string& jmeno) {
    return mkdir(jmeno.c_str(), 0777) == 0 || (errno == EEXIST && je_slozka(jmeno));
}

char oddelovac_slozek() { return '/'; }

std::FILE* docasny_proud() { return std::tmpfile(); }

#endif

}  // namespace quelt
