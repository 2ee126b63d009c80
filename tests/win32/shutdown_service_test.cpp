#include "app/main_window_win.h"

#include "app/timer_plan.h"
#include "fake_platform_win.h"
#include "resources/resource_ids.h"
#include "shutdown/set_time_dialog_win.h"
#include "shutdown/shutdown_service.h"
#include "test_support_win.h"

#include <gtest/gtest.h>

#include <ctime>
#include <memory>

namespace {

constexpr char kSettings[] =
    "HEALTH_MSG 1\r\nTIMEBREAK_MSG 1\r\nSLEEP_MSG 1\r\nSOUND_ON_MSG 0\r\nSOUND_LONGTIME_WARNING 0\r\n"
    "SHUTDOWN 1\r\nTIMELIMIT 0:0:0\r\nFREQUENCE 0\r\nSTARTTRAY 0\r\nFORCEBREAK 0\r\nFORCEBREAK_WAIT 60\r\n"
    "ONLYSOUND 0\r\nKEYBOARD_LEDS 0\r\nSOUNDMSG_PATH message.wav\r\nSOUNDWARNING_PATH break.wav\r\n"
    "OTHERTIME 120\r\nSTARTPROGRAM false\r\n";
constexpr char kCatalogue[] = "--HEALTH-- Sit up --END-- --TIMEBREAKS-- Walk ; --END-- --SLEEP-- Sleep ; --END--";
constexpr char kRebootQuestion[] =
    "Do you want to Reboot your system?\r\n\r\nThis warning will be repeated every 5 minutes";

// The fake clock starts on a full minute; the action is chosen a few seconds into it.
constexpr std::int64_t kDelaySeconds = 2;

class ShutdownServiceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetProgramState();
        platform.files["standard.txt"] = kCatalogue;
        platform.files["settings.txt"] = kSettings;
        platform.files["timehistory.txt"] = "HISTORY\r\n";
        platform.files["activetimelog.txt"] = "";
        platform.environment["OS"] = "Windows_NT";
    }

    // Opens the main window, schedules the action and starts supervision.
    void StartWith(int action, bool warning)
    {
        window.reset();
        window = std::make_unique<CTavrinDlg>(platform, icons);
        ASSERT_TRUE(window->Create(nullptr));
        PumpMessages();
        const std::time_t due = static_cast<std::time_t>(platform.now + kDelaySeconds);
        std::tm local{};
        ASSERT_EQ(localtime_s(&local, &due), 0);
        window->SetTimeDialog()->m_nAction = action;
        window->SetTimeDialog()->m_nHour = local.tm_hour;
        window->SetTimeDialog()->m_nMinute = local.tm_min;
        window->SetTimeDialog()->m_nSecond = local.tm_sec;
        window->m_settings.shutdownWarning = warning;
        Click(window->Hwnd(), IDC_MAIN_START_STOP);
        ASSERT_TRUE(g_bRunning);
        ASSERT_EQ(platform.activeTimers.count(kShutdownCheckTimer), 1u);
        platform.messageBoxes.clear();
    }
    void Tick() { SendMessageW(window->Hwnd(), WM_TIMER, kShutdownCheckTimer, 0); }
    // Steps the clock a second at a time until a message box or a request comes; the seconds it took.
    std::int64_t SecondsUntilSomethingHappens(std::int64_t limit)
    {
        const size_t boxes = platform.messageBoxes.size();
        const size_t calls = platform.sessionCalls.size();
        for (std::int64_t second = 1; second <= limit; ++second) {
            ++platform.now;
            Tick();
            if (platform.messageBoxes.size() != boxes || platform.sessionCalls.size() != calls)
                return second;
        }
        return -1;
    }

    FakePlatform platform;
    HICON icons[9] = {};
    std::unique_ptr<CTavrinDlg> window;
};

TEST_F(ShutdownServiceTest, NoAsksAgainFiveMinutesLaterAndYesSavesThenRequestsTheSessionEnd)
{
    StartWith(IDC_SETTIME_REBOOT, true);
    // Ticks arriving while the question is open find it asked already.
    platform.whileBoxOpen = [&] {
        Tick();
    };
    platform.answers = {IDNO};
    ASSERT_EQ(SecondsUntilSomethingHappens(60), kDelaySeconds);
    ASSERT_EQ(platform.messageBoxes.size(), 1u);
    EXPECT_EQ(platform.messageBoxes[0].owner, window->Hwnd());
    EXPECT_EQ(platform.messageBoxes[0].text, kRebootQuestion);
    EXPECT_EQ(platform.messageBoxes[0].caption, "Kelvaro WARNING!!!");
    EXPECT_EQ(platform.messageBoxes[0].flags, static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION));
    EXPECT_TRUE(platform.sessionCalls.empty());
    const int chosenMinute = window->SetTimeDialog()->m_nMinute;

    std::map<std::string, int> writesAtRequest;
    platform.whileEndingSession = [&] {
        writesAtRequest = platform.writes;
    };
    std::map<std::string, int> writesBefore = platform.writes;
    platform.answers = {IDYES};
    EXPECT_EQ(SecondsUntilSomethingHappens(400), kPostponementSeconds);
    ASSERT_EQ(platform.messageBoxes.size(), 2u);
    EXPECT_EQ(platform.messageBoxes[1].text, kRebootQuestion);
    EXPECT_EQ(platform.sessionCalls,
              (std::vector<std::string>{"enable privilege", "end session 2 reason 4", "disable privilege"}));
    for (const char* file : {"settings.txt", "activetimelog.txt", "timehistory.txt"})
        EXPECT_GT(writesAtRequest[file], writesBefore[file]) << file;
    // The postponement never replaces the user's chosen time in settings.txt.
    EXPECT_NE(platform.files["settings.txt"].find("TIMELIMIT " + std::to_string(window->SetTimeDialog()->m_nHour) + ":" +
                                                  std::to_string(chosenMinute) + ":"),
              std::string::npos);

    // The program lives on until the session ends, and supervises meanwhile.
    EXPECT_TRUE(IsWindow(window->Hwnd()));
    EXPECT_TRUE(g_bRunning);
}

