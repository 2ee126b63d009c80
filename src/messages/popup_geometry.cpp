#include "messages/popup_geometry.h"

namespace {
// The open popup keeps clear of the work area's edges by these margins, at 96 DPI.
constexpr int kSideMargin = 10;
constexpr int kBottomMargin = 5;
} // namespace

int ScaleToDpi(int length, int dpi)
{
    return static_cast<int>((static_cast<long long>(length) * dpi + kDesignDpi / 2) / kDesignDpi);
}

ScreenRect ScaleToDpi(const ScreenRect& rect, int dpi)
{
    return {ScaleToDpi(rect.left, dpi), ScaleToDpi(rect.top, dpi), ScaleToDpi(rect.right, dpi),
            ScaleToDpi(rect.bottom, dpi)};
}

int FindTaskbarEdge(const ScreenRect& workArea, int screenWidth, int screenHeight)
{
    if (workArea.right - workArea.left == screenWidth && workArea.bottom < screenHeight)
        return TASKBAR_BOTTOM;
    if (workArea.left == 0 && workArea.top != 0)
        return TASKBAR_TOP;
    if (workArea.left != 0 && workArea.top == 0)
        return TASKBAR_LEFT;
    return TASKBAR_RIGHT;
}

ScreenPoint RollOutCorner(int edge, const ScreenRect& workArea)
{
    switch (edge) {
    case TASKBAR_TOP:
        return {workArea.right - 1, workArea.top};
    case TASKBAR_LEFT:
        return {workArea.left, workArea.bottom - 1};
    default:
        return {workArea.right - 1, workArea.bottom - 1};
    }
}

ScreenRect FinalPopupRect(int edge, const ScreenRect& workArea, int width, int height)
{
    switch (edge) {
    case TASKBAR_TOP:
        return {workArea.right - width, workArea.top, workArea.right, workArea.top + height};
    case TASKBAR_LEFT:
        return {workArea.left, workArea.bottom - height, workArea.left + width, workArea.bottom};
    default:
        return {workArea.right - width, workArea.bottom - height, workArea.right, workArea.bottom};
    }
}

PopupPlacement PlacePopup(int edge, const ScreenRect& finalRect, int width, int height, int dpi)
{
    const int side = ScaleToDpi(kSideMargin, dpi);
    const int bottom = ScaleToDpi(kBottomMargin, dpi);
    switch (edge) {
    case TASKBAR_TOP:
        return {finalRect.left, finalRect.top, width - side, height};
    case TASKBAR_LEFT:
        return {finalRect.left + side, finalRect.bottom - height - bottom, width, height};
    default:
        return {finalRect.left, finalRect.bottom - height - bottom, width - side, height};
    }
}

PopupRoll::PopupRoll(int height, unsigned showTimeMs, unsigned stepTimeMs)
    : m_nHeight(height), m_nShowTime(showTimeMs), m_nStepTime(stepTimeMs)
{
}

RollAction PopupRoll::Start()
{
    if (m_stage != Stage::NotStarted)
        return {};
    m_stage = Stage::RollingOut;
    m_nStep = 0;
    RollAction action;
    action.startTimer = kRollOutTimer;
    action.periodMs = m_nStepTime;
    return action;
}

RollAction PopupRoll::Tick(unsigned timerId)
{
    RollAction action;
    if (m_stage == Stage::RollingOut && timerId == kRollOutTimer) {
        if (++m_nStep <= m_nHeight) {
            action.placeHeight = m_nStep;
        } else {
            m_stage = Stage::Holding;
            action = {kRollOutTimer, kHoldTimer, m_nShowTime, 0, false};
        }
    } else if (m_stage == Stage::Holding && timerId == kHoldTimer) {
        m_stage = Stage::RollingIn;
        action = {kHoldTimer, kRollInTimer, m_nStepTime, 0, false};
    } else if (m_stage == Stage::RollingIn && timerId == kRollInTimer) {
        // The roll-out ended one past the full height, so the first tick in shows the full height again.
        if (--m_nStep > 0) {
            action.placeHeight = m_nStep;
        } else {
            m_stage = Stage::Ended;
            m_nStep = 0;
            action.killTimer = kRollInTimer;
            action.destroy = true;
        }
    }
    return action;
}
