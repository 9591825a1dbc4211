// The Baukasten's portable half with the sample installation.
#include "tools/baukasten.h"

#include "key_fixture.h"
#include "host/headless_messages.h"
#include "support/strfunc.h"

namespace {

BlockTexts texts(std::initializer_list<std::pair<int, std::string>> values) {
    BlockTexts t{};
    for (const auto& [n, v] : values) str_ncopy(t[static_cast<std::size_t>(n)].data(), v.c_str(), BLOCK_VALUE_MAX);
    return t;
}

TEST(BaukastenValues, EveryPlaceholderBecomesItsValueInOrderZeroToNine) {
    std::string many;  // value n holds forty %(n+1), value 9 is 80 x: each fans out forty times
    BlockTexts chain{};
    for (int i = 0; i < 400; ++i)
        std::strcat(chain[i / 40].data(), i < 360 ? ("%" + std::to_string(i / 40 + 1)).c_str() : "xx");
    for (int i = 0; i < 100; ++i) many += "%0";
    struct Row { std::string line; BlockTexts values; std::string out; };
    const Row rows[] = {
        {"a%1b%1", texts({}), "ab"},                          // an empty value removes its placeholder
        {"%1 %2", texts({{1, "  x  "}, {2, "%2"}}), "x %2"},  // trimmed; never searched again
        {"%1", texts({{1, "%3"}, {3, "drei"}}), "drei"},      // %m (m > n) inside a value is replaced again
        {"%3", texts({{3, "%1"}, {1, "eins"}}), "%1"},        // ... %m (m < n) is not
        {many, chain, std::string(250, 'x')},                 // values that fan out: bounded, cut to 250
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.line);
        char out[kLineChars + 1];
        EXPECT_EQ(blockSubstitute(r.line.c_str(), r.values, out), static_cast<int>(r.out.size()));
        EXPECT_EQ(std::string(out), r.out);
    }
}

class Baukasten : public SettingsFixture {
protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        ini_write("Installation", "BauKasten", Y8_SAMPLES_DIR "INHALT.TXT");
    }
    static std::vector<std::string> entries(void (*fill)(EntrySink, void*), std::vector<std::string> out = {}) {
        fill([](const char* text, void* user) { static_cast<std::vector<std::string>*>(user)->push_back(text); }, &out);
        return out;
    }
};

TEST_F(Baukasten, CatalogueEntriesAndListsThatDoNotOpen) {
    struct Row { const char* entry; const char* name; EntryKind kind; };  // kinds without case; a name alone: a block
    for (const Row& r : {Row{"nur.txt", "nur.txt", EntryKind::Block},
                         Row{"l.txt FLOSKEL: C", "l.txt", EntryKind::Phrases},
                         Row{"r.txt umform:", "r.txt", EntryKind::Rules}, Row{"   ", "", EntryKind::Block}}) {
        char path[FILE_PATH_MAX + 1];
        EntryKind kind = EntryKind::Block;
        EXPECT_EQ(catalogueEntry(r.entry, path, &kind), r.name[0] != '\0') << r.entry;
        EXPECT_EQ(std::string(path), r.name[0] ? std::string(Y8_SAMPLES_DIR) + r.name : "") << r.entry;
        EXPECT_EQ(kind, r.kind) << r.entry;
    }
    EXPECT_EQ(entries(catalogueEntries).back(),  // the catalogue's lines trimmed
              "kommentar.txt    Umform:   C-Kommentare einer Zeile zu C++-Kommentaren");
    ini_write("Installation", "BauKasten", "fehlt/INHALT.TXT");  // a catalogue that does not open: its path
    EXPECT_EQ(entries(catalogueEntries), std::vector<std::string>{"fehlt/INHALT.TXT"});
    str_ncopy(phraseListPath, "fehlt/c.txt", FILE_PATH_MAX);  // ... and a phrase list
    EXPECT_EQ(entries(phraseListEntries), std::vector<std::string>{"fehlt/c.txt"});
    str_ncopy(phraseListPath, Y8_SAMPLES_DIR "c_floskeln.txt", FILE_PATH_MAX);
    EXPECT_EQ(entries(phraseListEntries).size(), 8u);
}

TEST_F(Baukasten, TheBodyGoesBeforeTheCursorLineWhenTheStoreTakesItAll) {
    const std::string two = path("zwei.txt");
    write("zwei.txt", "Vorspann\r\n%1 Vorname\r\n%2 Datum\r\n%x frei\r\n%1 Name\r\n---\r\nHallo %1, am %2\r\n");
    // slack: the bytes the store can still take; zeilen.txt needs 69 + 5 and 0 + 5.
    struct Row { std::string path; bool skip; long slack; std::vector<std::string> body; const char* prompt1; };
    const Row rows[] = {
        {two, true, -1, {"Hallo Eva, am heute"}, "Name"},  // a later prompt of the same number wins
        {Y8_SAMPLES_DIR "zeilen.txt", false, 79, {"/* " + std::string(63, '-') + " */", ""}, ""},  // exactly room
        {Y8_SAMPLES_DIR "zeilen.txt", true, 78, {}, ""},  // 1 byte short
        {Y8_SAMPLES_DIR "fehlt.txt", true, -1, {}, ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.path + " " + std::to_string(r.slack));
        EXPECT_STREQ(blockHeadRead(r.path.c_str()).prompts[1].data(), r.prompt1);
        loadLines(numbered(0, 30));
        ASSERT_EQ(gotoLineAtTop(10), 0);  // line 13 in row 3
        cursorRow = 3;
        if (r.slack >= 0) fillStoreLeaving(r.slack);
        std::vector<std::string> want = documentLines().text;
        want.insert(want.end() - 17, r.body.begin(), r.body.end());
        headless_reset();
        EXPECT_EQ(bauklotzInsert(r.path.c_str(), r.skip, texts({{1, "Eva"}, {2, "heute"}})), r.body.empty() ? -1 : 0);
        EXPECT_EQ(documentLines().text, want);
        EXPECT_EQ(rowText(3), "line 13");  // the cursor stays on its line and row
        EXPECT_EQ(modified, r.body.empty() ? 0 : 1);
        EXPECT_EQ(headless_boxes().size(), r.slack == 78 ? 1u : 0u);  // the full store told
    }
    char chosen[FILE_PATH_MAX + 1];  // command 1011's file box
    headless_file_answer("C:\\bau\\kopf.txt");
    EXPECT_TRUE(bauklotzChoose(chosen) && headless_file_boxes()[0].startName == "*.*");
}

}  // namespace
