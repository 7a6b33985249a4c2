// Whether two open files are one file on the disk. The checker must not read
// the report or the output copy it is writing: each element read from them
// would write more to them, and the run would never reach their end.
#pragma once

#include <cstdio>

namespace quelt {

// True when input is a regular file and the same file as output (a null
// output is no file). Devices such as /dev/null are never the same file.
bool stejny_soubor(std::FILE* input, std::FILE* output);

}  // namespace quelt
