#include "history/history_chart_win.h"

#include "appearance/palette_win.h"
#include "framework/dpi_win.h"
#include "history/habit_figures.h"
#include "platform/text_win.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

namespace {

constexpr UINT kLabelFormat = DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP;
// WM_DPICHANGED_AFTERPARENT, which the headers name only for programs that need Windows 10.
constexpr UINT kDpiChangedAfterParent = 0x02E3;
// A tip for each slot of the view with the most: the days' and the nights' views.
constexpr int kTips = kChartDays;
static_assert(kViewNights <= kTips && kViewPeriods <= kTips);

RECT ToRect(const ChartBox& box)
{
    return {box.left, box.top, box.right, box.bottom};
}

void Fill(HDC dc, const ChartBox& box, const Colour& colour)
{
    const RECT rect = ToRect(box);
    FillRect(dc, &rect, PaletteBrush(colour));
}

void DrawLabel(HDC dc, const std::string& text, const ChartBox& box, UINT alignment)
{
    const std::wstring wide = Widen(text);
    RECT rect = ToRect(box);
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &rect, kLabelFormat | alignment);
}

// A device context of the chart's own with its font selected, for measuring outside a paint.
class CMeasuringContext {
public:
    CMeasuringContext(HWND window, HFONT font) : m_hWnd(window), m_dc(GetDC(window))
    {
        m_previous = m_dc ? SelectObject(m_dc, font) : nullptr;
    }
    ~CMeasuringContext()
    {
        if (!m_dc)
            return;
        SelectObject(m_dc, m_previous);
        ReleaseDC(m_hWnd, m_dc);
    }
    CMeasuringContext(const CMeasuringContext&) = delete;
    CMeasuringContext& operator=(const CMeasuringContext&) = delete;
    HDC Dc() const { return m_dc; }

private:
    HWND m_hWnd;
    HDC m_dc;
    HGDIOBJ m_previous = nullptr;
};

} // namespace

bool CHistoryChart::RegisterWindowClass()
{
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = kWindowClass;
        return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    return registered;
}

CHistoryChart::~CHistoryChart()
{
    Detach();
}

