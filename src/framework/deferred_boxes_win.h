#pragma once
#include <windows.h>

#include <string>
#include <vector>

class Platform;

// Message boxes that tell of a failed file operation. Inside a hold (an activity tick, a Start)
// they wait until the work has returned, so that the timers go on ticking, and the active time
// on being counted by its one-minute rule, while a box waits for the user. A box whose text is
// already open or waiting is not shown again.
class CDeferredBoxes {
public:
    explicit CDeferredBoxes(Platform& platform) : m_platform(platform) {}

    // Shows the box now, or when the outermost hold ends.
    void Show(HWND owner, const std::string& text, const std::string& caption, UINT flags);

    // Holds the boxes back for its lifetime.
    class Hold {
    public:
        explicit Hold(CDeferredBoxes& boxes) : m_boxes(boxes) { ++m_boxes.m_nHolds; }
        ~Hold();
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        CDeferredBoxes& m_boxes;
    };

private:
    struct Box {
        HWND owner;
        std::string text;
        std::string caption;
        UINT flags;
    };
    bool OpenOrWaiting(const std::string& text) const;
    // Shows the waiting boxes one after another; a box shown meanwhile by the nested loop waits its turn.
    void ShowWaiting();

    Platform& m_platform;
    std::vector<Box> m_waiting;
    std::vector<std::string> m_open;
    int m_nHolds = 0;
    bool m_bShowingWaiting = false;
};
