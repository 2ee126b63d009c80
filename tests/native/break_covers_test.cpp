#include "breaks/break_covers.h"
#include "breaks/strict_break.h"

#include <gtest/gtest.h>

#include <utility>
#include <string>
#include <vector>

namespace {

// A primary monitor with its taskbar at the bottom, a larger one at 150 % to its right, one at
// 125 % left of and above the primary, and what becomes of them.
const MonitorArea A{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 96};
const MonitorArea B{{1920, 0, 4480, 1440}, {1920, 0, 4480, 1440}, 144};
const MonitorArea L{{-1280, -200, 0, 1024}, {-1280, -200, 0, 984}, 120};
const MonitorArea A1024{{0, 0, 1024, 768}, {0, 0, 1024, 728}, 96};         // A at another resolution
const MonitorArea B200{{1920, 0, 4480, 1440}, {1920, 0, 4480, 1440}, 192}; // B at 200 %
const MonitorArea Lup{{0, -1024, 1280, 0}, {0, -1024, 1280, -40}, 120};    // L moved above A

std::string Name(const ScreenRect& rect)
{
    for (const auto& [name, monitor] : {std::pair{"A", A}, {"B", B}, {"L", L}, {"A1024", A1024}, {"Lup", Lup}}) {
        const ScreenRect& r = monitor.rect;
        if (r.left == rect.left && r.top == rect.top && r.right == rect.right && r.bottom == rect.bottom)
            return name;
    }
    return "?";
}

// "A=new B=1 | 720,370 480x300": each cover's monitor and the cover it carries on, then where
// the dialog goes ("stays" when it doesn't move).
std::string Text(const CoverLayout& layout)
{
    std::string text;
    for (const CoverSlot& slot : layout.covers)
        text += Name(slot.rect) + "=" + (slot.from ? std::to_string(*slot.from) : "new") + " ";
    if (!layout.dialog)
        return text + "| stays";
    const ScreenRect& d = *layout.dialog;
    return text + "| " + std::to_string(d.left) + "," + std::to_string(d.top) + " " + std::to_string(d.right - d.left) +
           "x" + std::to_string(d.bottom - d.top);
}

// The dialog of 480 x 300 pixels at 96 DPI, as it first stands.
const DialogPlace kFreshDialog{{0, 0, 480, 300}, 96};

TEST(BreakCovers, EveryMonitorIsCoveredAndTheDialogCentredOnThePointersMonitorAtItsDpi)
{
    struct Case {
        std::vector<MonitorArea> monitors;
        ScreenPoint pointer;
        DialogPlace dialog;
        const char* laid;
    };
    const Case cases[] = {
        {{A}, {500, 500}, kFreshDialog, "A=new | 720,370 480x300"},
        {{A}, {-3000, 9000}, kFreshDialog, "A=new | 720,370 480x300"}, // pointer off every monitor
        {{A, B}, {500, 500}, kFreshDialog, "A=new B=new | 720,370 480x300"},
        {{A, B}, {2000, 100}, kFreshDialog, "A=new B=new | 2840,495 720x450"},           // at 144 DPI
        {{A, B}, {1919, 0}, kFreshDialog, "A=new B=new | 720,370 480x300"},              // A's last column
        {{A, B}, {1920, 0}, kFreshDialog, "A=new B=new | 2840,495 720x450"},             // B's first
        {{A, B}, {3000, 2000}, kFreshDialog, "A=new B=new | 2840,495 720x450"},          // below B: nearest
        {{A, B}, {1000, 1200}, kFreshDialog, "A=new B=new | 720,370 480x300"},           // below A: nearest
        {{L, A, B}, {-100, -100}, kFreshDialog, "L=new A=new B=new | -940,204 600x375"}, // at 120 DPI
        {{L, A, B}, {-5000, -5000}, kFreshDialog, "L=new A=new B=new | -940,204 600x375"},
        {{L, A, B}, {4479, 1000}, kFreshDialog, "L=new A=new B=new | 2840,495 720x450"},
        {{A, B}, {10, 10}, {{2840, 495, 3560, 945}, 144}, "A=new B=new | 720,370 480x300"}, // from 144 to 96 DPI
        {{A}, {10, 10}, {{0, 0, 2000, 1200}, 96}, "A=new | 0,0 2000x1200"},                 // larger than the work area
        {{A, A, B}, {10, 10}, kFreshDialog, "A=new B=new | 720,370 480x300"},               // a mirrored monitor
        {{}, {10, 10}, kFreshDialog, "| stays"},                                            // no list to be had
    };
    for (const Case& c : cases) {
        BreakCoverPlan plan;
        EXPECT_EQ(Text(plan.Lay(c.monitors, c.pointer, c.dialog)), c.laid)
            << c.monitors.size() << " monitors, pointer " << c.pointer.x << "," << c.pointer.y;
    }
}

TEST(BreakCovers, TheCoversFollowTheMonitorsAndTheDialogLeavesOneThatWent)
{
    struct Case {
        const char* story;
        std::vector<MonitorArea> laid;
        ScreenPoint pointer; // at the lay and every look after it
        std::vector<std::vector<MonitorArea>> looks;
        const char* last; // what the last look changes
    };
    const Case cases[] = {
        {"nothing changed", {A, B}, {10, 10}, {{A, B}}, "A=0 B=1 | stays"},
        {"B plugged in", {A}, {10, 10}, {{A, B}}, "A=0 B=new | stays"},
        {"B gone once", {A, B}, {10, 10}, {{A}}, "A=0 B=1 | stays"},
        {"B gone twice", {A, B}, {10, 10}, {{A}, {A}}, "A=0 | stays"},
        {"B asleep a moment", {A, B}, {10, 10}, {{A}, {A, B}}, "A=0 B=1 | stays"},
        {"B gone twice, back", {A, B}, {10, 10}, {{A}, {A}, {A, B}}, "A=0 B=new | stays"},
        {"the dialog's B gone", {A, B}, {2000, 10}, {{A}}, "A=0 B=1 | 720,370 480x300"},
        {"A's resolution", {A}, {10, 10}, {{A1024}}, "A1024=new A=0 | 272,214 480x300"},
        {"A's resolution settled", {A}, {10, 10}, {{A1024}, {A1024}}, "A1024=0 | stays"},
        {"B's DPI", {A, B}, {2000, 10}, {{A, B200}}, "A=0 B=1 | stays"},
        {"L moved above A", {L, A}, {-100, -100}, {{Lup, A}}, "Lup=new A=1 L=0 | 340,-720 600x375"},
        {"no list to be had", {L, A, B}, {10, 10}, {{}}, "L=0 A=1 B=2 | stays"},
        {"no list, then B gone", {A, B}, {10, 10}, {{}, {A}, {A}}, "A=0 | stays"},
    };
    for (const Case& c : cases) {
        BreakCoverPlan plan;
        CoverLayout layout = plan.Lay(c.laid, c.pointer, kFreshDialog);
        DialogPlace dialog{*layout.dialog,
                           UsersMonitor(c.laid, c.pointer) ? c.laid[*UsersMonitor(c.laid, c.pointer)].dpi : kDesignDpi};
        for (const std::vector<MonitorArea>& look : c.looks) {
            layout = plan.Follow(look, c.pointer, dialog);
            if (layout.dialog)
                dialog = {*layout.dialog, look[*UsersMonitor(look, c.pointer)].dpi};
        }
        EXPECT_EQ(Text(layout), c.last) << c.story;
        plan.Lift();
        for (const CoverSlot& slot : plan.Lay(c.laid, c.pointer, dialog).covers)
            EXPECT_FALSE(slot.from) << c.story << ": a cover carried on past the lift";
    }
}

TEST(BreakCovers, AStrictBreakEndsOnlyOnceItsCountdownHas)
{
    EXPECT_TRUE(BreakDialogMayEnd(false, false));
    EXPECT_TRUE(BreakDialogMayEnd(false, true));
    EXPECT_FALSE(BreakDialogMayEnd(true, false));
    EXPECT_TRUE(BreakDialogMayEnd(true, true));
}

} // namespace
