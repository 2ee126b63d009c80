#pragma once
#include "messages/quiet_signals.h"

// Reads every signal the system gives about interrupting the user now; one that can't be read
// counts as absent. Asks the system afresh on each call.
QuietState ReadSystemQuietState();
