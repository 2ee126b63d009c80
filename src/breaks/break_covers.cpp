#include "breaks/break_covers.h"

#include <algorithm>
#include <cstdint>

namespace {

bool SameRect(const ScreenRect& a, const ScreenRect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

bool Holds(const ScreenRect& outer, const ScreenRect& inner)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// How far a point lies outside a rectangle along one axis, 0 within it; the far edge is outside.
std::int64_t Gap(int value, int low, int high)
{
    if (value < low)
        return static_cast<std::int64_t>(low) - value;
    if (value >= high)
        return static_cast<std::int64_t>(value) - high + 1;
    return 0;
}

int AtDpi(int length, int fromDpi, int toDpi)
{
    if (fromDpi <= 0)
        return length;
    return static_cast<int>((static_cast<std::int64_t>(length) * toDpi + fromDpi / 2) / fromDpi);
}

} // namespace

std::optional<std::size_t> UsersMonitor(const std::vector<MonitorArea>& monitors, ScreenPoint pointer)
{
    std::optional<std::size_t> nearest;
    std::int64_t nearestDistance = 0;
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        const ScreenRect& rect = monitors[i].rect;
        const std::int64_t dx = Gap(pointer.x, rect.left, rect.right);
        const std::int64_t dy = Gap(pointer.y, rect.top, rect.bottom);
        const std::int64_t distance = dx * dx + dy * dy;
        if (!nearest || distance < nearestDistance) {
            nearest = i;
            nearestDistance = distance;
        }
    }
    return nearest;
}

ScreenRect CentreOnMonitor(const MonitorArea& monitor, int width, int height, int dpi)
{
    const int w = AtDpi(width, dpi, monitor.dpi);
    const int h = AtDpi(height, dpi, monitor.dpi);
    const ScreenRect& work = monitor.work;
    const int left = work.left + std::max(0, (work.right - work.left - w) / 2);
    const int top = work.top + std::max(0, (work.bottom - work.top - h) / 2);
    return {left, top, left + w, top + h};
}

std::vector<CoverSlot> BreakCoverPlan::AsTheyStand() const
{
    std::vector<CoverSlot> slots;
    for (std::size_t i = 0; i < m_covers.size(); ++i)
        slots.push_back({i, m_covers[i].rect});
    return slots;
}

std::vector<CoverSlot> BreakCoverPlan::CoverMonitors(const std::vector<MonitorArea>& monitors, bool keepMissing)
{
    std::vector<CoverSlot> slots;
    std::vector<StandingCover> covers;
    std::vector<bool> taken(m_covers.size(), false);
    for (const MonitorArea& monitor : monitors) {
        // Monitors that show the same picture need one cover.
        if (std::any_of(covers.begin(), covers.end(),
                        [&](const StandingCover& cover) { return SameRect(cover.rect, monitor.rect); }))
            continue;
        std::optional<std::size_t> from;
        for (std::size_t i = 0; i < m_covers.size() && !from; ++i) {
            if (!taken[i] && SameRect(m_covers[i].rect, monitor.rect)) {
                taken[i] = true;
                from = i;
            }
        }
        slots.push_back({from, monitor.rect});
        covers.push_back({monitor.rect, false});
    }
    for (std::size_t i = 0; keepMissing && i < m_covers.size(); ++i) {
        if (!taken[i] && !m_covers[i].missing) {
            slots.push_back({i, m_covers[i].rect});
            covers.push_back({m_covers[i].rect, true});
        }
    }
    m_covers = std::move(covers);
    return slots;
}

CoverLayout BreakCoverPlan::Lay(const std::vector<MonitorArea>& monitors, ScreenPoint pointer,
                                const DialogPlace& dialog)
{
    const std::optional<std::size_t> users = UsersMonitor(monitors, pointer);
    if (!users)
        return {AsTheyStand(), std::nullopt};
    CoverLayout layout;
    layout.covers = CoverMonitors(monitors, false);
    layout.dialog = CentreOnMonitor(monitors[*users], dialog.rect.right - dialog.rect.left,
                                    dialog.rect.bottom - dialog.rect.top, dialog.dpi);
    return layout;
}

CoverLayout BreakCoverPlan::Follow(const std::vector<MonitorArea>& monitors, ScreenPoint pointer,
                                   const DialogPlace& dialog)
{
    const std::optional<std::size_t> users = UsersMonitor(monitors, pointer);
    if (!users)
        return {AsTheyStand(), std::nullopt};
    CoverLayout layout;
    layout.covers = CoverMonitors(monitors, true);
    if (std::none_of(monitors.begin(), monitors.end(),
                     [&](const MonitorArea& monitor) { return Holds(monitor.rect, dialog.rect); }))
        layout.dialog = CentreOnMonitor(monitors[*users], dialog.rect.right - dialog.rect.left,
                                        dialog.rect.bottom - dialog.rect.top, dialog.dpi);
    return layout;
}
