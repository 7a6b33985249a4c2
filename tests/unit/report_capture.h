// Test support: runs rule code in-process with a fresh run state and the
// report going to a temporary file in the semicolon format, so a test can read
// back exactly the rows that the code under test wrote; and catches what a
// call writes to the console.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "src/report/report.h"
#include "src/run/run.h"
#include "src/state/run_state.h"
#include "tests/unit/scratch_folder.h"

namespace quelt::test {

// What the call f writes to the console.
template <typename F>
std::string console_of(F f) {
    std::FILE* file = std::tmpfile();
    konzole = file;
    f();
    konzole = stdout;
    std::string out = written_to(file);
    std::fclose(file);
    return out;
}

class ReportCapture {
public:
    explicit ReportCapture(char format = 'C') {
        reset_run_state();
        file_ = std::tmpfile();
        errsoub = file_;
        sw_err = format;
    }
    ~ReportCapture() {
        if (errsoub == file_) errsoub = nullptr;
        if (file_) std::fclose(file_);
    }
    ReportCapture(const ReportCapture&) = delete;
    ReportCapture& operator=(const ReportCapture&) = delete;

    // Everything written to the report so far.
    std::string text() const { return written_to(file_); }
    // The report's lines, without their line ends.
    std::vector<std::string> rows() const {
        std::vector<std::string> out;
        std::string t = text(), cur;
        for (char c : t) {
            if (c == '\n') { out.push_back(cur); cur.clear(); }
            else cur += c;
        }
        if (!cur.empty()) out.push_back(cur);
        return out;
    }

private:
    std::FILE* file_ = nullptr;
};

}  // namespace quelt::test
