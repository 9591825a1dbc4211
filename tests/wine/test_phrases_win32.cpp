// The dialog "Floskeln" under Wine: opened by command 1602, its 26 fields filled
// from a settings file of the test's own (named after the process, since
// several test runs may share the prefix), "Standard" and Cancel writing
// nothing, "&Speichern" writing every field trimmed.
#include "tools/phrases_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "framework/dialog_win32.h"
#include "resources/resource.h"
#include "shell/mainwin_win32.h"
#include "support/profile.h"
#include "tools/phrases.h"
#include "wine_environment.h"
#include "../lib/empty_store.h"

namespace {

class PhrasesWin32 : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(emptyStoreStart(20, 80));
        char dir[MAX_PATH] = "";
        GetTempPathA(MAX_PATH, dir);
        settings_ = std::string(dir) + "Y8PhrasesTest" + std::to_string(GetCurrentProcessId()) + ".ini";
        DeleteFileA(settings_.c_str());
        ini_set_file(settings_.c_str());
        phrasesForget();
        wine_clear_boxes();
    }
    void TearDown() override {
        dlg_close_all();
        wine_pump();
        phrasesForget();
        ini_set_file("");
        DeleteFileA(settings_.c_str());
        EXPECT_TRUE(wine_seen_boxes().empty()) << wine_seen_boxes()[0].text;
    }

    static HWND open() {
        appProc(WM_COMMAND, static_cast<WPARAM>(CMD_CONF_FLOSKELN), 0);
        wine_pump();
        return FindWindowA(nullptr, "Floskeln");
    }
    static void press(HWND dialog, int id) {
        SendMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(id), 0);
        wine_pump();
    }
    std::string fileText() const {
        std::ifstream in(settings_, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::string value(const char* key) const {
        char buf[256] = "";
        GetPrivateProfileStringA("Floskel", key, "<none>", buf, sizeof buf, settings_.c_str());
        return buf;
    }

    std::string settings_;
};

TEST_F(PhrasesWin32, FieldsShowTheStoredPhrasesStandardAndCancelWriteNothing) {
    const std::string eighty(80, 'p');
    ini_write("Floskel", "S-C-A", "alpha_~?~");
    ini_write("Floskel", "S-C-M", eighty.c_str());
    ini_write("Floskel", "S-C-Z", "zet");
    const std::string before = fileText();

    HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    RECT units{0, 0, 358, 178};
    ASSERT_TRUE(MapDialogRect(dialog, &units));
    RECT client{};
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, units.right);
    EXPECT_EQ(client.bottom, units.bottom);
    EXPECT_EQ(itemText(dialog, 3010), "alpha_~?~");  // as stored, notation and all
    EXPECT_EQ(itemText(dialog, 3130), eighty);
    EXPECT_EQ(itemText(dialog, 3260), "zet");
    EXPECT_EQ(itemText(dialog, 3020), "");
    EXPECT_EQ(SendDlgItemMessageA(dialog, 3260, EM_GETLIMITTEXT, 0, 0), 80);
    EXPECT_EQ(itemText(dialog, 2500), "&Speichern");
    EXPECT_EQ(itemText(dialog, 2501), "Standard");
    EXPECT_EQ(itemText(dialog, 2), "Abbrechen");

    press(dialog, PHRASE_STANDARD);
    for (int i = 0; i < PHRASE_FIELDS; ++i) {
        EXPECT_EQ(itemText(dialog, 3010 + 10 * i), standardPhrases[i]) << "field " << i;
    }
    EXPECT_EQ(itemText(dialog, 3090), "#include_~?~");
    EXPECT_EQ(itemText(dialog, 3260), "");  // Z has none
    press(dialog, DLG_CANCEL);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(fileText(), before);
    char out[PHRASE_MAX + 1];
    phrase_get(26, out);
    EXPECT_STREQ(out, "zet");
}

TEST_F(PhrasesWin32, SaveWritesEveryFieldTrimmedAndPutsItInForce) {
    ini_write("Floskel", "S-C-B", "old");
    HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    SetDlgItemTextA(dialog, 3010, "  neu_?  ");
    SetDlgItemTextA(dialog, 3020, "");
    SetDlgItemTextA(dialog, 3240, "x-Floskel");
    press(dialog, DLG_ACTION);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(value("S-C-A"), "neu_?");
    EXPECT_EQ(value("S-C-B"), "");  // an empty field keeps its key, empty
    EXPECT_EQ(value("S-C-X"), "x-Floskel");
    EXPECT_EQ(value("S-C-Z"), "");
    EXPECT_EQ(value("S-C-@"), "<none>");  // only A to Z are in the dialog
    // In force at once, without reading the file again.
    char out[PHRASE_MAX + 1];
    phrase_get(1, out);
    EXPECT_STREQ(out, "neu ?");
}

}  // namespace
