#pragma once
// The characters the text files and texts are read by: the C locale's, whatever locale the
// process runs in, and UTF-8's byte classes.

#include <cstddef>
#include <string_view>

inline bool IsLineEnd(char c)
{
    return c == '\n' || c == '\r';
}

// White space within a line.
inline bool IsInlineBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

inline bool IsBlank(char c)
{
    return IsInlineBlank(c) || IsLineEnd(c);
}

inline bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

inline bool IsUtf8Continuation(char c)
{
    constexpr unsigned char kContinuationMask = 0xC0;
    constexpr unsigned char kContinuationMark = 0x80;
    return (static_cast<unsigned char>(c) & kContinuationMask) == kContinuationMark;
}

// The UTF-16 units of the character that starts with this byte: two for the four-byte sequences
// beyond the Basic Multilingual Plane, which the system stores as a pair.
inline std::size_t Utf16Units(char lead)
{
    constexpr unsigned char kFirstFourByteLead = 0xF0;
    return static_cast<unsigned char>(lead) >= kFirstFourByteLead ? 2 : 1;
}

inline std::size_t Utf16Length(std::string_view text)
{
    std::size_t units = 0;
    for (char c : text) {
        if (!IsUtf8Continuation(c))
            units += Utf16Units(c);
    }
    return units;
}
