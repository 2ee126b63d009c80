#include "appearance/palette_win.h"

#include "appearance/theme_choice.h"
#include "framework/accessibility_win.h"

#include <map>

namespace {

// Every window is painted in the light look, or in the scheme's colours under high contrast,
// until each of them can be painted dark too.
constexpr ThemeSetting kThemeChosen = ThemeSetting::Light;

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
    case SystemColour::Window:
        break;
    }
    return COLOR_WINDOW;
}

} // namespace

const Palette& PaletteInForce()
{
    SystemAppearance system;
    system.highContrast = HighContrastOn();
    return PaletteFor(ChooseTheme(kThemeChosen, system));
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
