#pragma once
#include "framework/dialog_win.h"

class Platform;

// The product's web site and its feedback page, set by the build so that a distributor can
// point them at their own pages; the template shows the web site's address from the same setting.
inline constexpr char kHomePageUrl[] = KELVARO_HOME_URL;
inline constexpr char kFeedbackPageUrl[] = KELVARO_FEEDBACK_URL;

// The program's name and version, with links to its web site and its feedback page.
class CAboutDlg : public CDialog {
public:
    explicit CAboutDlg(Platform& platform);

protected:
    BOOL OnInitDialog() override;
    void OnCommand(int id, int notifyCode) override;

private:
    void OnCheckForUpdate();
    void OnGiveFeedback();
    // The line above the web site's address, which the build completes, in the user's language.
    void TranslateHomeAddressLine();

    Platform& m_platform;
};
