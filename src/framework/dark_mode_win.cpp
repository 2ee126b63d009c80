#include "framework/dark_mode_win.h"

#include "appearance/dark_controls.h"
#include "appearance/palette_win.h"
#include "framework/dpi_win.h"
#include "platform/system_function_win.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

namespace {

// Marks a window the program dressed dark, so that only those are given back to the system's look.
constexpr wchar_t kDressedDark[] = L"KelvaroDressedDark";
constexpr UINT_PTR kDrawnByProgram = 1;
// The longest class name Windows keeps.
constexpr int kClassNameLength = 256;
// Sizes at 96 DPI: a check box's box, the room between it and its text, a group box's text's indent.
constexpr int kBoxSize = 13;
constexpr int kBoxGap = 4;
constexpr int kGroupTextIndent = 8;
constexpr int kFocusInset = 3;
// The room left and right of a group box's title, and the frame of the button Enter presses.
constexpr int kGroupTitleMargin = 2;
constexpr int kDefaultButtonFrame = 2;
// The width of a check box's tick.
constexpr int kTickWidth = 2;
constexpr int kBaseDpi = 96;

using SetWindowThemeFunction = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
using SetWindowAttributeFunction = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
using GetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
using SetAppModeFunction = int(WINAPI*)(int);
using FlushMenuThemesFunction = void(WINAPI*)();

constexpr WORD kOrdinalSetPreferredAppMode = 135;
constexpr WORD kOrdinalFlushMenuThemes = 136;

// The build of Windows, which the compatibility layer can't disguise in RtlGetVersion; 0 unknown.
std::uint32_t WindowsBuild()
{
    static const std::uint32_t build = [] {
        const auto getVersion = SystemFunction<GetVersionFunction>(L"ntdll.dll", "RtlGetVersion");
        OSVERSIONINFOW version{};
        version.dwOSVersionInfoSize = sizeof version;
        return getVersion && getVersion(&version) == 0 ? static_cast<std::uint32_t>(version.dwBuildNumber) : 0u;
    }();
    return build;
}

bool IsDark()
{
    return ThemeInForce() == Theme::Dark;
}

int Scaled(HWND window, int size)
{
    return MulDiv(size, DpiForWindow(window), kBaseDpi);
}

ControlKind KindOf(HWND control)
{
    wchar_t name[kClassNameLength] = {};
    GetClassNameW(control, name, kClassNameLength);
    return KindOfControl(name, static_cast<std::uint32_t>(GetWindowLongW(control, GWL_STYLE)));
}

std::wstring TextOf(HWND window)
{
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

void Fill(HDC dc, const RECT& rect, const Colour& colour)
{
    FillRect(dc, &rect, PaletteBrush(colour));
}

void Frame(HDC dc, const RECT& rect, const Colour& colour)
{
    FrameRect(dc, &rect, PaletteBrush(colour));
}

// The text of a control in its own font and the colour given, in the rectangle with the format
// given; the access keys' underlines hidden while Windows hides them.
void DrawControlText(HWND control, HDC dc, RECT& rect, const Colour& colour, UINT format)
{
    if (SendMessageW(control, WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL)
        format |= DT_HIDEPREFIX;
    SetTextColor(dc, ToColorRef(colour));
    SetBkMode(dc, TRANSPARENT);
    const std::wstring text = TextOf(control);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
}

void DrawFocus(HWND control, HDC dc, RECT rect)
{
    if ((SendMessageW(control, BM_GETSTATE, 0, 0) & BST_FOCUS) == 0 ||
        (SendMessageW(control, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) != 0)
        return;
    SetTextColor(dc, ToColorRef(PaletteInForce().text));
    SetBkColor(dc, ToColorRef(PaletteInForce().face));
    DrawFocusRect(dc, &rect);
}

ButtonState StateOf(HWND button)
{
    const LRESULT state = SendMessageW(button, BM_GETSTATE, 0, 0);
    const LONG style = GetWindowLongW(button, GWL_STYLE);
    return {.enabled = IsWindowEnabled(button) != FALSE,
            .hot = (state & BST_HOT) != 0,
            .pressed = (state & BST_PUSHED) != 0,
            .isDefault = (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON,
            .checked = (state & (BST_CHECKED | BST_INDETERMINATE)) != 0};
}

void PaintPushButton(HWND button, HDC dc, RECT client)
{
    const ButtonColours colours = PushButtonColours(PaletteInForce(), StateOf(button));
    Fill(dc, client, colours.frame);
    RECT face = client;
    const int frame = StateOf(button).isDefault ? Scaled(button, kDefaultButtonFrame) : 1;
    InflateRect(&face, -frame, -frame);
    Fill(dc, face, colours.face);
    const bool multiline = (GetWindowLongW(button, GWL_STYLE) & BS_MULTILINE) != 0;
    RECT text = face;
    if (multiline) {
        RECT measured = face;
        DrawControlText(button, dc, measured, colours.text, DT_CENTER | DT_WORDBREAK | DT_CALCRECT);
        OffsetRect(&text, 0, std::max<LONG>(0, (face.bottom - face.top - (measured.bottom - measured.top)) / 2));
    }
    DrawControlText(button, dc, text, colours.text,
                    DT_CENTER | (multiline ? DT_WORDBREAK : DT_SINGLELINE | DT_VCENTER));
    RECT focus = client;
    InflateRect(&focus, -Scaled(button, kFocusInset), -Scaled(button, kFocusInset));
    DrawFocus(button, dc, focus);
}

// A check box or radio button: the box or circle, its mark, and the text beside it.
void PaintBox(HWND button, HDC dc, RECT client, bool radio)
{
    const Palette& palette = PaletteInForce();
    const ButtonState state = StateOf(button);
    const ButtonColours colours = CheckBoxColours(palette, state);
    Fill(dc, client, palette.face);
    const LONG style = GetWindowLongW(button, GWL_STYLE);
    const bool multiline = (style & BS_MULTILINE) != 0;
    const int box = Scaled(button, kBoxSize);
    RECT text{client.left + box + Scaled(button, kBoxGap), client.top, client.right, client.bottom};
    RECT measured = text;
    DrawControlText(button, dc, measured, colours.text,
                    DT_LEFT | DT_CALCRECT | (multiline ? DT_WORDBREAK : DT_SINGLELINE));
    const LONG textHeight = measured.bottom - measured.top;
    // At the top with BS_TOP, else in the middle, as Windows places them.
    const LONG textTop = (style & BS_VCENTER) == BS_TOP
                             ? client.top
                             : client.top + std::max<LONG>(0, (client.bottom - client.top - textHeight) / 2);
    text.top = textTop;
    text.bottom = std::min(client.bottom, textTop + textHeight);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const LONG boxTop = textTop + std::max<LONG>(0, (std::min<LONG>(textHeight, metrics.tmHeight) - box) / 2);
    const RECT boxRect{client.left, boxTop, client.left + box, boxTop + box};
    if (radio) {
        HGDIOBJ oldBrush = SelectObject(dc, PaletteBrush(colours.face));
        HPEN pen = CreatePen(PS_SOLID, 1, ToColorRef(colours.frame));
        HGDIOBJ oldPen = SelectObject(dc, pen);
        Ellipse(dc, boxRect.left, boxRect.top, boxRect.right, boxRect.bottom);
        if (state.checked) {
            const int inset = box / 4 + 1;
            SelectObject(dc, PaletteBrush(colours.mark));
            SelectObject(dc, GetStockObject(NULL_PEN));
            Ellipse(dc, boxRect.left + inset, boxRect.top + inset, boxRect.right - inset + 1,
                    boxRect.bottom - inset + 1);
        }
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
        DeleteObject(pen);
    } else {
        Fill(dc, boxRect, colours.face);
        Frame(dc, boxRect, colours.frame);
        if (state.checked) {
            HPEN pen = CreatePen(PS_SOLID, std::max(1, Scaled(button, kTickWidth)), ToColorRef(colours.mark));
            HGDIOBJ oldPen = SelectObject(dc, pen);
            const POINT tick[] = {{boxRect.left + box / 5, boxRect.top + box / 2},
                                  {boxRect.left + box * 2 / 5, boxRect.top + box * 7 / 10},
                                  {boxRect.right - box / 5, boxRect.top + box / 4}};
            Polyline(dc, tick, 3);
            SelectObject(dc, oldPen);
            DeleteObject(pen);
        }
    }
    DrawControlText(button, dc, text, colours.text, DT_LEFT | (multiline ? DT_WORDBREAK : DT_SINGLELINE));
    RECT focus = text;
    InflateRect(&focus, 1, 0);
    DrawFocus(button, dc, focus);
}

// Only the frame and the title: a group box lies over the controls it holds.
void PaintGroupBox(HWND group, HDC dc, RECT client)
{
    const Palette& palette = PaletteInForce();
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const RECT frame{client.left, client.top + metrics.tmHeight / 2, client.right, client.bottom};
    Frame(dc, frame, palette.frame);
    RECT title{client.left + Scaled(group, kGroupTextIndent), client.top,
               client.right - Scaled(group, kGroupTextIndent), client.top + metrics.tmHeight};
    RECT measured = title;
    DrawControlText(group, dc, measured, palette.text, DT_LEFT | DT_SINGLELINE | DT_CALCRECT);
    if (measured.right > measured.left) {
        RECT behind{measured.left - Scaled(group, kGroupTitleMargin), title.top,
                    std::min(title.right, measured.right + Scaled(group, kGroupTitleMargin)), title.bottom};
        Fill(dc, behind, palette.face);
    }
    DrawControlText(group, dc, title, IsWindowEnabled(group) ? palette.text : palette.disabledText,
                    DT_LEFT | DT_SINGLELINE | DT_END_ELLIPSIS);
}

// A disabled edit field, whose text the system would grey on a dark field unreadably.
void PaintDisabledField(HWND field, HDC dc, RECT client)
{
    const Palette& palette = PaletteInForce();
    Fill(dc, client, palette.face);
    RECT text{};
    SendMessageW(field, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
    const LONG style = GetWindowLongW(field, GWL_STYLE);
    const UINT align = (style & ES_RIGHT) ? DT_RIGHT : (style & ES_CENTER) ? DT_CENTER : DT_LEFT;
    DrawControlText(field, dc, text, palette.disabledText, align | DT_SINGLELINE | DT_NOPREFIX | DT_EDITCONTROL);
}

bool DrawsNow(HWND control, ControlKind kind)
{
    if (!IsDark())
        return false;
    const ControlDrawing drawing = DressOf(kind, Theme::Dark).drawing;
    return drawing == ControlDrawing::Program ||
           (drawing == ControlDrawing::ProgramWhileDisabled && !IsWindowEnabled(control));
}

void Paint(HWND control, ControlKind kind, HDC dc)
{
    RECT client{};
    GetClientRect(control, &client);
    HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    switch (kind) {
    case ControlKind::PushButton:
        PaintPushButton(control, dc, client);
        break;
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
        PaintBox(control, dc, client, kind == ControlKind::RadioButton);
        break;
    case ControlKind::GroupBox:
        PaintGroupBox(control, dc, client);
        break;
    default:
        PaintDisabledField(control, dc, client);
        break;
    }
    SelectObject(dc, oldFont);
}

// Messages after which the system may have drawn the control itself, outside WM_PAINT.
bool MayDrawDirectly(UINT message)
{
    switch (message) {
    case BM_SETCHECK:
    case BM_SETSTATE:
    case BM_SETSTYLE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CAPTURECHANGED:
    case WM_UPDATEUISTATE:
    case WM_MOUSELEAVE:
        return true;
    default:
        return false;
    }
}

LRESULT CALLBACK DrawnControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data)
{
    const auto kind = static_cast<ControlKind>(data);
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(control, DrawnControlProc, kDrawnByProgram);
        return DefSubclassProc(control, message, wParam, lParam);
    }
    if (!DrawsNow(control, kind))
        return DefSubclassProc(control, message, wParam, lParam);
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        Paint(control, kind, BeginPaint(control, &paint));
        EndPaint(control, &paint);
        return 0;
    }
    case WM_PRINTCLIENT:
        Paint(control, kind, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEMOVE: {
        const LRESULT before = SendMessageW(control, BM_GETSTATE, 0, 0);
        const LRESULT result = DefSubclassProc(control, message, wParam, lParam);
        if (SendMessageW(control, BM_GETSTATE, 0, 0) != before)
            InvalidateRect(control, nullptr, FALSE);
        return result;
    }
    default:
        break;
    }
    const LRESULT result = DefSubclassProc(control, message, wParam, lParam);
    if (MayDrawDirectly(message))
        InvalidateRect(control, nullptr, FALSE);
    return result;
}

void SetTheme(HWND window, const wchar_t* name)
{
    static const auto setWindowTheme = SystemFunction<SetWindowThemeFunction>(L"uxtheme.dll", "SetWindowTheme");
    if (setWindowTheme)
        setWindowTheme(window, name, nullptr);
}

void DressTitleBar(HWND window, bool dark)
{
    static const auto setAttribute = SystemFunction<SetWindowAttributeFunction>(L"dwmapi.dll", "DwmSetWindowAttribute");
    const std::optional<std::uint32_t> attribute = DarkTitleBarAttribute(WindowsBuild());
    if (!setAttribute || !attribute)
        return;
    const BOOL value = dark ? TRUE : FALSE;
    setAttribute(window, *attribute, &value, sizeof value);
}

// A control in the look in force; true to go on with the next one.
BOOL CALLBACK DressControl(HWND control, LPARAM)
{
    const bool dark = IsDark();
    const bool wasDark = GetPropW(control, kDressedDark) != nullptr;
    if (!dark && !wasDark)
        return TRUE;
    const ControlKind kind = KindOf(control);
    const ControlDress dress = DressOf(kind, Theme::Dark);
    if (dark) {
        SetPropW(control, kDressedDark, reinterpret_cast<HANDLE>(kDrawnByProgram));
        if (!dress.themeName.empty())
            SetTheme(control, std::wstring(dress.themeName).c_str());
        // Set again, the same subclass stays one.
        if (dress.drawing == ControlDrawing::Program || dress.drawing == ControlDrawing::ProgramWhileDisabled)
            SetWindowSubclass(control, DrawnControlProc, kDrawnByProgram, static_cast<DWORD_PTR>(kind));
    } else {
        RemovePropW(control, kDressedDark);
        if (!dress.themeName.empty())
            SetTheme(control, nullptr);
    }
    return TRUE;
}

BOOL CALLBACK DressOwnedTip(HWND tip, LPARAM owner)
{
    if (GetWindow(tip, GW_OWNER) == reinterpret_cast<HWND>(owner) && KindOf(tip) == ControlKind::ToolTip)
        DressControl(tip, 0);
    return TRUE;
}

} // namespace

void DressWindow(HWND window)
{
    const bool dark = IsDark();
    const bool wasDark = GetPropW(window, kDressedDark) != nullptr;
    if (!dark && !wasDark)
        return;
    if (dark)
        SetPropW(window, kDressedDark, reinterpret_cast<HANDLE>(kDrawnByProgram));
    else
        RemovePropW(window, kDressedDark);
    DressTitleBar(window, dark);
    EnumChildWindows(window, DressControl, 0);
    // The tips over its controls are windows of their own that it owns.
    EnumThreadWindows(GetCurrentThreadId(), DressOwnedTip, reinterpret_cast<LPARAM>(window));
}

bool AnswerColourMessage(UINT message, WPARAM deviceContext, LPARAM control, LRESULT& brush)
{
    if (!IsDark() || (control && DressOf(KindOf(reinterpret_cast<HWND>(control)), Theme::Dark).drawing ==
                                     ControlDrawing::SystemInItsOwnColours))
        return false;
    const Palette& palette = PaletteInForce();
    HDC dc = reinterpret_cast<HDC>(deviceContext);
    const bool field = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX;
    switch (message) {
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: {
        const Colour& background = field ? palette.field : palette.face;
        SetTextColor(dc, ToColorRef(field ? palette.fieldText : palette.text));
        SetBkColor(dc, ToColorRef(background));
        brush = reinterpret_cast<LRESULT>(PaletteBrush(background));
        return true;
    }
    default:
        return false;
    }
}

void FollowMenuLook()
{
    const std::optional<int> mode = MenuModeFor(ThemeInForce(), WindowsBuild());
    if (!mode)
        return;
    const auto setMode =
        SystemFunction<SetAppModeFunction>(L"uxtheme.dll", MAKEINTRESOURCEA(kOrdinalSetPreferredAppMode));
    const auto flush =
        SystemFunction<FlushMenuThemesFunction>(L"uxtheme.dll", MAKEINTRESOURCEA(kOrdinalFlushMenuThemes));
    if (!setMode || !flush)
        return;
    setMode(*mode);
    flush();
}
