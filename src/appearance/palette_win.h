#pragma once
#include "appearance/palette.h"

#include <windows.h>

// The palette of the look in force, read at every paint so that a change shows at once.
const Palette& PaletteInForce();
// A palette's colour as GDI takes it; a colour of the scheme as the scheme has it now.
COLORREF ToColorRef(const Colour& colour);
// A brush of a palette's colour, not to be destroyed: the system's own for a colour of the scheme,
// which the system keeps in step with it, else one made at its first use and kept for the whole run.
HBRUSH PaletteBrush(const Colour& colour);
