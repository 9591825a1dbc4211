// The program's dialogs under Wine, each driven once through its controls and checked by what
// reaches the core.
#include "../lib/test_printer.h"
#include "document/docfile.h"
#include "document/docfile_win32.h"
#include "document/docstate.h"
#include "document/linestore.h"
#include "framework/dialog_win32.h"
#include "printing/printing_win32.h"
#include "resources/resource.h"
#include "shell/config.h"
#include "shell/config_win32.h"
#include "shell/mainwin_win32.h"
#include "support/app_win32.h"
#include "support/devices.h"
#include "support/files.h"
#include "support/platform.h"
#include "support/profile.h"
#include "textops/reform.h"
#include "tools/adder.h"
#include "tools/adder_win32.h"
#include "tools/baukasten_win32.h"
#include "tools/facette_win32.h"
#include "tools/infotools.h"
#include "tools/phrases.h"
#include "tools/phrases_win32.h"
#include "view/cursor.h"
#include "view/cursor_win32.h"
#include "view/editing.h"
#include "view/marking.h"
#include "view/options.h"
#include "view/refresh.h"
#include "view/taste.h"
#include "wine_environment.h"

#include <cstdio>
#include <cstring>
#include <tuple>

namespace {

using ToolDialogs = Win32Test;
using Lines = std::vector<std::string>;

void refresh() {
    refreshAll();
    wine_pump();
}

// A typed field (it has the focus) sets its sum and shows it in the other fields; a change made elsewhere
// arrives with the refresh, and what the box writes itself is no typing (the real sum keeps its digits).
// The check box hands the text's keys to the adder, whose Ctrl+minus closes it.
TEST_F(ToolDialogs, TheAdderShowsTheSumsAndTakesTypedValues) {
    statusBar();
    adderReset();
    sumInt = -2;
    sumReal = -2.5;
    adder_open(0);
    wine_pump();
    HWND dialog = FindWindowA(nullptr, "Addierer");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetActiveWindow(), dialog) << "from the menu the box keeps the focus";
    struct Row { int field; const char* typed; int sumI; double sumR; Lines shown; };  // no text: set, refreshed
    const Row rows[] = {
        {0, nullptr, -2, -2.5, {"-2", "FFFFFFFE", "-2.50"}},  // as opened
        {ADDER_HEX, "ff", 255, -2.5, {"255", "ff", "-2.50"}},
        {ADDER_DECIMAL, "-16", -16, -2.5, {"-16", "FFFFFFF0", "-2.50"}},
        {ADDER_REAL, "12.25", -16, 12.25, {"-16", "FFFFFFF0", "12.25"}},
        {ADDER_REAL, nullptr, 100, 1.004, {"100", "64", "1.00"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.sumR);
        if (row.field) SetFocus(GetDlgItem(dialog, row.field));
        if (row.typed) {
            SetDlgItemTextA(dialog, row.field, row.typed);
        } else if (row.field) {
            sumInt = row.sumI;
            sumReal = row.sumR;
            refresh();
        }
        EXPECT_EQ(std::make_tuple(sumInt, sumReal, itemTexts(dialog, {ADDER_DECIMAL, ADDER_HEX, ADDER_REAL})),
                  std::make_tuple(row.sumI, row.sumR, row.shown));
    }
    click(dialog, ADDER_IN_TEXT_BOX);
    EXPECT_EQ(std::make_pair(adderInText, adder_active()), std::make_pair(1, true));
    controlCommand(vk::kMinus);
    wine_pump();
    EXPECT_EQ(std::make_tuple(IsWindow(dialog), adder_active(), wine_main_commands().size()),
              std::make_tuple(FALSE, false, size_t{0}));
    adder_open(1);  // opened that way the main window comes back to the front; the box keeps its state
    wine_pump();
    dialog = FindWindowA(nullptr, "Addierer");
    EXPECT_EQ(std::make_pair(GetActiveWindow(), checked(dialog, ADDER_IN_TEXT_BOX)),
              std::make_pair(App.mainWindow, true));
    click(dialog, ADDER_IN_TEXT_BOX);
    press(dialog, ADDER_CLOSE_COMMAND);
    EXPECT_EQ(std::make_pair(adderInText, adderIsOpen()), std::make_pair(0, false));
    adderReset();
}

TEST_F(ToolDialogs, TheAnsiTableFollowsItsCheckBoxes) {
    HWND dialog = opened(CMD_ANSI_TABLE, "ANSI");
    ASSERT_NE(dialog, nullptr);
    HWND table = GetDlgItem(dialog, ANSI_TABLE);
    EXPECT_EQ(std::make_tuple(checked(dialog, ANSI_UPPER), checked(dialog, ANSI_DECIMAL), controlFont(table)),
              std::make_tuple(true, false, App.font));
    EXPECT_EQ(itemText(dialog, ANSI_TABLE).substr(0, 10), "80 \x80   90 ");
    struct Row { int box; bool upper, decimal; HFONT font; };  // without "Benutzt" the dialog's own font
    const Row rows[] = {{ANSI_DECIMAL, true, true, App.font}, {ANSI_UPPER, false, true, App.font},
                        {ANSI_FONT_USED, false, true, controlFont(dialog)}, {ANSI_FONT_USED, false, true, App.font}};
    for (const Row& row : rows) {
        click(dialog, row.box);
        wine_pump();
        char expected[ANSI_TEXT_SIZE];
        ansiTableText(row.upper, row.decimal, expected);
        EXPECT_EQ(std::make_pair(itemText(dialog, ANSI_TABLE), controlFont(table)),
                  std::make_pair(std::string(expected), row.font));
    }
}

// A click changes the option and the status bar before any other step; "&Setzen" limits the steps and
// the dialog stays; a change made elsewhere is shown with the refresh.
TEST_F(ToolDialogs, OptionsShowTheFlagsAndActAtOnce) {
    statusBar();
    optionsSetDefaults();
    quoteOption = 0;
    tabStep = 8;
    indentStep = 2;
    HWND dialog = opened(CMD_OPTIONS, "Optionen");
    ASSERT_NE(dialog, nullptr);
    std::string flags;  // in optionsBoxIds order
    for (int i = 0; i < OPTIONS_BOXES; ++i) flags += checked(dialog, optionsBoxIds[i]) ? '1' : '0';
    EXPECT_EQ(std::make_pair(flags, itemTexts(dialog, {OPT_TAB_ENTERED, OPT_INDENT_SHOWN})),
              std::make_pair(std::string("1110000"), Lines{"8", "2"}));
    click(dialog, OPT_KEEP_FILE_TIME);
    EXPECT_EQ(std::make_pair(keepFileTime, statusPart(FLAGS_FIELD)),
              std::make_pair(1, std::string(" Spalte  Indent  Dateizeit ")));
    SetDlgItemTextA(dialog, OPT_TAB_ENTERED, "40");
    SetDlgItemTextA(dialog, OPT_INDENT_ENTERED, "x");
    press(dialog, DLG_ACTION);
    EXPECT_EQ(std::make_tuple(tabStep, indentStep, itemText(dialog, OPT_TAB_SHOWN)),
              std::make_tuple(16, 2, std::string("16")));
    autoIndent = 0;
    tabStep = 4;
    refresh();
    EXPECT_EQ(std::make_pair(checked(dialog, OPT_AUTO_INDENT), itemText(dialog, OPT_TAB_SHOWN)),
              std::make_pair(false, std::string("4")));
    press(dialog, DLG_CANCEL);
    EXPECT_FALSE(optionsDialogIsOpen());
    optionsSetDefaults();
}

// Column 300 lies beyond the line: only the line changes, and the box closes.
TEST_F(ToolDialogs, PositionFollowsTheCursorAndSetsIt) {
    statusBar();
    loadNumberedLines(30);
    cursorToColumn(9);
    HWND dialog = opened(CMD_POSITION, "Position");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(itemTexts(dialog, {POS_LINE_ENTERED, POS_COLUMN_ENTERED}), (Lines{"1", "10"}));
    cursorSet(cursorCol, 3);
    cursorToColumn(20);
    refresh();
    EXPECT_EQ(itemTexts(dialog, {POS_LINE_SHOWN, POS_COLUMN_SHOWN}), (Lines{"4", "21"}));
    SetDlgItemTextA(dialog, POS_LINE_ENTERED, "5");
    SetDlgItemTextA(dialog, POS_COLUMN_ENTERED, "300");
    press(dialog, DLG_ACTION);
    EXPECT_EQ(std::make_tuple(topLine + cursorRow, firstCol + cursorCol, positionDialogIsOpen()),
              std::make_tuple(4, 20, false));
    EXPECT_EQ(statusPart(POSITION_FIELD), " 5  21");
}

// A click sets the flag before any other message is handled; changes made elsewhere come with the refresh.
TEST_F(ToolDialogs, PropertiesShowTheFileAndTheBoxesActAtOnce) {
    statusBar();
    std::strcpy(fileName, "C:\\Projekt\\quelle\\datei.txt");
    hasName = 1;
    fileSize = 1234567;
    fileTime = TimeRecord{124, 12, 24, 18, 30, 15};
    modified = 0;
    crlfMode = 1;
    docShownReset();
    HWND dialog = opened(CMD_PROPERTIES, "Datei");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(itemTexts(dialog, {PROP_NAME, PROP_DIR, PROP_SIZE, PROP_TIME}),
              (Lines{"datei.txt", "C:\\Projekt\\quelle\\", "1234.567", "24.12.2024 18:30"}));
    EXPECT_EQ(std::make_pair(checked(dialog, PROP_MODIFIED), checked(dialog, PROP_CRLF)), std::make_pair(false, true));
    click(dialog, PROP_MODIFIED);
    click(dialog, PROP_CRLF);
    EXPECT_EQ(std::make_pair(modified, crlfMode), std::make_pair(1, 0));
    wine_pump();
    EXPECT_EQ(statusPart(0), " lf");
    modified = 0;
    crlfMode = 1;
    fileSize = 999;
    std::strcpy(fileName, "D:\\neu.c");
    refresh();
    EXPECT_EQ(std::make_tuple(checked(dialog, PROP_MODIFIED), checked(dialog, PROP_CRLF), statusPart(0)),
              std::make_tuple(false, true, std::string("crlf")));
    EXPECT_EQ(itemTexts(dialog, {PROP_SIZE, PROP_NAME, PROP_DIR}), (Lines{"999", "neu.c", "D:\\"}));
    press(dialog, IDCANCEL);
    EXPECT_FALSE(propertiesDialogIsOpen());
    hasName = 0;
    fileName[0] = '\0';
}

using Fields = std::vector<std::pair<int, std::string>>;

Fields fieldsOf(HWND dialog, const Fields& like) {
    Fields got;
    for (const auto& field : like) got.push_back({field.first, itemText(dialog, field.first)});
    return got;
}

// The settings dialogs opened by their commands show what is stored (notation and all, 80
// characters whole); "Standard" fills fields and Cancel writes nothing; "&Speichern" writes every
// field trimmed, an empty one as an empty key, and puts the phrases in force at once.
TEST_F(ToolDialogs, TheSettingsDialogsShowStandardCancelAndSave) {
    phrasesForget();
    const std::string eighty(80, 'p'), dir80 = "C:\\Projekte\\" + std::string(68, 'd');
    ini_write("Floskel", "S-C-A", "alpha_~?~");
    ini_write("Floskel", "S-C-M", eighty.c_str());
    ini_write("Floskel", "S-C-Z", "zet");
    ini_write("DauerDir", "Dir0", dir80.c_str());
    ini_write("DauerDir", "Dir3", "C:\\Texte");
    for (int i = 0; i < 20; ++i)
        ini_write("Zusaetze", ("Ext" + std::to_string(i)).c_str(), ("e" + std::to_string(i)).c_str());
    ini_write("Global", "BgFarbe", "250 250 240");
    ini_write("Global", "MainWindow", "0 1 -1 -1 -1 -1 1 2 3 4");
    struct Row {
        int command;
        const char* caption;
        Fields shown;
        int standard;  // its button, 0 for none
        Fields standardShown, typed;
        const char* section;
        std::vector<const char*> keys;
        Lines saved;
    };
    const Row rows[] = {
        {CMD_CONF_FLOSKELN, "Floskeln", {{3010, "alpha_~?~"}, {3130, eighty}, {3260, "zet"}, {3020, ""}},
         PHRASE_STANDARD, {{3130, standardPhrases[12]}, {3260, ""}},  // Z has none
         {{3010, "  neu_?  "}, {3240, "x-Floskel"}}, "Floskel", {"S-C-A", "S-C-B", "S-C-X", "S-C-@"},
         {"neu_?", "", "x-Floskel", "<none>"}},
        {CMD_CONF_DIRECTORIES, "Verzeichnisse", {{3000, dir80}, {3030, "C:\\Texte"}}, 0, {},
         {{3010, "  D:\\Neu  "}, {3030, ""}}, "DauerDir", {"Dir0", "Dir1", "Dir3"}, {dir80, "D:\\Neu", ""}},
        {CMD_CONF_EXTENSIONS, "Zus\xE4tze", {{3000, "e0"}, {3190, "e19"}}, CFG_STANDARD, {{3000, "bak"}, {3190, "e19"}},
         {{3010, "abcdefghijklm"}}, "Zusaetze", {"Ext0", "Ext1"}, {"e0", "abcdefghij"}},  // set, not typed
        {CMD_CONF_COLOURS, "Farben, Fonts", {{3000, "250 250 240"}}, 0, {},
         {{3010, " 200 200 200 "}, {3100, "Courier New"}}, "Global",
         {"BgFarbe", "MarkBgFarbe", "PrintFont", "MainWindow"},
         {"250 250 240", "200 200 200", "Courier New", "0 1 -1 -1 -1 -1 1 2 3 4"}},
        {CMD_CONF_TOOLS, "Info/Baukasten", {}, INFO_STANDARD, {{3070, "D:\\Archiv"}}, {{3000, "  V.EXE -K=%s "}},
         "Installation", {"LibInfoA"}, {"V.EXE -K=%s"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.caption);
        const std::string before = fileText(settings);
        for (int action : {DLG_CANCEL, DLG_ACTION}) {
            HWND dialog = opened(row.command, row.caption);
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(fieldsOf(dialog, row.shown), row.shown);
            if (action == DLG_CANCEL && row.standard) {
                press(dialog, row.standard);
                EXPECT_EQ(fieldsOf(dialog, row.standardShown), row.standardShown);
            }
            for (const auto& [id, text] : action == DLG_ACTION ? row.typed : Fields{})
                SetDlgItemTextA(dialog, id, text.c_str());
            press(dialog, action);
            EXPECT_FALSE(IsWindow(dialog));
            EXPECT_EQ(fileText(settings) == before, action == DLG_CANCEL);
        }
        EXPECT_EQ(settingsValues(row.section, row.keys), row.saved);
    }
    char a[PHRASE_MAX + 1], z[PHRASE_MAX + 1];
    phrase_get(1, a);
    phrase_get(26, z);
    EXPECT_EQ(std::string(a) + "|" + z, "neu ?|zet");
    phrasesForget();
}

// Without a placement the window is centred 600 x 440. (Which slot a copy takes, and a stored
// placement coming back: the core's tests and the program as a process.)
TEST_F(ToolDialogs, APlacementSlotCentresTheWindowAndStoresItsPlace) {
    const std::string slots = tempDir() + "Y8SlotsTest" + std::to_string(GetCurrentProcessId()) + ".ini";
    writeFile(slots, "[Window]\r\nInUse0=1\r\nInUse1=1\r\nPosition2=  \r\n");
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, slots.c_str());  // the system reads it afresh
    slotFileSet(slots.c_str());
    EXPECT_EQ(slotTake(1), 2);
    RECT area{}, r{};
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0));
    GetWindowRect(App.mainWindow, &r);
    const int cx = (area.right - area.left) / 2, cy = (area.bottom - area.top) / 2;
    EXPECT_EQ(std::make_tuple(r.left, r.top, r.right, r.bottom),
              std::make_tuple(cx - 300L, cy - 220L, cx + 300L, cy + 220L));
    MoveWindow(App.mainWindow, 60, 70, 500, 400, TRUE);
    slotRelease(2);
    char stored[PLACEMENT_TEXT_SIZE];
    ini_read_file(slotFile(), CFG_SECTION_WINDOW, "Position2", stored, sizeof stored);
    PlacementValues v;
    ASSERT_TRUE(placement_parse(stored, &v));
    EXPECT_EQ(std::make_tuple(v.showCommand, v.left, v.top, v.right, v.bottom),
              std::make_tuple(SW_SHOWNORMAL, 60, 70, 560, 470));
    slotFileSet(nullptr);
    DeleteFileA(slots.c_str());
}

