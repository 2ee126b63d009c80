#include "appearance/dark_controls.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using enum ControlKind;

// The window styles of the templates' controls, as Windows defines them.
constexpr std::uint32_t kPushButton = 0x00;
constexpr std::uint32_t kDefPushButton = 0x01;
constexpr std::uint32_t kAutoCheckBox = 0x03;
constexpr std::uint32_t kAuto3State = 0x06;
constexpr std::uint32_t kGroupBox = 0x07;
constexpr std::uint32_t kAutoRadioButton = 0x09;
constexpr std::uint32_t kMultiLineButton = 0x2000;
constexpr std::uint32_t kTabStop = 0x10000;
constexpr std::uint32_t kMultiLineEdit = 0x04;
constexpr std::uint32_t kReadOnlyEdit = 0x800;

std::string Narrow(std::wstring_view wide)
{
    return {wide.begin(), wide.end()};
}

TEST(DarkControls, AControlsKindComesFromItsClassInAnyCaseAndItsStyle)
{
    const struct {
        const wchar_t* windowClass;
        std::uint32_t style;
        ControlKind kind;
    } rows[] = {
        {L"Button", kPushButton | kTabStop, PushButton},
        {L"BUTTON", kDefPushButton, PushButton},
        {L"button", kAutoCheckBox | kMultiLineButton, CheckBox},
        {L"Button", kAuto3State, CheckBox},
        {L"Button", kAutoRadioButton, RadioButton},
        {L"Button", kGroupBox | kTabStop, GroupBox},
        {L"Static", 0x0E, Label}, // a picture
        {L"Edit", kReadOnlyEdit, Field},
        {L"EDIT", kMultiLineEdit | kReadOnlyEdit, TextArea},
        {L"ComboBox", 0x03, ComboBox},
        {L"ComboLBox", 0, List},
        {L"msctls_hotkey32", 0, HotKey},
        {L"SysDateTimePick32", 0x09, DateTimePicker},
        {L"msctls_updown32", 0, UpDown},
        {L"tooltips_class32", 0, ToolTip},
        {L"KelvaroHistoryChart", kAutoCheckBox, Other},
        {L"Buttons", kAutoCheckBox, Other},
        {L"", 0, Other},
    };
    for (const auto& row : rows)
        EXPECT_EQ(KindOfControl(row.windowClass, row.style), row.kind) << Narrow(row.windowClass) << " " << row.style;
}

// In the dark look the boxes, buttons and frames the system would draw light are the program's to
// draw, a field only while disabled; the others take the system's dark themes. In every other look
// nothing changes.
TEST(DarkControls, OnlyTheDarkLookDressesAControl)
{
    const struct {
        ControlKind kind;
        const wchar_t* theme;
        ControlDrawing drawing;
    } dark[] = {
        {PushButton, L"DarkMode_Explorer", ControlDrawing::Program},
        {CheckBox, L"DarkMode_Explorer", ControlDrawing::Program},
        {RadioButton, L"DarkMode_Explorer", ControlDrawing::Program},
        {GroupBox, L"DarkMode_Explorer", ControlDrawing::Program},
        {Field, L"DarkMode_CFD", ControlDrawing::ProgramWhileDisabled},
        {ComboBox, L"DarkMode_CFD", ControlDrawing::System},
        {TextArea, L"DarkMode_Explorer", ControlDrawing::System},
        {List, L"DarkMode_Explorer", ControlDrawing::System},
        {DateTimePicker, L"", ControlDrawing::SystemInItsOwnColours},
        {UpDown, L"DarkMode_Explorer", ControlDrawing::System},
        {ScrollBar, L"DarkMode_Explorer", ControlDrawing::System},
        {ToolTip, L"DarkMode_Explorer", ControlDrawing::System},
        {Label, L"", ControlDrawing::System},
        {HotKey, L"", ControlDrawing::System},
        {Other, L"", ControlDrawing::System},
    };
    for (const auto& row : dark) {
        EXPECT_EQ(DressOf(row.kind, Theme::Dark), (ControlDress{row.theme, row.drawing})) << static_cast<int>(row.kind);
        for (Theme other : {Theme::Light, Theme::HighContrast})
            EXPECT_EQ(DressOf(row.kind, other), ControlDress{}) << static_cast<int>(row.kind);
    }
}

