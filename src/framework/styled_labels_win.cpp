#include "framework/styled_labels_win.h"

#include "framework/accessibility_win.h"
#include "framework/dpi_win.h"

CStyledLabels::~CStyledLabels()
{
    for (const Label& label : m_labels)
        DeleteObject(label.font);
}

void CStyledLabels::Apply(HWND dialog, int controlId, const Style& style)
{
    HWND control = GetDlgItem(dialog, controlId);
    if (!control)
        return;
    const int height = -MulDiv(style.tenthsOfPoint, SystemDpi(), 720);
    HFONT font =
        CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, style.underline ? TRUE : FALSE, FALSE, DEFAULT_CHARSET,
                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS, style.face);
    m_labels.push_back({control, font, style});
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

bool CStyledLabels::HandleColorMessage(WPARAM deviceContext, LPARAM control, LRESULT& brush)
{
    for (const Label& label : m_labels) {
        if (label.control != reinterpret_cast<HWND>(control))
            continue;
        HDC dc = reinterpret_cast<HDC>(deviceContext);
        SetTextColor(dc, ReadableColour(label.style.text, COLOR_BTNTEXT));
        // Read on every paint so that a change of colour scheme shows at once; the system owns
        // this brush and keeps it in step with the colour.
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        brush = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        return true;
    }
    return false;
}

void CStyledLabels::Repaint() const
{
    for (const Label& label : m_labels)
        InvalidateRect(label.control, nullptr, TRUE);
}
