// The worker's side of the batch (worker.h).
#include "src/batch/worker.h"

#include <cstdlib>

#include "src/os/files.h"
#include "src/os/process.h"
#include "src/run/run.h"
#include "src/state/run_state.h"
#include "src/structure/sections.h"

namespace quelt::batch {

FileResult check_file(const std::string& input, const std::string& report, char format, bool skip_w,
                      std::FILE* console) {
    std::FILE* before = konzole;
    konzole = console;
    std::rewind(console);  // the console of one run at a time
    const int status = quelt_run_file(input, report, format, skip_w);
    konzole = before;
    FileResult r;
    r.outcome = outcome_of_last_run(status);
    const SubmissionSummary& p = submission_summary();
    r.records = p.zaznamu;
    r.submitter = p.predkladatel;
    r.employers = p.zamestnavatele;
    return r;
}

void serve_tasks(std::FILE* in, std::FILE* out, const CheckFile& check) {
    std::vector<std::string> task;
    while (read_message(in, kTaskFields, task)) {
        const FileResult r = check(task[1], task[2]);
        const std::string message = encode_result(std::strtoul(task[0].c_str(), nullptr, 10), r);
        std::fwrite(message.data(), 1, message.size(), out);
        std::fflush(out);
    }
}

std::vector<std::string> worker_arguments(char format, bool skip_w) {
    return {kWorkerSwitch, std::string(1, format), skip_w ? "1" : "0", os::process_number()};
}

int run_worker(const std::vector<std::string>& arguments) {
    if (arguments.size() < 4) return 13;
    os::become_worker(arguments[3]);
    const char format = arguments[1][0];
    const bool skip_w = arguments[2] == "1";
    // Standard output carries the results alone: the runs' banner and
    // progress go to a scratch file.
    std::FILE* scratch = os::scratch_stream();
    if (scratch == nullptr) return 13;
    konzole = scratch;
    serve_tasks(stdin, stdout, [&](const std::string& input, const std::string& report) {
        return check_file(input, report, format, skip_w, scratch);
    });
    std::fclose(scratch);
    return 0;
}

}  // namespace quelt::batch
