// A stand-in for quelt-davka's worker in the tests of the worker pool: the
// real worker's loop and check, but misbehaving on the files the first
// argument names, the way a worker can fail in an office:
//   plain                 checks every file
//   hang:PART             never answers for a file whose name holds PART
//   die:PART              dies on such a file, every time
//   die-once:PART         dies on such a file the first time (it leaves
//                         INPUT.died), checks it the next
//   garble:PART           writes bytes no worker writes for such a file
//   wrong-row:PART        answers for such a file with another row's number
//   exit-at-start:MARKER  the first worker to start (it makes MARKER) ends
//                         before it reads anything
//   stop-batch:PART       asks its batch to stop (SIGTERM) on such a file,
//                         then never answers
//   deaf-after:PART       checks such a file, but closes its input before it
//                         answers: its next file cannot be sent to it
//   vanish-after:PART     the same, and removes its own program file first:
//                         no worker can be started any more
//   block-summary:PART    checks such a file after making a folder where the
//                         batch's next summary would be written
//   linger                does not end when its input ends (it writes its
//                         process number to the file named by the input's
//                         folder and "linger.pid")
// The worker's own arguments follow.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "src/batch/worker.h"
#include "src/os/files.h"
#include "src/os/process.h"
#include "src/state/run_state.h"
#include "src/run/run.h"

using namespace quelt;

namespace {

bool exists(const std::string& name) { return os::file_info(name).kind != os::FileKind::missing; }

void touch(const std::string& name) {
    if (std::FILE* f = os::open_file(name, "w")) std::fclose(f);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 6) return 13;
    const std::string mode = argv[1];
    const std::size_t colon = mode.find(':');
    const std::string how = mode.substr(0, colon);
    const std::string part = colon == std::string::npos ? std::string() : mode.substr(colon + 1);
    if (how == "exit-at-start" && !exists(part)) {
        touch(part);
        return 3;
    }
    os::become_worker(argv[5]);
    std::FILE* scratch = os::scratch_stream();
    konzole = scratch;
    const char format = argv[3][0];
    const bool skip_w = argv[4][0] == '1';
    batch::serve_tasks(stdin, stdout, [&](const std::string& input, const std::string& report) {
        const bool named = !part.empty() && input.find(part) != std::string::npos;
        if (named && how == "hang") pause();
        if (named && how == "die") std::_Exit(3);
        if (named && how == "die-once" && !exists(input + ".died")) {
            touch(input + ".died");
            std::_Exit(3);
        }
        if (named && how == "garble") {
            std::fputs("x:garbage", stdout);
            std::fflush(stdout);
            pause();
        }
        if (named && how == "wrong-row") {
            const std::string answer = batch::encode_result(9999, batch::FileResult{});
            std::fwrite(answer.data(), 1, answer.size(), stdout);
            std::fflush(stdout);
            pause();
        }
        if (named && how == "stop-batch") {
            kill(getppid(), SIGTERM);
            pause();
        }
        if (named && how == "block-summary") {
            const std::string folder = report.substr(0, report.rfind('/'));
            mkdir((folder + "/souhrn.csv." + std::to_string(getppid()) + ".tmp").c_str(), 0700);
        }
        const batch::FileResult r = batch::check_file(input, report, format, skip_w, scratch);
        if (named && how == "vanish-after") unlink(argv[0]);
        if (named && (how == "deaf-after" || how == "vanish-after")) close(0);
        if (how == "linger")
            if (std::FILE* f = os::open_file(input.substr(0, input.rfind('/')) + "/linger.pid", "w")) {
                std::fprintf(f, "%d", getpid());
                std::fclose(f);
            }
        return r;
    });
    if (how == "linger") sleep(60);
    return 0;
}
