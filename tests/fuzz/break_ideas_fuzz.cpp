// breakideas.txt as the break dialog reads it. Every idea is a line of the file with its blanks
// trimmed, or the start of one ended by "…"; none is empty, a comment or longer than the dialog shows.
#include "breaks/break_ideas.h"
#include "fuzz_check.h"
#include "platform/text_chars.h"
#include "platform/text_decoding.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace {

constexpr std::string_view kEllipsis = "\xE2\x80\xA6";

std::size_t Characters(std::string_view text)
{
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return !IsUtf8Continuation(c); }));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes = FuzzBytes(data, size);
    std::string decoded = DecodeTextFile(bytes);
    std::erase(decoded, '\0');
    const std::vector<std::string> ideas = ReadBreakIdeas(bytes);
    FUZZ_CHECK(ideas.size() <= static_cast<std::size_t>(std::count_if(decoded.begin(), decoded.end(), IsLineEnd)) + 1);
    for (const std::string& idea : ideas) {
        FUZZ_CHECK(!idea.empty() && idea.front() != '#');
        FUZZ_CHECK(!IsBlank(idea.front()) && !IsBlank(idea.back()));
        FUZZ_CHECK(std::none_of(idea.begin(), idea.end(), [](char c) { return IsLineEnd(c) || c == '\0'; }));
        FUZZ_CHECK(Characters(idea) <= kMaxIdeaCharacters);
        std::string_view line = idea;
        if (line.ends_with(kEllipsis))
            line.remove_suffix(kEllipsis.size());
        FUZZ_CHECK(decoded.find(line) != std::string::npos);
    }
    CBreakIdeaTurn turn;
    const std::string first = turn.Next(ideas, static_cast<std::int64_t>(size) * 86400);
    FUZZ_CHECK(ideas.empty() ? first.empty() : std::find(ideas.begin(), ideas.end(), first) != ideas.end());
    return 0;
}
