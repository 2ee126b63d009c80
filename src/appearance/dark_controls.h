#pragma once
// How the controls of a dialog are dressed in a look: which of the system's dark themes each
// takes, which the program draws itself because the system would draw them light whatever
// colours it is given, how those look in each state, and what Windows is asked for its own parts
// (title bars and popup menus), which only some of its versions can draw dark.

#include "appearance/palette.h"

#include <cstdint>
#include <optional>
#include <string_view>

// What a control of a dialog is, as its window class and style tell it.
enum class ControlKind {
    PushButton,
    CheckBox,
    RadioButton,
    GroupBox,
    Label,    // a static control: a text, a picture or a frame
    Field,    // an edit field of one line
    TextArea, // an edit field of several lines, with its scroll bars
    ComboBox,
    List,
    HotKey,
    DateTimePicker,
    UpDown,
    ScrollBar,
    ToolTip,
    Other, // a control of the program's own, which paints itself in the palette's colours
};

// The kind of a control from its window class, in any case, and its window style.
ControlKind KindOfControl(std::wstring_view windowClass, std::uint32_t style);

// Who draws a control in a look.
enum class ControlDrawing {
    System,               // the system, in the colours the dialog gives it
    Program,              // the program, all of it
    ProgramWhileDisabled, // the program while it is disabled, whose text the system would grey unreadably
    // The system, in its own light colours: a control that would take the dialog's dark background
    // but keep its own dark text, which would vanish on it.
    SystemInItsOwnColours,
};

// How a control is dressed in a look.
struct ControlDress {
    // The system's theme for the control in the dark look ("DarkMode_Explorer"); empty: the class's own.
    std::wstring_view themeName;
    ControlDrawing drawing = ControlDrawing::System;
    bool operator==(const ControlDress&) const = default;
};

// In the light look and under high contrast every control is as Windows draws it.
ControlDress DressOf(ControlKind kind, Theme theme);

// A button the program draws, at the moment it is drawn.
struct ButtonState {
    bool enabled = true;
    bool hot = false;       // under the mouse
    bool pressed = false;   // held down
    bool isDefault = false; // the push button Enter presses
    bool checked = false;   // a check box's or radio button's mark
};

// The colours of a button the program draws: its face, the frame around it, the mark in a check
// box or radio button, and its text on the dialog's face (a push button's on its own face).
struct ButtonColours {
    Colour face;
    Colour frame;
    Colour mark;
    Colour text;
};

ButtonColours PushButtonColours(const Palette& palette, const ButtonState& state);
// The box of a check box or the circle of a radio button.
ButtonColours CheckBoxColours(const Palette& palette, const ButtonState& state);

// The Windows builds that first could draw a part dark.
constexpr std::uint32_t kWindows10Build1809 = 17763;
constexpr std::uint32_t kWindows10Build1903 = 18362;
constexpr std::uint32_t kWindows10Build20H1 = 19041;

// The DWM attribute that darkens a title bar on this build (DWMWA_USE_IMMERSIVE_DARK_MODE, 20, or
// 19 on Windows 10 1809 to 1909); none before 1809.
std::optional<std::uint32_t> DarkTitleBarAttribute(std::uint32_t windowsBuild);

// The mode the program asks for its popup menus through uxtheme's undocumented ordinal 135:
// AllowDarkModeForApp(allow) on 1809, SetPreferredAppMode(mode) from 1903, where 2 forces dark menus
// and 0 gives Windows' default. None before 1809, where the ordinal is something else or missing.
std::optional<int> MenuModeFor(Theme theme, std::uint32_t windowsBuild);