TEST_F(ShutdownServiceTest, WithoutTheWarningActsAtOnceAndTellsOfRefusalsAndPrivilegeFailures)
{
    const std::string token = "ERROR: Unable to open process token.";
    const std::string adjust = "ERROR: Uanble to adjust token privileges.";
    const struct Case {
        const char* os;
        int action;
        bool accepted;
        PrivilegeChange change;
        std::vector<std::string> calls;
        std::vector<std::string> messages;
    } cases[] = {
        // Logging off needs no privilege; a refusal is told and the request made again five minutes later.
        {"Windows_NT",
         IDC_SETTIME_LOG_OFF,
         false,
         PrivilegeChange::NotAdjusted,
         {"end session 0 reason 4"},
         {"Kelvaro could not log off."}},
        {"Windows_NT",
         IDC_SETTIME_POWER_OFF,
         true,
         PrivilegeChange::TokenNotOpened,
         {"enable privilege", "end session 8 reason 4", "disable privilege"},
         {token, token}},
        {"Windows_NT",
         IDC_SETTIME_SHUTDOWN,
         true,
         PrivilegeChange::NotAdjusted,
         {"enable privilege", "end session 1 reason 4", "disable privilege"},
         {adjust, adjust}},
        {"Windows_95", IDC_SETTIME_POWER_OFF, true, PrivilegeChange::NotAdjusted, {"end session 8 reason 4"}, {}},
    };
    for (const Case& c : cases) {
        SetUp();
        platform.environment["OS"] = c.os;
        platform.sessionEndAccepted = c.accepted;
        platform.privilegeChange = c.change;
        platform.sessionCalls.clear();
        StartWith(c.action, false);
        ASSERT_EQ(SecondsUntilSomethingHappens(60), kDelaySeconds) << c.os << " " << c.action;
        EXPECT_EQ(platform.sessionCalls, c.calls) << c.os << " " << c.action;
        std::vector<std::string> shown;
        for (const auto& box : platform.messageBoxes) {
            shown.push_back(box.text);
            EXPECT_EQ(box.caption, "Kelvaro");
            EXPECT_EQ(box.flags, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
        }
        EXPECT_EQ(shown, c.messages) << c.os << " " << c.action;
        EXPECT_FALSE(g_bShutdownAsking);
        EXPECT_EQ(platform.activeTimers.count(kShutdownCheckTimer), 1u);
        // Accepted, the chosen minute passes quietly; refused, the request comes again as after a "No".
        EXPECT_EQ(SecondsUntilSomethingHappens(kPostponementSeconds), c.accepted ? -1 : kPostponementSeconds);
    }
}

TEST_F(ShutdownServiceTest, ATimeDueWhileTheUserIsBusyWaitsAndAStopOrASleepForgetsIt)
{
    enum class Then { GoesOn, UserStops, Sleeps };
    const struct {
        const char* what;
        QuietState busy;
        Then then;
        std::int64_t asksAfter; // seconds after the user is free again; -1: never
    } cases[] = {
        {"a call", {.inCall = true}, Then::GoesOn, 1},
        {"a slide show the system reports as full screen", {.fullScreen = true}, Then::GoesOn, 1},
        {"a presentation", {.presenting = true}, Then::GoesOn, 1},
        {"Stop and Start during the call", {.inCall = true}, Then::UserStops, -1},
        {"a sleep during the call: never on waking", {.inCall = true}, Then::Sleeps, -1},
    };
    for (const auto& c : cases) {
        SetUp();
        platform.quietState = c.busy;
        StartWith(IDC_SETTIME_REBOOT, true);
        EXPECT_EQ(SecondsUntilSomethingHappens(120), -1) << c.what << ": nothing, not even after its minute";
        if (c.then == Then::UserStops) {
            Click(window->Hwnd(), IDC_MAIN_START_STOP);
            Click(window->Hwnd(), IDC_MAIN_START_STOP);
        } else if (c.then == Then::Sleeps) {
            SendMessageW(window->Hwnd(), WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
            SendMessageW(window->Hwnd(), WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
        }
        ASSERT_TRUE(g_bRunning) << c.what;
        // Judged at the tick itself, not at the last look of the quiet check.
        platform.quietState = {};
        EXPECT_EQ(SecondsUntilSomethingHappens(5), c.asksAfter) << c.what;
        if (c.asksAfter > 0) {
            ASSERT_EQ(platform.messageBoxes.size(), 1u) << c.what;
            EXPECT_EQ(platform.messageBoxes[0].text, kRebootQuestion);
        }
    }
}

} // namespace
