// The rule by which the damaged-files table judges a program's start-up, on programs whose processor
// time follows a model: however starved, a healthy program must pass, and a spinning one must fail.
#include "cpu_watch.h"
#include "kelvaro_driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr std::uint64_t kReadingMs = 50;
constexpr double kStartupCpuMs = 400;
constexpr double kHugeFileStartupCpuMs = 2500;
constexpr double kIdleCpuMsPerSecond = 2;

// Processor time charged after so much wall time, for bursts of `burstMs` on a whole core every `periodMs`.
double Bursts(double wallMs, double burstMs, double periodMs)
{
    return std::floor(wallMs / periodMs) * burstMs + std::min(std::fmod(wallMs, periodMs), burstMs);
}

// Start-up work done at a share of a core, then rest.
double Healthy(double wallMs, double share, double startupCpuMs = kStartupCpuMs)
{
    const double startupMs = startupCpuMs / share;
    return std::min(wallMs * share, startupCpuMs) + std::max(0.0, wallMs - startupMs) / 1000 * kIdleCpuMsPerSecond;
}

TEST(CpuWatch, AStarvedHealthyProgramSettlesAndASpinningOneDoesNot)
{
    const struct {
        const char* program;
        double (*charged)(double wallMs);
        bool settles;
    } kCases[] = {
        {"healthy, on an idle machine", [](double ms) { return Healthy(ms, 1); }, true},
        {"healthy, starved to a tenth of a core", [](double ms) { return Healthy(ms, 0.1); }, true},
        {"healthy, starved to 2 % of a core", [](double ms) { return Healthy(ms, 0.02); }, true},
        {"healthy, on the processors only for moments between long waits",
         [](double ms) { return std::min(Bursts(ms, 100, 6000), kStartupCpuMs); }, true},
        {"healthy, a start-up on a huge file starved to a tenth of a core",
         [](double ms) { return Healthy(ms, 0.1, kHugeFileStartupCpuMs); }, true},
        {"spinning, on an idle machine", [](double ms) { return ms; }, false},
        {"spinning, starved to a tenth of a core", [](double ms) { return ms * 0.1; }, false},
        {"spinning, starved to 4 % of a core", [](double ms) { return ms * 0.04; }, false},
        {"spinning, on the processors only for moments", [](double ms) { return Bursts(ms, 500, 4000); }, false},
        {"settled, then working again every five seconds",
         [](double ms) { return Healthy(ms, 1) + Bursts(ms, 200, 5000); }, false},
    };
    for (const auto& c : kCases) {
        CpuWatch watch(kStartupSettles);
        CpuWatch::Verdict verdict = CpuWatch::Verdict::Watching;
        std::uint64_t wallMs = 0;
        // Until the test's wait for a verdict gives up.
        for (; wallMs <= KelvaroProcess::kDeadlineMs && verdict == CpuWatch::Verdict::Watching; wallMs += kReadingMs)
            verdict = watch.Take(wallMs, c.charged(static_cast<double>(wallMs)));
        EXPECT_EQ(verdict == CpuWatch::Verdict::Quiet, c.settles) << c.program << ", at " << wallMs << " ms";
    }
}

} // namespace
