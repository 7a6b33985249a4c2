// The verdict: the one rule that tells a clerk whether a file may be sent,
// its words in every form, and what real runs leave for it to read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "src/report/verdict.h"
#include "src/report/verdict_json.h"
#include "src/run/run.h"
#include "src/state/run_state.h"
#include "tests/unit/report_capture.h"
#include "tests/unit/scratch_folder.h"

namespace quelt::test {
namespace {

RunOutcome outcome(int status, int e = 0, int w = 0, bool no_submission = false) {
    RunOutcome o;
    o.status = status;
    o.errors_e = e;
    o.warnings_w = w;
    o.no_submission = no_submission;
    return o;
}

struct RuleCase {
    const char* what;
    RunOutcome outcome;
    Verdict expected;
};

TEST(Verdict, OneRuleForEveryOutcome) {
    const RuleCase cases[] = {
        {"complete, nothing found", outcome(0), Verdict::ok},
        {"one warning", outcome(0, 0, 1), Verdict::warnings},
        {"one error", outcome(0, 1, 0), Verdict::errors},
        {"errors outweigh warnings", outcome(0, 3, 40), Verdict::errors},
        {"no submission read to its end", outcome(0, 1, 0, true), Verdict::errors},
        {"ES306 counts even if no E were counted", outcome(0, 0, 0, true), Verdict::errors},
        {"failed run with findings so far", outcome(13, 5, 2), Verdict::incomplete},
        {"failed run, nothing found", outcome(13), Verdict::incomplete},
    };
    for (const RuleCase& c : cases) EXPECT_EQ(verdict_of(c.outcome), c.expected) << c.what;
}

TEST(Verdict, FixedCodesAndWords) {
    const struct {
        Verdict verdict;
        const char* code;
        const char* word;
    } rows[] = {
        {Verdict::ok, "ok", "lze odeslat"},
        {Verdict::warnings, "warnings", "s varováními"},
        {Verdict::errors, "errors", "opravit"},
        {Verdict::incomplete, "incomplete", "nezkontrolováno"},
    };
    for (const auto& r : rows) {
        EXPECT_STREQ(verdict_code(r.verdict), r.code);
        EXPECT_STREQ(verdict_word(r.verdict), r.word);
    }
}

TEST(Verdict, TextsSayWhatToDo) {
    EXPECT_EQ(verdict_text(outcome(0)).headline, "Soubor je v pořádku a můžete ho odeslat.");
    EXPECT_EQ(verdict_text(outcome(0, 0, 2)).headline, "Soubor smíte odeslat, až prověříte varování.");
    const VerdictText faulty = verdict_text(outcome(0, 2));
    EXPECT_EQ(faulty.headline, "Soubor neodesílejte: obsahuje chyby (váha E).");
    EXPECT_NE(faulty.advice.find("znovu vyexportujte"), std::string::npos);
    // A file that is no complete submission has nothing to correct in it.
    const VerdictText foreign = verdict_text(outcome(0, 1, 0, true));
    EXPECT_EQ(foreign.headline, "Soubor neodesílejte: není to úplný datový soubor ORV.");
    EXPECT_NE(foreign.advice.find("export nedokončil"), std::string::npos);
    // An incomplete run names its failure, its Windows-1250 name in UTF-8.
    RunOutcome failed = outcome(13);
    failed.failure = "Nelze otevrit soubor  mzdy-\xE8\x65rven.xml";
    const VerdictText gone = verdict_text(failed);
    EXPECT_EQ(gone.headline, "Soubor nebyl zkontrolován: kontrola nedoběhla.");
    EXPECT_EQ(gone.advice.find("Důvod: Nelze otevrit soubor  mzdy-červen.xml. "), 0u);
    EXPECT_EQ(verdict_text(outcome(13)).advice, "Odstraňte příčinu a spusťte kontrolu znovu.");
}

TEST(Verdict, DerivedForms) {
    EXPECT_EQ(ascii_from_utf8("Soubor neodesílejte: obsahuje chyby (váha E)."),
              "Soubor neodesilejte: obsahuje chyby (vaha E).");
    EXPECT_EQ(ascii_from_utf8("Žluťoučký kůň úpěl ďábelské ódy – „Ň“…"),
              "Zlutoucky kun upel dabelske ody - \"N\"...");
    EXPECT_EQ(ascii_from_utf8("Ш"), "?");  // no Latin letter to fall back on
    // A character of four bytes is one '?'; each byte that starts no
    // well-formed character is one '?' of its own.
    const std::pair<const char*, const char*> malformed[] = {
        {"a\xF0\x9F\x98\x80" "b", "a?b"},  // U+1F600
        {"a\x80" "b", "a?b"},                // a continuation byte alone
        {"a\xC1\x81", "a??"},               // no lead byte
        {"a\xC3", "a?"},                     // cut short at the end
        {"\xC3" "a", "?a"},                  // cut short by an ASCII byte
    };
    for (const auto& [utf8, ascii] : malformed) EXPECT_EQ(ascii_from_utf8(utf8), ascii) << ascii;
    // Every Czech text of the verdicts has an ASCII form without a '?'.
    for (const RunOutcome& o : {outcome(0), outcome(0, 0, 1), outcome(0, 1), outcome(0, 1, 0, true),
                                outcome(13)}) {
        const VerdictText t = verdict_text(o);
        EXPECT_EQ(ascii_from_utf8(t.headline + t.advice).find('?'), std::string::npos) << t.headline;
    }
    EXPECT_EQ(ascii_from_utf8(kHowToCheckAFile).find('?'), std::string::npos);
}

TEST(Verdict, ConsoleLinesOfAWindowOfItsOwn) {
    EXPECT_EQ(verdict_console_lines(outcome(0, 4, 1)),
              " Vysledek kontroly: Soubor neodesilejte: obsahuje chyby (vaha E).\n");
    RunOutcome missing = outcome(13);
    missing.input_missing = true;
    EXPECT_EQ(verdict_console_lines(missing),
              " Vysledek kontroly: Soubor nebyl zkontrolovan: kontrola nedobehla.\n"
              " Datovy soubor pretahnete mysi na quelt.exe, nebo otevrete stranku "
              "quelt-kontrola.html a zkontrolujte ho v prohlizeci.\n");
}

// A run keeps its first failure: a later one does not replace it.
TEST(Verdict, TheFirstFailureOfARunCounts) {
    reset_verdict();
    note_run_failure("Nelze otevrit soubor  a.xml", true);
    note_run_failure("Nelze zapsat do souboru  r.csv", false);
    const RunOutcome o = outcome_of_last_run(13);
    EXPECT_EQ(o.failure, "Nelze otevrit soubor  a.xml");
    EXPECT_TRUE(o.input_missing);
    reset_verdict();
    EXPECT_EQ(outcome_of_last_run(13).failure, "");
}

// The page takes the verdict as JSON: a name with quotes, backslashes or
// control characters cannot break it.
TEST(Verdict, AsJsonForThePage) {
    std::string out;
    append_json_string(out, "a\"b\\c\n\x01č");
    EXPECT_EQ(out, "\"a\\\"b\\\\c\\u000a\\u0001č\"");
    RunOutcome failed = outcome(13);
    failed.failure = "Nelze otevrit soubor  \"x\".xml";
    out.clear();
    append_verdict_members(out, failed);
    EXPECT_EQ(out.find("\"verdict\":\"incomplete\",\"word\":\"nezkontrolováno\",\"headline\":"), 0u);
    EXPECT_NE(out.find("soubor  \\\"x\\\".xml. "), std::string::npos);
}

// ---- What real runs leave for the verdict ----

class VerdictOfARun : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return folder_ / name; }
    void write(const std::string& name, const std::string& text) { write_file(path(name), text); }
    static RunOutcome run(std::vector<std::string> args) {
        std::vector<const char*> argv;
        for (const std::string& a : args) argv.push_back(a.c_str());
        int status = 0;
        console_of([&] { status = quelt_run(static_cast<int>(argv.size()), argv.data()); });
        return outcome_of_last_run(status);
    }
    ScratchFolder folder_;
};

