#include "appearance/palette.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <utility>

namespace {

using Ink = Colour Palette::*;

// Every colour of a palette; the assertion below fails when one is added without being listed here.
constexpr Ink kEveryInk[] = {&Palette::face,
                             &Palette::text,
                             &Palette::note,
                             &Palette::disabledText,
                             &Palette::field,
                             &Palette::fieldText,
                             &Palette::accent,
                             &Palette::accentText,
                             &Palette::popupFace,
                             &Palette::popupText,
                             &Palette::popupTextBackground,
                             &Palette::eyeBreakFace,
                             &Palette::eyeBreakText,
                             &Palette::chartBackground,
                             &Palette::chartWeekendColumn,
                             &Palette::chartGridLine,
                             &Palette::chartBar,
                             &Palette::chartWeekendBar,
                             &Palette::chartBaseline,
                             &Palette::chartWarning,
                             &Palette::chartText,
                             &Palette::coverDim};
static_assert(sizeof(Palette) == std::size(kEveryInk) * sizeof(Colour), "list every colour of the palette");

// The colours of Windows 10's and 11's standard scheme, where the light look takes the scheme's.
Rgb StandardScheme(SystemColour part)
{
    static const std::map<SystemColour, Rgb> scheme{
        {SystemColour::Window, {255, 255, 255}},        {SystemColour::WindowText, {0, 0, 0}},
        {SystemColour::ButtonFace, {240, 240, 240}},    {SystemColour::ButtonText, {0, 0, 0}},
        {SystemColour::ButtonShadow, {160, 160, 160}},  {SystemColour::Highlight, {0, 120, 215}},
        {SystemColour::HighlightText, {255, 255, 255}}, {SystemColour::GrayText, {109, 109, 109}},
        {SystemColour::HotLight, {0, 102, 204}},
    };
    return scheme.at(part);
}

Rgb Resolve(const Colour& colour)
{
    return colour.IsSystem() ? StandardScheme(colour.SystemPart()) : colour.OwnRgb();
}

// WCAG AA: 4.5:1 for text, 3:1 for the parts of a picture one must tell apart.
constexpr double kText = 4.5;
constexpr double kPicture = 3.0;
// Disabled text must also be told from enabled text at a glance.
constexpr double kApart = 2.0;
// The Settings dialog's grey notes have always been 3.5:1 on Windows' face; the light look keeps them.
constexpr double kLightNotes = 3.4;
// Windows' own highlight, white on its blue, is 4.499:1: the light look takes the scheme's as it is.
constexpr double kWindowsHighlight = 4.49;

struct Pair {
    const char* what;
    Ink ink;
    Ink ground;
    double lightLeast;
    double darkLeast;
    bool isText; // under high contrast, text goes only on the background the scheme pairs it with
};
const Pair kPairs[] = {
    {"a label on the face", &Palette::text, &Palette::face, kText, kText, true},
    {"a note on the face", &Palette::note, &Palette::face, kLightNotes, kText, true},
    {"disabled text on the face", &Palette::disabledText, &Palette::face, kText, kText, true},
    {"disabled text beside enabled text", &Palette::disabledText, &Palette::text, kApart, kApart, false},
    {"a field's text", &Palette::fieldText, &Palette::field, kText, kText, true},
    {"a chosen item's text", &Palette::accentText, &Palette::accent, kWindowsHighlight, kText, true},
    {"the reminder's text on its band", &Palette::popupText, &Palette::popupTextBackground, kText, kText, true},
    {"the reminder's text on its face", &Palette::popupText, &Palette::popupFace, kText, kText, true},
    {"the eye-break popup's text", &Palette::eyeBreakText, &Palette::eyeBreakFace, kText, kText, true},
    {"the chart's labels", &Palette::chartText, &Palette::chartBackground, kText, kText, true},
    {"a bar", &Palette::chartBar, &Palette::chartBackground, kPicture, kPicture, false},
    {"a bar in a weekend's column", &Palette::chartBar, &Palette::chartWeekendColumn, kPicture, kPicture, false},
    {"a weekend's bar", &Palette::chartWeekendBar, &Palette::chartWeekendColumn, kPicture, kPicture, false},
    {"a weekend's bar outside its column", &Palette::chartWeekendBar, &Palette::chartBackground, kPicture, kPicture,
     false},
    {"a day over the limit", &Palette::chartWarning, &Palette::chartBackground, kPicture, kPicture, false},
    {"a weekend day over the limit", &Palette::chartWarning, &Palette::chartWeekendColumn, kPicture, kPicture, false},
    {"the baseline", &Palette::chartBaseline, &Palette::chartBackground, kPicture, kPicture, false},
};

TEST(Palette, EveryTextAndPictureReadsOnItsBackgroundInTheLightAndTheDarkLook)
{
    for (const Pair& pair : kPairs) {
        for (const auto& [theme, least] :
             {std::pair(Theme::Light, pair.lightLeast), std::pair(Theme::Dark, pair.darkLeast)}) {
            const Palette& palette = PaletteFor(theme);
            EXPECT_GE(ContrastRatio(Resolve(palette.*pair.ink), Resolve(palette.*pair.ground)), least)
                << pair.what << (theme == Theme::Light ? " (light)" : " (dark)");
        }
    }
}

// Under high contrast every colour is the scheme's, each text on the background the scheme pairs
// it with, whatever the scheme; the dark look has only colours of its own, since the scheme's are light.
TEST(Palette, HighContrastTakesOnlyTheSchemesPairsAndTheDarkLookNoneOfTheSchemesColours)
{
    const Palette& contrast = PaletteFor(Theme::HighContrast);
    const Palette& dark = PaletteFor(Theme::Dark);
    for (std::size_t index = 0; index < std::size(kEveryInk); ++index) {
        EXPECT_TRUE((contrast.*kEveryInk[index]).IsSystem()) << "high contrast, colour " << index;
        EXPECT_FALSE((dark.*kEveryInk[index]).IsSystem()) << "dark, colour " << index;
    }
    const std::set<std::pair<SystemColour, SystemColour>> schemePairs{
        {SystemColour::WindowText, SystemColour::Window},       {SystemColour::ButtonText, SystemColour::ButtonFace},
        {SystemColour::HighlightText, SystemColour::Highlight}, {SystemColour::GrayText, SystemColour::ButtonFace},
        {SystemColour::GrayText, SystemColour::Window},
    };
    for (const Pair& pair : kPairs) {
        if (!pair.isText)
            continue;
        EXPECT_TRUE(schemePairs.count({(contrast.*pair.ink).SystemPart(), (contrast.*pair.ground).SystemPart()}))
            << pair.what;
    }
}

TEST(Palette, ContrastRatioIsWcagsInEitherOrder)
{
    const struct {
        Rgb first, second;
        double ratio;
    } cases[] = {
        {{0, 0, 0}, {255, 255, 255}, 21.0},
        {{255, 255, 255}, {0, 0, 0}, 21.0},
        {{51, 102, 153}, {51, 102, 153}, 1.0},
        {{118, 118, 118}, {255, 255, 255}, 4.54}, // the darkest grey that fails AA on white is one step lighter
        {{119, 119, 119}, {255, 255, 255}, 4.48},
        {{255, 0, 0}, {255, 255, 255}, 4.0},
        {{0, 0, 255}, {0, 0, 0}, 2.44},
        {{10, 10, 10}, {0, 0, 0}, 1.06}, // in the channel's linear part
    };
    for (const auto& c : cases)
        EXPECT_NEAR(ContrastRatio(c.first, c.second), c.ratio, 0.005)
            << int(c.first.red) << "," << int(c.first.green) << "," << int(c.first.blue);
}

} // namespace
