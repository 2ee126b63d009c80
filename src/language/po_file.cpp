#include "language/po_file.h"

#include "platform/text_chars.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr char kQuote = '"';
constexpr char kEscape = '\\';
constexpr char kCommentMark = '#';
constexpr std::string_view kObsoleteMark = "#~";
constexpr std::string_view kFlagsMark = "#,";
constexpr std::string_view kFuzzyFlag = "fuzzy";
constexpr std::string_view kLanguageHeader = "Language";
constexpr std::string_view kPluralFormsHeader = "Plural-Forms";

constexpr std::string_view kContextKeyword = "msgctxt";
constexpr std::string_view kIdKeyword = "msgid";
constexpr std::string_view kIdPluralKeyword = "msgid_plural";
constexpr std::string_view kTranslationKeyword = "msgstr";
constexpr char kIndexOpen = '[';
constexpr char kIndexClose = ']';

constexpr unsigned kLargestByte = 0xFF;
constexpr unsigned kOctalBase = 8;
constexpr unsigned kHexBase = 16;
constexpr std::size_t kMostOctalDigits = 3;
constexpr unsigned kDecimalBase = 10;

std::uint8_t Byte(char c)
{
    return static_cast<std::uint8_t>(c);
}

// The length of the UTF-8 sequence starting at a byte, 0 when it is not a valid one.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t at)
{
    constexpr std::uint8_t kLastAscii = 0x7F;
    constexpr std::uint8_t kFirstTwoByteLead = 0xC2; // C0 and C1 only begin overlong forms
    constexpr std::uint8_t kFirstThreeByteLead = 0xE0;
    constexpr std::uint8_t kFirstFourByteLead = 0xF0;
    constexpr std::uint8_t kPastLastLead = 0xF5; // beyond U+10FFFF
    constexpr std::uint8_t kSurrogateLead = 0xED;
    constexpr std::uint8_t kLastLead = 0xF4;
    constexpr std::uint8_t kFollowLow = 0x80;
    constexpr std::uint8_t kFollowHigh = 0xBF;
    const std::uint8_t lead = Byte(text[at]);
    if (lead == 0)
        return 0;
    if (lead <= kLastAscii)
        return 1;
    std::size_t length = 0;
    std::uint8_t low = kFollowLow;
    std::uint8_t high = kFollowHigh;
    // The second byte's range after the leads that would otherwise begin an overlong form, a
    // surrogate or a code point past U+10FFFF.
    constexpr std::uint8_t kLowAfterThreeByteOverlong = 0xA0;
    constexpr std::uint8_t kHighBeforeSurrogates = 0x9F;
    constexpr std::uint8_t kLowAfterFourByteOverlong = 0x90;
    constexpr std::uint8_t kHighWithinUnicode = 0x8F;
    if (lead < kFirstTwoByteLead || lead >= kPastLastLead)
        return 0;
    if (lead < kFirstThreeByteLead) {
        length = 2;
    } else if (lead < kFirstFourByteLead) {
        length = 3;
        if (lead == kFirstThreeByteLead)
            low = kLowAfterThreeByteOverlong;
        if (lead == kSurrogateLead)
            high = kHighBeforeSurrogates;
    } else {
        length = 4;
        if (lead == kFirstFourByteLead)
            low = kLowAfterFourByteOverlong;
        if (lead == kLastLead)
            high = kHighWithinUnicode;
    }
    if (text.size() - at < length)
        return 0;
    const std::uint8_t second = Byte(text[at + 1]);
    if (second < low || second > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (!IsUtf8Continuation(text[at + i]))
            return 0;
    }
    return length;
}

