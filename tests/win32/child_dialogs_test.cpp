#include "about/about_dialog_win.h"
#include "breaks/forced_break_dialog_win.h"
#include "fake_platform_win.h"
#include "history/history_dialog_win.h"
#include "modal_watchdog_win.h"
#include "resources/resource_ids.h"
#include "test_support_win.h"

#include <gtest/gtest.h>

namespace {

std::wstring FontFace(HWND control)
{
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font.lfFaceName;
}

// Ends the About box as soon as it runs, the way a user's OK would.
class ClosingAboutDlg : public CAboutDlg {
protected:
    BOOL OnInitDialog() override
    {
        const BOOL result = CAboutDlg::OnInitDialog();
        title = FontFace(Item(IDC_ABOUT_TITLE));
        PostMessageW(Hwnd(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return result;
    }

public:
    std::wstring title;
};

TEST(ChildDialogs, AboutRunsModallyWithItsStyledTitleUntilOk)
{
    ClosingAboutDlg about;
    ModalWatchdog watchdog;
    EXPECT_EQ(about.DoModal(nullptr), IDOK);
    EXPECT_FALSE(watchdog.Fired());
    EXPECT_EQ(about.title, L"Tahoma");
}

TEST(ChildDialogs, HistoryAndBreakDialogsComeFromTheirTemplatesAndHideOnClose)
{
    FakePlatform platform;
    C2dGraphPlot history(platform);
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
