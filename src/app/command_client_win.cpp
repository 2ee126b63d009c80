#include "app/command_client_win.h"

#include "app/single_instance.h"
#include "language/program_language_win.h"
#include "platform/platform_win.h"
#include "platform/text_win.h"

#include <shellapi.h>

namespace {

// Two starts at once: the one that didn't claim the folder first finds the other's window.
constexpr int kClaimAttempts = 2;

int Tell(Platform& platform, const StartDecision& decision)
{
    if (decision.message.empty())
        return decision.exitCode;
    const bool printed = decision.place != MessagePlace::Box && platform.WriteLine(decision.message);
    if (!printed && decision.place != MessagePlace::ConsoleOnly)
        platform.ShowMessageBox(nullptr, decision.message, "Kelvaro",
                                MB_OK | (decision.problem ? MB_ICONEXCLAMATION : MB_ICONINFORMATION));
    return decision.exitCode;
}

} // namespace

std::optional<int> RunCommandLine(Platform& platform, const std::vector<std::string>& arguments)
{
    // Every text of the start, the usage and the status line among them, is made in the user's language.
    SpeakProgramLanguage(platform);
    const ParsedCommandLine line = ParseCommandLine(arguments);
    if (!AsksRunningKelvaro(line))
        return Tell(platform, DecideStart(line, RunningKelvaro::None));
    const std::string folder = platform.DataFolderIdentity();
    const std::string objectName = InstanceObjectName(folder);
    for (int attempt = 1;; ++attempt) {
        const KelvaroLookup found = platform.LookForKelvaro(objectName);
        const StartDecision decision = DecideStart(line, found.state);
        if (decision.runHere) {
            if (platform.ClaimKelvaro(objectName))
                return std::nullopt;
            if (attempt < kClaimAttempts)
                continue;
            return Tell(platform, DecideStart(line, RunningKelvaro::NotAnswering));
        }
        if (!decision.send)
            return Tell(platform, decision);
        const std::optional<std::uint64_t> result =
            platform.SendCommand(found.window, CommandChannelName(folder, platform.OwnIdentity().session.value_or(0)),
                                 std::string(CommandText(*decision.send)));
        return Tell(platform, AfterReply(*decision.send, result ? DecodeReply(*result) : std::nullopt));
    }
}

std::vector<std::string> ProgramArguments()
{
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> words;
    for (int index = 1; arguments && index < count; ++index)
        words.push_back(Narrow(arguments[index]));
    if (arguments)
        LocalFree(arguments);
    return words;
}
