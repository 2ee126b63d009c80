#include "platform/platform_win.h"

#include "framework/dpi_win.h"
#include "platform/file_replacement_win.h"
#include "platform/quiet_signals_win.h"
#include "platform/system_function_win.h"
#include "platform/text_win.h"

#include <commdlg.h>
#include <mmsystem.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

std::int64_t Win32Platform::Now()
{
    return static_cast<std::int64_t>(std::time(nullptr));
}

std::uint32_t Win32Platform::TickCount()
{
    return GetTickCount();
}

std::optional<std::uint32_t> Win32Platform::LastInputTick()
{
    LASTINPUTINFO info{};
    info.cbSize = sizeof info;
    if (!GetLastInputInfo(&info))
        return std::nullopt;
    return info.dwTime;
}

int Win32Platform::ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags)
{
    return MessageBoxW(owner, Widen(text).c_str(), Widen(caption).c_str(), flags);
}

void Win32Platform::PlaySoundFile(const std::string& fileName)
{
    // winmm is loaded with the first sound: by default Kelvaro plays none, and winmm brings COM with it.
    if (const auto playSound = SystemFunction<decltype(&PlaySoundW)>(L"winmm.dll", "PlaySoundW"))
        playSound(Widen(fileName).c_str(), nullptr, SND_ASYNC | SND_FILENAME);
}

namespace {

// Room for the longest path Windows allows.
constexpr std::size_t kLongestPath = 32768;

// The filter is a list of zero-terminated strings ended by an empty one.
std::wstring FileFilter(const std::string& label, const std::string& pattern)
{
    std::wstring filter = Widen(label);
    filter.push_back(L'\0');
    filter += Widen(pattern);
    filter.push_back(L'\0');
    return filter;
}

// Runs comdlg32's GetOpenFileNameW or GetSaveFileNameW, starting from a name; the chosen full
// path, or nothing when cancelled.
std::optional<std::string> RunFileDialog(const char* function, OPENFILENAMEW& dialog, const std::wstring& name)
{
    std::vector<wchar_t> path(kLongestPath, L'\0');
    name.copy(path.data(), std::min(name.size(), path.size() - 1));
    dialog.lStructSize = sizeof dialog;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    // The data files are opened relative to the current directory, which the file dialogs may
    // move to the chosen file's folder despite OFN_NOCHANGEDIR.
    std::vector<wchar_t> currentDirectory(GetCurrentDirectoryW(0, nullptr) + 1, L'\0');
    GetCurrentDirectoryW(static_cast<DWORD>(currentDirectory.size()), currentDirectory.data());
    // comdlg32 is loaded for the rare Browse or Export alone, so that every run doesn't carry it.
    const auto run = SystemFunction<decltype(&GetOpenFileNameW)>(L"comdlg32.dll", function);
    const BOOL chosen = run && run(&dialog);
    SetCurrentDirectoryW(currentDirectory.data());
    if (!chosen)
        return std::nullopt;
    return Narrow(path.data());
}

} // namespace

std::optional<std::string> Win32Platform::ChooseFileToOpen(HWND owner, const std::string& filterLabel,
                                                           const std::string& filterPattern)
{
    const std::wstring filter = FileFilter(filterLabel, filterPattern);
    OPENFILENAMEW dialog{};
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER;
    return RunFileDialog("GetOpenFileNameW", dialog, {});
}

std::optional<std::string> Win32Platform::ChooseFileToSave(HWND owner, const std::string& filterLabel,
                                                           const std::string& filterPattern,
                                                           const std::string& suggestedName)
{
    const std::wstring filter = FileFilter(filterLabel, filterPattern);
    const std::wstring name = Widen(suggestedName);
    const std::size_t dot = name.find_last_of(L'.');
    const std::wstring extension = dot == std::wstring::npos ? std::wstring() : name.substr(dot + 1);
    OPENFILENAMEW dialog{};
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER;
    return RunFileDialog("GetSaveFileNameW", dialog, name);
}

std::string Win32Platform::EnvironmentVariable(const std::string& name)
{
    const std::wstring wideName = Widen(name);
    const DWORD needed = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
    if (needed == 0)
        return {};
    std::wstring value(needed, L'\0');
    const DWORD length = GetEnvironmentVariableW(wideName.c_str(), value.data(), needed);
    value.resize(length);
    return Narrow(value);
}

void Win32Platform::WriteDiagnostic(const std::string& text)
{
    std::fputs(text.c_str(), stdout);
    std::fflush(stdout);
}

