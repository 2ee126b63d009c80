#pragma once
#include "activity/use_history.h"
#include "appearance/appearance_win.h"
#include "app/command_server_win.h"
#include "app/shortcuts_win.h"
#include "app/supervision_state.h"
#include "breaks/break_coordinator.h"
#include "breaks/break_covers_win.h"
#include "breaks/break_ideas.h"
#include "breaks/eye_breaks_win.h"
#include "breaks/heads_up_window_win.h"
#include "framework/deferred_boxes_win.h"
#include "framework/dialog_win.h"
#include "history/break_history.h"
#include "language/translation.h"
#include "messages/quiet_keeper_win.h"
#include "messages/reminder_presenter_win.h"
#include "settings/settings_model.h"
#include "settings/settings_view_win.h"

#include <cstdint>
#include <memory>

class Platform;
class CSetting;
class CShoutdownDlg;
class C2dGraphPlot;
class CTrayNot;
class CforceBreak;
struct ReminderSettings;
struct ReminderDecision;
struct MessageCatalogue;
struct ActiveTime;
struct ActiveTimeTexts;

// Private window message the tray icon reports its mouse messages with.
constexpr UINT WM_TRAYNOTIFY = WM_APP + 1000;
// Told when one of the main window's dialogs can't be created.
inline constexpr const char* kDialogCreationFailed = TrLater("Error creating Dialog");

// The program's one main window. It owns the settings model, Start and Stop, the timers, the tray
// icon and the three dialogs that live for the whole run, and shows the main choices.
class CTavrinDlg : public CDialog, private CommandHost {
public:
    CTavrinDlg(Platform& platform, HICON* trayIcons);
    ~CTavrinDlg() override;

    // Reads settings.txt into the model (load != 0), or writes the model to it; 1 on success, 0
    // when the file can't be opened.
    int LoadSaveSettings(int load);
    // Reloads standard.txt into the three message lists; 0 when it can't be opened.
    int LoadMessages();
    // Writes (0) or reads (1) today's log, writes (2) or reads (3) the history; 0 on failure.
    // Today's breaks are written with today's log.
    int LoadSaveActiveTime(int mode);
    // Reads the breaks of the recorded days, today's among them.
    void LoadBreakHistory();
    // Reads the first and last uses of the recorded days.
    void LoadUseHistory();

    // Start or Stop; a stop by a sleep keeps the pause and what waits for the user to be free.
    void OnStartStop(StopCause cause = StopCause::User);
    void StopSupervision(StopCause cause);
    void OnQuit();
    void ArmTimers();
    void KillTimers();
    void OnTimer(UINT_PTR id);
    void HideToTray();
    void RestoreFromTray();
    // Updates today's count for this tick (changing the day first when the date has changed).
    void CheckActivity(ActiveTime& time);
    // Today's count as "HH:MM:SS", with the tray tooltip that shows it.
    ActiveTimeTexts FormatActiveTime(const ActiveTime& time) const;
    // The tray tooltip with today's count as last counted, and the pause's line while it lasts.
    void RefreshTooltip();

    // The settings, which the windows show; declared first, as every part of the window reads them.
    SettingsModel m_settings;
    // The interval button checked at the last Start (0 before the first).
    int& m_nFrequence = m_settings.frequence;
    int m_bHidden = 0;

    // The dialogs the window shows.
    CSetting* SettingsDialog() const { return m_pSettingsDlg.get(); }
    CShoutdownDlg* SetTimeDialog() const { return m_pShutdownDlg.get(); }
    C2dGraphPlot* HistoryDialog() const { return m_pHistoryDlg.get(); }

protected:
    BOOL OnInitDialog() override;
    void OnCommand(int id, int notifyCode) override;
    void OnOK() override;
    void OnDestroy() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void AddAboutToSystemMenu();
    void CreateChildDialogs();
    void CreateTrayIcon();
    bool OnSysCommand(WPARAM command);
    bool PaintMinimized();
    void OnClose();
    void OnEndSession();
    void OnPowerBroadcast(WPARAM event);
    LRESULT OnTrayNotify(LPARAM mouseMessage);
    void OnDpiChanged(int dpi);
    static UINT TaskbarCreatedMessage();
    void OnSetTime();
    void OnMoreSettings();
    void OnShowHistory();
    void OnAbout();
    void OnInfoLabelClick();
    void ShowBreakAgainIfRunning();
    UINT QuestionAboveCovers() const;
    void HideOwnedDialogs();
    OwnedWindow RoleOf(HWND window) const;
    // Every window shows the settings, and takes input as supervision's locks say.
    void ShowSettings();
    void ShowLocks();
    // Restores today's count at Start and makes it the count.
    void StartCountingActiveTime();
    // Shows the break dialog and starts (or goes on with) its countdown.
    void StartForcedBreak();
    // Covers every monitor under the break dialog shown, when the user chose that.
    void CoverTheScreens();
    ReminderSettings CurrentReminderSettings() const;
    // A reminder falls due (a message timer's, the warning, or one that was held or waited): with
    // the settings and time of now, what the rules allow of it is given: its lights and sound,
    // then its text or its forced break, which a heads-up may come before.
    void OfferReminder(ReminderKind kind);
    void OfferLongActivityWarning();
    // The daily limit's or the bedtime's reminder, given as the messages are.
    void OfferReminderOfTheDay(ReminderKind kind);
    // A message tick's decision with the time and settings of now.
    ReminderDecision DecideReminderNow(unsigned timerId, const MessageCatalogue& lists);

