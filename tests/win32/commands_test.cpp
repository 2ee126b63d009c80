// Later starts in the same folder and the keyboard shortcuts, as the running Kelvaro takes them.
#include "app/command_client_win.h"
#include "app/main_window_win.h"

#include "activity/calendar.h"
#include "breaks/break_covers_win.h"
#include "breaks/forced_break_dialog_win.h"
#include "breaks/break_state.h"
#include "fake_platform_win.h"
#include "language/translation.h"
#include "resources/resource_ids.h"
#include "settings/settings_dialog_win.h"
#include "test_support_win.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// A start with a command line, told in one line: its exit code (or "runs"), what it sent, printed and showed.
std::string Start(FakePlatform& platform, const std::vector<std::string>& arguments)
{
    const std::optional<int> exitCode = RunCommandLine(platform, arguments);
    std::string out = exitCode ? "exit " + std::to_string(*exitCode) : "runs";
    for (const std::string& sent : platform.commandsSent)
        out += ", sent " + sent;
    for (const std::string& line : platform.linesWritten)
        out += ", printed " + line.substr(0, line.find('\n'));
    for (const FakePlatform::MessageBoxCall& box : platform.messageBoxes)
        out += std::string(", box ") + ((box.flags & MB_ICONEXCLAMATION) ? "!" : "i") + box.text.substr(0, box.text.find('\n'));
    return out;
}

TEST(CommandClientTest, FindsTheRunningKelvaroHandsTheCommandOverAndTells)
{
    const std::uint64_t paused = EncodeReply({ReplyCode::Done, {true, 3600000, 15 * 60 + 30}});
    const HWND running = reinterpret_cast<HWND>(0x1234);
    struct Case {
        std::vector<std::string> arguments;
        RunningKelvaro state;
        bool console;
        std::optional<std::uint64_t> reply;
        std::string expected;
    };
    const Case cases[] = {
        {{}, RunningKelvaro::None, false, std::nullopt, "runs"},
        {{}, RunningKelvaro::Answering, false, paused, "exit 0, sent show"},
        // Not answering, a plain start tells in a box even from a console.
        {{}, RunningKelvaro::NotAnswering, true, std::nullopt,
         "exit 3, box !Kelvaro already runs in this folder but does not answer. Wait a moment and start it again, or "
         "end it in the Task Manager."},
        {{"status"}, RunningKelvaro::Answering, true, paused,
         "exit 0, sent status, printed supervising, active today 01:00:00, reminders paused until 15:30"},
        {{"status"}, RunningKelvaro::Answering, false, paused, "exit 0, sent status"},
        {{"pause 30"}, RunningKelvaro::None, false, std::nullopt, "exit 1, box !No Kelvaro is running in this folder."},
        {{"quit"}, RunningKelvaro::Answering, true, std::nullopt,
         "exit 3, sent quit, printed The Kelvaro running in this folder does not answer."},
        {{"pause 60"}, RunningKelvaro::Answering, false, EncodeReply({ReplyCode::NotDone, {}}),
         "exit 4, sent pause 60, box !Kelvaro ended before it carried out the command."},
        {{"help"}, RunningKelvaro::Answering, false, std::nullopt, "exit 2, box iUsage: kelvaro.exe [command]"},
    };
    for (const Case& c : cases) {
        FakePlatform platform;
        platform.lookup = {c.state, c.state == RunningKelvaro::Answering ? running : nullptr};
        platform.hasConsole = c.console;
        platform.commandReply = c.reply;
        EXPECT_EQ(Start(platform, c.arguments), c.expected) << c.expected;
        // help and wrong words look for nothing; a start finds the folder's Kelvaro by its object's name.
        const bool asks = AsksRunningKelvaro(ParseCommandLine(c.arguments));
        EXPECT_EQ(platform.lookups, asks ? std::vector<std::string>{InstanceObjectName(platform.dataFolder)}
                                         : std::vector<std::string>{});
        EXPECT_EQ(platform.claims.size(), c.expected == "runs" ? 1u : 0u) << c.expected;
        for (HWND window : platform.commandWindows)
            EXPECT_EQ(window, running);
        for (const std::string& channel : platform.commandChannels)
            EXPECT_EQ(channel, CommandChannelName(platform.dataFolder, platform.ownIdentity.session.value()));
    }

    // Two starts at once: the one that couldn't claim the folder looks again, then tells.
    FakePlatform platform;
    platform.claimGranted = false;
    EXPECT_EQ(Start(platform, {"start"}), "exit 3, printed The Kelvaro running in this folder does not answer.");
    EXPECT_EQ(platform.lookups.size(), 2u);
}

