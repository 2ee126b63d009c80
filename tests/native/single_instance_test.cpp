#include "app/single_instance.h"

#include "resources/resource_ids.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace {

// A decision in one line: what the start does, where its message goes, and its exit code.
std::string Describe(const StartDecision& d)
{
    std::string out = d.runHere ? "run here" : d.send ? "send " + std::string(CommandText(*d.send)) : "end";
    if (!d.message.empty()) {
        const char* places[] = {"console", "console or box", "box"};
        out += std::string(", ") + places[static_cast<int>(d.place)] + (d.problem ? " warning" : " notice") + " \"" +
               d.message.substr(0, d.message.find('\n')) + "\"";
    }
    return out + ", exit " + std::to_string(d.exitCode);
}

constexpr RunningKelvaro kNone = RunningKelvaro::None;
constexpr RunningKelvaro kAnswering = RunningKelvaro::Answering;
constexpr RunningKelvaro kHung = RunningKelvaro::NotAnswering;

TEST(SingleInstance, WhatASecondStartDoes)
{
    struct Case {
        std::vector<std::string> arguments;
        RunningKelvaro running;
        std::string expected;
    };
    const std::string usage = ", console or box notice \"Usage: kelvaro.exe [command]\", exit 2";
    const std::string noKelvaro = "end, console or box warning \"No Kelvaro is running in this folder.\", exit 1";
    const std::string notAnswering =
        "end, console or box warning \"The Kelvaro running in this folder does not answer.\", exit 3";
    const Case cases[] = {
        // Started without a command: Kelvaro runs here, or the running one opens its window.
        {{}, kNone, "run here, exit 0"},
        {{}, kAnswering, "send show, exit 0"},
        {{}, kHung,
         "end, box warning \"Kelvaro already runs in this folder but does not answer. Wait a moment and start it "
         "again, or end it in the Task Manager.\", exit 3"},
        // `start` starts Kelvaro as a plain start does, or starts the running one's supervision.
        {{"start"}, kNone, "run here, exit 0"},
        {{"start"}, kAnswering, "send start, exit 0"},
        {{"start"}, kHung, notAnswering},
        // Every other command goes to the running one.
        {{"pause", "30"}, kAnswering, "send pause 30, exit 0"},
        {{"pause", "morning"}, kAnswering, "send pause morning, exit 0"},
        {{"status"}, kAnswering, "send status, exit 0"},
        {{"quit"}, kAnswering, "send quit, exit 0"},
        {{"show"}, kAnswering, "send show, exit 0"},
        {{"status"}, kNone, noKelvaro},
        {{"quit"}, kNone, noKelvaro},
        {{"break"}, kHung, notAnswering},
        // help and wrong words: the usage, whatever runs.
        {{"help"}, kNone, "end" + usage},
        {{"help"}, kAnswering, "end" + usage},
        {{"pause"}, kAnswering,
         "end, console or box warning \"\"pause\" needs how long: 30, 60 or 120 minutes, or morning.\", exit 2"},
        {{"sleep"}, kHung, "end, console or box warning \"Unknown command \"sleep\".\", exit 2"},
    };
    for (const Case& c : cases) {
        const ParsedCommandLine line = ParseCommandLine(c.arguments);
        std::string joined;
        for (const std::string& argument : c.arguments)
            joined += argument + " ";
        EXPECT_EQ(Describe(DecideStart(line, c.running)), c.expected)
            << "[" << joined << "] with " << static_cast<int>(c.running);
        EXPECT_EQ(AsksRunningKelvaro(line), !DecideStart(line, kNone).message.ends_with(std::string(UsageText())))
            << joined;
    }
    // The usage follows the words' error.
    const StartDecision wrong = DecideStart(ParseCommandLine({"sleep"}), kNone);
    EXPECT_EQ(wrong.message, "Unknown command \"sleep\".\n\n" + std::string(UsageText()));
}

