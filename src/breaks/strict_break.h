#pragma once

// Whether the break dialog may end now, by OK, Escape, Alt+F4 or its close command. A strict
// break can't be ended before its countdown has: the dialog stays and the keys do nothing.
bool BreakDialogMayEnd(bool strict, bool countdownEnded);
