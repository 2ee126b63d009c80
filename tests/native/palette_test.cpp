#include "appearance/palette.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <utility>

namespace {

using Ink = Colour Palette::*;

// Windows 10's and 11's standard scheme, whose colours the light look takes in places.
Rgb Resolve(const Colour& colour)
{
    static const std::map<SystemColour, Rgb> scheme{
        {SystemColour::Window, {255, 255, 255}},        {SystemColour::WindowText, {0, 0, 0}},
        {SystemColour::ButtonFace, {240, 240, 240}},    {SystemColour::ButtonText, {0, 0, 0}},
        {SystemColour::ButtonShadow, {160, 160, 160}},  {SystemColour::Highlight, {0, 120, 215}},
        {SystemColour::HighlightText, {255, 255, 255}}, {SystemColour::GrayText, {109, 109, 109}},
        {SystemColour::HotLight, {0, 102, 204}},        {SystemColour::InfoBackground, {255, 255, 225}},
        {SystemColour::InfoText, {0, 0, 0}}};
    return colour.IsSystem() ? scheme.at(colour.SystemPart()) : colour.OwnRgb();
}

// WCAG AA: 4.5:1 for text, 3:1 for the parts of a picture one must tell apart; disabled text must
// also be told from enabled text at a glance.
constexpr double kText = 4.5;
constexpr double kPicture = 3.0;
constexpr double kApart = 2.0;
// What the light look keeps as it always was: the Settings dialog's grey notes (3.5:1 on Windows'
// face), and Windows' own highlight, white on its blue (4.499:1).
constexpr double kLightNotes = 3.4;
constexpr double kWindowsHighlight = 4.49;

// Each text and part of a picture on the background it is drawn on, in the light and the dark look;
// the dark look has only colours of its own (the scheme's are light), high contrast only the
// scheme's, each text on the background the scheme pairs it with.
TEST(Palette, EveryTextAndPictureReadsOnItsBackgroundInEveryLook)
{
    const struct {
        const char* what;
        Ink ink, ground;
        double lightLeast, darkLeast;
        bool isText;
    } pairs[] = {
        {"a label", &Palette::text, &Palette::face, kText, kText, true},
        {"a note", &Palette::note, &Palette::face, kLightNotes, kText, true},
        {"disabled text", &Palette::disabledText, &Palette::face, kText, kText, true},
        {"disabled beside enabled text", &Palette::disabledText, &Palette::text, kApart, kApart, false},
        {"a field's text", &Palette::fieldText, &Palette::field, kText, kText, true},
        {"a chosen item's text", &Palette::accentText, &Palette::accent, kWindowsHighlight, kText, true},
        {"the reminder on its band", &Palette::popupText, &Palette::popupTextBackground, kText, kText, true},
        {"the reminder on its face", &Palette::popupText, &Palette::popupFace, kText, kText, true},
        {"the eye-break popup", &Palette::eyeBreakText, &Palette::eyeBreakFace, kText, kText, true},
        {"the chart's labels", &Palette::chartText, &Palette::chartBackground, kText, kText, true},
        {"a bar", &Palette::chartBar, &Palette::chartBackground, kPicture, kPicture, false},
        {"a bar on a weekend", &Palette::chartBar, &Palette::chartWeekendColumn, kPicture, kPicture, false},
        {"a weekend's bar", &Palette::chartWeekendBar, &Palette::chartWeekendColumn, kPicture, kPicture, false},
        {"a day over the limit", &Palette::chartWarning, &Palette::chartBackground, kPicture, kPicture, false},
        {"a weekend over the limit", &Palette::chartWarning, &Palette::chartWeekendColumn, kPicture, kPicture, false},
        {"the baseline", &Palette::chartBaseline, &Palette::chartBackground, kPicture, kPicture, false},
        {"a chart's tip", &Palette::tipText, &Palette::tip, kText, kText, true},
        {"a control's frame", &Palette::frame, &Palette::face, kPicture, kPicture, false},
        {"a disabled button", &Palette::disabledText, &Palette::button, kText, kText, true},
    };
    const std::set<std::pair<SystemColour, SystemColour>> schemePairs{
        {SystemColour::WindowText, SystemColour::Window},
        {SystemColour::ButtonText, SystemColour::ButtonFace},
        {SystemColour::HighlightText, SystemColour::Highlight},
        {SystemColour::GrayText, SystemColour::ButtonFace},
        {SystemColour::InfoText, SystemColour::InfoBackground}};
    const Palette& light = PaletteFor(Theme::Light);
    const Palette& dark = PaletteFor(Theme::Dark);
    const Palette& contrast = PaletteFor(Theme::HighContrast);
    for (const auto& p : pairs) {
        EXPECT_GE(ContrastRatio(Resolve(light.*p.ink), Resolve(light.*p.ground)), p.lightLeast) << p.what;
        EXPECT_GE(ContrastRatio(Resolve(dark.*p.ink), Resolve(dark.*p.ground)), p.darkLeast) << p.what << ", dark";
        EXPECT_FALSE((dark.*p.ink).IsSystem() || (dark.*p.ground).IsSystem()) << p.what;
        ASSERT_TRUE((contrast.*p.ink).IsSystem() && (contrast.*p.ground).IsSystem()) << p.what;
        if (!p.isText)
            continue;
        EXPECT_TRUE(schemePairs.count({(contrast.*p.ink).SystemPart(), (contrast.*p.ground).SystemPart()}))
            << p.what << ", high contrast";
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
        {{118, 118, 118}, {255, 255, 255}, 4.54}, // the lightest grey that passes AA on white
        {{119, 119, 119}, {255, 255, 255}, 4.48},
        {{10, 10, 10}, {0, 0, 0}, 1.06}, // the channel's linear part
    };
    for (const auto& c : cases)
        EXPECT_NEAR(ContrastRatio(c.first, c.second), c.ratio, 0.005) << int(c.first.red) << "," << int(c.second.red);
}

} // namespace
