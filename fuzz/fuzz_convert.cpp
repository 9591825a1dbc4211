// Fuzzes the conversions and the reformulation: a document (and for the
// reformulation a rule text) from the input, some of its lines block-marked,
// in a roomy or (flags 0x81) a nearly full store, through one command.
// Every rule alone gives a line of at most 250 characters without a NUL inside
// and without trailing white space. The command either is refused and changes
// nothing (not even the changed flag), or its document is exactly the old one
// with each line it converts replaced by what the rule alone makes of it
// (kept, removed or rewritten); the table and HTML commands, whose rules look
// at more than one line, are held to the store's soundness.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_editor.h"
#include "support/strfunc.h"
#include "textops/convert.h"
#include "textops/reform.h"

namespace {

constexpr int kTableExpand = 9, kTableCompress = 10, kHtmlOptimize = 11, kReform = 12, kCommands = 13;

LineRule ruleOf(int command) {
    switch (command) {
        case CONVERT_DETAB: return [](const char* in, char* out) { return detabText(in, out, tabStep); };
        case CONVERT_ENTAB: return [](const char* in, char* out) { return entabText(in, out, tabStep); };
        case CONVERT_PC_TO_ANSI: return pcToAnsiText;
        case CONVERT_ANSI_TO_PC: return ansiToPcText;
        case CONVERT_VISIBLE: return visibleText;
        case CONVERT_HTML_TO_ANSI: return htmlToAnsiText;
        case CONVERT_ANSI_TO_HTML: return ansiToHtmlText;
        case CONVERT_C_SPACING: return cSpacingText;
        case CONVERT_XOR_7: return xor7Text;
        case kTableCompress: return tableCompressText;
        case kReform: return reform_line;
        default: return nullptr;
    }
}

int run(int command) {
    switch (command) {
        case kTableExpand: return table_expand();
        case kTableCompress: return table_compress();
        case kHtmlOptimize: return html_optimize();
        case kReform: return reform_apply();
        default: return convert_lines(command);
    }
}

// A rule's result: within a line, terminated where it says, trimmed.
void checkRuleResult(int n, const char* out) {
    if (n == CONVERT_KEEP || n == CONVERT_REMOVE) return;
    fuzzCheck(n >= 0 && n <= kLineChars, "a rule made a line longer than 250 characters");
    fuzzCheck(static_cast<int>(std::strlen(out)) == n, "a rule's line holds a NUL or misstates its length");
    fuzzCheck(n == 0 || !std::strchr(" \t\r\n\v\f", out[n - 1]), "a rule left trailing white space");
}

std::string textOf(const std::vector<LineRecord>& lines) {
    std::string text;
    for (const LineRecord& line : lines) text += std::string(line.text) + "\n";
    while (text.size() >= 2 && text.compare(text.size() - 2, 2, "\n\n") == 0) text.pop_back();
    return text == "\n" ? "" : text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    const int command = data[0] % kCommands;
    const uint8_t flags = data[1];
    const char* rest = reinterpret_cast<const char*>(data + 3);
    size_t restSize = size - 3;

    if (command == kReform) {  // the rule text comes first, up to a NUL
        const size_t n = strnlen(rest, restSize);
        std::snprintf(reformRules, sizeof reformRules, "%.*s", static_cast<int>(n), rest);
        const size_t used = n < restSize ? n + 1 : n;
        rest += used;
        restSize -= used;
    }
    // The document: lines split at LF (and at a NUL, which a line cannot hold),
    // each cut to 250 characters and without trailing white space, as the
    // loader and the window rows keep every line; lines marked by the bits of flags.
    std::vector<LineRecord> document;
    for (size_t at = 0; at <= restSize && document.size() < 400;) {
        size_t end = at;
        while (end < restSize && rest[end] != '\n' && rest[end] != '\0') ++end;
        LineRecord line;
        lineInit(&line);
        const size_t length = std::min<size_t>(end - at, kLineChars);
        std::memcpy(line.text, rest + at, length);
        str_trim_right_n(line.text, static_cast<int>(length));
        if ((flags & 2) && ((flags >> 2) >> (document.size() % 6) & 1)) line.markState = '1';
        document.push_back(line);
        at = end + 1;
    }

    fuzzEditorStart(20, 80, (flags & 0x81) == 0x81, &document);
    tabStep = 2 + data[2] % 15;
    const std::vector<LineRecord> before = fuzzDocumentLines();
    const LineRule rule = ruleOf(command);
    bool anyMarked = false;
    std::vector<int> made(before.size());  // what the rule alone makes of each line
    std::vector<LineRecord> madeLines(before);  // its lines, where it makes one
    for (std::size_t i = 0; i < before.size(); ++i) {
        anyMarked = anyMarked || before[i].markState != '0';
        if (!rule) continue;
        char out[kLineChars + 1];
        made[i] = rule(before[i].text, out);
        checkRuleResult(made[i], out);
        if (made[i] >= 0) std::memcpy(madeLines[i].text, out, static_cast<std::size_t>(made[i]) + 1);
    }

    modified = 0;
    const int result = run(command);
    fuzzCheckStore();
    const std::vector<LineRecord> after = fuzzDocumentLines();
    if (result != 0) {
        fuzzCheck(textOf(after) == textOf(before) && modified == 0, "a refused command changed the document");
    } else if (rule) {
        const bool markedOnly = command == kReform;
        std::vector<LineRecord> expected;
        for (std::size_t i = 0; i < before.size(); ++i) {
            const bool converts = before[i].markState != '0' || (!anyMarked && !markedOnly);
            const int n = converts ? made[i] : CONVERT_KEEP;
            if (n == CONVERT_REMOVE) continue;
            expected.push_back(n == CONVERT_KEEP ? before[i] : madeLines[i]);
        }
        fuzzCheck(textOf(after) == textOf(expected), "the command's lines differ from its rule's");
    }
    fuzzEditorStop();
    return 0;
}
