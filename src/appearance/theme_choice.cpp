#include "appearance/theme_choice.h"

namespace {

constexpr std::string_view kSystemWord = "system";
constexpr std::string_view kLightWord = "light";
constexpr std::string_view kDarkWord = "dark";

// Windows' registry values: 0 is dark; 1, and any other value, light, as Windows itself reads them.
constexpr std::uint32_t kDarkMode = 0;

bool SaysDark(const std::optional<std::uint32_t>& mode)
{
    return mode == kDarkMode;
}

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};

} // namespace

ThemeSetting ReadThemeSetting(std::string_view word)
{
    if (word == kLightWord)
        return ThemeSetting::Light;
    if (word == kDarkWord)
        return ThemeSetting::Dark;
    return ThemeSetting::System;
}

std::string_view ThemeSettingWord(ThemeSetting setting)
{
    switch (setting) {
    case ThemeSetting::Light:
        return kLightWord;
    case ThemeSetting::Dark:
        return kDarkWord;
    case ThemeSetting::System:
        break;
    }
    return kSystemWord;
}

Theme ChooseTheme(ThemeSetting setting, const SystemAppearance& system)
{
    if (system.highContrast)
        return Theme::HighContrast;
    switch (setting) {
    case ThemeSetting::Light:
        return Theme::Light;
    case ThemeSetting::Dark:
        return Theme::Dark;
    case ThemeSetting::System:
        break;
    }
    return SaysDark(system.appsUseLightTheme) ? Theme::Dark : Theme::Light;
}

TaskbarTheme TaskbarThemeOf(const SystemAppearance& system)
{
    // A scheme's window colour is light when black reads better on it than white.
    if (system.highContrast)
        return ContrastRatio(system.highContrastWindow, kBlack) > ContrastRatio(system.highContrastWindow, kWhite)
                   ? TaskbarTheme::Light
                   : TaskbarTheme::Dark;
    return SaysDark(system.systemUsesLightTheme) ? TaskbarTheme::Dark : TaskbarTheme::Light;
}
