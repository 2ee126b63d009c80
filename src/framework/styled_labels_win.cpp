#include "framework/styled_labels_win.h"

#include "appearance/palette_win.h"
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
        const Palette& palette = PaletteInForce();
        SetTextColor(dc, ToColorRef(palette.*label.style.text));
        SetBkColor(dc, ToColorRef(palette.face));
        brush = reinterpret_cast<LRESULT>(PaletteBrush(palette.face));
        return true;
    }
    return false;
}

void CStyledLabels::Repaint() const
{
    for (const Label& label : m_labels)
        InvalidateRect(label.control, nullptr, TRUE);
}
