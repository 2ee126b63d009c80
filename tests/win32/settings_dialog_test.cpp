#include "settings/settings_dialog_win.h"

#include "fake_platform_win.h"
#include "resources/resource_ids.h"
#include "test_support_win.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

// The boxes the click rules touch, one character each ('1' checked or enabled), in this order.
constexpr int kRuleControls[] = {IDC_SETTINGS_FORCE_BREAK, IDC_SETTINGS_ONLY_SOUND, IDC_SETTINGS_SOUND_ON_MSG,
                                 IDC_SETTINGS_SOUND_WARNING};

// Types a text into a field: the field tells its dialog of the change.
void SetTextAsTyped(HWND dialog, int id, const std::string& text)
{
    SetWindowTextW(GetDlgItem(dialog, id), std::wstring(text.begin(), text.end()).c_str());
    PumpMessages();
}

void PressKey(HWND control, WPARAM key)
{
    MSG message{control, WM_KEYDOWN, key, 0, 0, {0, 0}};
    CDialog::PreTranslate(message);
    PumpMessages();
}

class SettingsDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dialog.Create(nullptr));
        PumpMessages();
    }

    // The model's boxes as in kRuleControls, shown in the dialog.
    void Set(const std::string& states)
    {
        bool* boxes[] = {&settings.forceBreak, &settings.onlySound, &settings.soundOnMsg, &settings.soundLongtimeWarning};
        for (size_t i = 0; i < 4; ++i)
            *boxes[i] = states[i] == '1';
        dialog.ShowSettings();
        dialog.ShowEnabling(false);
    }
    // The boxes as kRuleControls, then the seconds field's enabled state; the model says the same.
    std::string Get() const
    {
        std::string states;
        for (int id : kRuleControls)
            states += dialog.IsChecked(id) ? '1' : '0';
        std::string model;
        for (bool box : {settings.forceBreak, settings.onlySound, settings.soundOnMsg, settings.soundLongtimeWarning})
            model += box ? '1' : '0';
        EXPECT_EQ(model, states) << "the model";
        return states + (dialog.IsItemEnabled(IDC_SETTINGS_WAIT_SECONDS) ? '1' : '0');
    }

    void SetText(int id, const std::string& text) { SetTextAsTyped(dialog.Hwnd(), id, text); }

    FakePlatform platform;
    SettingsModel settings;
    CSetting dialog{platform, settings};
};

TEST_F(SettingsDialogTest, ClickRulesKeepForcedBreaksAndSoundOnlyApart)
{
    EXPECT_FALSE(dialog.IsVisible());
    EXPECT_EQ(Get(), "00000");

    constexpr int kForce = IDC_SETTINGS_FORCE_BREAK;
    constexpr int kOnly = IDC_SETTINGS_ONLY_SOUND;
    struct Case {
        const char* before;
        std::vector<int> clicks;
        const char* after;
    };
    const Case cases[] = {
        {"10001", {kOnly}, "01110"},                 // sound-only turns forced breaks off, sounds on
        {"01110", {kForce}, "10111"},                // forced breaks turn sound-only off, sounds stay
        {"00100", {kForce}, "10101"},                // the sound boxes are not forced off
        {"00000", {kForce, kForce}, "00000"},        // unchecking disables the field again
        {"00000", {kOnly, kOnly}, "00110"},          // unchecking sound-only keeps both sounds
        {"01000", {kOnly}, "00000"},                 // unchecking sound-only changes nothing else
        {"00000", {kForce, kOnly, kForce}, "10111"}, // one then the other
    };
    for (const Case& c : cases) {
        Set(c.before);
        for (int id : c.clicks)
            Click(dialog.Hwnd(), id);
        EXPECT_EQ(Get(), c.after) << "from " << c.before;
    }

    // Other notifications of the boxes are not clicks.
    Set("11001");
    Notify(dialog.Hwnd(), kOnly, BN_SETFOCUS);
    Notify(dialog.Hwnd(), kForce, BN_KILLFOCUS);
    EXPECT_EQ(Get(), "11001");
}

