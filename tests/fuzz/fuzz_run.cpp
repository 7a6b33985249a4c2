// Fuzz target: the whole check, in-process, on the fuzzer's bytes as the
// input file, in each of the four report formats, with and without an output
// copy. Whatever the bytes, a run must end with status 0 and a complete report
// (its totals written last) or with status 13 and the failure message: in the
// report, or on the console alone when the run refused to open its outputs
// (an output that is one of its inputs) and wrote nothing. The sanitizers
// catch every out-of-bounds access and undefined operation; in the fuzz build
// an exception escaping a run ends the fuzzer too.
//
// An input that begins with '@' is a list file instead: the bytes after the
// '@' name the files to read (the folder holds a.xml, a clean submission,
// self.xml, the fuzzer's bytes themselves, and the reports r.* and the copy
// c.xml of earlier runs, which a list naming them must leave whole).
//
// The same bytes are also given to the test whether a file opens an ORV
// submission.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <unistd.h>

#include "src/run/file_guard.h"
#include "src/run/run.h"
#include "src/state/run_state.h"

namespace {

std::string folder;
std::string console_path;

void write_file(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, f) != size) std::abort();
    std::fclose(f);
}

std::string read_file(const std::string& path) {
    std::string out;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return out;
    char buf[65536];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
    std::fclose(f);
    return out;
}

bool ends_with(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// The last text each format writes in a complete report.
const char* complete_tail(const std::string& ext) {
    if (ext == "htm") return "\n</table></body>\n</html>\n";
    if (ext == "xml") return "</ORV_chyby>\n";
    return "Celkem chyb vahy W:";  // text and semicolon: the W total line follows
}

void check_one(const std::string& input, const std::string& ext, bool copy) {
    const std::string report = folder + "/r." + ext;
    const std::string copy_path = folder + "/c.xml";
    const char* argv[3] = {input.c_str(), report.c_str(), copy ? copy_path.c_str() : "..."};
    // A refused run writes no report: an earlier run's must not pass for it.
    std::remove(report.c_str());
    quelt::konzole = std::freopen(console_path.c_str(), "w", quelt::konzole);
    if (quelt::konzole == nullptr) std::abort();
    const int status = quelt::quelt_run(3, argv);
    std::fflush(quelt::konzole);
    const bool written = access(report.c_str(), F_OK) == 0;
    const std::string text = read_file(report);
    if (status == 0) {
        const std::string tail = complete_tail(ext);
        const bool complete = (ext == "htm" || ext == "xml")
                                  ? ends_with(text, tail)
                                  : text.find(tail) != std::string::npos && ends_with(text, "\n");
        if (!complete) {
            std::fprintf(stderr, "incomplete %s report after status 0\n", ext.c_str());
            std::abort();
        }
        if (copy && !ends_with(read_file(copy_path), "</ORV>\n")) {
            std::fprintf(stderr, "output copy not closed after status 0\n");
            std::abort();
        }
    } else if (status == 13 && !written) {
        if (read_file(console_path).find("  je vstupem kontroly, neprepisuje se\n Program ukoncen\n") ==
            std::string::npos) {
            std::fprintf(stderr, "status 13 without a report and without the refusal\n");
            std::abort();
        }
    } else if (status == 13) {
        if (!ends_with(text, " Program ukoncen\n")) {
            std::fprintf(stderr, "status 13 without its message in the report\n");
            std::abort();
        }
    } else {
        std::fprintf(stderr, "unexpected status %d\n", status);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // A memory file system: rewriting a truncated file on a disk file system
    // can cost a flush to the disk per run.
    const char* base = std::getenv("QUELT_FUZZ_DIR");
    if (base == nullptr) base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    folder = std::string(base) + "/qf" + std::to_string(getpid());
    std::string mk = "mkdir -p " + folder;
    if (std::system(mk.c_str()) != 0) std::abort();
    console_path = folder + "-console";  // beside the folder: no list names it
    quelt::konzole = std::fopen(console_path.c_str(), "w");
    const char* example = std::getenv("QUELT_FUZZ_EXAMPLE");
    const std::string clean = read_file(example != nullptr ? example : "examples/priklad.xml");
    write_file(folder + "/a.xml", reinterpret_cast<const std::uint8_t*>(clean.data()), clean.size());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    quelt::starts_like_submission(std::string_view(reinterpret_cast<const char*>(data), size));
    std::string input = folder + "/self.xml";
    write_file(input, data, size);
    const bool list = size > 0 && data[0] == '@';
    char cwd[4096];
    if (list) {
        // The list names files of the folder: run there, then come back.
        write_file(folder + "/list", data + 1, size - 1);
        if (getcwd(cwd, sizeof cwd) == nullptr || chdir(folder.c_str()) != 0) std::abort();
        input = "@list";
    }
    for (const char* ext : {"htm", "txt", "csv", "xml"}) {
        check_one(input, ext, false);
        check_one(input, ext, true);
    }
    if (list && chdir(cwd) != 0) std::abort();
    return 0;
}
