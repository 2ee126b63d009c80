#pragma once
#include <windows.h>
#include <shellapi.h>

#include "app/hotkey_text.h"
#include "app/single_instance.h"
#include "breaks/break_covers.h"
#include "appearance/theme_choice.h"
#include "messages/quiet_signals.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// How an adjustment of the shutdown privilege went.
enum class PrivilegeChange { Made, TokenNotOpened, NotAdjusted };

// The Kelvaro running in a folder as a start finds it, with its main window while it answers.
struct KelvaroLookup {
    RunningKelvaro state = RunningKelvaro::None;
    HWND window = nullptr;
};

// A command that came through the command channel, with who sent it as the channel proves it.
struct ChannelCommand {
    std::string command;
    PeerIdentity caller;
};

class CCommandPipe;

// Everything the program asks of the system. The shell holds one; tests swap in a recording fake.
class Platform {
public:
    virtual ~Platform() = default;

    // Seconds since 1970-01-01 UTC.
    virtual std::int64_t Now() = 0;
    // Milliseconds since the system started; wraps after about 49.7 days.
    virtual std::uint32_t TickCount() = 0;
    // Tick count of the session's last keyboard or mouse input, or nothing when the system can't tell.
    virtual std::optional<std::uint32_t> LastInputTick() = 0;

