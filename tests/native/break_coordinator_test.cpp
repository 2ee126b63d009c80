#include "breaks/break_coordinator.h"

#include "activity/counter_state.h"
#include "in_berlin.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

// A run of Kelvaro as the shell drives the rules: an activity tick a second, the heads-up's timer
// while it runs, and each script word an event. What the screen shows is told by the second it
// happened, counted from the start: T H B W L Z a reminder given (its popup stays 7 seconds; L the
// daily limit's, Z the bedtime's), h the heads-up shown, /h gone, D the break dialog opened, e the eye-break popup
// shown, /e gone, +X a waiting reminder let go, i the time-break interval started again, < working
// hours began, > they ended.
//
// Script words: wN work N seconds (input every second), aN away N seconds, vN still N seconds with
// a film keeping the display on, T H B W that reminder due (T a forced break with "forced"),
// P Postpone, N Start now, K a break asked for at once, E the dialog's countdown ran out,
// O its OK clicked, S Stop, R Start, zN the computer asleep N seconds (woken by a key),
// pN paused for N seconds, r resumed, b+ b- a call begins or ends, q the quiet check.
struct Options {
    bool forced = false;   // time-break suggestions open the break dialog
    int eyeMinutes = 0;    // eye breaks every so many minutes, 0 for none
    GateSettings settings; // both ways of keeping quiet on, as at first
    bool workingHours = false; // Monday to Friday 09:00-17:00
    int limitMinutes = 0;      // the daily limit, 0 for none
    int bedtime = -1;          // the bedtime's reminder, minutes after midnight; -1 for none
};

class Session {
public:
    Session(std::int64_t start, const Options& options) : m_options(options), m_now(start)
    {
        g_timeCountedDay = m_now;
        m_record.Load(m_files);
        Start();
    }

    void Play(const std::string& script)
    {
        for (std::size_t at = 0; at < script.size();) {
            const std::size_t end = std::min(script.find(' ', at), script.size());
            Word(script.substr(at, end - at));
            at = end + 1;
        }
    }

    std::string Log() const { return m_log.empty() ? m_log : m_log.substr(0, m_log.size() - 1); }

    // The record's days with anything counted: "12-09 1 0 0/0" (breaks, postponed, eyes taken/offered).
    std::string Record()
    {
        std::string days;
        for (const BreakDay& day : m_record.Days()) {
            const BreakCounts& c = day.counts;
            if (c == BreakCounts{})
                continue;
            char line[64];
            std::snprintf(line, sizeof line, "%s%02d-%02d %d %d %d/%d", days.empty() ? "" : " ", day.date.month,
                          day.date.day, c.breaks, c.postponed, c.eyesTaken, c.eyesOffered);
            days += line;
        }
        return days;
    }

private:
    // A memory without files: the record is read from nothing and never saved here.
    struct NoFiles final : TimeFilesHost {
        std::optional<std::string> ReadText(const std::string&) override { return std::nullopt; }
        bool Exists(const std::string&) override { return false; }
        bool Replace(const std::string&, const std::string&) override { return true; }
        void ReportCannotOpen(const std::string&) override {}
        void SaveSettings() override {}
    };

    void Word(const std::string& word)
    {
        const char letter = word[0];
        const int number = word.size() > 1 && word[1] >= '0' && word[1] <= '9' ? std::stoi(word.substr(1)) : 0;
        switch (letter) {
        case 'w':
        case 'a':
        case 'v':
            for (int i = 0; i < number; ++i)
                Second(letter == 'w', letter == 'v');
            return;
        case 'T':
        case 'H':
        case 'B':
        case 'W':
            Offer(KindOf(letter));
            return;
        case 'P':
            m_rules.OnPostpone(Now());
            FollowHeadsUp();
            return;
        case 'N':
            FollowThenOpen(m_rules.OnStartNow(Now()));
            return;
        case 'K':
            FollowThenOpen(m_rules.OnTakeBreakNow(Now()));
            return;
        case 'E':
            // The countdown's seconds run out at this second.
            m_state.LoadBreakCountdown(1);
            m_rules.OnBreakCountdownTick(Now(), 60);
            return;
        case 'O':
            m_lastInputTick = m_tick;
            m_bDialogShown = false;
            return;
        case 'S':
            m_rules.OnStop(StopCause::User, Now());
            FollowHeadsUp();
            m_bEyesShown = false;
            return;
        case 'R':
            Start();
            return;
        case 'z':
            m_rules.OnStop(StopCause::Sleep, Now());
            FollowHeadsUp();
            m_bEyesShown = false;
            m_now += number;
            m_tick += static_cast<std::uint32_t>(number) * 1000;
            m_lastInputTick = m_tick;
            Start();
            return;
        case 'p':
            m_rules.Pause(m_now + number, PauseChoice::OneHour);
            FollowHeadsUp();
            return;
        case 'r':
            m_rules.Resume();
            return;
        case 'b':
            m_bBusy = word == "b+";
            return;
        case 'q':
            if (const std::optional<ReminderKind> held = m_rules.OnQuietCheck(Now()).reminder)
                Offer(*held);
            return;
        default:
            ADD_FAILURE() << "unknown word " << word;
        }
    }

