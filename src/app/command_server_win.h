#pragma once
#include "app/command_line.h"
#include "app/single_instance.h"

#include <windows.h>

class Platform;

// Posted to the main window by the command channel when a command waits there.
constexpr UINT WM_CHANNEL_COMMAND = WM_APP + 1002;

// What the commands of other starts and the keyboard shortcuts ask of the main window: its state,
// and the same paths as the tray menu's commands and the heads-up's "Start now".
class CommandHost {
public:
    virtual KelvaroStatus Supervision() = 0;
    // Runs a command of the tray menu as a click on its entry does.
    virtual void RunMenuCommand(int id) = 0;
    // Opens the break dialog at once, as "Start now" does.
    virtual void TakeBreakNow() = 0;

protected:
    ~CommandHost() = default;
};

// Takes the commands that later starts of kelvaro.exe in the same folder hand to this one through
// the command channel, from this user's programs in this sign-in session only.
class CCommandServer {
public:
    CCommandServer(Platform& platform, CommandHost& host) : m_platform(platform), m_host(host) {}

    // The main window takes commands from now on: the channel opens and a later start finds the
    // window. Null when the window has gone: the channel closes, and a command it still holds is
    // answered as not carried out.
    void Listen(HWND window);
    // Set-up has ended: a command that came meanwhile, and every later one, is carried out.
    void Ready();
    // WM_CHANNEL_COMMAND: a command waits in the channel.
    void OnChannelCommand();
    // Carries out a command, from another start or a shortcut.
    ReplyCode CarryOut(Command command);

private:
    void CloseChannel();

    Platform& m_platform;
    CommandHost& m_host;
    HWND m_window = nullptr;
    PeerIdentity m_self;
    bool m_bReady = false;
    // A command of the channel is being carried out (its boxes run nested message loops).
    bool m_bCarryingOut = false;
    bool m_bChannelOpen = false;
};
