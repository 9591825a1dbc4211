// Printing: the layout arithmetic, and the print command against a recording printer.
#include "key_fixture.h"
#include "host/headless_messages.h"
#include "host/headless_profile.h"
#include "printing/printing.h"
#include "support/devices.h"
#include "support/profile.h"

TEST(PrintLayout, PagesHeightsAndPositions) {
    const int pages[][2] = {{0, 0}, {1, 1}, {65, 1}, {66, 2}, {131, 3}};
    for (const auto& r : pages) EXPECT_EQ(printPageCount(r[0]), r[1]) << r[0] << " lines";
    // vertRes, vertSize, points, height: 300 dpi 41.502 and 33.202, 600 dpi 83.004 and 41.502
    const int heights[][4] = {{3358, 284, 10, -42}, {3358, 284, 8, -33}, {6716, 284, 10, -83}, {6716, 568, 10, -42}};
    for (const auto& r : heights) EXPECT_EQ(printFontHeight(r[0], r[1], r[2]), r[3]) << r[0] << "/" << r[1];
    EXPECT_EQ(printToDevice(3358, 284, 24.0, 100), 184);  // 283.78 from the paper's edge
    EXPECT_EQ(printToDevice(1000, 100, 0.05, 0), 1);      // 0.5 rounds up
}

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
bool wasPrinted(const char* s) { return std::find(printed.begin(), printed.end(), s) != printed.end(); }
}  // namespace

class Printing : public ::testing::Test {
protected:
    void SetUp() override {
        editorStart();
        headless_set_ini_dir(testing::TempDir().c_str());
        ini_set_file("Y8-printing.ini");
        printDeviceSet(&kRecorder);
        std::snprintf(fileName, sizeof fileName, "a.txt");
    }
    void TearDown() override {
        printDeviceSet(nullptr);
        std::remove(headless_ini_path());
        editorStop();
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
    const std::string two = "H1 65L page H2 1L page ";
    const std::string unreachable = "Der Drucker kann nicht angesprochen werden: es wird nichts gedruckt.";
    struct Row { int lines; PrinterSetup setup; std::string sequence; const char* line; std::string box; };
    const Row rows[] = {
        {0, {1, 1, false, -1, false, false}, "begin end release ", "", ""},
        {70, {0, 1, false, -1, false, false}, "", "", ""},
        {70, {-1, 1, false, -1, false, false}, "", "", unreachable},
        {70, {1, 1, false, -1, false, true}, "begin doc end release ", "", unreachable},
        {66, {1, 1, false, -1, false, false}, "begin doc " + two + "enddoc end release ", "150,180 line 65", ""},
        {66, {1, 2, true, -1, false, false}, "begin doc " + two + two + "enddoc end release ", "150,2740 line 64", ""},
        {66, {1, 0, false, -1, false, false}, "begin doc " + two + "enddoc end release ", "", ""},  // no copies: one
        {200, {1, 1, false, 1, false, false}, "begin doc H1 65L page enddoc end release ", "1950,120 a.txt  1", ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.sequence);
        print(r.lines, r.setup);
        EXPECT_EQ(job, r.sequence);
        EXPECT_TRUE(!r.line[0] || wasPrinted(r.line)) << r.line;
        EXPECT_EQ(headless_boxes().empty() ? "" : headless_boxes().back().text, r.box);
    }
}

// The header's font and the body's warn once each; printing goes on.
TEST_F(Printing, FontFromTheProfileAndOneWarningPerChange) {
    struct Row { const char* profile; bool fails; const char* font; int boxes; };
    static const Row rows[] = {
        {"", false, "font -35 Monospace 821 BT", 0}, {"Courier New", false, "font -35 Courier New", 0},
        {"Nix", true, "font -35 Nix", 2},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.font);
        ini_write("Global", "PrintFont", r.profile);
        print(3, {1, 1, false, -1, r.fails, false});
        EXPECT_TRUE(wasPrinted(r.font) && wasPrinted("150,260 line 2"));
        ASSERT_EQ(headless_boxes().size(), static_cast<std::size_t>(r.boxes));
        EXPECT_TRUE(!r.boxes || headless_boxes()[1].text == "Kann Font Nix -35 nicht herstellen.");
    }
}
