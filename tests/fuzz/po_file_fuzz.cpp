// A PO file as the program reads it. A damaged file gives nothing but its fault's line; a sound
// one gives entries that are whole UTF-8 texts, found again by the translation, and that read the
// same once written back as a PO file.
#include "fuzz_check.h"
#include "language/po_file.h"
#include "language/translation.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <string_view>
#include <utility>

namespace {

// A string as a PO file writes it: quoted, with C escapes for what can't stand as it is.
std::string Quoted(std::string_view text)
{
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (static_cast<unsigned char>(c) < ' ') {
            char octal[5];
            std::snprintf(octal, sizeof octal, "\\%03o", static_cast<unsigned>(static_cast<unsigned char>(c)));
            quoted += octal;
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

std::string Written(const PoReading& reading)
{
    std::string text = "msgid \"\"\nmsgstr " +
                       Quoted("Language: " + reading.language + "\nPlural-Forms: " + reading.pluralForms + "\n") + "\n";
    for (const PoEntry& entry : reading.entries) {
        if (!entry.context.empty())
            text += "msgctxt " + Quoted(entry.context) + "\n";
        text += "msgid " + Quoted(entry.id) + "\n";
        if (entry.idPlural.empty()) {
            text += "msgstr " + Quoted(entry.translations.front()) + "\n";
            continue;
        }
        text += "msgid_plural " + Quoted(entry.idPlural) + "\n";
        for (std::size_t i = 0; i < entry.translations.size(); ++i)
            text += "msgstr[" + std::to_string(i) + "] " + Quoted(entry.translations[i]) + "\n";
    }
    return text;
}

bool SameEntries(const PoReading& a, const PoReading& b)
{
    return std::equal(a.entries.begin(), a.entries.end(), b.entries.begin(), b.entries.end(),
                      [](const PoEntry& x, const PoEntry& y) {
                          return x.context == y.context && x.id == y.id && x.idPlural == y.idPlural &&
                                 x.translations == y.translations;
                      });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes = FuzzBytes(data, size);
    const PoReading reading = ReadPoFile(bytes);
    const auto lines = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1;
    if (reading.fault != PoFault::None) {
        FUZZ_CHECK(reading.faultLine >= 1 && reading.faultLine <= lines);
        FUZZ_CHECK(reading.entries.empty() && reading.language.empty() && reading.pluralForms.empty());
        return 0;
    }
    FUZZ_CHECK(reading.faultLine == 0);
    // Every entry takes a msgid line and a msgstr line.
    FUZZ_CHECK(reading.entries.size() * 2 <= lines);
    std::map<std::pair<std::string, std::string>, const PoEntry*> firsts;
    for (const PoEntry& entry : reading.entries) {
        FUZZ_CHECK(!entry.context.empty() || !entry.id.empty());
        FUZZ_CHECK(entry.idPlural.empty() ? entry.translations.size() == 1 : !entry.translations.empty());
        FUZZ_CHECK(IsUtf8Text(entry.context) && IsUtf8Text(entry.id) && IsUtf8Text(entry.idPlural));
        for (const std::string& translation : entry.translations)
            FUZZ_CHECK(!translation.empty() && IsUtf8Text(translation));
        firsts.emplace(std::make_pair(entry.context, entry.id), &entry);
    }
    FUZZ_CHECK(IsUtf8Text(reading.language) && IsUtf8Text(reading.pluralForms));

    const PoReading reread = ReadPoFile(Written(reading));
    FUZZ_CHECK(reread.fault == PoFault::None);
    FUZZ_CHECK(SameEntries(reading, reread));
    FUZZ_CHECK(reread.language == reading.language && reread.pluralForms == reading.pluralForms);

    // Of two entries alike, the translation gives the first.
    const CTranslation translation{PoReading(reading)};
    for (const auto& [key, entry] : firsts) {
        const std::string_view text = translation.Text(key.first, key.second);
        FUZZ_CHECK(text == entry->translations.front() && text.data()[text.size()] == '\0');
        // Counted texts are looked up without a context.
        if (entry->idPlural.empty() || !key.first.empty())
            continue;
        for (const unsigned long n : {0UL, 1UL, 2UL, 5UL, 11UL, 22UL, 101UL, static_cast<unsigned long>(size)}) {
            const std::string_view form = translation.Plural(key.second, entry->idPlural, n);
            const bool english = form.data() == key.second.data() || form.data() == entry->idPlural.data();
            FUZZ_CHECK(english || std::find(entry->translations.begin(), entry->translations.end(), form) !=
                                      entry->translations.end());
        }
    }
    return 0;
}
