#include "fake_platform_win.h"
#include "history/history_dialog_win.h"
#include "resources/resource_ids.h"
#include "test_support_win.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr char kWorkedExample[] = "HISTORY\r\n2006-3-4 = 5:12:0\r\n2006-3-6 = 1:0:30\r\n";

// The file as Notepad saves it in "Unicode": UTF-16 little-endian with a byte-order mark.
std::string Utf16(const std::string& ascii)
{
    std::string bytes = "\xFF\xFE";
    for (char c : ascii) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

TEST(HistoryDialog, ShowsTheDaysAndFiguresOfAUtf16FileUnderItsStyledTitle)
{
    FakePlatform platform;
    platform.files["timehistory.txt"] = Utf16(kWorkedExample);
    C2dGraphPlot dialog(platform);
    ASSERT_TRUE(dialog.Create(nullptr));
    EXPECT_FALSE(dialog.IsVisible());
    EXPECT_TRUE(platform.messageBoxes.empty());
    EXPECT_EQ(dialog.ItemText(IDC_HISTORY_LIST),
              "2006 Mar 04 (Sat)\t Active Time: 05:12:00  \r\n2006 Mar 06 (Mon)\t Active Time: 01:00:30  \r\n");
    EXPECT_EQ(dialog.ItemText(IDC_HISTORY_TOTAL), "0 full days and 06:12:30");
    EXPECT_EQ(dialog.ItemText(IDC_HISTORY_AVG_ACTIVE_DAYS), "03:06:15");
    EXPECT_EQ(dialog.ItemText(IDC_HISTORY_AVG_ALL_DAYS), "02:04:10");
    EXPECT_EQ(dialog.ItemText(IDC_HISTORY_MAX_ACTIVE), "2006 Mar 04 (Sat) - 05:12:00");

    LOGFONTW title{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(dialog.Item(IDC_HISTORY_TITLE), WM_GETFONT, 0, 0)), sizeof title,
               &title);
    EXPECT_STREQ(title.lfFaceName, L"Tahoma");
    EXPECT_TRUE(title.lfUnderline);
    EXPECT_EQ(dialog.ItemText(IDC_HISTORY_TITLE), "Your active time history! ");
}

TEST(HistoryDialog, EachReadReplacesTheFieldsWholeUnlessTheFileCantBeOpened)
{
    FakePlatform platform;
    platform.files["timehistory.txt"] = kWorkedExample;
    C2dGraphPlot dialog(platform);
    ASSERT_TRUE(dialog.Create(nullptr));
    dialog.SetItemText(IDC_HISTORY_LIST, "typed by the user");
    platform.files["timehistory.txt"] = "HISTORY\r\n2006-3-4 = 0:0:20\r\n";
    EXPECT_EQ(dialog.ReadHistory(), 1);
    EXPECT_EQ(dialog.ItemText(IDC_HISTORY_LIST), "2006 Mar 04 (Sat)\t Active Time: 00:00:20  \r\n");
    EXPECT_EQ(dialog.ItemText(IDC_HISTORY_TOTAL), "0 full days and 00:00:20");
    EXPECT_EQ(dialog.ItemText(IDC_HISTORY_MAX_ACTIVE), "2006 Mar 04 (Sat) - 00:00:20");

    platform.unreadableFiles["timehistory.txt"] = 1;
    EXPECT_EQ(dialog.ReadHistory(), 0);
    ASSERT_EQ(platform.messageBoxes.size(), 1u);
    EXPECT_EQ(platform.messageBoxes[0].owner, dialog.Hwnd());
    EXPECT_EQ(platform.messageBoxes[0].text, "could not open timehistory.txt");
    EXPECT_EQ(platform.messageBoxes[0].caption, "Kelvaro");
    EXPECT_EQ(platform.messageBoxes[0].flags, static_cast<UINT>(MB_OK));
    EXPECT_EQ(dialog.ItemText(IDC_HISTORY_TOTAL), "0 full days and 00:00:20");
}

} // namespace
