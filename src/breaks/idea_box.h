#pragma once

// The break dialog's idea box and the dialog around it, in screen pixels, as they stand now.
struct IdeaBoxRoom {
    int neededHeight = 0; // the idea's text at the box's width; 0 without an idea
    int lineHeight = 0;   // one line of the box's font
    int boxHeight = 0;
    int dialogTop = 0;
    int dialogHeight = 0;
    int workTop = 0; // the work area of the dialog's monitor
    int workBottom = 0;
};

// Where the box and the dialog go for an idea.
struct IdeaBoxLayout {
    int boxHeight = 0;
    int shift = 0; // how far the controls below the box move down and the dialog grows; negative: up, shrinks
    int dialogTop = 0;
};

// The box is as tall as the whole idea and the dialog grows by as much, keeping its centre, inside
// the work area. A dialog that would be taller than the work area takes its whole height, and the
// box the whole lines that leave room for: the title and the OK button always stay on the screen.
IdeaBoxLayout LayOutIdeaBox(const IdeaBoxRoom& room);
