#include "breaks/idea_box.h"

#include <algorithm>

IdeaBoxLayout LayOutIdeaBox(const IdeaBoxRoom& room)
{
    const int rest = room.dialogHeight - room.boxHeight;
    int box = room.neededHeight;
    const int roomLeft = std::max(0, room.workBottom - room.workTop - rest);
    if (box > roomLeft) {
        box = roomLeft;
        // A line cut through its middle would show as a stripe of ink: only whole lines.
        if (room.lineHeight > 0)
            box -= box % room.lineHeight;
    }
    const int shift = box - room.boxHeight;
    const int height = room.dialogHeight + shift;
    // Halving towards zero moves the centre back exactly when the same idea goes again.
    int top = room.dialogTop - shift / 2;
    top = std::min(top, room.workBottom - height);
    top = std::max(top, room.workTop);
    return {box, shift, top};
}
