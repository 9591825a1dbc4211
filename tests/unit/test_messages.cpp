// Tests of the messages, texts, assertions and memory blocks, through the
// headless host (boxes answered from a queue, the program's string table).
//
// Windows-1252 characters are written as \xNN escapes; an escape that is
// followed by a hex digit letter is closed by splitting the literal.
#include "framework/messages.h"

#include "support/platform.h"
#include "host/headless_messages.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

class Messages : public ::testing::Test {
protected:
    void SetUp() override {
        headless_messages_reset();
        fmalloc_test_fail_after(-1);
    }
    void TearDown() override {
        fmalloc_test_fail_after(-1);
        headless_messages_reset();
    }
};

// The last box the core showed.
const HeadlessBox& last_box() {
    EXPECT_FALSE(headless_boxes().empty());
    return headless_boxes().back();
}

// A NUL-separated list as its entries.
std::vector<std::string> entries(const char* pairs) {
    std::vector<std::string> out;
    for (const char* p = pairs; *p != '\0'; p += std::strlen(p) + 1) out.emplace_back(p);
    return out;
}

// ---------------------------------------------------------------------------
// Texts
// ---------------------------------------------------------------------------

using TextsTest = Messages;

TEST_F(TextsTest, TextsAreSingleBytesAndMissingIdsGiveThePlaceholder) {
    // The 8-bit characters are single Windows-1252 bytes, not UTF-8 pairs.
    EXPECT_EQ(static_cast<unsigned char>(load_text(24)[2]), 0xE4u);
    EXPECT_EQ(static_cast<unsigned char>(load_text(21)[6]), 0xF6u);
    EXPECT_EQ(std::strlen(load_text(10)), 9u);  // one backslash
    for (int id : {7, 0, -12, 27}) {            // 27: just past the table's 20-26
        EXPECT_EQ(load_text(id), "Text " + std::to_string(id) + " fehlt.");
    }
    char buf[40];
    load_text_into(99, buf, sizeof buf);
    EXPECT_STREQ(buf, "Text 99 fehlt.");
}

TEST_F(TextsTest, RingOfTenReusesTheFirstBufferOnTheEleventhCall) {
    const int ids[11] = {10, 11, 21, 23, 24, 25, 26, 101, 103, 104, 7};
    const char* p[11];
    for (int i = 0; i < 11; ++i) p[i] = load_text(ids[i]);

    for (int i = 0; i < 10; ++i)
        for (int j = i + 1; j < 10; ++j) EXPECT_NE(p[i], p[j]) << i << " and " << j;
    // Ten calls later the first texts are all still intact ...
    EXPECT_STREQ(p[1], "NAMENLOS");
    EXPECT_STREQ(p[9], "Datum/Zeit der Datei wurden ge\xE4ndert.");
    // ... and the eleventh call wrote into the first buffer.
    EXPECT_EQ(p[10], p[0]);
    EXPECT_STREQ(p[0], "Text 7 fehlt.");
}

TEST_F(TextsTest, TextsAreCutToTheBuffer) {
    headless_set_text(900, std::string(600, 'x').c_str());
    EXPECT_EQ(std::string(load_text(900)), std::string(500, 'x'));

    char buf[8];
    std::memset(buf, '#', sizeof buf);
    load_text_into(24, buf, 6);
    EXPECT_STREQ(buf, "Ge\xE4nd");
    EXPECT_EQ(buf[6], '#');  // nothing written past max

    std::memset(buf, '#', sizeof buf);
    load_text_into(7, buf, 5);  // the placeholder is cut too
    EXPECT_STREQ(buf, "Text");
    EXPECT_EQ(buf[5], '#');

    load_text_into(11, buf, 1);
    EXPECT_STREQ(buf, "");
    buf[0] = 'q';
    load_text_into(11, buf, 0);  // no room at all: untouched
    EXPECT_EQ(buf[0], 'q');
}

