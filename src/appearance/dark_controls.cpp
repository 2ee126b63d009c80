#include "appearance/dark_controls.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

// The button styles' type (BS_TYPEMASK) and its values, as Windows defines them.
constexpr std::uint32_t kButtonTypeMask = 0x0F;
constexpr std::uint32_t kCheckBox = 0x02;
constexpr std::uint32_t kAutoCheckBox = 0x03;
constexpr std::uint32_t kRadioButton = 0x04;
constexpr std::uint32_t kThreeState = 0x05;
constexpr std::uint32_t kAutoThreeState = 0x06;
constexpr std::uint32_t kGroupBox = 0x07;
constexpr std::uint32_t kAutoRadioButton = 0x09;
// An edit field of several lines (ES_MULTILINE).
constexpr std::uint32_t kMultiLine = 0x04;

// Explorer's dark look gives scroll bars, buttons, lists and tips; the file dialog's gives edit
// fields and combo boxes, their drop-down lists included.
constexpr std::wstring_view kExplorerDark = L"DarkMode_Explorer";
constexpr std::wstring_view kFileDialogDark = L"DarkMode_CFD";

bool SameName(std::wstring_view first, std::wstring_view second)
{
    const auto lower = [](wchar_t c) {
        return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
    };
    return first.size() == second.size() && std::equal(first.begin(), first.end(), second.begin(),
                                                       [&](wchar_t a, wchar_t b) { return lower(a) == lower(b); });
}

ControlKind KindOfButton(std::uint32_t style)
{
    switch (style & kButtonTypeMask) {
    case kCheckBox:
    case kAutoCheckBox:
    case kThreeState:
    case kAutoThreeState:
        return ControlKind::CheckBox;
    case kRadioButton:
    case kAutoRadioButton:
        return ControlKind::RadioButton;
    case kGroupBox:
        return ControlKind::GroupBox;
    default:
        return ControlKind::PushButton;
    }
}

} // namespace

ControlKind KindOfControl(std::wstring_view windowClass, std::uint32_t style)
{
    static constexpr std::array<std::pair<std::wstring_view, ControlKind>, 9> kClasses{{
        {L"Static", ControlKind::Label},
        {L"ComboBox", ControlKind::ComboBox},
        {L"ListBox", ControlKind::List},
        {L"msctls_hotkey32", ControlKind::HotKey},
        {L"SysDateTimePick32", ControlKind::DateTimePicker},
        {L"msctls_updown32", ControlKind::UpDown},
        {L"ScrollBar", ControlKind::ScrollBar},
        {L"tooltips_class32", ControlKind::ToolTip},
        {L"ComboLBox", ControlKind::List},
    }};
    if (SameName(windowClass, L"Button"))
        return KindOfButton(style);
    if (SameName(windowClass, L"Edit"))
        return (style & kMultiLine) != 0 ? ControlKind::TextArea : ControlKind::Field;
    for (const auto& [name, kind] : kClasses) {
        if (SameName(windowClass, name))
            return kind;
    }
    return ControlKind::Other;
}

ControlDress DressOf(ControlKind kind, Theme theme)
{
    if (theme != Theme::Dark)
        return {};
    switch (kind) {
    case ControlKind::PushButton:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
    case ControlKind::GroupBox:
        return {kExplorerDark, ControlDrawing::Program};
    case ControlKind::Field:
        return {kFileDialogDark, ControlDrawing::ProgramWhileDisabled};
    case ControlKind::ComboBox:
        return {kFileDialogDark, ControlDrawing::System};
    case ControlKind::TextArea:
    case ControlKind::List:
    case ControlKind::UpDown:
    case ControlKind::ScrollBar:
    case ControlKind::ToolTip:
        return {kExplorerDark, ControlDrawing::System};
    case ControlKind::DateTimePicker:
        return {{}, ControlDrawing::SystemInItsOwnColours};
    case ControlKind::Label:
    case ControlKind::HotKey:
    case ControlKind::Other:
        break;
    }
    return {};
}

ButtonColours PushButtonColours(const Palette& palette, const ButtonState& state)
{
    if (!state.enabled)
        return {palette.button, palette.frame, palette.disabledText, palette.disabledText};
    const Colour& face = state.pressed ? palette.buttonPressed : state.hot ? palette.buttonHot : palette.button;
    // The button Enter presses stands out by its frame, as in Windows' own dark dialogs.
    return {face, state.isDefault ? palette.accent : palette.frame, palette.text, palette.text};
}

ButtonColours CheckBoxColours(const Palette& palette, const ButtonState& state)
{
    if (!state.enabled)
        return {palette.field, palette.disabledText, palette.disabledText, palette.disabledText};
    if (state.checked)
        return {palette.accent, palette.accent, palette.accentText, palette.text};
    return {palette.field, state.hot ? palette.accent : palette.frame, palette.accentText, palette.text};
}

std::optional<std::uint32_t> DarkTitleBarAttribute(std::uint32_t windowsBuild)
{
    constexpr std::uint32_t kAttribute = 20;
    constexpr std::uint32_t kAttributeBefore20H1 = 19;
    if (windowsBuild >= kWindows10Build20H1)
        return kAttribute;
    if (windowsBuild >= kWindows10Build1809)
        return kAttributeBefore20H1;
    return std::nullopt;
}

std::optional<int> MenuModeFor(Theme theme, std::uint32_t windowsBuild)
{
    constexpr int kDefaultMode = 0;
    constexpr int kAllowDark = 1;
    constexpr int kForceDark = 2;
    if (windowsBuild < kWindows10Build1809)
        return std::nullopt;
    if (theme != Theme::Dark)
        return kDefaultMode;
    return windowsBuild >= kWindows10Build1903 ? kForceDark : kAllowDark;
}
