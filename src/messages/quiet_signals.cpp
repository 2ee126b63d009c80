#include "messages/quiet_signals.h"

#include <array>

namespace {

// Windows that cover a monitor without being a program: the shell's desktop and taskbars, and the
// system's own desktop window (#32769), which is the foreground window when no shell runs, as under Wine.
constexpr std::array<std::string_view, 5> kDesktopClassNames = {"Progman", "WorkerW", "Shell_TrayWnd",
                                                                "Shell_SecondaryTrayWnd", "#32769"};

// QUERY_USER_NOTIFICATION_STATE's values that tell something.
constexpr int kShellBusy = 2;
constexpr int kShellDirect3DFullScreen = 3;
constexpr int kShellPresentationMode = 4;
constexpr int kShellFullScreenStoreApp = 7;

// Focus Assist's profiles other than off.
constexpr std::uint32_t kFocusPriorityOnly = 1;
constexpr std::uint32_t kFocusAlarmsOnly = 2;

// The value of little-endian bytes, the registry's and the system's order, on any machine.
template <typename Value> std::optional<Value> LittleEndianValue(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() != sizeof(Value))
        return std::nullopt;
    Value value = 0;
    for (size_t i = bytes.size(); i-- > 0;)
        value = static_cast<Value>(value << 8U) | bytes[i];
    return value;
}

std::optional<std::uint64_t> FileTimeOf(const std::optional<RegistryValue>& value)
{
    if (!value || value->type != kRegistryQwordType)
        return std::nullopt;
    return LittleEndianValue<std::uint64_t>(value->bytes);
}

} // namespace

bool IsFullScreenWindow(const ForegroundWindowFacts& facts)
{
    const ScreenRect& window = facts.window;
    const ScreenRect& monitor = facts.monitor;
    const bool monitorKnown = monitor.right > monitor.left && monitor.bottom > monitor.top;
    const bool isMonitor = window.left == monitor.left && window.top == monitor.top && window.right == monitor.right &&
                           window.bottom == monitor.bottom;
    if (!monitorKnown || !isMonitor || facts.hasCaption || facts.isShellWindow)
        return false;
    for (const std::string_view desktopClass : kDesktopClassNames) {
        if (facts.className == desktopClass)
            return false;
    }
    return true;
}

bool CapabilityInUse(const std::optional<RegistryValue>& lastUsedStart,
                     const std::optional<RegistryValue>& lastUsedStop)
{
    const std::optional<std::uint64_t> start = FileTimeOf(lastUsedStart);
    const std::optional<std::uint64_t> stop = FileTimeOf(lastUsedStop);
    return start && *start != 0 && stop && *stop == 0;
}

QuietState QuietStateOf(const QuietReadings& readings)
{
    QuietState state;
    if (const std::optional<int> shell = readings.notificationState) {
        state.fullScreen =
            *shell == kShellBusy || *shell == kShellDirect3DFullScreen || *shell == kShellFullScreenStoreApp;
        state.presenting = *shell == kShellPresentationMode;
    }
    if (readings.foregroundWindow && IsFullScreenWindow(*readings.foregroundWindow))
        state.fullScreen = true;
    const std::optional<std::uint32_t> profile = LittleEndianValue<std::uint32_t>(readings.focusAssistProfile);
    state.focusAssist = profile && (*profile == kFocusPriorityOnly || *profile == kFocusAlarmsOnly);
    state.inCall = readings.cameraOrMicrophoneInUse;
    return state;
}
