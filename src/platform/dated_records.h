#pragma once
// The days of a record file in date order, each date once: a day found twice is merged into the
// first of its date, as the record's own rule says.

#include <algorithm>
#include <utility>
#include <vector>

template <typename Day, typename Merge>
std::vector<Day> MergedInDateOrder(std::vector<Day> days, Merge merge)
{
    std::sort(days.begin(), days.end(), [](const Day& a, const Day& b) { return a.date < b.date; });
    std::vector<Day> merged;
    merged.reserve(days.size());
    for (Day& day : days) {
        if (!merged.empty() && merged.back().date == day.date)
            merge(merged.back(), day);
        else
            merged.push_back(std::move(day));
    }
    return merged;
}
