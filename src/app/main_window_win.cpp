#include "app/main_window_win.h"

#include "about/about_dialog_win.h"
#include "activity/calendar.h"
#include "activity/counter_state.h"
#include "app/power_events.h"
#include "app/tray_icon_win.h"
#include "breaks/break_state.h"
#include "breaks/forced_break_dialog_win.h"
#include "framework/dpi_win.h"
#include "framework/window_texts_win.h"
#include "history/history_dialog_win.h"
#include "language/translation.h"
#include "messages/led_blinker_win.h"
#include "platform/platform_win.h"
#include "platform/text_win.h"
#include "resources/resource_ids.h"
#include "settings/settings_dialog_win.h"
#include "settings/settings_file.h"
#include "shutdown/set_time_dialog_win.h"

bool g_bStoppedBySuspend = false;
bool g_bWindowsNT = false;
C2dGraphPlot* g_pHistoryDlg = nullptr;

namespace {
constexpr char kAppName[] = "Kelvaro";
constexpr const char* kInfoText =
    TrLater("Active time today count stops if you are inactive (no keyboard or mouse input) for 60 seconds.");
constexpr const char* kDialogObjectMissing = TrLater("Error Creating Dialog Object");
constexpr CStyledLabels::Style kMinutesLabelStyle{L"Tahoma", 80, false, &Palette::text};
constexpr UINT kSystemCommandMask = 0xFFF0;
constexpr int kMinutesPerHour = 60;

constexpr CheckBinding kMainChecks[] = {
    {IDC_MAIN_HEALTH_TIPS, &SettingsModel::healthMsg},
    {IDC_MAIN_TIME_BREAKS, &SettingsModel::timeBreakMsg},
    {IDC_MAIN_SLEEP_MESSAGES, &SettingsModel::sleepMsg},
    {IDC_MAIN_SHUTDOWN, &SettingsModel::shutdown},
    {IDC_MAIN_LAUNCH_MINIMIZED, &SettingsModel::startTray},
};
constexpr TextBinding kMainTexts[] = {{IDC_MAIN_OTHER_MINUTES, &SettingsModel::otherTime}};
} // namespace

CTavrinDlg::CTavrinDlg(Platform& platform, HICON* trayIcons)
    : CDialog(IDD_MAIN), m_platform(platform), m_view(*this, m_settings, LockedWindow::Main, kMainChecks, kMainTexts),
      m_pTrayIcons(trayIcons), m_hIcon(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP)))
{
}

CTavrinDlg::~CTavrinDlg()
{
    if (g_pShutdownDlg == m_pShutdownDlg.get())
        g_pShutdownDlg = nullptr;
    if (g_pHistoryDlg == m_pHistoryDlg.get())
        g_pHistoryDlg = nullptr;
    if (g_pSettingsDlg == m_pSettingsDlg.get())
        g_pSettingsDlg = nullptr;
    if (g_pForceBreakDlg == m_pForceBreakDlg.get())
        g_pForceBreakDlg = nullptr;
}

int CTavrinDlg::AppMessageBox(const std::string& text)
{
    return m_platform.ShowMessageBox(Hwnd(), text, kAppName, MB_OK | MB_ICONEXCLAMATION);
}

