#pragma once
#include <windows.h>

// Ends a modal run that does not end by itself, by destroying the windows of the thread, so
// that a broken way out fails its test instead of leaving it waiting for ever. The limit only
// catches a hang: a run that ends is never waited for.
class ModalWatchdog {
public:
    static constexpr UINT kDefaultLimitMs = 60000;

    explicit ModalWatchdog(UINT limitMs = kDefaultLimitMs) : m_nTimer(SetTimer(nullptr, 0, limitMs, &Fire))
    {
        s_bFired = false;
    }
    ~ModalWatchdog() { KillTimer(nullptr, m_nTimer); }
    ModalWatchdog(const ModalWatchdog&) = delete;
    ModalWatchdog& operator=(const ModalWatchdog&) = delete;

    // Whether the run had to be ended from outside.
    static bool Fired() { return s_bFired; }

private:
    // A thread timer: the modal loop itself dispatches it, on the thread that owns the windows.
    static void CALLBACK Fire(HWND, UINT, UINT_PTR, DWORD)
    {
        s_bFired = true;
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND window, LPARAM) -> BOOL {
                DestroyWindow(window);
                return TRUE;
            },
            0);
    }

    inline static bool s_bFired = false;
    UINT_PTR m_nTimer;
};
