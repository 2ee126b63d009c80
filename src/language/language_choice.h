#pragma once
// Which language the program speaks: the one chosen in Settings, else Windows' own, as near as the
// translations at hand come to it. A language is named by its gettext id ("de", "pt_BR"), which
// also names its PO file; English, the texts as written, is "".

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct BuiltInLanguage {
    std::string_view id;
    std::string_view name; // in the language itself, for the Settings dialog's drop-down
};

inline constexpr std::array<BuiltInLanguage, 10> kBuiltInLanguages = {{
    {"de", "Deutsch"},
    {"fr", "Fran\xC3\xA7"
           "ais"},
    {"es", "Espa\xC3\xB1ol"},
    {"it", "Italiano"},
    {"pt_BR", "Portugu\xC3\xAAs (Brasil)"},
    {"nl", "Nederlands"},
    {"pl", "Polski"},
    {"ru", "\xD0\xA0\xD1\x83\xD1\x81\xD1\x81\xD0\xBA\xD0\xB8\xD0\xB9"},
    {"zh_CN", "\xE7\xAE\x80\xE4\xBD\x93\xE4\xB8\xAD\xE6\x96\x87"},
    {"ja", "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E"},
}};

inline constexpr std::string_view kEnglishName = "English";
// What the LANGUAGE line holds for English chosen in Settings; an empty value means Windows' language.
inline constexpr std::string_view kEnglishSetting = "en";

// The language's own name: English's for "" or "en", the id itself for one that isn't built in.
std::string_view LanguageName(std::string_view id);

// The file in the data folder whose translation is used in place of the built-in one: "kelvaro.de.po".
std::string UserTranslationFile(std::string_view id);
// The language of such a file by its name, in any case; none for any other name.
std::optional<std::string> LanguageOfUserFile(std::string_view fileName);

// The language to speak, as it is spelt in available (the built-in languages and those of the
// user's files), or "" for English. The setting wins where it names an available language or
// English (case and '-' or '_' aside); else Windows' user-interface language (a BCP-47 tag such
// as "de-AT" or "zh-Hant-TW") chooses: the same tag, then the same language and script in the same
// region, with no region, in another region, and otherwise English. Chinese in traditional
// characters (TW, HK, MO, Hant) never becomes simplified, nor Serbian in Latin letters Cyrillic.
std::string ChooseLanguage(std::string_view setting, std::string_view windowsLanguage,
                           const std::vector<std::string>& available);

// Where the program's translation comes from: the language to speak ("" for English) and the
// user's file of it, read in place of the built-in translation, when the data folder has one.
struct TranslationSource {
    std::string language;
    std::optional<std::string> userFile;
    bool operator==(const TranslationSource&) const = default;
};
// From the setting, Windows' language and the names of the data folder's "kelvaro.*.po" files.
TranslationSource ChooseTranslation(std::string_view setting, std::string_view windowsLanguage,
                                    const std::vector<std::string>& userFiles);

// One entry of the Settings dialog's drop-down: the LANGUAGE value it stands for ("" for Windows'
// language) and the language's own name.
struct LanguageEntry {
    std::string setting;
    std::string name;
    bool operator==(const LanguageEntry&) const = default;
};
// Windows' language, English, the built-in languages and those of the user's files, each once.
std::vector<LanguageEntry> LanguageEntries(const std::vector<std::string>& userFiles);
// The entry a LANGUAGE value selects; a language not at hand any more keeps an entry of its own
// at the end, so that saving the settings keeps it.
std::size_t EntryOfSetting(std::vector<LanguageEntry>& entries, std::string_view setting);

// The portable zip carries each language's catalogue and break ideas in languages/LANG/, and
// English's in languages/en/. A data folder's file gives way to the language's when it is still
// the English one as shipped; a missing one is seeded only at the first start (no settings file
// yet), so that a file the user deleted stays deleted. The user's own copy is never replaced.
bool TakesShippedTranslation(const std::optional<std::string>& current, const std::optional<std::string>& shippedEnglish,
                             bool firstStart);
