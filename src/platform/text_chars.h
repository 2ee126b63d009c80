#pragma once
// The characters the text files and texts are read by: the C locale's, whatever locale the
// process runs in, and UTF-8's byte classes.

#include <algorithm>
#include <cstddef>
#include <string_view>
#include <vector>

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

// The C locale's lower case: only A to Z change.
inline char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline bool SameIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

// The words of a text, split at runs of blanks.
std::vector<std::string_view> SplitWords(std::string_view text);
