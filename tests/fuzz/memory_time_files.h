#pragma once
// The time files of one fuzz input in memory, read the way the program's own host reads them.

#include "activity/active_time_store.h"
#include "activity/calendar.h"
#include "platform/text_decoding.h"

#include <ctime>
#include <map>
#include <optional>
#include <string>

class MemoryTimeFiles final : public TimeFilesHost {
public:
    std::map<std::string, std::string> files;

    std::optional<std::string> ReadText(const std::string& name) override
    {
        const auto file = files.find(name);
        if (file == files.end())
            return std::nullopt;
        return DecodeTextFile(file->second);
    }
    bool Exists(const std::string& name) override { return files.contains(name); }
    bool Replace(const std::string& name, const std::string& bytes) override
    {
        files[name] = bytes;
        return true;
    }
    void ReportCannotOpen(const std::string&) override {}
    void SaveSettings() override {}
};

// Local noon of a day, so that the counted day is that date whatever the time zone.
inline std::int64_t LocalNoon(const CivilDate& date)
{
    constexpr int kTmBaseYear = 1900;
    constexpr int kNoon = 12;
    std::tm local{};
    local.tm_year = date.year - kTmBaseYear;
    local.tm_mon = date.month - 1;
    local.tm_mday = date.day;
    local.tm_hour = kNoon;
    local.tm_isdst = -1;
    return std::mktime(&local);
}
