#include "app/main_window_win.h"
#include "fake_platform_win.h"
#include "framework/accessibility_win.h"
#include "history/history_dialog_win.h"
#include "history/history_statistics.h"
#include "resources/resource_ids.h"
#include "settings/settings_model.h"
#include "test_support_win.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

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
    platform.files["breakhistory.txt"] =
        "\xEF\xBB\xBF" "BREAKS\r\n2006-12-04 = breaks 2, postponed 0, eyes 1/1\r\n2006-12-05 = breaks 4, postponed 1, "
        "eyes 10/14\r\n";
    SettingsModel settings;
    C2dGraphPlot dialog(platform, settings);
    ASSERT_TRUE(dialog.Create(nullptr));
    EXPECT_FALSE(dialog.IsVisible());
    EXPECT_EQ(dialog.ItemText(IDC_HISTORY_BREAKS),
              "Breaks today: 4 (eyes 10 of 14) \u00b7 average 3.0 a day over the days recorded");
    EXPECT_TRUE(platform.messageBoxes.empty());
    dialog.Show(SW_SHOW);
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
    SettingsModel settings;
    C2dGraphPlot dialog(platform, settings);
    ASSERT_TRUE(dialog.Create(nullptr));
    dialog.Show(SW_SHOW);
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

// The program creates the dialog hidden as it starts: a list of years of days, which the edit
// control lays out line by line, waits until the dialog shows, and then holds the last read's days.
TEST(HistoryDialog, TheListOfAHistoryOfYearsIsFilledOnlyAsTheDialogShows)
{
    std::vector<DayRecord> years;
    for (int year = 1990; year < 2000; ++year)
        for (int month = 1; month <= 12; ++month)
            for (int day = 1; day <= 28; ++day)
                years.push_back({{year, month, day}, (year * 7 + month * 31 + day * 997) % 50000});
    FakePlatform platform;
    platform.files["timehistory.txt"] = FormatHistory(years, {std::nullopt, 0, false});
    const HistoryFigures figures = ComputeHistoryFigures(years);
    SettingsModel settings;
    C2dGraphPlot dialog(platform, settings);
    ASSERT_TRUE(dialog.Create(nullptr));
    EXPECT_EQ(dialog.ItemText(IDC_HISTORY_TOTAL), figures.total);
    EXPECT_EQ(dialog.ItemText(IDC_HISTORY_MAX_ACTIVE), figures.bestDay);
    EXPECT_EQ(GetWindowTextLengthW(dialog.Item(IDC_HISTORY_LIST)), 0);
    ASSERT_EQ(dialog.ReadHistory(), 1);
    EXPECT_EQ(GetWindowTextLengthW(dialog.Item(IDC_HISTORY_LIST)), 0);
    dialog.Show(SW_SHOW);
    EXPECT_EQ(dialog.ItemText(IDC_HISTORY_LIST), figures.list);

    // Read while hidden and shown, as Show History does; a read that fails keeps the last one's days.
    const std::string workedList =
        "2006 Mar 04 (Sat)\t Active Time: 05:12:00  \r\n2006 Mar 06 (Mon)\t Active Time: 01:00:30  \r\n";
    platform.files["timehistory.txt"] = kWorkedExample;
    for (const int read : {1, 0}) {
        Click(dialog.Hwnd(), IDOK);
        ASSERT_FALSE(dialog.IsVisible());
        if (read == 0)
            platform.unreadableFiles["timehistory.txt"] = 1;
        EXPECT_EQ(dialog.ReadHistory(), read);
        dialog.Show(SW_SHOW);
        EXPECT_EQ(dialog.ItemText(IDC_HISTORY_LIST), workedList) << read;
    }
}

// The fake's clock stands at 2006-12-05 16:00 UTC: the chart's days are 6 November to 5 December.
constexpr char kLastDays[] = "HISTORY\r\n2006-11-5 = 3:0:0\r\n2006-11-6 = 0:0:0\r\n2006-12-2 = 9:30:0\r\n"
                             "2006-12-5 = 1:25:10\r\n";

// Each day's column of the chart, by its index from the oldest, as the tooltip knows them.
std::map<UINT_PTR, RECT> TipColumns(const CHistoryChart& chart)
{
    std::map<UINT_PTR, RECT> columns;
    const auto count = static_cast<UINT>(SendMessageW(chart.ToolTip(), TTM_GETTOOLCOUNT, 0, 0));
    for (UINT index = 0; index < count; ++index) {
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        if (SendMessageW(chart.ToolTip(), TTM_ENUMTOOLSW, index, reinterpret_cast<LPARAM>(&tool)))
            columns[tool.uId] = tool.rect;
    }
    return columns;
}

