#include "framework/deferred_boxes_win.h"

#include "platform/platform_win.h"

#include <algorithm>

void CDeferredBoxes::Show(HWND owner, const std::string& text, const std::string& caption, UINT flags)
{
    if (OpenOrWaiting(text))
        return;
    if (m_nHolds > 0) {
        m_waiting.push_back({owner, text, caption, flags});
        return;
    }
    m_open.push_back(text);
    m_platform.ShowMessageBox(owner, text, caption, flags);
    m_open.erase(std::find(m_open.begin(), m_open.end(), text));
}

CDeferredBoxes::Hold::~Hold()
{
    if (--m_boxes.m_nHolds == 0)
        m_boxes.ShowWaiting();
}

bool CDeferredBoxes::OpenOrWaiting(const std::string& text) const
{
    return std::find(m_open.begin(), m_open.end(), text) != m_open.end() ||
           std::any_of(m_waiting.begin(), m_waiting.end(), [&text](const Box& box) { return box.text == text; });
}

void CDeferredBoxes::ShowWaiting()
{
    if (m_bShowingWaiting)
        return;
    m_bShowingWaiting = true;
    while (!m_waiting.empty()) {
        const Box box = m_waiting.front();
        m_waiting.erase(m_waiting.begin());
        // The owner may have gone while the box waited; a box without one still tells the user.
        Show(IsWindow(box.owner) ? box.owner : nullptr, box.text, box.caption, box.flags);
    }
    m_bShowingWaiting = false;
}
