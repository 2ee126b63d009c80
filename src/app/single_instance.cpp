#include "app/single_instance.h"

#include "language/translation.h"
#include "platform/text_chars.h"
#include "resources/resource_ids.h"

#include <algorithm>
#include <cstdio>
#include <limits>

namespace {

// Named objects of one sign-in session; another session's Kelvaro is another user's.
constexpr std::string_view kObjectNamePrefix = "Local\\Kelvaro-";
// Pipes are named for the whole computer, not for a sign-in session.
constexpr std::string_view kChannelNamePrefix = "\\\\.\\pipe\\Kelvaro-";
constexpr std::string_view kLongPathPrefix = "\\\\?\\";
constexpr std::string_view kLongUncPrefix = "\\\\?\\unc\\";

constexpr std::uint64_t kFnvOffsetBasis = 14695981039346656037ULL;
constexpr std::uint64_t kFnvPrime = 1099511628211ULL;

// The reply's fields within the 64-bit result.
constexpr std::uint64_t kReplySignature = 0x4B;   // 'K'
constexpr int kSignatureShift = 56;
constexpr std::uint64_t kCodeMask = 0xFF;
constexpr int kSupervisingBit = 8;
constexpr int kPausedBit = 9;
constexpr int kPauseEndShift = 10;
constexpr std::uint64_t kPauseEndMask = 0x7FF;    // 11 bits for a minute of the day
constexpr int kActiveShift = 21;
constexpr std::uint64_t kActiveMask = 0xFFFFFFFF; // 32 bits of milliseconds
constexpr int kMinutesPerDay = 24 * 60;

constexpr const char* kNoKelvaro = TrLater("No Kelvaro is running in this folder.");
constexpr const char* kNotAnswering = TrLater("The Kelvaro running in this folder does not answer.");
constexpr const char* kSecondStartNotAnswering =
    TrLater("Kelvaro already runs in this folder but does not answer. Wait a moment and start it again, or end it in "
            "the Task Manager.");
constexpr const char* kNotDone = TrLater("Kelvaro ended before it carried out the command.");
constexpr const char* kStopped =
    TrLater("Kelvaro is stopped in this folder: start it first with \"kelvaro.exe start\".");

// The folder's full path as a hash, the same for every spelling of it.
std::string FolderHash(std::string_view folderPath)
{
    std::string path;
    for (char c : folderPath)
        path += c == '/' ? '\\' : AsciiLower(c);
    if (path.starts_with(kLongUncPrefix))
        path = "\\\\" + path.substr(kLongUncPrefix.size());
    else if (path.starts_with(kLongPathPrefix))
        path.erase(0, kLongPathPrefix.size());
    while (path.size() > 1 && path.back() == '\\')
        path.pop_back();
    std::uint64_t hash = kFnvOffsetBasis;
    for (char c : path) {
        hash ^= static_cast<unsigned char>(c);
        hash *= kFnvPrime;
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return hex;
}

StartDecision Told(std::string message, MessagePlace place, bool problem, int exitCode)
{
    StartDecision decision;
    decision.message = std::move(message);
    decision.place = place;
    decision.problem = problem;
    decision.exitCode = exitCode;
    return decision;
}

StartDecision Usage(const ParsedCommandLine& line)
{
    std::string text = line.error.empty() ? std::string() : line.error + "\n\n";
    text += UsageText();
    return Told(std::move(text), MessagePlace::ConsoleOrBox, !line.error.empty(), kExitUsage);
}

} // namespace

std::string InstanceObjectName(std::string_view folderPath)
{
    return std::string(kObjectNamePrefix) + FolderHash(folderPath);
}

std::string CommandChannelName(std::string_view folderPath, std::uint32_t session)
{
    return std::string(kChannelNamePrefix) + std::to_string(session) + '-' + FolderHash(folderPath);
}

bool AcceptsCaller(const PeerIdentity& caller, const PeerIdentity& ours)
{
    // Two programs of which the system tells nothing are not the same user.
    return !ours.user.empty() && ours.session && caller.user == ours.user && caller.session == ours.session;
}

bool AsksRunningKelvaro(const ParsedCommandLine& line)
{
    return line.error.empty() && line.command != Command::Help;
}

StartDecision DecideStart(const ParsedCommandLine& line, RunningKelvaro running)
{
    if (!AsksRunningKelvaro(line))
        return Usage(line);
    // A plain start, and `start`, run Kelvaro where none runs; otherwise they open or start the running one.
    const bool plainStart = !line.command;
    const bool starts = plainStart || line.command == Command::Start;
    switch (running) {
    case RunningKelvaro::None:
        if (starts) {
            StartDecision decision;
            decision.runHere = true;
            return decision;
        }
        return Told(Tr(kNoKelvaro), MessagePlace::ConsoleOrBox, true, kExitNoKelvaro);
    case RunningKelvaro::NotAnswering:
        if (plainStart)
            return Told(Tr(kSecondStartNotAnswering), MessagePlace::Box, true, kExitNotAnswering);
        return Told(Tr(kNotAnswering), MessagePlace::ConsoleOrBox, true, kExitNotAnswering);
    case RunningKelvaro::Answering:
        break;
    }
    StartDecision decision;
    decision.send = plainStart ? Command::Show : *line.command;
    return decision;
}

std::uint64_t EncodeReply(const CommandReply& reply)
{
    const KelvaroStatus& status = reply.status;
    const auto activeMs = static_cast<std::uint64_t>(std::max<std::int32_t>(status.activeMs, 0));
    const int pauseEnd = std::clamp(status.pausedUntilMinute.value_or(0), 0, kMinutesPerDay - 1);
    return kReplySignature << kSignatureShift | static_cast<std::uint64_t>(reply.code) |
           std::uint64_t{status.supervising} << kSupervisingBit |
           std::uint64_t{status.pausedUntilMinute.has_value()} << kPausedBit |
           static_cast<std::uint64_t>(pauseEnd) << kPauseEndShift | (activeMs & kActiveMask) << kActiveShift;
}

std::optional<CommandReply> DecodeReply(std::uint64_t result)
{
    const std::uint64_t code = result & kCodeMask;
    if (result >> kSignatureShift != kReplySignature || code < static_cast<std::uint64_t>(ReplyCode::Done) ||
        code > static_cast<std::uint64_t>(ReplyCode::NotDone))
        return std::nullopt;
    CommandReply reply;
    reply.code = static_cast<ReplyCode>(code);
    reply.status.supervising = (result >> kSupervisingBit & 1) != 0;
    const auto pauseEnd = static_cast<int>(result >> kPauseEndShift & kPauseEndMask);
    if ((result >> kPausedBit & 1) != 0) {
        if (pauseEnd >= kMinutesPerDay)
            return std::nullopt;
        reply.status.pausedUntilMinute = pauseEnd;
    }
    const auto activeMs = static_cast<std::uint32_t>(result >> kActiveShift & kActiveMask);
    if (activeMs > static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max()))
        return std::nullopt;
    reply.status.activeMs = static_cast<std::int32_t>(activeMs);
    return reply;
}

