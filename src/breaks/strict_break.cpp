#include "breaks/strict_break.h"

bool BreakDialogMayEnd(bool strict, bool countdownEnded)
{
    return !strict || countdownEnded;
}