Rgb Own(const Colour& colour)
{
    EXPECT_FALSE(colour.IsSystem());
    return colour.OwnRgb();
}

// Every state of a button the program draws reads in the dark look: its text on its face (a box's
// on the dialog's), its frame on the dialog's face, a box's mark on the box; and each state looks
// apart from the one the user must tell it from.
TEST(DarkControls, TheButtonsTheProgramDrawsReadInEveryState)
{
    constexpr double kText = 4.5;
    constexpr double kPicture = 3.0;
    const Palette& dark = PaletteFor(Theme::Dark);
    const Rgb dialogFace = Own(dark.face);
    const struct {
        const char* what;
        bool box;
        ButtonState state;
        ButtonState before; // the state it must look apart from
    } rows[] = {
        {"a push button under the mouse", false, {.hot = true}, {}},
        {"a push button held down", false, {.hot = true, .pressed = true}, {.hot = true}},
        {"the default push button", false, {.isDefault = true}, {}},
        {"a disabled push button", false, {.enabled = false}, {}},
        {"a check box under the mouse", true, {.hot = true}, {}},
        {"a checked box", true, {.checked = true}, {}},
        {"a disabled box", true, {.enabled = false}, {}},
        {"a disabled checked box", true, {.enabled = false, .checked = true}, {.enabled = false}},
    };
    for (const auto& row : rows) {
        const auto colours = [&](const ButtonState& state) {
            return row.box ? CheckBoxColours(dark, state) : PushButtonColours(dark, state);
        };
        const ButtonColours now = colours(row.state);
        const ButtonColours before = colours(row.before);
        EXPECT_GE(ContrastRatio(Own(now.text), row.box ? dialogFace : Own(now.face)), kText) << row.what;
        EXPECT_GE(ContrastRatio(Own(now.frame), dialogFace), kPicture) << row.what;
        if (row.box && row.state.checked) {
            EXPECT_GE(ContrastRatio(Own(now.mark), Own(now.face)), kPicture) << row.what;
        }
        // A mark that comes or goes is told apart by its shape.
        if (row.state.checked == row.before.checked) {
            EXPECT_FALSE(now.face == before.face && now.frame == before.frame && now.text == before.text) << row.what;
        }
    }
}

// Windows draws a title bar or a popup menu dark only from 1809 on, through attributes and
// ordinals that changed in later versions.
TEST(DarkControls, WindowsIsAskedForItsDarkPartsOnlyWhereItsBuildHasThem)
{
    constexpr auto kNone = std::nullopt;
    const struct {
        std::uint32_t build;
        std::optional<std::uint32_t> titleBar;
        std::optional<int> darkMenus, lightMenus;
    } rows[] = {
        {7601, kNone, kNone, kNone},  // Windows 7
        {17134, kNone, kNone, kNone}, // 1803
        {17763, 19, 1, 0},            // 1809: AllowDarkModeForApp
        {18362, 19, 2, 0},            // 1903: SetPreferredAppMode
        {19041, 20, 2, 0},            // 20H1
        {22631, 20, 2, 0},            // Windows 11
    };
    for (const auto& row : rows) {
        EXPECT_EQ(DarkTitleBarAttribute(row.build), row.titleBar) << row.build;
        EXPECT_EQ(MenuModeFor(Theme::Dark, row.build), row.darkMenus) << row.build;
        EXPECT_EQ(MenuModeFor(Theme::Light, row.build), row.lightMenus) << row.build;
        EXPECT_EQ(MenuModeFor(Theme::HighContrast, row.build), row.lightMenus) << row.build;
    }
}

} // namespace
