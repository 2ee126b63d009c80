#include "language/language_choice.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

std::vector<std::string> BuiltInAnd(std::vector<std::string> userLanguages)
{
    std::vector<std::string> available;
    for (const BuiltInLanguage& language : kBuiltInLanguages)
        available.emplace_back(language.id);
    available.insert(available.end(), userLanguages.begin(), userLanguages.end());
    return available;
}

TEST(LanguageChoice, TheSettingOrWindowsLanguageFallsBackToTheNearestAvailable)
{
    struct Case {
        const char* what;
        const char* setting;
        const char* windows;
        std::vector<std::string> userLanguages;
        const char* chosen;
    };
    const Case cases[] = {
        {"Windows' language", "", "de-DE", {}, "de"},
        {"a region's own file", "", "de-AT", {"de_AT"}, "de_AT"},
        {"a region to its language", "", "de-AT", {}, "de"},
        {"a numeric region", "", "es-419", {}, "es"},
        {"an extension left out", "", "de-DE-u-co-phonebk", {}, "de"},
        {"case and '-' aside", "", "PT-br", {}, "pt_BR"},
        {"the same language in its main region", "", "pt-PT", {}, "pt_BR"},
        {"a region's own file before the main one", "", "pt-PT", {"pt_PT"}, "pt_PT"},
        {"the language alone before another region", "", "pt-PT", {"pt"}, "pt"},
        {"a language without its region", "", "pt", {}, "pt_BR"},
        {"Japanese", "", "ja-JP", {}, "ja"},
        {"simplified Chinese", "", "zh-CN", {}, "zh_CN"},
        {"simplified Chinese of Singapore", "", "zh-SG", {}, "zh_CN"},
        {"simplified Chinese by its script", "", "zh-Hans", {}, "zh_CN"},
        {"simplified Chinese by script and region", "", "zh-Hans-CN", {}, "zh_CN"},
        {"simplified Chinese in Hong Kong", "", "zh-Hans-HK", {}, "zh_CN"},
        {"traditional Chinese of Taiwan", "", "zh-TW", {}, ""},
        {"traditional Chinese of Hong Kong", "", "zh-HK", {}, ""},
        {"traditional Chinese by its script", "", "zh-Hant-TW", {}, ""},
        {"traditional Chinese of Macau", "", "zh-MO", {}, ""},
        {"traditional Chinese to another region's", "", "zh-HK", {"zh_TW"}, "zh_TW"},
        {"a plain zh file is simplified", "", "zh-Hant", {"zh"}, ""},
        {"Serbian in Latin letters", "", "sr-Latn-RS", {"sr", "sr_RS"}, ""},
        {"Serbian in Latin letters to its file", "", "sr-Latn-RS", {"sr", "sr@latin"}, "sr@latin"},
        {"Serbian in Cyrillic", "", "sr-Cyrl-RS", {"sr@latin", "sr"}, "sr"},
        {"English Windows", "", "en-US", {}, ""},
        {"a language not at hand", "", "sv-SE", {}, ""},
        {"a user's own language", "", "sv-SE", {"sv"}, "sv"},
        {"no Windows language", "", "", {}, ""},
        {"a tag without its language", "", "-DE", {}, ""},
        {"the setting over Windows'", "fr", "ja-JP", {}, "fr"},
        {"the setting, case and '-' aside", "PT-br", "de-DE", {}, "pt_BR"},
        {"the setting naming a user's language", "sv", "de-DE", {"sv"}, "sv"},
        {"the setting naming English", "en", "de-DE", {}, ""},
        {"the setting naming English with a region", "en_GB", "ja-JP", {}, ""},
        {"the setting naming a language not at hand", "sv", "de-DE", {}, "de"},
        {"the setting naming a region without a file", "de_AT", "ja-JP", {}, "ja"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChooseLanguage(c.setting, c.windows, BuiltInAnd(c.userLanguages)), c.chosen) << c.what;
}

TEST(LanguageChoice, NamesAndUserFiles)
{
    EXPECT_EQ(LanguageName(""), "English");
    EXPECT_EQ(LanguageName("EN"), "English");
    EXPECT_EQ(LanguageName("pt-br"), "Portugu\xC3\xAAs (Brasil)");
    EXPECT_EQ(LanguageName("sv"), "sv");
    struct Case {
        const char* fileName;
        std::optional<std::string> language;
    };
    const Case cases[] = {
        {"kelvaro.de.po", "de"},
        {"Kelvaro.pt_BR.PO", "pt_BR"},
        {"kelvaro.sr@latin.po", "sr@latin"},
        {"kelvaro.po", std::nullopt},
        {"kelvaro..po", std::nullopt},
        {"kelvaro.de.old.po", std::nullopt},
        {"kelvaro.de.po.bak", std::nullopt},
        {"kelvaro._de.po", std::nullopt},
        {"other.de.po", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LanguageOfUserFile(c.fileName), c.language) << c.fileName;
        if (c.language) {
            EXPECT_EQ(LanguageOfUserFile(UserTranslationFile(*c.language)), c.language) << c.fileName;
        }
    }
}

// Which translation is read: the user's file of the chosen language in place of the built-in one.
TEST(LanguageChoice, TheUsersFileOfTheChosenLanguageIsRead)
{
    struct Case {
        const char* what;
        const char* setting;
        const char* windows;
        std::vector<std::string> files;
        TranslationSource source;
    };
    const Case cases[] = {
        {"the built-in one", "", "de-DE", {}, {"de", std::nullopt}},
        {"the user's own in its place", "", "de-AT", {"kelvaro.de.po", "kelvaro.fr.po"}, {"de", "kelvaro.de.po"}},
        {"a language only the user has", "", "sv-SE", {"Kelvaro.SV.po"}, {"SV", "Kelvaro.SV.po"}},
        {"another language's file is not read", "fr", "de-DE", {"kelvaro.de.po"}, {"fr", std::nullopt}},
        {"English reads none", "en", "de-DE", {"kelvaro.de.po"}, {"", std::nullopt}},
        {"a file that names no language", "", "de-DE", {"kelvaro.de.old.po"}, {"de", std::nullopt}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChooseTranslation(c.setting, c.windows, c.files), c.source) << c.what;
}

// The Settings dialog's drop-down: each language once, in its own name, and a setting whose
// translation is gone keeps an entry of its own.
TEST(LanguageChoice, TheDropDownListsEachLanguageOnce)
{
    std::vector<LanguageEntry> entries = LanguageEntries({"kelvaro.sv.po", "kelvaro.DE.po"});
    ASSERT_EQ(entries.size(), 13u);
    EXPECT_EQ(entries[0], (LanguageEntry{"", "Windows' language"}));
    EXPECT_EQ(entries[1], (LanguageEntry{"en", "English"}));
    EXPECT_EQ(entries[11], (LanguageEntry{"ja", "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E"}));
    EXPECT_EQ(entries[12], (LanguageEntry{"sv", "sv"}));
    EXPECT_EQ(EntryOfSetting(entries, ""), 0u);
    EXPECT_EQ(EntryOfSetting(entries, "PT-br"), 6u);
    EXPECT_EQ(EntryOfSetting(entries, "fi"), 13u);
    EXPECT_EQ(entries.back(), (LanguageEntry{"fi", "fi"}));
}

// The zip's English catalogue gives way to the language's; the user's own never does, and one the
// user deleted stays deleted after the first start.
TEST(LanguageChoice, OnlyAShippedFileOrOneNeverThereTakesTheTranslation)
{
    EXPECT_TRUE(TakesShippedTranslation(std::nullopt, "english", true));
    EXPECT_FALSE(TakesShippedTranslation(std::nullopt, "english", false));
    EXPECT_TRUE(TakesShippedTranslation("english", "english", false));
    EXPECT_FALSE(TakesShippedTranslation("english, edited", "english", true));
    EXPECT_FALSE(TakesShippedTranslation("english", std::nullopt, true));
}

} // namespace