// The start takes up the user's language before it makes any text; a damaged translation of the
// user's gives no box there, where a script may be waiting.
TEST(CommandClientTest, TheCommandLineSpeaksTheUsersLanguage)
{
    const struct {
        std::map<std::string, std::string> files;
        std::vector<std::string> arguments;
        std::string expected;
    } cases[] = {
        {{{"settings.txt", "LANGUAGE de\r\n"}}, {"status"}, "exit 1, printed In diesem Ordner l\u00E4uft kein Kelvaro."},
        {{{"settings.txt", "LANGUAGE sv\r\n"}, {"kelvaro.sv.po", "msgid \"\"\nmsgstr \"\\n\nmsgid"}},
         {"status"},
         "exit 1, printed No Kelvaro is running in this folder."},
    };
    for (const auto& c : cases) {
        FakePlatform platform;
        for (const auto& [name, bytes] : c.files)
            platform.files[name] = bytes;
        EXPECT_EQ(Start(platform, c.arguments), c.expected) << c.expected;
        SetCurrentTranslation(CTranslation());
    }
}

constexpr char kStoppedSettings[] = "STARTTRAY 0 STARTPROGRAM false";
constexpr char kCatalogue[] = "--HEALTH-- a ; --END-- --TIMEBREAKS-- b ; --END-- --SLEEP-- c ; --END--";

class CommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetProgramState();
        platform.files["standard.txt"] = kCatalogue;
        platform.files["settings.txt"] = kStoppedSettings;
        platform.files["timehistory.txt"] = "HISTORY\r\n";
        platform.files["activetimelog.txt"] = "";
    }
    void Open()
    {
        window.reset();
        ResetProgramState();
        window = std::make_unique<CTavrinDlg>(platform, icons);
        ASSERT_TRUE(window->Create(nullptr));
        PumpMessages();
    }
    // A later start's command through the channel, from this user in this session unless told
    // otherwise; its answer, or nothing when it was hung up on.
    std::optional<CommandReply> Send(const std::string& command, std::optional<PeerIdentity> caller = std::nullopt)
    {
        platform.channelAnswers.clear();
        platform.CommandArrives(command, caller.value_or(platform.ownIdentity));
        PumpMessages();
        EXPECT_EQ(platform.channelAnswers.size(), 1u) << command;
        const std::optional<std::uint64_t> answer =
            platform.channelAnswers.empty() ? std::nullopt : platform.channelAnswers.back();
        return answer ? DecodeReply(*answer) : std::nullopt;
    }
    // A key pressed in a control of the Settings dialog, as the keyboard gives it.
    void TypeInto(int id, WPARAM key)
    {
        HWND control = GetDlgItem(window->SettingsDialog()->Hwnd(), id);
        SendMessageW(control, WM_KEYDOWN, key, 0);
        SendMessageW(control, WM_KEYUP, key, 0);
    }
    static int MinuteOfDay(std::int64_t time)
    {
        const TimeOfDay local = LocalTimeOfDay(time).value_or(TimeOfDay{});
        return local.hour * 60 + local.minute;
    }

    FakePlatform platform;
    HICON icons[9] = {};
    std::unique_ptr<CTavrinDlg> window;
};

