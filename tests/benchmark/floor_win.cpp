// The floor a tray program can't go below: one window with a one-second timer, an edit whose
// text changes every second and a tray icon whose tooltip changes every second. The benchmark
// runs it beside kelvaro.exe and compares their CPU time and memory.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>

namespace {
constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTimerPeriodMs = 1000;
constexpr UINT kTrayMessage = WM_APP + 1;
constexpr int kEditId = 100;
constexpr int kWindowWidth = 300;
constexpr int kWindowHeight = 120;

NOTIFYICONDATAW g_nid{};
unsigned g_seconds = 0;

void ShowSeconds(HWND window)
{
    wchar_t text[32];
    std::swprintf(text, 32, L"%02u:%02u:%02u", g_seconds / 3600, g_seconds / 60 % 60, g_seconds % 60);
    SetDlgItemTextW(window, kEditId, text);
    std::swprintf(g_nid.szTip, 64, L"Active time today: %ls", text);
    g_nid.uFlags = NIF_TIP;
    Shell_NotifyIconW(NIM_MODIFY, &g_nid);
}

LRESULT CALLBACK FloorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 120, 24, window,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditId)), nullptr, nullptr);
        g_nid.cbSize = sizeof g_nid;
        g_nid.hWnd = window;
        g_nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        g_nid.uCallbackMessage = kTrayMessage;
        g_nid.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
        Shell_NotifyIconW(NIM_ADD, &g_nid);
        SetTimer(window, kTimerId, kTimerPeriodMs, nullptr);
        return 0;
    case WM_TIMER:
        ++g_seconds;
        ShowSeconds(window);
        return 0;
    case WM_DESTROY:
        Shell_NotifyIconW(NIM_DELETE, &g_nid);
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}
} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = FloorProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"KelvaroBenchmarkFloor";
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    if (!RegisterClassW(&windowClass))
        return 1;
    // Hidden, as Kelvaro lives in the tray.
    if (!CreateWindowExW(0, windowClass.lpszClassName, L"Floor", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                         kWindowWidth, kWindowHeight, nullptr, nullptr, instance, nullptr))
        return 1;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