// The second opening shows the first one's choice; OK posts the phrase as command 1402, "Bearbeiten"
// opens the facet file. (A hostile word kept to its argument: the core's tests, end to end.)
TEST_F(ToolDialogs, FacetteMovesItsChoice) {
    const std::string home = currentDirectory();
    SetCurrentDirectoryA(tempDir().c_str());
    writeFile(tempDir() + "facette.txt", "Kunde\r\nLager\r\n");
    modified = 0;  // "Bearbeiten" asks nothing about an unchanged document
    for (int round = 0; round < 2; ++round) {
        HWND box = opened(CMD_FACETTE, "Facette");
        EXPECT_EQ(SendDlgItemMessageA(box, FACET_LIST, LB_GETCURSEL, 0, 0) * 10 +
                      SendDlgItemMessageA(box, FACET_VERB_LIST, LB_GETCURSEL, 0, 0), round ? 18 : -11);
        SendDlgItemMessageA(box, FACET_LIST, LB_SETCURSEL, 1, 0);
        SendDlgItemMessageA(box, FACET_VERB_LIST, LB_SETCURSEL, 8, 0);
        press(box, round ? FACET_EDIT : DLG_ACTION);
    }
    SetCurrentDirectoryA(home.c_str());
    DeleteFileA((tempDir() + "facette.txt").c_str());
    EXPECT_EQ(postedPhrase() + "|" + rowText(0), "FCT Lager convert|Kunde");
}

