// The configuration: extension patterns, the placement slots of several copies, the settings dialogs' fields.
#include "shell/config.h"

#include "editor_fixture.h"
#include "support/platform.h"

namespace {

class Config : public SettingsFixture {
protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        extensionsForget();
        slotForget();
    }
    void TearDown() override {
        extensionsForget();
        slotForget();
        SettingsFixture::TearDown();
    }
    // A slot's value in section "Window" of the file the slots share with the settings.
    static std::string slot(const char* format, int i, const char* value = nullptr) {
        char key[CFG_KEY_MAX + 1];
        configKeyName(key, format, i);
        if (value) ini_write_file(CFG_SLOT_FILE, CFG_SECTION_WINDOW, key, value);
        char text[PLACEMENT_TEXT_SIZE];
        ini_read_file(CFG_SLOT_FILE, CFG_SECTION_WINDOW, key, text, sizeof text);
        return text;
    }
    static std::string flags() {  // "1000000000" for slot 0 taken
        std::string all;
        for (int i = 0; i < CFG_SLOTS; ++i) {
            const std::string flag = slot(CFG_KEY_IN_USE_FORMAT, i);
            all += flag.empty() ? "-" : flag;
        }
        return all;
    }
    static std::string placed(int i, DesktopRect desktop = {0, 0, 1024, 768}) {
        char text[PLACEMENT_TEXT_SIZE];
        placement_format(slotPlacement(i, desktop), text, sizeof text);
        return text;
    }
    static void setExt(int i, const char* value) {
        char key[CFG_KEY_MAX + 1];
        configKeyName(key, CFG_KEY_EXT_FORMAT, i);
        ini_write(CFG_SECTION_ZUSAETZE, key, value);
    }
    std::string settings() const { return read("Y8.ini"); }
};

// A first copy after a crash frees every slot; a copy asked again keeps its slot; a slot is released once.
TEST_F(Config, CopiesTakeFreeSlotsAndAnEleventhNeverReleasesOne) {
    slot(CFG_KEY_IN_USE_FORMAT, 3, "1");
    EXPECT_EQ(slotChoose(0), 0);
    EXPECT_EQ(slotChoose(1), 0);
    EXPECT_EQ(settings().rfind("[Window]\r\nInUse3=0\r\nInUse0=1\r\n", 0), 0u) << settings();  // one file
    for (int copy = 1; copy < CFG_SLOTS; ++copy) {
        slotForget();
        EXPECT_EQ(slotChoose(1), copy);
    }
    EXPECT_EQ(flags(), "1111111111");
    slot(CFG_KEY_POSITION_FORMAT, 1, "0 1 -1 -1 -1 -1 5 6 505 406");
    const std::string before = settings();
    slotForget();
    EXPECT_EQ(std::make_tuple(slotChoose(1), slotOwned(), placed(1)),
              std::make_tuple(1, false, std::string("0 1 -1 -1 -1 -1 5 6 505 406")));
    const PlacementValues moved{0, 1, -1, -1, -1, -1, 70, 80, 570, 480};
    EXPECT_FALSE(slotStore(1, &moved));  // the copy holding slot 1 still runs
    EXPECT_EQ(settings(), before);
    slotForget();
    slot(CFG_KEY_IN_USE_FORMAT, 1, "0");
    EXPECT_EQ(slotChoose(1), 1);
    EXPECT_FALSE(slotStore(0, &moved) || slotStore(10, &moved));  // another slot than the one taken
    EXPECT_TRUE(slotStore(1, &moved));
    EXPECT_EQ(slot(CFG_KEY_POSITION_FORMAT, 1), "0 1 -1 -1 -1 -1 70 80 570 480");
    EXPECT_EQ(flags(), "1011111111");
    EXPECT_FALSE(slotStore(1, &moved));
    slotForget();
    EXPECT_EQ(slotChoose(1), 1);
    EXPECT_TRUE(slotStore(1, nullptr));  // without a placement the slot is still freed
    EXPECT_EQ(flags(), "1011111111");
}

// Shown whole, so that saving the untouched dialog cuts nothing; "Standard" fills the first fifteen only.
TEST_F(Config, FieldsShowWholeValuesAndSaveThemTrimmedAndCut) {
    const std::string dir80 = "C:\\Projekte\\" + std::string(68, 'd');
    ini_write("DauerDir", "Dir0", dir80.c_str());
    ini_write("DauerDir", "Dir19", ("D:\\" + std::string(97, 'e')).c_str());
    ConfigTexts texts;
    configFieldsLoad(configDirectories, &texts);
    EXPECT_EQ(std::string(texts[0].data()), dir80);
    configFieldsSave(configDirectories, texts);
    char value[200];
    char cut[200];
    plat_ini_get("DauerDir", "Dir0", value, sizeof value);
    plat_ini_get("DauerDir", "Dir19", cut, sizeof cut);
    EXPECT_EQ(std::make_pair(std::string(value), std::strlen(cut)), std::make_pair(dir80, std::size_t{80}));
    for (int i = 0; i < 20; ++i) setExt(i, ("x" + std::to_string(i)).c_str());
    configFieldsLoad(configExtensions, &texts);
    const std::string before = settings();
    extensionsStandard(&texts);  // saves nothing
    EXPECT_EQ(std::string(texts[14].data()) + texts[15].data() + settings(), "bmpx15" + before);
    const char* typed[] = {"  bak  ", "abcdefghijklmno", "abcdefghi   xyz", " \t "};
    for (int i = 0; i < 4; ++i) std::strcpy(texts[i].data(), typed[i]);
    configFieldsSave(configExtensions, texts);
    EXPECT_NE(settings().find("Ext0=bak\r\nExt1=abcdefghij\r\nExt2=abcdefghi\r\nExt3=\r\nExt4=lib\r\n"),
              std::string::npos) << settings();
    EXPECT_EQ(std::string(extensionPattern(-1)) + extensionPattern(CFG_EXTENSIONS), "");
    EXPECT_EQ(extensionAllowed(nullptr), 1);
    setExt(3, "klmnopqrstuvw");  // read back upper-cased and cut to ten
    extensionsLoad();
    EXPECT_EQ(std::make_tuple(std::string(extensionPattern(3)), extensionAllowed("klmnopqrst"),
                              extensionAllowed("KLMNOPQRSTUVW")),
              std::make_tuple(std::string("KLMNOPQRST"), 0, 1));
}

}  // namespace
