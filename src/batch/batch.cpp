// The batch program quelt-davka (batch.h): the inputs and their reports, the
// summary written at the start with every row not checked yet, the files
// over the worker pool, a console line per finished file, the summary kept
// current, and the totals. Every file is checked by quelt_run_file in a
// worker, so that its report is the one `quelt NAME REPORT` writes, and a
// file that hangs or kills its worker cannot stop the others.
#include "src/batch/batch.h"

#include <algorithm>
#include <cmath>

#include "src/batch/inputs.h"
#include "src/batch/naming.h"
#include "src/batch/summary.h"
#include "src/batch/worker.h"
#include "src/os/names.h"
#include "src/os/process.h"
#include "src/run/run.h"
#include "src/state/run_state.h"

namespace quelt {

namespace batch {

namespace {

struct Batch {
    std::vector<Row> rows;
    std::vector<Task> tasks;
    std::size_t said = 0;  // rows the console has a line for
    std::FILE* console = nullptr;
};

// Why a row is no run: the message its summary row shows.
std::string why_no_run(const Input& input) {
    switch (input.kind) {
        case InputKind::unreadable_folder:
            return os::message_about("Nelze cist slozku  %s", input.name);
        case InputKind::report:
            return os::message_about("Soubor  %s  je protokol kontroly, nekontroluje se", input.name);
        default:
            return os::message_about("Soubor  %s  je souhrn kontroly souboru, nekontroluje se", input.name);
    }
}

long long limit_of(const Options& o, const Input& input) {
    if (o.time_limit == 0) return 0;
    if (o.time_limit > 0) return std::max(1LL, std::llround(o.time_limit * 1000));
    return default_time_limit_ms(input.size);
}

Batch plan(const Options& o, const std::vector<Input>& inputs, std::FILE* console) {
    Batch b;
    b.console = console;
    const std::vector<std::string> reports = report_names(inputs, o.folder, extension_of(o.format));
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        Row row;
        row.input = inputs[i].name;
        row.report = reports[i];
        if (inputs[i].kind == InputKind::file) {
            b.tasks.push_back(Task{i, inputs[i].name, reports[i], limit_of(o, inputs[i])});
        } else {
            row.finished = true;
            row.result.outcome.failure = why_no_run(inputs[i]);
        }
        b.rows.push_back(std::move(row));
    }
    return b;
}

// The console line of a finished file.
void say_finished(Batch& b, const Row& row) {
    const RunOutcome& o = row.result.outcome;
    const std::string word = ascii_from_utf8(verdict_word(verdict_of_row(row)));
    std::fprintf(b.console, "[%zu/%zu] %s: %s", ++b.said, b.rows.size(), os::shown_name(row.input).c_str(),
                 word.c_str());
    if (o.status == 0)
        std::fprintf(b.console, " (chyb E %d, chyb W %d)", o.errors_e, o.warnings_w);
    else
        std::fprintf(b.console, " (stav %d): %s", o.status, o.failure.c_str());
    if (!row.report.empty()) std::fprintf(b.console, ", protokol %s", os::shown_name(row.report).c_str());
    std::fputc('\n', b.console);
    std::fflush(b.console);
}

void say_skipped(const std::vector<Skipped>& skipped, std::FILE* console) {
    for (const Skipped& s : skipped)
        std::fprintf(console, "preskocen: %s (%s)\n", os::shown_name(s.name).c_str(),
                     ascii_from_utf8(s.why).c_str());
}

void say_totals(const Batch& b, std::size_t skipped, bool stopped) {
    const Totals t = totals_of(b.rows);
    if (stopped) std::fputs("\n Kontrola prerusena: nezkontrolovane soubory uvadi souhrn\n", b.console);
    std::fprintf(b.console, "\nCelkem %s: %s\n", ascii_from_utf8(count_of_files(b.rows.size())).c_str(),
                 ascii_from_utf8(verdict_totals(b.rows)).c_str());
    if (skipped > 0)
        std::fprintf(b.console, "Preskoceno: %s (nejsou .xml nebo jsou vysledky kontroly)\n",
                     ascii_from_utf8(count_of_files(skipped)).c_str());
    std::fprintf(b.console, "Celkem chyb vahy E:%8lld\nCelkem chyb vahy W:%8lld\n", t.errors_e, t.warnings_w);
}

// The output folder and the summary's place. False, said on the console,
// when the batch cannot start: a folder it cannot make, or a summary that
// would take the place of an input or a submission.
bool prepare_folder(const Options& o, const std::vector<Input>& inputs, std::FILE* console,
                    std::string& csv, std::string& htm) {
    if (!make_path(o.folder)) {
        std::fprintf(console, " Nelze vytvorit slozku  %s\n Program ukoncen\n", os::shown_name(o.folder).c_str());
        return false;
    }
    csv = join_path(o.folder, kSummaryCsv, os::windows_names());
    htm = join_path(o.folder, kSummaryHtm, os::windows_names());
    for (const std::string* name : {&csv, &htm}) {
        if (summary_may_replace(*name, inputs)) continue;
        std::fprintf(console, " Souhrn  %s  by prepsal vstupni soubor nebo podani ORV\n Program ukoncen\n",
                     os::shown_name(*name).c_str());
        return false;
    }
    return true;
}

int cannot_write(const std::string& name, std::FILE* console) {
    std::fprintf(console, " Nelze zapsat souhrn  %s\n Program ukoncen\n", os::shown_name(name).c_str());
    return 13;
}

// Checks the files; false when a request to stop ended the batch.
bool check_all(Batch& b, SummaryFiles& summary, const PoolSettings& workers) {
    for (const Row& row : b.rows)
        if (row.finished) say_finished(b, row);
    if (b.tasks.empty()) return true;
    PoolCallbacks callbacks;
    callbacks.finished = [&](const Task& task, const FileResult& result) {
        Row& row = b.rows[task.row];
        row.finished = true;
        row.result = result;
        say_finished(b, row);
        summary.changed();
    };
    callbacks.tick = [&] { return summary.keep_up(); };
    return run_pool(b.tasks, workers, callbacks);
}

bool all_complete(const std::vector<Row>& rows) {
    return std::all_of(rows.begin(), rows.end(), complete);
}

}  // namespace

long long default_time_limit_ms(std::uint64_t size) {
    // Half a minute and a second a megabyte: the checker reads some 900 MB
    // a second (bench/README.md) and its slowest files, full of findings,
    // still tens of megabytes a second, so no real submission comes near it,
    // on a slow share or a busy machine neither.
    return 30000 + static_cast<long long>(size / 1000);
}

int worker_count(const Options& options, int processors) {
    return options.at_once > 0 ? options.at_once : std::min(processors, os::kMostWorkers);
}

int run_batch(const Options& o, const PoolSettings& workers, std::FILE* console) {
    const Inputs in = expand_names(o.names, o.every_file);
    say_skipped(in.skipped, console);
    if (in.inputs.empty()) {
        std::fputs(" Zadny soubor ke kontrole\n", console);
        return 13;
    }
    std::string csv, htm;
    if (!prepare_folder(o, in.inputs, console, csv, htm)) return 13;
    Batch b = plan(o, in.inputs, console);
    SummaryFiles summary(csv, htm, b.rows);
    os::catch_stop_requests();
    if (!summary.write(false)) return cannot_write(summary.failed(), console);
    const bool whole = check_all(b, summary, workers);
    const bool written = summary.write(!whole);
    say_totals(b, in.skipped.size(), !whole);
    os::stop_done();
    if (!written) return cannot_write(summary.failed(), console);
    std::fprintf(console, "Protokoly a souhrn jsou ve slozce:\n%s\n", os::full_path(o.folder).c_str());
    return whole && all_complete(b.rows) ? 0 : 13;
}

}  // namespace batch

int quelt_davka(const std::vector<std::string>& arguments) {
    if (!arguments.empty() && arguments[0] == batch::kWorkerSwitch) return batch::run_worker(arguments);
    batch::Options options;
    const int status = batch::read_options(arguments, options, konzole);
    if (status >= 0) return status;
    batch::PoolSettings workers;
    workers.program = os::own_program();
    workers.arguments = batch::worker_arguments(options.format, options.skip_w);
    workers.workers = batch::worker_count(options, os::processor_count());
    return batch::run_batch(options, workers, konzole);
}

}  // namespace quelt