void CHistoryChart::Attach(HWND control)
{
    if (!control)
        return;
    m_hWnd = control;
    SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    // The dialog hands its font to its controls before its initialisation, when the chart has
    // no object yet to keep it.
    m_font = reinterpret_cast<HFONT>(SendMessageW(GetParent(control), WM_GETFONT, 0, 0));
    m_hToolTip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, control, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    if (!m_hToolTip)
        return;
    for (int index = 0; index < kTips; ++index) {
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_SUBCLASS;
        tool.hwnd = control;
        tool.uId = static_cast<UINT_PTR>(index);
        tool.lpszText = const_cast<wchar_t*>(L"");
        SendMessageW(m_hToolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    PlaceTips();
}

void CHistoryChart::Detach()
{
    if (m_hToolTip)
        DestroyWindow(m_hToolTip);
    if (m_hWnd)
        SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
    m_hToolTip = nullptr;
    m_hWnd = nullptr;
}

void CHistoryChart::SetChart(HistoryChart chart)
{
    m_chart = std::move(chart);
    if (m_hToolTip) {
        // A view of fewer slots leaves the last tips without a text or a place.
        for (std::size_t index = 0; index < static_cast<std::size_t>(kTips); ++index) {
            std::wstring tip = index < m_chart.slots.size() ? Widen(m_chart.slots[index].tip) : std::wstring();
            TTTOOLINFOW tool{};
            tool.cbSize = sizeof tool;
            tool.hwnd = m_hWnd;
            tool.uId = index;
            tool.lpszText = tip.data();
            SendMessageW(m_hToolTip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
        }
        PlaceTips();
    }
    Redraw();
}

void CHistoryChart::Redraw() const
{
    if (m_hWnd)
        InvalidateRect(m_hWnd, nullptr, FALSE);
}

ChartLayout CHistoryChart::Layout() const
{
    RECT client{};
    GetClientRect(m_hWnd, &client);
    TEXTMETRICW metrics{};
    int labelWidth = 0;
    const CMeasuringContext context(m_hWnd, m_font);
    if (context.Dc()) {
        GetTextMetricsW(context.Dc(), &metrics);
        for (const ChartGridLine& line : m_chart.gridLines) {
            const std::wstring label = Widen(line.label);
            SIZE size{};
            GetTextExtentPoint32W(context.Dc(), label.c_str(), static_cast<int>(label.size()), &size);
            labelWidth = std::max(labelWidth, static_cast<int>(size.cx));
        }
    }
    return ChartLayout(client.right, client.bottom, DpiForWindow(m_hWnd), metrics.tmHeight, labelWidth,
                       ShapeOf(m_chart));
}

ChartPicture CHistoryChart::Picture() const
{
    return Layout().Picture(m_chart);
}

void CHistoryChart::PlaceTips() const
{
    if (!m_hToolTip)
        return;
    const ChartLayout layout = Layout();
    const int slots = ShapeOf(m_chart).slots;
    for (int index = 0; index < kTips; ++index) {
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = m_hWnd;
        tool.uId = static_cast<UINT_PTR>(index);
        tool.rect = index < slots ? ToRect(layout.Slot(index)) : RECT{};
        SendMessageW(m_hToolTip, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void CHistoryChart::Draw(HDC dc) const
{
    const ChartPicture picture = Picture();
    const Palette& palette = PaletteInForce();
    for (const ChartFill& fill : picture.fills)
        Fill(dc, fill.box, InkColour(palette, fill.ink));
    const HGDIOBJ previousFont = SelectObject(dc, m_font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ToColorRef(palette.chartText));
    for (const ChartText& text : picture.texts)
        DrawLabel(dc, text.text, text.room, text.centred ? DT_CENTER | DT_TOP : DT_RIGHT | DT_VCENTER);
    SelectObject(dc, previousFont);
}

void CHistoryChart::OnPaint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hWnd, &paint);
    if (!dc)
        return;
    RECT client{};
    GetClientRect(m_hWnd, &client);
    // Drawn whole off screen and copied at once, so that no half-drawn chart flickers.
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP picture = memory ? CreateCompatibleBitmap(dc, client.right, client.bottom) : nullptr;
    if (picture) {
        const HGDIOBJ previous = SelectObject(memory, picture);
        Draw(memory);
        BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
        SelectObject(memory, previous);
        DeleteObject(picture);
    } else {
        Draw(dc);
    }
    if (memory)
        DeleteDC(memory);
    EndPaint(m_hWnd, &paint);
}

bool CHistoryChart::OnMessage(UINT message, WPARAM wParam, LRESULT& result)
{
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return true;
    case WM_PRINTCLIENT:
        Draw(reinterpret_cast<HDC>(wParam));
        return true;
    case WM_ERASEBKGND:
        // The paint covers every pixel.
        result = TRUE;
        return true;
    case WM_SETFONT:
        m_font = reinterpret_cast<HFONT>(wParam);
        PlaceTips();
        Redraw();
        return true;
    case WM_GETFONT:
        result = reinterpret_cast<LRESULT>(m_font);
        return true;
    case WM_SIZE:
    case kDpiChangedAfterParent:
        PlaceTips();
        Redraw();
        return true;
    case WM_DESTROY:
        Detach();
        return true;
    default:
        return false;
    }
}

LRESULT CALLBACK CHistoryChart::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* chart = reinterpret_cast<CHistoryChart*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!chart)
        return DefWindowProcW(window, message, wParam, lParam);
    LRESULT result = 0;
    // No exception may unwind through the system's window procedure.
    try {
        if (chart->OnMessage(message, wParam, result))
            return result;
    } catch (...) {
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