// What the tooltip says where the mouse rests on the chart; empty where it says nothing.
std::string TipAt(const CHistoryChart& chart, POINT point)
{
    wchar_t text[256] = {};
    TTHITTESTINFOW hit{};
    hit.hwnd = chart.Hwnd();
    hit.pt = point;
    hit.ti.cbSize = sizeof hit.ti;
    hit.ti.lpszText = text;
    if (!SendMessageW(chart.ToolTip(), TTM_HITTESTW, 0, reinterpret_cast<LPARAM>(&hit)))
        return {};
    return Narrow(text);
}

// The colour a paint of the chart leaves at each pixel, row by row.
std::vector<COLORREF> PaintedPixels(HWND chart, int width, int height)
{
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ previous = SelectObject(dc, bitmap);
    SendMessageW(chart, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    std::vector<COLORREF> pixels;
    const auto* first = static_cast<const DWORD*>(bits);
    for (const DWORD* pixel = first; bits && pixel != first + width * height; ++pixel)
        pixels.push_back(RGB((*pixel >> 16) & 0xFF, (*pixel >> 8) & 0xFF, *pixel & 0xFF));
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return pixels;
}

// Each bar of the chart's picture is painted where the picture puts it, in its colour, on its
// day's column; today's bar among them.
TEST(HistoryDialog, TheChartPaintsEveryBarOfItsPictureInPlace)
{
    FakePlatform platform;
    platform.files["timehistory.txt"] = kLastDays;
    SettingsModel settings;
    C2dGraphPlot dialog(platform, settings);
    ASSERT_TRUE(dialog.Create(nullptr));
    const std::map<UINT_PTR, RECT> columns = TipColumns(dialog.Chart());
    const ChartPicture picture = dialog.Chart().Picture();
    RECT client{};
    GetClientRect(dialog.Chart().Hwnd(), &client);
    const std::vector<COLORREF> painted = PaintedPixels(dialog.Chart().Hwnd(), client.right, client.bottom);
    ASSERT_EQ(painted.size(), static_cast<std::size_t>(client.right * client.bottom));
    ASSERT_NE(GetSysColor(COLOR_HIGHLIGHT), GetSysColor(COLOR_WINDOW));
    ASSERT_NE(GetSysColor(COLOR_GRAYTEXT), GetSysColor(COLOR_BTNFACE));

    // 6 November, a Monday of no activity; Saturday 2 December; today, Tuesday 5 December.
    const struct {
        UINT_PTR day;
        int barColour, columnColour;
    } bars[] = {
        {0, COLOR_HIGHLIGHT, COLOR_WINDOW}, {26, COLOR_GRAYTEXT, COLOR_BTNFACE}, {29, COLOR_HIGHLIGHT, COLOR_WINDOW}};
    std::vector<ChartBox> drawn;
    for (const ChartFill& fill : picture.fills)
        if (fill.ink == ChartInk::Bar || fill.ink == ChartInk::WeekendBar)
            drawn.push_back(fill.box);
    ASSERT_EQ(drawn.size(), std::size(bars));
    for (std::size_t index = 0; index < drawn.size(); ++index) {
        const ChartBox& bar = drawn[index];
        const RECT& column = columns.at(bars[index].day);
        const int bottom = bar.bottom - 1;
        EXPECT_TRUE(column.left < bar.left && bar.right < column.right) << bars[index].day;
        // Its corners in its colour, and the column right beside it.
        const std::pair<POINT, int> pixels[] = {{{bar.left, bar.top}, bars[index].barColour},
                                                {{bar.right - 1, bottom}, bars[index].barColour},
                                                {{bar.left - 1, bottom}, bars[index].columnColour},
                                                {{bar.right, bottom}, bars[index].columnColour}};
        for (const auto& [point, colour] : pixels)
            EXPECT_EQ(painted[static_cast<std::size_t>(point.y * client.right + point.x)], GetSysColor(colour))
                << "day " << bars[index].day << " at " << point.x << ", " << point.y;
    }
}

TEST(HistoryDialog, TheChartsTipsFollowEachReadAndExportWritesTheHistoryAsCsv)
{
    FakePlatform platform;
    platform.files["timehistory.txt"] = kLastDays;
    platform.files["usehistory.txt"] = "USE\r\n2006-12-05 = first 08:12:40, last 00:41:05\r\n";
    SettingsModel settings;
    C2dGraphPlot dialog(platform, settings);
    ASSERT_TRUE(dialog.Create(nullptr));
    const CHistoryChart& chart = dialog.Chart();
    ASSERT_EQ(chart.Hwnd(), dialog.Item(IDC_HISTORY_CHART));
    const std::map<UINT_PTR, RECT> columns = TipColumns(chart);
    ASSERT_EQ(columns.size(), 30u);
    const auto tipOf = [&](UINT_PTR day) {
        const RECT& column = columns.at(day);
        return TipAt(chart, {(column.left + column.right) / 2, (column.top + column.bottom) / 2});
    };
    // A day of no activity, an empty slot, a weekend day.
    EXPECT_EQ(tipOf(0), "2006 Nov 06 (Mon) - 00:00:00");
    EXPECT_EQ(tipOf(1), "2006 Nov 07 (Tue)");
    EXPECT_EQ(tipOf(26), "2006 Dec 02 (Sat) - 09:30:00");
    platform.files["timehistory.txt"] = "HISTORY\r\n2006-12-5 = 2:0:0\r\n";
    ASSERT_EQ(dialog.ReadHistory(), 1);
    EXPECT_EQ(tipOf(29), "2006 Dec 05 (Tue) - 02:00:00");
    EXPECT_EQ(tipOf(26), "2006 Dec 02 (Sat)");

    constexpr char kChosen[] = "C:\\Users\\me\\history.csv";
    const struct {
        std::optional<std::string> chosen;
        bool writable;
        std::string fileAfter; // the chosen file, which held "old"
        std::string box;
    } cases[] = {
        {kChosen, true,
         "date,active_seconds,active_time,breaks,postponed,eye_breaks_taken,eye_breaks_offered,first_active,"
         "last_active\r\n2006-12-05,7200,2:00:00,,,,,08:12,00:41\r\n",
         ""},
        {std::nullopt, true, "old", ""},
        {kChosen, false, "old", std::string("could not open ") + kChosen},
    };
    for (const auto& c : cases) {
        platform.files[kChosen] = "old";
        if (!c.writable)
            platform.unwritableFiles[kChosen] = 1;
        platform.chosenSaveFile = c.chosen;
        platform.messageBoxes.clear();
        Click(dialog.Hwnd(), IDC_HISTORY_EXPORT);
        EXPECT_EQ(platform.files[kChosen], c.fileAfter) << c.box;
        EXPECT_EQ(platform.messageBoxes.empty() ? "" : platform.messageBoxes[0].text, c.box);
    }
}

// The control's place in its dialog, in dialog units.
RECT PlaceInUnits(HWND dialog, int id)
{
    RECT place{};
    GetWindowRect(GetDlgItem(dialog, id), &place);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
    RECT unit{0, 0, 4, 8};
    MapDialogRect(dialog, &unit);
    return {MulDiv(place.left, 4, unit.right), MulDiv(place.top, 8, unit.bottom), MulDiv(place.right, 4, unit.right),
            MulDiv(place.bottom, 8, unit.bottom)};
}

// The colour a paint left inside a bar, on a row no line crosses, and beside it in its column.
std::pair<COLORREF, COLORREF> BarAndColumn(const std::vector<COLORREF>& painted, int width, const ChartPicture& picture,
                                           const ChartBox& bar)
{
    const auto crossed = [&](int y) {
        for (const ChartFill& fill : picture.fills)
            if ((fill.ink == ChartInk::GridLine || fill.ink == ChartInk::LimitLine) && fill.box.top <= y &&
                y < fill.box.bottom)
                return true;
        return false;
    };
    int y = (bar.top + bar.bottom) / 2;
    while (y + 1 < bar.bottom && crossed(y))
        ++y;
    const auto at = [&](int x) { return painted[static_cast<std::size_t>(y * width + x)]; };
    return {at((bar.left + bar.right) / 2), at(bar.left - 1)};
}

// The four views of one history beside the dialog's own controls, at the test's DPI (96, and 144
// in the text_fit_144dpi session): each chosen by its button paints its bars where its picture puts
// them, in their colours, gives each of its slots a tip in its column and tells its sentences.
TEST(HistoryDialogViews, EachViewPaintsItsBarsInPlaceAndTellsItsSentences)
{
    FakePlatform platform;
    // Today is Tuesday 5 December; the 2nd, a Saturday, is over the limit of 8 hours.
    platform.files["timehistory.txt"] = kLastDays;
    platform.files["breakhistory.txt"] = "2006-12-4 = breaks 3, postponed 0, eyes 0/0\r\n";
    // Two nights past the bedtime of 23:00, one of them after midnight; tonight's before it so far.
    platform.files["usehistory.txt"] = "USE\r\n2006-12-03 = first 08:00:00, last 23:30:00\r\n"
                                       "2006-12-04 = first 09:00:00, last 01:15:00\r\n"
                                       "2006-12-05 = first 08:12:40, last 21:00:00\r\n";
    SettingsModel settings;
    settings.dailyLimit = true;
    settings.bedtimeMinutes = 23 * 60;
    C2dGraphPlot dialog(platform, settings);
    ASSERT_TRUE(dialog.Create(nullptr));
    ASSERT_EQ(dialog.ReadHistory(), 1);
    ASSERT_TRUE(dialog.IsChecked(IDC_HISTORY_VIEW_DAYS));
    // The list, the figures and OK where they always were; the views, their lines and Export at their
    // right, so that the dialog reads from left to right.
    const std::pair<int, RECT> own[] = {
        {IDC_HISTORY_LIST, {26, 30, 217, 181}}, {IDC_HISTORY_TOTAL, {97, 189, 215, 203}},
        {IDC_HISTORY_MAX_ACTIVE, {97, 246, 215, 260}}, {IDOK, {97, 265, 147, 279}}};
    for (const auto& [id, units] : own) {
        const RECT place = PlaceInUnits(dialog.Hwnd(), id);
        EXPECT_TRUE(EqualRect(&place, &units)) << id;
    }
    for (int id = IDC_HISTORY_VIEW_DAYS; id <= IDC_HISTORY_VIEW_TEXT; ++id)
        EXPECT_GE(PlaceInUnits(dialog.Hwnd(), id).left, 248) << id;
    const COLORREF bar = GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF over = RGB(204, 32, 32);
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    const COLORREF weekend = GetSysColor(COLOR_BTNFACE);
    const struct {
        int button;
        std::size_t slots;
        std::string text;
        std::map<std::size_t, std::pair<COLORREF, COLORREF>> bars; // slot: the bar's colour, its column's
        std::size_t tipSlot;
        std::string tip;
    } views[] = {
        {IDC_HISTORY_VIEW_WEEKS, 12,
         "This week so far: 01:25:10 a day, 3.0 breaks a day\r\nThe last 12 weeks: 04:38:23 a day, 1.0 breaks a day",
         {{6, {bar, window}}, {10, {over, window}}, {11, {bar, window}}}, 11,
         "Week of 2006 Dec 04 (Mon): 01:25:10 a day on 1 day, 3.0 breaks a day"},
        {IDC_HISTORY_VIEW_MONTHS, 12,
         "This month so far: 05:27:35 a day, 1.5 breaks a day\r\nThe last 12 months: 04:38:23 a day, 1.0 breaks a day",
         {{10, {bar, window}}, {11, {bar, window}}}, 11, "2006 Dec: 05:27:35 a day on 2 days, 1.5 breaks a day"},
        {IDC_HISTORY_VIEW_NIGHTS, 30,
         "You stopped before your bedtime on 0 of the last 2 nights.\r\n"
         "Nights in a row before your bedtime: 0 (best: 0)",
         {{27, {over, window}}, {28, {over, window}}, {29, {bar, window}}}, 28,
         "2006 Dec 04 (Mon): first use 09:00, last use 01:15"},
        {IDC_HISTORY_VIEW_DAYS, 30,
         "In the last 30 days: 05:27:35 a day on 2 days of use\r\nDays in a row within your daily limit: 0 (best: 2)",
         {{0, {bar, window}}, {26, {over, weekend}}, {29, {bar, window}}}, 26, "2006 Dec 02 (Sat) - 09:30:00"},
    };
    const CHistoryChart& chart = dialog.Chart();
    RECT client{};
    GetClientRect(chart.Hwnd(), &client);
    for (const auto& view : views) {
        Click(dialog.Hwnd(), view.button);
        EXPECT_EQ(dialog.CheckedButton(IDC_HISTORY_VIEW_DAYS, IDC_HISTORY_VIEW_NIGHTS), view.button);
        EXPECT_EQ(dialog.ItemText(IDC_HISTORY_VIEW_TEXT), view.text) << view.button;
        const ChartPicture picture = chart.Picture();
        const std::vector<COLORREF> painted = PaintedPixels(chart.Hwnd(), client.right, client.bottom);
        ASSERT_EQ(painted.size(), static_cast<std::size_t>(client.right * client.bottom));
        const std::map<UINT_PTR, RECT> columns = TipColumns(chart);
        std::size_t placed = 0;
        for (const auto& [tool, column] : columns)
            placed += IsRectEmpty(&column) ? 0 : 1;
        EXPECT_EQ(placed, view.slots) << view.button;
        std::map<std::size_t, std::pair<COLORREF, COLORREF>> bars;
        for (const ChartFill& fill : picture.fills) {
            if (fill.ink != ChartInk::Bar && fill.ink != ChartInk::WeekendBar && fill.ink != ChartInk::OverLimitBar)
                continue;
            std::size_t slot = 0;
            while (slot < view.slots && columns.at(slot).right <= fill.box.left)
                ++slot;
            ASSERT_LT(slot, view.slots) << view.button;
            const RECT& column = columns.at(slot);
            EXPECT_TRUE(column.left < fill.box.left && fill.box.right < column.right) << view.button << ", " << slot;
            bars[slot] = BarAndColumn(painted, client.right, picture, fill.box);
        }
        EXPECT_EQ(bars, view.bars) << view.button;
        const RECT& column = columns.at(view.tipSlot);
        EXPECT_EQ(TipAt(chart, {(column.left + column.right) / 2, (column.top + column.bottom) / 2}), view.tip)
            << view.button;
    }
}

// The daily limit as the dialog's owner gives it: while it is on, the dialog counts the days over
// it and the chart paints them and the limit's line in the warning colour, the scheme's under high
// contrast; the week's line comes under the breaks line whatever the limit.
TEST(HistoryDialog, TheDaysOverTheDailyLimitAndTheWeekAtAGlance)
{
    FakePlatform platform;
    // Today is Tuesday 5 December; Saturday the 2nd and Monday the 4th are over 8 hours.
    platform.files["timehistory.txt"] = kLastDays + std::string("2006-12-4 = 8:0:1\r\n2006-12-1 = 8:0:0\r\n");
    platform.files["breakhistory.txt"] = "2006-12-4 = breaks 1, postponed 0, eyes 0/0\r\n"
                                         "2006-11-30 = breaks 2, postponed 0, eyes 0/0\r\n";
    platform.firstDayOfWeek = 6; // Sunday: Friday the 1st and Saturday the 2nd are last week's
    SettingsModel settings;
    C2dGraphPlot dialog(platform, settings);
    ASSERT_TRUE(dialog.Create(nullptr));
    EXPECT_EQ(dialog.ItemText(IDC_HISTORY_WEEK), "This week: 09:25:11 active, 1 break \u00b7 last week: 17:30:00, 2 breaks");
    EXPECT_EQ(dialog.ItemText(IDC_HISTORY_OVER_LIMIT), "");

    RECT client{};
    GetClientRect(dialog.Chart().Hwnd(), &client);
    for (const bool highContrast : {false, true}) {
        settings.dailyLimit = true;
        OverrideHighContrast(highContrast);
        ASSERT_EQ(dialog.ReadHistory(), 1);
        EXPECT_EQ(dialog.ItemText(IDC_HISTORY_OVER_LIMIT), "Days over your limit in the last 30: 2");
        const std::vector<COLORREF> painted = PaintedPixels(dialog.Chart().Hwnd(), client.right, client.bottom);
        ASSERT_EQ(painted.size(), static_cast<std::size_t>(client.right * client.bottom));
        int warned = 0;
        for (const ChartFill& fill : dialog.Chart().Picture().fills) {
            if (fill.ink != ChartInk::OverLimitBar && fill.ink != ChartInk::LimitLine)
                continue;
            ++warned;
            // The top left corner: a pixel of the bars' tops is the line's colour as well.
            EXPECT_EQ(painted[static_cast<std::size_t>(fill.box.top * client.right + fill.box.left)],
                      highContrast ? GetSysColor(COLOR_HOTLIGHT) : RGB(204, 32, 32));
        }
        EXPECT_EQ(warned, 3); // Saturday's and Monday's bars, then the line across them all
    }
    OverrideHighContrast(std::nullopt);
    settings.dailyLimit = false;
    ASSERT_EQ(dialog.ReadHistory(), 1);
    EXPECT_EQ(dialog.ItemText(IDC_HISTORY_OVER_LIMIT), "");
}

} // namespace
