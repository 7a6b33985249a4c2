// Line numbers as the report shows them. The reader counts lines in an
// integer; the text form is made only when a finding or a table column needs
// it. Line 0 stands for "never seen" and reads as one blank, the start value
// of the tables' line columns.
#pragma once

#include <cstdio>

namespace quelt {

using LineNo = long long;

struct LineText {
    char s[24];
};

inline LineText line_text(LineNo n) {
    LineText t{};
    if (n <= 0)
        t.s[0] = ' ';
    else
        std::snprintf(t.s, sizeof t.s, "%lld", n);
    return t;
}

}  // namespace quelt
