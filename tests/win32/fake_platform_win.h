#pragma once
#include "platform/platform_win.h"
#include "platform/text_win.h"

#include <cctype>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

// A Platform that records what the program asked of the system and answers from a script,
// so that a test reads as a story: what the user did, what the program showed, played and wrote.
class FakePlatform final : public Platform {
public:
    struct MessageBoxCall {
        HWND owner;
        std::string text;
        std::string caption;
        UINT flags;
    };
    struct TrayCall {
        DWORD action;
        UINT flags;
        HICON icon;
        std::string tip;
        UINT callbackMessage;
        // The notification's fields, which the shell reads only with NIF_INFO.
        std::string infoTitle;
        std::string info;
        DWORD infoFlags;
        HICON balloonIcon;
    };
    struct TimerCall {
        UINT_PTR id;
        UINT periodMs;
    };

    std::int64_t Now() override { return now; }
    std::uint32_t TickCount() override { return tickCount; }
    std::optional<std::uint32_t> LastInputTick() override { return lastInputTick; }

    int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags) override
    {
        messageBoxes.push_back({owner, text, caption, flags});
        // What the user or the system does while the box's own message loop runs.
        if (whileBoxOpen) {
            auto action = std::move(whileBoxOpen);
            whileBoxOpen = nullptr;
            action();
        }
        if (answers.empty())
            return (flags & MB_TYPEMASK) == MB_YESNO ? IDYES : IDOK;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void PlaySoundFile(const std::string& fileName) override { soundsPlayed.push_back(fileName); }
    std::optional<std::string> ChooseFileToOpen(HWND, const std::string& filterLabel,
                                                const std::string& filterPattern) override
    {
        fileFilters.push_back(filterLabel + "|" + filterPattern);
        return chosenFile;
    }
    std::optional<std::string> ChooseFileToSave(HWND, const std::string&, const std::string&,
                                                const std::string&) override
    {
        return chosenSaveFile;
    }
    std::string EnvironmentVariable(const std::string& name) override
    {
        const auto found = environment.find(name);
        return found == environment.end() ? std::string() : found->second;
    }
    void WriteDiagnostic(const std::string& text) override { diagnostics += text; }
    std::optional<std::string> ReadWholeFile(const std::string& name) override
    {
        const auto found = files.find(name);
        if (found == files.end() || unreadableFiles.count(name))
            return std::nullopt;
        return found->second;
    }
    bool FileExists(const std::string& name) override { return files.count(name) || unreadableFiles.count(name); }
    bool ReplaceWholeFile(const std::string& name, const std::string& bytes) override
    {
        if (unwritableFiles.count(name))
            return false;
        files[name] = bytes;
        ++writes[name];
        return true;
    }
    bool NotifyIcon(DWORD action, const NOTIFYICONDATAW& icon) override
    {
        trayCalls.push_back({action, icon.uFlags, icon.hIcon, Narrow(icon.szTip), icon.uCallbackMessage,
                             Narrow(icon.szInfoTitle), Narrow(icon.szInfo), icon.dwInfoFlags, icon.hBalloonIcon});
        return refusedTrayActions.count(action) == 0;
    }
    PrivilegeChange SetShutdownPrivilege(bool enabled) override
    {
        sessionCalls.push_back(enabled ? "enable privilege" : "disable privilege");
        return privilegeChange;
    }
    bool RequestSessionEnd(unsigned flags, unsigned reason) override
    {
        sessionCalls.push_back("end session " + std::to_string(flags) + " reason " + std::to_string(reason));
        // What the program had done by the time the system took the request.
        if (whileEndingSession) {
            auto action = std::move(whileEndingSession);
            whileEndingSession = nullptr;
            action();
        }
        return sessionEndAccepted;
    }
    void OpenUrl(const std::string& url) override { urlsOpened.push_back(url); }
    void SetWindowTimer(HWND, UINT_PTR id, UINT periodMs) override
    {
        timersSet.push_back({id, periodMs});
        activeTimers[id] = periodMs;
    }
    void KillWindowTimer(HWND, UINT_PTR id) override
    {
        timersKilled.push_back(id);
        activeTimers.erase(id);
    }

    // The lock keys are used from the light show's worker thread, so they are behind a mutex.
    bool IsLockKeyOn(int virtualKey) override
    {
        std::lock_guard lock(keyboardMutex);
        return lockKeysOn[virtualKey];
    }
    void PressKey(int virtualKey) override
    {
        std::lock_guard lock(keyboardMutex);
        keyboardCalls.push_back("press " + LockKeyName(virtualKey));
        if (pressesShowAfterASleep)
            pendingPresses.push_back(virtualKey);
        else
            lockKeysOn[virtualKey] = !lockKeysOn[virtualKey];
        keyboardChanged.notify_all();
    }
    // Returns at once, so a whole light show takes no time, except at the sleep numbered
    // holdAtSleep, where the caller is held until woken, as if caught in the middle of the show.
    bool SleepUnlessWoken(HANDLE wakeEvent, DWORD ms) override
    {
        std::unique_lock lock(keyboardMutex);
        keyboardCalls.push_back("sleep " + std::to_string(ms));
        keyboardChanged.notify_all();
        if (++sleeps != holdAtSleep) {
            const bool woken = wakeEvent && WaitForSingleObject(wakeEvent, 0) == WAIT_OBJECT_0;
            // A sleep that ran its course lets the presses before it show.
            if (!woken)
                ShowPendingPresses();
            return woken;
        }
        held = true;
        keyboardChanged.notify_all();
        lock.unlock();
        // Bounded, so that a wake that never comes fails the test instead of hanging it.
        constexpr DWORD kLongestHoldMs = 60000;
        const bool woken = WaitForSingleObject(wakeEvent, kLongestHoldMs) == WAIT_OBJECT_0;
        return woken && !heldSleepRunsItsCourse;
    }

    QuietState ReadQuietState() override
    {
        ++quietStateReads;
        return quietState;
    }
    bool DisplayRequired() override { return displayRequired; }
    int FirstDayOfWeek() override { return firstDayOfWeek; }
    std::string UserInterfaceLanguage() override { return userInterfaceLanguage; }
    std::vector<std::string> FilesMatching(const std::string& pattern) override
    {
        std::vector<std::string> names;
        for (const auto& [name, bytes] : files) {
            if (Matches(name, pattern))
                names.push_back(name);
        }
        return names;
    }
    // A name against a pattern of * and ?, ignoring case as Windows does.
    static bool Matches(std::string_view name, std::string_view pattern)
    {
        if (pattern.empty())
            return name.empty();
        if (pattern[0] == '*')
            return Matches(name, pattern.substr(1)) || (!name.empty() && Matches(name.substr(1), pattern));
        const auto lower = [](char c) { return std::tolower(static_cast<unsigned char>(c)); };
        return !name.empty() && (pattern[0] == '?' || lower(name[0]) == lower(pattern[0])) &&
               Matches(name.substr(1), pattern.substr(1));
    }
    // The translations built into the test program, which has the program's resources.
    std::optional<std::string> BuiltInTranslation(const std::string& language) override
    {
        return Win32Platform().BuiltInTranslation(language);
    }

    std::string DataFolderIdentity() override { return dataFolder; }
    KelvaroLookup LookForKelvaro(const std::string& objectName) override
    {
        lookups.push_back(objectName);
        return lookup;
    }
    bool ClaimKelvaro(const std::string& objectName) override
    {
        claims.push_back(objectName);
        return claimGranted;
    }
    void AnnounceKelvaroWindow(HWND window) override { announcedWindows.push_back(window); }
    std::optional<std::uint64_t> SendCommand(HWND window, const std::string& channelName,
                                             const std::string& command) override
    {
        commandsSent.push_back(command);
        commandWindows.push_back(window);
        commandChannels.push_back(channelName);
        return commandReply;
    }
    bool WriteLine(const std::string& text) override
    {
        if (!hasConsole)
            return false;
        linesWritten.push_back(text);
        return true;
    }
    bool RegisterShortcut(HWND, int id, const Shortcut& shortcut) override
    {
        if (shortcutsOfOtherPrograms.count(ShortcutText(shortcut)))
            return false;
        registeredShortcuts[id] = ShortcutText(shortcut);
        return true;
    }
    void UnregisterShortcut(HWND, int id) override { registeredShortcuts.erase(id); }
    PeerIdentity OwnIdentity() override { return ownIdentity; }
    bool OpenCommandChannel(const std::string& name, HWND window, UINT message) override
    {
        channelsOpened.push_back(name);
        channelWindow = window;
        channelMessage = message;
        return true;
    }
    std::optional<ChannelCommand> TakeChannelCommand() override { return std::exchange(waitingCommand, std::nullopt); }
    void AnswerChannelCommand(std::optional<std::uint64_t> reply) override { channelAnswers.push_back(reply); }
    void CloseCommandChannel(std::uint64_t lastAnswer) override
    {
        channelClosedWith = lastAnswer;
        channelWindow = nullptr;
    }
    // A later start's command comes through the channel, which tells the window as its thread does.
    void CommandArrives(const std::string& command, const PeerIdentity& caller)
    {
        waitingCommand = ChannelCommand{command, caller};
        PostMessageW(channelWindow, channelMessage, 0, 0);
    }
    std::vector<MonitorArea> Monitors() override { return monitors; }
    ScreenPoint PointerPosition() override { return pointer; }
    SystemAppearance ReadSystemAppearance() override { return appearance; }

    // The user pressing a lock key: toggled, but not by the program.
    void UserPresses(int virtualKey)
    {
        std::lock_guard lock(keyboardMutex);
        lockKeysOn[virtualKey] = !lockKeysOn[virtualKey];
    }
    // The keys as they end up once every press has reached them.
    bool LockKeyEndsOn(int virtualKey)
    {
        std::lock_guard lock(keyboardMutex);
        ShowPendingPresses();
        return lockKeysOn[virtualKey];
    }
    std::vector<std::string> KeyboardCalls()
    {
        std::lock_guard lock(keyboardMutex);
        return keyboardCalls;
    }
    // Waits until the held sleep is reached or so many calls were made; false only after a minute.
    bool WaitUntilHeld()
    {
        return WaitForKeyboard([this] { return held; });
    }
    bool WaitForKeyboardCalls(size_t count)
    {
        return WaitForKeyboard([this, count] { return keyboardCalls.size() >= count; });
    }
    static std::string LockKeyName(int virtualKey)
    {
        switch (virtualKey) {
        case VK_NUMLOCK:
            return "Num";
        case VK_CAPITAL:
            return "Caps";
        case VK_SCROLL:
            return "Scroll";
        default:
            return std::to_string(virtualKey);
        }
    }

    std::int64_t now = 1165334400; // 2006-12-05 16:00:00 UTC
    std::uint32_t tickCount = 1000000;
    std::optional<std::uint32_t> lastInputTick = 1000000;
    std::deque<int> answers;
    std::function<void()> whileBoxOpen;
    std::optional<std::string> chosenFile;
    // The full path the user picks in the Save As dialog; nothing: Cancel.
    std::optional<std::string> chosenSaveFile;
    std::map<std::string, std::string> environment;
    std::map<std::string, std::string> files;
    std::map<std::string, int> unwritableFiles;
    // Files that exist but can't be read, as one held by another program.
    std::map<std::string, int> unreadableFiles;
    PrivilegeChange privilegeChange = PrivilegeChange::Made;
    bool sessionEndAccepted = true;
    std::function<void()> whileEndingSession;

    std::vector<MessageBoxCall> messageBoxes;
    std::vector<std::string> soundsPlayed;
    std::vector<std::string> fileFilters;
    std::string diagnostics;
    std::map<std::string, int> writes;
    std::vector<TrayCall> trayCalls;
    // What the shell refuses (NIM_ADD, NIM_MODIFY), as one without a notification area does.
    std::set<DWORD> refusedTrayActions;
    std::vector<TimerCall> timersSet;
    std::vector<UINT_PTR> timersKilled;
    std::map<UINT_PTR, UINT> activeTimers;
    // Privilege changes and session-end requests, in order.
    std::vector<std::string> sessionCalls;
    std::vector<std::string> urlsOpened;
    int holdAtSleep = 0;
    // The held sleep ends as if its time ran out at the moment it was woken: the caller doesn't
    // learn of the wake from it.
    bool heldSleepRunsItsCourse = false;
    // As on a real system, a program's key press reaches the states it reads only a moment later:
    // here, after the next sleep that is not cut short.
    bool pressesShowAfterASleep = false;
    // What ReadQuietState answers, and how often it was asked.
    QuietState quietState;
    int quietStateReads = 0;
    // A program keeps the display on.
    bool displayRequired = false;
    // The locale's first day of the week, 0 Monday ... 6 Sunday.
    int firstDayOfWeek = 0;
    std::string userInterfaceLanguage = "en-US";

    // The folder, the Kelvaro a start finds there and what it answers; what was looked for, claimed and sent.
    std::string dataFolder = "c:\\users\\ana\\kelvaro";
    KelvaroLookup lookup;
    bool claimGranted = true;
    std::optional<std::uint64_t> commandReply;
    std::vector<std::string> lookups;
    std::vector<std::string> claims;
    std::vector<HWND> announcedWindows;
    std::vector<std::string> commandsSent;
    std::vector<HWND> commandWindows;
    std::vector<std::string> commandChannels;
    // Who this program is; the channel opened, the command waiting in it and the answers it got,
    // and the last answer it was closed with.
    PeerIdentity ownIdentity{"S-1-5-21-1004336348-1177238915-682003330-1000", 1};
    std::vector<std::string> channelsOpened;
    HWND channelWindow = nullptr;
    UINT channelMessage = 0;
    std::optional<ChannelCommand> waitingCommand;
    std::vector<std::optional<std::uint64_t>> channelAnswers;
    std::optional<std::uint64_t> channelClosedWith;
    // Started from a console (or with its output redirected), and what it printed there.
    bool hasConsole = true;
    std::vector<std::string> linesWritten;
    // Shortcuts another program has registered; those Kelvaro registered, by id, as their text.
    std::set<std::string> shortcutsOfOtherPrograms;
    std::map<int, std::string> registeredShortcuts;
    // The monitors and the mouse pointer the system shows.
    std::vector<MonitorArea> monitors{{{0, 0, 1024, 768}, {0, 0, 1024, 738}, 96}};
    ScreenPoint pointer{512, 384};
    // What Windows says about its look: a light Windows without high contrast, as Wine is.
    SystemAppearance appearance;

private:
    void ShowPendingPresses()
    {
        for (int virtualKey : pendingPresses)
            lockKeysOn[virtualKey] = !lockKeysOn[virtualKey];
        pendingPresses.clear();
    }

    template <typename Condition> bool WaitForKeyboard(Condition condition)
    {
        std::unique_lock lock(keyboardMutex);
        return keyboardChanged.wait_for(lock, std::chrono::minutes(1), condition);
    }

    std::mutex keyboardMutex;
    std::condition_variable keyboardChanged;
    std::map<int, bool> lockKeysOn;
    std::vector<std::string> keyboardCalls;
    std::vector<int> pendingPresses;
    int sleeps = 0;
    bool held = false;
};
