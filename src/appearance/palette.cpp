#include "appearance/palette.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr Colour Own(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    return Colour::Own(red, green, blue);
}
constexpr Colour System(SystemColour part)
{
    return Colour::System(part);
}

// What the program has always drawn: the scheme's colours for the dialogs, fields and chart, and
// colours of its own for the labels, the popups' text, the eye-break popup and the chart's warning.
constexpr Palette kLight{
    .face = System(SystemColour::ButtonFace),
    .text = Own(0, 0, 0),
    .note = Own(128, 128, 128),
    .disabledText = System(SystemColour::GrayText),
    .field = System(SystemColour::Window),
    .fieldText = System(SystemColour::WindowText),
    .accent = System(SystemColour::Highlight),
    .accentText = System(SystemColour::HighlightText),
    .popupFace = System(SystemColour::Window),
    .popupText = Own(0, 0, 0),
    .popupTextBackground = Own(255, 255, 255),
    .eyeBreakFace = Own(232, 245, 233),
    .eyeBreakText = Own(27, 67, 40),
    .chartBackground = System(SystemColour::Window),
    .chartWeekendColumn = System(SystemColour::ButtonFace),
    .chartGridLine = System(SystemColour::ButtonShadow),
    .chartBar = System(SystemColour::Highlight),
    .chartWeekendBar = System(SystemColour::GrayText),
    .chartBaseline = System(SystemColour::WindowText),
    .chartWarning = Own(204, 32, 32),
    .chartText = System(SystemColour::WindowText),
    .coverDim = Own(16, 20, 28),
    // Never drawn by the program: in the light look the system draws its controls.
    .button = System(SystemColour::ButtonFace),
    .buttonHot = System(SystemColour::ButtonFace),
    .buttonPressed = System(SystemColour::ButtonShadow),
    .frame = Own(122, 122, 122),
    .tip = System(SystemColour::InfoBackground),
    .tipText = System(SystemColour::InfoText),
};

// Dark greys a step apart for the face, the fields and the popups, light text, a light blue
// accent that dark text reads on, and the light look's greens and red made light.
constexpr Palette kDark{
    .face = Own(32, 32, 32),
    .text = Own(240, 240, 240),
    .note = Own(170, 170, 170),
    .disabledText = Own(160, 160, 160),
    .field = Own(25, 25, 25),
    .fieldText = Own(240, 240, 240),
    .accent = Own(76, 194, 255),
    .accentText = Own(0, 0, 0),
    .popupFace = Own(43, 43, 43),
    .popupText = Own(240, 240, 240),
    .popupTextBackground = Own(43, 43, 43),
    .eyeBreakFace = Own(28, 48, 34),
    .eyeBreakText = Own(200, 235, 208),
    .chartBackground = Own(25, 25, 25),
    .chartWeekendColumn = Own(45, 45, 45),
    .chartGridLine = Own(80, 80, 80),
    .chartBar = Own(76, 194, 255),
    .chartWeekendBar = Own(150, 150, 150),
    .chartBaseline = Own(240, 240, 240),
    .chartWarning = Own(255, 107, 107),
    .chartText = Own(240, 240, 240),
    .coverDim = Own(16, 20, 28),
    .button = Own(51, 51, 51),
    .buttonHot = Own(69, 69, 69),
    .buttonPressed = Own(40, 40, 40),
    .frame = Own(128, 128, 128),
    .tip = Own(43, 43, 43),
    .tipText = Own(240, 240, 240),
};

// Only the scheme's colours, each text on the background the scheme pairs it with. The chart's
// warning takes the colour of links, which every scheme keeps apart from the bars' highlight.
constexpr Palette kHighContrast{
    .face = System(SystemColour::ButtonFace),
    .text = System(SystemColour::ButtonText),
    .note = System(SystemColour::ButtonText),
    .disabledText = System(SystemColour::GrayText),
    .field = System(SystemColour::Window),
    .fieldText = System(SystemColour::WindowText),
    .accent = System(SystemColour::Highlight),
    .accentText = System(SystemColour::HighlightText),
    .popupFace = System(SystemColour::Window),
    .popupText = System(SystemColour::WindowText),
    .popupTextBackground = System(SystemColour::Window),
    .eyeBreakFace = System(SystemColour::Window),
    .eyeBreakText = System(SystemColour::WindowText),
    .chartBackground = System(SystemColour::Window),
    .chartWeekendColumn = System(SystemColour::ButtonFace),
    .chartGridLine = System(SystemColour::ButtonShadow),
    .chartBar = System(SystemColour::Highlight),
    .chartWeekendBar = System(SystemColour::GrayText),
    .chartBaseline = System(SystemColour::WindowText),
    .chartWarning = System(SystemColour::HotLight),
    .chartText = System(SystemColour::WindowText),
    .coverDim = System(SystemColour::Window),
    .button = System(SystemColour::ButtonFace),
    .buttonHot = System(SystemColour::ButtonFace),
    .buttonPressed = System(SystemColour::ButtonFace),
    .frame = System(SystemColour::ButtonText),
    .tip = System(SystemColour::InfoBackground),
    .tipText = System(SystemColour::InfoText),
};

double LinearChannel(std::uint8_t channel)
{
    constexpr double kMax = 255.0;
    constexpr double kLinearBelow = 0.04045;
    constexpr double kLinearSlope = 12.92;
    constexpr double kOffset = 0.055;
    constexpr double kScale = 1.055;
    constexpr double kGamma = 2.4;
    const double value = channel / kMax;
    return value <= kLinearBelow ? value / kLinearSlope : std::pow((value + kOffset) / kScale, kGamma);
}

} // namespace

const Palette& PaletteFor(Theme theme)
{
    switch (theme) {
    case Theme::Dark:
        return kDark;
    case Theme::HighContrast:
        return kHighContrast;
    case Theme::Light:
        break;
    }
    return kLight;
}

double RelativeLuminance(Rgb colour)
{
    constexpr double kRed = 0.2126;
    constexpr double kGreen = 0.7152;
    constexpr double kBlue = 0.0722;
    return kRed * LinearChannel(colour.red) + kGreen * LinearChannel(colour.green) + kBlue * LinearChannel(colour.blue);
}

double ContrastRatio(Rgb first, Rgb second)
{
    // The flare WCAG adds to both, so that black on black is 1 and not undefined.
    constexpr double kFlare = 0.05;
    const double a = RelativeLuminance(first) + kFlare;
    const double b = RelativeLuminance(second) + kFlare;
    return std::max(a, b) / std::min(a, b);
}
