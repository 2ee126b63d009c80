#pragma once
// One Kelvaro per data folder: what a start of kelvaro.exe does about the one already running
// there, what a command does in the running one, and the answer it gives back.

#include "app/command_line.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// A Kelvaro that hasn't answered for this long is taken for hung.
constexpr std::uint32_t kAnswerWithinMs = 5000;

// The name of the object through which the Kelvaro of a folder is found: the same for every
// spelling of the folder's full path (case, slashes, a closing separator, the \\?\ prefix).
// Letters beyond ASCII are lower-cased by the system before.
std::string InstanceObjectName(std::string_view folderPath);

// The name of the channel through which the Kelvaro of a folder takes the commands of its sign-in
// session: one per folder as InstanceObjectName, and one per session, as pipes are named for the
// whole computer.
std::string CommandChannelName(std::string_view folderPath, std::uint32_t session);

// A program as the system tells who runs it.
struct PeerIdentity {
    std::string user;                     // its user's SID, "S-1-5-21-..."; empty when the system can't tell
    std::optional<std::uint32_t> session; // its sign-in session; nothing when the system can't tell
    bool operator==(const PeerIdentity&) const = default;
};
// Whether Kelvaro takes a command from the program at the channel's other end: only from its own
// user in its own sign-in session, as the channel proves them; one it can't tell is refused.
bool AcceptsCaller(const PeerIdentity& caller, const PeerIdentity& ours);

// The Kelvaro running in the folder, as a start finds it.
enum class RunningKelvaro { None, Answering, NotAnswering };

// Where a start's message goes: the console it was started from (or its redirected standard
// output); without one, in a box, or nowhere.
enum class MessagePlace { ConsoleOnly, ConsoleOrBox, Box };

struct StartDecision {
    bool runHere = false;              // this process becomes the folder's Kelvaro
    std::optional<Command> send;       // hand this command to the running one
    std::string message;               // told to the user; empty for nothing
    MessagePlace place = MessagePlace::ConsoleOrBox;
    bool problem = false;              // the box warns rather than informs
    int exitCode = kExitDone;
};

// Whether the start needs to know the running Kelvaro: help and wrong words don't.
bool AsksRunningKelvaro(const ParsedCommandLine& line);
// What a start does with its command line, given the Kelvaro running in its folder.
StartDecision DecideStart(const ParsedCommandLine& line, RunningKelvaro running);

// How the running Kelvaro took a command.
enum class ReplyCode : std::uint8_t {
    Done = 1,
    Stopped = 2, // a pause, a resume or a break while Kelvaro doesn't supervise: nothing happened
    NotDone = 3, // Kelvaro ended before it carried the command out, while it started or afterwards
};
struct CommandReply {
    ReplyCode code = ReplyCode::Done;
    KelvaroStatus status; // after the command
    bool operator==(const CommandReply&) const = default;
};
// The answer as a window message's result, never 0 (which a window gives to what it doesn't know).
std::uint64_t EncodeReply(const CommandReply& reply);
// Nothing for a result that is no answer of Kelvaro's.
std::optional<CommandReply> DecodeReply(std::uint64_t result);

// What the start tells once the command was handed over, or nothing came back.
StartDecision AfterReply(Command sent, const std::optional<CommandReply>& reply);

// What a command does in the running Kelvaro: the menu command it stands for (0 for none), or
// the break as the heads-up's "Start now" opens it.
struct CommandStep {
    int menuCommand = 0;
    bool breakNow = false;
    bool bringToFront = false; // the window comes in front of the others, as after the tray menu
    ReplyCode reply = ReplyCode::Done;
};
CommandStep StepFor(Command command, bool supervising, bool paused);

// The shortcut "Pause or resume reminders": a pause of 30 minutes, or the end of the running pause.
Command PauseShortcutCommand(bool paused);
