#include "language/program_language_win.h"

#include "app/main_window_win.h"
#include "app/tray_icon_win.h"
#include "fake_platform_win.h"
#include "framework/window_texts_win.h"
#include "history/history_dialog_win.h"
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
    SettingsModel settings;
    CSetting dialog{platform, settings};
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

// A German user's main window and tray menu, by control id, and a French user's History list.
TEST_F(ProgramLanguageTest, TheMainWindowAndTheMenuInGermanAndTheHistoryInFrench)
{
    enum class Where { MainWindow, TrayMenu, History };
    struct Case {
        const char* language;
        Where where;
        int id;
        std::string shown;
    };
    const Case cases[] = {
        {"de", Where::MainWindow, IDC_MAIN_QUIT, "Ende"},
        {"de", Where::MainWindow, IDC_MAIN_MORE_SETTINGS, "Einstellungen"},
        {"de", Where::MainWindow, IDC_MAIN_START_STOP, "Starten"},
        {"de", Where::TrayMenu, ID_TRAY_OPEN, "Kelvaro \xC3\xB6""ffnen"},
        {"de", Where::TrayMenu, ID_TRAY_PAUSE_1_HOUR, "F\xC3\xBCr 1 Stunde"},
        {"fr", Where::History, IDC_HISTORY_LIST, "04 mar 2006 (sam)\t Temps actif\xC2\xA0: 05:12:00  \r\n"},
    };
    for (const Case& c : cases) {
        SetCurrentTranslation(CTranslation());
        ResetProgramState();
        platform.files.clear();
        platform.files["settings.txt"] = std::string("STARTTRAY 0 STARTPROGRAM false LANGUAGE ") + c.language;
        platform.files["standard.txt"] = "--HEALTH-- a ; --END--";
        platform.files["timehistory.txt"] = "HISTORY\r\n2006-3-4 = 5:12:0\r\n";
        StartProgramLanguage(platform);
        HICON icons[kTrayIconCount] = {};
        CTavrinDlg main(platform, icons);
        ASSERT_TRUE(main.Create(nullptr));
        std::string shown;
        if (c.where == Where::History) {
            g_pHistoryDlg->Show(SW_SHOW);
            ASSERT_EQ(g_pHistoryDlg->ReadHistory(), 1);
            shown = g_pHistoryDlg->ItemText(c.id);
        } else if (c.where == Where::TrayMenu) {
            HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_TRAY_MENU));
            TranslateMenuTexts(menu);
            shown = MenuItemText(menu, static_cast<UINT>(c.id));
            DestroyMenu(menu);
        } else {
            shown = main.ItemText(c.id);
        }
        EXPECT_EQ(shown, c.shown) << c.language << " " << c.id;
        DestroyWindow(main.Hwnd());
    }
}

// The portable zip's catalogue and ideas come in the language spoken, never over the user's own.
TEST_F(ProgramLanguageTest, TheZipsCatalogueComesInTheLanguageSpoken)
{
    platform.files["settings.txt"] = "LANGUAGE de";
    platform.files["standard.txt"] = "english tips";
    platform.files["breakideas.txt"] = "my own ideas";
    platform.files["languages/en/standard.txt"] = "english tips";
    platform.files["languages/en/breakideas.txt"] = "english ideas";
    platform.files["languages/de/standard.txt"] = "deutsche Tipps";
    platform.files["languages/de/breakideas.txt"] = "deutsche Ideen";
    StartProgramLanguage(platform);
    EXPECT_EQ(platform.files["standard.txt"], "deutsche Tipps");
    EXPECT_EQ(platform.files["breakideas.txt"], "my own ideas");
}

} // namespace