TEST_F(TextsTest, RingIsOneBlockTakenOnFirstUseAndReleasedByFreeTexts) {
    free_texts();
    int before = fmalloc_count();
    load_text(10);
    load_text(11);
    EXPECT_EQ(fmalloc_count(), before + 1);
    free_texts();
    EXPECT_EQ(fmalloc_count(), before);
    free_texts();  // nothing left to release
    EXPECT_EQ(fmalloc_count(), before);

    // The ring starts again at its first buffer.
    const char* first = load_text(11);
    for (int i = 0; i < 9; ++i) load_text(10);
    EXPECT_EQ(load_text(7), first);
    EXPECT_EQ(fmalloc_count(), before + 1);
    free_texts();
}

TEST_F(TextsTest, WithoutMemoryTheRingStillKeepsTenTexts) {
    free_texts();
    fmalloc_test_fail_after(0);
    const char* p[11];
    for (int i = 0; i < 11; ++i) p[i] = load_text(i == 0 ? 24 : 11);
    EXPECT_STREQ(p[1], "NAMENLOS");
    EXPECT_EQ(p[10], p[0]);
    EXPECT_STREQ(p[0], "NAMENLOS");
    fmalloc_test_fail_after(-1);
    int count = fmalloc_count();
    free_texts();  // the reserve is no block: nothing is released
    EXPECT_EQ(fmalloc_count(), count);
}

// ---------------------------------------------------------------------------
// Boxes
// ---------------------------------------------------------------------------

using BoxesTest = Messages;

TEST_F(BoxesTest, MessageBoxesHaveTheirStylesAndOwners) {
    message_box("Fertig.");
    EXPECT_EQ(last_box().text, "Fertig.");
    EXPECT_EQ(last_box().style, 0x2040u);
    EXPECT_EQ(last_box().owner, BoxOwner::ActiveWindow);

    message_box_fmt("Sie haben bereits %d Dialogboxen ge\xF6"
                    "ffnet.",
                    100);
    EXPECT_EQ(last_box().text, "Sie haben bereits 100 Dialogboxen ge\xF6"
                               "ffnet.");
    EXPECT_EQ(last_box().style, 0x2030u);
    EXPECT_EQ(last_box().owner, BoxOwner::MainWindow);

    message_box_fmt(load_text(100), "C:\\tmp\\a.txt");
    EXPECT_EQ(last_box().text, "Dateifehler: kann C:\\tmp\\a.txt nicht \xF6"
                               "ffnen.");
    EXPECT_EQ(headless_boxes().size(), 3u);
}

TEST_F(BoxesTest, FormattedMessageIsCutAtItsBuffer) {
    std::string path(2000, 'p');
    message_box_fmt("Dateifehler: kann %s nicht herstellen.", path.c_str());
    const std::string& text = last_box().text;
    ASSERT_EQ(text.size(), 503u);
    EXPECT_EQ(text.substr(0, 18), "Dateifehler: kann ");
    EXPECT_EQ(text.find_first_not_of('p', 18), std::string::npos);

    // Several long arguments: still one cut text.
    message_box_fmt("%s|%s|%s", path.c_str(), path.c_str(), path.c_str());
    EXPECT_EQ(last_box().text.size(), 503u);
}

TEST_F(BoxesTest, YesNoAnswersAndDefaultButton) {
    struct Case {
        int answer, defaultNo, result;
        unsigned style;
    };
    const Case cases[] = {
        {box_answer::kYes, 0, 1, 0x2024},    {box_answer::kNo, 0, 0, 0x2024},
        {box_answer::kYes, 1, 1, 0x2124},    {box_answer::kNo, 1, 0, 0x2124},
        {box_answer::kYes, -5, 1, 0x2124},   // any non-zero default_no
        {box_answer::kCancel, 0, 0, 0x2024},  // anything but Yes is No
        {0, 0, 0, 0x2024},                    // no box could be shown
    };
    for (const Case& c : cases) {
        headless_box_answer(c.answer);
        EXPECT_EQ(ask_yes_no("Weiter?", c.defaultNo), c.result) << "answer " << c.answer;
        EXPECT_EQ(last_box().style, c.style) << "default_no " << c.defaultNo;
        EXPECT_EQ(last_box().owner, BoxOwner::ActiveWindow);
        EXPECT_EQ(last_box().text, "Weiter?");
    }

    headless_box_answer(box_answer::kYes);
    EXPECT_EQ(ask_yes("L\xF6schen?"), 1);
    EXPECT_EQ(last_box().style, 0x2024u);
    headless_box_answer(box_answer::kNo);
    EXPECT_EQ(ask_yes("L\xF6schen?"), 0);
}

