#include "language/language_choice.h"

#include "language/translation.h"
#include "platform/text_chars.h"

#include <algorithm>

namespace {

constexpr std::string_view kUserFilePrefix = "kelvaro.";
constexpr std::string_view kUserFileSuffix = ".po";
constexpr std::string_view kEnglish = "en";
constexpr char kSeparator = '_';
constexpr char kModifierMark = '@';
constexpr std::size_t kScriptLength = 4;
constexpr std::size_t kLetterRegionLength = 2;
constexpr std::size_t kNumberRegionLength = 3;

bool IsAsciiLetter(char c)
{
    return AsciiLower(c) >= 'a' && AsciiLower(c) <= 'z';
}

// Lower case, with '-' as '_': "pt-BR" and "pt_br" are one language.
std::string Normalised(std::string_view tag)
{
    std::string normalised;
    for (const char c : tag)
        normalised += c == '-' ? kSeparator : AsciiLower(c);
    return normalised;
}

bool SameLanguageTag(std::string_view a, std::string_view b)
{
    return Normalised(a) == Normalised(b);
}

struct Tag {
    std::string whole; // normalised
    std::string language;
    std::string script;
    std::string region;
};

// The script a language is written in where it has more than one in use, by the tag's script, its
// gettext modifier ("sr@latin") or its region; "" for a language written in one script.
std::string ScriptOf(std::string_view language, std::string_view script, std::string_view modifier,
                     std::string_view region)
{
    if (language == "zh") {
        if (!script.empty())
            return std::string(script);
        return region == "tw" || region == "hk" || region == "mo" ? "hant" : "hans";
    }
    if (language == "sr") {
        if (!script.empty())
            return std::string(script);
        return modifier == "latin" ? "latn" : "cyrl";
    }
    return {};
}

// A BCP-47 tag or a gettext id in its parts; variants and extensions are left out.
Tag ParseTag(std::string_view text)
{
    Tag tag;
    tag.whole = Normalised(text);
    std::string_view rest = tag.whole;
    std::string_view modifier;
    if (const std::size_t mark = rest.find(kModifierMark); mark != std::string_view::npos) {
        modifier = rest.substr(mark + 1);
        rest = rest.substr(0, mark);
    }
    std::string_view script;
    for (bool first = true; !rest.empty(); first = false) {
        const std::size_t end = std::min(rest.find(kSeparator), rest.size());
        const std::string_view part = rest.substr(0, end);
        rest.remove_prefix(std::min(end + 1, rest.size()));
        const bool letters = std::all_of(part.begin(), part.end(), IsAsciiLetter);
        const bool digits = std::all_of(part.begin(), part.end(), IsDigit);
        if (first)
            tag.language = part;
        else if (part.size() == kScriptLength && letters && script.empty() && tag.region.empty())
            script = part;
        else if (((part.size() == kLetterRegionLength && letters) || (part.size() == kNumberRegionLength && digits)) &&
                 tag.region.empty())
            tag.region = part;
    }
    tag.script = ScriptOf(tag.language, script, modifier, tag.region);
    return tag;
}

// The region whose translation another region of a language takes first, where it has one.
std::string_view MainRegion(const Tag& tag)
{
    if (tag.language == "pt")
        return "br";
    if (tag.language == "zh")
        return tag.script == "hant" ? "tw" : "cn";
    return {};
}

// How near an available language comes to the wanted one, the nearest highest; 0 when not at all.
int Nearness(const Tag& wanted, const Tag& offered)
{
    if (offered.whole == wanted.whole)
        return 5;
    if (offered.language != wanted.language || offered.script != wanted.script)
        return 0;
    if (!offered.region.empty() && offered.region == wanted.region)
        return 4;
    if (offered.region.empty())
        return 3;
    return offered.region == MainRegion(wanted) ? 2 : 1;
}

// The available language nearest the wanted one, the first in the list among equals; none when
// none is of its language.
std::optional<std::string> Nearest(std::string_view wanted, const std::vector<std::string>& available)
{
    const Tag wantedTag = ParseTag(wanted);
    if (wantedTag.language.empty())
        return std::nullopt;
    int best = 0;
    std::optional<std::string> nearest;
    for (const std::string& id : available) {
        if (id.empty())
            continue;
        const int nearness = Nearness(wantedTag, ParseTag(id));
        if (nearness > best) {
            best = nearness;
            nearest = id;
        }
    }
    return nearest;
}

bool IsEnglish(std::string_view tag)
{
    return ParseTag(tag).language == kEnglish;
}

bool IsIdCharacter(char c)
{
    return IsAsciiLetter(c) || IsDigit(c) || c == '_' || c == '-' || c == kModifierMark;
}

} // namespace

