#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace {

// What a command line reads as: the command's text, "plain start" for none, or the error.
std::string Read(const std::vector<std::string>& arguments)
{
    const ParsedCommandLine line = ParseCommandLine(arguments);
    if (!line.error.empty())
        return line.command ? "both?" : "error: " + line.error;
    return line.command ? std::string(CommandText(*line.command)) : "plain start";
}

TEST(CommandLine, Grammar)
{
    const std::string wrongPause = "error: Kelvaro pauses for 30, 60 or 120 minutes or until the morning, not ";
    const struct {
        std::vector<std::string> arguments;
        std::string read;
    } cases[] = {
        {{}, "plain start"},
        {{"", "  "}, "plain start"},
        // Case, and blanks however the shell split the words.
        {{"PAUSE", "Morning"}, "pause morning"},
        {{" pause  30 "}, "pause 30"},
        {{"pause\t60"}, "pause 60"},
        {{"pause", "", "120"}, "pause 120"},
        {{"Status"}, "status"},
        // Missing, wrong and extra numbers and words.
        {{"pause"}, "error: \"pause\" needs how long: 30, 60 or 120 minutes, or morning."},
        {{"pause", "45"}, wrongPause + "\"45\"."},
        {{"pause", "030"}, wrongPause + "\"030\"."},
        {{"pause", "45", "x"}, wrongPause + "\"45\"."},
        {{"pause", "30", "minutes"}, "error: \"pause 30\" takes nothing after it."},
        {{"STOP", "now"}, "error: \"stop\" takes nothing after it."},
        {{"30"}, "error: Unknown command \"30\"."},
        {{"paus", "30"}, "error: Unknown command \"paus\"."},
        // A long word is shown cut between its characters.
        {{std::string(39, 'x') + "\xC3\xA9"}, "error: Unknown command \"" + std::string(39, 'x') + "\"."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Read(c.arguments), c.read) << c.read;
}

// Every command reads back from its text and is in the usage, with every exit code.
TEST(CommandLine, TheUsageNamesEveryCommandAndExitCode)
{
    const std::string_view usage = UsageText();
    for (int index = 0; index <= static_cast<int>(Command::Help); ++index) {
        const auto command = static_cast<Command>(index);
        EXPECT_EQ(ParseCommandLine({std::string(CommandText(command))}).command, command) << index;
        std::string word(CommandText(command));
        if (word.starts_with("pause ") && word != "pause morning")
            word = word.substr(6); // listed as "pause 30, pause 60, pause 120"
        EXPECT_NE(usage.find(word), std::string_view::npos) << word;
    }
    for (const char* code : {"0 done", "1 no Kelvaro runs in this folder", "2 no command", "3 Kelvaro did not answer",
                             "4 Kelvaro ended before doing it"})
        EXPECT_NE(usage.find(code), std::string_view::npos) << code;
}

TEST(CommandLine, StatusLine)
{
    const struct {
        KelvaroStatus status;
        std::string_view line;
    } cases[] = {
        {{true, 3 * 3600000 + 12 * 60000 + 45999, 15 * 60 + 30},
         "supervising, active today 03:12:45, reminders paused until 15:30"},
        {{true, 0, std::nullopt}, "supervising, active today 00:00:00"},
        {{false, 125 * 3600000, 6 * 60}, "stopped, active today 125:00:00, reminders paused until 06:00"},
        {{false, -5000, std::nullopt}, "stopped, active today 00:00:00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StatusLine(c.status), c.line);
}

} // namespace
