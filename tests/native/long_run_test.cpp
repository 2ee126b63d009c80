// Months of use, one activity tick a second, against a history worked out from the user's days alone.
#include "activity/active_time_store.h"
#include "activity/activity_monitor.h"
#include "activity/counter_state.h"
#include "activity/time_files.h"

#include "in_berlin.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <map>
#include <optional>
#include <set>

namespace {

constexpr std::int64_t kIdleLimitSeconds = 60;
constexpr std::int64_t kSavePeriodSeconds = 300;
constexpr std::int64_t kHour = 3600;
constexpr std::int64_t kMinute = 60;
constexpr std::uint32_t kBootTick = 30000;

enum class Happening { Boot, Launch, Quit, Start, Stop, SetClockBack };

struct Event {
    std::int64_t at; // seconds of real time, as the tick count measures it
    Happening what;
};

// Spans of real seconds, both ends included.
struct Span {
    std::int64_t from;
    std::int64_t to;
};

// What the user and the machine do, in real time. Before the clock is set back the wall clock
// shows real time; from then on it shows an hour less.
struct Schedule {
    std::vector<Event> events;
    std::vector<Span> typing; // input every second
    std::vector<Span> hangs;  // no timer message gets through
    std::int64_t clockSetBackAt = 0;
    std::int64_t end = 0;
};

enum class Night { RunsIdle, Suspended, SwitchedOff, WorkPastMidnight };

// The wall clock's local time of a day, as real time.
class DayClock {
public:
    DayClock(const Schedule& schedule, const std::tm& day) : m_schedule(schedule), m_day(day) {}
    std::int64_t At(int hour, int minute) const
    {
        std::tm local = m_day;
        local.tm_hour = hour;
        local.tm_min = minute;
        local.tm_isdst = -1;
        const std::int64_t wall = std::mktime(&local);
        const bool setBack = m_schedule.clockSetBackAt != 0 && wall + kHour >= m_schedule.clockSetBackAt;
        return setBack ? wall + kHour : wall;
    }

private:
    const Schedule& m_schedule;
    std::tm m_day;
};

// Work between two times of the day: typing, with short and long pauses.
void Work(Schedule& schedule, std::int64_t from, std::int64_t to, int variant)
{
    const std::int64_t pauses[] = {30, 59, 61, 5 * kMinute, 20 * kMinute};
    std::int64_t at = from;
    for (int piece = 0; at < to; ++piece) {
        const std::int64_t length = (17 + (variant * 7 + piece * 13) % 40) * kMinute + piece % 7;
        schedule.typing.push_back({at, std::min(at + length, to)});
        at += length + pauses[(variant + piece) % std::size(pauses)];
    }
}

Schedule BuildSchedule()
{
    Schedule schedule;
    auto event = [&](std::int64_t at, Happening what) {
        schedule.events.push_back({at, what});
    };
    // The evening of 31 December 2026 is 72 days in; the machine is then away until late March.
    const std::tm firstDay = LocalTm(2026, 10, 20);
    const int autumnDays = 77;
    const std::tm spring = LocalTm(2027, 3, 24);
    const int springDays = 7;

    event(DayClock(schedule, firstDay).At(7, 50), Happening::Boot);
    event(DayClock(schedule, firstDay).At(7, 51), Happening::Launch);
    schedule.clockSetBackAt = DayClock(schedule, LocalTm(2026, 12, 10)).At(0, 30);

    bool morningBoot = false;
    for (int index = 0; index < autumnDays + springDays; ++index) {
        std::tm day = index < autumnDays ? firstDay : spring;
        day.tm_mday += index < autumnDays ? index : index - autumnDays;
        std::mktime(&day);
        const DayClock clock(schedule, day);
        const bool weekend = day.tm_wday == 0 || day.tm_wday == 6;
        const bool lastAutumnDay = index == autumnDays - 1;
        const bool lastDay = index == autumnDays + springDays - 1;
        if (morningBoot) {
            event(clock.At(7, 55), Happening::Boot);
            event(clock.At(7, 56), Happening::Launch);
            morningBoot = false;
        }
        if (day.tm_mon + 1 == 10 && day.tm_mday == 25)
            Work(schedule, clock.At(1, 30), clock.At(3, 30), index);
        if (day.tm_mon + 1 == 3 && day.tm_mday == 28)
            Work(schedule, clock.At(1, 30), clock.At(3, 30), index);
        if (weekend) {
            Work(schedule, clock.At(10, 5), clock.At(12, 40), index);
        } else {
            Work(schedule, clock.At(8, 0 + index % 25), clock.At(12, 15), index);
            // Lunch: every third day supervision is stopped for it.
            if (index % 3 == 0) {
                event(clock.At(12, 20), Happening::Stop);
                event(clock.At(13, 5), Happening::Start);
            }
            // Every fourth day is long: over nine hours of activity.
            Work(schedule, clock.At(13, 10), index % 4 == 1 ? clock.At(20, 50) : clock.At(17, 30), index + 1);
        }
        if (lastDay) {
            event(clock.At(18, 0), Happening::Quit);
            schedule.end = clock.At(18, 0);
            break;
        }
        if (lastAutumnDay) {
            event(clock.At(22, 0), Happening::Quit);
            morningBoot = true;
            continue;
        }
        std::tm next = day;
        ++next.tm_mday;
        std::mktime(&next);
        const DayClock nextClock(schedule, next);
        // No reboot in the first fortnight, so the tick count of the first boot runs until it wraps.
        const Night nights[] = {Night::RunsIdle, Night::Suspended, Night::WorkPastMidnight, Night::SwitchedOff};
        Night night = index < 14 ? (index % 2 ? Night::RunsIdle : Night::Suspended) : nights[index % 4];
        // Up at two the nights the clocks change.
        if ((next.tm_mon + 1 == 10 && next.tm_mday == 25) || (next.tm_mon + 1 == 3 && next.tm_mday == 28))
            night = Night::RunsIdle;
        // The end of the year is seen in at work; the clock is set back while working past midnight.
        if ((day.tm_mon + 1 == 12 && (day.tm_mday == 31 || day.tm_mday == 9)) ||
            (day.tm_mon + 1 == 11 && day.tm_mday == 30))
            night = Night::WorkPastMidnight;
        switch (night) {
        case Night::RunsIdle:
            break;
        case Night::Suspended:
            event(clock.At(23, 10), Happening::Stop);
            event(nextClock.At(7, 40), Happening::Start);
            break;
        case Night::WorkPastMidnight:
            Work(schedule, clock.At(21, 30), nextClock.At(1, 10), index);
            event(nextClock.At(1, 15), Happening::Stop);
            event(nextClock.At(7, 45), Happening::Start);
            break;
        case Night::SwitchedOff:
            event(clock.At(22, 30), Happening::Quit);
            morningBoot = true;
            break;
        }
    }
    event(schedule.clockSetBackAt, Happening::SetClockBack);
    // A loop held up while the user types, and one held up in a long pause.
    const std::int64_t busyDay = DayClock(schedule, LocalTm(2026, 11, 3)).At(8, 0);
    const auto typing = std::find_if(schedule.typing.begin(), schedule.typing.end(),
                                     [&](const Span& span) { return span.from > busyDay; });
    schedule.hangs.push_back({typing->from + 10, typing->from + 35});
    const auto paused = std::adjacent_find(typing, schedule.typing.end(), [](const Span& span, const Span& next) {
        return next.from - span.to > 10 * kMinute;
    });
    schedule.hangs.push_back({paused->to + 30, paused->to + 130});
    std::stable_sort(schedule.events.begin(), schedule.events.end(),
                     [](const Event& a, const Event& b) { return a.at < b.at; });
    return schedule;
}

// The expected history, worked out from the schedule: a second counts when input came at most
// a minute before it; the tick that finds a new date begins that date's count.
class ExpectedHistory {
public:
    ExpectedHistory()
    {
        for (int offset = 0; offset < 2 * 366; ++offset) {
            std::tm day = LocalTm(2026, 9, 1 + offset);
            m_midnights.push_back(std::mktime(&day));
            m_dates.push_back(std::to_string(day.tm_year + 1900) + "-" + std::to_string(day.tm_mon + 1) + "-" +
                              std::to_string(day.tm_mday));
        }
        m_seconds.resize(m_dates.size());
    }
    // The date shown by a wall clock, as an index of the calendar.
    int DateOf(std::int64_t wall) const
    {
        return static_cast<int>(std::upper_bound(m_midnights.begin(), m_midnights.end(), wall) - m_midnights.begin()) -
               1;
    }
    int DateNamed(const std::string& text) const
    {
        return static_cast<int>(std::find(m_dates.begin(), m_dates.end(), text) - m_dates.begin());
    }
    // The date gets a line once it has been counted at all.
    void Count(int date)
    {
        if (std::find(m_order.begin(), m_order.end(), date) == m_order.end())
            m_order.push_back(date);
    }
    void Add(int date, std::int64_t seconds) { m_seconds[date] += seconds; }
    std::vector<std::string> Lines() const
    {
        std::vector<std::string> lines{"HISTORY"};
        for (const int date : m_order) {
            const std::int64_t seconds = m_seconds[date];
            lines.push_back(m_dates[date] + " = " + std::to_string(seconds / kHour) + ":" +
                            std::to_string(seconds / kMinute % 60) + ":" + std::to_string(seconds % 60));
        }
        return lines;
    }

private:
    std::vector<std::int64_t> m_midnights;
    std::vector<std::string> m_dates;
    std::vector<int> m_order;
    std::vector<std::int64_t> m_seconds;
};

// The program as the main window runs it, on files in memory, with the shell's own order of calls.
class LongRun : public InBerlin, public TimeFilesHost {
protected:
    std::optional<std::string> ReadText(const std::string& name) override
    {
        const auto found = files.find(name);
        return found == files.end() ? std::nullopt : std::optional<std::string>(found->second);
    }
    bool Exists(const std::string& name) override { return files.count(name) != 0; }
    bool Replace(const std::string& name, const std::string& bytes) override
    {
        files[name] = bytes;
        return true;
    }
    void ReportCannotOpen(const std::string& name) override { reports.push_back(name); }
    // settings.txt has nothing to do with the counting.
    void SaveSettings() override {}

