// Worker processes on Windows (process.h): CreateProcess with an anonymous
// pipe for the tasks and a named pipe for the results, read with overlapped
// I/O so that one wait covers every worker and the stop request; a job
// object ends the workers with the batch, however the batch ends.
#include "src/os/process.h"

#include <cstring>

#include <fcntl.h>
#include <io.h>

#include "src/os/wide_windows.h"

namespace quelt::os {

struct Worker::Native {
    HANDLE process = nullptr;
    HANDLE input = nullptr;   // the batch writes here
    HANDLE output = nullptr;  // the batch reads here (overlapped)
    HANDLE event = nullptr;   // signalled when a read ends
    bool reading = false;     // an overlapped read is pending
    OVERLAPPED overlapped{};
    char buffer[1 << 16];
};

namespace {

HANDLE stop_event = nullptr;      // set by a request to stop
HANDLE stop_done_event = nullptr; // set once the batch has done what it asks
volatile LONG stop_seen = 0;

// Ctrl+C, Ctrl+Break: the batch stops and says so. A closing window, a log
// off or a shutdown end the process when this handler returns: it waits
// until the batch has written its summary, a few seconds at most.
BOOL WINAPI on_console_event(DWORD event) {
    InterlockedExchange(&stop_seen, 1);
    SetEvent(stop_event);
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        WaitForSingleObject(stop_done_event, 4000);
    return TRUE;
}

// Every worker goes into this job, which ends them all when its last handle
// closes: the batch's own, at the batch's end, whatever way it ends.
HANDLE workers_job() {
    static HANDLE job = [] {
        HANDLE j = CreateJobObjectW(nullptr, nullptr);
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        if (j != nullptr)
            SetInformationJobObject(j, JobObjectExtendedLimitInformation, &limits, sizeof limits);
        return j;
    }();
    return job;
}

// One argument as the C library of the started program splits its command
// line: in double quotes, a quote escaped, backslashes before a quote doubled.
void add_argument(std::wstring& line, const std::wstring& arg) {
    if (!line.empty()) line += L' ';
    line += L'"';
    std::size_t slashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++slashes;
            continue;
        }
        line.append(c == L'"' ? slashes * 2 + 1 : slashes, L'\\');
        slashes = 0;
        line += c;
    }
    line.append(slashes * 2, L'\\');
    line += L'"';
}

void close_handle(HANDLE& h) {
    if (h != nullptr) CloseHandle(h);
    h = nullptr;
}

// The results' pipe, named so that the batch can read it overlapped; the
// other end is the worker's standard output.
bool results_pipe(HANDLE& read_end, HANDLE& write_end) {
    static long serial = 0;
    const std::wstring name = L"\\\\.\\pipe\\quelt-davka-" + std::to_wstring(GetCurrentProcessId()) +
                              L"-" + std::to_wstring(++serial);
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    read_end = CreateNamedPipeW(name.c_str(),
                                PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
                                PIPE_TYPE_BYTE | PIPE_WAIT, 1, 0, 1 << 16, 0, nullptr);
    if (read_end == INVALID_HANDLE_VALUE) {
        read_end = nullptr;
        return false;
    }
    write_end = CreateFileW(name.c_str(), GENERIC_WRITE, 0, &inherit, OPEN_EXISTING, 0, nullptr);
    if (write_end != INVALID_HANDLE_VALUE) return true;
    write_end = nullptr;
    close_handle(read_end);
    return false;
}

// Starts the process suspended, puts it into the job, then lets it run.
bool create_worker(const std::wstring& program, std::wstring& line, HANDLE in, HANDLE out,
                   HANDLE& process) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = in;
    si.hStdOutput = out;
    si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION pi{};
    // A process group of its own: Ctrl+C reaches the batch alone, which ends
    // its workers itself.
    if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE,
                        CREATE_SUSPENDED | CREATE_NEW_PROCESS_GROUP, nullptr, nullptr, &si, &pi))
        return false;
    if (workers_job() != nullptr) AssignProcessToJobObject(workers_job(), pi.hProcess);
    ResumeThread(pi.hThread);
    CloseHandle(pi.hThread);
    process = pi.hProcess;
    return true;
}

}  // namespace

Worker::Worker() : native(std::make_unique<Native>()) {}

Worker::~Worker() { kill(); }

bool Worker::start(const std::string& program, const std::vector<std::string>& arguments) {
    kill();
    HANDLE out_read = nullptr, out_write = nullptr, in_read = nullptr, in_write = nullptr;
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    if (!results_pipe(out_read, out_write)) return false;
    const bool pipes = CreatePipe(&in_read, &in_write, &inherit, 1 << 16) &&
                       SetHandleInformation(in_write, HANDLE_FLAG_INHERIT, 0);
    const std::wstring wide_program = wide_from_utf8(program);
    std::wstring line;
    add_argument(line, wide_program);
    for (const std::string& a : arguments) add_argument(line, wide_from_utf8(a));
    HANDLE process = nullptr;
    const bool started = pipes && create_worker(wide_program, line, in_read, out_write, process);
    close_handle(out_write);
    close_handle(in_read);
    if (!started) {
        close_handle(out_read);
        close_handle(in_write);
        return false;
    }
    native->process = process;
    native->input = in_write;
    native->output = out_read;
    native->event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    native->reading = false;
    received.clear();
    ended = false;
    return true;
}