    // Shows a modal message box (MB_* flags) and returns the button pressed (IDOK, IDYES, ...).
    virtual int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags) = 0;
    // Starts playing a wave file by name and returns at once; a missing file plays the default sound.
    virtual void PlaySoundFile(const std::string& fileName) = 0;
    // Asks the user for an existing file with one filter entry; the full path, or nothing when cancelled.
    virtual std::optional<std::string> ChooseFileToOpen(HWND owner, const std::string& filterLabel,
                                                        const std::string& filterPattern) = 0;
    // Asks the user where to save a file, offering a name whose extension is added to a name typed
    // without one, and asking before an existing file is replaced; the full path, or nothing when cancelled.
    virtual std::optional<std::string> ChooseFileToSave(HWND owner, const std::string& filterLabel,
                                                        const std::string& filterPattern,
                                                        const std::string& suggestedName) = 0;

    // Value of an environment variable, empty when it is not set.
    virtual std::string EnvironmentVariable(const std::string& name) = 0;
    // Writes a diagnostic line to the standard output stream (which shows nowhere in a windowed program).
    virtual void WriteDiagnostic(const std::string& text) = 0;

    // The whole content of a file of the current directory, or nothing when it can't be opened.
    virtual std::optional<std::string> ReadWholeFile(const std::string& name) = 0;
    // Whether a file of the current directory exists, readable or not.
    virtual bool FileExists(const std::string& name) = 0;
    // Replaces a file of the current directory atomically; false when it can't be written.
    virtual bool ReplaceWholeFile(const std::string& name, const std::string& bytes) = 0;

    // Adds, modifies or deletes a notification-area icon (NIM_ADD, NIM_MODIFY, NIM_DELETE).
    virtual bool NotifyIcon(DWORD action, const NOTIFYICONDATAW& icon) = 0;

    // Enables or disables the process's right to shut the computer down.
    virtual PrivilegeChange SetShutdownPrivilege(bool enabled) = 0;
    // Asks the system to end the session (EWX_ flags, reason code); false when it refuses at once.
    // Other programs may still refuse to close afterwards, and the session then goes on.
    virtual bool RequestSessionEnd(unsigned flags, unsigned reason) = 0;
    // Opens a web address in the user's default browser; a failure shows nothing.
    virtual void OpenUrl(const std::string& url) = 0;

    // Starts or restarts a window timer; a refused timer simply never ticks.
    virtual void SetWindowTimer(HWND window, UINT_PTR id, UINT periodMs) = 0;
    virtual void KillWindowTimer(HWND window, UINT_PTR id) = 0;

    // The light show calls these three from its own thread.
    // Whether a lock key (VK_NUMLOCK, VK_CAPITAL, VK_SCROLL) is toggled on in the system right now,
    // also when asked from a thread that owns no window.
    virtual bool IsLockKeyOn(int virtualKey) = 0;
    // Presses and releases a lock key once, as the keyboard would, which toggles it system-wide.
    virtual void PressKey(int virtualKey) = 0;
    // Sleeps the calling thread for the given time, or less when the event (if any) is or becomes
    // signalled; true when the event cut the sleep short.
    virtual bool SleepUnlessWoken(HANDLE wakeEvent, DWORD ms) = 0;

    // What the system tells about interrupting the user now; each signal that can't be read counts as absent.
    virtual QuietState ReadQuietState() = 0;
    // Whether a program asks the system to keep the display on (a film or a slide show plays);
    // false when the system can't tell.
    virtual bool DisplayRequired() = 0;

    // The first day of the week in the user's locale: 0 Monday ... 6 Sunday; Monday when it can't be read.
    virtual int FirstDayOfWeek() = 0;

    // Windows' user-interface language as a BCP-47 tag ("de-DE"); empty when it can't be read.
    virtual std::string UserInterfaceLanguage() = 0;
    // The names of the current directory's files that match a pattern of * and ?.
    virtual std::vector<std::string> FilesMatching(const std::string& pattern) = 0;
    // The PO file of a language built into the program, or nothing for one that isn't.
    virtual std::optional<std::string> BuiltInTranslation(const std::string& language) = 0;

    // The current directory as one text for every spelling of it: its full path, lower-cased.
    virtual std::string DataFolderIdentity() = 0;
    // Finds the Kelvaro that claimed the named object, waiting up to 5 seconds for one that is
    // starting or ending, and asks whether its window answers.
    virtual KelvaroLookup LookForKelvaro(const std::string& objectName) = 0;
    // Claims the named object for this process, for its whole run; false when another process has
    // it. Where named objects can't be made at all, Kelvaro runs as it always did: true.
    virtual bool ClaimKelvaro(const std::string& objectName) = 0;
    // Tells a start that finds the claimed object which window takes its commands; null when it has gone.
    virtual void AnnounceKelvaroWindow(HWND window) = 0;
    // Hands a command's text to the running Kelvaro through its command channel and waits while it
    // carries it out; its answer, or nothing when it hung up or its window stopped answering for 5 seconds.
    virtual std::optional<std::uint64_t> SendCommand(HWND window, const std::string& channelName,
                                                     const std::string& command) = 0;
    // Writes a line to the standard output when it is redirected (a pipe or a file), else to the
    // console the program was started from; false when there is none.
    virtual bool WriteLine(const std::string& text) = 0;

    // Registers a shortcut for the whole system, heard by the window as WM_HOTKEY with the id;
    // false when another program holds it.
    virtual bool RegisterShortcut(HWND window, int id, const Shortcut& shortcut) = 0;
    virtual void UnregisterShortcut(HWND window, int id) = 0;

    // This program's user and sign-in session.
    virtual PeerIdentity OwnIdentity() = 0;
    // Opens the command channel under its name, which only this user's programs on this computer can
    // open, and posts `message` to the window whenever a command waits there; false when it can't be opened.
    virtual bool OpenCommandChannel(const std::string& name, HWND window, UINT message) = 0;
    // Takes the command that waits, once; nothing when none waits.
    virtual std::optional<ChannelCommand> TakeChannelCommand() = 0;
    // Answers the command taken (EncodeReply), or hangs up on it without an answer (nothing).
    virtual void AnswerChannelCommand(std::optional<std::uint64_t> reply) = 0;
    // Closes the channel; a command that came and has no answer yet gets `lastAnswer`.
    virtual void CloseCommandChannel(std::uint64_t lastAnswer) = 0;
    // The monitors as the system lays them out now, each with its whole rectangle, its work area
    // and its DPI; the primary screen alone when they can't be listed.
    virtual std::vector<MonitorArea> Monitors() = 0;
    // Where the mouse pointer is on the virtual screen; the primary monitor's corner when the
    // system can't tell (another desktop has the input).
    virtual ScreenPoint PointerPosition() = 0;
    // What Windows says about its look: the apps' and the taskbar's light or dark mode, and high
    // contrast with its scheme's window colour.
    virtual SystemAppearance ReadSystemAppearance() = 0;
};

