// One operation of the editor per run, for callgrind: the document is loaded
// with collection off, the operation runs with collection on (valgrind
// --collect-atstart=no), and the document is written to a file afterwards, so
// that bench/run-bench.sh can compare it with what the GNU tools make.
//
//   y8_measure make FILE          writes the benchmark document to FILE
//   y8_measure OP FILE [OUT]      loads FILE, runs OP, saves to OUT
//
// Prints one line "bytes=N rows=R segments=S repaints=P result=X".
#include <valgrind/callgrind.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "../../tests/lib/empty_store.h"
#include "document/docfile.h"
#include "document/docstate.h"
#include "document/linestore.h"
#include "document/undelete.h"
#include "host/headless.h"
#include "textops/block.h"
#include "textops/convert.h"
#include "textops/lists.h"
#include "view/cursor.h"
#include "view/options.h"
#include "view/recorder.h"
#include "view/refresh.h"
#include "view/search.h"
#include "view/taste.h"
#include "view/textview.h"

namespace {

// The document: C-like lines indented by tabs, with tabs inside and CP850
// umlauts in comments and strings, as many as keep the store able to take a
// Detab of the whole: limit packed bytes after the Detab.
std::string documentBytes(std::size_t limit) {
    static const char* const kPieces[] = {
        "if (", "count", " = ", "buffer[i]", "->next", " && ", "++", ";", "return ", "(void)",
        "while (p != NULL)", " {", "}", "\t/* Gr\x94\xE1" "e pr\x81" "fen */", "printf(\"%d\\n\", value)",
        "static int ", "const char* name", ", ", "size_t n", "\t/* \x84nderung f\x81r \x9A" "berlauf */",
        " + 1", ")", "int x", "\"\x8E" "pfel \x99l\"", "INT_MAX", "unsigned int k",
    };
    std::uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7FFF;
    };
    std::string doc = "/* Benchmark-Dokument */\n";
    std::size_t detabbed = 2 * (24 + 5);
    for (;;) {
        std::string line(next() % 4 / 2, '\t');
        const unsigned pieces = next() % 10;  // 0: an empty line
        for (unsigned i = 0; i < pieces; ++i) line += kPieces[next() % (sizeof kPieces / sizeof *kPieces)];
        if (line.size() > 120) line.resize(120);
        while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.pop_back();
        std::size_t expanded = 0;  // the line's length after a Detab
        for (const char ch : line) expanded = ch == '\t' ? (expanded / 8 + 1) * 8 : expanded + 1;
        detabbed += expanded + 5;  // a packed record: the text and 5 bytes
        if (detabbed > limit) break;
        doc += line + "\n";
    }
    return doc + "/* Ende */\n";
}

void setUpEditor() {
    headless_reset();
    emptyStoreStart(40, 80);
    undeleteCreate();
    optionsSetDefaults();
    tabStep = 8;
    recorderReset();
    snapshotReset();
    viewStateStart(0);
    keepFileTime = 0;
    hasName = modified = partlyLoaded = 0;
    fileName[0] = '\0';
}

// Every step-th line marked, the others not, and the window filled from the
// document's first line; false when the window's rows do not fit the store.
bool markEvery(int step) {
    if (flushWindowBelow() != 0) return false;
    moveAllBelow();
    struct Walk { int step, n; } walk{step, 0};
    visitBelow([](LineRecord* line, void* user) {
        Walk& w = *static_cast<Walk*>(user);
        line->markState = w.n++ % w.step == 0 ? '2' : '0';
        return 1;
    }, &walk);
    fillWindowFromBelow();
    topLine = aboveCountGet();
    return true;
}

int countCharacters(LineRecord* line, void* user) {
    *static_cast<long*>(user) += static_cast<long>(std::strlen(line->text));
    return 1;
}

void setSearch(const char* find, const char* replace, int sensitive) {
    std::strcpy(searchText, find);
    std::strcpy(replaceText, replace);
    replaceEnabled = replace[0] != '\0';
    caseSensitive = sensitive;
    wholeWord = 0;
}

// A list sink that only counts the entries and their characters.
void countEntry(const char* entry, void* user) { *static_cast<long*>(user) += 1 + static_cast<long>(std::strlen(entry)); }

