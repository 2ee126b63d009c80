#pragma once
// The colours every window of the program paints with, one palette per look. The shell asks the
// palette in force for each part it paints and never names a colour of its own.

#include <cstdint>

// A colour by its own red, green and blue.
struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const Rgb&) const = default;
};

// The colours of the system's scheme that the program paints with, by what they are for.
enum class SystemColour {
    Window,
    WindowText,
    ButtonFace,
    ButtonText,
    ButtonShadow,
    Highlight,
    HighlightText,
    GrayText,
    HotLight,
    InfoBackground,
    InfoText
};

// A colour as the program paints it: one of its own, or the system's scheme's colour of a part,
// read at every paint so that a change of scheme shows at once.
class Colour {
public:
    static constexpr Colour Own(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
    {
        return Colour(Rgb{red, green, blue}, false, SystemColour::Window);
    }
    static constexpr Colour System(SystemColour part) { return Colour(Rgb{}, true, part); }

    bool IsSystem() const { return m_bSystem; }
    // Meaningful only for a colour of the program's own.
    Rgb OwnRgb() const { return m_rgb; }
    // Meaningful only for a colour of the system's scheme.
    SystemColour SystemPart() const { return m_system; }
    bool operator==(const Colour&) const = default;

private:
    constexpr Colour(Rgb rgb, bool system, SystemColour part) : m_rgb(rgb), m_bSystem(system), m_system(part) {}

    Rgb m_rgb;
    bool m_bSystem;
    SystemColour m_system;
};

// The looks the program can take. High contrast is the system's scheme, whatever else was chosen.
enum class Theme { Light, Dark, HighContrast };

// The colours of one look.
struct Palette {
    // The dialogs' face, and what is written on it: the labels, the Settings dialog's notes (grey
    // by design), and the text of a control that can't be used now.
    Colour face;
    Colour text;
    Colour note;
    Colour disabledText;
    // Edit fields and lists, and their text.
    Colour field;
    Colour fieldText;
    // What stands out: a chosen item, a focused control, and the text on it.
    Colour accent;
    Colour accentText;
    // The reminder popup: its face, its text and the band behind the text's lines.
    Colour popupFace;
    Colour popupText;
    Colour popupTextBackground;
    // The eye-break popup, a quiet green in the light look.
    Colour eyeBreakFace;
    Colour eyeBreakText;
    // The History dialog's chart.
    Colour chartBackground;
    Colour chartWeekendColumn;
    Colour chartGridLine;
    Colour chartBar;
    Colour chartWeekendBar;
    Colour chartBaseline;
    Colour chartWarning; // the days over the daily limit, and its line
    Colour chartText;
    // The colour the break's covers dim the screens with.
    Colour coverDim;
    // What the program draws itself in the dark look, where the system would draw it light: a push
    // button's face as it rests, under the mouse and held down, and the frame of buttons, boxes and
    // fields.
    Colour button;
    Colour buttonHot;
    Colour buttonPressed;
    Colour frame;
    // The tips over the History chart.
    Colour tip;
    Colour tipText;
};

// The palette of a look. The light one is the program's look as it has always been.
const Palette& PaletteFor(Theme theme);

// WCAG 2's relative luminance, 0 for black to 1 for white.
double RelativeLuminance(Rgb colour);
// WCAG 2's contrast ratio of two colours, 1 (the same) to 21 (black and white), in either order.
double ContrastRatio(Rgb first, Rgb second);
