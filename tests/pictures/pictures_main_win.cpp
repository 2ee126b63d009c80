// Kelvaro for the README's pictures (tools/update_screenshots.sh): the program itself, whose windows
// hold still however slow the machine, because no time passes for it on its own. Every timer of a
// second or more, the program's sense of passing time (the activity tick, a countdown, how long a
// reminder stays), ticks only when the pictures make it tick; the shorter steps of a popup's roll
// run, so that a reminder comes to rest where the user sees it.
#include "app/command_client_win.h"
#include "app/tavrin_app_win.h"
#include "platform/platform_win.h"

namespace {

// Timers this long or longer wait for the pictures.
constexpr UINT kTimeKeepingPeriodMs = 1000;

class CPicturePlatform final : public Win32Platform {
public:
    void SetWindowTimer(HWND window, UINT_PTR id, UINT periodMs) override
    {
        // A timer set again to keep time stops whatever it did before, as a restarted one would.
        if (periodMs >= kTimeKeepingPeriodMs)
            KillWindowTimer(window, id);
        else
            Win32Platform::SetWindowTimer(window, id, periodMs);
    }
};

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    CPicturePlatform platform;
    if (const std::optional<int> exitCode = RunCommandLine(platform, ProgramArguments()))
        return *exitCode;
    CTavrinApp app(platform);
    return app.InitInstance();
}
