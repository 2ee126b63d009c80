#include "app/held_shortcuts.h"
#include "app/supervision_locks.h"
#include "breaks/break_coordinator.h"
#include "resources/resource_ids.h"
#include "settings/settings_file.h"
#include "settings/settings_model.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// A file read into the model's first-start values, with what the reading asks beyond the model.
struct Read {
    SettingsModel model;
    std::vector<SettingEffect> effects;
};

Read ReadFile(std::string_view text)
{
    Read read;
    for (const SettingAssignment& assignment : ParseSettingsFile(text)) {
        const SettingEffect effect = ApplySetting(read.model, assignment);
        if (effect != SettingEffect::None)
            read.effects.push_back(effect);
    }
    return read;
}

// Each key read into the model, odd values among them: the model is the first-start one but for the change.
TEST(SettingsModel, EveryKeyReadsIntoItsSetting)
{
    using M = SettingsModel;
    const struct {
        const char* file;
        std::function<void(M&)> change;
        std::vector<SettingEffect> effects = {};
    } rows[] = {
        {"HEALTH_MSG 0 TIMEBREAK_MSG yes SLEEP_MSG 01", [](M& m) { m.healthMsg = m.timeBreakMsg = m.sleepMsg = false; }},
        {"SOUND_ON_MSG 1 SOUND_LONGTIME_WARNING 1", [](M& m) { m.soundOnMsg = m.soundLongtimeWarning = true; }},
        {"SHUTDOWN 1 TIMELIMIT 23:5", [](M& m) { m.shutdown = true, m.timeLimit = {23, 5, 0}; }},
        {"TIMELIMIT 24:00:00", [](M&) {}},
        {"FREQUENCE 1024", [](M& m) { m.interval = 1024; }},
        {"FREQUENCE 0 FREQUENCE 30", [](M&) {}},
        {"STARTTRAY 1", [](M&) {}, {SettingEffect::HideToTray}},
        {"STARTTRAY 0", [](M&) {}},
        {"FORCEBREAK 1 FORCEBREAK_WAIT 0123456789", [](M& m) { m.forceBreak = true, m.forceBreakWait = "012345678"; }},
        {"ONLYSOUND 1 KEYBOARD_LEDS 1", [](M& m) { m.onlySound = m.keyboardLeds = true; }},
        {"SOUNDMSG_PATH \"C:\\a b.wav\" SOUNDWARNING_PATH d.wav",
         [](M& m) { m.messageSoundPath = "C:\\a b.wav", m.warningSoundPath = "d.wav"; }},
        {"OTHERTIME \"\"", [](M& m) { m.otherTime = ""; }},
        {"STARTPROGRAM true STARTPROGRAM yes", [](M&) {}, {SettingEffect::StartSupervision}},
        {"HOLD_WHEN_BUSY 0 NATURAL_BREAKS 0 WINDOWS_NOTIFICATIONS 1",
         [](M& m) { m.holdWhenBusy = m.naturalBreaks = false, m.windowsNotifications = true; }},
        {"EYE_BREAKS 1 EYE_BREAK_MINUTES 121", [](M& m) { m.eyeBreaks = true, m.eyeBreakMinutes = "20"; }},
        {"WORK_HOURS 1 WORK_SUN \"10:00-12:00\"", [](M& m) { m.workHours = true, m.workWeek[kSunday] = {true, {600, 720}, std::nullopt}; }},
        {"DAILY_LIMIT 1 DAILY_LIMIT_TIME 0:45", [](M& m) { m.dailyLimit = true, m.dailyLimitMinutes = 45; }},
        {"PAUSED_UNTIL 2026-12-10 6:0:0 PAUSED_UNTIL 2026-13-10 6:0:0", [](M&) {}, {SettingEffect::RestorePause}},
        {"HOTKEY_PAUSE ctrl+alt+p HOTKEY_BREAK P", [](M& m) { m.pauseShortcut = {kShortcutCtrl | kShortcutAlt, 'P'}; }},
        {"LANGUAGE pt_BR LANGUAGE ../x", [](M& m) { m.language = ""; }},
        {"LANGUAGE de", [](M& m) { m.language = "de"; }},
        {"COVER_SCREENS 1 STRICT_BREAKS 1", [](M& m) { m.coverScreens = m.strictBreaks = true; }},
        {"BEDTIME 0:30 BEDTIME_REMINDER 1", [](M& m) { m.bedtimeMinutes = 30, m.bedtimeReminder = true; }},
        {"BEDTIME 22:30 BEDTIME 24:00 BEDTIME \"\"", [](M&) {}},
        {"THEME dark", [](M& m) { m.theme = ThemeSetting::Dark; }},
        {"THEME dark THEME light", [](M& m) { m.theme = ThemeSetting::Light; }},
        {"THEME light THEME Dark", [](M&) {}},
        {"THEME dark THEME \"\"", [](M&) {}},
    };
    for (const auto& row : rows) {
        SettingsModel expected;
        row.change(expected);
        const Read read = ReadFile(row.file);
        EXPECT_TRUE(read.model == expected) << row.file;
        EXPECT_EQ(read.effects, row.effects) << row.file;
    }
}