bool IsBlankInLine(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view SkipBlanks(std::string_view text)
{
    while (!text.empty() && IsBlankInLine(text.front()))
        text.remove_prefix(1);
    return text;
}

// A header's name or value without the white space about it, a CR of a line end escaped as "\r\n" too.
std::string_view TrimHeader(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

int DigitValue(char c)
{
    if (IsDigit(c))
        return c - '0';
    const char lower = AsciiLower(c);
    if (lower >= 'a' && lower <= 'f')
        return lower - 'a' + static_cast<int>(kDecimalBase);
    return -1;
}

// Whether a "#," line names the flag fuzzy among its flags, which commas and blanks separate.
bool HasFuzzyFlag(std::string_view flags)
{
    while (!flags.empty()) {
        const std::size_t end = std::min(flags.find_first_of(", \t"), flags.size());
        if (flags.substr(0, end) == kFuzzyFlag)
            return true;
        flags.remove_prefix(std::min(end + 1, flags.size()));
    }
    return false;
}

// The value of a header line "Name: value" in the header's text, trimmed; the first one counts.
std::string HeaderValue(std::string_view header, std::string_view name)
{
    while (!header.empty()) {
        const std::size_t end = std::min(header.find('\n'), header.size());
        const std::string_view line = header.substr(0, end);
        header.remove_prefix(std::min(end + 1, header.size()));
        const std::size_t colon = line.find(':');
        if (colon != std::string_view::npos && SameIgnoringCase(TrimHeader(line.substr(0, colon)), name))
            return std::string(TrimHeader(line.substr(colon + 1)));
    }
    return {};
}

// The byte an escape after the backslash stands for; the escape's characters are taken from the text.
// 0 for a bad escape: a PO string can't hold a NUL, which would end the text where it is shown.
unsigned ReadEscape(std::string_view& text)
{
    const char c = text.front();
    text.remove_prefix(1);
    switch (c) {
    case 'n':
        return '\n';
    case 't':
        return '\t';
    case 'r':
        return '\r';
    case 'a':
        return '\a';
    case 'b':
        return '\b';
    case 'f':
        return '\f';
    case 'v':
        return '\v';
    case '"':
    case '\\':
    case '\'':
    case '?':
        return static_cast<unsigned>(c);
    case 'x': {
        unsigned value = 0;
        std::size_t digits = 0;
        // As in C, every hex digit belongs to the escape; past a byte's worth the value stops growing.
        while (!text.empty() && DigitValue(text.front()) >= 0) {
            value = std::min(value * kHexBase + static_cast<unsigned>(DigitValue(text.front())), kLargestByte + 1);
            text.remove_prefix(1);
            ++digits;
        }
        return digits > 0 && value <= kLargestByte ? value : 0;
    }
    default:
        break;
    }
    if (c < '0' || c > '7')
        return 0;
    unsigned value = static_cast<unsigned>(c - '0');
    for (std::size_t digits = 1;
         digits < kMostOctalDigits && !text.empty() && text.front() >= '0' && text.front() <= '7'; ++digits) {
        value = value * kOctalBase + static_cast<unsigned>(text.front() - '0');
        text.remove_prefix(1);
    }
    return value <= kLargestByte ? value : 0;
}

// Which part of an entry the last string read belongs to, and so what may come next.
enum class Part { None, Context, Id, IdPlural, Translation };

class CPoReader {
public:
    PoReading Read(std::string_view text);

private:
    PoFault ReadLine(std::string_view line);
    PoFault ReadComment(std::string_view line);
    PoFault ReadKeyword(std::string_view line);
    PoFault StartPart(std::string_view keyword);
    PoFault StartTranslationForm(std::string_view index);
    PoFault ReadStrings(std::string_view text);
    PoFault FinishEntry();
    std::string& CurrentString();

    PoReading m_reading;
    PoEntry m_entry;
    Part m_part = Part::None;
    bool m_bFuzzy = false;
    bool m_bPlural = false;
    std::size_t m_nLine = 0;
    std::size_t m_nEntryLine = 0;
};

PoReading CPoReader::Read(std::string_view text)
{
    if (text.size() > kMaxPoFileBytes) {
        m_reading.fault = PoFault::TooLarge;
        m_reading.faultLine = 1;
        return m_reading;
    }
    if (text.starts_with(kUtf8Mark))
        text.remove_prefix(kUtf8Mark.size());
    PoFault fault = PoFault::None;
    while (!text.empty() && fault == PoFault::None) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        ++m_nLine;
        fault = ReadLine(line);
    }
    if (fault == PoFault::None) {
        if (m_part == Part::Translation)
            fault = FinishEntry();
        else if (m_part != Part::None)
            fault = PoFault::UnexpectedLine;
    }
    if (fault != PoFault::None) {
        PoReading damaged;
        damaged.fault = fault;
        damaged.faultLine = std::max<std::size_t>(m_nLine, 1);
        return damaged;
    }
    return std::move(m_reading);
}

PoFault CPoReader::ReadLine(std::string_view line)
{
    if (!IsUtf8Text(line))
        return PoFault::InvalidUtf8;
    line = SkipBlanks(line);
    if (line.empty())
        return PoFault::None;
    if (line.front() == kCommentMark)
        return ReadComment(line);
    if (line.front() == kQuote)
        return m_part == Part::None ? PoFault::UnexpectedLine : ReadStrings(line);
    return ReadKeyword(line);
}

PoFault CPoReader::ReadComment(std::string_view line)
{
    // Comments stand before an entry; one inside it leaves the entry without its msgstr.
    if (m_part == Part::Translation) {
        if (const PoFault fault = FinishEntry(); fault != PoFault::None)
            return fault;
    } else if (m_part != Part::None) {
        return PoFault::UnexpectedLine;
    }
    // Flags before an obsolete entry are its own.
    if (line.starts_with(kObsoleteMark))
        m_bFuzzy = false;
    else if (line.starts_with(kFlagsMark) && HasFuzzyFlag(line.substr(kFlagsMark.size())))
        m_bFuzzy = true;
    return PoFault::None;
}

PoFault CPoReader::ReadKeyword(std::string_view line)
{
    const std::size_t end = std::min(line.find_first_of(" \t\""), line.size());
    const std::string_view keyword = line.substr(0, end);
    if (const PoFault fault = StartPart(keyword); fault != PoFault::None)
        return fault;
    const std::string_view strings = SkipBlanks(line.substr(end));
    if (strings.empty() || strings.front() != kQuote)
        return PoFault::UnterminatedString;
    return ReadStrings(strings);
}

PoFault CPoReader::StartPart(std::string_view keyword)
{
    // A msgctxt or msgid after a complete entry starts the next one.
    const bool startsEntry = keyword == kContextKeyword || keyword == kIdKeyword;
    if (startsEntry && m_part == Part::Translation) {
        if (const PoFault fault = FinishEntry(); fault != PoFault::None)
            return fault;
    }
    if (keyword == kContextKeyword) {
        if (m_part != Part::None)
            return PoFault::UnexpectedLine;
        m_nEntryLine = m_nLine;
        m_part = Part::Context;
    } else if (keyword == kIdKeyword) {
        if (m_part != Part::None && m_part != Part::Context)
            return PoFault::UnexpectedLine;
        if (m_part == Part::None)
            m_nEntryLine = m_nLine;
        m_part = Part::Id;
    } else if (keyword == kIdPluralKeyword) {
        if (m_part != Part::Id)
            return PoFault::UnexpectedLine;
        m_bPlural = true;
        m_part = Part::IdPlural;
    } else if (keyword == kTranslationKeyword) {
        if (m_part == Part::IdPlural)
            return PoFault::PluralMismatch;
        if (m_part != Part::Id)
            return PoFault::UnexpectedLine;
        m_entry.translations.emplace_back();
        m_part = Part::Translation;
    } else if (keyword.starts_with(kTranslationKeyword) && keyword.size() > kTranslationKeyword.size() &&
               keyword[kTranslationKeyword.size()] == kIndexOpen && keyword.back() == kIndexClose) {
        return StartTranslationForm(
            keyword.substr(kTranslationKeyword.size() + 1, keyword.size() - kTranslationKeyword.size() - 2));
    } else {
        return PoFault::UnexpectedLine;
    }
    return PoFault::None;
}

PoFault CPoReader::StartTranslationForm(std::string_view index)
{
    if (m_part == Part::None || m_part == Part::Context)
        return PoFault::UnexpectedLine;
    // After msgid_plural the entry stands at IdPlural or at one of its forms.
    if (!m_bPlural)
        return PoFault::PluralMismatch;
    const std::size_t expected = m_entry.translations.size();
    if (index.empty())
        return PoFault::PluralIndexOutOfOrder;
    std::size_t value = 0;
    for (const char c : index) {
        // Any digit past the expected index's size makes it another index.
        if (!IsDigit(c) || value > expected)
            return PoFault::PluralIndexOutOfOrder;
        value = value * kDecimalBase + static_cast<std::size_t>(c - '0');
    }
    if (value != expected)
        return PoFault::PluralIndexOutOfOrder;
    m_entry.translations.emplace_back();
    m_part = Part::Translation;
    return PoFault::None;
}

std::string& CPoReader::CurrentString()
{
    switch (m_part) {
    case Part::Context:
        return m_entry.context;
    case Part::Id:
        return m_entry.id;
    case Part::IdPlural:
        return m_entry.idPlural;
    case Part::None:
    case Part::Translation:
        break;
    }
    return m_entry.translations.back();
}

// Reads one or more strings from the start of the text to its end, adding them to the current part.
PoFault CPoReader::ReadStrings(std::string_view text)
{
    std::string& out = CurrentString();
    while (!text.empty()) {
        if (text.front() != kQuote)
            return PoFault::UnexpectedLine;
        text.remove_prefix(1);
        bool closed = false;
        while (!text.empty() && !closed) {
            const char c = text.front();
            text.remove_prefix(1);
            if (c == kQuote) {
                closed = true;
            } else if (c != kEscape) {
                out += c;
            } else if (text.empty()) {
                return PoFault::UnterminatedString;
            } else {
                const unsigned byte = ReadEscape(text);
                if (byte == 0)
                    return PoFault::BadEscape;
                out += static_cast<char>(byte);
            }
        }
        if (!closed)
            return PoFault::UnterminatedString;
        text = SkipBlanks(text);
    }
    return PoFault::None;
}

PoFault CPoReader::FinishEntry()
{
    PoEntry entry = std::move(m_entry);
    const bool fuzzy = m_bFuzzy;
    const bool plural = m_bPlural;
    m_entry = {};
    m_part = Part::None;
    m_bFuzzy = false;
    m_bPlural = false;
    // Escapes may have made bytes that are no UTF-8.
    const bool utf8 = IsUtf8Text(entry.context) && IsUtf8Text(entry.id) && IsUtf8Text(entry.idPlural) &&
                      std::all_of(entry.translations.begin(), entry.translations.end(), IsUtf8Text);
    if (!utf8) {
        m_nLine = m_nEntryLine;
        return PoFault::InvalidUtf8;
    }
    if (entry.context.empty() && entry.id.empty()) {
        // The header, read even when fuzzy, as translators' tools leave it while a file is new.
        if (!plural) {
            m_reading.language = HeaderValue(entry.translations.front(), kLanguageHeader);
            m_reading.pluralForms = HeaderValue(entry.translations.front(), kPluralFormsHeader);
        }
        return PoFault::None;
    }
    const bool translated = std::none_of(entry.translations.begin(), entry.translations.end(),
                                         [](const std::string& translation) { return translation.empty(); });
    // An empty msgid_plural would make the entry look like one without plural forms.
    if (!fuzzy && translated && (!plural || !entry.idPlural.empty()))
        m_reading.entries.push_back(std::move(entry));
    return PoFault::None;
}

} // namespace

bool IsUtf8Text(std::string_view text)
{
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = Utf8SequenceLength(text, at);
        if (length == 0)
            return false;
        at += length;
    }
    return true;
}

PoReading ReadPoFile(std::string_view bytes)
{
    return CPoReader().Read(bytes);
}
