// The messages between the batch and its workers: any bytes in a field, a
// message cut anywhere by the pipe, bytes no worker writes, and a result
// that comes through whole.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "src/batch/protocol.h"

namespace quelt::test {
namespace {

using namespace quelt::batch;

TEST(BatchMessages, AMessageCutAnywhereWaitsForItsRest) {
    const std::vector<std::string> fields = {"7", "a b:c.xml", "", std::string("x\0y;\n", 5)};
    const std::string bytes = encode_fields(fields) + encode_fields({"8", "b", "c", "d"});
    for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
        std::string buffer = bytes.substr(0, cut);
        std::vector<std::string> got;
        std::vector<std::vector<std::string>> taken;
        while (take_message(buffer, 4, got) == Take::taken) taken.push_back(got);
        buffer += bytes.substr(cut);
        while (take_message(buffer, 4, got) == Take::taken) taken.push_back(got);
        ASSERT_EQ(taken.size(), 2u) << "cut at " << cut;
        EXPECT_EQ(taken[0], fields) << "cut at " << cut;
        EXPECT_EQ(taken[1], (std::vector<std::string>{"8", "b", "c", "d"}));
        EXPECT_TRUE(buffer.empty());
    }
}

TEST(BatchMessages, BytesNoWorkerWritesAreGarbled) {
    std::vector<std::string> got;
    for (const char* bytes : {"12x:abc", ":abc", "x", "1234567890123:a", "1:a::"}) {
        std::string buffer = bytes;
        Take t = take_message(buffer, 1, got);
        if (t == Take::taken) t = take_message(buffer, 1, got);
        EXPECT_EQ(t, Take::garbled) << bytes;
    }
    std::string twelve_digits = "000000000001:a";
    EXPECT_EQ(take_message(twelve_digits, 1, got), Take::taken);
    std::string waiting = "123456789012";
    EXPECT_EQ(take_message(waiting, 1, got), Take::more);
}

TEST(BatchMessages, AResultComesThroughWhole) {
    FileResult r;
    r.outcome.status = 13;
    r.outcome.errors_e = 2;
    r.outcome.warnings_w = 1;
    r.outcome.no_submission = true;
    r.outcome.input_missing = true;
    r.outcome.failure = "Nelze otevrit soubor  a;b\nc.xml";
    r.records = 12345678901LL;
    r.submitter = "=2+5";
    r.employers = "1, 2";
    std::string buffer = encode_result(42, r);
    std::vector<std::string> fields;
    ASSERT_EQ(take_message(buffer, kResultFields, fields), Take::taken);
    EXPECT_EQ(fields[0], "42");
    const FileResult back = decode_result(fields);
    EXPECT_EQ(back.outcome.status, 13);
    EXPECT_EQ(back.outcome.errors_e, 2);
    EXPECT_EQ(back.outcome.warnings_w, 1);
    EXPECT_TRUE(back.outcome.no_submission);
    EXPECT_TRUE(back.outcome.input_missing);
    EXPECT_EQ(back.outcome.failure, r.outcome.failure);
    EXPECT_EQ(back.records, r.records);
    EXPECT_EQ(back.submitter, r.submitter);
    EXPECT_EQ(back.employers, r.employers);
    EXPECT_FALSE(decode_result({"1", "0", "0", "0", "0", "0", "0", "", "", ""}).outcome.no_submission);
}

}  // namespace
}  // namespace quelt::test