    static ReminderKind KindOf(char letter)
    {
        return letter == 'H'   ? ReminderKind::HealthTip
               : letter == 'T' ? ReminderKind::TimeBreak
               : letter == 'B' ? ReminderKind::GoToBed
                               : ReminderKind::LongActivity;
    }
    static char LetterOf(ReminderKind kind) { return "HTBWLZ"[static_cast<int>(kind)]; }

    void Start()
    {
        BreakChoices choices;
        if (m_options.eyeMinutes > 0)
            choices.eyeBreakMinutes = m_options.eyeMinutes;
        if (m_options.workingHours)
            choices.workingHours = DefaultWorkWeek();
        if (m_options.limitMinutes > 0)
            choices.dailyLimitMinutes = m_options.limitMinutes;
        if (m_options.bedtime >= 0)
            choices.bedtimeMinutes = m_options.bedtime;
        ResetWarningThreshold(m_activeMs);
        m_rules.OnStart(Now(), choices);
    }

    Moment Now() const
    {
        Moment moment;
        moment.now = m_now;
        moment.tick = m_tick;
        moment.idleMs = static_cast<std::int32_t>(m_tick - m_lastInputTick);
        moment.busy = m_bBusy;
        moment.settings = m_options.settings;
        moment.reminderPopupUp = m_now < m_nPopupUntil;
        moment.breakDialogShown = m_bDialogShown;
        moment.displayRequired = m_bFilm;
        moment.countedDay = LocalDate(m_now);
        moment.activeMs = m_activeMs;
        return moment;
    }

    void Note(const std::string& what) { m_log += what + std::to_string(m_now - m_start) + ' '; }

    void Offer(ReminderKind kind)
    {
        const bool forced = kind == ReminderKind::TimeBreak && m_options.forced;
        switch (m_rules.OnReminderDue(kind, forced, Now())) {
        case ReminderRoute::Give:
            if (forced) {
                OpenDialog();
            } else {
                Note(std::string(1, LetterOf(kind)));
                m_nPopupUntil = m_now + 7;
            }
            break;
        case ReminderRoute::HeadsUp:
            FollowHeadsUp();
            break;
        case ReminderRoute::Nothing:
            break;
        }
    }

    void OpenDialog()
    {
        Note("D");
        m_bDialogShown = true;
    }

    // As the shell does: the heads-up goes first, then the break dialog comes.
    void FollowThenOpen(bool opens)
    {
        FollowHeadsUp();
        if (opens)
            OpenDialog();
    }

    void FollowHeadsUp()
    {
        if (m_rules.HeadsUpShown() != m_bHeadsUpShown)
            Note(m_rules.HeadsUpShown() ? "h" : "/h");
        m_bHeadsUpShown = m_rules.HeadsUpShown();
    }