// One list of kind over the document, the cursor on line 300 (inside a block
// of the structure); the search list of text.
int buildList(int kind, const char* text) {
    listRequest(kind, text);
    listInit();
    long n = 0;
    const ListFill fill = listBuildEntries(countEntry, &n);
    return fill.count + static_cast<int>(n % 1000);
}

constexpr std::size_t kDetabbedBytes = 94000;

unsigned char gSource[100000], gTarget[100000];

// The operation named op, collected by callgrind; its result.
int runCollected(std::string_view op, const char* file, const char* out) {
    int result = 0;
    const auto collected = [&result](auto&& fn) {
        CALLGRIND_TOGGLE_COLLECT;
        result = fn();
        CALLGRIND_TOGGLE_COLLECT;
    };
    if (op == "memcpy") {
        collected([] {
            std::memcpy(gTarget, gSource, sizeof gTarget);
            return static_cast<int>(gTarget[99999]);
        });
        return result;
    }
    if (op == "load") {
        collected([file] { return docLoad(file, true); });
        return result;
    }
    if (docLoad(file, true) != 0 || partlyLoaded) return -100;
    refreshAll();
    headless_reset();
    if (op == "save") collected([out] { return writeFile(out, false); });
    else if (op == "search" || op == "search-case") {
        setSearch("xyzzy", "", op == "search-case");
        collected([] { return searchNext(); });
    } else if (op == "replace" || op == "replace-case") {
        setSearch("int", "long", op == "replace-case");
        if (!markEvery(1)) return -101;
        collected([] { return block_replace(); });
    } else if (op == "detab") collected([] { return convert_lines(CONVERT_DETAB); });
    else if (op == "entab") collected([] { return convert_lines(CONVERT_ENTAB); });
    else if (op == "pc-ansi") collected([] { return convert_lines(CONVERT_PC_TO_ANSI); });
    else if (op == "ansi-pc") collected([] { return convert_lines(CONVERT_ANSI_TO_PC); });
    else if (op == "html") collected([] { return convert_lines(CONVERT_ANSI_TO_HTML); });
    else if (op == "block-delete") {
        if (!markEvery(1)) return -101;
        collected([] { block_delete(); return 0; });
    } else if (op == "block-copy" || op == "block-move") {
        if (!markEvery(8)) return -101;  // a block the nearly full store can still copy
        if (op == "block-copy") collected([] { return block_copy(0); });
        else collected([] { return block_move(); });
    } else if (op == "walk") {
        collected([] {
            long n = 0;
            visitAbove(countCharacters, &n);
            visitBelow(countCharacters, &n);
            return static_cast<int>(n % 1000000);
        });
    }
    else if (op == "overview" || op == "structure" || op == "search-list") {
        if (gotoLine(300) != 0) return -101;
        if (op == "overview") collected([] { return buildList(kListOverview, ""); });
        else if (op == "structure") collected([] { return buildList(kListStructure, ""); });
        else collected([] { return buildList(kListSearch, "int"); });
    } else if (op == "type" || op == "right") {
        cursorRow = 10;
        cursorCol = 4;
        // The first key after a load takes the line snapshot and measures the
        // rows once; the figure is that of every key after it.
        keyChar('a', false, false, false);
        keyDown(0x27, false, false, false);  // VK_RIGHT
        refreshAll();
        headless_reset();
        if (op == "type") collected([] { keyChar('a', false, false, false); return 0; });
        else collected([] { keyDown(0x27, false, false, false); return 0; });  // VK_RIGHT
    } else return -102;
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: y8_measure make FILE | y8_measure OP FILE [OUT]\n");
        return 2;
    }
    const std::string_view op = argv[1];
    if (op == "make") {
        const std::string doc = documentBytes(kDetabbedBytes);
        FILE* f = std::fopen(argv[2], "wb");
        if (f == nullptr || std::fwrite(doc.data(), 1, doc.size(), f) != doc.size() || std::fclose(f) != 0) return 1;
        return 0;
    }
    setUpEditor();
    const char* out = argc > 3 ? argv[3] : nullptr;
    const int result = runCollected(op, argv[2], out);
    const HeadlessRecord& rec = headless_record();
    std::printf("result=%d rows=%d segments=%d repaints=%d\n", result, rec.rowsPainted, rec.textsPainted,
                rec.viewRepaints);
    if (out != nullptr && op != "save" && op != "memcpy" && op != "load" && writeFile(out, false) != 0) return 1;
    return result < 0 ? 1 : 0;
}