StartDecision AfterReply(Command sent, const std::optional<CommandReply>& reply)
{
    if (!reply)
        return Told(Tr(kNotAnswering), MessagePlace::ConsoleOrBox, true, kExitNotAnswering);
    if (reply->code == ReplyCode::NotDone)
        return Told(Tr(kNotDone), MessagePlace::ConsoleOrBox, true, kExitNotDone);
    if (reply->code == ReplyCode::Stopped)
        return Told(Tr(kStopped), MessagePlace::ConsoleOrBox, false, kExitDone);
    if (sent == Command::Status)
        return Told(StatusLine(reply->status), MessagePlace::ConsoleOnly, false, kExitDone);
    return {};
}

CommandStep StepFor(Command command, bool supervising, bool paused)
{
    CommandStep step;
    // The tray menu offers its pauses only while Kelvaro supervises; a break is supervision's too.
    const auto whileSupervising = [&](int menuCommand) {
        if (supervising)
            step.menuCommand = menuCommand;
        else
            step.reply = ReplyCode::Stopped;
    };
    switch (command) {
    case Command::Pause30:
        whileSupervising(ID_TRAY_PAUSE_30_MINUTES);
        break;
    case Command::Pause60:
        whileSupervising(ID_TRAY_PAUSE_1_HOUR);
        break;
    case Command::Pause120:
        whileSupervising(ID_TRAY_PAUSE_2_HOURS);
        break;
    case Command::PauseMorning:
        whileSupervising(ID_TRAY_PAUSE_UNTIL_MORNING);
        break;
    case Command::Resume:
        // Without a pause there is nothing to resume, as the menu then has no such entry.
        whileSupervising(paused ? ID_TRAY_RESUME : 0);
        break;
    case Command::Break:
        whileSupervising(0);
        step.breakNow = supervising;
        break;
    case Command::Start:
        step.menuCommand = supervising ? 0 : ID_TRAY_START_STOP;
        break;
    case Command::Stop:
        step.menuCommand = supervising ? ID_TRAY_START_STOP : 0;
        break;
    case Command::Show:
        step.menuCommand = ID_TRAY_OPEN;
        step.bringToFront = true;
        break;
    case Command::Quit:
        step.menuCommand = ID_TRAY_QUIT;
        break;
    case Command::Status:
    case Command::Help:
        break;
    }
    return step;
}

Command PauseShortcutCommand(bool paused)
{
    return paused ? Command::Resume : Command::Pause30;
}
