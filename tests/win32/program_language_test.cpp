#include "language/program_language_win.h"

#include "fake_platform_win.h"
#include "framework/window_texts_win.h"
#include "language/text_format.h"
#include "language/translation.h"
#include "resources/resource_ids.h"
#include "settings/settings_dialog_win.h"
#include "test_support_win.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A translation of the user's own, in a language the program doesn't have.
constexpr char kSwedish[] = "msgid \"\"\nmsgstr \"Language: sv\\n\"\n\n"
                            "msgid \"Settings\"\nmsgstr \"Inst\xC3\xA4llningar\"\n\n"
                            "msgid \"Force the user to take a break!\"\nmsgstr \"Tvinga fram en paus!\"\n\n"
                            "msgid \"Open Kelvaro\"\nmsgstr \"\xC3\x96ppna Kelvaro\"\n";

std::string WindowText(HWND window)
{
    wchar_t text[128] = {};
    GetWindowTextW(window, text, static_cast<int>(std::size(text)));
    return Narrow(text);
}

std::string MenuItemText(HMENU menu, UINT id)
{
    wchar_t text[128] = {};
    GetMenuStringW(menu, id, text, static_cast<int>(std::size(text)), MF_BYCOMMAND);
    return Narrow(text);
}

class ProgramLanguageTest : public ::testing::Test {
protected:
    void TearDown() override { SetCurrentTranslation(CTranslation()); }

    FakePlatform platform;
};

// The windows and the tray menu are made in the language chosen, from the user's own file.
TEST_F(ProgramLanguageTest, TheUsersTranslationNamesTheDialogsAndTheMenu)
{
    platform.files["settings.txt"] = "STARTPROGRAM true\r\nLANGUAGE sv\r\n";
    platform.files["kelvaro.sv.po"] = kSwedish;
    StartProgramLanguage(platform);
    CSetting dialog{platform};
    ASSERT_TRUE(dialog.Create(nullptr));
    EXPECT_EQ(WindowText(dialog.Hwnd()), "Inst\xC3\xA4llningar");
    EXPECT_EQ(dialog.ItemText(IDC_SETTINGS_FORCE_BREAK), "Tvinga fram en paus!");
    EXPECT_EQ(dialog.ItemText(IDCANCEL), "Cancel") << "a text the file leaves out stays English";
    HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_TRAY_MENU));
    ASSERT_NE(menu, nullptr);
    TranslateMenuTexts(menu);
    EXPECT_EQ(MenuItemText(menu, ID_TRAY_OPEN), "\xC3\x96ppna Kelvaro");
    EXPECT_EQ(MenuItemText(menu, ID_TRAY_QUIT), "Quit");
    DestroyMenu(menu);
    EXPECT_TRUE(platform.messageBoxes.empty());
}

// Which translation is spoken: the setting's, else Windows' language; a damaged file of the
// user's is named in one box, in the built-in translation that takes its place.
TEST_F(ProgramLanguageTest, TheSettingOrWindowsChoosesAndADamagedFileIsNamedOnce)
{
    const CTranslation german(ReadPoFile(platform.BuiltInTranslation("de").value_or("")));
    struct Case {
        const char* what;
        const char* settings;
        const char* windows;
        const char* usersFile; // kelvaro.de.po
        std::string settingsCaption;
        int boxes;
    };
    const Case cases[] = {
        {"Windows' language", "", "de-AT", nullptr, std::string(german.Text("Settings")), 0},
        {"the setting over Windows'", "LANGUAGE en", "de-DE", nullptr, "Settings", 0},
        {"English Windows", "", "en-US", nullptr, "Settings", 0},
        {"a damaged file of the user's", "LANGUAGE de", "ja-JP", "msgid \"Settings\"\nmsgstr \"Einst",
         std::string(german.Text("Settings")), 1},
    };
    for (const Case& c : cases) {
        SetCurrentTranslation(CTranslation());
        platform.files.clear();
        platform.messageBoxes.clear();
        platform.files["settings.txt"] = c.settings;
        if (c.usersFile)
            platform.files["kelvaro.de.po"] = c.usersFile;
        platform.userInterfaceLanguage = c.windows;
        StartProgramLanguage(platform);
        EXPECT_EQ(Tr("Settings"), c.settingsCaption) << c.what;
        ASSERT_EQ(platform.messageBoxes.size(), static_cast<std::size_t>(c.boxes)) << c.what;
        if (c.boxes) {
            EXPECT_EQ(platform.messageBoxes[0].text,
                      FillText(Tr("%s can't be read (line %s): Kelvaro speaks its own translation instead."),
                               {"kelvaro.de.po", "2"}));
        }
    }
}

} // namespace
