// The program's dialogs and panels under Wine, each opened by its command, driven once through its controls
// and checked by what reaches the core; printing on a real printer with the system's calls refused.
#include "../lib/test_printer.h"
#include "document/dirpanel.h"
#include "document/docfile.h"
#include "framework/dialog_win32.h"
#include "printing/printing_win32.h"
#include "resources/resource.h"
#include "shell/config.h"
#include "support/app_win32.h"
#include "support/devices.h"
#include "support/files.h"
#include "support/platform.h"
#include "support/profile.h"
#include "textops/lists.h"
#include "tools/adder.h"
#include "tools/baukasten_win32.h"
#include "tools/facette.h"
#include "tools/facette_win32.h"
#include "tools/infotools.h"
#include "tools/phrases.h"
#include "view/cursor.h"
#include "view/marking.h"
#include "view/options.h"
#include "view/refresh.h"
#include "view/search.h"
#include "wine_environment.h"

#include <cstring>
#include <functional>
#include <sstream>

namespace {

using ToolDialogs = Win32Test;
using Fields = std::vector<std::pair<int, std::string>>;

template <typename... Parts>
std::string joined(const Parts&... parts) {
    std::ostringstream out;
    ((out << parts << '|'), ...);
    return out.str();
}

char kind(HWND control) {  // B(utton), C(omboBox), E(dit), L(istBox), S(tatic)
    char cls[16] = "";
    GetClassNameA(control, cls, sizeof cls);
    return cls[0];
}

// A control as the user sees it: a check box "1|" or "0|", a list its lines' count and selection, a combo
// box its text and its list's count, any other its text.
Fields shownIn(HWND dialog, const Fields& like) {
    Fields got;
    for (const auto& [id, expected] : like) {
        HWND c = GetDlgItem(dialog, id);
        const char k = kind(c);
        got.push_back({id, k == 'B'   ? joined(IsDlgButtonChecked(dialog, id))
                           : k == 'L' ? joined(listLines(c).size(), SendMessageA(c, LB_GETCURSEL, 0, 0))
                           : k == 'C' ? joined(windowText(c), SendMessageA(c, CB_GETCOUNT, 0, 0))
                                      : itemText(dialog, id)});
    }
    return got;
}

// As the user sets it: a button clicked, a list's line chosen, a text typed into a combo box, a field's text
// changed while it has the focus.
void setIn(HWND dialog, int id, const std::string& text) {
    HWND c = GetDlgItem(dialog, id);
    SetFocus(c);
    if (kind(c) == 'B') SendMessageA(c, BM_CLICK, 0, 0);
    if (kind(c) == 'L') SendMessageA(c, LB_SETCURSEL, std::stoul(text), 0);
    if (kind(c) == 'E') SetWindowTextA(c, text.c_str());
    if (kind(c) != 'C') return;
    SendMessageA(c, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    for (char ch : text) SendMessageA(FindWindowExA(c, nullptr, "Edit", nullptr), WM_CHAR, ch, 1);
}

bool atTopLeft(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    POINT corner{0, 0};
    ClientToScreen(App.mainWindow, &corner);
    return GetParent(w) == App.mainWindow && r.left == corner.x && r.top == corner.y;
}

// Each dialog and panel opened by its command shows a value of the core; its controls set and its button pressed
// hand the values to the core. A panel (no caption) stands in the main window's top left corner.
TEST_F(ToolDialogs, EachDialogShowsTheCoresValuesAndHandsItsControlsToTheCore) {
    const ScratchDir scratch("Y8Dialogs");
    const std::string dir = scratch.path, sub = scratch / "sub", eighty = "C:\\Projekte\\" + std::string(68, 'd');
    writeFile(scratch / "facette.txt", "Kunde\r\nLager\r\n");
    CreateDirectoryA(sub.c_str(), nullptr);
    writeFile(sub + "\\inner.txt", "");
    SetCurrentDirectoryA(dir.c_str());
    lastDir[0] = '\0';  // no directory opened yet: the directory panel starts from the current one
    dirFilterSet("");
    for (const auto& [section, key, value] :
         {std::make_tuple("Floskel", "S-C-A", "alpha_~?~"), {"DauerDir", "Dir3", ".."}, {"Zusaetze", "Ext0", "e0"},
          {"DauerDir", "Dir0", eighty.c_str()}, {"Global", "BgFarbe", "250 250 240"},
          {"Installation", "Archiv", "E:\\Alt"}, {"Installation", "BauKasten", Y8_SAMPLES_DIR "INHALT.TXT"}})
        ini_write(section, key, value);
    statusBar();
    adderReset();
    optionsSetDefaults();
    searchReset();
    searchHistory = replaceHistory = SearchHistory{};
    std::strcpy(searchHistory.items[0], "c");
    std::strcpy(searchHistory.items[2], "vier");
    std::strcpy(replaceHistory.items[1], "drei");
    std::strcpy(fileName, "C:\\Projekt\\quelle\\datei.txt");
    std::tie(sumInt, sumReal, tabStep, hasName, fileSize, crlfMode) = std::make_tuple(-2, -2.5, 8, 1, 1234567, 1);
    std::tie(facetSel, verbSel) = std::make_tuple(0, 2);  // the choice made last
    loadLines({"int a(void)", "{", "    x = needle;", "}", "int b(void)", "{", "    needle();", "}"});
    cursorCol = 6;
    struct Row {
        int command;
        const char* caption;  // null: a panel
        Fields shown, set;
        int button;  // pressed last, 0: none
        std::function<std::string(HWND)> reached;
        std::string expected;
        int code = 0;                            // the button's notification
        std::function<void()> before = nullptr;  // the core's values besides the ones above
    };
    const Row rows[] = {
        // A typed directory is read (once: sub, not sub\sub) and entered on OK only; a permanent one (a relative
        // one from the current directory) on CBN_SELENDOK only.
        {CMD_DIRECTORY_PANEL, nullptr, {{3000, dir + "|0|"}}, {{3000, "sub"}}, 0,
         [](HWND d) {
             const std::string typed = joined(listLines(GetDlgItem(d, 3010)).size(), currentDirectory());
             press(d, IDOK);
             const std::string entered = joined(currentDirectory());
             press(d, 3000, CBN_DROPDOWN);
             SendDlgItemMessageA(d, 3000, CB_SETCURSEL, 1, 0);  // "..", from sub
             press(d, 3000, CBN_SELCHANGE);
             const std::string selected = joined(currentDirectory());
             press(d, 3000, CBN_SELENDOK);
             return typed + entered + selected + joined(currentDirectory());
         },
         joined(2, dir, sub, sub, dir)},
        {CMD_ADDIERER, "Addierer", {{ADDER_DECIMAL, "-2"}}, {{ADDER_HEX, "ff"}, {ADDER_REAL, "12.25"}}, 0,
         [](HWND d) {
             sumReal = 1.004;  // shown as 1.00 in the field with the focus: the box's own writing is no typing
             refreshAll();
             wine_pump();
             return joined(sumInt, sumReal, itemText(d, ADDER_REAL));
         },
         "255|1.004|1.00|"},
        {CMD_ANSI_TABLE, "ANSI", {{ANSI_UPPER, "1|"}}, {{ANSI_DECIMAL, ""}}, 0,
         [](HWND d) { return itemText(d, ANSI_TABLE).substr(0, 10); }, "128 \x80  144"},
        {CMD_OPTIONS, "Optionen", {{OPT_TAB_ENTERED, "8"}}, {{OPT_TAB_ENTERED, "40"}}, DLG_ACTION,
         [](HWND) { return joined(tabStep); }, "16|"},
        {CMD_PROPERTIES, "Datei", {{PROP_SIZE, "1234.567"}}, {{PROP_CRLF, ""}}, 0,
         [](HWND) { return joined(crlfMode, statusPart(0)); }, "0| lf|"},
        {CMD_POSITION, "Position", {{POS_COLUMN_ENTERED, "7"}}, {{POS_LINE_ENTERED, "3"}, {POS_COLUMN_ENTERED, "300"}},
         DLG_ACTION, [](HWND) { return joined(cursorRow, cursorCol); }, "2|6|"},  // column 300 lies beyond the line
        // Cancel takes the typed texts into the histories (a blank one not) and searches nothing.
        {CMD_SEARCH, "Suchen", {{SEARCH_TEXT_COMBO, "c|2|"}},
         {{SEARCH_TEXT_COMBO, "zwei"}, {SEARCH_REPLACE_COMBO, "   "}}, DLG_CANCEL,
         [](HWND) { return joined(searchHistory.items[0], replaceHistory.items[0], cursorRow); },
         "zwei|drei|2|"},  // the cursor stays where the position dialog put it
        {CMD_STRUCTURE, nullptr, {{3010, "needle"}}, {{3010, "  NEEDLE(  "}}, 0,  // a mark: its list
         [](HWND d) { return joined(listText, listExact, listLines(GetDlgItem(d, 3000)).size(), markActiveGet()); },
         "NEEDLE(|1|1|0|", 0, [] { markSetInLine(8, 14); }},
        {CMD_BAUKASTEN, nullptr, {{BAU_LIST, "8|-1|"}}, {{BAU_LIST, "5"}}, BAU_LIST,  // a block without values: at once
         [](HWND d) { return joined(IsWindow(d), rowText(cursorRow - 2)); }, "0|/* " + std::string(63, '-') + " */|",
         LBN_DBLCLK},
        // The settings dialogs: "Standard" fills fields, "&Speichern" writes every field trimmed, an empty one
        // as an empty key, 80 characters whole.
        {CMD_CONF_FLOSKELN, "Floskeln", {{3010, "alpha_~?~"}}, {{PHRASE_STANDARD, ""}, {3010, "  neu_?  "}}, DLG_ACTION,
         [this](HWND) { return settingsValues("Floskel", {"S-C-A", "S-C-@"}); }, "neu_?,<none>,"},
        {CMD_CONF_DIRECTORIES, "Verzeichnisse", {{3000, eighty}}, {{3010, "  D:\\Neu  "}, {3030, ""}}, DLG_ACTION,
         [this](HWND) { return joined(settingsValues("DauerDir", {"Dir0", "Dir1", "Dir3"})); }, eighty + ",D:\\Neu,,|"},
        {CMD_CONF_EXTENSIONS, "Zus\xE4tze", {{3000, "e0"}}, {{CFG_STANDARD, ""}, {3010, "abcdefghij+"}}, DLG_ACTION,
         [this](HWND) { return joined(settingsValues("Zusaetze", {"Ext0", "Ext1"})); }, "bak,abcdefghij,|"},
        {CMD_CONF_COLOURS, "Farben, Fonts", {{3000, "250 250 240"}}, {{3010, " 200 200 200 "}}, DLG_ACTION,
         [this](HWND) { return joined(settingsValues("Global", {"MarkBgFarbe"})); }, "200 200 200,|"},
        {CMD_CONF_TOOLS, "Info/Baukasten", {{3070, "E:\\Alt"}}, {{INFO_STANDARD, ""}, {3000, "  V.EXE -K=%s "}},
         DLG_ACTION, [this](HWND) { return joined(settingsValues("Installation", {"LibInfoA", "Archiv"})); },
         "V.EXE -K=%s,D:\\Archiv,|"},
        {CMD_FACETTE, "Facette", {{FACET_LIST, "2|0|"}, {FACET_VERB_LIST, "9|2|"}},  // posts the phrase as 1402
         {{FACET_LIST, "1"}, {FACET_VERB_LIST, "8"}}, DLG_ACTION, [](HWND) { return postedPhrase(); },
         "FCT Lager convert"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.command);
        wine_clear_main_commands();
        if (r.before) r.before();
        command(r.command);
        HWND dialog = r.caption ? FindWindowA(nullptr, r.caption) : panel();
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(r.caption || atTopLeft(dialog));
        EXPECT_EQ(shownIn(dialog, r.shown), r.shown);
        for (const auto& [id, text] : r.set) setIn(dialog, id, text);
        wine_pump();
        if (r.button) press(dialog, r.button, r.code);
        EXPECT_EQ(r.reached(dialog), r.expected);
        dlg_close_all();
    }
    phrasesForget();
    adderReset();
    optionsSetDefaults();
    searchReset();
    hasName = 0;
}

// On a PostScript printer that writes to C:\print.ps, the print dialog taken as confirmed.
class Printing : public Win32Test {
  protected:
    void SetUp() override {
        Win32Test::SetUp();
        ASSERT_TRUE(testPrinterAdd());
        printing_win32_install();
        printSetDialogHook([](PRINTDLGA*) { return true; });
    }
    void TearDown() override {
        printSetDialogHook(nullptr);
        printing_win32_install();
        DeleteFileA("C:\\print.ps");
        Win32Test::TearDown();
    }
};

// The progress box's button, pressed after the first page, ends the job there; the main window is enabled
// and focused again.
TEST_F(Printing, CancelledFromTheProgressBoxStopsAfterThatPage) {
    static PrintDevice device;
    device = printWin32Device();
    device.endPage = [] {
        const bool ended = printWin32Device().endPage();
        SendMessageA(printProgressBox(), WM_COMMAND, IDCANCEL, 0);
        return ended;
    };
    printDeviceSet(&device);
    loadLines(std::vector<std::string>(200, "Zeile"));  // three pages
    command(CMD_PRINT);
    const std::string ps = fileText("C:\\print.ps");
    EXPECT_EQ(joined(ps.find("%%Page: 1") != ps.npos, ps.find("%%Page: 2") != ps.npos, ps.find("%%EOF") != ps.npos),
              "1|0|1|");
    EXPECT_TRUE(IsWindowEnabled(App.mainWindow) && GetFocus() == App.mainWindow && !printProgressBox());
}

// Stand-ins of the system's calls, answering as they do when memory, GDI objects or the printer fail.
HGLOBAL WINAPI refuseGlobalAlloc(UINT, SIZE_T) { return nullptr; }
BOOL WINAPI refuseOpenClipboard(HWND) { return FALSE; }
HANDLE WINAPI refuseSetClipboardData(UINT, HANDLE) { return nullptr; }
HDC WINAPI refuseCreateDCA(LPCSTR, LPCSTR, LPCSTR, const DEVMODEA*) { return nullptr; }

int WINAPI refuseStartDocA(HDC, const DOCINFOA*) { return SP_ERROR; }

// Each call refused in turn: the cut keeps its text and mark and says the clipboard refused it; the
// print command says the printer cannot be reached and prints nothing, or warns and prints in the
// stock font. Afterwards the same cut goes through.
TEST_F(Printing, SystemCallsRefusedOneByOneKeepTheTextAndAreTold) {
    const char* clipboard = "Die Zwischenablage nimmt den Text nicht an: der Befehl wurde nicht ausgef\xFChrt.";
    const char* printer = "Der Drucker kann nicht angesprochen werden: es wird nichts gedruckt.";
    struct Row { const char* dll; const char* function; void* standIn; int command; const char* box; bool printed; };
    const Row rows[] = {
        {"kernel32.dll", "GlobalAlloc", reinterpret_cast<void*>(refuseGlobalAlloc), CMD_CUT, clipboard, false},
        {"user32.dll", "OpenClipboard", reinterpret_cast<void*>(refuseOpenClipboard), CMD_CUT, clipboard, false},
        {"user32.dll", "SetClipboardData", reinterpret_cast<void*>(refuseSetClipboardData), CMD_CUT, clipboard, false},
        {"gdi32.dll", "CreateDCA", reinterpret_cast<void*>(refuseCreateDCA), CMD_PRINT, printer, false},
        {"gdi32.dll", "StartDocA", reinterpret_cast<void*>(refuseStartDocA), CMD_PRINT, printer, false},
        {"gdi32.dll", "CreateFontA", reinterpret_cast<void*>(refuseCreateFontA), CMD_PRINT,
         "Kann Font Monospace 821 BT -33 nicht herstellen.", true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.function);
        loadLines({"eins zwei"});
        selectWordAtCursor();
        clip_put("vorher");
        DeleteFileA("C:\\print.ps");
        {
            ImportStandIn refused(r.dll, r.function, r.standIn);
            ASSERT_TRUE(refused.found());
            command(r.command);
        }
        ASSERT_FALSE(wine_seen_boxes().empty());
        EXPECT_EQ(joined(wine_seen_boxes().front(), rowText(0), file_exists("C:\\print.ps")),
                  joined(r.box, "eins zwei", r.printed));
        wine_clear_boxes();
        command(CMD_CUT);
        char text[64] = "";
        clip_get(text, sizeof text - 1);
        EXPECT_EQ(rowText(0) + "|" + text, " zwei|eins");
    }
}

}  // namespace
