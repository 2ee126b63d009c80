#pragma once
// The command line of kelvaro.exe: the commands a start hands to the Kelvaro already running in
// its folder, what such a start does in each state, and the texts it prints. The shell only finds
// the running one, hands the command over and prints.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A command to the Kelvaro running in the folder; each does what its menu entry or button does.
enum class Command {
    Pause30,      // the tray's "Pause reminders" entries
    Pause60,
    Pause120,
    PauseMorning,
    Resume,       // "Resume reminders"
    Break,        // the break dialog at once, as the heads-up's "Start now"
    Start,        // Start when stopped; nothing while supervising
    Stop,         // Stop while supervising; nothing when stopped
    Show,         // "Open Kelvaro"
    Quit,         // "Quit", which saves first
    Status,       // one line: supervising or not, today's active time, the pause
    Help,         // the usage
};

// The words of a command line, read case-insensitively, however the blanks split them into arguments.
struct ParsedCommandLine {
    // Nothing for a start without a command (or when the words are no command: then `error` says why).
    std::optional<Command> command;
    std::string error;
};
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// The command as the grammar writes it, "pause 30"; read back by ParseCommandLine.
std::string_view CommandText(Command command);

// The usage, printed by `help` and after a command line that is no command.
std::string_view UsageText();

// What the Kelvaro running in the folder tells of itself.
struct KelvaroStatus {
    bool supervising = false;
    std::int32_t activeMs = 0;                // today's count as the main window shows it
    std::optional<int> pausedUntilMinute;     // the pause's end, minutes after local midnight
    bool operator==(const KelvaroStatus&) const = default;
};

// "supervising, active today 03:12:45, reminders paused until 15:30".
std::string StatusLine(const KelvaroStatus& status);

// The exit codes of kelvaro.exe.
constexpr int kExitDone = 0;
constexpr int kExitNoKelvaro = 1;       // a command, and no Kelvaro runs in the folder
constexpr int kExitUsage = 2;           // help, or words that are no command
constexpr int kExitNotAnswering = 3;    // the Kelvaro of the folder did not answer within 5 seconds
constexpr int kExitNotDone = 4;         // the Kelvaro of the folder ended before it carried the command out