TEST_F(BoxesTest, YesNoCancelAnswersStylesAndEscape) {
    const std::pair<int, unsigned> modes[] = {{0, 0x2023}, {1, 0x2123}, {2, 0x2223},
                                              {3, 0x2023}, {-1, 0x2023}, {1000, 0x2023}};
    for (const auto& [mode, style] : modes) {
        headless_box_answer(box_answer::kNo);
        EXPECT_EQ(ask_yes_no_cancel("Ge\xE4ndert, speichern?", mode), 0);
        EXPECT_EQ(last_box().style, style) << "mode " << mode;
        EXPECT_EQ(last_box().owner, BoxOwner::ActiveWindow);
    }
    headless_box_answer(box_answer::kYes);
    EXPECT_EQ(ask_yes_no_cancel("x", 0), 1);
    headless_box_answer(box_answer::kCancel);  // Cancel, Escape and the close button
    EXPECT_EQ(ask_yes_no_cancel("x", 0), 2);
    headless_box_answer(0);  // no box could be shown: nothing happens
    EXPECT_EQ(ask_yes_no_cancel("x", 1), 2);
    EXPECT_EQ(ask_yes_no_cancel("x", 1), 2);  // the host's Escape
}

TEST_F(BoxesTest, DebugTraceIsFormattedAndCut) {
    debug_out("cmd %d\n", 2017);
    ASSERT_FALSE(headless_debug_lines().empty());
    EXPECT_EQ(headless_debug_lines().back(), "cmd 2017\n");

    std::string longText(3000, 'd');
    debug_out("%s%s", longText.c_str(), longText.c_str());
    EXPECT_EQ(headless_debug_lines().back(), std::string(511, 'd'));
}

// ---------------------------------------------------------------------------
// File boxes
// ---------------------------------------------------------------------------

using FileBoxTest = Messages;

TEST_F(FileBoxTest, FilterBecomesTheSystemsPairList) {
    char pairs[FILE_BOX_FILTER_MAX + 2];
    file_box_filter(load_text(20), pairs);
    EXPECT_EQ(entries(pairs), (std::vector<std::string>{
                                  "Alle Dateien", "*.*", "Quellen",
                                  "*.c*;*.h*;*.l*;*.d*;*.rc;*.g*;*.txt;*.ini;makefile", "Textdateien",
                                  "*.txt", "Klartexte", "*.c*", "Definitionen", "*.h*"}));

    // The last character is the separator, whatever it is; '|' is then text.
    file_box_filter("Alle|Dateien#*.*#Texte#*.txt##", pairs);
    EXPECT_EQ(entries(pairs), (std::vector<std::string>{"Alle|Dateien", "*.*", "Texte", "*.txt"}));

    // Without the final doubled separator the list still ends in two NULs.
    std::memset(pairs, 'z', sizeof pairs);
    file_box_filter("A|*.a|", pairs);
    EXPECT_EQ(std::string(pairs, 8), std::string("A\0*.a\0\0\0", 8));
}

