// Employee record rules: k_Nec checks each element of an employee record as
// it arrives. It records that the element was met (count, line, value) for
// the closing rules of the record, copies selected values into the record's
// register entry, then checks number syntax, length, range and code list.
#include <cassert>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "src/checks/codebooks.h"
#include "src/elements/tables.h"
#include "src/report/report.h"
#include "src/rules/employee_register.h"
#include "src/rules/rules.h"
#include "src/state/bounded_text.h"
#include "src/xml/helpers.h"
#include "src/xml/reader.h"

namespace quelt {

char necsav_AA0013[kNecsavSize] = "";

namespace {

// Whole-number register fields take the value truncated toward zero; a value
// beyond the int range (a content that fails its length check is copied all
// the same) is held at the range's end instead of overflowing. No number's
// text reads as NaN.
int whole_number(double v) {
    assert(!std::isnan(v));
    if (v <= static_cast<double>(INT_MIN)) return INT_MIN;
    if (v >= static_cast<double>(INT_MAX)) return INT_MAX;
    return static_cast<int>(v);
}

void keep_occupation_code(const char* content) {
    copy_text(necsav_AA0013, sizeof necsav_AA0013, content);
}

// The register copies, made before the length and range checks so that a
// value failing them still reaches the register: the one list of the
// elements whose values the register keeps, each with its field.
void copy_to_register(int row, const char* content, double v) {
    if (row == N_AA0013) keep_occupation_code(content);
    // No record started (a rule called on its own, outside the walk): nothing
    // to copy into. A started record is the register's last entry.
    if (maxAktiAnec < 0) return;
    assert(static_cast<std::size_t>(maxAktiAnec) + 1 == anec.size());
    switch (row) {
        case N_AA0126: {
            AnecEntry& z = current_entry();
            z.anec_iAA0126 = content;
            z.anec_lin = cislo_radky;
            anec_ind[static_cast<std::size_t>(maxAktiAnec)] = maxAktiAnec;
            break;
        }
        case N_AA0231: current_entry().anec_iAA0231 = whole_number(v); break;
        case N_AA0211: current_entry().anec_iAA0211 = content[0]; break;
        case N_AA0223: current_entry().anec_iAA0223 = content[0]; break;
        case N_AA0033: current_entry().anec_iAA0033 = state_position(content); break;
        case N_AA0131: current_entry().anec_iAA0131 = v; break;
        case N_AA0225: current_entry().anec_iAA0225 = v; break;
        case N_AA0216: current_entry().anec_iAA0216 = v; break;
        case N_AA0132: current_entry().anec_iAA0132 = v; break;
        case N_AA0137: current_entry().anec_iAA0137 = whole_number(v); break;
        default: break;  // most elements have no register field
    }
}

// A state code of three characters is noted for the employer's end, found in
// the state list or not.
void note_long_state_code(const char* content) {
    if (std::strlen(content) <= 2) return;
    sw_anec_AA0033 = 1;
    lin_anec_AA0033 = cislo_radky;
    copy_text(val_anec_AA0033, sizeof val_anec_AA0033, content);
}

// Code-list look-ups of the elements that have one; they report their own
// findings and leave the element's status alone.
void look_up_code_list(int row, const char* content) {
    switch (row) {
        case N_AA0223: cis_kodvzde(content); break;
        case N_AA0033:
            note_long_state_code(content);
            cis_kodstat(content);
            break;
        case N_AA0013: cis_kodzam(content); break;
        case N_AA0130: cis_koddppv(content); break;
        case N_AA0091: cis_postzam(content); break;
        case N_AA0690: cis_kodnuts(content, "AA0690"); break;
        default: break;
    }
}

void reject(int row, const char* content, const char* expected) {
    NTabEsw[row] = 'E';
    zpracuj_chybu(s_cislo_radky(), Ntab[row].err, Ntab[row].elem.data(), content, expected);
}

}  // namespace

int k_Nec(std::string_view name, std::string_view content) {
    const int row = find_N(name);
    if (row == N_END) return unknown_element(name.data(), content.data());
    const ElementDef& def = Ntab[row];

    NTabEsw[row] = ' ';
    NTabLin[row] = cislo_radky;
    ++NTabPre[row];

    // A text element keeps the conversion's start value.
    double v = 123.0;
    if (has_number_bounds(def) && StrToDbl(&v, content.data(), def.typ) != 0) {
        // Nothing more for this occurrence: no value, no register copy.
        reject(row, content.data(), "?");
        return 0;
    }
    NTabSum[row] = v;

    copy_to_register(row, content.data(), v);

    if (outside_length(def, content.size())) {
        reject(row, content.data(), length_text(def).s);
        return 0;
    }
    if (outside_range(def, v, content)) reject(row, content.data(), "?");

    look_up_code_list(row, content.data());
    return 0;
}

void reset_employee_rules() { necsav_AA0013[0] = '\0'; }

}  // namespace quelt