// Besides the entries the end-to-end script fills in: a block goes in at once, "Floskel:" posts
// command 1402, "Umform:" fills "Block umformulieren" (which keeps the rules used last);
// "Bearbeiten" and "Verzeichnis" open the entry's file and the catalogue.
TEST_F(ToolDialogs, TheCatalogueMovesItsEntriesToTheDocument) {
    const std::string cwd = currentDirectory();  // opening a file makes its folder the current one
    ini_write("Installation", "BauKasten", Y8_SAMPLES_DIR "INHALT.TXT");
    const auto choose = [](int entry) {  // F6, then the entry chosen with a double click
        command(CMD_BAUKASTEN);
        HWND catalogue = panel();
        ASSERT_EQ(SendDlgItemMessageA(catalogue, BAU_LIST, LB_GETCOUNT, 0, 0), 8);
        SendDlgItemMessageA(catalogue, BAU_LIST, LB_SETCURSEL, static_cast<WPARAM>(entry), 0);
        press(catalogue, BAU_LIST, LBN_DBLCLK);
        EXPECT_FALSE(IsWindow(catalogue));
    };
    cursorRow = 10;
    choose(5);  // zeilen.txt
    EXPECT_EQ(rowText(8), "/* " + std::string(63, '-') + " */");
    choose(6);  // c_floskeln.txt
    HWND list = FindWindowA(nullptr, "Floskel");
    SendDlgItemMessageA(list, BAU_LIST, LB_SETCURSEL, 4, 0);
    press(list, DLG_ACTION);
    EXPECT_EQ(postedPhrase(), "return 0;");

    setRow(0, "a/*b*/", '2');
    HWND rules = opened(CMD_BLOCK_REFORM, "Block umformulieren");
    press(rules, 2501);
    EXPECT_EQ(itemText(rules, 3000), reformTemplate);
    SetDlgItemTextA(rules, 3000, "s|/*|//|\r\ns|*/||");
    press(rules, DLG_ACTION);
    EXPECT_EQ(rowText(0), "a//b");
    EXPECT_EQ(itemText(opened(CMD_BLOCK_REFORM, "Block umformulieren"), 3000), "s|/*|//|\r\ns|*/||");
    choose(7);  // kommentar.txt
    EXPECT_EQ(itemText(FindWindowA(nullptr, "Block umformulieren"), 3000).substr(0, 70),
              "C-Kommentare, die in einer Zeile enden, werden zu C++-Kommentaren.\r\ns|");
    command(CMD_BAUKASTEN);
    SendDlgItemMessageA(panel(), BAU_LIST, LB_SETCURSEL, 1, 0);
    modified = 0;
    press(panel(), BAU_EDIT);
    EXPECT_EQ(rowText(0), "C-Funktion mit Kommentar.");
    command(CMD_BAUKASTEN);
    press(panel(), BAU_CATALOGUE);
    EXPECT_EQ(std::make_pair(rowText(0).substr(0, 10), panel()), std::make_pair(std::string("c_kopf.txt"), HWND{}));
    phrasesForget();
    SetCurrentDirectoryA(cwd.c_str());
}