TEST_F(FileBoxTest, FilterKeepsOnlyWholePairsWithinItsLimit) {
    char pairs[FILE_BOX_FILTER_MAX + 2];

    // A description without a pattern is dropped.
    file_box_filter("A|*.a|B|", pairs);
    EXPECT_EQ(entries(pairs), (std::vector<std::string>{"A", "*.a"}));
    file_box_filter("Nur|", pairs);
    EXPECT_TRUE(entries(pairs).empty());
    file_box_filter("", pairs);
    EXPECT_EQ(pairs[0], '\0');
    EXPECT_EQ(pairs[1], '\0');

    // A long filter: only the pairs that end within 200 characters remain, and
    // nothing is written past the buffer.
    std::string filter;
    std::vector<std::string> expected;
    for (int i = 0; filter.size() < 400; ++i) {
        std::string d = "Beschreibung" + std::to_string(i), p = "*.e" + std::to_string(i);
        if (filter.size() + d.size() + p.size() + 2 <= FILE_BOX_FILTER_MAX) {
            expected.push_back(d);
            expected.push_back(p);
        }
        filter += d + "|" + p + "|";
    }
    filter += "|";
    std::vector<char> guarded(FILE_BOX_FILTER_MAX + 2 + 16, 'g');
    file_box_filter(filter.c_str(), guarded.data());
    EXPECT_EQ(entries(guarded.data()), expected);
    for (size_t i = FILE_BOX_FILTER_MAX + 2; i < guarded.size(); ++i) EXPECT_EQ(guarded[i], 'g') << i;

    // A cut that leaves a lone description drops it as well.
    std::string odd = std::string(190, 'D') + "|*.x|" + std::string(50, 'E') + "|*.y||";
    file_box_filter(odd.c_str(), pairs);
    EXPECT_EQ(entries(pairs), (std::vector<std::string>{std::string(190, 'D'), "*.x"}));
    std::string lone = std::string(150, 'D') + "|" + std::string(100, 'p') + "||";
    file_box_filter(lone.c_str(), pairs);
    EXPECT_TRUE(entries(pairs).empty());
}

TEST_F(FileBoxTest, StartNameSplitsIntoDirectoryAndNameField) {
    struct Case {
        const char *name, *dir, *file;
    };
    const Case cases[] = {
        {"C:\\Y8.txt", "C:\\", "Y8.txt"},
        {"C:\\src\\y8\\main.c", "C:\\src\\y8\\", "main.c"},
        {"../docs/readme", "../docs/", "readme"},
        {"D:notiz.txt", "D:", "notiz.txt"},
        {"main.c", "", "main.c"},
        {"C:\\temp\\", "C:\\temp\\", ""},
        {"", "", ""},
        {"   \t", "", ""},
        {"  /x.txt", "  /", "x.txt"},
    };
    for (const Case& c : cases) {
        char dir[FILE_BOX_PATH_MAX + 1], file[FILE_BOX_PATH_MAX + 1];
        file_box_split(c.name, dir, file);
        EXPECT_STREQ(dir, c.dir) << "'" << c.name << "'";
        EXPECT_STREQ(file, c.file) << "'" << c.name << "'";
    }

    // Of a longer name only its first 200 characters count.
    std::string longName = "C:\\" + std::string(250, 'n');
    char dir[FILE_BOX_PATH_MAX + 1], file[FILE_BOX_PATH_MAX + 1];
    file_box_split(longName.c_str(), dir, file);
    EXPECT_STREQ(dir, "C:\\");
    EXPECT_EQ(std::string(file), std::string(197, 'n'));
}

TEST_F(FileBoxTest, CancelledBoxEmptiesTheNameAndReturnsZero) {
    char name[FILE_BOX_PATH_MAX + 1] = "C:\\src\\alt.c";
    EXPECT_EQ(file_open_box(name, load_text(21), load_text(20)), 0);
    EXPECT_STREQ(name, "");
    ASSERT_EQ(headless_file_boxes().size(), 1u);
    const HeadlessFileBox& box = headless_file_boxes()[0];
    EXPECT_FALSE(box.save);
    EXPECT_EQ(box.startName, "C:\\src\\alt.c");
    EXPECT_EQ(box.title, "Datei \xF6"
                         "ffnen");
    char expected[FILE_BOX_FILTER_MAX + 2];
    file_box_filter(load_text(20), expected);
    EXPECT_EQ(entries(box.pairs.c_str()), entries(expected));
    EXPECT_EQ(box.pairs.substr(box.pairs.size() - 2), std::string(2, '\0'));

    // A confirmed box that yields no path counts as cancelled too.
    std::strcpy(name, "x.c");
    headless_file_answer("");
    EXPECT_EQ(file_save_box(name, "Datei speichern", "A|*.*||"), 0);
    EXPECT_STREQ(name, "");
}

