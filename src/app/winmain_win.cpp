#include "app/command_client_win.h"
#include "app/tavrin_app_win.h"
#include "platform/platform_win.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    Win32Platform platform;
    // One Kelvaro per data folder: a later start there hands its command to the first and ends.
    if (const std::optional<int> exitCode = RunCommandLine(platform, ProgramArguments()))
        return *exitCode;
    CTavrinApp app(platform);
    return app.InitInstance();
}