std::optional<std::string> Win32Platform::ReadWholeFile(const std::string& name)
{
    // Shared for writing and deleting so that a reader never blocks a writer.
    const std::wstring path = Widen(name);
    HANDLE file = INVALID_HANDLE_VALUE;
    BusyWaitBudget budget;
    const FileStepResult opened = RetryWhileBusy(
        budget,
        [&] {
            file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            return FileStepResultOf(file != INVALID_HANDLE_VALUE);
        },
        [](unsigned ms) { Sleep(ms); });
    if (opened != FileStepResult::Done)
        return std::nullopt;
    std::string content;
    char buffer[65536];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr) != FALSE) && got > 0)
        content.append(buffer, got);
    CloseHandle(file);
    if (!ok)
        return std::nullopt;
    return content;
}

bool Win32Platform::FileExists(const std::string& name)
{
    return GetFileAttributesW(Widen(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Win32Platform::ReplaceWholeFile(const std::string& name, const std::string& bytes)
{
    return ReplaceFileOnDisk(Widen(name), bytes);
}

bool Win32Platform::NotifyIcon(DWORD action, const NOTIFYICONDATAW& icon)
{
    NOTIFYICONDATAW copy = icon;
    return Shell_NotifyIconW(action, &copy) != FALSE;
}

PrivilegeChange Win32Platform::SetShutdownPrivilege(bool enabled)
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return PrivilegeChange::TokenNotOpened;
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = enabled ? SE_PRIVILEGE_ENABLED : 0;
    const bool found = LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid) != FALSE;
    // The call succeeds even when the token does not hold the privilege; only the last error tells.
    const bool adjusted = found && AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr) &&
                          GetLastError() == ERROR_SUCCESS;
    CloseHandle(token);
    return adjusted ? PrivilegeChange::Made : PrivilegeChange::NotAdjusted;
}

bool Win32Platform::RequestSessionEnd(unsigned flags, unsigned reason)
{
    return ExitWindowsEx(flags, reason) != FALSE;
}

void Win32Platform::OpenUrl(const std::string& url)
{
    // The shell may hand the address to a handler that needs COM on the calling thread; ole32 is
    // loaded for the About links alone, so that every run doesn't carry it.
    const auto initialize = SystemFunction<decltype(&CoInitializeEx)>(L"ole32.dll", "CoInitializeEx");
    const auto uninitialize = SystemFunction<decltype(&CoUninitialize)>(L"ole32.dll", "CoUninitialize");
    const HRESULT com =
        initialize && uninitialize ? initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE) : E_FAIL;
    ShellExecuteW(nullptr, L"open", Widen(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    if (SUCCEEDED(com))
        uninitialize();
}

void Win32Platform::SetWindowTimer(HWND window, UINT_PTR id, UINT periodMs)
{
    SetTimer(window, id, periodMs, nullptr);
}

void Win32Platform::KillWindowTimer(HWND window, UINT_PTR id)
{
    KillTimer(window, id);
}

bool Win32Platform::IsLockKeyOn(int virtualKey)
{
    // GetKeyState brings the view of a thread outside the foreground up to date, which GetKeyboardState
    // does not; GetAsyncKeyState has no toggle bit. Wine 8 shows a new thread only the changes made
    // after it began, so there a key already on when the light show's thread starts reads as off.
    return (GetKeyState(virtualKey) & 1) != 0;
}

namespace {

// The lock keys' own scan codes, sent with the virtual key as a real keyboard does.
constexpr WORD kNumLockScanCode = 0x45;
constexpr WORD kCapsLockScanCode = 0x3A;
constexpr WORD kScrollLockScanCode = 0x46;

WORD ScanCodeOf(int virtualKey)
{
    switch (virtualKey) {
    case VK_NUMLOCK:
        return kNumLockScanCode;
    case VK_CAPITAL:
        return kCapsLockScanCode;
    case VK_SCROLL:
        return kScrollLockScanCode;
    default:
        return static_cast<WORD>(MapVirtualKeyW(static_cast<UINT>(virtualKey), MAPVK_VK_TO_VSC));
    }
}

} // namespace

void Win32Platform::PressKey(int virtualKey)
{
    // Both halves in one call, so no other input comes between the press and the release.
    INPUT inputs[2] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = static_cast<WORD>(virtualKey);
        input.ki.wScan = ScanCodeOf(virtualKey);
        input.ki.dwFlags = KEYEVENTF_EXTENDEDKEY;
    }
    inputs[1].ki.dwFlags |= KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
}

bool Win32Platform::SleepUnlessWoken(HANDLE wakeEvent, DWORD ms)
{
    if (!wakeEvent) {
        Sleep(ms);
        return false;
    }
    return WaitForSingleObject(wakeEvent, ms) == WAIT_OBJECT_0;
}

QuietState Win32Platform::ReadQuietState()
{
    return ReadSystemQuietState();
}

