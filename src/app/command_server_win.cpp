#include "app/command_server_win.h"

#include "platform/platform_win.h"

namespace {
// The longest command's text, with room to spare; anything longer is no command.
constexpr DWORD kLongestCommand = 64;
} // namespace

void CCommandServer::Listen(HWND window)
{
    m_window = window;
    m_platform.AnnounceKelvaroWindow(window);
}

LRESULT CCommandServer::OnCopyData(const COPYDATASTRUCT& data)
{
    // The sender names its process in dwData; another user's program is not obeyed.
    if (!m_window || !data.lpData || data.cbData == 0 || data.cbData > kLongestCommand ||
        data.dwData > MAXDWORD || !m_platform.SameUserSession(static_cast<std::uint32_t>(data.dwData)))
        return 0;
    const ParsedCommandLine line =
        ParseCommandLine({std::string(static_cast<const char*>(data.lpData), data.cbData)});
    if (!line.command || *line.command == Command::Help)
        return 0;
    const ReplyCode code = CarryOut(*line.command);
    const auto result = static_cast<LRESULT>(EncodeReply({code, m_host.Supervision()}));
    // A Quit has destroyed the window by now, and with it the dialog's way of answering.
    ReplyMessage(result);
    return result;
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
