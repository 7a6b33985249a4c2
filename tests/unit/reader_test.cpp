// Element reader: the common element read in one pass must leave exactly what
// the piece readers leave (the three texts, the line, both flags), wherever
// the input block ends, and must leave every unusual element to them.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "src/xml/helpers.h"
#include "src/xml/reader.h"
#include "tests/unit/scratch_folder.h"

using namespace quelt;
using quelt::test::ScratchFolder;
using quelt::test::write_file;

namespace {

// Elements of every kind the one pass takes or must refuse: prefixes, blanks
// and tabs, CR LF, long names and contents, comments, empty-element tags,
// mismatched end tags, a NUL, text between elements, and in the one pass's
// form the tags it leaves to the piece readers.
const std::string kVzorek = std::string(
    "\n      <orv:AA0126>0001126</orv:AA0126>"
    "\r\n  <orv:AA0231>1953</orv:AA0231>\n<AA0211>1</AA0211>"
    "<orv:AA0223>   K</orv:AA0223><orv:AA0033></orv:AA0033>"
    "<xorv:AA0013>5</xorv:AA0013>\n<orv:AA0125>1</orv:AA0124>"
    "<orv:AA0130>a\tb</orv:AA0130><orv:AA0131 >40</orv:AA0131>"
    "<orv:ICOpredkladatele>1</orv:ICOpredkladatele>\n"
    "<orv:AA0225>7777777777777777777777777777777777777777</orv:AA0225>"
    "<orv:AA0216>x<y</orv:AA0216>\n</orv:zamestnanec>\n<!-- c -->"
    "<orv:AA0140/>\n<orv:AA0132>917.5</orv:AA0132 x>\ntext<orv:AA0133>0</orv:AA0133>"
    "<orv:AA0134>1") + '\0' + "</orv:AA0134>\n<orv:AA0135>\xe8</orv:AA0135>"
    "<AA0140/>x</AA0140/><!-->x</!--><>x</>\n</zamestnanec>x<//zamestnanec>"
    "</zamestnavatel>x<//zamestnavatel>";

struct Stav {
    std::string elem, obsah, konec;
    LineNo radek;
    char otv, zav;
    bool operator==(const Stav&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Stav& s) {
    return os << s.elem << "|" << s.obsah << "|" << s.konec << "|" << s.radek << s.otv << s.zav;
}

// Reads the file element by element as the element step does; with
// jednim_pruchodem the one pass is tried first.
std::vector<Stav> cti(const std::string& path, bool jednim_pruchodem) {
    reset_reader();
    open_input(std::fopen(path.c_str(), "rb"));
    std::vector<Stav> out;
    for (;;) {
        ElementLengths d{};
        if (!jednim_pruchodem || !read_whole_element("/zamestnanec", "/zamestnavatel", d)) {
            if (dej_element(buf_element) < 0) break;
            std::strcpy(akt_elem, buf_element);
            if (dej_zbytek_elementu(buf_element, 'A') < 0) break;
            if (dej_obsah(buf_element) < 0) break;
            jezltrim(akt_obsah, buf_element);
            if (dej_element(buf_element) < 0) break;
        } else {
            EXPECT_EQ(d.name, std::strlen(akt_elem));
            EXPECT_EQ(d.content, std::strlen(akt_obsah));
            EXPECT_EQ(d.end_tag, std::strlen(buf_element));
        }
        out.push_back({akt_elem, akt_obsah, buf_element, cislo_radky, je_OTVZAV, je_ZAVZAV});
    }
    close_input();
    return out;
}

// More than one block of samples.
std::string telo() {
    std::string t;
    while (t.size() < (1u << 16) + 2 * kVzorek.size()) t += kVzorek;
    return t;
}

}  // namespace

// Blanks before the first element move every block boundary through every
// byte of the sample: the readings must agree at each.
TEST(Reader, OnePassReadsAsThePieceReadersAtEveryBlockBoundary) {
    const ScratchFolder folder;
    const std::string path = folder / "in.xml";
    for (std::size_t pad = 0; pad <= kVzorek.size(); ++pad) {
        write_file(path, std::string(pad, ' ') + telo());
        const auto po_kusech = cti(path, false);
        ASSERT_GT(po_kusech.size(), 2000u);
        ASSERT_EQ(cti(path, true), po_kusech) << "pad " << pad;
    }
}

// A file that ends inside an element, at every byte of the last sample: the
// last block is short, and behind its data stand the bytes of the block
// before, which must not be taken for the rest of the element.
TEST(Reader, OnePassStopsAtTheEndOfTheData) {
    const ScratchFolder folder;
    const std::string path = folder / "in.xml";
    const std::string text = telo();
    for (std::size_t cut = text.size() - kVzorek.size(); cut <= text.size(); ++cut) {
        write_file(path, text.substr(0, cut));
        ASSERT_EQ(cti(path, true), cti(path, false)) << "cut " << cut;
    }
}

// On its own, without run control's hooks, the reader reads one file: its end,
// or a file it cannot read (a folder), ends the input for good.
TEST(Reader, OnItsOwnOneFileIsTheWholeInput) {
    const ScratchFolder scratch;
    const std::string file = scratch / "in.xml";
    write_file(file, "<a>1</a>");
    const std::string folder = scratch / "d";
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    for (const std::string& path : {file, folder}) {
        reset_reader();
        open_input(std::fopen(path.c_str(), "rb"));
        int elements = 0;
        while (dej_element(buf_element) == 0) ++elements;
        EXPECT_EQ(elements, path == file ? 2 : 0) << path;
        EXPECT_EQ(sw_konec, 'A') << path;
        close_input();
    }
}

namespace {
std::vector<long long> bytes_reported;
void note_bytes_read(long long so_far) { bytes_reported.push_back(so_far); }
}  // namespace

// The page's progress bar hears of every block read, with the bytes read so
// far; the caller's setting outlives the run.
TEST(Reader, EveryBlockReadIsReportedWithTheBytesSoFar) {
    const ScratchFolder folder;
    const std::string path = folder / "in.xml";
    write_file(path, telo());
    const long long size = static_cast<long long>(telo().size());
    bytes_reported.clear();
    on_bytes_read = note_bytes_read;
    cti(path, true);
    on_bytes_read = nullptr;
    ASSERT_EQ(bytes_reported.size(), 2u);  // a block of 64 KiB and the rest
    EXPECT_EQ(bytes_reported[0], 1 << 16);
    EXPECT_EQ(bytes_reported[1], size);
}