TEST_F(FileBoxTest, ConfirmedBoxGivesThePath) {
    char name[FILE_BOX_PATH_MAX + 1] = "   ";
    headless_file_answer("C:\\neu\\brief.txt");
    EXPECT_EQ(file_save_box(name, load_text(23), load_text(22)), 1);
    EXPECT_STREQ(name, "C:\\neu\\brief.txt");
    ASSERT_EQ(headless_file_boxes().size(), 1u);
    EXPECT_TRUE(headless_file_boxes()[0].save);
    EXPECT_EQ(headless_file_boxes()[0].startName, "");  // a blank start name is no name
    EXPECT_EQ(headless_file_boxes()[0].title, "Datei speichern");

    // A start name longer than the box takes is cut, never read past 200.
    std::string longName = "C:\\" + std::string(197, 'n');
    std::strcpy(name, longName.c_str());
    headless_file_answer("C:\\b.c");
    EXPECT_EQ(file_open_box(name, "t", "A|*.*||"), 1);
    EXPECT_EQ(headless_file_boxes()[1].startName, longName);
    EXPECT_STREQ(name, "C:\\b.c");
}

// ---------------------------------------------------------------------------
// Memory blocks
// ---------------------------------------------------------------------------

using MemoryTest = Messages;

TEST_F(MemoryTest, BlocksAreZeroFilledAndCounted) {
    int before = fmalloc_count();
    auto* a = static_cast<unsigned char*>(fmalloc(30000, 4));
    auto* b = static_cast<unsigned char*>(fmalloc(10, 501));
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(fmalloc_count(), before + 2);
    for (int i = 0; i < 120000; ++i) ASSERT_EQ(a[i], 0) << i;
    for (int i = 0; i < 5010; ++i) ASSERT_EQ(b[i], 0) << i;
    a[119999] = 1;  // the whole size is usable
    EXPECT_EQ(ffree(a), 0);
    EXPECT_EQ(ffree(b), 0);
    EXPECT_EQ(fmalloc_count(), before);
}

TEST_F(MemoryTest, RefusedRequestsGiveNullAndStillCount) {
    int before = fmalloc_count();
    EXPECT_EQ(fmalloc(0, 10), nullptr);
    EXPECT_EQ(fmalloc(10, 0), nullptr);
    EXPECT_EQ(fmalloc(-1, 10), nullptr);
    EXPECT_EQ(fmalloc(10, -1), nullptr);
    EXPECT_EQ(fmalloc(0x10000, 0x10000), nullptr);  // 2^32 bytes: beyond a 32-bit long
    EXPECT_EQ(fmalloc(0x7FFFFFFF, 2), nullptr);
    EXPECT_EQ(fmalloc(3, 0x2AAAAAAB), nullptr);  // just above 2^31 - 1
    EXPECT_EQ(fmalloc_count(), before + 7);
    // Releasing what was refused: -1, and the count goes down all the same.
    EXPECT_EQ(ffree(nullptr), -1);
    EXPECT_EQ(fmalloc_count(), before + 6);
    before = fmalloc_count();

    fmalloc_test_fail_after(1);
    void* granted = fmalloc(4, 4);
    EXPECT_NE(granted, nullptr);
    EXPECT_EQ(fmalloc(4, 4), nullptr);
    fmalloc_test_fail_after(-1);
    EXPECT_EQ(ffree(granted), 0);
    EXPECT_EQ(fmalloc_count(), before + 1);  // the failed request was never released
}