bool Win32Platform::DisplayRequired()
{
    // The execution state that programs request with SetThreadExecutionState, merged for the
    // whole system. Loaded when first asked, so that the program imports no power library.
    using CallNtPowerInformationFunction = LONG(WINAPI*)(int, void*, ULONG, void*, ULONG);
    constexpr int kSystemExecutionState = 16;
    static const auto query =
        SystemFunction<CallNtPowerInformationFunction>(L"powrprof.dll", "CallNtPowerInformation");
    ULONG state = 0;
    if (!query || query(kSystemExecutionState, nullptr, 0, &state, sizeof state) != 0)
        return false;
    return (state & ES_DISPLAY_REQUIRED) != 0;
}

int Win32Platform::FirstDayOfWeek()
{
    // One digit, 0 Monday to 6 Sunday, and its terminating null.
    wchar_t digit[2] = {};
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_IFIRSTDAYOFWEEK, digit, 2) == 0 || digit[0] < L'0' ||
        digit[0] > L'6')
        return 0;
    return digit[0] - L'0';
}

std::string Win32Platform::UserInterfaceLanguage()
{
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    if (LCIDToLocaleName(MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT), name, LOCALE_NAME_MAX_LENGTH, 0) == 0)
        return {};
    return Narrow(name);
}

std::vector<std::string> Win32Platform::FilesMatching(const std::string& pattern)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW(Widen(pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            names.push_back(Narrow(found.cFileName));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

std::optional<std::string> Win32Platform::BuiltInTranslation(const std::string& language)
{
    // Each language's PO file is a resource of type PO named by its id.
    HRSRC resource = FindResourceW(nullptr, Widen(language).c_str(), L"PO");
    HGLOBAL loaded = resource ? LoadResource(nullptr, resource) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes)
        return std::nullopt;
    return std::string(static_cast<const char*>(bytes), SizeofResource(nullptr, resource));
}

bool Win32Platform::RegisterShortcut(HWND window, int id, const Shortcut& shortcut)
{
    UINT modifiers = MOD_NOREPEAT; // a key held down pauses once, not on and off
    if ((shortcut.modifiers & kShortcutCtrl) != 0)
        modifiers |= MOD_CONTROL;
    if ((shortcut.modifiers & kShortcutAlt) != 0)
        modifiers |= MOD_ALT;
    if ((shortcut.modifiers & kShortcutShift) != 0)
        modifiers |= MOD_SHIFT;
    return RegisterHotKey(window, id, modifiers, shortcut.key) != FALSE;
}

void Win32Platform::UnregisterShortcut(HWND window, int id)
{
    UnregisterHotKey(window, id);
}

namespace {

ScreenRect ToScreenRect(const RECT& rect)
{
    return {static_cast<int>(rect.left), static_cast<int>(rect.top), static_cast<int>(rect.right),
            static_cast<int>(rect.bottom)};
}

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list)
{
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info)) {
        const POINT centre{(info.rcMonitor.left + info.rcMonitor.right) / 2,
                           (info.rcMonitor.top + info.rcMonitor.bottom) / 2};
        reinterpret_cast<std::vector<MonitorArea>*>(list)->push_back(
            {ToScreenRect(info.rcMonitor), ToScreenRect(info.rcWork), DpiForMonitorAt(centre)});
    }
    return TRUE;
}

constexpr wchar_t kPersonalizeKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";

// A DWORD of the user's personalisation; nothing when it is missing or of another type.
std::optional<std::uint32_t> PersonalizeValue(const wchar_t* name)
{
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, kPersonalizeKey, name, RRF_RT_REG_DWORD, nullptr, &value, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

} // namespace

std::vector<MonitorArea> Win32Platform::Monitors()
{
    std::vector<MonitorArea> monitors;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    if (monitors.empty()) {
        RECT work{};
        if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0))
            work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        monitors.push_back(
            {{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, ToScreenRect(work), SystemDpi()});
    }
    return monitors;
}

ScreenPoint Win32Platform::PointerPosition()
{
    POINT pointer{};
    if (!GetCursorPos(&pointer))
        return {};
    return {static_cast<int>(pointer.x), static_cast<int>(pointer.y)};
}

SystemAppearance Win32Platform::ReadSystemAppearance()
{
    SystemAppearance appearance;
    appearance.appsUseLightTheme = PersonalizeValue(L"AppsUseLightTheme");
    appearance.systemUsesLightTheme = PersonalizeValue(L"SystemUsesLightTheme");
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    appearance.highContrast = SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
                              (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    appearance.highContrastWindow = {GetRValue(window), GetGValue(window), GetBValue(window)};
    return appearance;
}
