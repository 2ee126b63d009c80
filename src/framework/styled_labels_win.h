#pragma once
#include "appearance/palette.h"

#include <windows.h>

#include <vector>

// Static controls drawn in a font and text colour of their own, in place of the hosted label
// controls that the dialog templates are designed around. They sit on the dialog's face, both in
// the colours of the palette in force.
class CStyledLabels {
public:
    struct Style {
        const wchar_t* face;
        int tenthsOfPoint;
        bool underline;
        Colour Palette::*text;
    };

    CStyledLabels() = default;
    ~CStyledLabels();
    CStyledLabels(const CStyledLabels&) = delete;
    CStyledLabels& operator=(const CStyledLabels&) = delete;

    // Gives the control its font; its colours follow through HandleColorMessage.
    void Apply(HWND dialog, int controlId, const Style& style);
    // Answers WM_CTLCOLORSTATIC for the styled controls; false for any other control.
    bool HandleColorMessage(WPARAM deviceContext, LPARAM control, LRESULT& brush);
    // Redraws the labels in the colours of a new scheme (WM_SYSCOLORCHANGE, high contrast turned on or off).
    void Repaint() const;

private:
    struct Label {
        HWND control;
        HFONT font;
        Style style;
    };
    std::vector<Label> m_labels;
};

// The underlined title label of the About and History dialogs.
constexpr CStyledLabels::Style kTitleLabelStyle{L"Tahoma", 143, true, &Palette::text};
