#pragma once
// Data files as an earlier run of the program leaves them, for the tests that damage or interrupt them.
#include <windows.h>

#include <cstdio>
#include <string>

// Today's local date as the time files write it ("2026-3-5").
inline std::string TodayText()
{
    SYSTEMTIME today{};
    GetLocalTime(&today);
    return std::to_string(today.wYear) + "-" + std::to_string(today.wMonth) + "-" + std::to_string(today.wDay);
}

// A history of `count` consecutive days long past, each with its own active time, exactly as the
// program writes it; so a save that keeps every day leaves these bytes as they are.
inline std::string PastHistory(int count)
{
    constexpr int kDaysPerMonth = 28;
    constexpr int kMonths = 12;
    constexpr int kFirstYear = 1990;
    std::string history = "HISTORY\r\n";
    for (int index = 0; index < count; ++index) {
        const int year = kFirstYear + index / (kDaysPerMonth * kMonths);
        const int month = index / kDaysPerMonth % kMonths + 1;
        const int day = index % kDaysPerMonth + 1;
        char line[64];
        std::snprintf(line, sizeof line, "%d-%d-%d = %d:%d:%d\r\n", year, month, day, index % 24, index * 7 % 60,
                      index * 13 % 60);
        history += line;
    }
    return history;
}