TEST_F(CommandsTest, EachCommandDoesWhatItsMenuEntryDoes)
{
    Open();
    EXPECT_EQ(platform.announcedWindows, std::vector<HWND>{window->Hwnd()});
    EXPECT_EQ(platform.channelsOpened, std::vector<std::string>{CommandChannelName(platform.dataFolder, 1)});
    EXPECT_EQ(Send("status"), (CommandReply{ReplyCode::Done, {false, 0, std::nullopt}}));
    EXPECT_EQ(Send("pause 30")->code, ReplyCode::Stopped) << "the menu's pauses need supervision";
    EXPECT_EQ(Send("break")->code, ReplyCode::Stopped);
    EXPECT_EQ(g_pForceBreakDlg, nullptr);

    EXPECT_EQ(Send("start")->status.supervising, true);
    EXPECT_EQ(Send("start")->status.supervising, true) << "a start while supervising changes nothing";
    const std::optional<CommandReply> paused = Send("pause 30");
    ASSERT_TRUE(paused);
    EXPECT_EQ(paused->status.pausedUntilMinute, MinuteOfDay(platform.now + 30 * 60));
    EXPECT_EQ(Send("pause morning")->status.pausedUntilMinute, 6 * 60);
    EXPECT_EQ(Send("resume")->status.pausedUntilMinute, std::nullopt);

    EXPECT_EQ(Send("break")->code, ReplyCode::Done);
    ASSERT_NE(g_pForceBreakDlg, nullptr);
    EXPECT_TRUE(g_pForceBreakDlg->IsVisible());

    // Another user's program, this user's in another session, one the channel can't tell, help and
    // anything else are hung up on; a window message carries no command any more.
    const std::string ana = platform.ownIdentity.user;
    EXPECT_EQ(Send("stop", PeerIdentity{"S-1-5-21-1004336348-1177238915-682003330-1001", 1}), std::nullopt);
    EXPECT_EQ(Send("stop", PeerIdentity{ana, 2}), std::nullopt);
    EXPECT_EQ(Send("stop", PeerIdentity{"", 1}), std::nullopt);
    EXPECT_EQ(Send("help"), std::nullopt);
    EXPECT_EQ(Send("pause 45"), std::nullopt);
    char stop[] = "stop";
    COPYDATASTRUCT data{42, sizeof stop - 1, stop};
    EXPECT_EQ(SendMessageW(window->Hwnd(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), 0);
    EXPECT_TRUE(g_bRunning);

    EXPECT_EQ(Send("stop")->status.supervising, false);
    EXPECT_EQ(Send("stop")->status.supervising, false) << "a stop when stopped changes nothing";

    SendMessageW(window->Hwnd(), WM_CLOSE, 0, 0);
    ASSERT_FALSE(IsWindowVisible(window->Hwnd()));
    Send("show");
    EXPECT_TRUE(IsWindowVisible(window->Hwnd()));

    // Quit as the menu's: it asks while the break counts down, and saves.
    ASSERT_TRUE(g_bBreakRunning);
    platform.answers = {IDNO};
    EXPECT_EQ(Send("quit")->code, ReplyCode::Done);
    EXPECT_TRUE(IsWindow(window->Hwnd()));
    const int saves = platform.writes["settings.txt"];
    EXPECT_EQ(Send("quit")->code, ReplyCode::Done);
    EXPECT_FALSE(IsWindow(window->Hwnd()));
    EXPECT_EQ(platform.writes["settings.txt"], saves + 1);
    EXPECT_EQ(platform.announcedWindows.back(), nullptr) << "a later start no longer finds the window";
    EXPECT_EQ(platform.channelWindow, nullptr) << "the channel closed once the quit was answered";
}

// A command that comes while Kelvaro starts waits for the end of set-up; if Kelvaro ends first, it
// is answered as not carried out, never as done.
TEST_F(CommandsTest, ACommandDuringStartUpWaitsForItsEnd)
{
    platform.files.erase("settings.txt"); // its box opens during set-up, with a nested message loop
    std::vector<std::optional<std::uint64_t>> answersDuringSetUp;
    platform.whileBoxOpen = [&] {
        platform.CommandArrives("start", platform.ownIdentity);
        PumpMessages();
        answersDuringSetUp = platform.channelAnswers;
    };
    Open();
    EXPECT_TRUE(answersDuringSetUp.empty());
    ASSERT_EQ(platform.channelAnswers.size(), 1u);
    ASSERT_TRUE(platform.channelAnswers[0]);
    const std::optional<CommandReply> reply = DecodeReply(*platform.channelAnswers[0]);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->code, ReplyCode::Done);
    EXPECT_TRUE(reply->status.supervising);
    EXPECT_TRUE(g_bRunning);

    // Quit from the tray while the box of set-up is open: the command waiting is not done.
    platform.files.erase("settings.txt");
    platform.channelAnswers.clear();
    platform.whileBoxOpen = [&] {
        platform.CommandArrives("stop", platform.ownIdentity);
        PumpMessages();
        SendMessageW(platform.channelWindow, WM_COMMAND, ID_TRAY_QUIT, 0);
    };
    window.reset();
    platform.channelClosedWith.reset();
    ResetProgramState();
    window = std::make_unique<CTavrinDlg>(platform, icons);
    EXPECT_FALSE(window->Create(nullptr)) << "ended during set-up";
    PumpMessages();
    EXPECT_TRUE(platform.channelAnswers.empty());
    ASSERT_TRUE(platform.channelClosedWith);
    ASSERT_TRUE(DecodeReply(*platform.channelClosedWith));
    EXPECT_EQ(DecodeReply(*platform.channelClosedWith)->code, ReplyCode::NotDone);
}

