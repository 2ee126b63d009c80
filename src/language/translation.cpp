#include "language/translation.h"

#include <algorithm>
#include <tuple>
#include <utility>

namespace {

// Set before any text is looked up; constant, so that even a text of another file's static
// object finds it made.
constinit CTranslation g_translation;

bool ComesBefore(const PoEntry& entry, std::string_view context, std::string_view id)
{
    const int byContext = std::string_view(entry.context).compare(context);
    return byContext != 0 ? byContext < 0 : std::string_view(entry.id) < id;
}

std::string_view EnglishPlural(std::string_view english, std::string_view englishPlural, unsigned long n)
{
    return n == 1 ? english : englishPlural;
}

} // namespace

CTranslation::CTranslation(PoReading&& reading)
    : m_entries(std::move(reading.entries)), m_pluralForms(PluralFormsOf(reading.pluralForms))
{
    std::stable_sort(m_entries.begin(), m_entries.end(), [](const PoEntry& a, const PoEntry& b) {
        return std::tie(a.context, a.id) < std::tie(b.context, b.id);
    });
}

const PoEntry* CTranslation::Find(std::string_view context, std::string_view english) const
{
    const auto found = std::partition_point(m_entries.begin(), m_entries.end(),
                                            [&](const PoEntry& entry) { return ComesBefore(entry, context, english); });
    if (found == m_entries.end() || found->context != context || found->id != english)
        return nullptr;
    return &*found;
}

std::string_view CTranslation::Text(std::string_view english) const
{
    return Text({}, english);
}

std::string_view CTranslation::Text(std::string_view context, std::string_view english) const
{
    const PoEntry* entry = Find(context, english);
    return entry ? std::string_view(entry->translations.front()) : english;
}

std::string_view CTranslation::Plural(std::string_view english, std::string_view englishPlural, unsigned long n) const
{
    const PoEntry* entry = Find({}, english);
    if (!entry || entry->idPlural.empty())
        return EnglishPlural(english, englishPlural, n);
    const unsigned long form = m_pluralForms.FormOf(n);
    // A file may give fewer forms than its header counts.
    if (form >= entry->translations.size())
        return EnglishPlural(english, englishPlural, n);
    return entry->translations[form];
}

void SetCurrentTranslation(CTranslation translation)
{
    g_translation = std::move(translation);
}

const CTranslation& CurrentTranslation()
{
    return g_translation;
}

const char* Tr(const char* english)
{
    return english ? g_translation.Text(english).data() : english;
}

const char* TrC(const char* context, const char* english)
{
    return english && context ? g_translation.Text(context, english).data() : english;
}

const char* TrN(const char* singular, const char* plural, unsigned long n)
{
    if (!singular || !plural)
        return n == 1 ? singular : plural;
    return g_translation.Plural(singular, plural, n).data();
}
