// The messages between the batch and its workers (protocol.h).
#include "src/batch/protocol.h"

#include <cstdlib>

namespace quelt::batch {

namespace {

// Longest length a field may say it has: 12 digits, far above any name.
constexpr std::size_t kMostDigits = 12;

bool read_field(std::FILE* in, std::string& field) {
    std::size_t length = 0;
    std::size_t digits = 0;
    int c;
    while ((c = std::fgetc(in)) != ':') {
        if (c < '0' || c > '9' || ++digits > kMostDigits) return false;
        length = length * 10 + static_cast<std::size_t>(c - '0');
    }
    field.resize(length);
    return std::fread(field.data(), 1, length, in) == length;
}

}  // namespace

std::string encode_fields(const std::vector<std::string>& fields) {
    std::string out;
    for (const std::string& f : fields) {
        out += std::to_string(f.size());
        out += ':';
        out += f;
    }
    return out;
}

Take take_message(std::string& buffer, std::size_t count, std::vector<std::string>& fields) {
    std::vector<std::string> found;
    std::size_t i = 0;
    while (found.size() < count) {
        std::size_t length = 0;
        std::size_t k = i;
        for (; k < buffer.size() && buffer[k] != ':'; ++k) {
            if (buffer[k] < '0' || buffer[k] > '9' || k - i >= kMostDigits) return Take::garbled;
            length = length * 10 + static_cast<std::size_t>(buffer[k] - '0');
        }
        if (k == buffer.size()) return Take::more;
        if (k == i) return Take::garbled;
        if (buffer.size() - (k + 1) < length) return Take::more;
        found.push_back(buffer.substr(k + 1, length));
        i = k + 1 + length;
    }
    buffer.erase(0, i);
    fields = std::move(found);
    return Take::taken;
}

bool read_message(std::FILE* in, std::size_t count, std::vector<std::string>& fields) {
    fields.resize(count);
    for (std::string& field : fields)
        if (!read_field(in, field)) return false;
    return true;
}

std::string encode_result(std::size_t row, const FileResult& r) {
    const RunOutcome& o = r.outcome;
    return encode_fields({std::to_string(row), std::to_string(o.status), std::to_string(o.errors_e),
                          std::to_string(o.warnings_w), o.no_submission ? "1" : "0",
                          o.input_missing ? "1" : "0", std::to_string(r.records), r.submitter,
                          r.employers, o.failure});
}

FileResult decode_result(const std::vector<std::string>& f) {
    FileResult r;
    r.outcome.status = std::atoi(f[1].c_str());
    r.outcome.errors_e = std::atoi(f[2].c_str());
    r.outcome.warnings_w = std::atoi(f[3].c_str());
    r.outcome.no_submission = f[4] == "1";
    r.outcome.input_missing = f[5] == "1";
    r.records = std::atoll(f[6].c_str());
    r.submitter = f[7];
    r.employers = f[8];
    r.outcome.failure = f[9];
    return r;
}

}  // namespace quelt::batch
