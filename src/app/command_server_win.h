#pragma once
#include "app/command_line.h"
#include "app/single_instance.h"

#include <windows.h>

class Platform;

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

// Takes the commands that later starts of kelvaro.exe in the same folder hand to this one.
class CCommandServer {
public:
    CCommandServer(Platform& platform, CommandHost& host) : m_platform(platform), m_host(host) {}

    // The main window takes commands from now on; null when it has gone.
    void Listen(HWND window);
    // A WM_COPYDATA: a command of a start in this user's session is carried out, then answered
    // (EncodeReply); anything else is answered 0.
    LRESULT OnCopyData(const COPYDATASTRUCT& data);
    // Carries out a command, from another start or a shortcut.
    ReplyCode CarryOut(Command command);

private:
    Platform& m_platform;
    CommandHost& m_host;
    HWND m_window = nullptr;
};
