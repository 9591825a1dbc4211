// The reformulation of the marked lines: the rules on one line, through the
// conversions' frame.
#include "textops/reform.h"

#include <cstring>

#include "support/strfunc.h"
#include "textops/convert.h"
#include "textops/worktext.h"

char reformRules[REFORM_RULES_MAX + 1] = "";
char reformFile[FILE_PATH_MAX + 1] = "";

namespace {

// Every occurrence of find from the line's start on becomes by; the walk goes
// on behind what it put in, so the replacement is never searched again.
void substitute(WorkText& w, const char* find, const char* by) {
    const int findLength = static_cast<int>(std::strlen(find));
    const int byLength = static_cast<int>(std::strlen(by));
    str_trim_right(w.text);
    w.length = static_cast<int>(std::strlen(w.text));
    for (int at = str_find(w.text, find); at >= 0 && !w.overflow;) {
        w.erase(at, findLength);
        w.insert(at, by);
        const int next = str_find(w.text + at + byLength, find);
        at = next < 0 ? -1 : at + byLength + next;
    }
    str_trim_right(w.text);
    w.length = static_cast<int>(std::strlen(w.text));
}

// One rule line (at most REFORM_RULE_MAX characters) on w: false when it
// deletes the line.
bool applyRule(char* rule, WorkText& w) {
    str_trim(rule);
    const char kind = rule[0];
    if ((kind != 's' && kind != 'd') || rule[1] == '\0') return true;
    char rest[REFORM_RULE_MAX + 1];
    char first[REFORM_RULE_MAX + 1];
    char second[REFORM_RULE_MAX + 1];
    str_ncopy(rest, rule + 1, REFORM_RULE_MAX);
    str_cut_field(first, rest);
    if (kind == 'd') return !wild_match(first, w.text);
    str_cut_field(second, rest);
    if (first[0] != '\0') substitute(w, first, second);
    return true;
}

}  // namespace

bool reformRulesRead(const char* path) {
    LineFile file;
    if (path == nullptr || path[0] == '\0' || lf_open(&file, path) < 0) return false;
    reformRules[0] = '\0';
    int used = 0;
    char line[REFORM_FILE_LINE_MAX + 3];  // and CR LF
    while (used < REFORM_RULES_MAX && lf_read_line(&file, line, REFORM_FILE_LINE_MAX) >= 0) {
        std::strncat(line, "\r\n", sizeof line - std::strlen(line) - 1);
        const int n = static_cast<int>(std::strlen(line));
        const int take = n < REFORM_RULES_MAX - used ? n : REFORM_RULES_MAX - used;
        std::memcpy(reformRules + used, line, static_cast<std::size_t>(take));
        used += take;
        reformRules[used] = '\0';
    }
    lf_close(&file);
    return true;
}

int reform_line(const char* in, char* out) {
    WorkText w(in);
    bool keep = true;
    for (const char* p = reformRules; *p != '\0';) {
        const char* end = std::strchr(p, '\n');
        const int length = end != nullptr ? static_cast<int>(end - p) : static_cast<int>(std::strlen(p));
        char rule[REFORM_RULE_MAX + 1];
        str_ncopy(rule, p, length < REFORM_RULE_MAX ? length : REFORM_RULE_MAX);
        if (!applyRule(rule, w)) keep = false;
        p += length;
        if (*p == '\n') ++p;
    }
    if (w.overflow) return CONVERT_KEEP;
    if (!keep) return CONVERT_REMOVE;
    return workFinish(w, out);
}

int reform_apply() { return convert_marked_lines(reform_line); }
