// Working hours that end between two reminders: a time-break suggestion comes before their end
// and none after it, while the long-activity warning, which keeps its own rules, comes on (run by
// the e2e_clock test entry, in a session with a faked clock).
#include "faked_clock.h"
#include "kelvaro_driver.h"
#include "platform/text_win.h"
#include "resources/resource_ids.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

constexpr DWORD kIntervalMs = 60000;

// The texts of Kelvaro's popups on screen now, by window.
void CollectPopups(std::set<HWND>& seen, std::set<std::string>& texts)
{
    for (HWND popup = nullptr; (popup = FindWindowExW(nullptr, popup, L"KelvaroStatusBarPopup", nullptr));) {
        if (!IsWindowVisible(popup) || !seen.insert(popup).second)
            continue;
        wchar_t text[512] = {};
        GetWindowTextW(popup, text, static_cast<int>(std::size(text)));
        texts.insert(Narrow(text));
    }
}

// The text of the next popup.
std::string NextPopup(KelvaroProcess& kelvaro, std::set<HWND>& seen)
{
    std::set<std::string> texts;
    kelvaro.WaitUntil([&] { CollectPopups(seen, texts); return !texts.empty(); }, "a reminder",
                      kIntervalMs + KelvaroProcess::kDeadlineMs);
    return texts.empty() ? "" : *texts.begin();
}

// Whether a popup's text is a time-break suggestion of the shipped catalogue.
bool IsSuggestion(const std::string& text)
{
    const std::string catalogue = DefaultCatalogue();
    const std::size_t at = text.empty() ? std::string::npos : catalogue.find(text.substr(text.find_first_not_of(' ')));
    return at != std::string::npos && at > catalogue.find("--TIMEBREAKS--") && at < catalogue.find("--SLEEP--");
}

TEST(WorkingHoursE2e, ASuggestionComesBeforeTheirEndAndNoneAfter)
{
    const UserAtWork user;
    std::string settings = WithSetting(FirstStartSettings(), "STARTTRAY", "0");
    settings = WithSetting(settings, "HEALTH_MSG", "0");
    settings = WithSetting(settings, "SLEEP_MSG", "0");
    settings = WithSetting(settings, "FREQUENCE", "1024");
    settings = WithSetting(settings, "OTHERTIME", "1");
    settings = WithSetting(settings, "HOLD_WHEN_BUSY", "0");
    settings = WithSetting(settings, "WORK_HOURS", "1");
    for (const char* day : {"WORK_MON", "WORK_TUE", "WORK_WED", "WORK_THU", "WORK_FRI", "WORK_SAT", "WORK_SUN"})
        settings = WithSetting(settings, day, "\"09:00-17:00\"");
    // Two minutes before the end of the working hours, with a count that passes four hours some
    // two and a half minutes after the start.
    const LocalTime start{2026, 12, 9, 16, 58, 0};
    FakedClock::Set(start);
    const std::string log = "ACTIVE_TIME_TODAY " + DateText(start) + " = 3:57:30\r\n";
    KelvaroProcess kelvaro(WithTimeFiles(
        {{"settings.txt", settings}, {"standard.txt", DefaultCatalogue()}, {"activetimelog.txt", log}}));
    HWND main = kelvaro.MainWindow();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(kelvaro.WaitUntil([&] { return kelvaro.ItemText(main, IDC_MAIN_START_STOP) == "Stop"; }, "the start"));

    std::set<HWND> seen;
    const std::string first = NextPopup(kelvaro, seen);
    EXPECT_TRUE(IsSuggestion(first)) << "inside working hours: " << first;
    FakedClock::Set({2026, 12, 9, 17, 30, 0});
    // The suggestion due a minute later is dropped; the warning comes half a minute after it.
    const std::string second = NextPopup(kelvaro, seen);
    EXPECT_FALSE(IsSuggestion(second)) << "after the working hours: " << second;
    EXPECT_NE(second.find("active for a long period"), std::string::npos) << second;
    kelvaro.Quit();
}

} // namespace