    // A new process: nothing in memory.
    static void FreshProcess()
    {
        g_nActiveTimeMs = g_nRestoredTimeMs = g_nIdleTimeMs = 0;
        g_dwStartTick = g_dwPreviousTick = 0;
        g_timeCountedDay = 0;
        g_bCountKnown = false;
        g_bHistoryLoaded = false;
        g_dayHistory.clear();
    }
    void SaveTimeFiles()
    {
        SaveActiveTimeLog(*this);
        SaveHistory(*this);
    }

    std::map<std::string, std::string> files;
    std::vector<std::string> reports;
};

TEST_F(LongRun, MonthsOfUseGiveExactlyTheDaysTheUserWorked)
{
    const Schedule schedule = BuildSchedule();
    ExpectedHistory expected;
    files[kHistoryFile] = "HISTORY\r\n2026-10-1 = 3:4:5\r\n";
    const int storedDay = expected.DateNamed("2026-10-1");
    expected.Count(storedDay);
    expected.Add(storedDay, 3 * kHour + 4 * kMinute + 5);

    const std::int64_t wrapAt = LocalTime(2026, 10, 30, 12, 30);
    std::uint32_t bootTick = 0;
    std::int64_t bootAt = 0;
    auto tickAt = [&](std::int64_t at) {
        return static_cast<std::uint32_t>(bootTick + static_cast<std::uint32_t>((at - bootAt) * 1000));
    };
    std::int64_t wallOffset = 0;
    bool alive = false;
    bool running = false;
    std::int64_t lastInput = 0;
    std::int64_t nextSave = 0;
    std::int64_t uncounted = 0; // seconds since the last tick that the model counts as active
    int countedDate = -1;
    std::size_t nextEvent = 0;
    std::size_t nextTyping = 0;
    std::size_t nextHang = 0;
    std::set<int> datesTicked;

    std::int64_t now = schedule.events.front().at;
    while (now <= schedule.end) {
        // The system notes input whether supervision runs or not.
        for (; nextTyping < schedule.typing.size() && schedule.typing[nextTyping].from <= now; ++nextTyping) {
            lastInput = std::min(schedule.typing[nextTyping].to, now);
            if (schedule.typing[nextTyping].to > now)
                break;
        }
        for (; nextHang < schedule.hangs.size() && schedule.hangs[nextHang].to < now; ++nextHang) {
        }
        if (now - lastInput <= kIdleLimitSeconds)
            ++uncounted;
        const bool hung = nextHang < schedule.hangs.size() && schedule.hangs[nextHang].from <= now;
        if (running && !hung) {
            const int date = expected.DateOf(now + wallOffset);
            if (date != countedDate) {
                countedDate = date;
                expected.Count(date);
            } else {
                expected.Add(date, uncounted);
            }
            uncounted = 0;
            datesTicked.insert(date);
            ActivityTick(*this, now + wallOffset, tickAt(now), tickAt(lastInput));
            if (now >= nextSave) {
                SaveTimeFiles();
                nextSave += kSavePeriodSeconds;
            }
        }
        for (; nextEvent < schedule.events.size() && schedule.events[nextEvent].at == now; ++nextEvent) {
            switch (schedule.events[nextEvent].what) {
            case Happening::Boot:
                // The machine has been up for weeks: the first boot's tick count is 200 ms past a
                // second and wraps at 12:30, in the lunch break of a working day.
                bootTick = bootAt == 0 ? static_cast<std::uint32_t>((now - wrapAt) * 1000 + 200) : kBootTick;
                bootAt = now;
                lastInput = now;
                break;
            case Happening::Launch:
                FreshProcess();
                alive = true;
                LoadHistory(*this);
                g_timeCountedDay = now + wallOffset;
                countedDate = expected.DateOf(now + wallOffset);
                expected.Count(countedDate);
                [[fallthrough]];
            case Happening::Start:
                ASSERT_TRUE(alive);
                StartCounting(*this, tickAt(now));
                running = true;
                uncounted = 0;
                nextSave = now + kSavePeriodSeconds;
                break;
            case Happening::Stop:
                SaveActiveTimeLog(*this);
                running = false;
                break;
            case Happening::Quit:
                SaveTimeFiles();
                // The main window's destruction saves the time files again.
                SaveTimeFiles();
                FreshProcess();
                alive = running = false;
                break;
            case Happening::SetClockBack:
                wallOffset = -kHour;
                break;
            }
        }
        if (running) {
            ++now;
        } else {
            now = nextEvent < schedule.events.size() ? schedule.events[nextEvent].at : schedule.end + 1;
        }
    }

    EXPECT_GE(datesTicked.size(), 60u);
    EXPECT_EQ(reports, std::vector<std::string>{kActiveTimeLogFile}) << "only the first Start finds no log";
    const std::vector<std::string> lines = expected.Lines();
    std::string expectedFile;
    for (const std::string& line : lines)
        expectedFile += line + "\r\n";
    EXPECT_EQ(files[kHistoryFile], expectedFile);
    EXPECT_EQ(files[kActiveTimeLogFile], "ACTIVE_TIME_TODAY " + lines.back() + "\r\n");
}

} // namespace