    void Second(bool input, bool film)
    {
        ++m_now;
        m_tick += 1000;
        if (input)
            m_lastInputTick = m_tick;
        m_bFilm = film;
        // The count by the idle rule, from 0 on a new day.
        if (LocalDate(m_now) != LocalDate(g_timeCountedDay))
            m_activeMs = 0;
        if (m_tick - m_lastInputTick < kAwayAfterMs)
            m_activeMs += 1000;
        g_timeCountedDay = m_now;
        const ActivityOutcome outcome = m_rules.OnActivityTick(Now());
        if (outcome.breakIntervalRestarts)
            Note("i");
        if (outcome.workingHours != WorkingHoursChange::None) {
            Note(outcome.workingHours == WorkingHoursChange::Began ? "<" : ">");
            FollowHeadsUp();
        }
        if (outcome.eyeBreak.shown != m_bEyesShown)
            Note(outcome.eyeBreak.shown ? "e" : "/e");
        m_bEyesShown = outcome.eyeBreak.shown;
        for (ReminderKind kind : outcome.released) {
            Note(std::string("+") + LetterOf(kind));
            Offer(kind);
        }
        if (m_rules.HeadsUpTimerMs() != 0)
            FollowThenOpen(m_rules.OnHeadsUpTick(Now(), [this] { return Now(); }));
    }

    Options m_options;
    NoFiles m_files;
    CBreakHistory m_record;
    SupervisionState m_state;
    BreakCoordinator m_rules{m_record, m_state};
    std::int64_t m_now;
    const std::int64_t m_start = m_now;
    // Close to the tick count's wrap, which must change nothing.
    std::uint32_t m_tick = 0xFFFFFFFFu - 100000;
    std::uint32_t m_lastInputTick = m_tick;
    std::int64_t m_nPopupUntil = 0;
    bool m_bBusy = false;
    bool m_bFilm = false;
    bool m_bDialogShown = false;
    bool m_bHeadsUpShown = false;
    bool m_bEyesShown = false;
    std::int32_t m_activeMs = 0;
    std::string m_log;
};

class BreakCoordinatorInBerlin : public InBerlin {};

constexpr Options kForced{true, 0, {}};
constexpr Options kForcedAtOnce{true, 0, {false, false}};
constexpr Options kEyes{false, 1, {}};
constexpr Options kForcedAndEyes{true, 1, {}};
constexpr Options kWorkday{false, 0, {}, true, 0};
constexpr Options kForcedWorkday{true, 0, {}, true, 0};
constexpr Options kLimit{false, 0, {}, false, 1};

