#pragma once

// The edge of the primary screen where the taskbar sits; a reminder popup rolls out of it.
constexpr int TASKBAR_BOTTOM = 200;
constexpr int TASKBAR_TOP = 201;
constexpr int TASKBAR_RIGHT = 202;
constexpr int TASKBAR_LEFT = 203;

// A popup's own timers, told apart by their ids.
constexpr unsigned kRollOutTimer = 100;
constexpr unsigned kRollInTimer = 101;
constexpr unsigned kHoldTimer = 102;

struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct ScreenPoint {
    int x = 0;
    int y = 0;
};

struct PopupPlacement {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The popup's sizes and offsets are given for 96 dots per inch, a display at 100 %.
constexpr int kDesignDpi = 96;

// A 96-DPI length (not negative) at the given dots per inch, rounded to the nearest pixel.
int ScaleToDpi(int length, int dpi);
// A 96-DPI rectangle (not negative), such as the one a popup draws its text into, at the given
// dots per inch: each of its four sides.
ScreenRect ScaleToDpi(const ScreenRect& rect, int dpi);

// The taskbar's edge from the work area and the screen size. A work area that fills the whole
// screen (taskbar hidden or absent) counts as a taskbar at the right.
int FindTaskbarEdge(const ScreenRect& workArea, int screenWidth, int screenHeight);

// The work area's pixel at the corner the popup rolls out of; the monitor holding it sizes the popup.
ScreenPoint RollOutCorner(int edge, const ScreenRect& workArea);

// The fully open popup's rectangle, in the work area's corner at the taskbar's edge.
ScreenRect FinalPopupRect(int edge, const ScreenRect& workArea, int width, int height);

// Where the popup stands at a height of its roll: it grows away from the taskbar's edge, keeping
// clear of the work area's edges by margins scaled to the display's dots per inch.
PopupPlacement PlacePopup(int edge, const ScreenRect& finalRect, int width, int height, int dpi = kDesignDpi);

// What the popup's window does for one step of its roll.
struct RollAction {
    unsigned killTimer = 0;  // 0: none
    unsigned startTimer = 0; // 0: none
    unsigned periodMs = 0;
    int placeHeight = 0; // 0: the window stays as it is
    bool destroy = false;
};

// The roll of one popup: out one pixel per step, fully open for the show time, in one pixel per
// step, then the end. The full height is also the number of steps each way.
class PopupRoll {
public:
    PopupRoll(int height, unsigned showTimeMs, unsigned stepTimeMs);

    // Starts the roll-out; does nothing once the roll has started.
    RollAction Start();
    // A tick of one of the popup's timers. A tick that was already queued when its timer was
    // killed, or one of a timer the current stage doesn't use, does nothing.
    RollAction Tick(unsigned timerId);
    int Step() const { return m_nStep; }

private:
    enum class Stage { NotStarted, RollingOut, Holding, RollingIn, Ended };

    int m_nHeight;
    unsigned m_nShowTime;
    unsigned m_nStepTime;
    int m_nStep = 0;
    Stage m_stage = Stage::NotStarted;
};
