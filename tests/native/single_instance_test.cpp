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

TEST(SingleInstance, WhatAStartDoesWithTheKelvaroOfItsFolder)
{
    const std::string noKelvaro = "end, console or box warning \"No Kelvaro is running in this folder.\", exit 1";
    const std::string hung = "end, console or box warning \"The Kelvaro running in this folder does not answer.\", exit 3";
    const std::string usage = "end, console or box notice \"Usage: kelvaro.exe [command]\", exit 2";
    const struct {
        std::vector<std::string> arguments;
        RunningKelvaro running;
        std::string expected;
    } cases[] = {
        {{}, kNone, "run here, exit 0"},
        {{}, kAnswering, "send show, exit 0"},
        {{}, kHung,
         "end, box warning \"Kelvaro already runs in this folder but does not answer. Wait a moment and start it "
         "again, or end it in the Task Manager.\", exit 3"},
        {{"start"}, kNone, "run here, exit 0"},
        {{"start"}, kAnswering, "send start, exit 0"},
        {{"start"}, kHung, hung},
        {{"pause", "morning"}, kAnswering, "send pause morning, exit 0"},
        {{"status"}, kAnswering, "send status, exit 0"},
        {{"status"}, kNone, noKelvaro},
        {{"quit"}, kNone, noKelvaro},
        {{"break"}, kHung, hung},
        {{"help"}, kAnswering, usage},
        {{"help"}, kNone, usage},
        {{"sleep"}, kHung, "end, console or box warning \"Unknown command \"sleep\".\", exit 2"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Describe(DecideStart(ParseCommandLine(c.arguments), c.running)), c.expected) << c.expected;
    EXPECT_FALSE(AsksRunningKelvaro(ParseCommandLine({"help"})));
    EXPECT_FALSE(AsksRunningKelvaro(ParseCommandLine({"pause"})));
    EXPECT_TRUE(AsksRunningKelvaro(ParseCommandLine({})));
    // The usage follows what was wrong.
    EXPECT_EQ(DecideStart(ParseCommandLine({"sleep"}), kNone).message,
              "Unknown command \"sleep\".\n\n" + std::string(UsageText()));

    // What it tells once the command was handed over.
    const CommandReply paused{ReplyCode::Done, {true, 3600000, 15 * 60 + 30}};
    EXPECT_EQ(Describe(AfterReply(Command::Status, paused)),
              "end, console notice \"supervising, active today 01:00:00, reminders paused until 15:30\", exit 0");
    EXPECT_EQ(Describe(AfterReply(Command::Pause30, paused)), "end, exit 0");
    EXPECT_EQ(Describe(AfterReply(Command::Break, CommandReply{ReplyCode::Stopped, {}})),
              "end, console or box notice \"Kelvaro is stopped in this folder: start it first with \"kelvaro.exe "
              "start\".\", exit 0");
    EXPECT_EQ(Describe(AfterReply(Command::Status, std::nullopt)), hung);
    // Held while Kelvaro started, the command was never carried out: Kelvaro ended first.
    EXPECT_EQ(Describe(AfterReply(Command::Pause30, CommandReply{ReplyCode::NotDone, {true, 0, std::nullopt}})),
              "end, console or box warning \"Kelvaro ended before it carried out the command.\", exit 4");
    EXPECT_EQ(Describe(AfterReply(Command::Status, CommandReply{ReplyCode::NotDone, {}})),
              "end, console or box warning \"Kelvaro ended before it carried out the command.\", exit 4");
}

// What each command does in the running Kelvaro: the tray menu's command, the break, or nothing.
TEST(SingleInstance, WhatACommandDoesInEachState)
{
    constexpr ReplyCode kDone = ReplyCode::Done;
    constexpr ReplyCode kStopped = ReplyCode::Stopped;
    const struct {
        Command command;
        bool supervising;
        bool paused;
        int menuCommand;
        bool breakNow;
        ReplyCode reply;
    } cases[] = {
        {Command::Pause30, true, false, ID_TRAY_PAUSE_30_MINUTES, false, kDone},
        {Command::Pause120, true, true, ID_TRAY_PAUSE_2_HOURS, false, kDone},
        {Command::PauseMorning, false, false, 0, false, kStopped},
        {Command::Resume, true, true, ID_TRAY_RESUME, false, kDone},
        {Command::Resume, true, false, 0, false, kDone},
        {Command::Resume, false, false, 0, false, kStopped},
        {Command::Break, true, true, 0, true, kDone},
        {Command::Break, false, false, 0, false, kStopped},
        {Command::Start, false, false, ID_TRAY_START_STOP, false, kDone},
        {Command::Start, true, false, 0, false, kDone},
        {Command::Stop, true, true, ID_TRAY_START_STOP, false, kDone},
        {Command::Stop, false, false, 0, false, kDone},
        {Command::Show, false, false, ID_TRAY_OPEN, false, kDone},
        {Command::Quit, true, false, ID_TRAY_QUIT, false, kDone},
        {Command::Status, true, true, 0, false, kDone},
    };
    for (const auto& c : cases) {
        const CommandStep step = StepFor(c.command, c.supervising, c.paused);
        const std::string row = std::string(CommandText(c.command)) + (c.supervising ? " supervising" : " stopped");
        EXPECT_EQ(step.menuCommand, c.menuCommand) << row;
        EXPECT_EQ(step.breakNow, c.breakNow) << row;
        EXPECT_EQ(step.reply, c.reply) << row;
        EXPECT_EQ(step.bringToFront, c.command == Command::Show) << row;
    }
    EXPECT_EQ(PauseShortcutCommand(false), Command::Pause30);
    EXPECT_EQ(PauseShortcutCommand(true), Command::Resume);
}

TEST(SingleInstance, TheAnswerRoundTripsAndOthersAreNoAnswer)
{
    const CommandReply replies[] = {
        {ReplyCode::Done, {true, 3 * 3600000 + 45000, 15 * 60 + 30}},
        {ReplyCode::Stopped, {false, 0, std::nullopt}},
        {ReplyCode::Done, {true, std::numeric_limits<std::int32_t>::max(), 0}},
        {ReplyCode::Done, {false, 1, 24 * 60 - 1}},
        {ReplyCode::NotDone, {true, 5000, std::nullopt}},
    };
    for (const CommandReply& reply : replies)
        EXPECT_EQ(DecodeReply(EncodeReply(reply)), reply);
    const std::uint64_t done = EncodeReply({ReplyCode::Done, {}});
    const std::uint64_t others[] = {0, 1, done & 0x00FFFFFFFFFFFFFFull, (done & ~0xFFull) | 4,
                                    done | 1ull << 9 | 0x7FFull << 10, done | 1ull << 52};
    for (std::uint64_t other : others)
        EXPECT_FALSE(DecodeReply(other).has_value()) << std::hex << other;
}

TEST(SingleInstance, OneObjectNameForEverySpellingOfAFolder)
{
    const std::string name = InstanceObjectName("C:\\Users\\Ana\\Kelvaro");
    EXPECT_EQ(name.rfind("Local\\Kelvaro-", 0), 0u) << name;
    for (const char* same : {"c:\\users\\ana\\kelvaro", "C:/Users/Ana/Kelvaro/", "\\\\?\\c:\\users\\ana\\kelvaro\\\\"})
        EXPECT_EQ(InstanceObjectName(same), name) << same;
    for (const char* other : {"C:\\Users\\Ana\\Kelvaro2", "C:\\Users\\Ana", "D:\\Users\\Ana\\Kelvaro"})
        EXPECT_NE(InstanceObjectName(other), name) << other;
    EXPECT_EQ(InstanceObjectName("\\\\?\\UNC\\server\\share\\k"), InstanceObjectName("\\\\Server\\Share\\K"));

    // The channel: the folder's, in one session.
    const std::string channel = CommandChannelName("C:\\Users\\Ana\\Kelvaro", 1);
    EXPECT_EQ(channel, "\\\\.\\pipe\\Kelvaro-1-" + name.substr(name.find('-') + 1));
    EXPECT_EQ(CommandChannelName("c:/users/ana/kelvaro/", 1), channel);
    EXPECT_NE(CommandChannelName("C:\\Users\\Ana\\Kelvaro", 2), channel);
}

// A command is taken only from this user in this sign-in session, as the channel tells them.
TEST(SingleInstance, WhoseCommandsAreTaken)
{
    const std::string ana = "S-1-5-21-1004336348-1177238915-682003330-1000";
    const PeerIdentity ours{ana, 1};
    const struct {
        PeerIdentity caller;
        PeerIdentity ours;
        bool accepted;
        const char* row;
    } cases[] = {
        {{ana, 1}, ours, true, "same user, same session"},
        {{ana, 2}, ours, false, "same user in another session"},
        {{ana, 0}, ours, false, "a service's session"},
        {{"S-1-5-21-1004336348-1177238915-682003330-1001", 1}, ours, false, "another user in this session"},
        {{ana + "0", 1}, ours, false, "a SID that begins as ours"},
        {{"S-1-5-7", 1}, ours, false, "an anonymous caller"},
        {{"", 1}, ours, false, "a caller whose user the channel can't tell"},
        {{ana, std::nullopt}, ours, false, "a caller whose session the channel can't tell"},
        {{"", 1}, {"", 1}, false, "neither user told"},
        {{ana, std::nullopt}, {ana, std::nullopt}, false, "neither session told"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AcceptsCaller(c.caller, c.ours), c.accepted) << c.row;
}

} // namespace
