// The batch program quelt-davka: the command line, the list of files (a
// folder's regular files in name order), the report names, the worker
// processes that check the files, the console line per finished file and
// the summary (souhrn.csv, souhrn.htm).
//
// Each file is checked by quelt_run_souboru, so its report is the one
// `quelt NAME REPORT` writes. The checker's state is global: a process
// checks one file at a time, and a worker checks one file after another,
// every run starting from the reset of all state.
#include "src/run/batch.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <set>

#include "src/report/report.h"
#include "src/run/batch_platform.h"
#include "src/run/file_guard.h"
#include "src/run/run.h"
#include "src/state/run_state.h"
#include "src/structure/sections.h"
#include "src/xml/cp1250.h"

namespace quelt {

namespace {

constexpr const char* kSouhrnCsv = "souhrn.csv";
constexpr const char* kSouhrnHtm = "souhrn.htm";
constexpr const char* kPracovnikSwitch = "--pracovnik";
constexpr std::size_t kPoliUlohy = 3;     // index, input, report
constexpr std::size_t kPoliVysledku = 8;  // index, status, E, W, records, submitter, employers, message

constexpr const char* kNapoveda =
    "Volani programu:\n\n"
    "quelt-davka [-w] [-f htm|txt|csv|xml] [-j N] -o SLOZKA JMENO...\n\n"
    "JMENO    - datovy soubor, nebo slozka: kontroluji se jeji soubory\n"
    "           (bez podslozek) v poradi jmen\n"
    "-o       - slozka pro protokoly a souhrn (souhrn.csv, souhrn.htm);\n"
    "           vytvori se, neni-li\n"
    "-f       - format protokolu: htm (vychozi), txt, csv, xml\n"
    "-j       - nejvyse N souboru soucasne (vychozi: pocet procesoru)\n"
    "-w       - potlaceni vystupu chyb vahy W\n"
    "-h       - tato napoveda\n\n"
    "Kazdy soubor je samostatna kontrola; stav 0, kdyz vsechny kontroly\n"
    "dobehly, jinak 13.\n";

// The options of one batch.
struct Volby {
    char format = 'H';
    bool bez_W = false;
    int soucasne = 0;  // 0: one a processor
    std::string slozka;
    std::vector<std::string> jmena;
};

const char* pripona(char format) {
    switch (format) {
        case 'T': return "txt";
        case 'C': return "csv";
        case 'X': return "xml";
        default: return "htm";
    }
}

std::string spoj(const std::string& slozka, const std::string& jmeno) {
    if (slozka.empty()) return jmeno;
    const char last = slozka.back();
    if (last == '/' || last == oddelovac_slozek() || (oddelovac_slozek() == '\\' && last == ':'))
        return slozka + jmeno;
    return slozka + oddelovac_slozek() + jmeno;
}

// The name without its folder.
std::string bez_slozky(const std::string& jmeno) {
    const char* konce = oddelovac_slozek() == '\\' ? "/\\:" : "/";
    const std::size_t i = jmeno.find_last_of(konce);
    return i == std::string::npos ? jmeno : jmeno.substr(i + 1);
}

std::string male(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Reads the command line. Returns -1 to go on, else the exit status.
int cti_volby(int argc, const char* const* argv, Volby& v) {
    bool jen_jmena = false;
    for (int i = 0; i < argc; ++i) {
        const std::string a = argv[i];
        if (jen_jmena || a.empty() || a[0] != '-') {
            v.jmena.push_back(a);
            continue;
        }
        std::string s = male(a);
        // "-j2" as "-j 2": the value of -f, -j, -o may stand beside it.
        std::string hodnota;
        if (s.size() > 2 && (s[1] == 'f' || s[1] == 'j' || s[1] == 'o') && s[0] == '-') {
            hodnota = a.substr(2);
            s.resize(2);
        } else if (i + 1 < argc) {
            hodnota = argv[i + 1];
        }
        const bool vedle = a.size() > 2;
        const bool ma_hodnotu = vedle || i + 1 < argc;
        auto vezmi = [&] {
            if (!vedle) ++i;
            return hodnota;
        };
        if (s == "--") {
            jen_jmena = true;
        } else if (s == "-w") {
            v.bez_W = true;
        } else if (s == "-h") {
            std::fputs(kNapoveda, konzole);
            return 1;
        } else if (s == "-f" && ma_hodnotu) {
            const std::string f = male(vezmi());
            if (f == "htm" || f == "html") v.format = 'H';
            else if (f == "txt") v.format = 'T';
            else if (f == "csv") v.format = 'C';
            else if (f == "xml") v.format = 'X';
            else {
                std::fprintf(konzole, " Neznamy format protokolu %s (htm, txt, csv, xml)\n",
                             f.c_str());
                return 13;
            }
        } else if (s == "-j" && ma_hodnotu) {
            const std::string n_text = vezmi();
            char* konec = nullptr;
            const long n = std::strtol(n_text.c_str(), &konec, 10);
            if (n_text.empty() || *konec != '\0' || n < 1) {
                std::fprintf(konzole, " Chybny pocet soucasnych kontrol %s\n", n_text.c_str());
                return 13;
            }
            v.soucasne = static_cast<int>(std::min<long>(n, kNejvicePracovniku));
        } else if (s == "-o" && ma_hodnotu) {
            v.slozka = vezmi();
        } else {
            std::fprintf(konzole, " Chybny parametr %s\n", a.c_str());
            std::fputs(kNapoveda, konzole);
            return 13;
        }
    }
    if (v.slozka.empty() || v.jmena.empty()) {
        std::fputs(v.slozka.empty() ? " Chybi slozka pro protokoly (-o SLOZKA)\n"
                                    : " Chybi jmeno souboru nebo slozky ke kontrole\n",
                   konzole);
        std::fputs(kNapoveda, konzole);
        return 13;
    }
    return -1;
}

// The inputs: each name that is a folder stands for its regular files in
// name order; any other name is an input as it is (a missing one too: its
// row says so). A folder that cannot be read is a row of its own.
void rozbal_jmena(const std::vector<std::string>& jmena, std::vector<std::string>& vstupy,
                  std::vector<bool>& necitelna_slozka) {
    for (const std::string& jmeno : jmena) {
        if (!je_slozka(jmeno)) {
            // A first '@' would make the run read the file as a list of files.
            vstupy.push_back(jmeno[0] == '@' ? spoj(".", jmeno) : jmeno);
            necitelna_slozka.push_back(false);
            continue;
        }
        std::vector<std::string> soubory;
        if (!soubory_ve_slozce(jmeno, soubory)) {
            vstupy.push_back(jmeno);
            necitelna_slozka.push_back(true);
            continue;
        }
        std::sort(soubory.begin(), soubory.end());
        for (const std::string& s : soubory) {
            vstupy.push_back(spoj(jmeno, s));
            necitelna_slozka.push_back(false);
        }
    }
}

// Makes the folder and the folders above it that are missing.
bool vytvor_cestu(const std::string& slozka) {
    if (je_slozka(slozka)) return true;
    for (std::size_t i = 1; i < slozka.size(); ++i) {
        const char c = slozka[i];
        if (c != '/' && c != oddelovac_slozek()) continue;
        const std::string cast = slozka.substr(0, i);
        if (cast.back() != ':' && !je_slozka(cast) && !vytvor_slozku(cast)) return false;
    }
    return vytvor_slozku(slozka);
}

// The message of a failed run: the last line its console got before the
// closing " Program ukoncen".
std::string zprava_konzole(std::FILE* konzole, long konec) {
    const long zacatek = std::max(0L, konec - 1024);
    std::string text(static_cast<std::size_t>(konec - zacatek), '\0');
    if (std::fseek(konzole, zacatek, SEEK_SET) != 0) return std::string();
    text.resize(std::fread(text.data(), 1, text.size(), konzole));
    const std::size_t cr = text.find_last_of('\r');
    if (cr != std::string::npos) text.erase(0, cr + 1);
    const std::string konec_behu = "\n Program ukoncen\n";
    if (text.size() >= konec_behu.size() &&
        text.compare(text.size() - konec_behu.size(), konec_behu.size(), konec_behu) == 0)
        text.resize(text.size() - konec_behu.size());
    const std::size_t radek = text.find_last_of('\n');
    if (radek != std::string::npos) text.erase(0, radek + 1);
    const std::size_t a = text.find_first_not_of(' ');
    if (a == std::string::npos) return std::string();
    return text.substr(a, text.find_last_not_of(' ') - a + 1);
}

}  // namespace

VysledekDavky zkontroluj_soubor(const UlohaDavky& uloha, char format, bool bez_W,
                                std::FILE* konzole_behu) {
    VysledekDavky v;
    if (uloha.zprava.empty()) {
        v.zprava = "Nelze cist slozku  " + uloha.vstup;
        return v;
    }
    std::FILE* puvodni = konzole;
    konzole = konzole_behu;
    std::rewind(konzole_behu);
    v.status = quelt_run_souboru(uloha.vstup, uloha.zprava, format, bez_W);
    const long konec = std::ftell(konzole_behu);
    konzole = puvodni;
    v.chyb_E = sumchybE;
    v.chyb_W = sumchybW;
    const PrehledPodani& p = prehled_podani();
    v.zaznamu = p.zaznamu;
    v.predkladatel = p.predkladatel;
    v.zamestnavatele = p.zamestnavatele;
    if (v.status != 0) v.zprava = konec > 0 ? zprava_konzole(konzole_behu, konec) : std::string();
    return v;
}

std::vector<std::string> nazvy_zprav(const std::vector<std::string>& vstupy,
                                     const std::string& slozka, const std::string& pripona) {
    std::set<std::string> pouzite = {kSouhrnCsv, kSouhrnHtm};
    std::vector<std::string> nazvy;
    for (const std::string& vstup : vstupy) {
        std::string zaklad = bez_slozky(vstup);
        const std::size_t tecka = zaklad.rfind('.');
        if (tecka != std::string::npos && tecka > 0) zaklad.resize(tecka);
        if (zaklad.empty() || zaklad == "." || zaklad == "..") zaklad = "soubor";
        for (int k = 1;; ++k) {
            std::string jmeno = zaklad;
            if (k > 1) jmeno.append("-").append(std::to_string(k));
            jmeno.append(".").append(pripona);
            if (pouzite.count(male(jmeno)) != 0) continue;
            const std::string cesta = spoj(slozka, jmeno);
            // An existing file of that name: never an input, never a
            // submission (a report of an earlier batch is written again).
            if (je_slozka(cesta) || je_podani_orv(cesta) || tentyz_jako_nektery(cesta, vstupy))
                continue;
            pouzite.insert(male(jmeno));
            nazvy.push_back(cesta);
            break;
        }
    }
    return nazvy;
}

std::string zakoduj(const std::vector<std::string>& pole) {
    std::string out;
    for (const std::string& p : pole) {
        out += std::to_string(p.size());
        out += ':';
        out += p;
    }
    return out;
}

bool vezmi_zpravu(std::string& buffer, std::size_t pocet, std::vector<std::string>& pole) {
    std::vector<std::string> nalezeno;
    std::size_t i = 0;
    while (nalezeno.size() < pocet) {
        const std::size_t dvojtecka = buffer.find(':', i);
        if (dvojtecka == std::string::npos) return false;
        std::size_t delka = 0;
        for (std::size_t k = i; k < dvojtecka; ++k) {
            if (!std::isdigit(static_cast<unsigned char>(buffer[k])) || dvojtecka - i > 12)
                return false;
            delka = delka * 10 + static_cast<std::size_t>(buffer[k] - '0');
        }
        if (buffer.size() - (dvojtecka + 1) < delka) return false;
        nalezeno.push_back(buffer.substr(dvojtecka + 1, delka));
        i = dvojtecka + 1 + delka;
    }
    buffer.erase(0, i);
    pole = std::move(nalezeno);
    return true;
}

std::string pole_csv(const std::string& text) {
    if (text.find_first_of(";\"\r\n") == std::string::npos) return text;
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

namespace {

// ---- workers -------------------------------------------------------------

// A worker's life: reads a task, checks the file, writes the result, until
// its input ends.
bool cti_pole(std::string& pole) {
    std::size_t delka = 0;
    int c;
    int cislic = 0;
    while ((c = std::getchar()) != ':') {
        if (c == EOF || !std::isdigit(c) || ++cislic > 12) return false;
        delka = delka * 10 + static_cast<std::size_t>(c - '0');
    }
    pole.resize(delka);
    return std::fread(pole.data(), 1, delka, stdin) == delka;
}

std::string vysledek_zpravou(const std::string& index, const VysledekDavky& v) {
    return zakoduj({index, std::to_string(v.status), std::to_string(v.chyb_E),
                    std::to_string(v.chyb_W), std::to_string(v.zaznamu), v.predkladatel,
                    v.zamestnavatele, v.zprava});
}

VysledekDavky vysledek_ze_zpravy(const std::vector<std::string>& pole) {
    VysledekDavky v;
    v.status = std::atoi(pole[1].c_str());
    v.chyb_E = std::atoi(pole[2].c_str());
    v.chyb_W = std::atoi(pole[3].c_str());
    v.zaznamu = std::atoll(pole[4].c_str());
    v.predkladatel = pole[5];
    v.zamestnavatele = pole[6];
    v.zprava = pole[7];
    return v;
}

int pracuj(int argc, const char* const* argv) {
    if (argc < 3) return 13;
    const char format = argv[1][0];
    const bool bez_W = argv[2][0] == '1';
    binarni_stdio();
    std::FILE* scratch = docasny_proud();
    if (scratch == nullptr) return 13;
    // Standard output carries the results alone: nothing of a run goes there.
    konzole = scratch;
    std::string pole[kPoliUlohy];
    for (;;) {
        for (std::string& p : pole)
            if (!cti_pole(p)) {
                std::fclose(scratch);
                return 0;
            }
        const VysledekDavky v = zkontroluj_soubor(UlohaDavky{pole[1], pole[2]}, format, bez_W,
                                                  scratch);
        const std::string zprava = vysledek_zpravou(pole[0], v);
        std::fwrite(zprava.data(), 1, zprava.size(), stdout);
        std::fflush(stdout);
    }
}

// ---- the batch -----------------------------------------------------------

struct Davka {
    Volby volby;
    std::vector<UlohaDavky> ulohy;
    std::vector<VysledekDavky> vysledky;
    std::size_t hotovo = 0;
};

// The console line of a finished file.
void ohlas_hotovy(Davka& d, std::size_t i) {
    ++d.hotovo;
    const VysledekDavky& v = d.vysledky[i];
    const UlohaDavky& u = d.ulohy[i];
    std::fprintf(konzole, "[%zu/%zu] %s: ", d.hotovo, d.ulohy.size(), u.vstup.c_str());
    if (v.status == 0)
        std::fprintf(konzole, "chyb E %d, chyb W %d, protokol %s\n"_cp, v.chyb_E, v.chyb_W,
                     u.zprava.c_str());
    else
        std::fprintf(konzole, "neúplná kontrola (stav %d): %s%s%s\n"_cp, v.status,
                     v.zprava.c_str(), u.zprava.empty() ? "" : ", protokol "_cp,
                     u.zprava.c_str());
    std::fflush(konzole);
}

// Every file in this process, one after another.
void zkontroluj_zde(Davka& d, std::size_t od) {
    std::FILE* scratch = docasny_proud();
    for (std::size_t i = od; i < d.ulohy.size(); ++i) {
        if (scratch == nullptr) {
            d.vysledky[i].zprava = "Nelze vytvorit pomocny soubor";
        } else {
            d.vysledky[i] = zkontroluj_soubor(d.ulohy[i], d.volby.format, d.volby.bez_W, scratch);
        }
        ohlas_hotovy(d, i);
    }
    if (scratch != nullptr) std::fclose(scratch);
}

// The files over worker processes: each worker gets the next file when it
// reports the last one. A worker that ends without its result (it crashed)
// leaves a failed row, and another takes its place.
void zkontroluj_pracovniky(Davka& d, int pocet, const std::string& program) {
    const std::vector<std::string> argumenty = {kPracovnikSwitch, std::string(1, d.volby.format),
                                                d.volby.bez_W ? "1" : "0"};
    // Sized once: a pending read on Windows points into its element.
    std::vector<Pracovnik> pracovnici(static_cast<std::size_t>(pocet));
    std::vector<long> prace(pracovnici.size(), -1);  // file each worker checks
    std::size_t dalsi = 0;

    auto zadej = [&](std::size_t k) {
        while (dalsi < d.ulohy.size()) {
            const std::size_t i = dalsi++;
            const UlohaDavky& u = d.ulohy[i];
            if (u.zprava.empty()) {  // nothing to check: the row is known
                d.vysledky[i] = zkontroluj_soubor(u, d.volby.format, d.volby.bez_W, nullptr);
                ohlas_hotovy(d, i);
                continue;
            }
            if (posli_pracovnikovi(pracovnici[k], zakoduj({std::to_string(i), u.vstup, u.zprava}))) {
                prace[k] = static_cast<long>(i);
                return;
            }
            d.vysledky[i].zprava = "Kontrolu nelze predat pracovnimu procesu";
            ohlas_hotovy(d, i);
        }
        prace[k] = -1;
        ukonci_pracovnika(pracovnici[k]);
    };

    int bezi = 0;
    for (std::size_t k = 0; k < pracovnici.size(); ++k) {
        if (spust_pracovnika(program, argumenty, pracovnici[k])) {
            ++bezi;
            zadej(k);
        } else {
            pracovnici[k].konec = true;
        }
    }
    for (;;) {
        const int k = cekej_na_pracovnika(pracovnici);
        if (k < 0) break;
        Pracovnik& p = pracovnici[static_cast<std::size_t>(k)];
        std::vector<std::string> pole;
        while (vezmi_zpravu(p.prijato, kPoliVysledku, pole)) {
            const std::size_t i = static_cast<std::size_t>(std::atol(pole[0].c_str()));
            if (i >= d.ulohy.size() || static_cast<long>(i) != prace[static_cast<std::size_t>(k)])
                continue;
            d.vysledky[i] = vysledek_ze_zpravy(pole);
            ohlas_hotovy(d, i);
            zadej(static_cast<std::size_t>(k));
        }
        if (!p.konec) continue;
        const long rozdelana = prace[static_cast<std::size_t>(k)];
        ukonci_pracovnika(p);
        if (rozdelana < 0) continue;
        prace[static_cast<std::size_t>(k)] = -1;
        d.vysledky[static_cast<std::size_t>(rozdelana)].zprava =
            "Kontrola souboru nedobehla (pracovni proces skoncil)";
        ohlas_hotovy(d, static_cast<std::size_t>(rozdelana));
        p = Pracovnik{};
        if (dalsi < d.ulohy.size() && spust_pracovnika(program, argumenty, p))
            zadej(static_cast<std::size_t>(k));
        else
            p.konec = true;
    }
    // Files no worker could take (none could be started): checked here.
    if (dalsi < d.ulohy.size()) zkontroluj_zde(d, dalsi);
}

// ---- the summary ---------------------------------------------------------

// The cells of a row: file, submitter, employers, records, E, W, status,
// message, report. A run that did not end has no counts.
std::vector<std::string> bunky(const UlohaDavky& u, const VysledekDavky& v) {
    const bool uplna = v.status == 0;
    return {u.vstup,
            v.predkladatel,
            v.zamestnavatele,
            uplna ? std::to_string(v.zaznamu) : std::string(),
            uplna ? std::to_string(v.chyb_E) : std::string(),
            uplna ? std::to_string(v.chyb_W) : std::string(),
            std::to_string(v.status),
            uplna ? std::string("kontrola dokončena"_cp) : v.zprava,
            u.zprava.empty() ? std::string() : bez_slozky(u.zprava)};
}

const char* const kSloupce[9] = {
    "Soubor", "IČO předkladatele"_cp, "IČO zaměstnavatelů"_cp, "Záznamů zaměstnanců"_cp,
    "Chyb E", "Chyb W", "Stav", "Zpráva"_cp, "Protokol"};

bool zavri(std::FILE* f) {
    const bool chyba = std::ferror(f) != 0;
    return std::fclose(f) == 0 && !chyba;
}

bool pis_souhrn_csv(const std::string& jmeno, const Davka& d) {
    std::FILE* f = std::fopen(jmeno.c_str(), "w");
    if (f == nullptr) return false;
    for (int k = 0; k < 9; ++k)
        std::fprintf(f, "%s%s", k == 0 ? "" : ";", pole_csv(kSloupce[k]).c_str());
    std::fputc('\n', f);
    for (std::size_t i = 0; i < d.ulohy.size(); ++i) {
        const std::vector<std::string> b = bunky(d.ulohy[i], d.vysledky[i]);
        for (std::size_t k = 0; k < b.size(); ++k)
            std::fprintf(f, "%s%s", k == 0 ? "" : ";", pole_csv(b[k]).c_str());
        std::fputc('\n', f);
    }
    return zavri(f);
}

std::string html(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '&': out += "&amp;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

// A report's name as a link beside the summary: the characters a URL gives a
// meaning of their own are escaped, the rest stay (the page's code page maps
// them, as Windows names the file).
std::string odkaz(const std::string& jmeno) {
    std::string out;
    for (char c : jmeno) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (c == '%' || c == '#' || c == '?' || c == ' ' || c == '\\' || u < 0x20) {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", u);
            out += hex;
        } else {
            out += c;
        }
    }
    return html(out);
}

bool pis_souhrn_htm(const std::string& jmeno, const Davka& d) {
    std::FILE* f = std::fopen(jmeno.c_str(), "w");
    if (f == nullptr) return false;
    std::fputs("<!DOCTYPE html>\n<html lang=\"cs\">\n<head>\n"
               "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=Windows-1250\">\n"
               "<title>ORV - souhrn kontroly souborů</title>\n"_cp,
               f);
    std::fputs("<style>\ntable { border-collapse: collapse; }\n"
               "th, td { border: 1px solid black; padding: 2px 4px; text-align: left; }\n"
               "thead th { background: lightblue; }\ntd.pocet { text-align: right; }\n"
               "</style>\n</head>\n<body>\n",
               f);
    std::fputs("<h1>Souhrn kontroly souborů ORV</h1>\n<table>\n"
               "<caption>Každý soubor je samostatná kontrola; stav 0: kontrola doběhla, "
               "13: nedoběhla.</caption>\n<thead>\n<tr>"_cp,
               f);
    for (const char* s : kSloupce) std::fprintf(f, "<th scope=\"col\">%s</th>", s);
    std::fputs("</tr>\n</thead>\n<tbody>\n", f);
    long long sum_E = 0, sum_W = 0, zaznamu = 0;
    int uplnych = 0;
    for (std::size_t i = 0; i < d.ulohy.size(); ++i) {
        const VysledekDavky& v = d.vysledky[i];
        const std::vector<std::string> b = bunky(d.ulohy[i], v);
        if (v.status == 0) {
            ++uplnych;
            sum_E += v.chyb_E;
            sum_W += v.chyb_W;
            zaznamu += v.zaznamu;
        }
        std::fprintf(f, "<tr><th scope=\"row\">%s</th>", html(b[0]).c_str());
        for (std::size_t k = 1; k < 8; ++k)
            std::fprintf(f, k >= 3 && k <= 6 ? "<td class=\"pocet\">%s</td>" : "<td>%s</td>",
                         html(b[k]).c_str());
        if (b[8].empty())
            std::fputs("<td></td></tr>\n", f);
        else
            std::fprintf(f, "<td><a href=\"%s\">%s</a></td></tr>\n", odkaz(b[8]).c_str(),
                         html(b[8]).c_str());
    }
    std::fprintf(f,
                 "</tbody>\n<tfoot>\n<tr><th scope=\"row\">Celkem %zu souborů</th><td></td>"
                 "<td></td><td class=\"pocet\">%lld</td><td class=\"pocet\">%lld</td>"
                 "<td class=\"pocet\">%lld</td><td></td><td>úplných kontrol %d</td><td></td></tr>\n"
                 "</tfoot>\n</table>\n</body>\n</html>\n"_cp,
                 d.ulohy.size(), zaznamu, sum_E, sum_W, uplnych);
    return zavri(f);
}

// The summary's names must not destroy an input or a submission.
bool souhrn_smi_psat(const std::string& jmeno, const std::vector<std::string>& vstupy) {
    return !je_slozka(jmeno) && !je_podani_orv(jmeno) && !tentyz_jako_nektery(jmeno, vstupy);
}

int davka(const Volby& volby, const char* program) {
    Davka d;
    d.volby = volby;
    std::vector<std::string> vstupy;
    std::vector<bool> necitelna;
    rozbal_jmena(volby.jmena, vstupy, necitelna);
    if (vstupy.empty()) {
        std::fputs(" Zadny soubor ke kontrole\n"_cp, konzole);
        return 13;
    }
    if (!vytvor_cestu(volby.slozka)) {
        std::fprintf(konzole, " Nelze vytvorit slozku  %s\n Program ukoncen\n",
                     volby.slozka.c_str());
        return 13;
    }
    const std::string csv = spoj(volby.slozka, kSouhrnCsv);
    const std::string htm = spoj(volby.slozka, kSouhrnHtm);
    for (const std::string* s : {&csv, &htm}) {
        if (!souhrn_smi_psat(*s, vstupy)) {
            std::fprintf(konzole,
                         " Souhrn %s by prepsal vstupni soubor nebo podani ORV\n Program ukoncen\n",
                         s->c_str());
            return 13;
        }
    }
    const std::vector<std::string> zpravy = nazvy_zprav(vstupy, volby.slozka, pripona(volby.format));
    for (std::size_t i = 0; i < vstupy.size(); ++i)
        d.ulohy.push_back(UlohaDavky{vstupy[i], necitelna[i] ? std::string() : zpravy[i]});
    d.vysledky.resize(d.ulohy.size());

    int pocet = volby.soucasne > 0 ? volby.soucasne : std::min(pocet_procesoru(), kNejvicePracovniku);
    pocet = static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(pocet), d.ulohy.size()));
    std::string sebe = cesta_programu();
    if (sebe.empty() && program != nullptr) sebe = program;
    if (pocet <= 1 || sebe.empty())
        zkontroluj_zde(d, 0);
    else
        zkontroluj_pracovniky(d, pocet, sebe);

    int uplnych = 0;
    long long sum_E = 0, sum_W = 0;
    for (const VysledekDavky& v : d.vysledky) {
        if (v.status != 0) continue;
        ++uplnych;
        sum_E += v.chyb_E;
        sum_W += v.chyb_W;
    }
    // Both are written, whichever fails.
    const bool csv_zapsan = pis_souhrn_csv(csv, d);
    const bool souhrn = pis_souhrn_htm(htm, d) && csv_zapsan;
    std::fprintf(konzole,
                 "\nSouborů: %zu, úplných kontrol: %d, neúplných (stav 13): %zu\n"
                 "Celkem chyb vahy E:%8lld\nCelkem chyb vahy W:%8lld\n"_cp,
                 d.ulohy.size(), uplnych, d.ulohy.size() - static_cast<std::size_t>(uplnych),
                 sum_E, sum_W);
    if (!souhrn) {
        std::fprintf(konzole, " Nelze zapsat souhrn  %s\n Program ukoncen\n",
                     (csv_zapsan ? htm : csv).c_str());
        return 13;
    }
    std::fprintf(konzole, "Souhrn: %s\n", htm.c_str());
    return uplnych == static_cast<int>(d.ulohy.size()) ? 0 : 13;
}

}  // namespace

int quelt_davka(int argc, const char* const* argv, const char* program) {
    if (argc >= 1 && std::strcmp(argv[0], kPracovnikSwitch) == 0) return pracuj(argc, argv);
    Volby volby;
    const int status = cti_volby(argc, argv, volby);
    if (status >= 0) return status;
    return davka(volby, program);
}

}  // namespace quelt
