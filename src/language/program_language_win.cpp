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
void TakeShippedTranslations(Platform& platform, const std::string& language, bool firstStart)
{
    for (const char* name : kShippedTranslations) {
        const std::optional<std::string> translated = platform.ReadWholeFile("languages/" + language + "/" + name);
        if (translated && TakesShippedTranslation(platform.ReadWholeFile(name),
                                                  platform.ReadWholeFile(std::string("languages/en/") + name),
                                                  firstStart))
            platform.ReplaceWholeFile(name, *translated);
    }
}

} // namespace

void StartProgramLanguage(Platform& platform)
{
    const std::optional<std::string> settings = platform.ReadWholeFile(kSettingsFile);
    const std::string setting = settings ? LanguageSetting(DecodeTextFile(*settings)) : std::string();
    const TranslationSource source = ChooseTranslation(setting, platform.UserInterfaceLanguage(),
                                                       platform.FilesMatching(kUserFilePattern));
    if (source.language.empty())
        return;
    TakeShippedTranslations(platform, source.language, !settings.has_value());
    // The line of the first fault of the user's file, when it is damaged.
    std::optional<std::size_t> faultLine;
    if (source.userFile) {
        PoReading reading = ReadPoFile(platform.ReadWholeFile(*source.userFile).value_or(std::string()));
        if (reading.fault == PoFault::None) {
            SetCurrentTranslation(CTranslation(std::move(reading)));
            return;
        }
        faultLine = reading.faultLine;
    }
    if (const std::optional<std::string> builtIn = platform.BuiltInTranslation(source.language))
        SetCurrentTranslation(CTranslation(ReadPoFile(*builtIn)));
    // Told once the translation in force is made, so that the box speaks it too.
    if (faultLine) {
        platform.ShowMessageBox(nullptr,
                                FillText(Tr("%s can't be read (line %s): Kelvaro speaks its own translation instead."),
                                         {*source.userFile, std::to_string(*faultLine)}),
                                "Kelvaro", MB_OK | MB_ICONEXCLAMATION);
    }
}
