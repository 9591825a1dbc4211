// Printing: the layout arithmetic, and the print command against a recording printer.
#include <cstdio>

#include "editor_fixture.h"
#include "host/headless_messages.h"
#include "host/headless_profile.h"
#include "printing/printing.h"
#include "support/devices.h"
#include "support/profile.h"

TEST(PrintLayout, PagesHeightsAndPositions) {
    const int pages[][2] = {{0, 0}, {1, 1}, {65, 1}, {66, 2}, {130, 2}, {131, 3}};
    for (const auto& r : pages) EXPECT_EQ(printPageCount(r[0]), r[1]) << r[0] << " lines";
    // vertRes, vertSize, points, height: 300 dpi 41.502 and 33.202, 600 dpi 83.004 and 41.502
    const int heights[][4] = {{3358, 284, 10, -42}, {3358, 284, 8, -33}, {6716, 284, 10, -83}, {6716, 568, 10, -42}};
    for (const auto& r : heights) EXPECT_EQ(printFontHeight(r[0], r[1], r[2]), r[3]) << r[0] << "/" << r[1];
    EXPECT_EQ(printToDevice(2329, 197, 20.0, 50), 186);    // 236.45 - 50
    EXPECT_EQ(printToDevice(3358, 284, 24.0, 100), 184);   // 283.78 - 100
    EXPECT_EQ(printToDevice(1000, 100, 0.05, 0), 1);       // 0.5 rounds up
}

namespace {
std::vector<std::string> printed;  // what the recording printer was asked, in order
struct PrinterSetup { bool present; int copies; bool collated; int cancelAfterPages; bool fontFails; };
PrinterSetup setup;
int pagesEnded;
void note(const char* fmt, int a = 0, int b = 0, const char* s = "") {
    char line[300];
    std::snprintf(line, sizeof line, fmt, a, b, s);
    printed.push_back(line);
}
const PrintDevice kRecorder = {
    [](int* copies, bool* collated) { *copies = setup.copies; *collated = setup.collated; return setup.present; },
    [](PrintMeasures* m) { *m = {2000, 3000, 200, 300, 50, 60}; note("begin"); },
    [] { return setup.cancelAfterPages >= 0 && pagesEnded >= setup.cancelAfterPages; },
    [] { note("doc"); return true; },
    [] { return true; },
    [] { ++pagesEnded; note("page"); return true; },
    [] { note("enddoc"); },
    [](int height, const char* face, int, int) { note("font %d%.0d %s", height, 0, face); return !setup.fontFails; },
    [](int x, int y, int, const char* text) { note("%d,%d %s", x, y, text); },
    [] { note("end"); },
    [] { note("release"); },
};
}  // namespace

class Printing : public ::testing::Test {
protected:
    void SetUp() override {
        editorStart();
        headless_set_ini_dir(testing::TempDir().c_str());
        ini_set_file("Y8-printing.ini");
        printDeviceSet(&kRecorder);
        std::snprintf(fileName, sizeof fileName, "a.txt");
        printed.clear();
        pagesEnded = 0;
    }
    void TearDown() override {
        printDeviceSet(nullptr);
        std::remove(headless_ini_path());
        editorStop();
    }
    // The job as "H<page> <n>L page": header, body lines, end of page; fonts left out.
    static std::string sequence() {
        std::string out;
        int body = 0;
        for (const std::string& s : printed) {
            if (s.rfind("1950,120 a.txt  ", 0) == 0) out += "H" + s.substr(16) + " ";
            else if (s.rfind("150,", 0) == 0) ++body;
            else if (s.rfind("font", 0) != 0) {
                if (body) out += std::to_string(body) + "L ";
                out += s + " ";
                body = 0;
            }
        }
        return out;
    }
    static bool wasPrinted(const char* s) { return std::find(printed.begin(), printed.end(), s) != printed.end(); }
};

TEST_F(Printing, PagesCopiesAndCancelling) {
    struct Row { int lines; PrinterSetup setup; const char* sequence; const char* line; };
    static const Row rows[] = {
        {0, {true, 1, false, -1, false}, "begin end release ", "begin"},
        {65, {true, 1, false, -1, false}, "begin doc H1 65L page enddoc end release ", "150,180 line 0"},
        {70, {false, 1, false, -1, false}, "", ""},
        {66, {true, 1, false, -1, false}, "begin doc H1 65L page H2 1L page enddoc end release ", "150,180 line 65"},
        {66, {true, 3, false, -1, false}, "begin doc H1 65L page H1 65L page H1 65L page H2 1L page H2 1L page H2 1L page enddoc end release ", "150,2740 line 64"},
        {66, {true, 2, true, -1, false}, "begin doc H1 65L page H2 1L page H1 65L page H2 1L page enddoc end release ", "150,180 line 65"},
        {200, {true, 1, false, 1, false}, "begin doc H1 65L page enddoc end release ", "150,180 line 0"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.sequence);
        makeDocument(r.lines);
        setup = r.setup;
        printed.clear();
        pagesEnded = 0;
        printDocument();
        EXPECT_EQ(sequence(), r.sequence);
        if (r.line[0]) { EXPECT_TRUE(wasPrinted(r.line)); }
        EXPECT_EQ(documentLines().text.size(), static_cast<std::size_t>(r.lines));
        storeReset();
    }
}

TEST_F(Printing, FontFromTheProfileAndOneWarningPerChange) {
    struct Row { const char* profile; bool fails; const char* font; int boxes; };
    static const Row rows[] = {
        {"", false, "font -35 Monospace 821 BT", 0},
        {"Courier New", false, "font -35 Courier New", 0},
        {"Nix", true, "font -35 Nix", 2},  // header's and body's font, once each
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.font);
        ini_write("Global", "PrintFont", r.profile);
        makeDocument(3);
        setup = {true, 1, false, -1, r.fails};
        printed.clear();
        headless_messages_reset();
        printDocument();
        EXPECT_TRUE(wasPrinted(r.font));
        ASSERT_EQ(headless_boxes().size(), static_cast<std::size_t>(r.boxes));
        if (r.boxes) { EXPECT_EQ(headless_boxes()[1].text, std::string("Kann Font Nix -35 nicht herstellen.")); }
        EXPECT_TRUE(wasPrinted("150,260 line 2"));  // printing went on
        storeReset();
    }
}
