// Per-employer employee register: one entry per employee record of the
// current employer, the ordering index over the entries, and the sums and
// flags that employee processing feeds. The employer closing rules order the
// entries by employee and walk the groups of records of one employee.
#include "src/rules/employee_register.h"

#include <algorithm>
#include <cassert>
#include <memory>
#include <new>

#include "src/rules/rules.h"
#include "src/state/bounded_text.h"

namespace quelt {

// An entry stays small: an employer may bring a hundred thousand records.
static_assert(sizeof(AnecEntry) <= 88, "register entry grew beyond its memory budget");

Register anec;

void Register::emplace_back() {
    if (count_ == blocks_.size() * kBlock) {
        blocks_.reserve(blocks_.size() + 1);
        blocks_.push_back(static_cast<AnecEntry*>(::operator new(kBlock * sizeof(AnecEntry))));
    }
    if (count_ < built_) {
        (*this)[count_] = AnecEntry{};
    } else {
        std::construct_at(&(*this)[count_]);
        ++built_;
    }
    ++count_;
}

void Register::shrink_to_fit() {
    const std::size_t needed = (count_ + kBlock - 1) / kBlock;
    const std::size_t kept = std::min(built_, needed * kBlock);
    for (std::size_t i = kept; i < built_; ++i) std::destroy_at(&(*this)[i]);
    built_ = kept;
    for (std::size_t b = needed; b < blocks_.size(); ++b) ::operator delete(blocks_[b]);
    blocks_.resize(needed);
    blocks_.shrink_to_fit();
}

Register::~Register() {
    clear();
    shrink_to_fit();
}
std::vector<int> anec_ind;
int maxAktiAnec = -1;

double sumz_AA0136 = 0.0;
double sumz_AA0137 = 0.0;
double sumz_AA0144 = 0.0;
int sumz_EL084 = 0;
int sw_anec_AA0137 = 0;
int sw_anec_AA0033 = 0;
char val_anec_AA0033[4] = "";
LineNo lin_anec_AA0033 = 0;

void clear_register() {
    // clear() keeps the capacity, so the next employer of the run reuses it.
    anec.clear();
    anec_ind.clear();
    maxAktiAnec = -1;

    sumz_AA0136 = 0.0;
    sumz_AA0137 = 0.0;
    sumz_AA0144 = 0.0;
    sumz_EL084 = 0;
    sw_anec_AA0137 = 0;
    sw_anec_AA0033 = 0;

    sumz_AA0223_Z = 0;
    sw_stejne_vzdelani = 'A';
}

void start_entry() {
    anec.emplace_back();
    anec_ind.push_back(-1);  // becomes the entry's own index when AA0126 arrives
    maxAktiAnec = static_cast<int>(anec.size()) - 1;
}

int sort_register() {
    // Before ordering a position holds its own entry or -1; moving the keyed
    // positions to the front keeps their order of arrival for the stable sort.
    // Every entry has its one position (start_entry adds both).
    assert(anec_ind.size() == anec.size());
    const auto serazene_konec =
        std::stable_partition(anec_ind.begin(), anec_ind.end(), [](int e) { return e >= 0; });
    std::stable_sort(anec_ind.begin(), serazene_konec, [](int a, int b) {
        // std::string compares its bytes as unsigned values, as strcmp does.
        return anec[static_cast<std::size_t>(a)].anec_iAA0126 <
               anec[static_cast<std::size_t>(b)].anec_iAA0126;
    });
    return static_cast<int>(serazene_konec - anec_ind.begin());
}

int same_employee_after(int p, int konec) {
    const std::string& id = entry_at(p).anec_iAA0126;
    int q = p + 1;
    while (q < konec && entry_at(q).anec_iAA0126 == id) ++q;
    return q - p - 1;
}

LineList line_list(int p, int dalsich) {
    LineList out{};
    const int clenu = std::min(dalsich, kGroupMembers - 1);
    for (int j = 0; j <= clenu; ++j) {
        if (j > 0) append_text(out.s, sizeof out.s, ",");
        append_text(out.s, sizeof out.s, line_text(entry_at(p + j).anec_lin).s);
    }
    if (dalsich > kGroupMembers - 1) append_text(out.s, sizeof out.s, ", ...... ");
    return out;
}

void reset_register() {
    clear_register();
    // A run starts with no memory held over from an earlier run.
    anec.shrink_to_fit();
    anec_ind.shrink_to_fit();
    val_anec_AA0033[0] = '\0';
    lin_anec_AA0033 = 0;
    sav_AA0223 = ' ';
}

}  // namespace quelt
