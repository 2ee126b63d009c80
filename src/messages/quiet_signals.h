#pragma once
#include "messages/popup_geometry.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

// What the system tells about interrupting the user now.
struct QuietState {
    bool fullScreen = false;  // a full-screen program or game
    bool presenting = false;  // presentation mode
    bool focusAssist = false; // Focus Assist / Do not disturb
    bool inCall = false;      // a camera or a microphone in use
    bool Busy() const { return fullScreen || presenting || focusAssist || inCall; }
    bool PresentingOrInCall() const { return presenting || inCall; }
    bool operator==(const QuietState&) const = default;
};

// The foreground window as the system describes it, in screen pixels.
struct ForegroundWindowFacts {
    ScreenRect window;
    ScreenRect monitor; // the whole monitor the window is mostly on, taskbar included
    bool hasCaption = false;
    std::string_view className; // UTF-8
    bool isShellWindow = false; // the shell's desktop window (GetShellWindow), whatever its class
};

// Whether the foreground window is a full-screen program: its rectangle is exactly its monitor's,
// it has no caption, and it is not the desktop or the taskbar. On a monitor without a taskbar a
// maximised window keeps its caption, or with a sizing frame reaches past every edge.
bool IsFullScreenWindow(const ForegroundWindowFacts& facts);

// The registry's type of a 64-bit little-endian value (REG_QWORD), which the capability store's
// FILETIMEs have.
constexpr std::uint32_t kRegistryQwordType = 11;

// A registry value as it was read: its type and its bytes.
struct RegistryValue {
    std::uint32_t type = 0;
    std::span<const std::uint8_t> bytes;
};

// Whether the program of one capability-store entry uses the camera or the microphone now:
// it started (LastUsedTimeStart non-zero) and hasn't stopped (LastUsedTimeStop zero). A time
// missing, of another type or of another size tells nothing, so "not in use"; older systems
// write no stop time at all.
bool CapabilityInUse(const std::optional<RegistryValue>& lastUsedStart,
                     const std::optional<RegistryValue>& lastUsedStop);

// Every signal as the system gave it; one that couldn't be read is left empty.
struct QuietReadings {
    // The shell's QUERY_USER_NOTIFICATION_STATE.
    std::optional<int> notificationState = std::nullopt;
    // Nothing when there is no foreground window or its monitor can't be told.
    std::optional<ForegroundWindowFacts> foregroundWindow = std::nullopt;
    // Focus Assist's state data: a DWORD profile, 0 off, 1 priority only, 2 alarms only.
    std::span<const std::uint8_t> focusAssistProfile = {};
    // Whether some program's capability-store entry says it uses the camera or the microphone now.
    bool cameraOrMicrophoneInUse = false;
};

// What the readings tell together. The shell's state says full screen or presenting (its other
// states say nothing); a full-screen foreground window says full screen, which the shell misses
// on some systems; Focus Assist is on at a known profile other than off, of the right size.
QuietState QuietStateOf(const QuietReadings& readings);
