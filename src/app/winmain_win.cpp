#include "app/tavrin_app_win.h"
#include "platform/platform_win.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    Win32Platform platform;
    CTavrinApp app(platform);
    return app.InitInstance();
}
