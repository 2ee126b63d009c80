#include "appearance/theme_choice.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

constexpr auto kNone = std::nullopt;
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};

TEST(ThemeChoice, TheSettingsWordIsOneOfThreeAndAnyOtherIsSystem)
{
    const struct {
        const char* word;
        ThemeSetting setting;
    } cases[] = {{"system", ThemeSetting::System}, {"light", ThemeSetting::Light}, {"dark", ThemeSetting::Dark},
                 {"", ThemeSetting::System},       {"Dark", ThemeSetting::System}, {"dark ", ThemeSetting::System}};
    for (const auto& c : cases) {
        EXPECT_EQ(ReadThemeSetting(c.word), c.setting) << c.word;
        EXPECT_EQ(ReadThemeSetting(ThemeSettingWord(c.setting)), c.setting) << c.word;
    }
}

// The look follows high contrast, then the choice, then the apps' mode; the tray's pictures follow
// the taskbar's own mode, or under high contrast the scheme's window colour.
TEST(ThemeChoice, HighContrastWinsThenTheChoiceThenWindowsModes)
{
    const struct {
        ThemeSetting setting;
        std::optional<std::uint32_t> apps, taskbar;
        bool highContrast;
        Rgb contrastWindow;
        Theme theme;
        TaskbarTheme tray;
    } cases[] = {
        {ThemeSetting::System, 0, 1, false, kBlack, Theme::Dark, TaskbarTheme::Light},
        {ThemeSetting::System, 1, 0, false, kWhite, Theme::Light, TaskbarTheme::Dark},
        {ThemeSetting::System, kNone, kNone, false, kBlack, Theme::Light, TaskbarTheme::Light}, // as under Wine
        {ThemeSetting::System, 2, 7, false, kBlack, Theme::Light, TaskbarTheme::Light},         // only 0 is dark
        {ThemeSetting::Light, 0, 0, false, kWhite, Theme::Light, TaskbarTheme::Dark},
        {ThemeSetting::Dark, 1, 1, false, kBlack, Theme::Dark, TaskbarTheme::Light},
        {ThemeSetting::Dark, kNone, kNone, false, kBlack, Theme::Dark, TaskbarTheme::Light},
        {ThemeSetting::System, 0, 0, true, kWhite, Theme::HighContrast, TaskbarTheme::Light},
        {ThemeSetting::Light, 1, 1, true, kBlack, Theme::HighContrast, TaskbarTheme::Dark},
        {ThemeSetting::Dark, 1, 1, true, {32, 32, 32}, Theme::HighContrast, TaskbarTheme::Dark},
        {ThemeSetting::Dark, 0, 0, true, {128, 128, 128}, Theme::HighContrast, TaskbarTheme::Light}, // black reads
                                                                                                     // better
    };
    for (const auto& c : cases) {
        SystemAppearance system{c.apps, c.taskbar, c.highContrast, c.contrastWindow};
        EXPECT_EQ(ChooseTheme(c.setting, system), c.theme)
            << ThemeSettingWord(c.setting) << ", apps " << c.apps.value_or(99) << ", high contrast " << c.highContrast;
        EXPECT_EQ(TaskbarThemeOf(system), c.tray)
            << "taskbar " << c.taskbar.value_or(99) << ", high contrast " << c.highContrast;
    }
}

} // namespace
