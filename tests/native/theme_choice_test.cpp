#include "appearance/theme_choice.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

constexpr auto kNone = std::nullopt;
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
// Windows 11's high-contrast schemes Aquatic and Desert.
constexpr Rgb kAquatic{32, 32, 32};
constexpr Rgb kDesert{255, 250, 239};

TEST(ThemeChoice, TheSettingsWordIsOneOfThreeAndAnyOtherIsSystem)
{
    const struct {
        const char* word;
        ThemeSetting setting;
    } cases[] = {
        {"system", ThemeSetting::System}, {"light", ThemeSetting::Light}, {"dark", ThemeSetting::Dark},
        {"", ThemeSetting::System},       {"Dark", ThemeSetting::System}, {"dark ", ThemeSetting::System},
        {"black", ThemeSetting::System},  {"0", ThemeSetting::System},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadThemeSetting(c.word), c.setting) << c.word;
    for (ThemeSetting setting : {ThemeSetting::System, ThemeSetting::Light, ThemeSetting::Dark})
        EXPECT_EQ(ReadThemeSetting(ThemeSettingWord(setting)), setting) << ThemeSettingWord(setting);
}

TEST(ThemeChoice, HighContrastWinsThenTheChoiceThenTheAppsMode)
{
    const struct {
        ThemeSetting setting;
        std::optional<std::uint32_t> apps;
        bool highContrast;
        Theme theme;
    } cases[] = {
        {ThemeSetting::System, 0, false, Theme::Dark},        {ThemeSetting::System, 1, false, Theme::Light},
        {ThemeSetting::System, kNone, false, Theme::Light}, // before Windows 10 1809, and under Wine
        {ThemeSetting::System, 2, false, Theme::Light},       {ThemeSetting::Light, 0, false, Theme::Light},
        {ThemeSetting::Dark, 1, false, Theme::Dark},          {ThemeSetting::Dark, kNone, false, Theme::Dark},
        {ThemeSetting::System, 0, true, Theme::HighContrast}, {ThemeSetting::Light, 1, true, Theme::HighContrast},
        {ThemeSetting::Dark, 0, true, Theme::HighContrast},
    };
    for (const auto& c : cases) {
        SystemAppearance system;
        system.appsUseLightTheme = c.apps;
        // The taskbar's mode is not the apps'.
        system.systemUsesLightTheme = c.apps == 0u ? 1u : 0u;
        system.highContrast = c.highContrast;
        EXPECT_EQ(ChooseTheme(c.setting, system), c.theme)
            << ThemeSettingWord(c.setting) << ", apps " << c.apps.value_or(99) << ", high contrast " << c.highContrast;
    }
}

TEST(ThemeChoice, TheTrayFollowsTheTaskbarsModeNotTheAppsOrUnderHighContrastItsWindowColour)
{
    const struct {
        const char* what;
        std::optional<std::uint32_t> taskbar, apps;
        bool highContrast;
        Rgb contrastWindow;
        TaskbarTheme theme;
    } cases[] = {
        {"a dark taskbar with light apps", 0, 1, false, kWhite, TaskbarTheme::Dark},
        {"a light taskbar with dark apps", 1, 0, false, kBlack, TaskbarTheme::Light},
        {"no mode told", kNone, 0, false, kBlack, TaskbarTheme::Light},
        {"an unknown mode", 7, 0, false, kBlack, TaskbarTheme::Light},
        {"high contrast black on a light taskbar", 1, 1, true, kBlack, TaskbarTheme::Dark},
        {"high contrast white on a dark taskbar", 0, 0, true, kWhite, TaskbarTheme::Light},
        {"Aquatic", 1, 1, true, kAquatic, TaskbarTheme::Dark},
        {"Desert", 0, 0, true, kDesert, TaskbarTheme::Light},
        {"a middle grey reads better with black", 0, 0, true, {128, 128, 128}, TaskbarTheme::Light},
    };
    for (const auto& c : cases) {
        SystemAppearance system;
        system.systemUsesLightTheme = c.taskbar;
        system.appsUseLightTheme = c.apps;
        system.highContrast = c.highContrast;
        system.highContrastWindow = c.contrastWindow;
        EXPECT_EQ(TaskbarThemeOf(system), c.theme) << c.what;
    }
}

} // namespace
