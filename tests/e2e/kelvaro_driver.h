#pragma once
#include <windows.h>

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

// What a message box of the program said.
struct MessageBoxSeen {
    std::string caption;
    std::string text;
    bool topmost = false;
};

// The data files of a scratch folder: name -> exact bytes.
using DataFiles = std::map<std::string, std::string>;

// A path as Windows programs name it; CTest and the build hand over Unix paths, which Wine maps to a drive.
std::filesystem::path ToWindowsPath(const std::string& path);

// The catalogue that ships beside the program.
std::string DefaultCatalogue();
// settings.txt as the very first start writes it, CR LF line ends.
std::string FirstStartSettings();
// The same settings with one key's value replaced.
std::string WithSetting(std::string settings, std::string_view key, std::string_view value);
// The files plus the two time files that any earlier run leaves behind (here with no count and no
// day in them), so that the program has nothing to report at start.
DataFiles WithTimeFiles(DataFiles files);

// What a start of kelvaro.exe with a command line printed to its standard output, and its exit code.
struct CommandRun {
    DWORD exitCode = STILL_ACTIVE;
    std::string output;
};
// Starts kelvaro.exe with the arguments in a folder, its standard output a pipe as a script reads
// it, and waits for its end.
CommandRun RunKelvaro(const std::filesystem::path& folder, const std::string& arguments);

// One kelvaro.exe, driven from outside the way a user would drive it: it runs in a scratch folder of
// its own, its windows are found by caption, clicks are posted (so a message box never blocks the
// driver), and every message box is recorded and answered. Failures are reported to GoogleTest.
class KelvaroProcess {
public:
    // Every wait's guard: it only catches a hang, so it is sized for a machine whose processors are
    // busy with other work, where starting Wine and the program alone can take half a minute.
    static constexpr DWORD kDeadlineMs = 120000;

    // Writes the files into a fresh folder under the temp folder, lets `prepare` change that folder
    // (links, folders, attributes), then starts the program there.
    explicit KelvaroProcess(const DataFiles& files,
                            const std::function<void(const std::filesystem::path&)>& prepare = {});
    // Quits the program if it still runs, then removes the folder.
    ~KelvaroProcess();
    KelvaroProcess(const KelvaroProcess&) = delete;
    KelvaroProcess& operator=(const KelvaroProcess&) = delete;

    // A top-level window of the process with this caption that is not a message box, or null.
    HWND FindWindowByCaption(const std::string& caption);
    // Waits for that window, hidden or not, with all its controls; null (and a failure) at the deadline.
    HWND WaitForWindow(const std::string& caption);
    // The main window, "Kelvaro".
    HWND MainWindow() { return WaitForWindow("Kelvaro"); }

    // Clicks a control as the mouse does (BM_CLICK, posted): a check box toggles, then the owner is told.
    void Click(HWND dialog, int id);
    // Posts a command to a window, as a menu or a key would send it.
    void Command(HWND window, int id);
    void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Returns once the program's user-interface thread takes messages again: work it had already
    // begun has finished or opened a message box. A posted message it has not taken yet may still be pending.
    bool Sync(HWND window);

    std::string Text(HWND window);
    std::string ItemText(HWND dialog, int id);
    // Replaces an edit field's text as typing would.
    void SetItemText(HWND dialog, int id, const std::string& text);
    bool IsChecked(HWND dialog, int id);
    bool IsEnabled(HWND dialog, int id);
    static bool IsVisible(HWND window) { return IsWindowVisible(window) != FALSE; }

    // Polls until the condition holds. Fails, naming what was awaited, at the deadline or when a
    // message box blocks the program meanwhile (that box is recorded and answered).
    bool WaitUntil(const std::function<bool()>& condition, const std::string& what,
                   DWORD deadlineMs = kDeadlineMs);

    // Waits for the next message box, records it and answers it with IDOK, IDYES or IDNO.
    std::optional<MessageBoxSeen> AnswerNextBox(int button);
    // The same, failing clearly unless the box is exactly this one.
    std::optional<MessageBoxSeen> ExpectBox(const std::string& caption, const std::string& text, int button);
    // Every box seen so far, in order.
    const std::vector<MessageBoxSeen>& BoxesSeen() const { return m_boxesSeen; }
    // Fails for each message box still open, and answers it.
    void ExpectNoOpenBox(const std::string& when);

    // Input as a user's: the system's last-input time moves on.
    static void MoveMouse();

    const std::filesystem::path& Folder() const { return m_folder; }
    // The bytes of a file of the scratch folder, or nothing when it does not exist.
    std::optional<std::string> ReadFile(const std::string& name) const;

    // Clicks Quit, or chooses it in the tray menu when the window is hidden, and waits for the end,
    // answering the boxes accepted meanwhile. A box still open, a process that must be terminated
    // or a non-zero exit code is a failure.
    void Quit();
    // Waits for the process to end by itself; false at the deadline.
    bool WaitForExit();
    bool Running() const;
    DWORD ExitCode() const;
    // Ends the process at once, as a crash or a power cut would.
    void Kill();
    // Starts the program again in the same folder once the last one has ended.
    void Restart();
    // A later start of the program in the same folder, with a command line.
    CommandRun RunCommand(const std::string& arguments) const { return RunKelvaro(m_folder, arguments); }
    // Processor time the process has used so far, user and kernel together.
    double CpuMs() const;
    ULONGLONG MsSinceLaunch() const { return GetTickCount64() - m_launchedAt; }

    // Message boxes that the test provokes on purpose: wherever the driver meets one that this
    // accepts, it answers it with OK and counts it instead of failing.
    void AcceptBoxes(std::function<bool(const MessageBoxSeen&)> accepted) { m_accepted = std::move(accepted); }
    int BoxesAccepted() const { return m_nBoxesAccepted; }

private:
    std::vector<HWND> ProcessWindows() const;
    // Each window of the process, one a line, for a failure message.
    std::string DescribeWindows() const;
    // Message boxes shown and not answered yet; each is recorded the first time it is seen.
    std::vector<HWND> UnansweredBoxes();
    void Answer(HWND box, int button);
    // Answers a box nobody waited for; true when it was one of the accepted ones.
    bool AnswerStray(HWND box, const std::string& when);
    void Launch();

    std::filesystem::path m_folder;
    PROCESS_INFORMATION m_process{};
    ULONGLONG m_launchedAt = 0;
    std::map<HWND, MessageBoxSeen> m_boxesKnown;
    std::set<HWND> m_boxesAnswered;
    std::vector<MessageBoxSeen> m_boxesSeen;
    std::function<bool(const MessageBoxSeen&)> m_accepted;
    int m_nBoxesAccepted = 0;
};

// A user busy at the computer: while it lives the mouse moves twice a second, so the system never
// sees the session idle.
class UserAtWork {
public:
    UserAtWork();

private:
    std::jthread m_thread;
};
