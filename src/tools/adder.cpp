#include "tools/adder.h"

#include <cstdio>
#include <cstring>

#include "document/docstate.h"
#include "document/linestore.h"
#include "support/platform.h"
#include "resources/resource.h"
#include "support/strfunc.h"
#include "view/editing.h"
#include "view/marking.h"
#include "view/refresh.h"
#include "view/textview.h"

std::int32_t sumInt = 0;
double sumReal = 0.0;
int adderInText = 0;

namespace {

// The adder dialog while it is open, and what its fields show.
struct AdderDialog {
    std::intptr_t window = 0;  // 0: closed
    bool refocus = false;      // the main window to the front after the next update
    bool intShown = false;     // fields 3000/3010 show shownInt
    std::int32_t shownInt = 0;
    bool realShown = false;    // field 3100 shows shownReal
    double shownReal = 0.0;
};
AdderDialog adder;

constexpr int kNewLineBytes = 5;     // what an empty line takes in the store
constexpr int kLineSumChars = 200;   // "$" looks at this much of the line
constexpr char kAdderKeys[] = "+-0=$_";
constexpr const char* kNumberChars = "0123456789-+,.";

// Sums keep the 32-bit arithmetic: they wrap instead of overflowing.
std::int32_t wrapped(std::uint32_t bits) { return static_cast<std::int32_t>(bits); }
std::int32_t wrappedAdd(std::int32_t a, std::int32_t b) {
    return wrapped(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
std::int32_t wrappedSub(std::int32_t a, std::int32_t b) {
    return wrapped(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

void postClose() {
    if (adder.window != 0) plat_post_dialog_command(adder.window, ADDER_CLOSE_COMMAND);
}

// "+" and "-": the number of the word under the cursor added or taken away,
// then the cursor one line down.
void addWordAtCursor(bool subtract) {
    char word[kLineChars + 1];
    tokenAtCursor(word, sizeof word);
    const AdderNumber n = adderNumberOf(word);
    if (subtract) {
        sumInt = wrappedSub(sumInt, n.integer);
        sumReal -= n.real;
    } else {
        sumInt = wrappedAdd(sumInt, n.integer);
        sumReal += n.real;
    }
    // The Down key's move, and the refresh a nested key ends with.
    EditAction action;
    cursorLineDown();
    refreshAll();
}

void sumOfCursorLine() {
    LineRecord line;
    rowGet(cursorRow, &line);
    sumInt = adderLineSum(line.text);
    sumReal = static_cast<double>(sumInt);
}

void typeResult() {
    char text[ADDER_TEXT_SIZE];
    adderResultText(text);
    if (typeText(text) == 0) postClose();  // refused: the sum stays at hand
}

}  // namespace

void adderReset() {
    sumInt = 0;
    sumReal = 0.0;
    adderInText = 0;
    adder = AdderDialog{};
}

// --- The dialog's life ------------------------------------------------------------------

void adderOpening(int refocus) { adder.refocus = refocus != 0; }

void adderOpened(std::intptr_t dialog) {
    const bool refocus = adder.refocus;
    adder = AdderDialog{};
    adder.window = dialog;
    adder.refocus = refocus;
    plat_post_dialog_command(dialog, DLG_REFRESH);
}

void adderClosed() { adder = AdderDialog{}; }

bool adderIsOpen() { return adder.window != 0; }

bool adder_active() { return adder.window != 0 && adderInText != 0; }

void adderInstall() { refreshListenerAdd(adder_refresh); }

bool adderTakesKey(int ch) {
    if (!adder_active() || !isAdderKey(ch)) return false;
    adderKey(ch);
    return true;
}

void adder_refresh() {
    if (adder.window != 0) plat_post_dialog_command(adder.window, DLG_REFRESH);
}

void adderShortcut() {
    if (adder_active()) {
        postClose();
    } else {
        plat_post_command(CMD_ADDIERER, 1);  // lParam 1: open with refocus
    }
}

// --- Command 2510 ----------------------------------------------------------------------

void adderDecimalText(std::int32_t n, char* buf) {
    std::snprintf(buf, ADDER_TEXT_SIZE, "%ld", static_cast<long>(n));
}

void adderHexText(std::int32_t n, char* buf) {
    std::snprintf(buf, ADDER_TEXT_SIZE, "%lX", static_cast<unsigned long>(static_cast<std::uint32_t>(n)));
}

AdderView adderView() {
    AdderView view = {};
    if (!adder.intShown || sumInt != adder.shownInt) {
        view.intChanged = true;
        adderDecimalText(sumInt, view.decimal);
        adderHexText(sumInt, view.hex);
        adder.intShown = true;
        adder.shownInt = sumInt;
    }
    if (!adder.realShown || sumReal != adder.shownReal) {
        view.realChanged = true;
        format_fixed(view.real, sizeof view.real, sumReal);
        adder.realShown = true;
        adder.shownReal = sumReal;
    }
    view.refocus = adder.refocus;
    adder.refocus = false;
    return view;
}

// --- Typing into the fields -----------------------------------------------------------

void adderDecimalTyped(const char* text, char* hexOut) {
    sumInt = read_int(text ? text : "");
    adderHexText(sumInt, hexOut);
}

void adderHexTyped(const char* text, char* decimalOut) {
    // Only the last eight digits fit the 32 bits: the rest wraps away.
    sumInt = wrapped(static_cast<std::uint32_t>(hex_to_int(text ? text : "")));
    adderDecimalText(sumInt, decimalOut);
}

void adderRealTyped(const char* text) { sumReal = read_double(text ? text : ""); }

void adderInTextSet(int checked) { adderInText = checked ? 1 : 0; }

// --- The keys in the text ---------------------------------------------------------------

bool isAdderKey(int ch) { return ch > 0 && ch < 256 && std::strchr(kAdderKeys, ch) != nullptr; }

void adderKey(int ch) {
    switch (ch) {
    case '0':
        sumInt = 0;
        sumReal = 0.0;
        break;
    case '+':
    case '-':
        addWordAtCursor(ch == '-');
        break;
    case '$':
        sumOfCursorLine();
        break;
    case '=':
        typeResult();
        break;
    case '_':
        postClose();
        break;
    default:
        break;
    }
}

AdderNumber adderNumberOf(const char* word) {
    char number[kLineChars + 1];
    int n = 0;
    if (word != nullptr) {
        while (n < kLineChars && word[n] != '\0' && std::strchr(kNumberChars, word[n]) != nullptr) {
            number[n] = word[n];
            ++n;
        }
    }
    number[n] = '\0';

    // German form: a comma after the first character is the decimal point,
    // and every period only groups thousands. Without a comma a period is the
    // decimal point.
    const char* comma = n > 1 ? std::strchr(number + 1, ',') : nullptr;
    if (comma != nullptr) {
        int kept = 0;
        for (int i = 0; i < n; ++i) {
            if (number + i == comma) number[kept++] = '.';
            else if (number[i] != '.') number[kept++] = number[i];
        }
        number[kept] = '\0';
    }
    return AdderNumber{read_int(number), read_double(number)};
}

void adderResultText(char* buf) {
    char decimal[ADDER_TEXT_SIZE];
    adderDecimalText(sumInt, decimal);
    char real[ADDER_TEXT_SIZE];
    format_fixed(real, sizeof real, sumReal);
    const std::size_t length = std::strlen(decimal);
    const bool whole = std::strncmp(real, decimal, length) == 0 && std::strcmp(real + length, ".00") == 0;
    str_ncopy(buf, whole ? decimal : real, ADDER_TEXT_SIZE - 1);
}

std::int32_t adderLineSum(const char* text) {
    char line[kLineSumChars + 1];
    str_ncopy(line, text ? text : "", kLineSumChars);
    std::int32_t sum = 0;
    const char* p = line;
    while (*p != '\0') {
        while (*p == ' ') ++p;
        if (*p == '\0') break;
        sum = wrappedAdd(sum, read_int(p));
        while (*p != '\0' && *p != ' ') ++p;
    }
    return sum;
}

// --- The ANSI table ---------------------------------------------------------------------

int ansiTableText(bool upper, bool decimal, char* buf) {
    const int columns = upper ? 8 : 6;
    const int first = upper ? 128 : 32;
    int length = 0;
    for (int r = 0; r < 16; ++r) {
        for (int c = 0; c < columns; ++c) {
            const int code = first + c * 16 + r;
            length += std::snprintf(buf + length, static_cast<std::size_t>(ANSI_TEXT_SIZE - length),
                                    decimal ? "%3d %c  " : "%02X %c   ", code, code);
        }
        buf[length++] = '\r';
        buf[length++] = '\n';
    }
    buf[length] = '\0';
    return length;
}

// --- Strich -------------------------------------------------------------------------------

int strich(int kind) {
    static constexpr char kRuling[] = {'\xAF', '\xAD', '_'};
    if (kind < 0 || kind > 2) return -1;
    if (!editFits(STRICH_LENGTH + kNewLineBytes)) return -1;  // the user is told
    linesChanging();
    if (flushRowsAbove(cursorRow) < 0) {
        editRefused();
        return -1;
    }
    LineRecord line;
    lineInit(&line);
    std::memset(line.text, kRuling[kind], STRICH_LENGTH);
    line.text[STRICH_LENGTH] = '\0';
    const int pushed = pushAbove(&line);
    fillRowsFromAbove(cursorRow);
    topLine = aboveCountGet();
    if (pushed != 0) {
        editRefused();
        return -1;
    }
    modified = 1;
    invalidateAll();
    refreshAll();
    return 0;
}
