// The working text of the line rules (the conversions, the reformulation): a
// line that may grow far beyond 250 characters on the way.
#pragma once

#include <cstring>

#include "document/linestore.h"
#include "support/strfunc.h"
#include "textops/convert.h"

// A line being converted. It may grow far beyond 250 characters on the way
// (a rule may shrink it again before the end); past kWorkChars it only
// notes that it overflowed, and such a line is kept as it was. No rule can
// reach kWorkChars with a result that would still fit a line.
constexpr int kWorkChars = 2048;

struct WorkText {
    char text[kWorkChars + 1];  // always NUL-terminated
    int length = 0;
    bool overflow = false;

    WorkText() { text[0] = '\0'; }
    explicit WorkText(const char* s) {
        length = static_cast<int>(std::strlen(s));
        if (length > kLineChars) length = kLineChars;
        std::memcpy(text, s, static_cast<std::size_t>(length));
        text[length] = '\0';
    }
    bool room(int n) {
        if (length + n > kWorkChars) overflow = true;
        return !overflow;
    }
    void add(const char* s, int n) {
        if (n < 1 || !room(n)) return;
        std::memcpy(text + length, s, static_cast<std::size_t>(n));
        length += n;
        text[length] = '\0';
    }
    void add(const char* s) { add(s, static_cast<int>(std::strlen(s))); }
    void fill(char c, int n) {
        if (n < 1 || !room(n)) return;
        std::memset(text + length, c, static_cast<std::size_t>(n));
        length += n;
        text[length] = '\0';
    }
    void add(int ch) {
        const char c = static_cast<char>(ch);
        add(&c, 1);
    }
    void insert(int pos, const char* s) {
        if (!room(static_cast<int>(std::strlen(s)))) return;
        str_insert(s, text, pos);
        length = static_cast<int>(std::strlen(text));
    }
    void erase(int pos, int n) {
        str_delete(text, pos, n);
        length = static_cast<int>(std::strlen(text));
    }
};

// The result of a rule: trailing white space trimmed (the store never holds
// it), then into out when it fits a line; else CONVERT_KEEP.
inline int workFinish(WorkText& w, char* out) {
    if (w.overflow) return CONVERT_KEEP;
    str_trim_right(w.text);
    const int n = static_cast<int>(std::strlen(w.text));
    if (n > kLineChars) return CONVERT_KEEP;
    std::memcpy(out, w.text, static_cast<std::size_t>(n) + 1);
    return n;
}
