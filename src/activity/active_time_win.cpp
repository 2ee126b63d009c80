// The activity tick and the two time files, as the main window runs them.
#include "app/main_window_win.h"

#include "activity/active_time_store.h"
#include "activity/activity_monitor.h"
#include "activity/counter_state.h"
#include "app/tray_icon_win.h"
#include "breaks/forced_break_dialog_win.h"
#include "language/text_format.h"
#include "language/translation.h"
#include "platform/platform_win.h"
#include "platform/text_decoding.h"
#include "resources/resource_ids.h"

#include <iterator>

namespace {

// The time files on the system, their failures told in the main window's boxes.
class TimeFilesOnPlatform final : public TimeFilesHost {
public:
    TimeFilesOnPlatform(CTavrinDlg& window, Platform& platform, CDeferredBoxes& boxes)
        : m_window(window), m_platform(platform), m_boxes(boxes)
    {
    }

    std::optional<std::string> ReadText(const std::string& name) override
    {
        std::optional<std::string> bytes = m_platform.ReadWholeFile(name);
        if (!bytes)
            return std::nullopt;
        return DecodeTextFile(*bytes);
    }
    bool Exists(const std::string& name) override { return m_platform.FileExists(name); }
    bool Replace(const std::string& name, const std::string& bytes) override
    {
        return m_platform.ReplaceWholeFile(name, bytes);
    }
    void ReportCannotOpen(const std::string& name) override
    {
        m_boxes.Show(m_window.Hwnd(), FillText(Tr(kCouldNotOpen), {name}), "Kelvaro", MB_OK | MB_TOPMOST);
    }
    void SaveSettings() override { m_window.LoadSaveSettings(0); }

private:
    CTavrinDlg& m_window;
    Platform& m_platform;
    CDeferredBoxes& m_boxes;
};

// The time is ASCII digits and colons, widened in place so that the tick allocates nothing.
void ShowTimeText(HWND field, const char* text)
{
    wchar_t wide[std::size(ActiveTimeTexts{}.time)]{};
    for (std::size_t i = 0; text[i] != '\0' && i + 1 < std::size(wide); ++i)
        wide[i] = static_cast<unsigned char>(text[i]);
    SetWindowTextW(field, wide);
}

} // namespace

int CTavrinDlg::LoadSaveActiveTime(int mode)
{
    TimeFilesOnPlatform files(*this, m_platform, m_fileBoxes);
    switch (mode) {
    case 0: {
        // Every moment that saves today's log saves today's breaks and uses: Stop, Quit, the
        // five-minute save, the end of the session.
        const int saved = SaveActiveTimeLog(files);
        m_breaks.Save(files);
        m_uses.Save(files);
        return saved;
    }
    case 1:
        return LoadActiveTimeLog(files);
    case 2:
        return SaveHistory(files);
    case 3:
        return LoadHistory(files);
    default:
        return 0;
    }
}

void CTavrinDlg::LoadBreakHistory()
{
    TimeFilesOnPlatform files(*this, m_platform, m_fileBoxes);
    m_breaks.Load(files);
}

void CTavrinDlg::LoadUseHistory()
{
    TimeFilesOnPlatform files(*this, m_platform, m_fileBoxes);
    m_uses.Load(files);
}

void CTavrinDlg::StartCountingActiveTime()
{
    TimeFilesOnPlatform files(*this, m_platform, m_fileBoxes);
    StartCounting(files, m_platform.TickCount());
}

void CTavrinDlg::CheckActivity(ActiveTime& time)
{
    TimeFilesOnPlatform files(*this, m_platform, m_fileBoxes);
    const std::int64_t now = m_platform.Now();
    const std::uint32_t tick = m_platform.TickCount();
    const std::optional<std::uint32_t> lastInput = m_platform.LastInputTick();
    time = ActivityTick(files, now, tick, lastInput);
    if (CountsAsActive(tick, lastInput))
        m_uses.Use(now);
    // The breaks change day with the active time; the finished day's are saved at once, with the uses.
    if (m_breaks.FollowCountedDay()) {
        m_breaks.Save(files);
        m_uses.Save(files);
    }
}

ActiveTimeTexts CTavrinDlg::FormatActiveTime(const ActiveTime& time) const
{
    return FormatActiveTimeTexts(time);
}

void CTavrinDlg::OnActivityTick()
{
    // A box of a failed save at the change of day comes after the tick, so that the ticks go on
    // counting by the idle rule while it waits: the click that answers it must not count the night.
    const CDeferredBoxes::Hold hold(m_fileBoxes);
    ActiveTime time;
    CheckActivity(time);
    const ActivityOutcome outcome = m_rules.OnActivityTick(MomentNow(false));
    // The user came back from a break: the time-break suggestions count their interval from now.
    if (outcome.breakIntervalRestarts)
        RestartMessageInterval(ReminderKind::TimeBreak);
    // The first tips and suggestions of the working hours come an interval after they begin.
    if (outcome.workingHours == WorkingHoursChange::Began) {
        RestartMessageInterval(ReminderKind::HealthTip);
        RestartMessageInterval(ReminderKind::TimeBreak);
    }
    // Their end takes the heads-up away with its break.
    if (outcome.workingHours != WorkingHoursChange::None) {
        m_quiet.SetWorkingHoursLine(m_rules.OutsideWorkingHoursLine(m_platform.Now()));
        FollowRules();
    }
    m_eyeBreaks.Show(outcome.eyeBreak);
    for (ReminderKind kind : outcome.released)
        OfferReminder(kind);
    if (const std::optional<int> picture = TrayPictureForHours(time.hours); picture && m_pTrayIcon)
        m_pTrayIcon->SetIcon(*picture);
    const ActiveTimeTexts texts = FormatActiveTime(time);
    if (m_pTrayIcon)
        m_pTrayIcon->SetTip(m_quiet.Tooltip(texts.tooltip));
    ShowTimeText(Item(IDC_MAIN_ACTIVE_TIME), texts.time);
    if (g_pForceBreakDlg && g_pForceBreakDlg->Hwnd())
        ShowTimeText(g_pForceBreakDlg->Item(IDC_BREAK_ACTIVE_TIME), texts.time);
}

void CTavrinDlg::RefreshTooltip()
{
    if (m_pTrayIcon)
        m_pTrayIcon->SetTip(m_quiet.Tooltip(FormatActiveTime(SplitForDisplay(g_nActiveTimeMs)).tooltip));
}

void CTavrinDlg::OnSaveTimeFilesTick()
{
    // While the user is away one box of a failed save is enough, not a new pile every five minutes.
    const CDeferredBoxes::Hold hold(m_fileBoxes);
    LoadSaveActiveTime(0);
    LoadSaveActiveTime(2);
}
