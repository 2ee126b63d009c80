#pragma once
// Which look the program takes, from the user's choice and what Windows says, and which pictures
// the tray icon takes for the taskbar it sits on.

#include "appearance/palette.h"

#include <cstdint>
#include <optional>
#include <string_view>

// The user's choice of look: as Windows' apps, or always light, or always dark.
enum class ThemeSetting { System, Light, Dark };

// The choice from its word in settings.txt: "system", "light" or "dark"; any other word, and a
// missing one, is "system".
ThemeSetting ReadThemeSetting(std::string_view word);
// The word settings.txt keeps for a choice.
std::string_view ThemeSettingWord(ThemeSetting setting);

// What Windows says about its look. A registry value that is missing, or not a number, is nothing.
struct SystemAppearance {
    // AppsUseLightTheme: the apps' mode, 0 dark, anything else light.
    std::optional<std::uint32_t> appsUseLightTheme;
    // SystemUsesLightTheme: the taskbar's and the notification area's mode, which can differ from the apps'.
    std::optional<std::uint32_t> systemUsesLightTheme;
    bool highContrast = false;
    // The high-contrast scheme's window colour, which the taskbar takes under it.
    Rgb highContrastWindow;
};

// The look in force: high contrast whatever the choice, else the choice, and for "system" the
// apps' mode, light unless Windows says dark.
Theme ChooseTheme(ThemeSetting setting, const SystemAppearance& system);

// The taskbar's look, for which the tray icon has a set of pictures each.
enum class TaskbarTheme { Light, Dark };

// The taskbar's look: under high contrast the look of the scheme's window colour, else its own
// mode, light unless Windows says dark.
TaskbarTheme TaskbarThemeOf(const SystemAppearance& system);
