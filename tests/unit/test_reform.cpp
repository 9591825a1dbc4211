// "Umformulieren": the rules on one line, the rule files, the marked lines rewritten.
#include "textops/reform.h"

#include "editor_fixture.h"
#include "host/headless_messages.h"
#include "textops/convert.h"

namespace {

std::string reformed(const std::string& rules, const std::string& in) {
    std::snprintf(reformRules, sizeof reformRules, "%s", rules.c_str());
    char out[kLineChars + 1];
    const int n = reform_line(in.c_str(), out);
    return n == CONVERT_REMOVE ? "<remove>" : n == CONVERT_KEEP ? "<keep>" : out;
}

TEST(ReformRules, EachRuleLineRewritesOrDeletesTheLine) {
    EXPECT_TRUE(reformRulesRead(Y8_SAMPLES_DIR "kommentar.txt"));  // its first line, prose, is no rule
    const std::string file = reformRules;
    struct Row { std::string rules, in, out; };
    const Row rows[] = {
        {file, "i++; /* eins */  ", "i++; // eins"}, {"s", "s", "s"},  // a rule file's rules; a kind alone is none
        {"s/a/b/", "aaa", "bbb"}, {"s/a/aa/", "a", "aa"},  // the replacement is never searched again
        {"d/#*/", "1 x", "<remove>"}, {"d/#*/", "x 1", "x 1"}, {"d/*/", "alles", "<remove>"}, {"d//", "", "<remove>"},
        {"s|/|\\|", "a/b/c", "a\\b\\c"}, {"s/x/y z", "axb", "ay zb"},  // any delimiter; replacement to the end
        {"s//y/", "ab", "ab"}, {"  s/a/b/ Kommentar  ", "a", "b"}, {"S/a/b/", "a", "a"}, {"s/b/ /", "ab", "a"},
        {"s/a/b/\r\nd/b/\r\ns/b/c/", "a", "<remove>"}, {"s/a/b/\r\ns/b/c/", "a", "c"},  // rules see earlier results
        {reformTemplate, "..von.. bis ..gesucht..", "..nach.. bis ..gesucht.."},
        {reformTemplate, "..gesucht..", "<remove>"},
        {"s/a/" + std::string(90, 'b') + "/", "a", std::string(76, 'b')},  // a rule line is cut to 80
        {"s/a/aaa/", std::string(83, 'a'), std::string(249, 'a')}, {"s/a/aaa/", std::string(84, 'a'), "<keep>"},
        {"s/a/aaa/\r\ns/aaa/a/", std::string(200, 'a'), std::string(200, 'a')},  // past 250 only on the way
        {"s/a/" + std::string(70, 'a') + "/", std::string(250, 'a'), "<keep>"},  // past the working text
    };
    std::snprintf(reformRules, sizeof reformRules, "s/a/b/");  // a rule file that does not open leaves the rules
    EXPECT_FALSE(reformRulesRead(Y8_SAMPLES_DIR "fehlt.txt"));
    EXPECT_STREQ(reformRules, "s/a/b/");
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rules + " on " + r.in);
        EXPECT_EQ(reformed(r.rules, r.in), r.out);
    }
}

TEST(Reform, OnlyTheMarkedLinesAreRewrittenAndAFullStoreRefusesAll) {
    const std::string tooLong(84, 'a');
    struct Row { const char* rules; std::vector<int> marked; long slack; std::vector<std::string> want;
                 int boxes, changed; };
    const Row rows[] = {
        {"s/a/x/\r\nd/#*/", {0, 2, 3}, -1, {"x", "a", "xx", tooLong}, 0, 1},
        {"s/a/x/", {}, -1, {"a", "a", "1b", "aa", tooLong}, 0, 1},           // nothing marked: no line changes
        {"s/a/aaa/", {0, 4}, -1, {"aaa", "a", "1b", "aa", tooLong}, 1, 1},   // the line too long stays, one box
        {"s/a/aaa/", {0, 1}, 4, {"aaa", "aaa", "1b", "aa", tooLong}, 0, 1},  // exactly room for the growth
        {"s/a/aaa/", {0, 1}, 3, {"a", "a", "1b", "aa", tooLong}, 1, 0},      // one byte short: nothing changes
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rules);
        editorStart();
        loadLines({"a", "a", "1b", "aa", tooLong});
        for (int line : r.marked) markDocumentLines({line});
        cursorRow = 2;
        if (r.slack >= 0) fillStoreLeaving(r.slack);
        headless_reset();
        std::snprintf(reformRules, sizeof reformRules, "%s", r.rules);
        reform_apply();
        std::vector<std::string> text = documentLines().text;  // without the store's filling:
        EXPECT_EQ(std::vector<std::string>(text.end() - static_cast<long>(r.want.size()), text.end()), r.want);
        EXPECT_EQ(static_cast<int>(headless_boxes().size()), r.boxes);
        EXPECT_EQ(modified, r.changed);
        editorStop();
    }
}

}  // namespace
