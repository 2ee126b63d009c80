#include "language/text_format.h"

#include <algorithm>

namespace {

// Walks the pattern and hands each piece of the filled text to append.
template <typename Append>
void Fill(std::string_view pattern, std::initializer_list<std::string_view> values, Append append)
{
    const std::string_view* const first = values.begin();
    std::size_t next = 0;
    std::size_t at = 0;
    while (at < pattern.size()) {
        const std::size_t percent = pattern.find('%', at);
        append(pattern.substr(at, percent - at));
        if (percent == std::string_view::npos)
            return;
        const std::string_view rest = pattern.substr(percent + 1);
        std::size_t index = values.size();
        std::size_t length = 0; // of the placeholder after its percent sign
        if (rest.starts_with('%')) {
            append("%");
            at = percent + 2;
            continue;
        }
        if (!rest.empty() && (rest[0] == 's' || rest[0] == 'd')) {
            index = next++;
            length = 1;
        } else if (rest.size() >= 3 && rest[0] >= '1' && rest[0] <= '9' && rest[1] == '$' &&
                   (rest[2] == 's' || rest[2] == 'd')) {
            index = static_cast<std::size_t>(rest[0] - '1');
            length = 3;
        }
        if (index < values.size()) {
            append(first[index]);
            at = percent + 1 + length;
        } else {
            append("%");
            at = percent + 1;
        }
    }
}

// The length of text without a character cut at its end.
std::size_t WholeCharacters(const char* text, std::size_t length)
{
    std::size_t start = length;
    while (start > 0 && (static_cast<unsigned char>(text[start - 1]) & 0xC0) == 0x80)
        --start;
    if (start == 0)
        return length;
    const auto lead = static_cast<unsigned char>(text[start - 1]);
    const std::size_t needed = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    return length - (start - 1) < needed ? start - 1 : length;
}

} // namespace

std::string FillText(std::string_view pattern, std::initializer_list<std::string_view> values)
{
    std::string text;
    Fill(pattern, values, [&text](std::string_view piece) { text += piece; });
    return text;
}

std::size_t FillTextInto(char* buffer, std::size_t size, std::string_view pattern,
                         std::initializer_list<std::string_view> values)
{
    if (size == 0)
        return 0;
    std::size_t length = 0;
    bool cut = false;
    Fill(pattern, values, [&](std::string_view piece) {
        const std::size_t taken = std::min(piece.size(), size - 1 - length);
        std::copy_n(piece.data(), taken, buffer + length);
        length += taken;
        cut = cut || taken < piece.size();
    });
    if (cut)
        length = WholeCharacters(buffer, length);
    buffer[length] = '\0';
    return length;
}
