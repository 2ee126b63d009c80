#pragma once
// The text of a gettext PO file, as translators' tools (Poedit, Weblate) write it, read into the
// entries a translation is made of.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// A larger file is not a translation of this program's few hundred texts.
inline constexpr std::size_t kMaxPoFileBytes = std::size_t{4} * 1024 * 1024;

// One translated text. An empty msgctxt is taken as none.
struct PoEntry {
    std::string context;
    std::string id;
    std::string idPlural; // empty for an entry without plural forms
    // The one msgstr, or msgstr[0], msgstr[1], ... of a plural entry; none of them is empty.
    std::vector<std::string> translations;
};

// What made a file unreadable; the first fault found ends the reading.
enum class PoFault {
    None,
    TooLarge,           // more than kMaxPoFileBytes
    InvalidUtf8,        // a byte sequence that is not UTF-8, or a NUL
    UnterminatedString, // a string without its closing quote on its line, or a keyword without its string
    BadEscape,          // an escape C doesn't have, or one that makes a NUL
    UnexpectedLine,     // a keyword out of place, an unknown one, or an entry without its msgstr
    PluralMismatch,     // msgstr[n] without msgid_plural, or a plain msgstr with it
    PluralIndexOutOfOrder,
};

struct PoReading {
    // The usable entries in file order: not the header, not fuzzy, not obsolete, every msgstr
    // filled in, a msgid_plural not empty. None when the file is damaged.
    std::vector<PoEntry> entries;
    // The header's values, trimmed; empty when the header lacks them.
    std::string language;    // "Language:"
    std::string pluralForms; // "Plural-Forms:"
    PoFault fault = PoFault::None;
    std::size_t faultLine = 0; // 1-based line of the fault, 0 without one
};

// Whether text is UTF-8 throughout (no overlong form, surrogate or code point past U+10FFFF) and
// holds no NUL, which would end it for the system's functions.
bool IsUtf8Text(std::string_view text);

// Reads the whole text of a PO file (UTF-8, a leading byte-order mark skipped, lines ended by LF or
// CR LF); never fails, whatever the bytes, in time linear in their number.
PoReading ReadPoFile(std::string_view bytes);