BOOL CTavrinDlg::OnInitDialog()
{
    // From its first moment, a later start in the same folder opens this window instead of running twice.
    m_commands.Listen(Hwnd());
    // The template places the window at the screen's corner; a window the user meets first belongs in the middle.
    CenterWindow();
    AddAboutToSystemMenu();
    SendMessageW(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessageW(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    StyleLabel(IDC_MAIN_MIN_LABEL, kMinutesLabelStyle);
    m_quiet.SetOwner(Hwnd());
    m_eyeBreaks.SetOwner(Hwnd());
    CreateTrayIcon();
    g_bWindowsNT = m_platform.EnvironmentVariable("OS") == "Windows_NT";
    CreateChildDialogs();
    SendDlgItemMessageW(Hwnd(), IDC_MAIN_OTHER_MINUTES, EM_LIMITTEXT, kLongestNumberText, 0);
    // The choices as they are before a settings file has its say.
    ShowSettings();
    ShowLocks();
    LoadSaveActiveTime(3);
    g_timeCountedDay = m_platform.Now();
    LoadBreakHistory();
    LoadUseHistory();
    int loaded = LoadSaveSettings(1);
    if (loaded == 0 && !Ended()) {
        LoadSaveSettings(0);
        loaded = LoadSaveSettings(1);
    }
    if (!Ended()) {
        m_appearance.AddPicture(Item(IDC_MAIN_BANNER), IDB_BANNER, IDB_BANNER_DARK);
        m_appearance.Follow();
    }
    m_bInitialised = true;
    // Taken once the window runs: a box telling of a shortcut another program holds, shown now,
    // would be answered before the window is shown and hidden as the settings say.
    if (!Ended())
        PostMessageW(Hwnd(), WM_SHORTCUTS_CHOSEN, 0, 0);
    // A command of another start waits for the end of set-up, when the windows show the settings.
    if (!Ended())
        m_commands.Ready();
    return loaded;
}

void CTavrinDlg::RegisterShortcuts(ShortcutOccasion occasion)
{
    m_shortcuts.Register(Hwnd(), {m_settings.pauseShortcut, m_settings.breakShortcut}, occasion);
}

void CTavrinDlg::ShowSettings()
{
    m_view.Show();
    CheckButton(IDC_MAIN_30_MIN, IDC_MAIN_OTHER, m_settings.interval);
    if (m_pSettingsDlg)
        m_pSettingsDlg->ShowSettings();
    if (m_pShutdownDlg)
        m_pShutdownDlg->ShowSettings(m_platform.Now());
}

void CTavrinDlg::ShowLocks()
{
    m_view.ShowEnabling(g_bRunning);
    if (m_pSettingsDlg)
        m_pSettingsDlg->ShowEnabling(g_bRunning);
    if (m_pShutdownDlg)
        m_pShutdownDlg->ShowEnabling(g_bRunning);
}

KelvaroStatus CTavrinDlg::Supervision()
{
    KelvaroStatus status;
    status.supervising = g_bRunning;
    status.activeMs = g_nActiveTimeMs;
    if (const std::optional<std::int64_t> until = m_quiet.PausedUntil())
        if (const std::optional<TimeOfDay> end = LocalTimeOfDay(*until))
            status.pausedUntilMinute = end->hour * kMinutesPerHour + end->minute;
    return status;
}

void CTavrinDlg::AddAboutToSystemMenu()
{
    HMENU systemMenu = GetSystemMenu(Hwnd(), FALSE);
    if (!systemMenu)
        return;
    wchar_t text[64] = {};
    if (LoadStringW(GetModuleHandleW(nullptr), IDS_ABOUTBOX, text, static_cast<int>(std::size(text))) == 0)
        return;
    AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, Widen(Tr(Narrow(text).c_str())).c_str());
}

void CTavrinDlg::CreateChildDialogs()
{
    m_pShutdownDlg = std::make_unique<CShoutdownDlg>(m_platform, m_settings);
    g_pShutdownDlg = m_pShutdownDlg.get();
    // Like every dialog without a parent of its own, it is owned by the main window, so it
    // hides with it to the tray and never stands behind it.
    if (!g_pShutdownDlg->Create(Hwnd()))
        AppMessageBox(Tr(kDialogCreationFailed));

    m_pHistoryDlg = std::make_unique<C2dGraphPlot>(m_platform, m_settings);
    g_pHistoryDlg = m_pHistoryDlg.get();
    if (!g_pHistoryDlg->Create(Hwnd()))
        AppMessageBox(Tr(kDialogCreationFailed));

    m_pSettingsDlg = std::make_unique<CSetting>(m_platform, m_settings);
    g_pSettingsDlg = m_pSettingsDlg.get();
    if (!g_pSettingsDlg->Create(Hwnd()))
        AppMessageBox(Tr(kDialogCreationFailed));
}

void CTavrinDlg::CreateTrayIcon()
{
    m_pTrayIcon = std::make_unique<CTrayNot>(m_platform, Hwnd(), WM_TRAYNOTIFY, kAppName, m_pTrayIcons);
    m_pTrayIcon->SetIcon(0);
    m_reminders.Attach(Hwnd(), m_pTrayIcon.get());
    m_bHidden = 1;
}

void CTavrinDlg::OnCommand(int id, int notifyCode)
{
    // Until set-up has ended the controls don't hold the user's settings yet, and the window is
    // not shown: only the tray menu, there from the start, is answered.
    const bool trayCommand = id == ID_TRAY_START_STOP || id == ID_TRAY_QUIT || id == ID_TRAY_OPEN;
    if (!m_bInitialised && !trayCommand)
        return;
    switch (id) {
    case IDC_MAIN_START_STOP:
    case ID_TRAY_START_STOP:
        OnStartStop();
        break;
    case IDC_MAIN_QUIT:
    case ID_TRAY_QUIT:
        OnQuit();
        break;
    case ID_TRAY_OPEN:
        RestoreFromTray();
        break;
    case IDC_MAIN_ABOUT:
        OnAbout();
        break;
    case IDC_MAIN_SET_TIME:
        OnSetTime();
        break;
    case IDC_MAIN_MORE_SETTINGS:
        OnMoreSettings();
        break;
    case IDC_MAIN_SHOW_HISTORY:
        OnShowHistory();
        break;
    case IDC_MAIN_LAUNCH_MINIMIZED:
        m_view.Take(id, notifyCode);
        LoadSaveSettings(0);
        break;
    case IDC_MAIN_30_MIN:
    case IDC_MAIN_45_MIN:
    case IDC_MAIN_60_MIN:
    case IDC_MAIN_OTHER:
        if (notifyCode == BN_CLICKED) {
            m_settings.interval = id;
            m_view.ShowEnabling(g_bRunning);
        }
        break;
    case IDC_MAIN_INFO_LABEL:
        if (notifyCode == STN_CLICKED)
            OnInfoLabelClick();
        break;
    case IDC_HEADS_UP_POSTPONE:
    case IDC_HEADS_UP_START_NOW:
        OnHeadsUpButton(id);
        break;
    default:
        if (m_view.Take(id, notifyCode))
            break;
        if (m_quiet.OnTrayCommand(id)) {
            RefreshTooltip();
            FollowRules();
            // A pause outlasts a restart of the computer, its end doesn't: the file follows at once.
            LoadSaveSettings(0);
        } else {
            CDialog::OnCommand(id, notifyCode);
        }
    }
}

void CTavrinDlg::OnOK()
{
    // Enter must not end the program.
}

void CTavrinDlg::OnQuit()
{
    if (g_bBreakRunning) {
        const int answer = m_platform.ShowMessageBox(
            Hwnd(),
            Tr("I think you are trying to get away from your break, don’t do that!? Are you really sure that you "
               "want to quit?"),
            Tr("Kelvaro WARNING!!!"), MB_YESNO | MB_ICONSTOP | QuestionAboveCovers());
        // A Quit from the tray can be taken while the question is open and end the program first.
        if (answer == IDNO || Ended())
            return;
    }
    // Quit ends a pause, which a restart of the computer would keep.
    m_quiet.OnTrayCommand(ID_TRAY_RESUME);
    LoadSaveSettings(0);
    LoadSaveActiveTime(0);
    LoadSaveActiveTime(2);
    if (!Ended())
        DestroyWindow(Hwnd());
}

void CTavrinDlg::OnDestroy()
{
    // A light show cut off by the end of the process would leave Caps Lock or Num Lock switched.
    CLedBlinker::StopAndRestore();
    // A later start finds no window to hand its command to: it waits for this process to end.
    m_commands.Listen(nullptr);
    m_shortcuts.Unregister();
    LoadSaveActiveTime(0);
    LoadSaveActiveTime(2);
    m_reminders.Attach(nullptr, nullptr);
    m_pTrayIcon.reset();
}

bool CTavrinDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_SYSCOMMAND:
        return OnSysCommand(wParam);
    case WM_CLOSE:
        OnClose();
        return true;
    case WM_ENDSESSION:
        OnEndSession();
        return false;
    case WM_POWERBROADCAST:
        OnPowerBroadcast(wParam);
        result = TRUE;
        return true;
    case WM_TIMER:
        OnTimer(wParam);
        return true;
    case WM_TRAYNOTIFY:
        result = OnTrayNotify(lParam);
        return true;
    case WM_CHANNEL_COMMAND:
        m_commands.OnChannelCommand();
        return true;
    case WM_HOTKEY:
        if (const std::optional<Command> command = m_shortcuts.OnHotKey(wParam, m_quiet.Paused()))
            m_commands.CarryOut(*command);
        return true;
    case WM_SHORTCUTS_CHOSEN:
        RegisterShortcuts(ShortcutOccasion::Chosen);
        return true;
    case WM_SETTINGS_CHANGED:
        m_appearance.Follow();
        // A break shown follows the choice of covers at once.
        if (m_settings.coverScreens)
            CoverTheScreens();
        else
            m_covers.Lift();
        return true;
    // Left to the default handling too, which lays the window out again for its new DPI.
    case WM_DPICHANGED:
        OnDpiChanged(HIWORD(wParam));
        return false;
    // A window hidden in the tray hears of a new scaling only through these.
    case WM_SETTINGCHANGE:
        // And of Windows' light or dark look ("ImmersiveColorSet") and high contrast through this one.
        if (m_pTrayIcon)
            m_pTrayIcon->FollowTaskbar();
        m_appearance.Follow();
        [[fallthrough]];
    case WM_DISPLAYCHANGE:
        OnDpiChanged(DpiForWindow(Hwnd()));
        return false;
    case WM_PAINT:
        return PaintMinimized();
    case WM_QUERYDRAGICON:
        result = reinterpret_cast<LRESULT>(m_hIcon);
        return true;
    default:
        if (message == TaskbarCreatedMessage() && m_pTrayIcon) {
            m_pTrayIcon->AddAgain();
            return true;
        }
        return false;
    }
}

