// The shared state of a run and its start values.
#include "src/state/run_state.h"

#include "src/state/bounded_text.h"

namespace quelt {

std::FILE* konzole = stdout;
char rezim_zprac = 'Z';
std::string s_vstup;
std::string s_chyby;
std::string s_vystup;
std::FILE* errsoub = nullptr;
std::FILE* outsoub = nullptr;
char sw_vystup = 'N';
char telicokod[20];
char identnec[12];

void set_telicokod(const char* text) { copy_text(telicokod, sizeof telicokod, text); }
void set_identnec(const char* text) { copy_text(identnec, sizeof identnec, text); }

// konzole is the caller's setting and stays as it is.
void reset_shared_state() {
    rezim_zprac = 'Z';
    s_vstup = "orv.xml";
    s_chyby = "orve.htm";
    s_vystup = "...";
    errsoub = nullptr;
    outsoub = nullptr;
    sw_vystup = 'N';
    telicokod[0] = '\0';
    identnec[0] = '\0';
}

}  // namespace quelt
