#pragma once
#include <optional>
#include <string>
#include <vector>

class Platform;

// A start of kelvaro.exe with its command line: takes up the user's language, finds the Kelvaro
// running in the current folder, hands it the command and tells the user what came of it. The exit
// code, or nothing when this process is to run as the folder's Kelvaro.
std::optional<int> RunCommandLine(Platform& platform, const std::vector<std::string>& arguments);

// The program's arguments after its own name, as UTF-8.
std::vector<std::string> ProgramArguments();
