#include "language/program_language_win.h"

#include "language/language_choice.h"
#include "language/text_format.h"
#include "language/translation.h"
#include "platform/platform_win.h"
#include "platform/text_decoding.h"
#include "settings/settings_file.h"

namespace {

constexpr char kSettingsFile[] = "settings.txt";
constexpr char kUserFilePattern[] = "kelvaro.*.po";
constexpr const char* kShippedTranslations[] = {"standard.txt", "breakideas.txt"};

// The portable zip's catalogue and break ideas in the language spoken, where the folder has them.
void TakeShippedTranslations(Platform& platform, const std::string& language)
{
    // Where there is no settings file yet, Kelvaro starts for the first time in this folder.
    const bool firstStart = !platform.FileExists(kSettingsFile);
    for (const char* name : kShippedTranslations) {
        const std::optional<std::string> translated = platform.ReadWholeFile("languages/" + language + "/" + name);
        if (translated && TakesShippedTranslation(platform.ReadWholeFile(name),
                                                  platform.ReadWholeFile(std::string("languages/en/") + name),
                                                  firstStart))
            platform.ReplaceWholeFile(name, *translated);
    }
}

TranslationSource ChosenTranslation(Platform& platform)
{
    const std::optional<std::string> settings = platform.ReadWholeFile(kSettingsFile);
    const std::string setting = settings ? LanguageSetting(DecodeTextFile(*settings)) : std::string();
    return ChooseTranslation(setting, platform.UserInterfaceLanguage(), platform.FilesMatching(kUserFilePattern));
}

// Makes the source's translation the program's: the user's file, or the built-in one when it is
// damaged, whose first faulty line is then given.
std::optional<std::size_t> Speak(Platform& platform, const TranslationSource& source)
{
    std::optional<std::size_t> faultLine;
    if (source.userFile) {
        PoReading reading = ReadPoFile(platform.ReadWholeFile(*source.userFile).value_or(std::string()));
        if (reading.fault == PoFault::None) {
            SetCurrentTranslation(CTranslation(std::move(reading)));
            return std::nullopt;
        }
        faultLine = reading.faultLine;
    }
    if (const std::optional<std::string> builtIn = platform.BuiltInTranslation(source.language))
        SetCurrentTranslation(CTranslation(ReadPoFile(*builtIn)));
    return faultLine;
}

} // namespace

void StartProgramLanguage(Platform& platform)
{
    const TranslationSource source = ChosenTranslation(platform);
    if (source.language.empty())
        return;
    TakeShippedTranslations(platform, source.language);
    // Told once the translation in force is made, so that the box speaks it too.
    if (const std::optional<std::size_t> faultLine = Speak(platform, source)) {
        platform.ShowMessageBox(nullptr,
                                FillText(Tr("%s can't be read (line %s): Kelvaro speaks its own translation instead."),
                                         {*source.userFile, std::to_string(*faultLine)}),
                                "Kelvaro", MB_OK | MB_ICONEXCLAMATION);
    }
}

void SpeakProgramLanguage(Platform& platform)
{
    const TranslationSource source = ChosenTranslation(platform);
    if (!source.language.empty())
        Speak(platform, source);
}