TEST_F(SettingsDialogTest, BrowseStoresTheChosenPathAndCancelChangesNothing)
{
    struct Sound {
        int browse;
        int field;
        std::string SettingsModel::*member;
        std::string SettingsModel::*other;
    };
    const Sound sounds[] = {
        {IDC_SETTINGS_BROWSE_MESSAGE, IDC_SETTINGS_MESSAGE_SOUND, &SettingsModel::messageSoundPath,
         &SettingsModel::warningSoundPath},
        {IDC_SETTINGS_BROWSE_WARNING, IDC_SETTINGS_WARNING_SOUND, &SettingsModel::warningSoundPath,
         &SettingsModel::messageSoundPath},
    };
    const std::string chosen = "C:\\My Sounds\\chime.wav";
    for (const Sound& sound : sounds) {
        settings.messageSoundPath = "message.wav";
        settings.warningSoundPath = "break.wav";
        dialog.ShowSettings();
        const std::string before = settings.*sound.member;
        const std::string other = settings.*sound.other;
        platform.fileFilters.clear();

        platform.chosenFile.reset();
        Click(dialog.Hwnd(), sound.browse);
        EXPECT_EQ(settings.*sound.member, before);
        EXPECT_EQ(dialog.ItemText(sound.field), before);

        platform.chosenFile = chosen;
        Click(dialog.Hwnd(), sound.browse);
        EXPECT_EQ(settings.*sound.member, chosen);
        EXPECT_EQ(dialog.ItemText(sound.field), chosen);
        EXPECT_EQ(settings.*sound.other, other);
        EXPECT_EQ(platform.fileFilters, (std::vector<std::string>(2, "Wav (*.wav)|*.wav")));
    }
}

TEST_F(SettingsDialogTest, PlayUsesTheModelNotTheFields)
{
    dialog.SetItemText(IDC_SETTINGS_MESSAGE_SOUND, "shown.wav");
    dialog.SetItemText(IDC_SETTINGS_WARNING_SOUND, "shown too.wav");
    Click(dialog.Hwnd(), IDC_SETTINGS_PLAY_MESSAGE);
    Click(dialog.Hwnd(), IDC_SETTINGS_PLAY_WARNING);
    EXPECT_EQ(platform.soundsPlayed, (std::vector<std::string>{"message.wav", "break.wav"}));
}

TEST_F(SettingsDialogTest, EveryWayOfClosingHidesAndKeepsTheChanges)
{
    struct Way {
        const char* name;
        void (*close)(HWND dialog);
    };
    const Way ways[] = {
        {"OK",
         [](HWND d) {
             Click(d, IDOK);
         }},
        {"Cancel",
         [](HWND d) {
             Click(d, IDCANCEL);
         }},
        {"Enter",
         [](HWND d) {
             PressKey(GetDlgItem(d, IDC_SETTINGS_KEYBOARD_LEDS), VK_RETURN);
         }},
        {"Escape",
         [](HWND d) {
             PressKey(GetDlgItem(d, IDC_SETTINGS_KEYBOARD_LEDS), VK_ESCAPE);
         }},
        {"close box",
         [](HWND d) {
             SendMessageW(d, WM_SYSCOMMAND, SC_CLOSE, 0);
             PumpMessages();
         }},
    };
    for (const Way& way : ways) {
        settings.keyboardLeds = false;
        Set("00000");
        dialog.Show(SW_SHOW);
        Click(dialog.Hwnd(), IDC_SETTINGS_FORCE_BREAK);
        Click(dialog.Hwnd(), IDC_SETTINGS_KEYBOARD_LEDS);
        SetText(IDC_SETTINGS_WAIT_SECONDS, "");

        way.close(dialog.Hwnd());
        EXPECT_FALSE(dialog.IsVisible()) << way.name;
        dialog.Show(SW_SHOW);
        EXPECT_EQ(Get(), "10001") << way.name;
        EXPECT_TRUE(dialog.IsChecked(IDC_SETTINGS_KEYBOARD_LEDS)) << way.name;
        EXPECT_EQ(dialog.ItemText(IDC_SETTINGS_WAIT_SECONDS), "") << way.name;
        EXPECT_TRUE(settings.keyboardLeds && settings.forceBreak && settings.forceBreakWait.empty()) << way.name;
    }
    EXPECT_TRUE(platform.messageBoxes.empty());
}

// The labels sit on the face colour of the current colour scheme, also after the user changes it.
TEST_F(SettingsDialogTest, LabelsAreTahomaInBlackOrGreyOnTheFaceColour)
{
    const std::pair<int, COLORREF> labels[] = {
        {IDC_SETTINGS_WAIT_LABEL, RGB(0, 0, 0)},           {IDC_SETTINGS_WARNING_SOUND_LABEL, RGB(0, 0, 0)},
        {IDC_SETTINGS_MESSAGE_SOUND_LABEL, RGB(0, 0, 0)},  {IDC_SETTINGS_TOPMOST_NOTE, RGB(128, 128, 128)},
        {IDC_SETTINGS_NO_POPUPS_NOTE, RGB(128, 128, 128)}, {IDC_SETTINGS_LEDS_NOTE, RGB(128, 128, 128)},
    };
    static constexpr int kFace = COLOR_BTNFACE;
    // Puts the user's scheme back even when an assertion leaves the loop early.
    struct RestoreFace {
        COLORREF colour = GetSysColor(kFace);
        ~RestoreFace() { SetSysColors(1, &kFace, &colour); }
    } restore;
    const COLORREF schemes[] = {restore.colour, RGB(10, 120, 200)};
    HDC dc = CreateCompatibleDC(nullptr);
    for (const COLORREF face : schemes) {
        ASSERT_TRUE(SetSysColors(1, &kFace, &face));
        SendMessageW(dialog.Hwnd(), WM_SYSCOLORCHANGE, 0, 0);
        for (const auto& [id, text] : labels) {
            HWND control = dialog.Item(id);
            const LRESULT brush = SendMessageW(dialog.Hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                               reinterpret_cast<LPARAM>(control));
            LOGBRUSH brushInfo{};
            ASSERT_NE(GetObjectW(reinterpret_cast<HBRUSH>(brush), sizeof brushInfo, &brushInfo), 0)
                << id << " answered " << brush;
            EXPECT_EQ(brushInfo.lbColor, face) << id;
            EXPECT_EQ(GetTextColor(dc), text) << id;
            EXPECT_EQ(GetBkColor(dc), face) << id;

            LOGFONTW font{};
            GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
            EXPECT_STREQ(font.lfFaceName, L"Tahoma") << id;
        }
    }
    DeleteDC(dc);
}

