#include "about/about_dialog_win.h"
#include "breaks/forced_break_dialog_win.h"
#include "fake_platform_win.h"
#include "history/history_dialog_win.h"
#include "settings/settings_model.h"
#include "modal_watchdog_win.h"
#include "resources/resource_ids.h"
#include "test_support_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::wstring FontFace(HWND control)
{
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font.lfFaceName;
}

// Every control's text, each followed by '|'.
std::string ChildTexts(HWND dialog)
{
    std::string texts;
    EnumChildWindows(
        dialog,
        [](HWND child, LPARAM found) -> BOOL {
            wchar_t text[256] = {};
            GetWindowTextW(child, text, static_cast<int>(std::size(text)));
            *reinterpret_cast<std::string*>(found) += Narrow(text) + "|";
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&texts));
    return texts;
}

// Once the About box runs, a user reads it, presses its two buttons and finally OK.
class VisitedAboutDlg : public CAboutDlg {
public:
    using CAboutDlg::CAboutDlg;

    std::wstring titleFont;
    std::string texts;
    bool openAfterClicks = false;

protected:
    static constexpr UINT kVisit = WM_APP + 1;

    BOOL OnInitDialog() override
    {
        const BOOL result = CAboutDlg::OnInitDialog();
        PostMessageW(Hwnd(), kVisit, 0, 0);
        return result;
    }
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        if (message != kVisit)
            return CAboutDlg::OnMessage(message, wParam, lParam, result);
        titleFont = FontFace(Item(IDC_ABOUT_TITLE));
        texts = ChildTexts(Hwnd());
        Click(Hwnd(), IDC_ABOUT_CHECK_UPDATE);
        Click(Hwnd(), IDC_ABOUT_GIVE_FEEDBACK);
        Click(Hwnd(), IDC_ABOUT_CHECK_UPDATE);
        openAfterClicks = IsWindowVisible(Hwnd()) != FALSE;
        Click(Hwnd(), IDOK);
        return true;
    }
};

TEST(ChildDialogs, AboutShowsTheVersionAndOpensBothPagesWhileStayingOpen)
{
    FakePlatform platform;
    VisitedAboutDlg about(platform);
    ModalWatchdog watchdog;
    EXPECT_EQ(about.DoModal(nullptr), IDOK);
    EXPECT_FALSE(watchdog.Fired());
    EXPECT_EQ(about.titleFont, L"Tahoma");
    EXPECT_TRUE(about.openAfterClicks);
    EXPECT_NE(std::string(kHomePageUrl), kFeedbackPageUrl);
    EXPECT_EQ(platform.urlsOpened, (std::vector<std::string>{kHomePageUrl, kFeedbackPageUrl, kHomePageUrl}));

    EXPECT_NE(about.texts.find("|Version 1.3.4|"), std::string::npos) << about.texts;
    // The address shown is the one the update button opens.
    const std::string lead = "| Get the latest version at \n";
    const size_t link = about.texts.find(lead);
    ASSERT_NE(link, std::string::npos) << about.texts;
    const size_t start = link + lead.size();
    const std::string address = about.texts.substr(start, about.texts.find('|', start) - start);
    EXPECT_FALSE(address.empty());
    EXPECT_NE(std::string(kHomePageUrl).find(address), std::string::npos) << address;
}

TEST(ChildDialogs, HistoryAndBreakDialogsComeFromTheirTemplatesAndHideOnClose)
{
    FakePlatform platform;
    SettingsModel settings;
    C2dGraphPlot history(platform, settings);
    ASSERT_TRUE(history.Create(nullptr));
    EXPECT_FALSE(history.IsVisible());
    EXPECT_EQ(FontFace(history.Item(IDC_HISTORY_TITLE)), L"Tahoma");
    for (int id : {IDC_HISTORY_LIST, IDC_HISTORY_AVG_ACTIVE_DAYS, IDC_HISTORY_MAX_ACTIVE, IDC_HISTORY_TOTAL,
                   IDC_HISTORY_AVG_ALL_DAYS})
        EXPECT_NE(history.Item(id), nullptr) << id;
    history.Show(SW_SHOW);
    Click(history.Hwnd(), IDOK);
    EXPECT_FALSE(history.IsVisible());
    EXPECT_TRUE(IsWindow(history.Hwnd()));

    CforceBreak breakDialog;
    ASSERT_TRUE(breakDialog.Create(nullptr));
    EXPECT_FALSE(breakDialog.IsVisible());
    EXPECT_FALSE(breakDialog.IsItemEnabled(IDOK)); // the countdown enables it
    EXPECT_EQ(breakDialog.ItemText(IDC_BREAK_TITLE), "Take a break!");
    EXPECT_EQ(FontFace(breakDialog.Item(IDC_BREAK_TITLE)), L"Tahoma");
    EXPECT_EQ(GetWindowLongPtrW(breakDialog.Hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST, WS_EX_TOPMOST);
    breakDialog.Show(SW_SHOW);
    SendMessageW(breakDialog.Hwnd(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_FALSE(breakDialog.IsVisible());
}

} // namespace