std::string_view LanguageName(std::string_view id)
{
    if (id.empty() || SameLanguageTag(id, kEnglishSetting))
        return kEnglishName;
    const auto builtIn =
        std::find_if(kBuiltInLanguages.begin(), kBuiltInLanguages.end(),
                     [&](const BuiltInLanguage& language) { return SameLanguageTag(language.id, id); });
    return builtIn != kBuiltInLanguages.end() ? builtIn->name : id;
}

std::string UserTranslationFile(std::string_view id)
{
    return std::string(kUserFilePrefix) + std::string(id) + std::string(kUserFileSuffix);
}

std::optional<std::string> LanguageOfUserFile(std::string_view fileName)
{
    if (fileName.size() <= kUserFilePrefix.size() + kUserFileSuffix.size() ||
        !SameLanguageTag(fileName.substr(0, kUserFilePrefix.size()), kUserFilePrefix) ||
        !SameLanguageTag(fileName.substr(fileName.size() - kUserFileSuffix.size()), kUserFileSuffix))
        return std::nullopt;
    const std::string_view id =
        fileName.substr(kUserFilePrefix.size(), fileName.size() - kUserFilePrefix.size() - kUserFileSuffix.size());
    // Letters first, as every language's id; no dot, which would make "kelvaro.de.old.po" German.
    if (!IsAsciiLetter(id.front()) || !std::all_of(id.begin(), id.end(), IsIdCharacter))
        return std::nullopt;
    return std::string(id);
}

std::string ChooseLanguage(std::string_view setting, std::string_view windowsLanguage,
                           const std::vector<std::string>& available)
{
    if (!setting.empty()) {
        const auto named = std::find_if(available.begin(), available.end(),
                                        [&](const std::string& id) { return SameLanguageTag(id, setting); });
        if (named != available.end())
            return *named;
        if (IsEnglish(setting))
            return {};
    }
    return Nearest(windowsLanguage, available).value_or(std::string());
}

TranslationSource ChooseTranslation(std::string_view setting, std::string_view windowsLanguage,
                                    const std::vector<std::string>& userFiles)
{
    std::vector<std::string> available;
    available.reserve(kBuiltInLanguages.size() + userFiles.size());
    for (const BuiltInLanguage& language : kBuiltInLanguages)
        available.emplace_back(language.id);
    for (const std::string& file : userFiles) {
        if (const std::optional<std::string> language = LanguageOfUserFile(file))
            available.push_back(*language);
    }
    TranslationSource source;
    source.language = ChooseLanguage(setting, windowsLanguage, available);
    for (const std::string& file : userFiles) {
        const std::optional<std::string> language = LanguageOfUserFile(file);
        if (!source.language.empty() && language && SameLanguageTag(*language, source.language))
            source.userFile = file;
    }
    return source;
}

std::vector<LanguageEntry> LanguageEntries(const std::vector<std::string>& userFiles)
{
    std::vector<LanguageEntry> entries{{"", Tr("Windows' language")}, {std::string(kEnglishSetting), std::string(kEnglishName)}};
    const auto known = [&entries](std::string_view id) {
        return std::any_of(entries.begin(), entries.end(),
                           [id](const LanguageEntry& entry) { return SameLanguageTag(entry.setting, id); });
    };
    for (const BuiltInLanguage& language : kBuiltInLanguages)
        entries.push_back({std::string(language.id), std::string(language.name)});
    for (const std::string& file : userFiles) {
        const std::optional<std::string> language = LanguageOfUserFile(file);
        if (language && !known(*language))
            entries.push_back({*language, *language});
    }
    return entries;
}

std::size_t EntryOfSetting(std::vector<LanguageEntry>& entries, std::string_view setting)
{
    for (std::size_t index = 0; index < entries.size(); ++index) {
        if (SameLanguageTag(entries[index].setting, setting))
            return index;
    }
    entries.push_back({std::string(setting), std::string(setting)});
    return entries.size() - 1;
}

bool TakesShippedTranslation(const std::optional<std::string>& current, const std::optional<std::string>& shippedEnglish,
                             bool firstStart)
{
    if (!current)
        return firstStart;
    return shippedEnglish && *current == *shippedEnglish;
}
