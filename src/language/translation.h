#pragma once
// The program's texts in the user's language: the English text is the key, and stays the text
// wherever a translation has none.

#include "language/plural_forms.h"
#include "language/po_file.h"

#include <string_view>
#include <vector>

class CTranslation {
public:
    // English: every text stays as it is written.
    CTranslation() noexcept = default;
    // The entries and plural forms of a PO file as read; a damaged file's reading has no entries.
    explicit CTranslation(PoReading&& reading);

    // The translation, which ends in a NUL and lives as long as this object, or english itself.
    std::string_view Text(std::string_view english) const;
    // The same for a text that needs a translation of its own where it stands (msgctxt).
    std::string_view Text(std::string_view context, std::string_view english) const;
    // The form of a counted text for n, by the language's plural forms; untranslated, English's
    // own rule: english for n == 1, englishPlural for any other n.
    std::string_view Plural(std::string_view english, std::string_view englishPlural, unsigned long n) const;

private:
    const PoEntry* Find(std::string_view context, std::string_view english) const;

    std::vector<PoEntry> m_entries; // by context, then msgid; of two alike, the first in the file first
    CPluralForms m_pluralForms;
};

// Makes a translation the program's: the shell sets it once at start, before any text is looked up
// and before a second thread starts, since it replaces the texts handed out before it.
void SetCurrentTranslation(CTranslation translation);
const CTranslation& CurrentTranslation();

// Marks a text for the translators where it is written down, to be looked up with Tr where it is
// shown (and TrLaterC for TrC).
constexpr const char* TrLater(const char* english)
{
    return english;
}
constexpr const char* TrLaterC(const char* /*context*/, const char* english)
{
    return english;
}

// The program's translation of a text, or the pointer english itself, so that with English every
// text stays byte for byte as written. Short, for they stand at every text.
const char* Tr(const char* english);
const char* TrC(const char* context, const char* english);
// A printf format for a count, which the caller fills with n.
const char* TrN(const char* singular, const char* plural, unsigned long n);
