// Section handlers: the prolog, the root ORV, the submitter header, the
// employers and the employee records. Each handler reads through the element
// reader, sets the next processing mode, reports the syntax findings (ES300,
// ES302) and the missing or repeated elements of a section at its fixed points
// (ES303, ES304), and writes the output copy.
#include "src/structure/sections.h"

#include <cstdio>
#include <cstring>
#include <string_view>

#include "data/namespace_uri.h"
#include "src/elements/tables.h"
#include "src/report/report.h"
#include "src/rules/employee_register.h"
#include "src/rules/rules.h"
#include "src/state/run_state.h"
#include "src/structure/output_copy.h"
#include "src/xml/helpers.h"
#include "src/xml/reader.h"

namespace quelt {

namespace {

char sw_bylTEL;          // 'N' until the first employer starts
char sw_pis_TelPre;      // 'A' until the employer's first record starts
char sw_prvniORV = 'A';  // 'A' until the root's end tag is read

// The copy line of a structural tag: "<name>".
void copy_tag_line(const char* name) {
    write_copy("<");
    write_copy(name);
    write_copy(">\n");
}

// Exact equality of a tag with a structural name. The first byte is tested
// before the call: nearly every tag read is an ordinary element, whose first
// byte already differs.
inline bool is_tag(const char* name, const char* tag) {
    return name[0] == tag[0] && std::strcmp(name, tag) == 0;
}

int end_of_input() {
    rezim_zprac = 'W';
    return -1;
}

// The section a handler of the element step serves.
struct Section {
    std::string_view start_child;  // structural start tag inside ("zamestnavatel", ...)
    char start_mode;
    std::string_view end_tag;      // structural end tag ("/ORV", ...)
    char end_mode;
    bool copy_end_tag;
    bool copy_empty;          // empty-element tags get a copy line
    int (*rule)(std::string_view, std::string_view);
    void (*identify)(const char*);  // takes the section's identification element
    std::string_view ident_element;
};

SubmissionSummary summary;

// Longest value and longest joined text the summary keeps: an
// identification number has 8 digits, a submission a few hundred employers.
// A list that would grow past kListLength characters ends in ", ..." (or is
// "..." alone) and takes no more values, so every reader of the summary (the
// batch's and the page's) shows the same text.
constexpr std::size_t kValueLength = 20;
constexpr std::size_t kListLength = 2000;
bool submitter_cut = false;
bool employers_cut = false;

void append_value(std::string& list, bool& cut, const char* content) {
    if (cut) return;
    std::string_view value(content);
    const bool long_value = value.size() > kValueLength;
    if (long_value) value = value.substr(0, kValueLength);
    const std::size_t separator = list.empty() ? 0 : 2;
    if (list.size() + separator + value.size() + (long_value ? 3 : 0) > kListLength) {
        list += list.empty() ? "..." : ", ...";
        cut = true;
        return;
    }
    if (separator != 0) list += ", ";
    list.append(value);
    if (long_value) list += "...";
}

void identify_submitter(const char* content) {
    append_value(summary.predkladatel, submitter_cut, content);
}
void identify_employer(const char* content) {
    set_telicokod(content);
    append_value(summary.zamestnavatele, employers_cut, content);
}
void identify_employee(const char* content) { set_identnec(content); }

constexpr Section kHeader{"zamestnavatel", 'S', "/ORV", 'J', false, true, k_Pre,
                          identify_submitter, "ICOpredkladatele"};
constexpr Section kEmployer{"zamestnanec", 'M', "/zamestnavatel", 'U', true, true, k_Tel,
                            identify_employer, "AA0017"};
constexpr Section kEmployee{"/zamestnanec", 'O', "/zamestnavatel", 'H', true, false, k_Nec,
                            identify_employee, "AA0126"};

// The element read, its content and the tag read after it (lengths of
// akt_elem, akt_obsah and buf_element in d): the copy line, the
// identification and the section's rules.
void hand_over(const Section& sec, bool read_content, const ElementLengths& d) {
    if (sw_vystup == 'A' && (read_content || sec.copy_empty))
        write_copy_line(std::string_view(akt_elem, d.name), std::string_view(akt_obsah, d.content),
                        std::string_view(buf_element, d.end_tag));
    if (same_name(std::string_view(akt_elem, d.name), sec.ident_element))
        sec.identify(akt_obsah);
    sec.rule(std::string_view(akt_elem, d.name), std::string_view(akt_obsah, d.content));
}

// ES302: the tag read after the content does not close the element.
void check_end_tag(const ElementLengths& d) {
    const std::string_view name(akt_elem, d.name);
    if (prvek_zac_kon(name, std::string_view(buf_element, d.end_tag)) == 'N')
        zpracuj_chybu(s_cislo_radky(), "ES302", akt_elem, buf_element, "  ");
}

// The tag just read, when it is one of the section's structural tags: its
// copy line, where the section copies it, and the next mode.
bool structural_tag(const Section& sec) {
    if (is_tag(buf_element, sec.start_child.data())) {
        copy_tag_line(buf_element);
        rezim_zprac = sec.start_mode;
        return true;
    }
    if (is_tag(buf_element, sec.end_tag.data())) {
        if (sec.copy_end_tag) copy_tag_line(buf_element);
        rezim_zprac = sec.end_mode;
        return true;
    }
    return false;
}

// The next tag of a section read by the piece readers: a structural tag sets
// the next mode, a comment is skipped (both return 0: back to the processing
// loop), any other element is read, its end tag checked (1: d holds the
// lengths, read_content whether a content was read). -1 at the end of the
// input.
int read_in_pieces(const Section& sec, ElementLengths& d, bool& read_content) {
    if (dej_element(buf_element) < 0) return end_of_input();
    if (structural_tag(sec)) return 0;
    std::size_t n = static_cast<std::size_t>(element_name_length);
    std::memcpy(akt_elem, buf_element, n + 1);

    if (is_tag(akt_elem, "!--")) return preskoc_zbytek_komentare() < 0 ? end_of_input() : 0;

    const int rest = dej_zbytek_elementu(buf_element, 'A');
    if (rest < 0) return end_of_input();
    if (rest == 2) {
        if (std::strcmp(buf_element, "/") == 0) {
            akt_elem[n++] = '/';
            akt_elem[n] = '\0';
        }
        else
            zpracuj_chybu(s_cislo_radky(), "ES300", akt_elem, buf_element, "  ");
    }

    read_content = true;
    if (n > 0 && akt_elem[n - 1] == '/') {
        // An empty-element tag: the end tag is implied, nothing more is read.
        akt_elem[n - 1] = '\0';
        akt_obsah[0] = '\0';
        std::snprintf(buf_element, kPiece, "/%.298s", akt_elem);
        read_content = false;
    } else {
        if (dej_obsah(buf_element) < 0) return end_of_input();
        jezltrim(akt_obsah, buf_element);
        if (dej_element(buf_element) < 0) return end_of_input();
    }
    d.end_tag = std::strlen(buf_element);
    d.name = std::strlen(akt_elem);
    d.content = std::strlen(akt_obsah);
    if (read_content) check_end_tag(d);
    return 1;
}

// The element step, shared by the header, employer and employee handlers:
// the section's elements one after another, up to a tag that returns to the
// processing loop. The common one-line element is read in one pass. Made once
// for each section, so that its rule and identification are called directly
// and its constant parts fold away (2 % of the instructions of a clean run).
template <const Section& sec>
int element_step() {
    for (;;) {
        ElementLengths d;  // filled by whichever reader reads the element
        bool read_content = true;
        // An element read in one pass is closed by its end tag: no ES302.
        if (!read_whole_element(sec.start_child, sec.end_tag, d)) {
            const int r = read_in_pieces(sec, d, read_content);
            if (r <= 0) return r;
        }
        hand_over(sec, read_content, d);
    }
}

}  // namespace

namespace {

// A processing instruction of the prolog: the rest of its tag, with its
// blanks, and its copy line "<name rest>".
int zpracuj_prvni() {
    if (dej_zbytek_elementu(buf_element, 'N') < 0) return end_of_input();
    write_copy("<");
    write_copy(akt_elem);
    write_copy(" ");
    write_copy(buf_element);
    write_copy(">\n");
    return 0;
}

// A comment of the prolog: its text is passed over by the next read, which
// skips to the next '<'.
int zpracuj_koment() { return 0; }

}  // namespace

int zpracuj_ZACp() {
    for (;;) {
        if (dej_element(buf_element) < 0) return end_of_input();
        if (buf_element[0] == '?') {
            std::strcpy(akt_elem, buf_element);
            if (zpracuj_prvni() < 0) return -1;
        } else if (buf_element[0] == '!') {
            std::strcpy(akt_elem, buf_element);
            zpracuj_koment();
        } else if (std::strncmp(buf_element, "ORV", 3) == 0) {
            write_copy("<ORV verze=\"1.6\" xmlns=\"");
            write_copy(kNamespaceUri.data());
            write_copy("\"> \n");
            rezim_zprac = 'G';
            return 0;
        }
    }
}

int zpracuj_ORVz() {
    if (dej_zbytek_elementu(buf_element, 'N') < 0) return end_of_input();
    for (int& n : PTabPre) n = 0;
    sw_bylTEL = 'N';
    rezim_zprac = 'H';
    return 0;
}

int zpracuj_ORV() {
    return element_step<kHeader>();
}

int zpracuj_TEL() {
    return element_step<kEmployer>();
}

int zpracuj_NEC() {
    return element_step<kEmployee>();
}

// After the root's end only the root level's structural tags count, as in
// the header: a further employer, or the root's end once more.
int zpracuj_ORVm() {
    for (;;) {
        if (dej_element(buf_element) < 0) return end_of_input();
        if (structural_tag(kHeader)) return 0;
    }
}

int zpracuj_ORVk() {
    check_counts_at_end(Ptab, PTabPre, P_END);
    sw_prvniORV = 'N';
    rezim_zprac = 'I';
    return 0;
}

int zpracuj_TELz() {
    check_counts_at_start(Ptab, PTabPre, P_END);
    sw_pis_TelPre = 'A';
    clear_register();
    start_employer_rules();
    for (int i = 0; i < T_END; ++i) {
        TTabSum[i] = 0.0;
        TTabPre[i] = 0;
    }
    set_identnec("   ");
    rezim_zprac = 'T';
    sw_bylTEL = 'A';
    sw_bylNEC = 'N';
    return 0;
}

int zpracuj_NECz() {
    if (sw_pis_TelPre == 'A') {
        check_counts_at_start(Ttab, TTabPre, T_END);
        sw_pis_TelPre = 'N';
    }
    rezim_zprac = 'N';
    for (int i = 0; i < N_END; ++i) {
        NTabSum[i] = 0.0;
        NTabPre[i] = 0;
    }
    start_entry();
    ++summary.zaznamu;
    sw_bylNEC = 'A';
    return 0;
}

void check_document_end() {
    const char* radek = s_cislo_radky();
    if (sw_prvniORV == 'A') zpracuj_chybu(radek, "ES306", "   ", "   ", "   ");
    if (sw_bylTEL == 'N') zpracuj_chybu(radek, "ES308", "   ", "   ", "   ");
}

void reset_sections() {
    sw_bylTEL = '\0';
    sw_bylNEC = '\0';
    sw_pis_TelPre = '\0';
    sw_prvniORV = 'A';
    summary = SubmissionSummary{};
    submitter_cut = false;
    employers_cut = false;
}

const SubmissionSummary& submission_summary() { return summary; }

}  // namespace quelt