// On a PostScript printer that writes to C:\print.ps, the print dialog taken as confirmed.
class Printing : public Win32Test {
  protected:
    void SetUp() override {
        Win32Test::SetUp();
        ASSERT_TRUE(testPrinterAdd());
        printing_win32_install();
        printSetDialogHook([](PRINTDLGA*) { return true; });
        DeleteFileA("C:\\print.ps");
    }
    void TearDown() override {
        printSetDialogHook(nullptr);
        printing_win32_install();
        DeleteFileA("C:\\print.ps");
        Win32Test::TearDown();
    }
};

// The progress box's button, pressed after the first page, stops the job; the main window is enabled
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
    loadNumberedLines(200);  // three pages
    command(CMD_PRINT);
    const std::string ps = fileText("C:\\print.ps");
    EXPECT_NE(ps.find("%%EOF"), std::string::npos) << "the job was not ended";
    EXPECT_EQ(ps.find("%%Page: 2"), std::string::npos) << "a page after the one cancelled on";
    EXPECT_NE(ps.find("%%Page: 1"), std::string::npos);
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
        EXPECT_EQ(std::make_tuple(wine_seen_boxes().front().text, rowText(0), file_exists("C:\\print.ps")),
                  std::make_tuple(std::string(r.box), std::string("eins zwei"), r.printed));
        wine_clear_boxes();
        command(CMD_CUT);
        char text[64] = "";
        clip_get(text, sizeof text - 1);
        EXPECT_EQ(rowText(0) + "|" + text, " zwei|eins");
    }
}

}  // namespace
