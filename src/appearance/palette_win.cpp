#include "appearance/palette_win.h"

#include "framework/accessibility_win.h"

#include <map>

namespace {

struct Look {
    ThemeSetting setting = ThemeSetting::System;
    SystemAppearance system;
};

Look& LookChosen()
{
    static Look look;
    return look;
}

int SystemColourIndex(SystemColour part)
{
    switch (part) {
    case SystemColour::WindowText:
        return COLOR_WINDOWTEXT;
    case SystemColour::ButtonFace:
        return COLOR_BTNFACE;
    case SystemColour::ButtonText:
        return COLOR_BTNTEXT;
    case SystemColour::ButtonShadow:
        return COLOR_BTNSHADOW;
    case SystemColour::Highlight:
        return COLOR_HIGHLIGHT;
    case SystemColour::HighlightText:
        return COLOR_HIGHLIGHTTEXT;
    case SystemColour::GrayText:
        return COLOR_GRAYTEXT;
    case SystemColour::HotLight:
        return COLOR_HOTLIGHT;
    case SystemColour::InfoBackground:
        return COLOR_INFOBK;
    case SystemColour::InfoText:
        return COLOR_INFOTEXT;
    case SystemColour::Window:
        break;
    }
    return COLOR_WINDOW;
}

} // namespace

void ChooseLook(ThemeSetting setting, const SystemAppearance& system)
{
    LookChosen() = {setting, system};
}

Theme ThemeInForce()
{
    SystemAppearance system = LookChosen().system;
    system.highContrast = HighContrastOn();
    return ChooseTheme(LookChosen().setting, system);
}

const Palette& PaletteInForce()
{
    return PaletteFor(ThemeInForce());
}

COLORREF ToColorRef(const Colour& colour)
{
    if (colour.IsSystem())
        return GetSysColor(SystemColourIndex(colour.SystemPart()));
    const Rgb rgb = colour.OwnRgb();
    return RGB(rgb.red, rgb.green, rgb.blue);
}

HBRUSH PaletteBrush(const Colour& colour)
{
    if (colour.IsSystem())
        return GetSysColorBrush(SystemColourIndex(colour.SystemPart()));
    // A palette has a few dozen colours: their brushes are few enough to keep.
    static std::map<COLORREF, HBRUSH> brushes;
    const COLORREF value = ToColorRef(colour);
    HBRUSH& brush = brushes[value];
    if (!brush)
        brush = CreateSolidBrush(value);
    return brush;
}
