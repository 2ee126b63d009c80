#include "platform/text_decoding.h"

#include <climits>
#include <cstddef>
#include <cstdint>

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LittleEndianMark = "\xFF\xFE";
constexpr std::string_view kUtf16BigEndianMark = "\xFE\xFF";

constexpr char32_t kReplacementCharacter = 0xFFFD;
constexpr char32_t kFirstHighSurrogate = 0xD800;
constexpr char32_t kFirstLowSurrogate = 0xDC00;
constexpr char32_t kLastLowSurrogate = 0xDFFF;
constexpr char32_t kFirstSupplementary = 0x10000;
constexpr int kSurrogateBits = 10;

bool IsHighSurrogate(char32_t unit)
{
    return unit >= kFirstHighSurrogate && unit < kFirstLowSurrogate;
}

bool IsLowSurrogate(char32_t unit)
{
    return unit >= kFirstLowSurrogate && unit <= kLastLowSurrogate;
}

void AppendUtf8(std::string& out, char32_t c)
{
    constexpr char32_t kLastAscii = 0x7F;
    constexpr char32_t kLastOfTwoBytes = 0x7FF;
    constexpr char32_t kLastOfThreeBytes = 0xFFFF;
    // The first byte of a sequence of 2, 3 or 4 bytes; each following byte is 10xxxxxx.
    constexpr char32_t kLeadMarks[] = {0, 0xC0, 0xE0, 0xF0};
    constexpr char32_t kFollowMark = 0x80;
    constexpr char32_t kFollowBits = 6;
    constexpr char32_t kFollowMask = 0x3F;
    if (c <= kLastAscii) {
        out += static_cast<char>(c);
        return;
    }
    const char32_t following = c <= kLastOfTwoBytes ? 1 : c <= kLastOfThreeBytes ? 2 : 3;
    out += static_cast<char>(kLeadMarks[following] | (c >> (kFollowBits * following)));
    for (char32_t i = following; i-- > 0;)
        out += static_cast<char>(kFollowMark | ((c >> (kFollowBits * i)) & kFollowMask));
}

std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian)
{
    constexpr std::size_t kBytesPerUnit = 2;
    const std::size_t units = bytes.size() / kBytesPerUnit;
    auto unitAt = [&](std::size_t i) -> char32_t {
        const auto first = static_cast<std::uint8_t>(bytes[kBytesPerUnit * i]);
        const auto second = static_cast<std::uint8_t>(bytes[kBytesPerUnit * i + 1]);
        return bigEndian ? (first << CHAR_BIT | second) : (second << CHAR_BIT | first);
    };
    std::string out;
    for (std::size_t i = 0; i < units; ++i) {
        const char32_t unit = unitAt(i);
        if (IsHighSurrogate(unit) && i + 1 < units && IsLowSurrogate(unitAt(i + 1))) {
            const char32_t low = unitAt(++i);
            AppendUtf8(out, kFirstSupplementary + ((unit - kFirstHighSurrogate) << kSurrogateBits) +
                                (low - kFirstLowSurrogate));
        } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            AppendUtf8(out, kReplacementCharacter);
        } else {
            AppendUtf8(out, unit);
        }
    }
    return out;
}

} // namespace

std::string DecodeTextFile(std::string_view bytes)
{
    if (bytes.starts_with(kUtf16LittleEndianMark))
        return Utf16ToUtf8(bytes.substr(kUtf16LittleEndianMark.size()), false);
    if (bytes.starts_with(kUtf16BigEndianMark))
        return Utf16ToUtf8(bytes.substr(kUtf16BigEndianMark.size()), true);
    // Text of a single-byte encoding never holds a NUL, but UTF-16 LE without its mark, as some
    // editors save it, holds one right after its first character; read as it stands it would look
    // empty, and the next save would write an empty history over the days it holds.
    if (bytes.size() >= 2 && bytes[0] != '\0' && bytes[1] == '\0')
        return Utf16ToUtf8(bytes, false);
    if (bytes.starts_with(kUtf8Mark))
        bytes.remove_prefix(kUtf8Mark.size());
    return std::string(bytes);
}