bool Worker::send(const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD n = 0;
        if (!WriteFile(native->input, bytes.data() + done, static_cast<DWORD>(bytes.size() - done),
                       &n, nullptr))
            return false;
        done += n;
    }
    return true;
}

namespace {

void close_worker(Worker::Native& n) {
    close_handle(n.input);
    if (n.reading) {
        CancelIo(n.output);
        DWORD got = 0;
        GetOverlappedResult(n.output, &n.overlapped, &got, TRUE);
        n.reading = false;
    }
    close_handle(n.output);
    close_handle(n.event);
    close_handle(n.process);
}

}  // namespace

void Worker::kill() {
    if (native->process == nullptr) return;
    TerminateProcess(native->process, 13);
    WaitForSingleObject(native->process, INFINITE);
    close_worker(*native);
    ended = true;
}

void Worker::close_input() { close_handle(native->input); }

void Worker::finish() {
    if (native->process == nullptr) return;
    close_handle(native->input);
    if (WaitForSingleObject(native->process, 1000) != WAIT_OBJECT_0) {
        kill();
        return;
    }
    close_worker(*native);
    ended = true;
}

bool Worker::running() const { return native->process != nullptr; }

namespace {

// Starts the worker's next read unless one is pending; false when its
// output has ended.
bool read_pending(Worker::Native& n) {
    if (n.reading) return true;
    ResetEvent(n.event);
    std::memset(&n.overlapped, 0, sizeof n.overlapped);
    n.overlapped.hEvent = n.event;
    if (!ReadFile(n.output, n.buffer, sizeof n.buffer, nullptr, &n.overlapped) &&
        GetLastError() != ERROR_IO_PENDING)
        return false;
    n.reading = true;
    return true;
}

}  // namespace

WaitResult wait_for_workers(std::vector<std::unique_ptr<Worker>>& workers, int timeout_ms) {
    HANDLE events[MAXIMUM_WAIT_OBJECTS];
    int whose[MAXIMUM_WAIT_OBJECTS];
    DWORD n = 0;
    if (stop_event != nullptr) {
        events[n] = stop_event;
        whose[n++] = -1;
    }
    for (std::size_t i = 0; i < workers.size() && n < MAXIMUM_WAIT_OBJECTS; ++i) {
        Worker& w = *workers[i];
        if (w.ended || !w.running()) continue;
        if (!read_pending(*w.native)) {
            w.ended = true;
            return WaitResult{WaitResult::output, static_cast<int>(i)};
        }
        events[n] = w.native->event;
        whose[n++] = static_cast<int>(i);
    }
    if (stop_seen) return WaitResult{WaitResult::stop};
    const DWORD r = WaitForMultipleObjects(n, events, FALSE,
                                           timeout_ms < 0 ? INFINITE : static_cast<DWORD>(timeout_ms));
    if (stop_seen) return WaitResult{WaitResult::stop};
    if (r < WAIT_OBJECT_0 || r >= WAIT_OBJECT_0 + n || whose[r - WAIT_OBJECT_0] < 0)
        return WaitResult{};
    const int i = whose[r - WAIT_OBJECT_0];
    Worker& w = *workers[static_cast<std::size_t>(i)];
    DWORD got = 0;
    w.native->reading = false;
    if (!GetOverlappedResult(w.native->output, &w.native->overlapped, &got, FALSE))
        w.ended = true;
    else
        w.received.append(w.native->buffer, got);
    return WaitResult{WaitResult::output, i};
}

void catch_stop_requests() {
    if (stop_event == nullptr) stop_event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (stop_done_event == nullptr) stop_done_event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ResetEvent(stop_event);
    InterlockedExchange(&stop_seen, 0);
    SetConsoleCtrlHandler(on_console_event, TRUE);
}

void stop_done() {
    if (stop_done_event != nullptr) SetEvent(stop_done_event);
}

void become_worker(const std::string&) {
    // The job ends the worker with the batch. Its pipes carry bytes as they
    // are (a text stream would turn LF into CR LF).
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
}

std::string process_number() { return std::to_string(GetCurrentProcessId()); }

int processor_count() {
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    return info.dwNumberOfProcessors > 0 ? static_cast<int>(info.dwNumberOfProcessors) : 1;
}

std::string own_program() {
    std::wstring name(32768, L'\0');
    const DWORD n = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (n == 0 || n >= name.size()) return std::string();
    name.resize(n);
    return utf8_from_wide(name);
}

}  // namespace quelt::os