TEST_F(VerdictOfARun, EachEndingGivesItsVerdict) {
    write("empty.xml", "");
    write("cut.xml", "<ORV>\n<rok>20");
    write("page.xml", "<html><body>not ORV</body></html>\n");
    write("list.lst", path("cut.xml") + " " + path("gone.xml") + "\n");
    const struct {
        std::vector<std::string> args;
        Verdict verdict;
        bool no_submission;
        bool input_missing;
        const char* failure;
    } cases[] = {
        {{QUELT_SOURCE_DIR "/examples/priklad.xml", path("a.csv")}, Verdict::ok, false, false, ""},
        {{path("empty.xml"), path("b.csv")}, Verdict::errors, true, false, ""},
        {{path("cut.xml"), path("c.csv")}, Verdict::errors, true, false, ""},
        {{path("page.xml"), path("d.csv")}, Verdict::errors, true, false, ""},
        {{path("gone.xml"), path("e.csv")}, Verdict::incomplete, false, true, "Nelze otevrit soubor  "},
        {{"@" + path("list.lst"), path("f.csv")}, Verdict::incomplete, false, true, "Nelze otevrit soubor  "},
        {{path("cut.xml"), path("cut.xml")}, Verdict::incomplete, false, false, "Soubor  "},
        {{path("cut.xml"), path("x.csv"), "-q"}, Verdict::incomplete, false, false, "Chybny parametr -q"},
        {{path("cut.xml"), "/nonexistent-folder/r.csv"}, Verdict::incomplete, false, false,
         "Nelze otevrit soubor  /nonexistent-folder/r.csv"},
    };
    for (const auto& c : cases) {
        const RunOutcome o = run(c.args);
        EXPECT_EQ(verdict_of(o), c.verdict) << c.args[0];
        EXPECT_EQ(o.no_submission, c.no_submission) << c.args[0];
        EXPECT_EQ(o.input_missing, c.input_missing) << c.args[0];
        EXPECT_EQ(o.failure.rfind(c.failure, 0), 0u) << c.args[0] << ": " << o.failure;
    }
}

// A warning counts with -w too, where it is not written.
TEST_F(VerdictOfARun, WarningsCountWhenNotWritten) {
    const std::string data = read_file(QUELT_SOURCE_DIR "/tests/golden/cases/employer_wl042_counts/in.xml");
    ASSERT_FALSE(data.empty());
    write("w.xml", data);
    const RunOutcome o = run({path("w.xml"), path("w.csv"), "-w"});
    EXPECT_GT(o.warnings_w, 0);
    EXPECT_EQ(o.errors_e, 0);
    EXPECT_EQ(verdict_of(o), Verdict::warnings);
}

}  // namespace
}  // namespace quelt::test