void CTavrinDlg::OnDpiChanged(int dpi)
{
    // The notification area draws the small-icon size of the new scaling.
    if (m_pTrayIcon)
        m_pTrayIcon->SetIconSize(SmallIconSize(dpi));
}

UINT CTavrinDlg::TaskbarCreatedMessage()
{
    // A restarted taskbar announces itself; its notification area starts empty.
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

bool CTavrinDlg::PaintMinimized()
{
    // Minimising is turned into hiding, but another program can still minimise the window.
    if (!IsIconic(Hwnd()))
        return false;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Hwnd(), &paint);
    SendMessageW(Hwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client{};
    GetClientRect(Hwnd(), &client);
    const int x = (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, m_hIcon);
    EndPaint(Hwnd(), &paint);
    return true;
}

bool CTavrinDlg::OnSysCommand(WPARAM command)
{
    switch (command & kSystemCommandMask) {
    case IDM_ABOUTBOX:
        OnAbout();
        return true;
    case SC_MINIMIZE:
        HideToTray();
        ShowBreakAgainIfRunning();
        return true;
    default:
        return false;
    }
}

void CTavrinDlg::OnClose()
{
    HideToTray();
    ShowBreakAgainIfRunning();
}

UINT CTavrinDlg::QuestionAboveCovers() const
{
    // The covers stand above every other window; a question asked during the break comes above them.
    return m_covers.Covers().empty() ? 0 : MB_TOPMOST;
}

void CTavrinDlg::ShowBreakAgainIfRunning()
{
    if (g_bBreakRunning && g_pForceBreakDlg) {
        g_pForceBreakDlg->Show(SW_SHOW);
        CoverTheScreens();
    }
}

void CTavrinDlg::OnEndSession()
{
    CLedBlinker::StopAndRestore();
    LoadSaveSettings(0);
    LoadSaveActiveTime(0);
    LoadSaveActiveTime(2);
}

void CTavrinDlg::OnPowerBroadcast(WPARAM event)
{
    // Without the catalogue the command does nothing: only what it really stopped is started again,
    // and a start that failed is tried again at the next resume notice.
    switch (PowerStepFor(static_cast<unsigned>(event), g_bRunning, g_bStoppedBySuspend)) {
    case PowerStep::StopForSuspend:
        OnStartStop(StopCause::Sleep);
        g_bStoppedBySuspend = !g_bRunning;
        break;
    case PowerStep::StartAfterSuspend:
        if (!g_bRunning)
            OnStartStop();
        g_bStoppedBySuspend = !g_bRunning;
        break;
    case PowerStep::Nothing:
        break;
    }
}

void CTavrinDlg::HideToTray()
{
    ShowWindow(Hwnd(), SW_HIDE);
    HideOwnedDialogs();
    SetWindowPos(Hwnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    m_bHidden = 1;
}

void CTavrinDlg::HideOwnedDialogs()
{
    // Only the program's own dialogs go to the tray: a message box must stay where the user
    // can answer it, or the work waiting on it would wait for ever.
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM self) -> BOOL {
            const auto* main = reinterpret_cast<const CTavrinDlg*>(self);
            if (GetWindow(window, GW_OWNER) == main->Hwnd() && IsWindowVisible(window) &&
                CDialog::IsLiveDialog(window) && HidesWithMainWindow(main->RoleOf(window)))
                ShowWindow(window, SW_HIDE);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(this));
}

OwnedWindow CTavrinDlg::RoleOf(HWND window) const
{
    if (window == m_headsUp.Hwnd())
        return OwnedWindow::HeadsUp;
    if (g_pForceBreakDlg && window == g_pForceBreakDlg->Hwnd())
        return OwnedWindow::BreakDialog;
    return OwnedWindow::ChildDialog;
}

void CTavrinDlg::RestoreFromTray()
{
    if (!m_bHidden)
        return;
    ShowWindow(Hwnd(), SW_RESTORE);
    m_bHidden = 0;
}

LRESULT CTavrinDlg::OnTrayNotify(LPARAM mouseMessage)
{
    if (m_reminders.OnTrayNotify(mouseMessage))
        return 0;
    if (mouseMessage == WM_LBUTTONDBLCLK) {
        RestoreFromTray();
    } else if (mouseMessage == WM_RBUTTONDOWN) {
        HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_TRAY_MENU));
        if (!menu)
            return 0;
        TranslateMenuTexts(menu);
        POINT cursor{};
        GetCursorPos(&cursor);
        SetForegroundWindow(Hwnd());
        m_quiet.PrepareTrayMenu(GetSubMenu(menu, 0), g_bRunning);
        TrackPopupMenu(GetSubMenu(menu, 0), TPM_LEFTALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, Hwnd(), nullptr);
        // Without a message after it, the menu of a notification icon stays open when the user clicks elsewhere.
        PostMessageW(Hwnd(), WM_NULL, 0, 0);
        DestroyMenu(menu);
    }
    return 0;
}

void CTavrinDlg::OnAbout()
{
    CAboutDlg about(m_platform);
    about.DoModal(Hwnd());
}

void CTavrinDlg::OnSetTime()
{
    if (!g_pShutdownDlg) {
        AppMessageBox(Tr(kDialogObjectMissing));
        return;
    }
    g_pShutdownDlg->Show(SW_SHOW);
}

void CTavrinDlg::OnMoreSettings()
{
    if (g_pSettingsDlg && g_pSettingsDlg->Hwnd())
        g_pSettingsDlg->Show(SW_SHOW);
}

void CTavrinDlg::OnShowHistory()
{
    if (!g_pHistoryDlg) {
        AppMessageBox(Tr(kDialogObjectMissing));
        return;
    }
    LoadSaveActiveTime(0);
    LoadSaveActiveTime(2);
    g_pHistoryDlg->ReadHistory();
    g_pHistoryDlg->Show(SW_SHOW);
}

void CTavrinDlg::OnInfoLabelClick()
{
    m_platform.ShowMessageBox(Hwnd(), Tr(kInfoText), Tr("Kelvaro Info"), MB_OK | MB_ICONINFORMATION);
}