// The model written and read back is the same model, byte for byte the same file; the interval
// chosen is written only as the one the last Start took.
TEST(SettingsModel, TheFileWrittenFromTheModelReadsBackToIt)
{
    SettingsModel odd;
    odd.healthMsg = odd.holdWhenBusy = false;
    odd.shutdown = odd.forceBreak = odd.dailyLimit = odd.workHours = true;
    odd.timeLimit = {0, 0, 59};
    odd.interval = odd.frequence = 1024;
    odd.otherTime = "7 \"x\"";
    odd.forceBreakWait = "";
    odd.messageSoundPath = "\xD0\x96 \xE6\x97\xA5.wav";
    odd.eyeBreakMinutes = "1";
    odd.dailyLimitMinutes = 1;
    odd.language = "zh_CN";
    odd.breakShortcut = {kShortcutCtrl | kShortcutShift, 0x70};
    odd.coverScreens = odd.strictBreaks = odd.bedtimeReminder = true;
    odd.bedtimeMinutes = 23 * 60 + 45;
    odd.theme = ThemeSetting::Dark;
    for (const SettingsModel& model : {SettingsModel{}, odd}) {
        const std::string file = FormatSettingsFile(model);
        Read read = ReadFile(file);
        EXPECT_EQ(read.effects, (std::vector<SettingEffect>{SettingEffect::HideToTray, SettingEffect::StartSupervision}));
        read.model.frequence = model.frequence;
        EXPECT_TRUE(read.model == model) << file;
        EXPECT_EQ(FormatSettingsFile(read.model), file);
    }
    // Set by the user and not yet by a Start, an interval is not what the file records.
    SettingsModel chosen;
    chosen.interval = 1021;
    EXPECT_NE(FormatSettingsFile(chosen).find("\r\nFREQUENCE 0\r\n"), std::string::npos);
}

// What supervision locks, and the fields that only one choice uses.
TEST(SettingsModel, ControlsTakeInputAsTheLocksAndTheirChoicesSay)
{
    using enum LockedWindow;
    SettingsModel other;
    other.interval = 1024;
    SettingsModel forced;
    forced.forceBreak = true;
    const struct {
        LockedWindow window;
        int id;
        const SettingsModel& model;
        bool stopped;
        bool running;
    } rows[] = {
        {Main, IDC_MAIN_HEALTH_TIPS, {}, true, false},
        {Main, IDC_MAIN_LAUNCH_MINIMIZED, {}, true, true},
        {Main, IDC_MAIN_START_STOP, {}, true, true},
        {Main, IDC_MAIN_OTHER_MINUTES, {}, false, false},
        {Main, IDC_MAIN_OTHER_MINUTES, other, true, false},
        {Settings, IDC_SETTINGS_SOUND_ON_MSG, {}, true, false},
        {Settings, IDC_SETTINGS_FORCE_BREAK, {}, true, true},
        {Settings, IDC_SETTINGS_WAIT_SECONDS, {}, false, false},
        {Settings, IDC_SETTINGS_WAIT_SECONDS, forced, true, true},
        {Settings, IDC_SETTINGS_WORK_HOURS_EDIT, {}, true, false},
        {Settings, IDC_SETTINGS_PAUSE_SHORTCUT, {}, true, true},
        {SetTime, IDC_SETTIME_PICKER, {}, true, false},
        {WorkingHours, 1, {}, true, false}, // OK
        {WorkingHours, 2, {}, true, true}, // Cancel
    };
    for (const auto& row : rows) {
        EXPECT_EQ(IsControlEnabled(row.window, row.id, row.model, false), row.stopped) << row.id;
        EXPECT_EQ(IsControlEnabled(row.window, row.id, row.model, true), row.running) << row.id;
    }
}

// Start takes the break choices from the model and writes the eye breaks' minutes back as taken.
TEST(SettingsModel, StartTakesTheBreakChoices)
{
    SettingsModel settings;
    settings.eyeBreaks = settings.workHours = true;
    settings.eyeBreakMinutes = "007";
    settings.forceBreakWait = "45s";
    const BreakChoices choices = TakeBreakChoices(settings);
    EXPECT_EQ(choices.eyeBreakMinutes, 7);
    EXPECT_EQ(settings.eyeBreakMinutes, "7");
    EXPECT_EQ(choices.workingHours, settings.workWeek);
    EXPECT_EQ(choices.dailyLimitMinutes, std::nullopt);
    EXPECT_EQ(choices.breakWaitSeconds, 45);
}