TEST_F(BreakCoordinatorInBerlin, EventSequencesComeOutAsTheRulesSay)
{
    const struct {
        const char* story;
        int hour;
        int minute;
        int second;
        Options options;
        const char* script;
        const char* log;
        const char* record;
    } rows[] = {
        // What comes on screen, and what waits for it.
        {"a reminder at work pops up", 14, 0, 0, {}, "w5 T w5", "T5", ""},
        {"a forced break is announced, then opens at a pause in typing, at most 30 s later", 14, 0, 0, kForced,
         "w10 T w65 a5", "h10 /h70 D70", ""},
        {"a forced break at a pause in typing opens then", 14, 0, 0, kForced, "w10 T w28 a5", "h10 /h40 D40", ""},
        {"with both quiet choices off a forced break comes at once", 14, 0, 0, kForcedAtOnce, "w10 T", "D10", ""},
        {"a break already announced adds nothing", 14, 0, 0, kForced, "w10 T w5 T w5 P w5 T", "h10 /h20", ""},
        {"a health tip waits for the heads-up, then comes", 14, 0, 0, kForced, "w10 T w5 H w30 a5",
         "h10 /h47 D47 +H48 H48", ""},
        {"the heads-up waits for a reminder's popup", 14, 0, 0, kForced, "w10 W w2 T w10", "W10 +T17 h17", ""},
        {"postponed while the eye-break popup is up, the break comes after it",
         14, 0, 0, kForcedAndEyes, "w10 T P w300 a30 w40", "h10 /h10 e130 /e250 e310 /e332 h332", "12-09 0 0 1/2"},
        {"a forced break without heads-up waits for the eye break", 14, 0, 0, {true, 1, {false, false}},
         "w60 T a25", "e60 /e82 +T82 D82", "12-09 0 0 1/1"},
        {"a reminder due during the eye break comes after it, once", 14, 0, 0, kEyes, "w60 T w1 T a25",
         "e60 /e83 +T83 T83", "12-09 0 0 1/1"},
        {"an eye break keeps two minutes from another reminder", 14, 0, 0, kEyes, "w10 W w150", "W10 e130",
         "12-09 0 0 0/1"},
        // What counts as a break, and on which day.
        {"a forced break whose countdown ran out counts", 14, 0, 0, kForcedAtOnce, "w5 T w60 E w5 O w5", "D5",
         "12-09 1 0 0/0"},
        {"a forced break spent away is one break, not two", 14, 0, 0, kForced, "w10 T w28 a65 E a300 O w5",
         "h10 /h40 D40 i404", "12-09 1 0 0/0"},
        {"the dialog left open while away is the same break", 14, 0, 0, kForced, "w10 T w28 a2 w60 E w2 a360 O w5",
         "h10 /h40 D40 i463", "12-09 1 0 0/0"},
        {"stopped during its countdown it counts nothing", 14, 0, 0, kForcedAtOnce, "w5 T w10 S E w5 O", "D5", ""},
        {"stopped and started again during its countdown it counts nothing", 14, 0, 0, kForcedAtOnce,
         "w5 T S R w10 E", "D5", ""},
        {"five minutes away are a break and start the interval again", 14, 0, 0, {}, "w5 a300 w1", "i306",
         "12-09 1 0 0/0"},
        {"a second short is no break", 14, 0, 0, {}, "w5 a298 w1", "", ""},
        {"a call listened to is no break", 14, 0, 0, {}, "w5 a100 b+ a300 b- w1", "", ""},
        {"a film watched is no break", 14, 0, 0, {}, "w5 v400 w1", "", ""},
        {"with natural breaks off the time away is no break", 14, 0, 0, {false, 0, {true, false}}, "w5 a400 w1",
         "", ""},
        {"a night asleep is nobody's break", 18, 0, 0, {}, "w5 a1800 z50400 w5", "i52206", ""},
        {"a lunch with the computer asleep is a break", 12, 0, 0, {}, "w5 z1200 w5", "i1206", "12-09 1 0 0/0"},
        {"a break that began before midnight counts for the day it began", 23, 55, 0, {}, "w5 a600 w5", "i606",
         "12-09 1 0 0/0"},
        {"the night away, awake or not, is nobody's break", 22, 0, 0, {}, "w5 a30000 w5", "i30006", ""},
        {"an eye break offered before midnight and taken after counts on its day", 23, 58, 50, kEyes, "w60 a25",
         "e60 /e82", "12-09 0 0 1/1"},
        {"a break taken at once starts the interval again; one due meanwhile neither comes nor is announced",
         14, 0, 0, kForced, "w10 K w5 T w5 E O w5 H", "D10 i11 H25", "12-09 1 0 0/0"},
        {"Start now starts the interval again", 14, 0, 0, kForced, "w10 T w5 N w5", "h10 /h15 D15 i16", ""},
                {"a postponement counts when its break comes", 14, 0, 0, kForced, "w10 T P w300 N", "h10 /h10 h310 /h310 D310",
         "12-09 0 1 0/0"},
        {"a postponement counts nothing when its break never came", 14, 0, 0, kForced, "w10 T P a400 w5",
         "h10 /h10 i411", "12-09 1 0 0/0"},
        // What a Stop, a sleep and a pause end.
        {"Stop ends the heads-up", 14, 0, 0, kForced, "w10 T w5 S w60", "h10 /h15", ""},
        {"Stop ends a break put off", 14, 0, 0, kForced, "w10 T P S R w400", "h10 /h10", ""},
        {"a sleep ends the heads-up", 14, 0, 0, kForced, "w10 T w5 z30 w60", "h10 /h15", ""},
        {"a pause ends the heads-up and drops what comes", 14, 0, 0, kForced, "w10 T w5 p600 w5 T H w5",
         "h10 /h15", ""},
        {"a reminder held in a call comes after it", 14, 0, 0, {}, "b+ w5 T w5 b- q", "T10", ""},
        {"held before a short sleep, it still comes", 14, 0, 0, {}, "b+ w5 T z120 b- w1 q", "T126", ""},
        {"held before a sleep of five minutes, it is let go", 14, 0, 0, {}, "b+ w5 T z300 b- w1 q", "i306",
         "12-09 1 0 0/0"},
        {"Stop lets go of what was held", 14, 0, 0, {}, "b+ w5 T S R b- w1 q", "", ""},
        // Working hours: Wednesday 09:00-17:00.
        {"outside working hours tips and suggestions are dropped", 18, 0, 0, kWorkday, "w5 H T w5 B w5", "B10", ""},
        {"inside them they come", 16, 0, 0, kWorkday, "w5 H w10 T", "H5 T15", ""},
        {"their beginning starts the intervals again", 8, 59, 50, kWorkday, "w15 H", "<10 H15", ""},
        {"their end drops the heads-up and its break", 16, 59, 50, kForcedWorkday, "w5 T w60 a5", "h5 >10 /h10", ""},
        {"their end lets go of a tip held in a call", 16, 59, 50, kWorkday, "b+ w5 T w10 b- q w5", ">10", ""},
        {"no eye break outside them", 16, 59, 30, {false, 1, {}, true, 0}, "w120", ">30", ""},
        {"the warning and the daily limit keep their own rules", 18, 0, 0, {false, 0, {}, true, 1}, "w5 W w130",
         "W5 +L125 L125", ""},
        // The daily limit.
        {"the daily limit comes when the count reaches it, again 30 minutes later", 14, 0, 0, kLimit, "w1900",
         "+L60 L60 +L1860 L1860", ""},
        {"it keeps two minutes from another reminder", 14, 0, 0, kLimit, "w50 H w200", "H50 +L170 L170", ""},
        {"held in a call, it comes after it", 14, 0, 0, kLimit, "b+ w70 b- q w5", "+L60 L70", ""},
        {"the long-activity warning comes at four hours", 9, 0, 0, {}, "w14405", "+W14400 W14400", ""},
        {"due in the same second as the daily limit, it comes two minutes after it", 9, 0, 0,
         {false, 0, {}, false, 240}, "w14530", "+L14400 L14400 +W14520 W14520", ""},
                // The bedtime: 23:00, or half past midnight, which belongs to the evening before.
        {"the bedtime's reminder comes once an evening to the user still at work", 22, 59, 50,
         {false, 0, {}, false, 0, 23 * 60}, "w20 a120 w20", "+Z10 Z10", ""},
        {"away at the bedtime, the user gets it on coming back", 22, 58, 0, {false, 0, {}, false, 0, 23 * 60},
         "w5 a200 w5", "+Z206 Z206", ""},
        {"after midnight it is still the evening's; the next evening it comes again", 0, 29, 50,
         {false, 0, {}, false, 0, 30}, "w20 a86370 w20", "+Z10 Z10 i86391 +Z86410 Z86410", ""},
        {"it keeps two minutes from another reminder", 22, 59, 0, {false, 0, {}, false, 0, 23 * 60}, "w5 H w150",
         "H5 +Z125 Z125", ""},
        {"a new day counts from its own first second", 23, 58, 30, kLimit, "w200", "+L60 L60 +L180 L180", ""},
    };
    for (const auto& row : rows) {
        Session run(LocalTime(2026, 12, 9, row.hour, row.minute, row.second), row.options);
        run.Play(row.script);
        EXPECT_EQ(run.Log(), row.log) << row.story << ": " << row.script;
        EXPECT_EQ(run.Record(), row.record) << row.story << ": " << row.script;
    }
}