TEST_F(CommandsTest, ShortcutsFromTheSettingsDialogPauseResumeAndBreak)
{
    platform.files["settings.txt"] = "STARTTRAY 0 HOTKEY_PAUSE Ctrl+Alt+P STARTPROGRAM true";
    Open();
    ASSERT_TRUE(g_bRunning);
    EXPECT_EQ(platform.registeredShortcuts, (std::map<int, std::string>{{1, "Ctrl+Alt+P"}}));
    EXPECT_EQ(ShortcutText(window->m_settings.pauseShortcut), "Ctrl+Alt+P");

    SendMessageW(window->Hwnd(), WM_HOTKEY, 1, 0);
    EXPECT_NE(platform.trayCalls.back().tip.find("Reminders paused until"), std::string::npos) << "paused";
    SendMessageW(window->Hwnd(), WM_HOTKEY, 1, 0);
    EXPECT_EQ(platform.trayCalls.back().tip.find("paused"), std::string::npos) << "resumed";
    SendMessageW(window->Hwnd(), WM_HOTKEY, 2, 0);
    EXPECT_EQ(g_pForceBreakDlg, nullptr) << "no break shortcut yet";

    // Typed into the hot-key control of the dialog open since before the Start, taken at OK: a key
    // alone becomes Ctrl+Alt and the key.
    window->SettingsDialog()->Show(SW_SHOW);
    TypeInto(IDC_SETTINGS_BREAK_SHORTCUT, 'B');
    Click(window->SettingsDialog()->Hwnd(), IDOK);
    EXPECT_FALSE(window->SettingsDialog()->IsVisible());
    EXPECT_EQ(platform.registeredShortcuts, (std::map<int, std::string>{{1, "Ctrl+Alt+P"}, {2, "Ctrl+Alt+B"}}));
    SendMessageW(window->Hwnd(), WM_HOTKEY, 2, 0);
    ASSERT_NE(g_pForceBreakDlg, nullptr);
    EXPECT_TRUE(g_pForceBreakDlg->IsVisible());

    // Emptied with Backspace, it is given back at Cancel too; Quit saves both.
    window->SettingsDialog()->Show(SW_SHOW);
    TypeInto(IDC_SETTINGS_PAUSE_SHORTCUT, VK_BACK);
    SendMessageW(window->SettingsDialog()->Hwnd(), WM_COMMAND, IDCANCEL, 0);
    PumpMessages();
    EXPECT_EQ(platform.registeredShortcuts, (std::map<int, std::string>{{2, "Ctrl+Alt+B"}}));
    platform.answers = {IDYES}; // the break still counts down
    Click(window->Hwnd(), IDC_MAIN_QUIT);
    EXPECT_TRUE(platform.files["settings.txt"].ends_with("HOTKEY_PAUSE \"\"\r\nHOTKEY_BREAK Ctrl+Alt+B\r\nCOVER_SCREENS 0\r\n"
                                                         "STRICT_BREAKS 0\r\nBEDTIME \"\"\r\nBEDTIME_REMINDER 0\r\nTHEME system\r\n"))
        << platform.files["settings.txt"];
    EXPECT_TRUE(platform.registeredShortcuts.empty());
    EXPECT_EQ(platform.messageBoxes.size(), 1u) << "the question of the break counting down";
}

