#pragma once
#include <cstdint>
#include <deque>

// Judges from the processor time the system charged to a program, never from its share of the wall
// time (which a program kept from the processors by others shows as well), whether it settles after
// its start-up: it must show a quiet watch, a stretch of wall time in which it was charged next to
// nothing, before it has been charged a budget of processor time in all. A healthy program, however
// starved, gets there once its start-up work is done; a spinning one is charged its share of a core
// all along, so it spends the budget first unless it gets less than the quiet watch's share of a core.
class CpuWatch {
public:
    enum class Verdict { Watching, Quiet, Busy };
    struct Limits {
        std::uint64_t quietWatchMs;
        double quietCpuMs;
        double cpuBudgetMs;
    };

    explicit CpuWatch(const Limits& limits) : m_limits(limits) {}

    // Takes a reading of the wall time and of the processor time charged since the program started,
    // both in milliseconds, the wall times in order.
    Verdict Take(std::uint64_t wallMs, double cpuMs)
    {
        if (cpuMs >= m_limits.cpuBudgetMs)
            return Verdict::Busy;
        m_readings.push_back({wallMs, cpuMs});
        // The latest reading a whole watch before this one begins the shortest watch that ends here.
        while (m_readings.size() > 1 && wallMs - m_readings[1].wallMs >= m_limits.quietWatchMs)
            m_readings.pop_front();
        const Reading& begin = m_readings.front();
        const bool quiet = wallMs - begin.wallMs >= m_limits.quietWatchMs && cpuMs - begin.cpuMs < m_limits.quietCpuMs;
        return quiet ? Verdict::Quiet : Verdict::Watching;
    }

private:
    struct Reading {
        std::uint64_t wallMs;
        double cpuMs;
    };

    Limits m_limits;
    std::deque<Reading> m_readings;
};

// A start-up that settles: five seconds charged with less than 150 ms (a program at rest is charged
// about 2 ms a second) before 15 s are charged in all (a start-up on a file of 24 MB takes about 2 s).
// A program that keeps working, or works again every few seconds, spends that budget, or is still
// watched when the wait for it gives up, unless it gets less than 3 % of a core.
constexpr CpuWatch::Limits kStartupSettles{5000, 150, 15000};