// The limit's fields write the limit they show together into the model as the user types; what
// isn't one is 8 hours, and the model shows back as the settings hold it.
TEST_F(SettingsDialogTest, TheDailyLimitsFieldsWriteTheModelAsTheUserTypes)
{
    EXPECT_EQ(dialog.ItemText(IDC_SETTINGS_DAILY_LIMIT_HOURS) + ":" + dialog.ItemText(IDC_SETTINGS_DAILY_LIMIT_MINUTES),
              "8:00");
    const struct {
        const char* hours;
        const char* minutes;
        int taken;
        const char* shown;
    } cases[] = {{"9", "5", 545, "9:05"}, {"", "45", 45, "0:45"}, {"24", "00", 480, "8:00"}};
    for (const auto& c : cases) {
        SetText(IDC_SETTINGS_DAILY_LIMIT_HOURS, c.hours);
        SetText(IDC_SETTINGS_DAILY_LIMIT_MINUTES, c.minutes);
        EXPECT_EQ(settings.dailyLimitMinutes, c.taken) << c.shown;
        dialog.ShowSettings();
        EXPECT_EQ(dialog.ItemText(IDC_SETTINGS_DAILY_LIMIT_HOURS) + ":" +
                      dialog.ItemText(IDC_SETTINGS_DAILY_LIMIT_MINUTES),
                  c.shown);
    }
}

// The bedtime is typed as the clock shows it; anything else is none, and none shows empty.
TEST_F(SettingsDialogTest, TheBedtimeIsAClockTimeOrNone)
{
    const struct {
        const char* typed;
        std::optional<int> bedtime;
        const char* shown;
    } rows[] = {{"23:00", 23 * 60, "23:00"}, {"0:30", 30, "00:30"}, {"24:00", std::nullopt, ""}, {"", std::nullopt, ""}};
    for (const auto& row : rows) {
        SetText(IDC_SETTINGS_BEDTIME, row.typed);
        EXPECT_EQ(settings.bedtimeMinutes, row.bedtime) << row.typed;
        dialog.ShowSettings();
        EXPECT_EQ(dialog.ItemText(IDC_SETTINGS_BEDTIME), row.shown) << row.typed;
    }
}

// The drop-down lists Windows' language, English, the built-in languages and the user's own, and
// holds the LANGUAGE setting chosen, also one whose translation is gone.
TEST(SettingsLanguageTest, TheDropDownHoldsTheChosenLanguage)
{
    FakePlatform platform;
    platform.files["kelvaro.sv.po"] = "";
    SettingsModel settings;
    CSetting dialog{platform, settings};
    ASSERT_TRUE(dialog.Create(nullptr));
    HWND languages = dialog.Item(IDC_SETTINGS_LANGUAGE);
    EXPECT_EQ(SendMessageW(languages, CB_GETCOUNT, 0, 0), 13);
    EXPECT_EQ(SendMessageW(languages, CB_GETCURSEL, 0, 0), 0);
    SendMessageW(languages, CB_SETCURSEL, 2, 0);
    Notify(dialog.Hwnd(), IDC_SETTINGS_LANGUAGE, CBN_SELCHANGE);
    EXPECT_EQ(settings.language, "de");
    settings.language = "sv";
    dialog.ShowSettings();
    EXPECT_EQ(SendMessageW(languages, CB_GETCURSEL, 0, 0), 12);
    settings.language = "fi";
    dialog.ShowSettings();
    Notify(dialog.Hwnd(), IDC_SETTINGS_LANGUAGE, CBN_SELCHANGE);
    EXPECT_EQ(settings.language, "fi");
    EXPECT_EQ(SendMessageW(languages, CB_GETCOUNT, 0, 0), 14);
    EXPECT_EQ(dialog.ItemText(IDC_SETTINGS_LANGUAGE_NOTE), "Kelvaro speaks the language you choose from its next start.");
}

} // namespace
