#pragma once
#include "platform/platform_win.h"

// The keyboard light show that accompanies a reminder: the lock keys really toggled for about
// 13 seconds on a worker thread of its own, then put back as they were.
class CLedBlinker {
public:
    explicit CLedBlinker(Platform& platform) : m_platform(platform) {}

    // Starts a show and returns at once; does nothing and returns false while a show runs. The
    // platform must outlive the show, which StopAndRestore ends early.
    bool Start();

    // Stops a running show at its next step, has it put the keys back as they were at its start and
    // waits up to about a second for its end; true when no show is left running. Harmless when none runs.
    static bool StopAndRestore();

private:
    Platform& m_platform;
};