    // The user's moment and what is on screen, for the rules between the break features; the
    // system's quiet state asked afresh or as last read.
    Moment MomentNow(bool askSystem);
    // The heads-up window as the rules have it now.
    void FollowRules();
    void OnHeadsUpTick();
    void OnHeadsUpButton(int id);
    void OnQuietCheckTick();
    // The boxes telling of an empty message list, each text once however many ticks ask for it.
    void ShowEmptyListBoxes();
    // The message timer of a kind, if it runs, counts its interval from now.
    void RestartMessageInterval(ReminderKind kind);
    void StartLightShow();

    // Work of the timers, each owned by its own part of the program.
    void OnActivityTick();
    void OnSaveTimeFilesTick();
    void OnBreakCountdownTick();
    void CheckShutdownTime();
    // Saves as Quit does and asks the system to end the session with the chosen action.
    void CarryOutShutdown(int action);
    void EnableShutdownPrivilege();
    void DisableShutdownPrivilege();
    void OnMessageTick(UINT_PTR id);

    // What the commands of other starts and the shortcuts ask: the tray menu's paths and the break now.
    KelvaroStatus Supervision() override;
    void RunMenuCommand(int id) override { OnCommand(id, 0); }
    void TakeBreakNow() override;
    // The shortcuts as the model holds them, registered where they changed or failed before.
    void RegisterShortcuts(ShortcutOccasion occasion);

    // The window was destroyed, possibly by a command taken in the nested loop of a message box.
    bool Ended() const { return Hwnd() == nullptr; }

    // The application's own message box: its name as caption, exclamation icon, OK button.
    int AppMessageBox(const std::string& text);

    Platform& m_platform;
    // The main window's own choices, bound to the model.
    CSettingsView m_view;
    // The boxes of failed file saves and loads, held back while a tick or a Start runs.
    CDeferredBoxes m_fileBoxes{m_platform};
    CBreakHistory m_breaks;
    // Decides between the break features; the objects below show what it says.
    BreakCoordinator m_rules{m_breaks, g_supervision};
    CQuietKeeper m_quiet{m_platform, m_rules, m_settings};
    CReminderPresenter m_reminders{m_platform, m_settings};
    CEyeBreaks m_eyeBreaks;
    CHeadsUpWnd m_headsUp{m_platform};
    // The covers over every monitor while the break dialog is shown, when the user chose them.
    CBreakCovers m_covers{m_platform};
    // Commands from later starts in the same folder, and the keyboard shortcuts.
    CCommandServer m_commands{m_platform, *this};
    CShortcuts m_shortcuts{m_platform, g_supervision.Shortcuts()};
    HICON* m_pTrayIcons;
    HICON m_hIcon;
    std::unique_ptr<CTrayNot> m_pTrayIcon;
    std::unique_ptr<CShoutdownDlg> m_pShutdownDlg;
    std::unique_ptr<C2dGraphPlot> m_pHistoryDlg;
    std::unique_ptr<CSetting> m_pSettingsDlg;
    // The last break dialog; replaced by the next break once it has been closed.
    std::unique_ptr<CforceBreak> m_pForceBreakDlg;
    // Which idea the next break shows.
    CBreakIdeaTurn m_breakIdeas;
    // The boxes telling of an empty message list (health, time breaks, sleep) that are open.
    bool m_bEmptyListBoxOpen[3] = {};
    // Set once initialisation has ended; the hide to the tray waits for it.
    bool m_bInitialised = false;
    // When each day's use began and ended, saved with the time files.
    CUseHistory m_uses;
    // Every window in the look chosen, as Windows' own look changes.
    CAppearance m_appearance{m_platform, m_settings};
};

extern bool g_bStoppedBySuspend;
extern bool g_bWindowsNT;
extern C2dGraphPlot* g_pHistoryDlg;
