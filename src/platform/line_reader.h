#pragma once
// Reads one line of a record file's grammar, character by character; any difference rejects the line.

#include <cstddef>
#include <cstdint>
#include <string_view>

class LineReader {
public:
    // Numbers above the largest stop being read and reject the line, so a run of digits can't overflow.
    LineReader(std::string_view line, std::int64_t largestNumber) : m_line(line), m_nLargest(largestNumber) {}

    bool Literal(std::string_view literal);
    // Decimal digits, at most the largest number.
    bool Number(std::int64_t& value);
    // Nothing but blanks is left.
    bool AtEndOfLine();

private:
    std::string_view m_line;
    std::int64_t m_nLargest;
    std::size_t m_pos = 0;
};