TEST(SingleInstance, WhatTheStartTellsOfTheAnswer)
{
    const KelvaroStatus paused{true, 3600000, 15 * 60 + 30};
    struct Case {
        Command sent;
        std::optional<CommandReply> reply;
        std::string expected;
    };
    const Case cases[] = {
        {Command::Status, CommandReply{ReplyCode::Done, paused},
         "end, console notice \"supervising, active today 01:00:00, reminders paused until 15:30\", exit 0"},
        {Command::Pause30, CommandReply{ReplyCode::Done, paused}, "end, exit 0"},
        {Command::Quit, CommandReply{ReplyCode::Done, {}}, "end, exit 0"},
        {Command::Break, CommandReply{ReplyCode::Stopped, {}},
         "end, console or box notice \"Kelvaro is stopped in this folder: start it first with \"kelvaro.exe "
         "start\".\", exit 0"},
        {Command::Status, std::nullopt,
         "end, console or box warning \"The Kelvaro running in this folder does not answer.\", exit 3"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Describe(AfterReply(c.sent, c.reply)), c.expected) << CommandText(c.sent);
}

// What each command does in the running Kelvaro: the tray menu's command, the break, or nothing.
TEST(SingleInstance, WhatACommandDoesInEachState)
{
    struct Case {
        Command command;
        bool supervising;
        bool paused;
        int menuCommand;
        bool breakNow;
        ReplyCode reply;
    };
    constexpr ReplyCode kDone = ReplyCode::Done;
    constexpr ReplyCode kStopped = ReplyCode::Stopped;
    const Case cases[] = {
        {Command::Pause30, true, false, ID_TRAY_PAUSE_30_MINUTES, false, kDone},
        {Command::Pause60, true, true, ID_TRAY_PAUSE_1_HOUR, false, kDone},
        {Command::Pause120, true, false, ID_TRAY_PAUSE_2_HOURS, false, kDone},
        {Command::PauseMorning, true, false, ID_TRAY_PAUSE_UNTIL_MORNING, false, kDone},
        {Command::Pause30, false, false, 0, false, kStopped},
        {Command::Resume, true, true, ID_TRAY_RESUME, false, kDone},
        {Command::Resume, true, false, 0, false, kDone},
        {Command::Resume, false, false, 0, false, kStopped},
        {Command::Break, true, false, 0, true, kDone},
        {Command::Break, true, true, 0, true, kDone},
        {Command::Break, false, false, 0, false, kStopped},
        {Command::Start, false, false, ID_TRAY_START_STOP, false, kDone},
        {Command::Start, true, false, 0, false, kDone},
        {Command::Stop, true, true, ID_TRAY_START_STOP, false, kDone},
        {Command::Stop, false, false, 0, false, kDone},
        {Command::Show, false, false, ID_TRAY_OPEN, false, kDone},
        {Command::Quit, true, false, ID_TRAY_QUIT, false, kDone},
        {Command::Quit, false, false, ID_TRAY_QUIT, false, kDone},
        {Command::Status, true, true, 0, false, kDone},
    };
    for (const Case& c : cases) {
        const CommandStep step = StepFor(c.command, c.supervising, c.paused);
        EXPECT_EQ(step.menuCommand, c.menuCommand) << CommandText(c.command) << " " << c.supervising << c.paused;
        EXPECT_EQ(step.breakNow, c.breakNow) << CommandText(c.command) << " " << c.supervising << c.paused;
        EXPECT_EQ(step.reply, c.reply) << CommandText(c.command) << " " << c.supervising << c.paused;
        EXPECT_EQ(step.bringToFront, c.command == Command::Show) << CommandText(c.command);
    }
    EXPECT_EQ(PauseShortcutCommand(false), Command::Pause30);
    EXPECT_EQ(PauseShortcutCommand(true), Command::Resume);
}

TEST(SingleInstance, TheAnswerRoundTripsAndOthersAreNoAnswer)
{
    const CommandReply replies[] = {
        {ReplyCode::Done, {true, 3 * 3600000 + 12 * 60000 + 45000, 15 * 60 + 30}},
        {ReplyCode::Stopped, {false, 0, std::nullopt}},
        {ReplyCode::Done, {true, std::numeric_limits<std::int32_t>::max(), 0}},
        {ReplyCode::Done, {false, 1, 24 * 60 - 1}},
    };
    for (const CommandReply& reply : replies) {
        const std::uint64_t result = EncodeReply(reply);
        EXPECT_NE(result, 0u);
        EXPECT_EQ(DecodeReply(result), reply) << std::hex << result;
    }
    // A negative count is sent as none.
    EXPECT_EQ(DecodeReply(EncodeReply({ReplyCode::Done, {true, -1, std::nullopt}}))->status.activeMs, 0);
    const std::uint64_t done = EncodeReply({ReplyCode::Done, {}});
    const std::uint64_t others[] = {0, 1, done & 0x00FFFFFFFFFFFFFFull, done & ~0xFFull, (done & ~0xFFull) | 3,
                                    done | 1ull << 9 | 0x7FFull << 10, done | 1ull << 52};
    for (std::uint64_t other : others)
        EXPECT_FALSE(DecodeReply(other).has_value()) << std::hex << other;
}

TEST(SingleInstance, OneObjectNameForEverySpellingOfAFolder)
{
    const std::string name = InstanceObjectName("C:\\Users\\Ana\\Kelvaro");
    EXPECT_TRUE(name.starts_with("Local\\Kelvaro-")) << name;
    EXPECT_EQ(name.size(), std::string("Local\\Kelvaro-").size() + 16);
    for (const char* same : {"c:\\users\\ana\\kelvaro", "C:\\USERS\\ANA\\KELVARO\\", "C:/Users/Ana/Kelvaro/",
                             "\\\\?\\C:\\Users\\Ana\\Kelvaro", "\\\\?\\c:\\users\\ana\\kelvaro\\\\"})
        EXPECT_EQ(InstanceObjectName(same), name) << same;
    for (const char* other : {"C:\\Users\\Ana\\Kelvaro2", "C:\\Users\\Ana", "D:\\Users\\Ana\\Kelvaro",
                              "C:\\Users\\Ana\\Kelvaro\\data"})
        EXPECT_NE(InstanceObjectName(other), name) << other;
    EXPECT_EQ(InstanceObjectName("\\\\?\\UNC\\server\\share\\k"), InstanceObjectName("\\\\Server\\Share\\K"));
    // Beyond ASCII the system lower-cases first; the name only tells the spellings apart.
    EXPECT_NE(InstanceObjectName("C:\\Dat\xC3\xA9n"), InstanceObjectName("C:\\Daten"));
}

} // namespace
