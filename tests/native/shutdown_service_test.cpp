#include "shutdown/shutdown_service.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

// 2006-12-05 00:00:00 UTC; the tests' local time is UTC.
constexpr std::int64_t kMidnight = 1165276800;
constexpr std::int64_t kDay = 24 * 60 * 60;

ShutdownMoment Moment(std::int64_t time)
{
    const int second = static_cast<int>((time - kMidnight) % kDay);
    return {time, {second / 3600, second / 60 % 60, second % 60}};
}

ShutdownMoment At(int day, int hour, int minute, int second)
{
    return Moment(kMidnight + day * kDay + hour * 3600 + minute * 60 + second);
}

// Ticks once a second from a moment on until the service asks or acts: what and when.
std::string NextStep(ShutdownSchedule& schedule, std::int64_t from, const TimeOfDay& chosen, bool warningOn = true)
{
    for (std::int64_t time = from; time < from + 2 * kDay; ++time) {
        const ShutdownStep step = schedule.OnTick(Moment(time), chosen, warningOn);
        if (step == ShutdownStep::Nothing)
            continue;
        const TimeOfDay local = Moment(time).local;
        char text[40];
        std::snprintf(text, sizeof text, "%s day %d %02d:%02d:%02d", step == ShutdownStep::Ask ? "ask" : "act",
                      static_cast<int>((time - kMidnight) / kDay), local.hour, local.minute, local.second);
        return text;
    }
    return "nothing";
}

TEST(ShutdownDue, FromTheChosenSecondToTheEndOfItsMinute)
{
    const struct Case {
        TimeOfDay now;
        bool due;
    } cases[] = {
        {{22, 30, 15}, true},  {{22, 30, 59}, true},  {{22, 30, 14}, false},
        {{22, 31, 15}, false}, {{21, 30, 15}, false}, {{-1, -1, -1}, false}, // the clock could not be read
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsShutdownDue(c.now, {22, 30, 15}), c.due)
            << c.now.hour << ":" << c.now.minute << ":" << c.now.second;
}

TEST(ShutdownSchedule, NoPostponesFromTheTimeDueOrFromTheAnswerOnceThatHasPassed)
{
    const struct Case {
        TimeOfDay chosen;
        ShutdownMoment answered;
        bool warningOn; // without the warning, a refused request postpones as a "No" does
        const char* next;
    } cases[] = {
        {{23, 57, 10}, At(0, 23, 57, 30), true, "ask day 1 00:02:10"},
        {{10, 55, 0}, At(0, 10, 55, 0), true, "ask day 0 11:00:00"},
        {{22, 30, 0}, At(0, 22, 35, 20), true, "ask day 0 22:40:20"},
        {{22, 30, 0}, At(1, 9, 0, 0), true, "ask day 1 09:05:00"}, // the question waited all night
        {{22, 30, 0}, At(0, 22, 30, 2), false, "act day 0 22:35:00"},
    };
    for (const Case& c : cases) {
        ShutdownSchedule schedule;
        g_bShutdownAsking = false;
        const ShutdownMoment due = At(0, c.chosen.hour, c.chosen.minute, c.chosen.second);
        ASSERT_NE(NextStep(schedule, due.time, c.chosen, c.warningOn), "nothing");
        // Ticks while the question is open do nothing.
        EXPECT_EQ(NextStep(schedule, due.time + 1, c.chosen, c.warningOn), "nothing");
        schedule.Postpone(c.answered);
        EXPECT_FALSE(g_bShutdownAsking);
        EXPECT_EQ(NextStep(schedule, c.answered.time + 1, c.chosen, c.warningOn), c.next) << c.next;
    }
}