TEST(BreakCoordinator, AStopOrASleepEndsWhatTheReadmeSays)
{
    const struct {
        StopCause cause;
        StopEffects effects;
    } rows[] = {
        {StopCause::User, {true, true, true, true}},
        {StopCause::Sleep, {false, false, true, false}},
    };
    for (const auto& row : rows) {
        const StopEffects effects = EffectsOfStop(row.cause);
        EXPECT_EQ(effects.endsPause, row.effects.endsPause);
        EXPECT_EQ(effects.letsGoOfHeld, row.effects.letsGoOfHeld);
        EXPECT_EQ(effects.forgetsWaitingShutdown, row.effects.forgetsWaitingShutdown);
        EXPECT_EQ(effects.endsIdleSpell, row.effects.endsIdleSpell);
    }
    EXPECT_FALSE(EffectsOfWake(kSleepLetsGoSeconds - 1).letsGoOfHeld);
    EXPECT_TRUE(EffectsOfWake(kSleepLetsGoSeconds).letsGoOfHeld);
    for (OwnedWindow window : {OwnedWindow::ReminderPopup, OwnedWindow::EyeBreakPopup, OwnedWindow::HeadsUp,
                               OwnedWindow::BreakDialog})
        EXPECT_FALSE(HidesWithMainWindow(window)) << static_cast<int>(window);
    EXPECT_TRUE(HidesWithMainWindow(OwnedWindow::ChildDialog));
}

} // namespace