TEST_F(CommandsTest, AShortcutAnotherProgramHoldsGivesOneBoxAndTheOtherWorks)
{
    platform.files["settings.txt"] = "STARTTRAY 0 HOTKEY_PAUSE Ctrl+Alt+P HOTKEY_BREAK Ctrl+Alt+B";
    platform.shortcutsOfOtherPrograms = {"Ctrl+Alt+P"};
    Open();
    ASSERT_EQ(platform.messageBoxes.size(), 1u);
    EXPECT_EQ(platform.messageBoxes[0].text, "The shortcut Ctrl+Alt+P is used by another program.");
    EXPECT_EQ(platform.messageBoxes[0].caption, "Kelvaro");
    EXPECT_EQ(platform.messageBoxes[0].flags, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(platform.registeredShortcuts, (std::map<int, std::string>{{2, "Ctrl+Alt+B"}}));
    SendMessageW(window->Hwnd(), WM_HOTKEY, 1, 0);
    EXPECT_EQ(platform.trayCalls.back().tip.find("paused"), std::string::npos);

    // Unchanged, it is not tried again at OK; the user keeps the choice in the file.
    Click(window->Hwnd(), IDC_MAIN_MORE_SETTINGS);
    Click(window->SettingsDialog()->Hwnd(), IDOK);
    EXPECT_EQ(platform.messageBoxes.size(), 1u);
    EXPECT_EQ(ShortcutText(window->m_settings.pauseShortcut), "Ctrl+Alt+P");
    // Tried again at Start, now that the other program let go of it.
    platform.shortcutsOfOtherPrograms.clear();
    Click(window->Hwnd(), IDC_MAIN_START_STOP);
    EXPECT_EQ(platform.registeredShortcuts, (std::map<int, std::string>{{1, "Ctrl+Alt+P"}, {2, "Ctrl+Alt+B"}}));
    EXPECT_EQ(platform.messageBoxes.size(), 1u);
}

// The two shortcuts swapped in the dialog: each taken again once Kelvaro let go of both, with no
// box; the same keys for both are refused with a box that names them; hiding the main window
// closes the dialog and takes its shortcuts too.
TEST_F(CommandsTest, ShortcutsSwappedInTheDialogWork)
{
    platform.files["settings.txt"] = "STARTTRAY 0 HOTKEY_PAUSE Ctrl+Alt+P HOTKEY_BREAK Ctrl+Alt+B";
    ResetProgramState();
    window = std::make_unique<CTavrinDlg>(platform, icons);
    ASSERT_TRUE(window->Create(nullptr));
    EXPECT_TRUE(platform.registeredShortcuts.empty()) << "taken once the window runs, not while it is made";
    PumpMessages();
    Click(window->Hwnd(), IDC_MAIN_MORE_SETTINGS);
    TypeInto(IDC_SETTINGS_PAUSE_SHORTCUT, 'B');
    ASSERT_EQ(platform.messageBoxes.size(), 1u);
    EXPECT_EQ(platform.messageBoxes[0].text, "Ctrl+Alt+B is already the shortcut for \"Take a break now\".");
    EXPECT_EQ(ShortcutText(window->m_settings.pauseShortcut), "Ctrl+Alt+P");
    TypeInto(IDC_SETTINGS_BREAK_SHORTCUT, 'X');
    TypeInto(IDC_SETTINGS_PAUSE_SHORTCUT, 'B');
    TypeInto(IDC_SETTINGS_BREAK_SHORTCUT, 'P');
    SendMessageW(window->Hwnd(), WM_CLOSE, 0, 0);
    PumpMessages();
    EXPECT_FALSE(window->SettingsDialog()->IsVisible());
    EXPECT_EQ(platform.registeredShortcuts, (std::map<int, std::string>{{1, "Ctrl+Alt+B"}, {2, "Ctrl+Alt+P"}}));
    EXPECT_EQ(platform.messageBoxes.size(), 1u) << "no other program holds them";
    Click(window->Hwnd(), IDC_MAIN_START_STOP);
    SendMessageW(window->Hwnd(), WM_HOTKEY, 2, 0);
    ASSERT_NE(g_pForceBreakDlg, nullptr);
    EXPECT_TRUE(g_pForceBreakDlg->IsVisible());
}

// A break taken at once covers both monitors as the settings ask, and stands until its time when
// it is strict; its question at Quit comes above the covers. The choice takes effect at once.
TEST_F(CommandsTest, ABreakCoversEveryScreenAndIsStrictAsChosen)
{
    platform.monitors = {{{0, 0, 1024, 768}, {0, 0, 1024, 738}, 96}, {{1024, 0, 1824, 600}, {1024, 0, 1824, 600}, 96}};
    platform.files["settings.txt"] =
        "STARTTRAY 0 HOTKEY_BREAK Ctrl+Alt+B COVER_SCREENS 1 STRICT_BREAKS 1 STARTPROGRAM true";
    Open();
    const auto covers = [] {
        int count = 0;
        for (HWND cover = nullptr; (cover = FindWindowExW(nullptr, cover, CBreakCovers::kWindowClass, nullptr));)
            count += IsWindowVisible(cover) ? 1 : 0;
        return count;
    };
    SendMessageW(window->Hwnd(), WM_HOTKEY, 2, 0);
    ASSERT_NE(g_pForceBreakDlg, nullptr);
    EXPECT_EQ(covers(), 2);
    SendMessageW(g_pForceBreakDlg->Hwnd(), WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(g_pForceBreakDlg->IsVisible()) << "strict: Escape does nothing before the countdown's end";
    platform.answers = {IDNO};
    Click(window->Hwnd(), IDC_MAIN_QUIT);
    ASSERT_EQ(platform.messageBoxes.size(), 1u);
    EXPECT_EQ(platform.messageBoxes[0].flags, static_cast<UINT>(MB_YESNO | MB_ICONSTOP | MB_TOPMOST));

    window->SettingsDialog()->Show(SW_SHOW);
    Click(window->SettingsDialog()->Hwnd(), IDC_SETTINGS_COVER_SCREENS);
    Click(window->SettingsDialog()->Hwnd(), IDC_SETTINGS_STRICT_BREAKS);
    EXPECT_EQ(covers(), 0) << "lifted as the box is unchecked";
    SendMessageW(window->Hwnd(), WM_HOTKEY, 2, 0);
    EXPECT_EQ(covers(), 0);
    SendMessageW(g_pForceBreakDlg->Hwnd(), WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(g_pForceBreakDlg->IsVisible()) << "not strict: Escape hides it as ever";
}

} // namespace