// The boxes' rules as the user clicks: forced breaks (F) and sound-only messages (O) exclude each
// other, and sound-only turns both sounds (M, W) on.
TEST(SettingsModel, ForcedBreaksAndSoundOnlyExcludeEachOther)
{
    const struct {
        char click; // F or O, checking the box; f or o unchecking it
        const char* before;
        const char* after; // F O M W as 1 or 0
    } rows[] = {
        {'O', "1000", "0111"}, {'F', "0111", "1011"}, {'o', "0100", "0000"}, {'f', "1011", "0011"},
    };
    for (const auto& row : rows) {
        SettingsModel m;
        bool* boxes[] = {&m.forceBreak, &m.onlySound, &m.soundOnMsg, &m.soundLongtimeWarning};
        for (int i = 0; i < 4; ++i)
            *boxes[i] = row.before[i] == '1';
        if (row.click == 'O' || row.click == 'o')
            ChooseOnlySound(m, row.click == 'O');
        else
            ChooseForceBreak(m, row.click == 'F');
        std::string after;
        for (bool* box : boxes)
            after += *box ? '1' : '0';
        EXPECT_EQ(after, row.after) << row.click << " on " << row.before;
    }
}

// How the held shortcuts become the chosen ones. Steps: -P let go of the pause's, +P take it, +B
// take the break's; "x" marks a take another program refuses.
TEST(HeldShortcuts, KelvarosOwnAreLetGoFirstAndAFailedOneIsTriedAgainAtAChangeOrStart)
{
    const Shortcut a{kShortcutCtrl | kShortcutAlt, 'A'};
    const Shortcut b{kShortcutCtrl | kShortcutAlt, 'B'};
    const Shortcut none{};
    using Chosen = std::array<Shortcut, kShortcutCount>;
    const struct {
        const char* story;
        std::vector<std::pair<Chosen, ShortcutOccasion>> steps;
        std::vector<Shortcut> refused;
        const char* plans; // each plan's steps, plans apart by " | "
    } rows[] = {
        {"first read", {{{a, b}, ShortcutOccasion::Chosen}}, {}, "+P +B"},
        {"swapped: both let go before either is taken", {{{a, b}, ShortcutOccasion::Chosen}, {{b, a}, ShortcutOccasion::Chosen}},
         {}, "+P +B | -P -B +P +B"},
        {"the same keys twice: taken once", {{{a, a}, ShortcutOccasion::Chosen}}, {}, "+P"},
        {"unchanged: nothing", {{{a, b}, ShortcutOccasion::Chosen}, {{a, b}, ShortcutOccasion::Chosen}}, {}, "+P +B | "},
        {"emptied: let go", {{{a, b}, ShortcutOccasion::Chosen}, {{none, b}, ShortcutOccasion::Chosen}}, {}, "+P +B | -P"},
        {"failed, unchanged: not tried again", {{{a, none}, ShortcutOccasion::Chosen}, {{a, none}, ShortcutOccasion::Chosen}},
         {a}, "+Px | "},
        {"failed: tried again at another change", {{{a, none}, ShortcutOccasion::Chosen}, {{a, b}, ShortcutOccasion::Chosen}},
         {a}, "+Px | +Px +B"},
        {"failed: tried again at Start", {{{a, b}, ShortcutOccasion::Chosen}, {{a, b}, ShortcutOccasion::Start}}, {a},
         "+Px +B | +Px"},
        {"a Start before the first reading takes nothing", {{{a, b}, ShortcutOccasion::Start}}, {}, ""},
    };
    for (const auto& row : rows) {
        HeldShortcuts held;
        std::string plans;
        for (const auto& [chosen, occasion] : row.steps) {
            if (&chosen != &row.steps.front().first)
                plans += " | ";
            std::string plan;
            for (const ShortcutStep& step : held.Plan(chosen, occasion)) {
                const bool refused = std::find(row.refused.begin(), row.refused.end(), step.shortcut) != row.refused.end();
                plan += std::string(plan.empty() ? "" : " ") + (step.take ? '+' : '-') + "PB"[step.slot] +
                        (step.take && refused ? "x" : "");
                if (step.take)
                    held.Tried(step.slot, !refused);
                else
                    held.Released(step.slot);
            }
            held.Remember(chosen);
            plans += plan;
        }
        EXPECT_EQ(plans, row.plans) << row.story;
    }
}

} // namespace
