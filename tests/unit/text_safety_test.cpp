// The text safety of every output against the shared cases of
// tests/text_safety/cases.json, which the page's module is tested against
// too: both editions must write the same bytes for the same text. The
// cases' texts are Unicode; all kinds but link are Windows-1250 here.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "src/report/text_safety.h"
#include "src/xml/cp1250.h"
#include "tests/unit/scratch_folder.h"

namespace quelt::test {
namespace {

struct Case {
    std::string what, kind, in, out;
};

// Just enough JSON for the cases file: objects, arrays and strings with
// the escapes of quotes, backslashes, line ends and tabs; numbers, true,
// false and null do not occur in it.
class CasesReader {
public:
    explicit CasesReader(std::string text) : s_(std::move(text)) {}

    std::vector<Case> cases() {
        std::vector<Case> found;
        const std::size_t list = s_.find("\"cases\"");
        if (list == std::string::npos) return found;
        i_ = s_.find('[', list) + 1;
        while (skip_blanks() == '{') found.push_back(one_case());
        return found;
    }

private:
    char skip_blanks() {
        while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\n' || s_[i_] == '\r' || s_[i_] == '\t' || s_[i_] == ','))
            ++i_;
        return i_ < s_.size() ? s_[i_] : '\0';
    }

    Case one_case() {
        Case c;
        ++i_;  // '{'
        while (skip_blanks() == '"') {
            const std::string key = string();
            skip_blanks();
            ++i_;  // ':'
            skip_blanks();
            const std::string value = string();
            if (key == "what") c.what = value;
            if (key == "kind") c.kind = value;
            if (key == "in") c.in = value;
            if (key == "out") c.out = value;
        }
        ++i_;  // '}'
        return c;
    }

    std::string string() {
        std::string out;
        for (++i_; i_ < s_.size() && s_[i_] != '"'; ++i_) {
            if (s_[i_] != '\\') {
                out += s_[i_];
                continue;
            }
            // The cases write their characters as they are: only these
            // escapes occur.
            const char e = s_[++i_];
            EXPECT_NE(std::string("\"\\/nrt").find(e), std::string::npos) << "escape \\" << e;
            out += e == 'n' ? '\n' : e == 'r' ? '\r' : e == 't' ? '\t' : e;
        }
        ++i_;
        return out;
    }

    std::string s_;
    std::size_t i_ = 0;
};

std::vector<Case> shared_cases() {
    return CasesReader(read_file(QUELT_SOURCE_DIR "/tests/text_safety/cases.json")).cases();
}

std::string apply(const std::string& kind, const std::string& text) {
    std::string scratch;
    if (kind == "report_markup") return escape_markup(text.c_str(), scratch);
    if (kind == "report_csv") return escape_report_field(text.c_str(), scratch);
    if (kind == "html") return escape_html(text);
    if (kind == "summary_csv") return summary_csv_field(text);
    if (kind == "link") return relative_link(text);
    ADD_FAILURE() << "unknown kind " << kind;
    return {};
}

TEST(TextSafety, EverySharedCase) {
    const std::vector<Case> cases = shared_cases();
    ASSERT_GE(cases.size(), 30u);
    for (const Case& c : cases) {
        const bool bytes = c.kind == "link";
        const std::string in = bytes ? c.in : cp1250_from_utf8(c.in);
        const std::string want = bytes ? c.out : cp1250_from_utf8(c.out);
        EXPECT_EQ(apply(c.kind, in), want) << c.kind << ": " << c.what;
    }
}

// The report's escapes hand back the text itself when nothing changes: a
// row of a large report costs no copy.
TEST(TextSafety, TheReportKeepsAPlainTextWithoutACopy) {
    std::string scratch;
    const char* plain = "EL031 1870";
    EXPECT_EQ(escape_markup(plain, scratch), plain);
    EXPECT_EQ(escape_report_field(plain, scratch), plain);
}

}  // namespace
}  // namespace quelt::test
