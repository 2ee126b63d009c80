#include "messages/message_catalogue.h"

#include "platform/text_chars.h"

#include <cstddef>
#include <utility>

MessageList healthMessages;
MessageList timeBreakMessages;
MessageList sleepMessages;

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kHealthHeader = "--HEALTH--";
constexpr std::string_view kTimeBreaksHeader = "--TIMEBREAKS--";
constexpr std::string_view kSleepHeader = "--SLEEP--";
constexpr std::string_view kSectionEnd = "--END--";
constexpr std::string_view kTextEnd = ";";
constexpr std::string_view kUnknownIdentifierPrefix = "unknown\tidentifier:\t";

class WordReader {
public:
    explicit WordReader(std::string_view text) : m_text(text) {}

    // The next word, or nothing at the end of the text.
    std::optional<std::string_view> Next()
    {
        while (m_nPos < m_text.size() && IsBlank(m_text[m_nPos])) {
            ++m_nPos;
        }
        if (m_nPos == m_text.size()) {
            return std::nullopt;
        }
        const std::size_t nStart = m_nPos;
        while (m_nPos < m_text.size() && !IsBlank(m_text[m_nPos])) {
            ++m_nPos;
        }
        return m_text.substr(nStart, m_nPos - nStart);
    }

private:
    std::string_view m_text;
    std::size_t m_nPos = 0;
};

MessageList* SectionList(MessageCatalogue& catalogue, std::string_view header)
{
    if (header == kHealthHeader) {
        return &catalogue.health;
    }
    if (header == kTimeBreaksHeader) {
        return &catalogue.timeBreaks;
    }
    if (header == kSleepHeader) {
        return &catalogue.sleep;
    }
    return nullptr;
}

} // namespace

CatalogueReading ReadMessageCatalogue(std::string_view text)
{
    // Notepad saves UTF-8 with a byte-order mark, which would otherwise glue onto the first header.
    if (text.starts_with(kByteOrderMark)) {
        text.remove_prefix(kByteOrderMark.size());
    }

    CatalogueReading reading;
    WordReader words(text);
    while (const std::optional<std::string_view> header = words.Next()) {
        MessageList* pTarget = SectionList(reading.catalogue, *header);
        if (pTarget == nullptr) {
            reading.unknownWord = std::string(*header);
            return reading;
        }
        std::string strText;
        std::optional<std::string_view> word = words.Next();
        for (; word && *word != kSectionEnd; word = words.Next()) {
            if (*word == kTextEnd) {
                pTarget->push_back(std::exchange(strText, {}));
            } else {
                strText += ' ';
                strText += *word;
            }
        }
        if (!word) {
            // Cut off by the end of the file: the texts ended by ";" stay, the unfinished one goes.
            return reading;
        }
    }
    return reading;
}

std::string UnknownIdentifierLine(std::string_view word)
{
    std::string strLine(kUnknownIdentifierPrefix);
    strLine += word;
    strLine += '\n';
    return strLine;
}
