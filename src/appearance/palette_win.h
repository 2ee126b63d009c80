#pragma once
#include "appearance/palette.h"
#include "appearance/theme_choice.h"

#include <windows.h>

// The user's choice of look and what Windows said of its own, as the main window last read them.
// Until then, and where no main window runs, the look is light.
void ChooseLook(ThemeSetting setting, const SystemAppearance& system);
// The look in force: the one chosen, or high contrast while the system has it on, which is asked
// at every call so that a change shows at once.
Theme ThemeInForce();
// The palette of the look in force, read at every paint.
const Palette& PaletteInForce();
// A palette's colour as GDI takes it; a colour of the scheme as the scheme has it now.
COLORREF ToColorRef(const Colour& colour);
// A brush of a palette's colour, not to be destroyed: the system's own for a colour of the scheme,
// which the system keeps in step with it, else one made at its first use and kept for the whole run.
HBRUSH PaletteBrush(const Colour& colour);
