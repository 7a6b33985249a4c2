// The catalogue's rows and the code look-up. The rows are in their binding
// order (data/catalogue.inc); findings are looked up many times a run, so the
// look-up goes through a small hash built once, which keeps the first row of a
// doubled code.
#include "src/report/catalogue.h"

#include <array>
#include <cstdint>

#include "data/namespace_uri.h"
#include "src/xml/cp1250.h"

namespace quelt {

namespace {

constexpr auto kWS102Text =
    concat(cp_array<"Element <ORV> by měl obsahovat atributy verze=\"1.6\" a xmlns=\"">(),
           kNamespaceUri, std::to_array("\""));

}  // namespace

const CatalogueRow Etab[kCodeRows + 1] = {
#include "data/catalogue.inc"
};

int EtabNum[kCodeRows + 1];

namespace {

constexpr std::size_t kSlots = 512;

constexpr std::uint32_t code_hash(std::string_view s) {
    std::uint32_t h = 2166136261u;
    for (char c : s) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
    return h;
}

std::array<std::int16_t, kSlots> build_index() {
    std::array<std::int16_t, kSlots> slots;
    slots.fill(-1);
    for (int row = 0; row < kCodeRows; ++row) {
        const std::string_view code = Etab[row].EtabTyp;
        std::size_t s = code_hash(code) & (kSlots - 1);
        bool doubled = false;
        while (slots[s] >= 0) {
            if (code == Etab[slots[s]].EtabTyp) { doubled = true; break; }
            s = (s + 1) & (kSlots - 1);
        }
        if (!doubled) slots[s] = static_cast<std::int16_t>(row);  // first row wins
    }
    return slots;
}

const std::array<std::int16_t, kSlots> kIndex = build_index();

}  // namespace

int find_code(std::string_view code) {
    std::size_t s = code_hash(code) & (kSlots - 1);
    while (kIndex[s] >= 0) {
        if (code == Etab[kIndex[s]].EtabTyp) return kIndex[s];
        s = (s + 1) & (kSlots - 1);
    }
    return kCodeRows;
}

void reset_catalogue() {
    for (int& n : EtabNum) n = 0;
}

}  // namespace quelt