TEST_F(MemoryTest, ForeignPointersAreNeitherFreedNorRead) {
    int before = fmalloc_count();
    char* block = static_cast<char*>(fmalloc(100, 1));
    ASSERT_NE(block, nullptr);
    char onStack[16] = "stack";
    void* fromMalloc = std::malloc(32);
    ASSERT_NE(fromMalloc, nullptr);

    EXPECT_EQ(ffree(onStack), -1);
    EXPECT_EQ(ffree(fromMalloc), -1);
    EXPECT_EQ(ffree(block + 1), -1);  // inside a block is not the block
    EXPECT_EQ(ffree(reinterpret_cast<void*>(static_cast<std::uintptr_t>(0x10))), -1);
    EXPECT_EQ(fmalloc_count(), before + 1 - 4);

    // Nothing was freed: the block and the foreign memory are still usable (the
    // sanitizers would report a use after free here).
    block[99] = 'x';
    EXPECT_EQ(block[99], 'x');
    std::free(fromMalloc);
    EXPECT_EQ(ffree(block), 0);
    EXPECT_EQ(ffree(block), -1);  // a second release is refused
    EXPECT_EQ(fmalloc_count(), before - 5);  // one request, six releases
}

TEST_F(MemoryTest, FullTableRefusesFurtherBlocks) {
    int before = fmalloc_count();
    std::vector<void*> blocks;
    for (int i = 0; i < FMALLOC_BLOCKS + 1; ++i) {
        void* p = fmalloc(1, 1);
        if (!p) break;
        blocks.push_back(p);
    }
    // Blocks taken by other code (the text ring) share the table.
    EXPECT_GE(blocks.size() + 8, static_cast<size_t>(FMALLOC_BLOCKS));
    EXPECT_LE(blocks.size(), static_cast<size_t>(FMALLOC_BLOCKS));
    EXPECT_EQ(fmalloc(1, 1), nullptr);
    for (void* p : blocks) EXPECT_EQ(ffree(p), 0);
    void* again = fmalloc(1, 1);  // room again
    EXPECT_NE(again, nullptr);
    EXPECT_EQ(ffree(again), 0);
    // Every request raised the count and every release lowered it: the refused
    // requests (the one that ended the loop and the one after it) remain.
    EXPECT_EQ(fmalloc_count(), before + 2);
}

// ---------------------------------------------------------------------------
// Assertions
// ---------------------------------------------------------------------------

using AssertDeathTest = Messages;

TEST_F(AssertDeathTest, AssertFailShowsTheTextAndEndsTheProgram) {
    EXPECT_DEATH(assert_fail("dialog", 97, "(box=fmalloc( DLGSUP, sizeof(struct dlgbox))) != NULL"),
                 "ASSERT ERROR\ndialog\\.97\n\\(box=fmalloc\\( DLGSUP, sizeof\\(struct dlgbox\\)\\)\\) != "
                 "NULL\nDas Programm wird beendet\\.");
    EXPECT_DEATH(assert_fail("dialog", 228, "++idxtop < 2*DLGSUP"),
                 "ASSERT ERROR\ndialog\\.228\n\\+\\+idxtop < 2\\*DLGSUP\n");

    // The written assertion: only a false condition ends the program.
    int idxtop = 0;
    Y8_ASSERT("dialog", 240, --idxtop < 0, "--idxtop >= 0");
    EXPECT_EQ(idxtop, -1);
    EXPECT_DEATH(Y8_ASSERT("dialog", 240, --idxtop >= 0, "--idxtop >= 0"),
                 "ASSERT ERROR\ndialog\\.240\n--idxtop >= 0\n");
}

TEST_F(AssertDeathTest, OverlongAssertTextIsCut) {
    std::string expr(3000, 'e');
    EXPECT_DEATH(assert_fail("m", 1, expr.c_str()), "ASSERT ERROR\nm\\.1\ne+\nDas Programm");
}

}  // namespace
