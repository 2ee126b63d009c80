#pragma once
#include "messages/quiet_signals.h"

#include <windows.h>

#include <string_view>

// The foreground window's facts from what the system tells of it: its rectangle, the monitor it is
// on (the whole monitor, never its work area, which a taskbar makes smaller), its style, its class
// name (UTF-8, kept by the caller) and whether it is the shell's desktop window.
ForegroundWindowFacts ForegroundWindowFactsOf(const RECT& window, const MONITORINFO& monitor, DWORD style,
                                              std::string_view className, bool isShellWindow);

// Reads every signal the system gives about interrupting the user now; one that can't be read
// counts as absent. Asks the system afresh on each call.
QuietState ReadSystemQuietState();
