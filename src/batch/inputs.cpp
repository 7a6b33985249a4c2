// The batch's inputs and their report names (inputs.h).
#include "src/batch/inputs.h"

#include <algorithm>
#include <unordered_set>

#include "src/batch/naming.h"
#include "src/batch/summary.h"
#include "src/os/names.h"
#include "src/run/file_guard.h"
#include "src/xml/cp1250.h"

namespace quelt::batch {

namespace {

struct FileIdHash {
    std::size_t operator()(const os::FileId& id) const {
        return std::hash<std::uint64_t>()(id.index * 31 + id.volume);
    }
};
using IdSet = std::unordered_set<os::FileId, FileIdHash>;

// A name quelt would take as a list ("@name") reaches the run as "./@name".
std::string as_file_name(const std::string& name) {
    return !name.empty() && name[0] == '@' ? join_path(".", name, os::windows_names()) : name;
}

// A file's input, or the batch output it is by its content: one open of
// the file tells both.
Input input_of(const std::string& name) {
    Input input;
    input.name = name;
    std::string head;
    const os::FileInfo info = os::read_head(name, kHlavaPodani, head);
    if (info.kind != os::FileKind::regular) return input;
    input.id = info.id;
    input.size = info.size;
    const BatchOutput output = batch_output_of(head);
    if (output == BatchOutput::report) input.kind = InputKind::report;
    if (output == BatchOutput::summary) input.kind = InputKind::summary;
    return input;
}

const char* why_skipped(InputKind kind) {
    return kind == InputKind::summary ? "souhrn kontroly souborů" : "protokol kontroly";
}

void add_folder(const std::string& folder, bool every_file, Inputs& out) {
    std::vector<os::FolderEntry> entries;
    if (!os::list_folder(folder, entries)) {
        Input unreadable;
        unreadable.name = folder;
        unreadable.kind = InputKind::unreadable_folder;
        out.inputs.push_back(unreadable);
        return;
    }
    std::sort(entries.begin(), entries.end(),
              [](const os::FolderEntry& a, const os::FolderEntry& b) { return a.name < b.name; });
    const std::string base = as_file_name(folder);
    for (const os::FolderEntry& e : entries) {
        if (e.folder) continue;
        const std::string name = join_path(base, e.name, os::windows_names());
        if (!every_file && !has_xml_extension(e.name)) {
            out.skipped.push_back(Skipped{name, "není .xml"});
            continue;
        }
        Input input = input_of(name);
        if (input.kind == InputKind::file)
            out.inputs.push_back(std::move(input));
        else
            out.skipped.push_back(Skipped{name, why_skipped(input.kind)});
    }
}

IdSet ids_of_checked(const std::vector<Input>& inputs) {
    IdSet ids;
    for (const Input& input : inputs)
        if (input.kind == InputKind::file && input.id.regular) ids.insert(input.id);
    return ids;
}

// Whether a report may be written at path: nothing is there, or a regular
// file that is no input and no submission. A folder, a pipe or a device
// never is a report.
bool report_may_replace(const std::string& path, const IdSet& inputs) {
    const os::FileInfo info = os::file_info(path);
    if (info.kind == os::FileKind::missing) return true;
    if (info.kind != os::FileKind::regular) return false;
    return inputs.count(info.id) == 0 && !is_orv_submission(path);
}

}  // namespace

Inputs expand_names(const std::vector<std::string>& names, bool every_file) {
    Inputs out;
    for (const std::string& name : names) {
        if (os::file_info(name).kind == os::FileKind::folder)
            add_folder(name, every_file, out);
        else
            out.inputs.push_back(input_of(as_file_name(name)));
    }
    return out;
}

std::vector<std::string> report_names(const std::vector<Input>& inputs, const std::string& folder,
                                      const char* extension) {
    const bool windows = os::windows_names();
    const IdSet ids = ids_of_checked(inputs);
    std::unordered_set<std::u32string> taken = {case_key(kSummaryCsv), case_key(kSummaryHtm)};
    std::vector<std::string> names;
    for (const Input& input : inputs) {
        names.emplace_back();
        if (input.kind != InputKind::file) continue;
        const std::string stem = report_stem(input.name, windows);
        for (int k = 1;; ++k) {
            std::string name = stem;
            if (k > 1) name.append("-").append(std::to_string(k));
            name.append(".").append(extension);
            std::u32string key = case_key(name);
            if (taken.count(key) != 0) continue;
            const std::string path = join_path(folder, name, windows);
            if (!report_may_replace(path, ids)) continue;
            taken.insert(std::move(key));
            names.back() = path;
            break;
        }
    }
    return names;
}

bool summary_may_replace(const std::string& name, const std::vector<Input>& inputs) {
    return report_may_replace(name, ids_of_checked(inputs));
}

bool make_path(const std::string& folder) {
    if (os::file_info(folder).kind == os::FileKind::folder) return true;
    const bool windows = os::windows_names();
    for (std::size_t i = root_length(folder, windows) + 1; i < folder.size(); ++i) {
        if (folder[i] != '/' && folder[i] != os::folder_separator()) continue;
        const std::string part = folder.substr(0, i);
        if (os::file_info(part).kind != os::FileKind::folder && !os::make_folder(part)) return false;
    }
    return os::make_folder(folder);
}

}  // namespace quelt::batch