// The system's own implementation.
class Win32Platform : public Platform {
public:
    Win32Platform();
    ~Win32Platform() override;
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

    std::int64_t Now() override;
    std::uint32_t TickCount() override;
    std::optional<std::uint32_t> LastInputTick() override;
    int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags) override;
    void PlaySoundFile(const std::string& fileName) override;
    std::optional<std::string> ChooseFileToOpen(HWND owner, const std::string& filterLabel,
                                                const std::string& filterPattern) override;
    std::optional<std::string> ChooseFileToSave(HWND owner, const std::string& filterLabel,
                                                const std::string& filterPattern,
                                                const std::string& suggestedName) override;
    std::string EnvironmentVariable(const std::string& name) override;
    void WriteDiagnostic(const std::string& text) override;
    std::optional<std::string> ReadWholeFile(const std::string& name) override;
    bool FileExists(const std::string& name) override;
    bool ReplaceWholeFile(const std::string& name, const std::string& bytes) override;
    bool NotifyIcon(DWORD action, const NOTIFYICONDATAW& icon) override;
    PrivilegeChange SetShutdownPrivilege(bool enabled) override;
    bool RequestSessionEnd(unsigned flags, unsigned reason) override;
    void OpenUrl(const std::string& url) override;
    void SetWindowTimer(HWND window, UINT_PTR id, UINT periodMs) override;
    void KillWindowTimer(HWND window, UINT_PTR id) override;
    bool IsLockKeyOn(int virtualKey) override;
    void PressKey(int virtualKey) override;
    bool SleepUnlessWoken(HANDLE wakeEvent, DWORD ms) override;
    QuietState ReadQuietState() override;
    bool DisplayRequired() override;
    int FirstDayOfWeek() override;
    std::string UserInterfaceLanguage() override;
    std::vector<std::string> FilesMatching(const std::string& pattern) override;
    std::optional<std::string> BuiltInTranslation(const std::string& language) override;
    std::string DataFolderIdentity() override;
    KelvaroLookup LookForKelvaro(const std::string& objectName) override;
    bool ClaimKelvaro(const std::string& objectName) override;
    void AnnounceKelvaroWindow(HWND window) override;
    std::optional<std::uint64_t> SendCommand(HWND window, const std::string& channelName,
                                             const std::string& command) override;
    bool WriteLine(const std::string& text) override;
    bool RegisterShortcut(HWND window, int id, const Shortcut& shortcut) override;
    void UnregisterShortcut(HWND window, int id) override;
    PeerIdentity OwnIdentity() override;
    bool OpenCommandChannel(const std::string& name, HWND window, UINT message) override;
    std::optional<ChannelCommand> TakeChannelCommand() override;
    void AnswerChannelCommand(std::optional<std::uint64_t> reply) override;
    void CloseCommandChannel(std::uint64_t lastAnswer) override;
    std::vector<MonitorArea> Monitors() override;
    ScreenPoint PointerPosition() override;
    SystemAppearance ReadSystemAppearance() override;

private:
    // The claimed object and its view, where the main window's handle is announced.
    HANDLE m_hClaim = nullptr;
    void* m_pClaimView = nullptr;
    // Attached to the console of the process that started this one: 0 not tried, 1 attached, -1 none.
    int m_nConsole = 0;
    // The command channel while it is open.
    std::unique_ptr<CCommandPipe> m_pCommandPipe;
};
