#include "platform/quiet_signals_win.h"

#include "platform/system_function_win.h"
#include "platform/text_win.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>
#include <string>

namespace {

static_assert(kRegistryQwordType == REG_QWORD);

// Both looked up at run time, so that a system without one (Windows 7 has no WNF) reads its signal
// as absent instead of refusing to start the program.
using QueryUserNotificationStateFunction = HRESULT(WINAPI*)(int* state);
struct WnfStateName {
    ULONG data[2];
};
using QueryWnfStateDataFunction = LONG(NTAPI*)(const WnfStateName* stateName, const GUID* typeId,
                                               const void* explicitScope, ULONG* changeStamp, void* buffer,
                                               ULONG* bufferSize);

// WNF_SHEL_QUIETHOURS_ACTIVE_PROFILE_CHANGED, which holds Focus Assist's profile.
constexpr WnfStateName kFocusAssistProfileState = {{0xA3BF1C75, 0x0D83063E}};

constexpr wchar_t kConsentStore[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\CapabilityAccessManager\\ConsentStore";
constexpr std::array<const wchar_t*, 2> kCallCapabilities = {L"webcam", L"microphone"};
// Desktop programs' entries are one level further down than packaged apps'.
constexpr wchar_t kNonPackaged[] = L"NonPackaged";
// A registry key's name is at most 255 characters.
constexpr DWORD kLongestKeyName = 256;
// A window class's name is at most 256 characters.
constexpr int kLongestClassName = 257;

// An open registry key, closed when it goes.
class RegistryKey {
public:
    RegistryKey(HKEY parent, const wchar_t* path)
    {
        // The 64-bit view of HKEY_LOCAL_MACHINE, should the program ever be built for 32 bits.
        if (RegOpenKeyExW(parent, path, 0, KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS | KEY_WOW64_64KEY, &m_hKey) !=
            ERROR_SUCCESS)
            m_hKey = nullptr;
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    ~RegistryKey()
    {
        if (m_hKey)
            RegCloseKey(m_hKey);
    }
    explicit operator bool() const { return m_hKey != nullptr; }
    HKEY Handle() const { return m_hKey; }

private:
    HKEY m_hKey = nullptr;
};

// The foreground window as the system describes it; its class name is kept in the string given.
std::optional<ForegroundWindowFacts> ReadForegroundWindow(std::string& className)
{
    HWND window = GetForegroundWindow();
    RECT windowRect{};
    if (!window || !GetWindowRect(window, &windowRect))
        return std::nullopt;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    HMONITOR monitorHandle = MonitorFromWindow(window, MONITOR_DEFAULTTONULL);
    if (!monitorHandle || !GetMonitorInfoW(monitorHandle, &monitor))
        return std::nullopt;
    wchar_t wideClassName[kLongestClassName] = {};
    const int classNameLength = GetClassNameW(window, wideClassName, kLongestClassName);
    className = Narrow({wideClassName, static_cast<size_t>(classNameLength > 0 ? classNameLength : 0)});
    return ForegroundWindowFactsOf(windowRect, monitor, static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)),
                                   className, window == GetShellWindow());
}

std::optional<int> ReadShellNotificationState()
{
    static const auto query =
        SystemFunction<QueryUserNotificationStateFunction>(L"shell32.dll", "SHQueryUserNotificationState");
    int state = 0;
    if (!query || FAILED(query(&state)))
        return std::nullopt;
    return state;
}

// Focus Assist's state data, in the buffer given; empty when it can't be read.
std::span<const std::uint8_t> ReadFocusAssistProfile(std::array<std::uint8_t, sizeof(DWORD)>& profile)
{
    static const auto query = SystemFunction<QueryWnfStateDataFunction>(L"ntdll.dll", "NtQueryWnfStateData");
    if (!query)
        return {};
    ULONG changeStamp = 0;
    ULONG size = static_cast<ULONG>(profile.size());
    if (query(&kFocusAssistProfileState, nullptr, nullptr, &changeStamp, profile.data(), &size) < 0)
        return {};
    return std::span(profile).first(std::min<size_t>(size, profile.size()));
}

// One of a capability-store entry's times: nothing when it is missing, or too long to be one.
std::optional<RegistryValue> ReadTime(HKEY entry, const wchar_t* name,
                                      std::array<std::uint8_t, sizeof(ULONGLONG)>& buffer)
{
    DWORD type = REG_NONE;
    DWORD size = static_cast<DWORD>(buffer.size());
    if (RegQueryValueExW(entry, name, nullptr, &type, buffer.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    return RegistryValue{type, std::span(buffer).first(std::min<size_t>(size, buffer.size()))};
}

bool EntryInUse(HKEY parent, const wchar_t* name)
{
    const RegistryKey entry(parent, name);
    if (!entry)
        return false;
    std::array<std::uint8_t, sizeof(ULONGLONG)> start{};
    std::array<std::uint8_t, sizeof(ULONGLONG)> stop{};
    return CapabilityInUse(ReadTime(entry.Handle(), L"LastUsedTimeStart", start),
                           ReadTime(entry.Handle(), L"LastUsedTimeStop", stop));
}

// Whether the test holds for a subkey of the key, given its name; a name too long for a key's is skipped.
template <typename Test> bool AnySubkey(HKEY key, Test test)
{
    wchar_t name[kLongestKeyName];
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = kLongestKeyName;
        const LSTATUS result = RegEnumKeyExW(key, index, name, &nameLength, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_MORE_DATA)
            continue;
        if (result != ERROR_SUCCESS)
            return false;
        if (test(static_cast<const wchar_t*>(name)))
            return true;
    }
}

// Whether a packaged app, or a desktop program under NonPackaged, uses the capability now.
bool AnyProgramUses(HKEY capability)
{
    return AnySubkey(capability, [capability](const wchar_t* name) {
        if (CompareStringOrdinal(name, -1, kNonPackaged, -1, TRUE) != CSTR_EQUAL)
            return EntryInUse(capability, name);
        const RegistryKey programs(capability, name);
        return programs && AnySubkey(programs.Handle(), [&programs](const wchar_t* program) {
                   return EntryInUse(programs.Handle(), program);
               });
    });
}

bool CameraOrMicrophoneInUse()
{
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        const RegistryKey store(root, kConsentStore);
        if (!store)
            continue;
        for (const wchar_t* capability : kCallCapabilities) {
            const RegistryKey entries(store.Handle(), capability);
            if (entries && AnyProgramUses(entries.Handle()))
                return true;
        }
    }
    return false;
}

} // namespace

ForegroundWindowFacts ForegroundWindowFactsOf(const RECT& window, const MONITORINFO& monitor, DWORD style,
                                              std::string_view className, bool isShellWindow)
{
    return ForegroundWindowFacts{
        {window.left, window.top, window.right, window.bottom},
        {monitor.rcMonitor.left, monitor.rcMonitor.top, monitor.rcMonitor.right, monitor.rcMonitor.bottom},
        (style & WS_CAPTION) == WS_CAPTION,
        className,
        isShellWindow,
    };
}

QuietState ReadSystemQuietState()
{
    std::string className;
    std::array<std::uint8_t, sizeof(DWORD)> focusAssistProfile{};
    return QuietStateOf({
        ReadShellNotificationState(),
        ReadForegroundWindow(className),
        ReadFocusAssistProfile(focusAssistProfile),
        CameraOrMicrophoneInUse(),
    });
}
