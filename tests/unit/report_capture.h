// Test support: runs rule code in-process with a fresh run state and the
// report going to a temporary file in the semicolon format, so a test can read
// back exactly the rows that the code under test wrote.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "src/report/report.h"
#include "src/run/run.h"
#include "src/state/run_state.h"

namespace quelt::test {

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
    std::string text() const {
        std::fflush(file_);
        std::string out;
        std::rewind(file_);
        char buf[4096];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, file_)) > 0) out.append(buf, n);
        std::fseek(file_, 0, SEEK_END);
        return out;
    }
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
