#include "breaks/break_ideas.h"

#include "platform/text_chars.h"
#include "platform/text_decoding.h"

#include <algorithm>

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kEllipsis = "\xE2\x80\xA6";
constexpr char kCommentMark = '#';
constexpr std::int64_t kSecondsPerDay = 86400;
// A run's first break starts where eight breaks a day since 1970 would have got to, so that a
// user who starts Kelvaro every morning goes on through the ideas instead of seeing the first again.
constexpr std::uint64_t kBreaksPerDay = 8;

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && IsInlineBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsInlineBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// The byte where the character of that index (from 0) starts, or npos when the text is shorter.
std::size_t ByteOfCharacter(std::string_view text, std::size_t index)
{
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsUtf8Continuation(text[i]))
            continue;
        if (characters == index)
            return i;
        ++characters;
    }
    return std::string_view::npos;
}

} // namespace

std::string ShownIdea(std::string_view idea)
{
    if (ByteOfCharacter(idea, kMaxIdeaCharacters) == std::string_view::npos)
        return std::string(idea);
    std::string_view kept = idea.substr(0, ByteOfCharacter(idea, kMaxIdeaCharacters - 1));
    // After the last whole word, unless that drops half of it (a long word, a script without blanks).
    std::size_t wordsEnd = kept.size();
    while (wordsEnd > 0 && !IsInlineBlank(idea[wordsEnd]))
        --wordsEnd;
    if (wordsEnd > kept.size() / 2)
        kept = kept.substr(0, wordsEnd);
    while (!kept.empty() && IsInlineBlank(kept.back()))
        kept.remove_suffix(1);
    return std::string(kept) + std::string(kEllipsis);
}

std::vector<std::string> ReadBreakIdeas(std::string_view fileBytes)
{
    std::string text = DecodeTextFile(fileBytes);
    // A window shows nothing after a NUL; a UTF-16 file may carry a UTF-8 mark after its own.
    std::erase(text, '\0');
    std::string_view rest = text;
    if (rest.starts_with(kUtf8Mark))
        rest.remove_prefix(kUtf8Mark.size());
    std::vector<std::string> ideas;
    while (!rest.empty()) {
        const std::size_t end = std::min(rest.find_first_of("\r\n"), rest.size());
        const std::string_view line = TrimBlanks(rest.substr(0, end));
        rest.remove_prefix(std::min(end + 1, rest.size()));
        if (!line.empty() && line.front() != kCommentMark)
            ideas.push_back(ShownIdea(line));
    }
    return ideas;
}

std::string CBreakIdeaTurn::Next(const std::vector<std::string>& ideas, std::int64_t now)
{
    if (ideas.empty())
        return {};
    if (!m_nPosition)
        m_nPosition = static_cast<std::uint64_t>(std::max<std::int64_t>(now, 0) / kSecondsPerDay) * kBreaksPerDay;
    return ideas[(*m_nPosition)++ % ideas.size()];
}
