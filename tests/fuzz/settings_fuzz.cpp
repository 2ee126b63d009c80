// settings.txt as the program reads it: decoded, parsed, applied in file order. Whatever the
// file held, writing the settings it gave and reading that back must give the same settings.
#include "fuzz_check.h"
#include "platform/text_decoding.h"
#include "settings/settings_file.h"

#include <string>
#include <string_view>
#include <vector>

namespace {

// The settings as the program's reading leaves them, with the pause read.
struct ReadSettings {
    SettingsModel model;
    std::optional<std::int64_t> pause;
};

ReadSettings Apply(const std::vector<SettingAssignment>& assignments)
{
    ReadSettings read;
    for (const SettingAssignment& a : assignments) {
        if (ApplySetting(read.model, a) == SettingEffect::RestorePause)
            read.pause = a.pausedUntil;
    }
    return read;
}

// A day off keeps ranges that the file doesn't hold: days are alike when they write alike.
bool SameWeek(const WorkWeek& a, const WorkWeek& b)
{
    for (std::size_t day = 0; day < a.size(); ++day) {
        if (FormatWorkDay(a[day]) != FormatWorkDay(b[day]))
            return false;
    }
    return true;
}

bool SameSettings(SettingsModel a, const SettingsModel& b)
{
    if (!SameWeek(a.workWeek, b.workWeek))
        return false;
    a.workWeek = b.workWeek;
    return a == b;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text = DecodeTextFile(FuzzBytes(data, size));
    const std::vector<SettingAssignment> assignments = ParseSettingsFile(text);
    // Every assignment takes a key of 8 characters or more ("SHUTDOWN") and the blank after it.
    FUZZ_CHECK(assignments.size() * 9 <= text.size());
    for (const SettingAssignment& a : assignments) {
        if (a.key == SettingKey::ForceBreakWait || a.key == SettingKey::OtherTime)
            FUZZ_CHECK(a.text.size() <= kLongestNumberText);
        // What the minutes' field receives is always an interval the program takes as it is.
        if (a.key == SettingKey::EyeBreakMinutes)
            FUZZ_CHECK(std::to_string(EyeBreakMinutes(a.text)) == a.text);
        // Every limit read is one the program keeps as it is.
        if (a.key == SettingKey::DailyLimitTime)
            FUZZ_CHECK(DailyLimitMinutes(a.dailyLimitMinutes / 60, a.dailyLimitMinutes % 60) == a.dailyLimitMinutes);
        // A shortcut read is none or one whose text reads back as itself.
        if (a.key == SettingKey::HotkeyPause || a.key == SettingKey::HotkeyBreak)
            FUZZ_CHECK(ParseShortcut(ShortcutText(a.shortcut)) == a.shortcut);
    }

    ReadSettings expected = Apply(assignments);
    const std::string written = FormatSettingsFile(expected.model, expected.pause);
    const std::vector<SettingAssignment> reread = ParseSettingsFile(DecodeTextFile(written));
    // The writer writes every key, PAUSED_UNTIL only with a pause and LANGUAGE only with a language,
    // and the reader finds each of them again.
    FUZZ_CHECK(reread.size() == kSettingKeyCount - (expected.pause ? 0 : 1) - (expected.model.language.empty() ? 1 : 0));
    // An empty "Other" minutes field is saved as the default, and the interval chosen is saved
    // only by a Start, as the one in force: the only changes a save makes.
    if (expected.model.otherTime.empty())
        expected.model.otherTime = "120";
    expected.model.interval = SettingsModel{}.interval;
    const ReadSettings back = Apply(reread);
    FUZZ_CHECK(SameSettings(back.model, expected.model) && back.pause == expected.pause);
    return 0;
}