TEST(ShutdownSchedule, APostponementEndsWhenCarriedOutMissedOrReplaced)
{
    ShutdownSchedule schedule;
    g_bShutdownAsking = false;
    const TimeOfDay chosen{22, 30, 0};
    ASSERT_EQ(NextStep(schedule, At(0, 22, 0, 0).time, chosen), "ask day 0 22:30:00");
    schedule.Postpone(At(0, 22, 30, 5));
    ASSERT_EQ(NextStep(schedule, At(0, 22, 30, 6).time, chosen), "ask day 0 22:35:00");
    schedule.CarriedOut();
    EXPECT_EQ(NextStep(schedule, At(0, 22, 35, 1).time, chosen), "ask day 1 22:30:00");

    // Asleep through the postponed minute: no question in the morning, the chosen time at night.
    schedule.Postpone(At(1, 22, 30, 10));
    EXPECT_EQ(NextStep(schedule, At(2, 7, 0, 0).time, chosen), "ask day 2 22:30:00");

    schedule.Postpone(At(2, 22, 30, 10));
    schedule.ForgetPostponement();
    EXPECT_EQ(NextStep(schedule, At(2, 22, 30, 11).time, {23, 0, 0}), "ask day 2 23:00:00");

    // Carried out at once: the rest of the chosen minute passes quietly.
    g_bShutdownAsking = false;
    ASSERT_EQ(NextStep(schedule, At(3, 22, 30, 0).time, chosen, false), "act day 3 22:30:00");
    schedule.CarriedOut();
    EXPECT_EQ(NextStep(schedule, At(3, 22, 30, 1).time, chosen, false), "act day 4 22:30:00");
}

TEST(ShutdownSchedule, ATimeDueDuringACallWaitsForItsEnd)
{
    ShutdownSchedule schedule;
    g_bShutdownAsking = false;
    const TimeOfDay chosen{22, 30, 0};
    // In a call from 22:20 to 22:50: the question comes when the call ends, once. The system is
    // asked about the call only from the moment the time is due, at each tick.
    int asked = 0;
    const auto inCall = [&asked] { return ++asked > 0; };
    for (std::int64_t time = At(0, 22, 20, 0).time; time < At(0, 22, 50, 0).time; ++time)
        ASSERT_EQ(schedule.OnTick(Moment(time), chosen, true, inCall), ShutdownStep::Nothing);
    EXPECT_EQ(asked, 20 * 60);
    EXPECT_EQ(NextStep(schedule, At(0, 22, 50, 0).time, chosen), "ask day 0 22:50:00");
    schedule.Postpone(At(0, 22, 50, 30));
    EXPECT_EQ(NextStep(schedule, At(0, 22, 50, 31).time, chosen), "ask day 0 22:55:30");

    // Stopped while it waited: the next Start doesn't act on it.
    schedule.CarriedOut();
    for (std::int64_t time = At(1, 22, 30, 0).time; time < At(1, 22, 31, 0).time; ++time)
        schedule.OnTick(Moment(time), chosen, false, [] { return true; });
    schedule.ForgetWaitingTime();
    EXPECT_EQ(NextStep(schedule, At(1, 22, 40, 0).time, chosen, false), "act day 2 22:30:00");

    // A call past midnight: the time that waited belongs to its day and is not carried out the next.
    g_bShutdownAsking = false;
    schedule.CarriedOut();
    const TimeOfDay late{23, 59, 30};
    for (std::int64_t time = At(3, 23, 59, 0).time; time < At(4, 0, 10, 0).time; ++time)
        schedule.OnTick(Moment(time), late, false, [] { return true; });
    EXPECT_EQ(NextStep(schedule, At(4, 0, 10, 0).time, late, false), "act day 4 23:59:30");
}

TEST(ShutdownRequest, FlagsPrivilegeAndWordsPerAction)
{
    const struct Case {
        int action;
        unsigned flags;
        bool privilegeOnNT;
        const char* verb;
        const char* refused;
    } cases[] = {
        {kActionShutdown, 1, true, "Shutdown", "Kelvaro could not shut down the computer."},
        {kActionLogOff, 0, false, "Log Off", "Kelvaro could not log off."},
        {kActionReboot, 2, true, "Reboot", "Kelvaro could not restart the computer."},
        {kActionPowerOff, 8, true, "Power off", "Kelvaro could not power off the computer."},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PlanSessionEnd(c.action, true).flags, c.flags) << c.action;
        EXPECT_EQ(PlanSessionEnd(c.action, true).adjustPrivilege, c.privilegeOnNT) << c.action;
        EXPECT_FALSE(PlanSessionEnd(c.action, false).adjustPrivilege) << c.action;
        EXPECT_EQ(ShutdownQuestion(c.action), std::string("Do you want to ") + c.verb +
                                                  " your system?\r\n\r\nThis warning will be repeated every 5 minutes");
        EXPECT_EQ(SessionEndRefusedMessage(c.action), c.refused);
    }
}

} // namespace
