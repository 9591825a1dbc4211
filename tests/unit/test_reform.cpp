// "Umformulieren": the rules on one line, the rule files, and the marked lines
// rewritten through the conversions' frame.
#include "textops/reform.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "editor_fixture.h"
#include "host/headless_messages.h"
#include "textops/convert.h"

namespace {

// One line through the rules: its text, "<remove>" or "<keep>".
std::string reformed(const std::string& rules, const std::string& in) {
    std::snprintf(reformRules, sizeof reformRules, "%s", rules.c_str());
    char out[kLineChars + 1];
    const int n = reform_line(in.c_str(), out);
    return n == CONVERT_REMOVE ? "<remove>" : n == CONVERT_KEEP ? "<keep>" : out;
}

TEST(ReformRules, EachRuleLineRewritesOrDeletesTheLine) {
    struct Row { std::string rules, in, out; };
    const Row rows[] = {
        {"s/a/b/", "aaa", "bbb"},      {"s/a/aa/", "a", "aa"},  // the replacement is never searched again
        {"d/#*/", "1 x", "<remove>"},  {"d/#*/", "x 1", "x 1"}, {"d/*/", "alles", "<remove>"},
        {"d//", "", "<remove>"},       {"d//", "x", "x"},
        {"s|/|\\|", "a/b/c", "a\\b\\c"},                       // any delimiter
        {"s/x/y z", "axb", "ay zb"},                           // the replacement runs to the line's end
        {"s//y/", "ab", "ab"},         {"  s/a/b/ Kommentar  ", "a", "b"},
        {"# s/a/b/", "a", "a"},        {"S/a/b/", "a", "a"},    // other first characters: comments
        {"s/b/ /", "ab", "a"},                                 // trailing white space goes
        {"s/a/b/\r\nd/b/\r\ns/b/c/", "a", "<remove>"},          // later rules see what earlier ones made
        {reformTemplate, "..von.. bis ..gesucht..", "..nach.. bis ..gesucht.."},
        {reformTemplate, "..gesucht..", "<remove>"},
        {"s/a/" + std::string(90, 'b') + "/", "a", std::string(76, 'b')},  // a rule line is cut to 80
        {"s/a/aaa/", std::string(83, 'a'), std::string(249, 'a')},
        {"s/a/aaa/", std::string(84, 'a'), "<keep>"},          // 252 characters: the line stays
        {"s/a/aaa/\r\ns/aaa/a/", std::string(200, 'a'), std::string(200, 'a')},  // past 250 only on the way
        {"s/a/" + std::string(70, 'a') + "/", std::string(250, 'a'), "<keep>"},  // past the working text
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rules + " on " + r.in);
        EXPECT_EQ(reformed(r.rules, r.in), r.out);
    }
}

TEST(ReformRules, ARuleFileReplacesTheRulesOnlyWhenItOpens) {
    std::snprintf(reformRules, sizeof reformRules, "s/a/b/");
    EXPECT_FALSE(reformRulesRead(Y8_SAMPLES_DIR "fehlt.txt"));
    EXPECT_STREQ(reformRules, "s/a/b/");
    ASSERT_TRUE(reformRulesRead(Y8_SAMPLES_DIR "kommentar.txt"));
    EXPECT_EQ(reformed(reformRules, "x = 1; /* eins */"), "x = 1; // eins");
    const std::string path = testing::TempDir() + "y8-reform-lang.txt";  // 50 lines of 120 characters
    std::FILE* f = std::fopen(path.c_str(), "wb");
    for (int i = 0; i < 50; ++i) std::fprintf(f, "%s\n", std::string(120, 'x').c_str());
    std::fclose(f);
    ASSERT_TRUE(reformRulesRead(path.c_str()));
    std::remove(path.c_str());
    const std::string rules = reformRules;  // 100 kept a line, CR LF added, 4000 in all
    EXPECT_EQ(rules.size(), 4000u);
    EXPECT_EQ(rules.substr(0, 104), std::string(100, 'x') + "\r\n" + std::string(2, 'x'));
}

TEST(Reform, OnlyTheMarkedLinesAreRewrittenAndAFullStoreRefusesAll) {
    const std::string tooLong(84, 'a');
    struct Row { const char* rules; std::vector<int> marked; long slack; std::vector<std::string> want; int boxes, changed; };
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
        std::vector<std::string> text;
        for (const std::string& line : documentLines().text)
            if (line.empty() || line[0] != 'f') text.push_back(line);  // without the store's filling
        EXPECT_EQ(text, r.want);
        EXPECT_EQ(static_cast<int>(headless_boxes().size()), r.boxes);
        EXPECT_EQ(modified, r.changed);
        editorStop();
    }
}

}  // namespace
