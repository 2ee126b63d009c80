#pragma once
// The history exported for a spreadsheet.

#include "activity/time_files.h"
#include "activity/use_history.h"
#include "history/break_history.h"

#include <string>
#include <vector>

// The header line "date,active_seconds,active_time,breaks,postponed,eye_breaks_taken,eye_breaks_offered,
// first_active,last_active", then one line per recorded day in date order, as
// "2026-12-08,18720,5:12:00,4,1,10,14,08:12,00:41" (hours not reduced modulo 24; the four break
// counts empty for a day without a break record; the day's first use from 05:00 and the last of its
// evening as HH:MM, a last use before 05:00 being after midnight, both empty without a use); a day
// of several lines takes the largest, as a restore does. Every line ends with CR LF, like the
// program's files.
std::string FormatHistoryCsv(const std::vector<DayRecord>& days, const std::vector<BreakDay>& breaks,
                             const std::vector<UseDay>& uses);
