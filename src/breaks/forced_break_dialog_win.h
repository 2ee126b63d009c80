#pragma once
#include "framework/dialog_win.h"

#include <string>

// The topmost "Take a break!" dialog whose OK button waits for the countdown. Screen readers
// announce its title, and its idea when it shows one, whenever it is shown.
class CforceBreak : public CDialog {
public:
    CforceBreak();

    // Shows an idea of what to do in the break below the title, or none when it is empty. The
    // dialog grows by what the whole idea needs, within the work area of its monitor; without an
    // idea it looks as it did before ideas.
    void ShowIdea(const std::string& idea);
    // A strict break: OK, Escape, Alt+F4 and the close command do nothing while the OK button is
    // disabled, which its owner keeps so until the countdown ends.
    void SetStrict(bool strict) { m_bStrict = strict; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    struct TextHeights {
        int needed = 0; // the idea's text at the box's width, 0 for none
        int line = 0;   // one line of the box's font
    };
    TextHeights MeasureIdea(const std::string& idea) const;

    bool m_bStrict = false;
};

// The most recently created break dialog; null until the first break of the run.
extern CforceBreak* g_pForceBreakDlg;
