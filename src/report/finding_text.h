// Texts of findings made with a rule's own printf format ("%10.0f", " <= %d"
// ...). Each text lives in a buffer of its own, returned by value, so several
// can be passed to one call of zpracuj_chybu.
#pragma once

namespace quelt {

struct FindingText {
    char s[128];
};

[[gnu::format(printf, 1, 2)]] FindingText text(const char* format, ...);

}  // namespace quelt
