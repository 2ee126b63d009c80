#include "app/command_server_win.h"

#include "platform/platform_win.h"

void CCommandServer::Listen(HWND window)
{
    m_window = window;
    if (window && !m_bChannelOpen) {
        m_self = m_platform.OwnIdentity();
        // Opened before the window is told of, so that a start that finds the window finds the channel too.
        m_bChannelOpen = m_platform.OpenCommandChannel(
            CommandChannelName(m_platform.DataFolderIdentity(), m_self.session.value_or(0)), window, WM_CHANNEL_COMMAND);
    }
    m_platform.AnnounceKelvaroWindow(window);
    // A Quit carried out for the channel is answered before the channel closes.
    if (!window && !m_bCarryingOut)
        CloseChannel();
}

void CCommandServer::Ready()
{
    m_bReady = true;
    // A command that came meanwhile is carried out from the message loop, once set-up has returned.
    if (m_window)
        PostMessageW(m_window, WM_CHANNEL_COMMAND, 0, 0);
}

void CCommandServer::OnChannelCommand()
{
    // Until set-up has ended the command waits in the channel; one carried out waits for its own end.
    if (!m_bReady || m_bCarryingOut || !m_window)
        return;
    const std::optional<ChannelCommand> request = m_platform.TakeChannelCommand();
    if (!request)
        return;
    const ParsedCommandLine line = ParseCommandLine({request->command});
    if (!AcceptsCaller(request->caller, m_self) || !line.command || *line.command == Command::Help) {
        m_platform.AnswerChannelCommand(std::nullopt);
        return;
    }
    m_bCarryingOut = true;
    const ReplyCode code = CarryOut(*line.command);
    m_bCarryingOut = false;
    m_platform.AnswerChannelCommand(EncodeReply({code, m_host.Supervision()}));
    if (!m_window)
        CloseChannel();
}

ReplyCode CCommandServer::CarryOut(Command command)
{
    const KelvaroStatus now = m_host.Supervision();
    const CommandStep step = StepFor(command, now.supervising, now.pausedUntilMinute.has_value());
    if (step.menuCommand != 0)
        m_host.RunMenuCommand(step.menuCommand);
    if (step.breakNow)
        m_host.TakeBreakNow();
    // As after the tray menu, which brings the window to the foreground before its command.
    if (step.bringToFront && m_window && IsWindow(m_window))
        SetForegroundWindow(m_window);
    return step.reply;
}

void CCommandServer::CloseChannel()
{
    if (!m_bChannelOpen)
        return;
    m_bChannelOpen = false;
    m_platform.CloseCommandChannel(EncodeReply({ReplyCode::NotDone, m_host.Supervision()}));
}
