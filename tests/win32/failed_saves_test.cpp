#include "app/main_window_win.h"
#include "app/timer_plan.h"
#include "fake_platform_win.h"
#include "framework/deferred_boxes_win.h"
#include "resources/resource_ids.h"
#include "test_support_win.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

constexpr char kCatalogue[] = "--HEALTH-- a ; --END-- --TIMEBREAKS-- b ; --END-- --SLEEP-- c ; --END--";
constexpr int kSecondsPerDay = 24 * 3600;

// A program that can't write one of its files while the user works through a change of day.
class FailedSavesTest : public ::testing::Test {
protected:
    std::unique_ptr<CTavrinDlg> Open(FakePlatform& platform)
    {
        ResetProgramState();
        platform.files["standard.txt"] = kCatalogue;
        platform.files["settings.txt"] = "STARTTRAY 0 STARTPROGRAM false";
        platform.files["timehistory.txt"] = "HISTORY\r\n2006-12-4 = 8:0:0\r\n";
        platform.files["activetimelog.txt"] = "ACTIVE_TIME_TODAY 2006-12-4 = 8:0:0\r\n";
        auto window = std::make_unique<CTavrinDlg>(platform, icons);
        EXPECT_TRUE(window->Create(nullptr));
        PumpMessages();
        return window;
    }

    HICON icons[9] = {};

    struct Run {
        std::map<std::string, std::string> files;
        std::vector<FakePlatform::MessageBoxCall> boxes;
        std::map<std::string, int> writesBeforeRepair;
    };

    // Start, the 5-minute save, Stop, a changed setting, Start again, a change of day, Show
    // History; then the file can be written again, and the user quits.
    Run Story(const std::string& failing)
    {
        FakePlatform platform;
        const std::unique_ptr<CTavrinDlg> window = Open(platform);
        const HWND main = window->Hwnd();
        auto tick = [&](int seconds) {
            for (int second = 0; second < seconds; ++second) {
                platform.tickCount += 1000;
                ++platform.now;
                platform.lastInputTick = platform.tickCount;
                window->OnTimer(kActivityTimer);
            }
        };

        platform.unwritableFiles[failing] = 1;
        const std::map<std::string, int> writesAtOpen = platform.writes;
        Click(main, IDC_MAIN_START_STOP);
        tick(600);
        window->OnTimer(kSaveTimeFilesTimer);
        Click(main, IDC_MAIN_START_STOP);
        Click(main, IDC_MAIN_LAUNCH_MINIMIZED);
        Click(main, IDC_MAIN_START_STOP);
        tick(300);
        platform.now += kSecondsPerDay;
        tick(5);
        Click(main, IDC_MAIN_SHOW_HISTORY);
        tick(5);
        Run run;
        // The saves since the file became unwritable.
        for (const auto& [file, writes] : platform.writes)
            run.writesBeforeRepair[file] = writes - (writesAtOpen.count(file) ? writesAtOpen.at(file) : 0);
        platform.unwritableFiles.clear();
        Click(main, IDC_MAIN_QUIT);
        EXPECT_FALSE(IsWindow(main));
        run.files = platform.files;
        run.boxes = platform.messageBoxes;
        return run;
    }
};

TEST_F(FailedSavesTest, EveryFailedSaveIsToldAndTheNextOneWritesEverything)
{
    const Run clean = Story("nothing");
    EXPECT_TRUE(clean.boxes.empty());
    struct Case {
        const char* file;
        UINT flags;
    } cases[] = {
        {"settings.txt", MB_OK | MB_ICONEXCLAMATION | MB_TOPMOST},
        {"activetimelog.txt", MB_OK | MB_TOPMOST},
        {"timehistory.txt", MB_OK | MB_TOPMOST},
        {"breakhistory.txt", MB_OK | MB_TOPMOST},
        {"usehistory.txt", MB_OK | MB_TOPMOST},
    };
    for (const Case& c : cases) {
        const Run failed = Story(c.file);
        // One box for each save that failed: as many as the run without failures made until the repair.
        EXPECT_EQ(failed.boxes.size(), static_cast<size_t>(clean.writesBeforeRepair.at(c.file))) << c.file;
        for (const FakePlatform::MessageBoxCall& box : failed.boxes) {
            EXPECT_EQ(box.text, std::string("could not open ") + c.file);
            EXPECT_EQ(box.caption, "Kelvaro");
            EXPECT_EQ(box.flags, c.flags) << c.file;
        }
        EXPECT_EQ(failed.files, clean.files) << c.file;
    }
}

TEST_F(FailedSavesTest, WhileTheUserIsAwayFailedSavesShowOneBoxNotAPile)
{
    FakePlatform platform;
    const std::unique_ptr<CTavrinDlg> window = Open(platform);
    Click(window->Hwnd(), IDC_MAIN_START_STOP);
    platform.unwritableFiles["activetimelog.txt"] = 1;
    // The box's own loop goes on delivering the save timer until someone answers it: the saves go
    // on, and what still fails is not told again.
    platform.whileBoxOpen = [&] {
        window->OnTimer(kSaveTimeFilesTimer);
    };
    window->OnTimer(kSaveTimeFilesTimer);
    EXPECT_EQ(platform.messageBoxes.size(), 1u);
    EXPECT_EQ(platform.writes["timehistory.txt"], 2);
    // Answered: the next save tells again.
    window->OnTimer(kSaveTimeFilesTimer);
    EXPECT_EQ(platform.messageBoxes.size(), 2u);
    Click(window->Hwnd(), IDC_MAIN_QUIT);
}

TEST(DeferredBoxesTest, ABoxWaitsForTheOutermostHoldAndGoesWithoutAnOwnerThatWentMeanwhile)
{
    const struct {
        const char* what;
        int holds;
        int shows; // of the same text
        bool ownerGoes;
        size_t boxes;
    } cases[] = {
        {"shown at once", 0, 1, false, 1},
        {"answered, then shown again", 0, 2, false, 2},
        {"after the hold", 1, 1, false, 1},
        {"after the outer of two holds", 2, 1, false, 1},
        {"told once however often it failed meanwhile", 2, 3, false, 1},
        {"its owner gone while it waited", 1, 1, true, 1},
    };
    for (const auto& c : cases) {
        FakePlatform platform;
        CDeferredBoxes boxes(platform);
        HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        std::vector<std::unique_ptr<CDeferredBoxes::Hold>> holds;
        for (int hold = 0; hold < c.holds; ++hold)
            holds.push_back(std::make_unique<CDeferredBoxes::Hold>(boxes));
        for (int show = 0; show < c.shows; ++show)
            boxes.Show(owner, "could not open settings.txt", "Kelvaro", MB_OK | MB_TOPMOST);
        if (c.ownerGoes)
            DestroyWindow(owner);
        for (; !holds.empty(); holds.pop_back())
            EXPECT_TRUE(platform.messageBoxes.empty()) << c.what << ", " << holds.size() << " holds left";

        ASSERT_EQ(platform.messageBoxes.size(), c.boxes) << c.what;
        for (const FakePlatform::MessageBoxCall& box : platform.messageBoxes) {
            EXPECT_EQ(box.owner, c.ownerGoes ? nullptr : owner) << c.what;
            EXPECT_EQ(box.text, "could not open settings.txt");
            EXPECT_EQ(box.caption, "Kelvaro");
            EXPECT_EQ(box.flags, static_cast<UINT>(MB_OK | MB_TOPMOST));
        }
        DestroyWindow(owner);
    }
}

} // namespace
