#include "platform/line_reader.h"

#include "platform/text_chars.h"

bool LineReader::Literal(std::string_view literal)
{
    if (m_line.substr(m_pos, literal.size()) != literal)
        return false;
    m_pos += literal.size();
    return true;
}

bool LineReader::Number(std::int64_t& value)
{
    const std::size_t start = m_pos;
    value = 0;
    while (m_pos < m_line.size() && IsDigit(m_line[m_pos])) {
        value = value * 10 + (m_line[m_pos] - '0');
        if (value > m_nLargest)
            return false;
        ++m_pos;
    }
    return m_pos > start;
}

bool LineReader::AtEndOfLine()
{
    while (m_pos < m_line.size() && IsBlank(m_line[m_pos]))
        ++m_pos;
    return m_pos == m_line.size();
}
