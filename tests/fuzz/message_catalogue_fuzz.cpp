// standard.txt as the program reads it. Every text read is in the catalogue's normal form, no
// section holds more texts than the file has ";" words, and the catalogue written back in the
// file's own grammar reads as the same catalogue.
#include "fuzz_check.h"
#include "messages/message_catalogue.h"
#include "platform/text_decoding.h"

#include <string>
#include <string_view>

namespace {

constexpr std::string_view kSeparators = " \t\n\v\f\r";

bool IsSeparator(char c)
{
    return kSeparators.find(c) != std::string_view::npos;
}

std::size_t CountWord(std::string_view text, std::string_view word)
{
    std::size_t count = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        while (pos < text.size() && IsSeparator(text[pos]))
            ++pos;
        const std::size_t start = pos;
        while (pos < text.size() && !IsSeparator(text[pos]))
            ++pos;
        if (pos > start && text.substr(start, pos - start) == word)
            ++count;
    }
    return count;
}

// A blank before each word and nothing else: no other white space, no empty word, no word that
// would end the text or the section.
void CheckNormalForm(const std::string& message)
{
    std::size_t pos = 0;
    while (pos < message.size()) {
        FUZZ_CHECK(message[pos] == ' ');
        const std::size_t end = std::min(message.find(' ', pos + 1), message.size());
        const std::string_view word = std::string_view(message).substr(pos + 1, end - pos - 1);
        FUZZ_CHECK(!word.empty() && word != ";" && word != "--END--");
        for (char c : word)
            FUZZ_CHECK(!IsSeparator(c));
        pos = end;
    }
}

void AppendSection(std::string& out, std::string_view header, const MessageList& messages)
{
    out += header;
    out += "\r\n";
    for (const std::string& message : messages)
        out += message + " ;\r\n";
    out += "--END--\r\n";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string decoded = DecodeTextFile(FuzzBytes(data, size));
    const CatalogueReading reading = ReadMessageCatalogue(decoded);
    // The reader drops a UTF-8 mark of its own too, which a UTF-16 file can carry after its own mark.
    std::string_view text = decoded;
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    const MessageCatalogue& catalogue = reading.catalogue;

    const std::size_t texts = catalogue.health.size() + catalogue.timeBreaks.size() + catalogue.sleep.size();
    FUZZ_CHECK(texts <= CountWord(text, ";"));
    for (const MessageList* list : {&catalogue.health, &catalogue.timeBreaks, &catalogue.sleep}) {
        for (const std::string& message : *list)
            CheckNormalForm(message);
    }
    if (reading.unknownWord) {
        FUZZ_CHECK(!reading.unknownWord->empty());
        FUZZ_CHECK(CountWord(text, *reading.unknownWord) > 0);
    }

    std::string written;
    AppendSection(written, "--HEALTH--", catalogue.health);
    AppendSection(written, "--TIMEBREAKS--", catalogue.timeBreaks);
    AppendSection(written, "--SLEEP--", catalogue.sleep);
    const CatalogueReading reread = ReadMessageCatalogue(DecodeTextFile(written));
    FUZZ_CHECK(!reread.unknownWord);
    FUZZ_CHECK(reread.catalogue.health == catalogue.health);
    FUZZ_CHECK(reread.catalogue.timeBreaks == catalogue.timeBreaks);
    FUZZ_CHECK(reread.catalogue.sleep == catalogue.sleep);
    return 0;
}
