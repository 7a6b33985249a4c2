// The operating system's part of the batch's worker processes: starting this
// program again as a worker with two pipes, feeding it, waiting on all of
// them at once with a time limit, ending them, and the requests to stop the
// whole batch (Ctrl+C, SIGTERM, a closed terminal or console window). POSIX
// systems use posix_spawn, pipes and poll; Windows CreateProcess, named
// pipes read with overlapped I/O and a job object. Nothing here knows the
// checker.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace quelt::os {

// The most workers a batch starts (Windows waits on at most 64 objects, one
// of them the request to stop).
constexpr int kMostWorkers = 63;

// A worker process. Destroying a running one kills it.
class Worker {
public:
    Worker();
    ~Worker();
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;

    // Starts program with the arguments (each passed whole). False when it
    // could not be started.
    bool start(const std::string& program, const std::vector<std::string>& arguments);
    // Writes all the bytes to the worker's input. False when it is gone.
    bool send(const std::string& bytes);
    // Ends it at once and waits for its end.
    void kill();
    // Closes its input, which ends a worker waiting for a task, without
    // waiting for its end.
    void close_input();
    // Closes its input and waits for its end; one that does not end within
    // a second is killed.
    void finish();
    bool running() const;

    std::string received;  // bytes read from it and not yet taken
    bool ended = true;     // its output has ended (it exited, died, or never ran)

    struct Native;
    std::unique_ptr<Native> native;
};

// What wait_for_workers saw.
struct WaitResult {
    enum Kind { output, timeout, stop } kind = timeout;
    int worker = -1;  // for output: whose bytes arrived or whose output ended
};

// Waits at most timeout_ms (negative: without limit) until a running worker
// sends bytes or ends (appended to its received, or ended set), or the batch
// is asked to stop.
WaitResult wait_for_workers(std::vector<std::unique_ptr<Worker>>& workers, int timeout_ms);

// From now on Ctrl+C, Ctrl+Break, SIGTERM and a closed terminal or console
// window are requests to stop that wait_for_workers reports, instead of
// ending the program at once; a request made before is forgotten.
void catch_stop_requests();
// Said when the program has done what a stop asks for (its summary is on
// the disk): a closing console window waits for it, a few seconds at most.
void stop_done();

// In a worker, at its start: it ends with the batch (parent is the batch's
// process number as the batch gave it), and its standard input and output
// carry bytes as they are.
void become_worker(const std::string& parent);

// This process's number, for become_worker.
std::string process_number();

// Processors this process may use (at least 1).
int processor_count();

// This program's own file, to start it again as a worker; empty when unknown.
std::string own_program();

}  // namespace quelt::os
