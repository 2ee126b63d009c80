#pragma once
#include "messages/popup_geometry.h"

#include <cstddef>
#include <optional>
#include <vector>

// One monitor as the system lays it out on the virtual screen, whose coordinates can be negative
// (a monitor left of or above the primary one).
struct MonitorArea {
    ScreenRect rect; // the whole monitor, taskbar included
    ScreenRect work; // what is left beside the taskbar
    int dpi = kDesignDpi;
};

// The monitor the user works on: the one holding the pointer, else the one nearest to it (the
// first of equals); none of an empty list.
std::optional<std::size_t> UsersMonitor(const std::vector<MonitorArea>& monitors, ScreenPoint pointer);

// A window of a size in pixels at one DPI, brought to the monitor's DPI and centred in its work
// area; one larger than the work area keeps to the work area's top-left corner.
ScreenRect CentreOnMonitor(const MonitorArea& monitor, int width, int height, int dpi);

// The break dialog as it stands: its rectangle and the DPI it has there.
struct DialogPlace {
    ScreenRect rect;
    int dpi = kDesignDpi;
};

// One cover of a layout: the monitor's rectangle it spans, and the cover of the last layout it
// carries on from (its place there), or none for a new window.
struct CoverSlot {
    std::optional<std::size_t> from;
    ScreenRect rect;
};

// What the shell does: the covers that stand, in order (those of the last layout that no slot
// carries on go), and where the dialog goes, or none when it stays where it is.
struct CoverLayout {
    std::vector<CoverSlot> covers;
    std::optional<ScreenRect> dialog;
};

// The covers of a break, one over each monitor, and the break dialog above them on the user's
// monitor, as monitors come, go and change while the break lasts. A cover whose monitor is
// missing stays for one more look: a monitor that sleeps can look unplugged for a moment, and its
// cover, over nothing meanwhile, is then still there when it comes back. A list that can't be had
// (empty) changes nothing.
class BreakCoverPlan {
public:
    // The break dialog is shown: a cover over each monitor, those standing taken over where they
    // still fit, and the dialog centred on the user's monitor at its DPI.
    CoverLayout Lay(const std::vector<MonitorArea>& monitors, ScreenPoint pointer, const DialogPlace& dialog);
    // A look at the monitors during the break: a new one gets its cover, a missing one's cover
    // goes at the second look, and the dialog, unless it lies whole on a monitor still there, goes
    // to the user's monitor.
    CoverLayout Follow(const std::vector<MonitorArea>& monitors, ScreenPoint pointer, const DialogPlace& dialog);
    // The break dialog went: no cover stands.
    void Lift() { m_covers.clear(); }

private:
    struct StandingCover {
        ScreenRect rect;
        bool missing = false; // its monitor was not there at the last look
    };
    // The covers for the monitors, those standing carried on where they fit; a missing one is kept
    // once when asked.
    std::vector<CoverSlot> CoverMonitors(const std::vector<MonitorArea>& monitors, bool keepMissing);
    std::vector<CoverSlot> AsTheyStand() const;

    std::vector<StandingCover> m_covers;
};
