#include "breaks/idea_box.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The break dialog at 96 DPI on a 1024 x 768 screen with a taskbar at the bottom: 270 pixels high
// without an idea, lines of 16 pixels.
TEST(IdeaBox, TheBoxTakesTheWholeIdeaAndTheDialogGrowsAboutItsCentreInsideTheWorkArea)
{
    struct Case {
        const char* what;
        IdeaBoxRoom room; // needed, line, box, dialog top, dialog height, work top, work bottom
        int box, shift, top;
    };
    const Case cases[] = {
        {"no idea: the template's box goes", {0, 16, 81, 193, 351, 0, 738}, 0, -81, 233},
        {"one line", {16, 16, 0, 233, 270, 0, 738}, 16, 16, 225},
        {"200 wide characters, beyond the template's box", {96, 16, 16, 225, 286, 0, 738}, 96, 80, 185},
        {"back to one line, back to the same centre", {16, 16, 96, 185, 366, 0, 738}, 16, -80, 225},
        {"as tall as the work area", {468, 16, 0, 234, 270, 0, 738}, 468, 468, 0},
        {"taller than the work area: the whole lines that fit", {500, 16, 0, 234, 270, 0, 738}, 464, 464, 2},
        {"at 150 %, lines of 24", {600, 24, 0, 234, 270, 0, 738}, 456, 456, 6},
        {"near the work area's bottom: moved up into it", {96, 16, 0, 600, 270, 0, 738}, 96, 96, 372},
        {"a taskbar at the top: never above the work area", {96, 16, 0, 60, 270, 40, 768}, 96, 96, 40},
        {"taller than the work area without an idea: its top shows", {96, 16, 0, 0, 500, 0, 400}, 0, 0, 0},
    };
    for (const Case& c : cases) {
        const IdeaBoxLayout layout = LayOutIdeaBox(c.room);
        EXPECT_EQ(std::vector({layout.boxHeight, layout.shift, layout.dialogTop}), std::vector({c.box, c.shift, c.top}))
            << c.what;
    }
}

} // namespace
