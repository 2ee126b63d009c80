#include "messages/popup_geometry.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(PopupGeometry, ThePopupRollsOutOfTheTaskbarsEdge)
{
    struct Case {
        const char* name;
        ScreenRect workArea;
        int edge;
        int x, yOpen, yFirstStep, width; // open at 150 pixels, and at the first step's one
        ScreenPoint corner;              // whose monitor's DPI sizes the popup
    };
    const Case cases[] = {
        {"bottom", {0, 0, 1024, 738}, TASKBAR_BOTTOM, 844, 583, 732, 170, {1023, 737}}, // x 844-1014, y 583-733
        {"hidden", {0, 0, 1024, 768}, TASKBAR_RIGHT, 844, 613, 762, 170, {1023, 767}},
        {"right", {0, 0, 964, 768}, TASKBAR_RIGHT, 784, 613, 762, 170, {963, 767}},
        {"top", {0, 30, 1024, 768}, TASKBAR_TOP, 844, 30, 30, 170, {1023, 30}},
        {"left", {60, 0, 1024, 768}, TASKBAR_LEFT, 70, 613, 762, 180, {60, 767}},
        {"bottom before top", {0, 30, 1024, 738}, TASKBAR_BOTTOM, 844, 583, 732, 170, {1023, 737}},
        {"left and top", {60, 30, 1024, 768}, TASKBAR_RIGHT, 844, 613, 762, 170, {1023, 767}},
    };
    for (const Case& c : cases) {
        const int edge = FindTaskbarEdge(c.workArea, 1024, 768);
        EXPECT_EQ(edge, c.edge) << c.name;
        const ScreenPoint corner = RollOutCorner(edge, c.workArea);
        EXPECT_EQ(std::vector({corner.x, corner.y}), std::vector({c.corner.x, c.corner.y})) << c.name;
        const ScreenRect final = FinalPopupRect(edge, c.workArea, 180, 150);
        const PopupPlacement open = PlacePopup(edge, final, 180, 150);
        const PopupPlacement first = PlacePopup(edge, final, 180, 1);
        EXPECT_EQ(std::vector({open.x, open.y, open.width, open.height}), std::vector({c.x, c.yOpen, c.width, 150}))
            << c.name;
        EXPECT_EQ(std::vector({first.x, first.y, first.width, first.height}),
                  std::vector({c.x, c.yFirstStep, c.width, 1}))
            << c.name;
    }
}

// From 100 % to 200 % display scaling the popup, its margins included, grows with the dots per inch.
TEST(PopupGeometry, SizesAndMarginsFollowTheDisplaysDpi)
{
    struct Case {
        int dpi;
        int width, height, margin; // 180 x 150, side margin 10
        int yOpen;                 // bottom taskbar, work area bottom 1000
    };
    const Case cases[] = {
        {96, 180, 150, 10, 845}, {120, 225, 188, 13, 806}, {144, 270, 225, 15, 767}, {192, 360, 300, 20, 690}};
    for (const Case& c : cases) {
        EXPECT_EQ(ScaleToDpi(180, c.dpi), c.width) << c.dpi;
        EXPECT_EQ(ScaleToDpi(150, c.dpi), c.height) << c.dpi;
        const ScreenRect workArea{0, 0, 2000, 1000};
        const ScreenRect final = FinalPopupRect(TASKBAR_BOTTOM, workArea, c.width, c.height);
        const PopupPlacement open = PlacePopup(TASKBAR_BOTTOM, final, c.width, c.height, c.dpi);
        EXPECT_EQ(std::vector({open.x, open.y, open.width}), std::vector({2000 - c.width, c.yOpen, c.width - c.margin}))
            << c.dpi;
    }
}

// The rectangle a reminder draws its text into grows on each of its four sides: left alone at 96
// DPI, a side would cut the text at high DPI.
TEST(PopupGeometry, TheTextRectangleFollowsTheDisplaysDpiOnEverySide)
{
    struct Case {
        ScreenRect rect;
        int dpi;
        ScreenRect scaled;
    };
    const Case cases[] = {
        {{30, 30, 130, 110}, 96, {30, 30, 130, 110}},
        {{30, 30, 130, 110}, 144, {45, 45, 195, 165}},
        {{10, 20, 130, 110}, 144, {15, 30, 195, 165}},
        {{30, 30, 130, 110}, 192, {60, 60, 260, 220}},
        {{0, 5, 7, 11}, 120, {0, 6, 9, 14}}, // to the nearest pixel: 6.25, 8.75, 13.75
    };
    for (const Case& c : cases) {
        const ScreenRect scaled = ScaleToDpi(c.rect, c.dpi);
        EXPECT_EQ(std::vector({scaled.left, scaled.top, scaled.right, scaled.bottom}),
                  std::vector({c.scaled.left, c.scaled.top, c.scaled.right, c.scaled.bottom}))
            << c.dpi << " DPI, " << c.rect.left << "," << c.rect.top << " " << c.rect.right << "," << c.rect.bottom;
    }
}

TEST(PopupRoll, OutOnePixelPerStepHoldThenBackIn)
{
    for (int height : {150, 0, -3}) {
        PopupRoll roll(height, 4000, 5);
        RollAction action = roll.Start();
        std::vector<int> placed;
        std::vector<unsigned> periods;
        unsigned running = 0;
        for (int tick = 0; tick < 1000 && !action.destroy; ++tick) {
            if (action.startTimer) {
                EXPECT_EQ(action.killTimer, running) << height << " at tick " << tick;
                running = action.startTimer;
                periods.push_back(action.periodMs);
            }
            // A tick queued before its timer was killed changes nothing.
            for (unsigned stale : {kRollOutTimer, kRollInTimer, kHoldTimer}) {
                const RollAction none = stale == running ? RollAction{} : roll.Tick(stale);
                EXPECT_TRUE(!none.killTimer && !none.startTimer && !none.placeHeight && !none.destroy)
                    << height << ": timer " << stale << " at tick " << tick;
            }
            action = roll.Tick(running);
            if (action.placeHeight)
                placed.push_back(action.placeHeight);
        }
        std::vector<int> expected;
        for (int h = 1; h <= height; ++h)
            expected.push_back(h);
        for (int h = height; h >= 1; --h)
            expected.push_back(h);
        EXPECT_EQ(placed, expected) << height;
        EXPECT_EQ(periods, (std::vector<unsigned>{5, 4000, 5})) << height;
        EXPECT_TRUE(action.destroy && action.killTimer == kRollInTimer) << height;
        // Once ended, nothing starts it again.
        EXPECT_EQ(roll.Start().startTimer, 0u) << height;
        EXPECT_FALSE(roll.Tick(kRollInTimer).destroy) << height;
    }
}

} // namespace
