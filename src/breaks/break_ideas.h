#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The ideas of what to do in a break, in the data folder; the file is optional.
inline constexpr char kBreakIdeasFile[] = "breakideas.txt";
// The most characters (Unicode code points) of an idea the break dialog shows.
inline constexpr std::size_t kMaxIdeaCharacters = 200;

// The ideas of breakideas.txt in the order they stand, each as the break dialog shows it: one a
// line, trimmed; blank lines and lines whose first character after the blanks is '#' are left out.
std::vector<std::string> ReadBreakIdeas(std::string_view fileBytes);

// An idea of at most kMaxIdeaCharacters: a longer one is cut after its last whole word that fits
// (between two characters when no word ends in the second half) and ended by "…".
std::string ShownIdea(std::string_view idea);

// Which idea each break shows: the next one in turn, one a break.
class CBreakIdeaTurn {
public:
    // The idea for a break starting at a time (seconds since 1970); empty when there is none,
    // which leaves the turn where it was.
    std::string Next(const std::vector<std::string>& ideas, std::int64_t now);

private:
    // Where the turn stands, from the run's first break with ideas on; kept in memory only.
    std::optional<std::uint64_t> m_nPosition;
};
