// Per-employer employee register: a few values of every employee record of
// the current employer, so that the employer closing rules can compare the
// records of one employee and sum over all of them; plus the per-employer sums
// and flags that employee processing feeds. Cleared at each employer start.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "src/xml/line_text.h"

namespace quelt {

// One entry per record; the fields are ordered widest first so that the entry
// has no padding (88 bytes: the register's memory is this per record).
struct AnecEntry {
    std::string anec_iAA0126 = "-";  // employee identifier, kept whole
    LineNo anec_lin = 0;             // line of the record's AA0126 (0: none)
    double anec_iAA0131 = 0.0;
    double anec_iAA0225 = 0.0;
    double anec_iAA0216 = 0.0;
    double anec_iAA0132 = 0.0;
    int anec_iAA0231 = 0;            // year of birth, truncated
    int anec_iAA0033 = 0;            // position of the state code in TcisStat
    int anec_iAA0137 = 0;            // register state on the last day, truncated
    char anec_iAA0211 = ' ';         // first character of the sex code
    char anec_iAA0223 = ' ';         // first character of the education code
};

// Entries in blocks of a fixed size: the register grows without moving what
// it holds, so a large employer never holds twice its entries while growing,
// and with one allocation per block. Emptied, it keeps its blocks for the
// next employer. A block is raw memory whose entries are made as records
// arrive: a small submission touches a few of a block's pages, not all of
// them (making all 4096 entries at once was the largest cost of a small run).
class Register {
public:
    static constexpr std::size_t kBlock = 4096;

    Register() = default;
    Register(const Register&) = delete;
    Register& operator=(const Register&) = delete;
    ~Register();

    AnecEntry& operator[](std::size_t i) { return blocks_[i / kBlock][i % kBlock]; }
    std::size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    // A new entry at the end, with the start values of every field.
    void emplace_back();
    void clear() { count_ = 0; }
    // Frees the blocks that hold no entry.
    void shrink_to_fit();

private:
    std::vector<AnecEntry*> blocks_;
    std::size_t count_ = 0;
    std::size_t built_ = 0;  // entries made in the blocks (0 .. built_-1)
};

// Entries 0..maxAktiAnec of the current employer.
extern Register anec;
// The ordering: position p holds the entry at place p, -1 for a record that
// has no AA0126.
extern std::vector<int> anec_ind;
extern int maxAktiAnec;

extern double sumz_AA0136;
extern double sumz_AA0137;
extern double sumz_AA0144;
extern int sumz_EL084;
extern int sw_anec_AA0137;
extern int sw_anec_AA0033;
extern char val_anec_AA0033[4];
extern LineNo lin_anec_AA0033;

// Employer start: empties the register, clears the sums and flags (and the
// employer closing rules' education counters).
void clear_register();
// Employee start: a new entry becomes the current one. The register keeps
// every record of the employer; it grows as records arrive.
void start_entry();
// The current entry (the register has at least one entry).
inline AnecEntry& current_entry() { return anec[static_cast<std::size_t>(maxAktiAnec)]; }

// Employer end: puts the positions of anec_ind in employee order, ascending
// by AA0126 compared byte-wise, records of one employee in their order of
// arrival. Records without AA0126 take no part: the ordered positions come
// first, the rest keep -1. Returns the number of ordered positions.
int sort_register();

// Of a group of records of one employee only the first six take part in the
// cross-record rules.
inline constexpr int kGroupMembers = 6;

// Number of ordered positions after p, below konec, that hold the same
// employee as p (0: the record stands alone).
int same_employee_after(int p, int konec);

// The group line list: the line texts of the group's first six records joined
// by ",", then ", ...... " when the group has more records.
struct LineList {
    char s[136];
};
LineList line_list(int p, int dalsich);

// The entry standing at an ordered position.
inline const AnecEntry& entry_at(int p) {
    return anec[static_cast<std::size_t>(anec_ind[static_cast<std::size_t>(p)])];
}

// Run start: an empty register and no state code noted.
void reset_register();

}  // namespace quelt
