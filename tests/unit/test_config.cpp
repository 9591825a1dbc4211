// Tests of the configuration: the extension patterns, the choice and release
// of placement slots by several copies, and the field tables of the settings
// dialogs. Through the headless host, whose ini files are real files in a
// directory of each test's own.
#include "shell/config.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "file_bytes.h"
#include "support/platform.h"
#include "host/headless.h"
#include "host/headless_profile.h"
#include "support/profile.h"

namespace {

namespace fs = std::filesystem;

class ConfigTest : public ::testing::Test {
protected:
    void SetUp() override {
        headless_reset();
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::temp_directory_path() / (std::string("y8-config-") + info->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        const std::string dirText = dir_.string() + "/";
        headless_set_ini_dir(dirText.c_str());
        ini_set_file("Y8.ini");
        extensionsForget();
        slotForget();
    }
    void TearDown() override {
        extensionsForget();
        slotForget();
        headless_reset();
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    // The settings file; the slots address it as "Y8.INI" and share it.
    std::string settings() const { return readBytes(dir_ / "Y8.ini"); }
    std::string slotFile() const { return settings(); }

    static std::string slotValue(const char* format, int slot) {
        char key[CFG_KEY_MAX + 1];
        configKeyName(key, format, slot);
        char value[PLACEMENT_TEXT_SIZE];
        ini_read_file(CFG_SLOT_FILE, CFG_SECTION_WINDOW, key, value, sizeof value);
        return value;
    }
    static void setSlotValue(const char* format, int slot, const char* value) {
        char key[CFG_KEY_MAX + 1];
        configKeyName(key, format, slot);
        ini_write_file(CFG_SLOT_FILE, CFG_SECTION_WINDOW, key, value);
    }
    static std::string inUse(int slot) { return slotValue(CFG_KEY_IN_USE_FORMAT, slot); }
    static std::string position(int slot) { return slotValue(CFG_KEY_POSITION_FORMAT, slot); }
    // The flags of all ten slots as one text, "1000000000" for slot 0 taken.
    static std::string flags() {
        std::string all;
        for (int i = 0; i < CFG_SLOTS; ++i) all += inUse(i).empty() ? "-" : inUse(i);
        return all;
    }

    static void setExt(int i, const char* value) {
        char key[CFG_KEY_MAX + 1];
        configKeyName(key, CFG_KEY_EXT_FORMAT, i);
        ini_write(CFG_SECTION_ZUSAETZE, key, value);
    }

    fs::path dir_;
};

std::string placementText(const PlacementValues& v) {
    char text[PLACEMENT_TEXT_SIZE];
    placement_format(v, text, sizeof text);
    return text;
}

constexpr DesktopRect kScreen{0, 0, 1024, 768};
const std::string kScreenDefault = "0 1 -1 -1 -1 -1 212 164 812 604";

// ---------------------------------------------------------------------------
// Extension patterns
// ---------------------------------------------------------------------------

using ExtensionPatterns = ConfigTest;

TEST_F(ExtensionPatterns, WildcardsDigitsAndCaseDecideWhatIsHidden) {
    setExt(0, "b?k");
    setExt(1, "  l#  ");
    setExt(2, "ts*");
    setExt(5, "Obj");  // gaps between patterns are allowed
    struct Row { const char* ext; int allowed; };
    static const Row rows[] = {
        {"BAK", 0}, {"bok", 0}, {"BAKE", 1}, {"BK", 1}, {"L7", 0}, {"LX", 1}, {"L12", 1}, {"ts", 0},
        {"TSX", 0}, {"XTS", 1}, {"OBJ", 0}, {"C", 1},
        {"", 1},  // no empty pattern hides files without an extension
    };
    for (const Row& r : rows) EXPECT_EQ(extensionAllowed(r.ext), r.allowed) << r.ext;
    EXPECT_EQ(extensionAllowed(nullptr), 1);

    // Stored as read: trimmed and upper-cased.
    EXPECT_STREQ(extensionPattern(0), "B?K");
    EXPECT_STREQ(extensionPattern(1), "L#");
    EXPECT_STREQ(extensionPattern(3), "");
    EXPECT_STREQ(extensionPattern(20), "");
    EXPECT_STREQ(extensionPattern(-1), "");
}

TEST_F(ExtensionPatterns, PatternsAreCutToTenCharactersAndOnlyTwentyAreRead) {
    setExt(0, "abcdefghijklmn");
    setExt(1, "abcdefghi   xyz");  // the cut leaves a blank, which goes too
    setExt(19, "last");
    setExt(20, "zzz");  // no pattern 21
    extensionsLoad();
    EXPECT_STREQ(extensionPattern(0), "ABCDEFGHIJ");
    EXPECT_STREQ(extensionPattern(1), "ABCDEFGHI");
    EXPECT_EQ(extensionAllowed("abcdefghij"), 0);
    EXPECT_EQ(extensionAllowed("abcdefghijklmn"), 1);
    EXPECT_EQ(extensionAllowed("LAST"), 0);
    EXPECT_EQ(extensionAllowed("ZZZ"), 1);
}

TEST_F(ExtensionPatterns, PatternsAreReadAgainOnLoadOrWhileTheFirstIsEmpty) {
    setExt(0, "bak");
    EXPECT_EQ(extensionAllowed("BAK"), 0);
    // Loaded: a change of the file is seen at the next load only.
    setExt(0, "obj");
    EXPECT_EQ(extensionAllowed("OBJ"), 1);
    EXPECT_EQ(extensionAllowed("BAK"), 0);
    extensionsLoad();
    EXPECT_EQ(extensionAllowed("OBJ"), 0);
    EXPECT_EQ(extensionAllowed("BAK"), 1);

    // With the first pattern empty every question reads the patterns again.
    setExt(0, "");
    extensionsLoad();
    setExt(4, "map");
    EXPECT_EQ(extensionAllowed("MAP"), 0);
}

// ---------------------------------------------------------------------------
// Placement slots
// ---------------------------------------------------------------------------

using PlacementSlots = ConfigTest;

TEST_F(PlacementSlots, AFirstCopyAfterACrashFreesEverySlotAndTakesSlotZero) {
    setSlotValue(CFG_KEY_IN_USE_FORMAT, 0, "1");
    setSlotValue(CFG_KEY_IN_USE_FORMAT, 3, "1");
    EXPECT_EQ(slotChoose(0), 0);
    EXPECT_TRUE(slotOwned());
    EXPECT_EQ(flags(), "1000000000");
    // In section "Window" of the settings file, under the file's own name.
    EXPECT_EQ(settings().rfind("[Window]\r\nInUse0=1\r\nInUse3=0\r\n", 0), 0u) << settings();
    int files = 0;  // one file, spelled as the settings file is, on any file system
    for (const auto& entry : fs::directory_iterator(dir_)) {
        EXPECT_EQ(entry.path().filename().string(), "Y8.ini");
        ++files;
    }
    EXPECT_EQ(files, 1);
}

TEST_F(PlacementSlots, ASecondCopyTakesTheNextFreeSlotAndItsPlacementOrTheCentredDefault) {
    EXPECT_EQ(slotChoose(0), 0);
    slotForget();  // the next copy
    EXPECT_EQ(slotChoose(1), 1);
    EXPECT_EQ(flags(), "1100000000");

    // Slot 1 without a placement: 600 x 440, centred.
    EXPECT_EQ(placementText(slotPlacement(1, kScreen)), kScreenDefault);
    EXPECT_EQ(placementText(slotPlacement(1, DesktopRect{100, 50, 1101, 851})), "0 1 -1 -1 -1 -1 300 230 900 670");

    // With one, that one (blanks around it do not matter).
    setSlotValue(CFG_KEY_POSITION_FORMAT, 1, "  2 3 -1 -1 -8 -8 10 20 610 460  ");
    EXPECT_EQ(placementText(slotPlacement(1, kScreen)), "2 3 -1 -1 -8 -8 10 20 610 460");

    // A copy whose slot was freed meanwhile gets it back first.
    slotForget();
    setSlotValue(CFG_KEY_IN_USE_FORMAT, 0, "0");
    EXPECT_EQ(slotChoose(1), 0);
    EXPECT_EQ(flags(), "1100000000");
}

TEST_F(PlacementSlots, AnEleventhCopyPlacesFromSlotOneButNeverReleasesIt) {
    for (int copy = 0; copy < CFG_SLOTS; ++copy) {
        slotForget();
        EXPECT_EQ(slotChoose(copy == 0 ? 0 : 1), copy);
    }
    EXPECT_EQ(flags(), "1111111111");
    setSlotValue(CFG_KEY_POSITION_FORMAT, 1, "0 1 -1 -1 -1 -1 5 6 505 406");
    const std::string before = slotFile();

    slotForget();
    EXPECT_EQ(slotChoose(1), 1);
    EXPECT_FALSE(slotOwned());
    EXPECT_EQ(placementText(slotPlacement(1, kScreen)), "0 1 -1 -1 -1 -1 5 6 505 406");

    // Its end writes nothing: the copy holding slot 1 still runs.
    const PlacementValues moved{0, 1, -1, -1, -1, -1, 70, 80, 570, 480};
    EXPECT_FALSE(slotStore(1, &moved));
    EXPECT_EQ(inUse(1), "1");
    EXPECT_EQ(position(1), "0 1 -1 -1 -1 -1 5 6 505 406");
    EXPECT_EQ(slotFile(), before);
}

TEST_F(PlacementSlots, ReleaseStoresThePlacementAndFreesOnlyTheSlotTaken) {
    EXPECT_EQ(slotChoose(0), 0);
    slotForget();
    EXPECT_EQ(slotChoose(1), 1);
    const PlacementValues now{0, 1, -1, -1, -1, -1, 70, 80, 570, 480};

    // Another slot than the one taken, or one past the ten: nothing.
    const std::string before = slotFile();
    EXPECT_FALSE(slotStore(0, &now));
    EXPECT_FALSE(slotStore(10, &now));
    EXPECT_FALSE(slotStore(-1, &now));
    EXPECT_EQ(slotFile(), before);

    EXPECT_TRUE(slotStore(1, &now));
    EXPECT_EQ(position(1), "0 1 -1 -1 -1 -1 70 80 570 480");
    EXPECT_EQ(flags(), "1000000000");
    EXPECT_FALSE(slotOwned());
    EXPECT_FALSE(slotStore(1, &now));  // released once

    // Without a placement to store, the slot is still freed.
    slotForget();
    EXPECT_EQ(slotChoose(1), 1);
    EXPECT_TRUE(slotStore(1, nullptr));
    EXPECT_EQ(flags(), "1000000000");
    EXPECT_EQ(position(1), "0 1 -1 -1 -1 -1 70 80 570 480");
}

TEST_F(PlacementSlots, ACopyThatHoldsASlotKeepsItWhenAskedAgain) {
    EXPECT_EQ(slotChoose(0), 0);
    EXPECT_EQ(slotChoose(0), 0);
    EXPECT_EQ(slotChoose(1), 0);
    EXPECT_EQ(flags(), "1000000000");
}

TEST_F(PlacementSlots, UnusablePositionsGiveTheDefault) {
    const char* unusable[] = {
        "",        "    ",
        "12 abc",  "1 2 3 4 5 6 7 8 9",                        // not ten numbers
        "0 1 -1 -1 -1 -1 10 20 10 400",                         // no width
        "0 1 -1 -1 -1 -1 10 400 600 20",                        // upside down
        "0 1 -1 -1 -1 -1 10 20 600 99999999999",                // beyond an int
    };
    for (const char* text : unusable) {
        setSlotValue(CFG_KEY_POSITION_FORMAT, 2, text);
        EXPECT_EQ(placementText(slotPlacement(2, kScreen)), kScreenDefault) << '"' << text << '"';
    }
    EXPECT_EQ(placementText(slotPlacement(10, kScreen)), kScreenDefault);

    // A show command that would hide the window shows it normally; a
    // minimized or maximized one stays.
    setSlotValue(CFG_KEY_POSITION_FORMAT, 2, "0 0 -1 -1 -1 -1 10 20 610 460");
    EXPECT_EQ(placementText(slotPlacement(2, kScreen)), "0 1 -1 -1 -1 -1 10 20 610 460");
    setSlotValue(CFG_KEY_POSITION_FORMAT, 2, "0 3 -1 -1 -1 -1 10 20 610 460");
    EXPECT_EQ(slotPlacement(2, kScreen).showCommand, 3);
    setSlotValue(CFG_KEY_POSITION_FORMAT, 2, "0 2 -1 -1 -1 -1 10 20 610 460");
    EXPECT_EQ(slotPlacement(2, kScreen).showCommand, 2);
}

// ---------------------------------------------------------------------------
// The settings dialogs' fields
// ---------------------------------------------------------------------------

using ConfigFields = ConfigTest;

TEST_F(ConfigFields, ALongDirectoryIsShownWholeAndSavedBackUnchanged) {
    const std::string dir80 = "C:\\Projekte\\" + std::string(68, 'd');
    ASSERT_EQ(dir80.size(), 80u);
    const std::string dir100 = "D:\\" + std::string(97, 'e');
    ini_write("DauerDir", "Dir0", dir80.c_str());
    ini_write("DauerDir", "Dir19", dir100.c_str());
    ini_write("DauerDir", "Dir5", "C:\\Kurz");

    ConfigTexts texts;
    configFieldsLoad(configDirectories, &texts);
    EXPECT_EQ(std::string(texts[0].data()), dir80);
    EXPECT_EQ(std::string(texts[5].data()), "C:\\Kurz");
    EXPECT_EQ(std::string(texts[19].data()), dir100.substr(0, 80));
    EXPECT_STREQ(texts[1].data(), "");

    // Saved as shown: the 80 characters stay; only what was never shown goes.
    configFieldsSave(configDirectories, texts);
    char value[200];
    plat_ini_get("DauerDir", "Dir0", value, sizeof value);
    EXPECT_EQ(std::string(value), dir80);
    plat_ini_get("DauerDir", "Dir5", value, sizeof value);
    EXPECT_STREQ(value, "C:\\Kurz");
    plat_ini_get("DauerDir", "Dir19", value, sizeof value);
    EXPECT_EQ(std::string(value), dir100.substr(0, 80));
}

TEST_F(ConfigFields, SavedTextsAreTrimmedAndCutAndEmptyOnesKeepTheirKey) {
    ConfigTexts texts;
    configFieldsLoad(configExtensions, &texts);
    std::strcpy(texts[0].data(), "  bak  ");
    std::strcpy(texts[1].data(), "abcdefghijklmno");
    std::strcpy(texts[2].data(), "abcdefghi   xyz");
    std::strcpy(texts[3].data(), " \t ");
    configFieldsSave(configExtensions, texts);

    const std::string file = settings();
    EXPECT_NE(file.find("[Zusaetze]\r\nExt0=bak\r\nExt1=abcdefghij\r\nExt2=abcdefghi\r\nExt3=\r\nExt4=\r\n"),
              std::string::npos)
        << file;
    EXPECT_NE(file.find("Ext19=\r\n"), std::string::npos);

    // The colours: trimmed.
    configFieldsLoad(configColours, &texts);
    EXPECT_STREQ(texts[0].data(), "");  // a missing value shows empty; the hint stands beside it
    std::strcpy(texts[0].data(), " 200 200 255 ");
    std::strcpy(texts[2].data(), ("  " + std::string(78, 'F')).c_str());  // a field holds 80
    configFieldsSave(configColours, texts);
    char value[200];
    plat_ini_get("Global", "BgFarbe", value, sizeof value);
    EXPECT_STREQ(value, "200 200 255");
    plat_ini_get("Global", "MarkBgFarbe", value, sizeof value);
    EXPECT_STREQ(value, "");
    plat_ini_get("Global", "PrintFont", value, sizeof value);
    EXPECT_EQ(std::string(value), std::string(78, 'F'));
}

TEST_F(ConfigFields, StandardFillsTheFirstFifteenAndKeepsTheRestWithoutSaving) {
    for (int i = 0; i < 20; ++i) setExt(i, ("x" + std::to_string(i)).c_str());
    const std::string before = settings();

    ConfigTexts texts;
    configFieldsLoad(configExtensions, &texts);
    extensionsStandard(&texts);
    const char* expected[] = {"bak", "obj", "exe", "map", "lib", "dll", "bin", "o",   "a",   "dlg",
                              "bmp", "png", "gif", "jpg", "bmp", "x15", "x16", "x17", "x18", "x19"};
    for (int i = 0; i < 20; ++i) EXPECT_STREQ(texts[i].data(), expected[i]) << "field " << i;
    EXPECT_EQ(settings(), before);  // cancelled here: the file is as it was
}

}  // namespace
