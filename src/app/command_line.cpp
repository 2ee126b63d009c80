#include "app/command_line.h"

#include "activity/activity_monitor.h"
#include "activity/calendar.h"
#include "language/text_format.h"
#include "language/translation.h"
#include "platform/text_chars.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<std::string_view, Command>, 12> kCommands = {{
    {"pause 30", Command::Pause30},
    {"pause 60", Command::Pause60},
    {"pause 120", Command::Pause120},
    {"pause morning", Command::PauseMorning},
    {"resume", Command::Resume},
    {"break", Command::Break},
    {"start", Command::Start},
    {"stop", Command::Stop},
    {"show", Command::Show},
    {"quit", Command::Quit},
    {"status", Command::Status},
    {"help", Command::Help},
}};

constexpr std::string_view kPauseWord = "pause";

std::string Lowered(std::string_view word)
{
    std::string lowered(word);
    std::transform(lowered.begin(), lowered.end(), lowered.begin(), AsciiLower);
    return lowered;
}

std::vector<std::string> Words(const std::vector<std::string>& arguments)
{
    std::vector<std::string> words;
    for (const std::string& argument : arguments) {
        for (std::string_view word : SplitWords(argument))
            words.emplace_back(word);
    }
    return words;
}

std::string Formatted(const char* format, std::string_view word)
{
    // A word of a command line is shown at most this long: it is quoted, not a text to read.
    constexpr std::size_t kLongestShownWord = 40;
    std::size_t length = std::min<std::size_t>(word.size(), kLongestShownWord);
    // Cut between characters, never inside one.
    while (length < word.size() && length > 0 && IsUtf8Continuation(word[length]))
        --length;
    return FillText(Tr(format), {word.substr(0, length)});
}

ParsedCommandLine Wrong(std::string error)
{
    ParsedCommandLine line;
    line.error = std::move(error);
    return line;
}

} // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments)
{
    const std::vector<std::string> words = Words(arguments);
    if (words.empty())
        return {};
    const std::string first = Lowered(words[0]);
    if (first == kPauseWord) {
        if (words.size() == 1)
            return Wrong(Tr("\"pause\" needs how long: 30, 60 or 120 minutes, or morning."));
        const std::string command = first + ' ' + Lowered(words[1]);
        const auto found = std::find_if(kCommands.begin(), kCommands.end(),
                                        [&command](const auto& known) { return known.first == command; });
        if (found == kCommands.end())
            return Wrong(Formatted(TrLater("Kelvaro pauses for 30, 60 or 120 minutes or until the morning, not \"%s\"."),
                                   words[1]));
        if (words.size() > 2)
            return Wrong(Formatted(TrLater("\"%s\" takes nothing after it."), command));
        return {found->second, {}};
    }
    for (const auto& [text, known] : kCommands) {
        if (text != first)
            continue;
        if (words.size() > 1)
            return Wrong(Formatted(TrLater("\"%s\" takes nothing after it."), first));
        return {known, {}};
    }
    return Wrong(Formatted(TrLater("Unknown command \"%s\"."), words[0]));
}

std::string_view CommandText(Command command)
{
    for (const auto& [text, known] : kCommands) {
        if (known == command)
            return text;
    }
    return {};
}

std::string_view UsageText()
{
    return Tr("Usage: kelvaro.exe [command]\n"
           "Without a command Kelvaro starts, or opens the Kelvaro already running in this folder.\n"
           "Commands to the Kelvaro running in this folder:\n"
           "  pause 30, pause 60, pause 120   pause reminders for so many minutes\n"
           "  pause morning                   pause reminders until tomorrow morning\n"
           "  resume                          resume reminders\n"
           "  break                           take a break now\n"
           "  start                           start supervising (or start Kelvaro)\n"
           "  stop                            stop supervising\n"
           "  show                            open Kelvaro's window\n"
           "  quit                            quit Kelvaro, saving its files\n"
           "  status                          print what Kelvaro is doing\n"
           "  help                            print this text\n"
           "Exit codes: 0 done, 1 no Kelvaro runs in this folder, 2 no command (this text), "
           "3 Kelvaro did not answer, 4 Kelvaro ended before doing it.");
}

std::string StatusLine(const KelvaroStatus& status)
{
    const ActiveTimeTexts active = FormatActiveTimeTexts(SplitForDisplay(status.activeMs));
    if (status.pausedUntilMinute) {
        const std::string until = FormatClockTime(*status.pausedUntilMinute);
        return FillText(status.supervising ? Tr("supervising, active today %s, reminders paused until %s")
                                           : Tr("stopped, active today %s, reminders paused until %s"),
                        {active.time, until});
    }
    return FillText(status.supervising ? Tr("supervising, active today %s") : Tr("stopped, active today %s"),
                    {active.time});
}
