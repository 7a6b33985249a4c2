// The output copy: lines gathered in its buffer reach the file whole and in
// order however they fall on the buffer's end.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "src/state/run_state.h"
#include "src/structure/output_copy.h"
#include "tests/unit/scratch_folder.h"

using namespace quelt;

TEST(OutputCopy, LinesPastTheBufferReachTheFileInOrder) {
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    outsoub = file;
    sw_vystup = 'A';
    reset_output_copy();
    // About 140 KB of element lines, then as much in short texts: each kind of
    // write meets the buffer's end at least once.
    std::string want;
    for (int i = 0; i < 3000; ++i) {
        const std::string content = std::to_string(i) + std::string(i % 50, 'x');
        write_copy_line("AA0126", content, "/AA0126");
        want += "<AA0126>" + content + "</AA0126>\n";
    }
    for (int i = 0; i < 15000; ++i) {
        const std::string text(1 + i % 17, static_cast<char>('a' + i % 26));
        write_copy(text);
        want += text;
    }
    flush_copy();

    const std::string got = quelt::test::written_to(file);
    std::fclose(file);
    outsoub = nullptr;
    sw_vystup = 'N';
    EXPECT_EQ(got.size(), want.size());
    EXPECT_TRUE(got == want);
}
