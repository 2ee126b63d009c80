#pragma once
#include "framework/dialog_win.h"

#include <string>

// The topmost "Take a break!" dialog whose OK button waits for the countdown. Screen readers
// announce its title, and its idea when it shows one, whenever it is shown.
class CforceBreak : public CDialog {
public:
    CforceBreak();

    // Shows an idea of what to do in the break below the title, or none when it is empty. The
    // dialog is as tall as the idea needs; without one it looks as it did before ideas.
    void ShowIdea(const std::string& idea);

protected:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    // The height in pixels the idea's text needs at the box's width, at most the box's full height.
    int IdeaHeight(const std::string& idea) const;

    // The idea box's height in the template: room for the longest idea.
    int m_nIdeaRoom = 0;
};

// The most recently created break dialog; null until the first break of the run.
extern CforceBreak* g_pForceBreakDlg;
