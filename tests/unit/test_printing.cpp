// The print command against a recording printer: pages, copies, positions, fonts.
#include "key_fixture.h"
#include "host/headless_messages.h"
#include "printing/printing.h"
#include "support/devices.h"

namespace {
// chosen: what the print dialog gives (1 a printer, 0 none or cancelled, -1 its device context not made).
struct PrinterSetup { int chosen; int copies; bool collated; int cancelAfterPages; bool fontFails, docFails; };
PrinterSetup setup;
int pagesEnded, bodyLines;
std::string job;                  // "H<page> <n>L page" for each page, between the job's brackets
std::vector<std::string> printed;  // every font and every text as "<x>,<y> <text>"
void note(std::string s) { job += s + " "; }
bool makeFont(int height, const char* face, int, int) {
    printed.push_back("font " + std::to_string(height) + " " + face);
    return !setup.fontFails;
}
void textOut(int x, int y, int, const char* text) {
    if (y == 120) {
        note("H" + std::string(text).substr(7));  // the header: right-aligned at 200 mm, 18 mm down
    } else {
        ++bodyLines;
    }
    printed.push_back(std::to_string(x) + "," + std::to_string(y) + " " + text);
}
// 10 device units a millimetre, the printable area 5 and 6 mm from the paper's edge.
const PrintDevice kRecorder = {
    [](int* copies, bool* collated) { *copies = setup.copies; *collated = setup.collated; return setup.chosen; },
    [](PrintMeasures* m) { *m = {2000, 3000, 200, 300, 50, 60}; note("begin"); },
    [] { return setup.cancelAfterPages >= 0 && pagesEnded >= setup.cancelAfterPages; },
    [] { note("doc"); return !setup.docFails; },
    [] { return bodyLines = 0, true; },
    [] { ++pagesEnded; note(std::to_string(bodyLines) + "L page"); return true; },
    [] { note("enddoc"); },
    makeFont,
    textOut,
    [] { note("end"); },
    [] { note("release"); },
};
}  // namespace

class Printing : public SettingsFixture {
protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        printDeviceSet(&kRecorder);
        std::snprintf(fileName, sizeof fileName, "a.txt");
    }
    void TearDown() override {
        printDeviceSet(nullptr);
        SettingsFixture::TearDown();
    }
    void print(int lines, PrinterSetup s) {
        loadLines(numbered(0, lines));
        setup = s;
        printed.clear();
        job.clear();
        pagesEnded = 0;
        headless_messages_reset();
        printDocument();
        EXPECT_EQ(documentLines().text.size(), static_cast<std::size_t>(lines));  // the window refilled
        storeReset();
    }
};

TEST_F(Printing, PagesCopiesCancellingAndAPrinterThatCannotBeReached) {
    const std::string two = "H1 65L page H2 1L page ", three = "begin doc H1 3L page enddoc end release ";
    const std::string unreachable = "Der Drucker kann nicht angesprochen werden: es wird nichts gedruckt.";
    // face: "PrintFont" of the profile; boxes: every box's text, joined by "|". The header's font and the
    // body's warn once each; printing goes on.
    struct Row { int lines; PrinterSetup setup; std::string sequence; const char* line; std::string boxes;
                 const char* face = ""; };
    const Row rows[] = {
        {0, {1, 1, false, -1, false, false}, "begin end release ", "", ""},
        {70, {0, 1, false, -1, false, false}, "", "", ""},
        {70, {-1, 1, false, -1, false, false}, "", "", unreachable},
        {70, {1, 1, false, -1, false, true}, "begin doc end release ", "", unreachable},
        {66, {1, 1, false, -1, false, false}, "begin doc " + two + "enddoc end release ", "150,180 line 65", ""},
        {66, {1, 2, true, -1, false, false}, "begin doc " + two + two + "enddoc end release ", "150,2740 line 64", ""},
        {66, {1, 0, false, -1, false, false}, "begin doc " + two + "enddoc end release ", "", ""},  // no copies: one
        {200, {1, 1, false, 1, false, false}, "begin doc H1 65L page enddoc end release ", "1950,120 a.txt  1", ""},
        {3, {1, 1, false, -1, false, false}, three, "font -35 Monospace 821 BT", ""},
        {3, {1, 1, false, -1, true, false}, three, "150,260 line 2",
         "Kann Font Nix -28 nicht herstellen.|Kann Font Nix -35 nicht herstellen.", "Nix"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.sequence);
        ini_write("Global", "PrintFont", r.face);
        print(r.lines, r.setup);
        EXPECT_EQ(job, r.sequence);
        EXPECT_TRUE(!r.line[0] || std::count(printed.begin(), printed.end(), r.line) > 0) << r.line;
        std::string boxes;
        for (const HeadlessBox& b : headless_boxes()) boxes += (boxes.empty() ? "" : "|") + b.text;
        EXPECT_EQ(boxes, r.boxes);
    }
}

// The store must take the window's rows to reach the whole document: when it cannot, nothing prints (not a
// part of the document) and the user is told.
TEST_F(Printing, AStoreThatCannotTakeTheWindowsRowsPrintsNothing) {
    loadLines(numbered(0, 10));
    fillStoreLeaving(20 - static_cast<long>(storeWindowBytes()));  // 20 bytes free: not the rows' 10 lines
    setup = {1, 1, false, -1, false, false};
    job.clear();
    headless_messages_reset();
    printDocument();
    ASSERT_EQ(headless_boxes().size(), 1u);
    EXPECT_EQ(std::make_pair(job, headless_boxes()[0].text), std::make_pair(std::string("release "),
                                                                             std::string(storeFullText)));
    EXPECT_EQ(rowText(9), "line 9");
}
