#include "settings/settings_file.h"

#include "../local_time.h"
#include "in_berlin.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <string_view>
#include <vector>

using namespace std::string_view_literals;

namespace {

constexpr std::string_view kKeyNames[] = {
    "HEALTH_MSG",      "TIMEBREAK_MSG", "SLEEP_MSG",      "SOUND_ON_MSG",   "SOUND_LONGTIME_WARNING",
    "SHUTDOWN",        "TIMELIMIT",     "FREQUENCE",      "STARTTRAY",      "FORCEBREAK",
    "FORCEBREAK_WAIT", "ONLYSOUND",     "KEYBOARD_LEDS",  "SOUNDMSG_PATH",  "SOUNDWARNING_PATH",
    "OTHERTIME",       "STARTPROGRAM",  "HOLD_WHEN_BUSY", "NATURAL_BREAKS", "WINDOWS_NOTIFICATIONS",
    "EYE_BREAKS",      "EYE_BREAK_MINUTES", "WORK_HOURS",  "WORK_MON",       "WORK_TUE",       "WORK_WED",
    "WORK_THU",        "WORK_FRI",      "WORK_SAT",       "WORK_SUN",       "DAILY_LIMIT",    "DAILY_LIMIT_TIME",
    "PAUSED_UNTIL",    "HOTKEY_PAUSE",  "HOTKEY_BREAK",  "LANGUAGE", "COVER_SCREENS", "STRICT_BREAKS", "BEDTIME", "BEDTIME_REMINDER", "THEME"};

// One line per assignment, so a failing table row shows everything that was read.
std::string Describe(const std::vector<SettingAssignment>& assignments)
{
    std::string out;
    for (const SettingAssignment& a : assignments) {
        if (!out.empty())
            out += ' ';
        out += kKeyNames[static_cast<int>(a.key)];
        out += '=';
        switch (a.key) {
        case SettingKey::TimeLimit:
            out += a.timeLimit ? std::to_string(a.timeLimit->hour) + ':' + std::to_string(a.timeLimit->minute) + ':' +
                                     std::to_string(a.timeLimit->second)
                               : "keep";
            break;
        case SettingKey::Frequence:
            out += std::to_string(a.frequenceButton);
            break;
        case SettingKey::StartTray:
            out += a.hideToTray ? "hide" : "show";
            break;
        case SettingKey::StartProgram:
            out += a.startProgram ? "start" : "none";
            break;
        case SettingKey::ForceBreakWait:
        case SettingKey::SoundMsgPath:
        case SettingKey::SoundWarningPath:
        case SettingKey::OtherTime:
        case SettingKey::EyeBreakMinutes:
        case SettingKey::Language:
            out += '<' + a.text + '>';
            break;
        case SettingKey::WorkMon:
        case SettingKey::WorkTue:
        case SettingKey::WorkWed:
        case SettingKey::WorkThu:
        case SettingKey::WorkFri:
        case SettingKey::WorkSat:
        case SettingKey::WorkSun:
            out += '<' + FormatWorkDay(a.workDay) + '>';
            break;
        case SettingKey::DailyLimitTime:
            out += std::to_string(a.dailyLimitMinutes);
            break;
        case SettingKey::PausedUntil:
            out += a.pausedUntil ? std::to_string(*a.pausedUntil) : "none";
            break;
        case SettingKey::HotkeyPause:
        case SettingKey::HotkeyBreak:
            out += '<' + ShortcutText(a.shortcut) + '>';
            break;
        default:
            out += a.checked ? '1' : '0';
            break;
        }
    }
    return out;
}

// What the program's reading makes of the assignments, from the model's first-start values; the
// interval read is the one in force at the last Start, as the writer had it.
SettingsModel ApplyAll(const std::vector<SettingAssignment>& assignments, int frequence)
{
    SettingsModel s;
    for (const SettingAssignment& a : assignments)
        ApplySetting(s, a);
    s.frequence = frequence;
    return s;
}

std::optional<std::int64_t> PauseRead(const std::vector<SettingAssignment>& assignments)
{
    std::optional<std::int64_t> pause;
    for (const SettingAssignment& a : assignments) {
        if (a.key == SettingKey::PausedUntil)
            pause = a.pausedUntil;
    }
    return pause;
}

SettingsModel FirstStartDefaults()
{
    return SettingsModel{};
}

TEST(SettingsFile, FirstStartFileHasTheDefaultLines)
{
    EXPECT_EQ(FormatSettingsFile(FirstStartDefaults()),
              "HEALTH_MSG 1\r\nTIMEBREAK_MSG 1\r\nSLEEP_MSG 1\r\nSOUND_ON_MSG 0\r\nSOUND_LONGTIME_WARNING 0\r\n"
              "SHUTDOWN 0\r\nTIMELIMIT 0:0:0\r\nFREQUENCE 0\r\nSTARTTRAY 1\r\nFORCEBREAK 0\r\nFORCEBREAK_WAIT 60\r\n"
              "ONLYSOUND 0\r\nKEYBOARD_LEDS 0\r\nSOUNDMSG_PATH message.wav\r\nSOUNDWARNING_PATH break.wav\r\n"
              "OTHERTIME 120\r\nSTARTPROGRAM true\r\nHOLD_WHEN_BUSY 1\r\nNATURAL_BREAKS 1\r\n"
              "WINDOWS_NOTIFICATIONS 0\r\nEYE_BREAKS 0\r\nEYE_BREAK_MINUTES 20\r\nWORK_HOURS 0\r\n"
              "WORK_MON \"09:00-17:00\"\r\nWORK_TUE \"09:00-17:00\"\r\nWORK_WED \"09:00-17:00\"\r\n"
              "WORK_THU \"09:00-17:00\"\r\nWORK_FRI \"09:00-17:00\"\r\nWORK_SAT \"\"\r\nWORK_SUN \"\"\r\n"
              "DAILY_LIMIT 0\r\nDAILY_LIMIT_TIME 8:0:0\r\nHOTKEY_PAUSE \"\"\r\nHOTKEY_BREAK \"\"\r\n"
              "COVER_SCREENS 0\r\nSTRICT_BREAKS 0\r\nBEDTIME \"\"\r\nBEDTIME_REMINDER 0\r\nTHEME system\r\n");
}

TEST(SettingsFile, AwkwardValuesAreWrittenQuotedOnTheirOwnLine)
{
    SettingsModel s = FirstStartDefaults();
    s.timeLimit = {22, 30, 0};
    s.frequence = 1024;
    s.forceBreakWait = "";
    s.messageSoundPath = "C:\\Program Files\\a.wav";
    s.warningSoundPath = "\"x\ny";
    s.otherTime = "";
    const std::string file = FormatSettingsFile(s);
    for (std::string_view line :
         {"TIMELIMIT 22:30:0\r\n", "FREQUENCE 1024\r\n", "FORCEBREAK_WAIT \"\"\r\n",
          "SOUNDMSG_PATH \"C:\\Program Files\\a.wav\"\r\n", "SOUNDWARNING_PATH \"\"\"x y\"\r\n", "OTHERTIME 120\r\n"}) {
        EXPECT_NE(file.find(line), std::string::npos) << line << "in\n" << file;
    }
}

TEST(SettingsFile, WrittenModelsReadBackWithEveryKeyInOrderByteForByte)
{
    SettingsModel flipped;
    // STARTTRAY reads back as 1 whatever it says: the window is shown once, then hidden again.
    flipped.healthMsg = flipped.timeBreakMsg = flipped.sleepMsg = false;
    flipped.soundOnMsg = flipped.soundLongtimeWarning = flipped.shutdown = true;
    flipped.forceBreak = flipped.onlySound = flipped.keyboardLeds = true;
    flipped.holdWhenBusy = flipped.naturalBreaks = false;
    flipped.windowsNotifications = true;
    flipped.eyeBreaks = true;
    flipped.eyeBreakMinutes = "120";
    flipped.timeLimit = {23, 59, 59};
    flipped.frequence = flipped.interval = 1022;
    flipped.forceBreakWait = "";
    flipped.messageSoundPath = "C:\\Program Files\\My Sounds\\ding dong.wav";
    flipped.warningSoundPath = "D:\\" + std::string(252, 'w') + ".wav"; // the longest path kept
    flipped.otherTime = " 7\t";
    flipped.workHours = flipped.dailyLimit = true;
    flipped.workWeek[kMonday] = {true, {8 * 60, 12 * 60 + 30}, WorkRange{13 * 60 + 30, 17 * 60 + 30}};
    flipped.workWeek[kSaturday] = {true, {22 * 60, 2 * 60}, std::nullopt};
    flipped.workWeek[kSaturday - 1] = {false, {1, 2}, std::nullopt}; // Friday off, its ranges not written
    flipped.dailyLimitMinutes = 23 * 60 + 59;
    flipped.language = "pt_BR";
    flipped.pauseShortcut = {kShortcutCtrl | kShortcutAlt, 'P'};
    flipped.breakShortcut = {kShortcutCtrl | kShortcutAlt | kShortcutShift, 0x70}; // F1
    flipped.theme = ThemeSetting::Light;
    SettingsModel quotes = FirstStartDefaults();
    quotes.forceBreakWait = "\"";
    quotes.messageSoundPath = "a\"b";
    quotes.warningSoundPath = "\"quoted name\".wav";
    quotes.otherTime = "\"\"";
    quotes.eyeBreakMinutes = "1";
    quotes.dailyLimitMinutes = 1;

    const struct {
        const SettingsModel& model;
        std::optional<std::int64_t> pause;
    } rows[] = {{FirstStartDefaults(), std::nullopt}, {flipped, 1165334400}, {quotes, std::nullopt}};
    for (const auto& row : rows) {
        const std::string file = FormatSettingsFile(row.model, row.pause);
        const std::vector<SettingAssignment> read = ParseSettingsFile(file);
        // PAUSED_UNTIL only while a pause runs, LANGUAGE only while a language is chosen.
        ASSERT_EQ(read.size(), kSettingKeyCount - (row.pause ? 0 : 1) - (row.model.language.empty() ? 1 : 0))
            << Describe(read);
        size_t key = 0;
        for (const SettingAssignment& a : read) {
            if (key == static_cast<size_t>(SettingKey::PausedUntil) && !row.pause)
                ++key;
            if (key == static_cast<size_t>(SettingKey::Language) && row.model.language.empty())
                ++key;
            EXPECT_EQ(static_cast<size_t>(a.key), key++) << Describe(read);
        }
        EXPECT_TRUE(read[static_cast<size_t>(SettingKey::StartProgram)].startProgram);
        // Byte for byte: the model read back writes the same file.
        const SettingsModel back = ApplyAll(read, row.model.frequence);
        EXPECT_EQ(FormatSettingsFile(back, PauseRead(read)), file);
    }
}

TEST(SettingsFile, ReadingRules)
{
    struct Case {
        std::string_view text;
        std::string_view expected;
    };
    const Case cases[] = {
        {"HEALTH_MSG 1", "HEALTH_MSG=1"},
        {"HEALTH_MSG yes HEALTH_MSG true HEALTH_MSG 01", "HEALTH_MSG=0 HEALTH_MSG=0 HEALTH_MSG=0"},
        {"WINDOWS_NOTIFICATIONS 1 WINDOWS_NOTIFICATIONS on", "WINDOWS_NOTIFICATIONS=1 WINDOWS_NOTIFICATIONS=0"},
        {"EYE_BREAKS 1 EYE_BREAK_MINUTES 45 EYE_BREAK_MINUTES 1 EYE_BREAK_MINUTES 120 EYE_BREAK_MINUTES 007",
         "EYE_BREAKS=1 EYE_BREAK_MINUTES=<45> EYE_BREAK_MINUTES=<1> EYE_BREAK_MINUTES=<120> EYE_BREAK_MINUTES=<7>"},
        {"EYE_BREAK_MINUTES 0 EYE_BREAK_MINUTES 121 EYE_BREAK_MINUTES -5 EYE_BREAK_MINUTES 2x EYE_BREAK_MINUTES \"\" "
         "EYE_BREAK_MINUTES 99999999999999999999",
         "EYE_BREAK_MINUTES=<20> EYE_BREAK_MINUTES=<20> EYE_BREAK_MINUTES=<20> EYE_BREAK_MINUTES=<20> "
         "EYE_BREAK_MINUTES=<20> EYE_BREAK_MINUTES=<20>"},
        {"HEALTH_MSG 1\r\nHEALTH_MSG 0", "HEALTH_MSG=1 HEALTH_MSG=0"},
        {"\tSLEEP_MSG\v1\fSHUTDOWN\r\n\n1 ONLYSOUND 1 KEYBOARD_LEDS 1",
         "SLEEP_MSG=1 SHUTDOWN=1 ONLYSOUND=1 KEYBOARD_LEDS=1"},
        {"health_msg 1 SLEEP_MSG 1 Sleep_Msg 1", "SLEEP_MSG=1"},
        {"HEALTH_MSGX 1 XHEALTH_MSG 1", ""},
        {"FREQUENCE 0 FREQUENCE 1024 FREQUENCE 30 FREQUENCE 1021",
         "FREQUENCE=0 FREQUENCE=1024 FREQUENCE=0 FREQUENCE=1021"},
        {"STARTTRAY 0 STARTTRAY 1 STARTTRAY 01 STARTTRAY 2",
         "STARTTRAY=show STARTTRAY=hide STARTTRAY=hide STARTTRAY=show"},
        {"STARTTRAY abc SHUTDOWN 1", "STARTTRAY=show SHUTDOWN=1"},
        {"STARTTRAY 1SHUTDOWN 1", "STARTTRAY=hide SHUTDOWN=1"},
        {"TIMELIMIT 23:5 TIMELIMIT 7:45:30", "TIMELIMIT=23:5:0 TIMELIMIT=7:45:30"},
        {"TIMELIMIT 7 :45 SHUTDOWN 1", "TIMELIMIT=keep SHUTDOWN=1"},
        {"TIMELIMIT 7: 45 : 30", "TIMELIMIT=7:45:0"},
        {"TIMELIMIT\r\n+7:-0:x", "TIMELIMIT=7:0:0"},
        {"TIMELIMIT 24:0 TIMELIMIT 0:60 TIMELIMIT 23:59:60 TIMELIMIT -1:0 TIMELIMIT 99:99:99",
         "TIMELIMIT=keep TIMELIMIT=keep TIMELIMIT=keep TIMELIMIT=keep TIMELIMIT=keep"},
        {"TIMELIMIT 4294967303:5 TIMELIMIT 7:99999999999999999999999", "TIMELIMIT=keep TIMELIMIT=keep"},
        {"TIMELIMIT SHUTDOWN 1 TIMELIMIT :5", "TIMELIMIT=keep SHUTDOWN=1 TIMELIMIT=keep"},
        {"STARTPROGRAM true STARTPROGRAM true STARTPROGRAM True",
         "STARTPROGRAM=start STARTPROGRAM=start STARTPROGRAM=none"},
        {"OTHERTIME 45 FORCEBREAK_WAIT 0", "OTHERTIME=<45> FORCEBREAK_WAIT=<0>"},
        {"OTHERTIME 1234567890 FORCEBREAK_WAIT \"12 456 89x\" OTHERTIME 12345678\xC3\xA9",
         "OTHERTIME=<123456789> FORCEBREAK_WAIT=<12 456 89> OTHERTIME=<12345678>"},
        {"FORCEBREAK_WAIT \"\" ONLYSOUND 1", "FORCEBREAK_WAIT=<> ONLYSOUND=1"},
        {"SOUNDMSG_PATH \"C:\\Program Files\\a.wav\" SHUTDOWN 1",
         "SOUNDMSG_PATH=<C:\\Program Files\\a.wav> SHUTDOWN=1"},
        {"OTHERTIME \"a\"\"b\" OTHERTIME a\"b OTHERTIME \"12\"HEALTH_MSG 1",
         "OTHERTIME=<a\"b> OTHERTIME=<a\"b> OTHERTIME=<12> HEALTH_MSG=1"},
        // A lone quote ends at its line end; a quoted word is never a key.
        {"SOUNDMSG_PATH \"C:\\a b\r\nSHUTDOWN 1", "SOUNDMSG_PATH=<C:\\a b> SHUTDOWN=1"},
        {"\"HEALTH_MSG\" 1 \"x SLEEP_MSG 1\nSHUTDOWN 1", "SHUTDOWN=1"},
        {"\xEF\xBB\xBFHEALTH_MSG 1 \xEF\xBB\xBFSLEEP_MSG 1", "HEALTH_MSG=1"},
        {"HEALTH_MSG 1\0 SLEEP_MSG\0 1 SHUTDOWN 1"sv, "HEALTH_MSG=0 SHUTDOWN=1"},
        {"HEALTH_MSG 1 OTHERTIME", "HEALTH_MSG=1"},
        {"TIMELIMIT  \r\n", ""},
        // The working day: a damaged range reads as the day's default, Monday to Friday 09:00-17:00.
        {"WORK_HOURS 1 WORK_MON \"08:00-12:00  13:00-17:00 \" WORK_SAT 22:00-02:00 WORK_SUN \"\" WORK_TUE \" \"",
         "WORK_HOURS=1 WORK_MON=<08:00-12:00 13:00-17:00> WORK_SAT=<22:00-02:00> WORK_SUN=<> WORK_TUE=<>"},
        {"WORK_WED \"7:05-9:00\" WORK_THU \"00:00-00:00\" WORK_FRI \"09:00-17:00 18:00-19:00 20:00-21:00\"",
         "WORK_WED=<07:05-09:00> WORK_THU=<00:00-00:00> WORK_FRI=<09:00-17:00>"},
        {"WORK_MON \"24:00-17:00\" WORK_TUE \"09:60-17:00\" WORK_WED 9-17 WORK_THU \"09:00-17:00 x\" WORK_SAT 10:00",
         "WORK_MON=<09:00-17:00> WORK_TUE=<09:00-17:00> WORK_WED=<09:00-17:00> WORK_THU=<09:00-17:00> WORK_SAT=<>"},
        {"WORK_SUN \"09:00-17:00 ;\" WORK_MON 009:00-17:00 WORK_FRI \"09:0-17:00\" WORK_SAT -",
         "WORK_SUN=<> WORK_MON=<09:00-17:00> WORK_FRI=<09:00-17:00> WORK_SAT=<>"},
        {"DAILY_LIMIT 1 DAILY_LIMIT_TIME 7:30:0 DAILY_LIMIT_TIME 0:1 DAILY_LIMIT_TIME 23:59:59",
         "DAILY_LIMIT=1 DAILY_LIMIT_TIME=450 DAILY_LIMIT_TIME=1 DAILY_LIMIT_TIME=1439"},
        {"DAILY_LIMIT_TIME 0:0:0 DAILY_LIMIT_TIME 24:0:0 DAILY_LIMIT_TIME 8:60 DAILY_LIMIT_TIME -1:0 DAILY_LIMIT_TIME x "
         "DAILY_LIMIT_TIME 99999999999:0",
         "DAILY_LIMIT_TIME=480 DAILY_LIMIT_TIME=480 DAILY_LIMIT_TIME=480 DAILY_LIMIT_TIME=480 DAILY_LIMIT_TIME=480 "
         "DAILY_LIMIT_TIME=480"},
        {"PAUSED_UNTIL 2026-2-30 6:0:0 PAUSED_UNTIL 1979-12-31 6:0:0 PAUSED_UNTIL 2026-12-10 24:0:0 PAUSED_UNTIL "
         "2026-12-10 PAUSED_UNTIL 2026--12-10 6:0:0",
         "PAUSED_UNTIL=none PAUSED_UNTIL=none PAUSED_UNTIL=none PAUSED_UNTIL=none PAUSED_UNTIL=none"},
        // A language's id, or Windows' own language.
        {"LANGUAGE de LANGUAGE pt-BR LANGUAGE \"\" LANGUAGE de.po LANGUAGE \"de DE\" LANGUAGE ..\\x",
         "LANGUAGE=<de> LANGUAGE=<pt-BR> LANGUAGE=<> LANGUAGE=<> LANGUAGE=<> LANGUAGE=<>"},
        // The shortcuts: a damaged one reads as none, and a quoted empty value keeps the next key intact.
        {"HOTKEY_PAUSE Ctrl+Alt+P HOTKEY_BREAK \"\" SHUTDOWN 1",
         "HOTKEY_PAUSE=<Ctrl+Alt+P> HOTKEY_BREAK=<> SHUTDOWN=1"},
        {"HOTKEY_PAUSE shift+ctrl+f12 HOTKEY_BREAK \"Alt + Space\" HOTKEY_PAUSE Ctrl+P HOTKEY_BREAK P",
         "HOTKEY_PAUSE=<Ctrl+Shift+F12> HOTKEY_BREAK=<Alt+Space> HOTKEY_PAUSE=<Ctrl+P> HOTKEY_BREAK=<>"},
        {"HOTKEY_PAUSE Shift+P HOTKEY_BREAK Ctrl+Ctrl+P HOTKEY_PAUSE Ctrl+Alt+ HOTKEY_BREAK Win+P HOTKEY_PAUSE Ctrl+Alt+PP",
         "HOTKEY_PAUSE=<> HOTKEY_BREAK=<> HOTKEY_PAUSE=<> HOTKEY_BREAK=<> HOTKEY_PAUSE=<>"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Describe(ParseSettingsFile(c.text)), c.expected) << "reading: " << c.text;
    }
}

class PausedUntilInBerlin : public InBerlin {};

// A pause is written as the local clock shows its end and read back at the next start: where the
// clock shows that time twice, the later moment, so that a pause never ends earlier than chosen.
TEST_F(PausedUntilInBerlin, ThePauseIsReadBackAfterARestart)
{
    const struct {
        std::int64_t end;
        std::string_view line;
        std::int64_t readBack;
    } cases[] = {
        {UtcTime(2026, 12, 10, 5, 0), "PAUSED_UNTIL 2026-12-10 6:0:0", UtcTime(2026, 12, 10, 5, 0)},
        {UtcTime(2026, 7, 1, 4, 0) + 59, "PAUSED_UNTIL 2026-7-1 6:0:59", UtcTime(2026, 7, 1, 4, 0) + 59},
        // 25 October 2026: 02:30 summer time, then 02:30 winter time an hour later.
        {UtcTime(2026, 10, 25, 1, 30), "PAUSED_UNTIL 2026-10-25 2:30:0", UtcTime(2026, 10, 25, 1, 30)},
        {UtcTime(2026, 10, 25, 0, 30), "PAUSED_UNTIL 2026-10-25 2:30:0", UtcTime(2026, 10, 25, 1, 30)},
    };
    for (const auto& c : cases) {
        const std::string file = FormatSettingsFile({}, c.end);
        EXPECT_NE(file.find("\r\n" + std::string(c.line) + "\r\nHOTKEY_PAUSE"), std::string::npos) << file;
        const std::vector<SettingAssignment> read = ParseSettingsFile(file);
        const auto found = std::find_if(read.begin(), read.end(),
                                        [](const SettingAssignment& a) { return a.key == SettingKey::PausedUntil; });
        ASSERT_NE(found, read.end()) << c.line;
        EXPECT_EQ(found->pausedUntil, c.readBack) << c.line;
    }
    // 29 March 2026 skips from 02:00 to 03:00: a 02:30 typed by hand reads as 03:30.
    EXPECT_EQ(Describe(ParseSettingsFile("PAUSED_UNTIL 2026-03-29 02:30:00")),
              "PAUSED_UNTIL=" + std::to_string(UtcTime(2026, 3, 29, 1, 30)));
    // No pause, no line.
    EXPECT_EQ(FormatSettingsFile({}).find("PAUSED_UNTIL"), std::string::npos);
}

std::string Repeated(std::string_view piece, std::size_t times)
{
    std::string out;
    for (std::size_t i = 0; i < times; ++i)
        out += piece;
    return out;
}

TEST(SettingsFile, PathsLongerThanTheSystemAllowsAreSkipped)
{
    // The limit counts UTF-16 units: a Cyrillic letter is two bytes but one unit, an emoji four and two.
    const std::string cyrillic = "C:\\" + Repeated("\xD0\x96", 252) + ".wav";
    const std::string emoji = "C:\\" + Repeated("\xF0\x9F\x98\x80", 126) + ".wav";
    const std::string ascii = "C:\\" + std::string(252, 'p') + ".wav";
    const std::string text = "SOUNDMSG_PATH " + cyrillic + " SOUNDWARNING_PATH " + emoji + " SOUNDMSG_PATH \"" + ascii +
                             "\" SOUNDWARNING_PATH x" + ascii + " SHUTDOWN 1";
    EXPECT_EQ(Describe(ParseSettingsFile(text)), "SOUNDMSG_PATH=<" + cyrillic + "> SOUNDWARNING_PATH=<" + emoji +
                                                     "> SOUNDMSG_PATH=<" + ascii + "> SHUTDOWN=1");
    EXPECT_EQ(Describe(ParseSettingsFile("SOUNDMSG_PATH " + emoji + "x")), "");
}

TEST(SettingsFile, OnlyAssignmentsThatChangeSomethingAreApplied)
{
    struct Case {
        std::string_view text;
        std::string_view applied;
    };
    const Case cases[] = {
        {"STARTPROGRAM true HEALTH_MSG 1 STARTPROGRAM true", "STARTPROGRAM=start HEALTH_MSG=1 STARTPROGRAM=start"},
        {"STARTPROGRAM true SHUTDOWN 1 STARTPROGRAM true STARTPROGRAM x STARTPROGRAM x STARTPROGRAM true",
         "SHUTDOWN=1 STARTPROGRAM=start"},
        {"STARTPROGRAM true STARTPROGRAM true SHUTDOWN 1 STARTPROGRAM true STARTPROGRAM true",
         "SHUTDOWN=1 STARTPROGRAM=start STARTPROGRAM=start"},
        // A start between two equal assignments keeps both: the start saves what the first one set.
        {"HEALTH_MSG 1 HEALTH_MSG 0 HEALTH_MSG 1 STARTPROGRAM true HEALTH_MSG 1",
         "HEALTH_MSG=0 HEALTH_MSG=1 STARTPROGRAM=start HEALTH_MSG=1"},
        // "Other" stays enabled once a 1024 was read, whatever follows.
        {"FREQUENCE 1024 FREQUENCE 1021 FREQUENCE 1024 FREQUENCE 1021", "FREQUENCE=1024 FREQUENCE=1021"},
        {"TIMELIMIT 7:0 TIMELIMIT 99:0 TIMELIMIT 7:0 TIMELIMIT 99:0", "TIMELIMIT=7:0:0 TIMELIMIT=keep"},
        {"OTHERTIME 5 OTHERTIME \"5\" STARTTRAY 1 STARTTRAY 0 STARTTRAY 1",
         "OTHERTIME=<5> STARTTRAY=show STARTTRAY=hide"},
        // The keys after the start are applied first, once each, so that the start saves them as read.
        {"NATURAL_BREAKS 0 SHUTDOWN 1 STARTPROGRAM true NATURAL_BREAKS 1 WINDOWS_NOTIFICATIONS 1",
         "NATURAL_BREAKS=1 WINDOWS_NOTIFICATIONS=1 SHUTDOWN=1 STARTPROGRAM=start"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Describe(AssignmentsToApply(ParseSettingsFile(c.text))), c.applied) << "reading: " << c.text;

    // A file of megabytes that repeats the settings applies no more than two copies would.
    const std::string copy = FormatSettingsFile(FirstStartDefaults());
    EXPECT_EQ(Describe(AssignmentsToApply(ParseSettingsFile(Repeated(copy, 10000)))),
              Describe(AssignmentsToApply(ParseSettingsFile(copy + copy))));
}

// A damaged file of megabytes is read in one pass, with every value bounded.
TEST(SettingsFile, AFileOfMegabytesIsReadWithBoundedValues)
{
    const std::string digits(3'000'000, '7');
    const std::string text = "OTHERTIME " + digits + " FORCEBREAK_WAIT " + digits + "\r\nSOUNDMSG_PATH \"" +
                             std::string(2'000'000, 'a') + " b\"\r\nSOUNDWARNING_PATH " + digits + "\r\n" +
                             std::string(3'000'000, 'z') + " HEALTH_MSG 0\r\n";
    EXPECT_EQ(Describe(ParseSettingsFile(text)), "OTHERTIME=<777777777> FORCEBREAK_WAIT=<777777777> HEALTH_MSG=0");
}

// Anything a damaged file can hold: keys, quotes, digits, colons, blanks, NUL and high bytes.
TEST(SettingsFile, DamagedInputIsReadSafely)
{
    const std::string full = FormatSettingsFile(FirstStartDefaults()) + "SOUNDMSG_PATH \"C:\\a b.wav\"\r\n";
    const std::vector<SettingAssignment> fullRead = ParseSettingsFile(full);
    for (std::size_t length = 0; length <= full.size(); ++length) {
        const std::vector<SettingAssignment> read = ParseSettingsFile(std::string_view(full).substr(0, length));
        ASSERT_LE(read.size(), fullRead.size()) << "cut at " << length;
        for (std::size_t i = 0; i < read.size(); ++i) {
            EXPECT_EQ(read[i].key, fullRead[i].key) << "cut at " << length << ": " << Describe(read);
        }
    }

    const std::string_view pieces[] = {
        "TIMELIMIT", "STARTTRAY", "FREQUENCE", "SOUNDMSG_PATH", "HEALTH_MSG", "\"",   "\"\"",        ":", "-",
        "1",         "99",        " ",         "\r\n",          "\t",         "\0"sv, "\xEF\xBB\xBF"};
    std::mt19937 random(20240611);
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        const int parts = static_cast<int>(random() % 60);
        for (int i = 0; i < parts; ++i) {
            if (random() % 3 == 0) {
                text += static_cast<char>(random() % 256);
            } else {
                text += pieces[random() % std::size(pieces)];
            }
        }
        for (const SettingAssignment& a : ParseSettingsFile(text)) {
            if (a.timeLimit) {
                EXPECT_TRUE(a.timeLimit->hour >= 0 && a.timeLimit->hour <= 23 && a.timeLimit->minute >= 0 &&
                            a.timeLimit->minute <= 59 && a.timeLimit->second >= 0 && a.timeLimit->second <= 59)
                    << "round " << round;
            }
            EXPECT_TRUE(a.frequenceButton == 0 || (a.frequenceButton >= 1021 && a.frequenceButton <= 1024));
        }
    }
}

} // namespace
