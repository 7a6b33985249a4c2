// Element reader: reads the input byte by byte through four small functions,
// each consuming one kind of piece (tag name, rest of a tag, rest of a comment,
// content up to the next tag). Two flags remember whether the '<' of the next
// tag or the '>' of the current tag has been consumed already. Every line feed
// advances the line counter; carriage returns are dropped everywhere.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string_view>

#include "src/xml/line_text.h"

namespace quelt {

// Size of every piece buffer: 299 bytes and the terminator.
inline constexpr int kPiece = 300;

extern LineNo cislo_radky;
extern char je_OTVZAV;
extern char je_ZAVZAV;
extern char buf_element[kPiece];
extern char akt_elem[kPiece];
extern char akt_obsah[kPiece];

// Length of the name that dej_element read last, up to its first NUL byte
// (texts end there, as strlen would measure them).
extern int element_name_length;

// The current line as decimal text (the line of most findings).
const char* s_cislo_radky();

int dej_element(char* buf);
int dej_zbytek_elementu(char* buf, char keep);
int preskoc_zbytek_komentare();
int dej_obsah(char* buf);

// Lengths of the texts of an element read: they are known where the texts
// are made, and need not be measured again.
struct ElementLengths {
    std::size_t name;     // akt_elem
    std::size_t content;  // akt_obsah
    std::size_t end_tag;  // buf_element
};

// The common element <name>content</name> of one line in one pass, when it
// stands whole in the input block, its end tag is '/' and the start tag's
// text, and it holds nothing unusual: akt_elem, akt_obsah and buf_element as
// the piece readers would leave them (buf_element is '/' and the name, so it
// closes the element), and their lengths. Returns false, having read nothing,
// when the piece readers must read it, and for a name the element step treats
// otherwise: the two structural names given, a comment, an empty-element tag.
// Asked between elements only, where the next tag's '<' is still unread
// (je_OTVZAV 'N').
bool read_whole_element(std::string_view structural1, std::string_view structural2,
                        ElementLengths& lengths);

// What the reader asks of run control, which hands it down at the start of a
// run: the reader knows files, not lists or reports.
struct ReaderHooks {
    // At the real end of the current file: 0 when the next file of a list is
    // open and reading goes on, -1 when the input has ended (konec_vstupu).
    int (*end_of_file)();
    // When the file cannot be read (a folder, an I/O error): the run's
    // failure; the input has ended (read_failure).
    void (*read_error)();
};
// Without hooks of its own the reader reads one file: its end, or a read
// error, ends the input.
void set_reader_hooks(const ReaderHooks& hooks);

// Input file handling for the run: attaches an opened file to the reader.
void open_input(std::FILE* f);
// Closes the current input file, if any.
void close_input();
// 'A' once the input has ended for good (or failed): the processing loop
// stops, and no reader function is called after it (one called all the same
// reads nothing more).
extern char sw_konec;

// Called, when set, after every block read from the input with the number of
// bytes read so far over all files of the run: the web page's progress bar.
// A caller's setting, kept across runs.
extern void (*on_bytes_read)(long long bytes_read);

void reset_reader();

}  // namespace quelt
