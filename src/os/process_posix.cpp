// Worker processes on POSIX systems (process.h): posix_spawn with two pipes,
// poll over their outputs and a pipe of the stop requests, SIGKILL.
#include "src/os/process.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <ctime>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#ifdef __linux__
#include <sched.h>
#include <sys/prctl.h>
#endif

extern char** environ;

namespace quelt::os {

struct Worker::Native {
    pid_t pid = -1;
    int input = -1;   // the batch writes here
    int output = -1;  // the batch reads here
};

namespace {

// A signal handler may only write: each request puts a byte into this pipe,
// which wait_for_workers polls beside the workers' outputs.
int stop_pipe[2] = {-1, -1};
volatile std::sig_atomic_t stop_seen = 0;

void on_stop_signal(int) {
    stop_seen = 1;
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = write(stop_pipe[1], &byte, 1);
}

void close_fd(int& fd) {
    if (fd >= 0) close(fd);
    fd = -1;
}

void reap(pid_t pid) {
    int status;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {  // GCOVR_EXCL_BR_LINE: a signal in the wait
    }
}

// The worker's own process group: a Ctrl+C at the terminal reaches the
// batch alone, which ends its workers itself. SIGPIPE, ignored by the batch
// so that a dead worker's pipe fails a write instead of ending the batch,
// gets its default back.
bool spawn(const std::string& program, const std::vector<std::string>& arguments, int in, int out,
           pid_t& pid) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in, 0);
    posix_spawn_file_actions_adddup2(&actions, out, 1);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const int error = posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return error == 0;
}

}  // namespace

Worker::Worker() : native(std::make_unique<Native>()) {}

Worker::~Worker() { kill(); }

bool Worker::start(const std::string& program, const std::vector<std::string>& arguments) {
    kill();
    std::signal(SIGPIPE, SIG_IGN);
    int to_it[2];
    int from_it[2];
    // GCOVR_EXCL_START: only a process out of descriptors fails here
    if (pipe2(to_it, O_CLOEXEC) != 0) return false;
    if (pipe2(from_it, O_CLOEXEC) != 0) {
        close(to_it[0]);
        close(to_it[1]);
        return false;
    }
    // GCOVR_EXCL_STOP
    pid_t pid = -1;
    const bool started = spawn(program, arguments, to_it[0], from_it[1], pid);
    close(to_it[0]);
    close(from_it[1]);
    if (!started) {
        close(to_it[1]);
        close(from_it[0]);
        return false;
    }
    native->pid = pid;
    native->input = to_it[1];
    native->output = from_it[0];
    received.clear();
    ended = false;
    return true;
}

bool Worker::send(const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(native->input, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;  // GCOVR_EXCL_BR_LINE: a signal in the write
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

void Worker::kill() {
    if (native->pid < 0) return;
    ::kill(native->pid, SIGKILL);
    close_fd(native->input);
    close_fd(native->output);
    reap(native->pid);
    native->pid = -1;
    ended = true;
}

void Worker::close_input() { close_fd(native->input); }

void Worker::finish() {
    if (native->pid < 0) return;
    close_fd(native->input);
    // A worker waiting for a task ends at once; one stopped or stuck is not
    // waited for longer than a second.
    for (int i = 0; i < 500; ++i) {
        int status;
        const pid_t r = waitpid(native->pid, &status, WNOHANG);
        if (r == native->pid || (r < 0 && errno != EINTR)) {
            close_fd(native->output);
            native->pid = -1;
            ended = true;
            return;
        }
        const timespec pause{0, 2 * 1000 * 1000};
        nanosleep(&pause, nullptr);
    }
    kill();
}

bool Worker::running() const { return native->pid >= 0; }

WaitResult wait_for_workers(std::vector<std::unique_ptr<Worker>>& workers, int timeout_ms) {
    std::vector<pollfd> fds;
    std::vector<int> whose;
    if (stop_pipe[0] >= 0) {
        fds.push_back(pollfd{stop_pipe[0], POLLIN, 0});
        whose.push_back(-1);
    }
    for (std::size_t i = 0; i < workers.size(); ++i) {
        if (workers[i]->ended || !workers[i]->running()) continue;
        fds.push_back(pollfd{workers[i]->native->output, POLLIN, 0});
        whose.push_back(static_cast<int>(i));
    }
    if (stop_seen) return WaitResult{WaitResult::stop};
    const int n = poll(fds.data(), fds.size(), timeout_ms);
    if (stop_seen) return WaitResult{WaitResult::stop};
    if (n <= 0) return WaitResult{};  // the time passed, or a signal came
    for (std::size_t k = 0; k < fds.size(); ++k) {
        if (fds[k].revents == 0 || whose[k] < 0) continue;
        Worker& w = *workers[static_cast<std::size_t>(whose[k])];
        char buffer[1 << 16];
        ssize_t r;
        do {
            r = read(w.native->output, buffer, sizeof buffer);
        } while (r < 0 && errno == EINTR);  // GCOVR_EXCL_BR_LINE: a signal in the read
        if (r <= 0)
            w.ended = true;
        else
            w.received.append(buffer, static_cast<std::size_t>(r));
        return WaitResult{WaitResult::output, whose[k]};
    }
    return WaitResult{};  // GCOVR_EXCL_LINE: poll reports only what it polled
}

void catch_stop_requests() {
    if (stop_pipe[0] < 0 && pipe2(stop_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;  // GCOVR_EXCL_BR_LINE: no descriptor
    // A request answered before is forgotten.
    char drained[64];
    while (read(stop_pipe[0], drained, sizeof drained) > 0) {
    }
    stop_seen = 0;
    struct sigaction action {};
    action.sa_handler = on_stop_signal;
    sigemptyset(&action.sa_mask);
    // A signal the batch was started ignoring (nohup, a background job of a
    // script) stays ignored.
    for (int s : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction before {};
        if (sigaction(s, nullptr, &before) == 0 && before.sa_handler == SIG_IGN) continue;
        sigaction(s, &action, nullptr);
    }
}

void stop_done() {}

void become_worker(const std::string& parent) {
#ifdef __linux__
    // Killed with the batch, even when the batch itself is killed; a batch
    // that ended before this line leaves this worker a child of another.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (std::to_string(getppid()) != parent) std::_Exit(13);  // GCOVR_EXCL_BR_LINE: the batch ended first
#else
    (void)parent;  // the end of its input ends it once its file is done
#endif
}

std::string process_number() { return std::to_string(getpid()); }

int processor_count() {
#ifdef __linux__
    cpu_set_t set;
    if (sched_getaffinity(0, sizeof set, &set) == 0) {
        const int n = CPU_COUNT(&set);
        if (n > 0) return n;
    }
#endif
    const long n = sysconf(_SC_NPROCESSORS_ONLN);
    return n > 0 ? static_cast<int>(n) : 1;  // GCOVR_EXCL_LINE: Linux answers above
}

std::string own_program() {
#ifdef __linux__
    std::string name(4096, '\0');
    const ssize_t n = readlink("/proc/self/exe", name.data(), name.size());
    if (n > 0 && static_cast<std::size_t>(n) < name.size()) {
        name.resize(static_cast<std::size_t>(n));
        return name;
    }
#endif
    return std::string();  // GCOVR_EXCL_LINE: Linux answers above
}

}  // namespace quelt::os
