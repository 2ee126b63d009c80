#include "kelvaro_driver.h"

#include "platform/text_win.h"
#include "resources/resource_ids.h"

#include <gtest/gtest.h>
#include <shellapi.h>
#include <winternl.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <fstream>
#include <iterator>
#include <mutex>

namespace {

constexpr DWORD kPollMs = 50;
constexpr DWORD kUserMovePeriodMs = 500;
constexpr char kMainCaption[] = "Kelvaro";
// A message box shows its text in a static control of this id.
constexpr DWORD kBoxTextId = 0xFFFF;
// Icon controls of a message box: 20 on Windows, 0x0440 under Wine.
constexpr DWORD kBoxIconIds[] = {20, 0x0440};
constexpr UINT kKilledExitCode = 9;
// A program charged that much processor time while a wait's guard passes is still at work; a program
// at rest is charged a few milliseconds a second.
constexpr double kWorkingCpuMs = 1000;

// The program is the one argument that GoogleTest left alone.
std::filesystem::path ProgramPath()
{
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::wstring program;
    for (int index = 1; index < count; ++index) {
        if (std::wstring_view(arguments[index]).substr(0, 2) != L"--")
            program = arguments[index];
    }
    LocalFree(arguments);
    return ToWindowsPath(Narrow(program));
}

std::string ReadWholeFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM windows)
{
    reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
    return TRUE;
}

std::string ClassName(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return Narrow(name);
}

DWORD ControlId(HWND control)
{
    return static_cast<DWORD>(GetWindowLongPtrW(control, GWLP_ID));
}

// The program's own dialogs share the class and may hold labels numbered 0xFFFF too, but they
// always have controls that a message box never has.
bool IsMessageBox(HWND window)
{
    if (ClassName(window) != "#32770")
        return false;
    std::vector<HWND> children;
    EnumChildWindows(window, CollectWindow, reinterpret_cast<LPARAM>(&children));
    bool hasText = false;
    for (HWND child : children) {
        const DWORD id = ControlId(child);
        const bool isIcon = std::find(std::begin(kBoxIconIds), std::end(kBoxIconIds), id) != std::end(kBoxIconIds);
        const bool isButton = id >= IDOK && id <= IDCONTINUE;
        if (id == kBoxTextId)
            hasText = true;
        else if (!isIcon && !isButton)
            return false;
    }
    return hasText;
}

std::string Describe(const std::string& caption, const std::string& text)
{
    return "\"" + caption + "\": \"" + text + "\"";
}

std::string Describe(const MessageBoxSeen& box)
{
    return Describe(box.caption, box.text);
}

// A caption is kept by the system, so reading it never waits for a busy program.
std::string Caption(HWND window)
{
    wchar_t caption[256] = {};
    GetWindowTextW(window, caption, static_cast<int>(std::size(caption)));
    return Narrow(caption);
}

bool Elapsed(ULONGLONG since, DWORD deadlineMs = KelvaroProcess::kDeadlineMs)
{
    return GetTickCount64() - since >= deadlineMs;
}

} // namespace

std::filesystem::path ToWindowsPath(const std::string& path)
{
    if (path.empty() || path.front() != '/')
        return std::filesystem::path(Widen(path));
    using DosFileName = WCHAR*(CDECL*)(LPCSTR);
    const FARPROC found = GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name");
    if (found) {
        const auto convert = reinterpret_cast<DosFileName>(reinterpret_cast<void (*)()>(found));
        if (WCHAR* dosName = convert(path.c_str())) {
            std::filesystem::path converted(dosName);
            HeapFree(GetProcessHeap(), 0, dosName);
            return converted;
        }
    }
    std::wstring dosName = L"Z:" + Widen(path);
    std::replace(dosName.begin(), dosName.end(), L'/', L'\\');
    return std::filesystem::path(dosName);
}

CommandRun RunKelvaro(const std::filesystem::path& folder, const std::string& arguments)
{
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    CommandRun run;
    if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) {
        ADD_FAILURE() << "no pipe (error " << GetLastError() << ")";
        return run;
    }
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    const std::filesystem::path program = ProgramPath();
    std::wstring commandLine = L"\"" + program.wstring() + L"\" " + Widen(arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        folder.c_str(), &startup, &process);
    CloseHandle(writeEnd);
    if (!started) {
        ADD_FAILURE() << "could not start " << program.string() << " " << arguments << " (error " << GetLastError() << ")";
        CloseHandle(readEnd);
        return run;
    }
    const ULONGLONG start = GetTickCount64();
    for (bool ended = false; !ended;) {
        ended = WaitForSingleObject(process.hProcess, kPollMs) == WAIT_OBJECT_0;
        DWORD available = 0;
        char buffer[4096];
        DWORD got = 0;
        while (PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr) && available > 0 &&
               ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0)
            run.output.append(buffer, got);
        if (!ended && Elapsed(start)) {
            ADD_FAILURE() << "kelvaro.exe " << arguments << " did not end; terminated";
            TerminateProcess(process.hProcess, 1);
            WaitForSingleObject(process.hProcess, KelvaroProcess::kDeadlineMs);
            break;
        }
    }
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    CloseHandle(readEnd);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return run;
}

std::string DefaultCatalogue()
{
    return ReadWholeFile(ToWindowsPath(std::string(KELVARO_SOURCE_DIR) + "/src/messages/standard.txt"));
}

std::string FirstStartSettings()
{
    return "HEALTH_MSG 1\r\nTIMEBREAK_MSG 1\r\nSLEEP_MSG 1\r\nSOUND_ON_MSG 0\r\nSOUND_LONGTIME_WARNING 0\r\n"
           "SHUTDOWN 0\r\nTIMELIMIT 0:0:0\r\nFREQUENCE 0\r\nSTARTTRAY 1\r\nFORCEBREAK 0\r\nFORCEBREAK_WAIT 60\r\n"
           "ONLYSOUND 0\r\nKEYBOARD_LEDS 0\r\nSOUNDMSG_PATH message.wav\r\nSOUNDWARNING_PATH break.wav\r\n"
           "OTHERTIME 120\r\nSTARTPROGRAM true\r\nHOLD_WHEN_BUSY 1\r\nNATURAL_BREAKS 1\r\nWINDOWS_NOTIFICATIONS 0\r\n"
           "EYE_BREAKS 0\r\nEYE_BREAK_MINUTES 20\r\nWORK_HOURS 0\r\nWORK_MON \"09:00-17:00\"\r\n"
           "WORK_TUE \"09:00-17:00\"\r\nWORK_WED \"09:00-17:00\"\r\nWORK_THU \"09:00-17:00\"\r\n"
           "WORK_FRI \"09:00-17:00\"\r\nWORK_SAT \"\"\r\nWORK_SUN \"\"\r\nDAILY_LIMIT 0\r\nDAILY_LIMIT_TIME 8:0:0\r\n"
           "HOTKEY_PAUSE \"\"\r\nHOTKEY_BREAK \"\"\r\nCOVER_SCREENS 0\r\nSTRICT_BREAKS 0\r\nBEDTIME \"\"\r\nBEDTIME_REMINDER 0\r\nTHEME system\r\n";
}

std::string WithSetting(std::string settings, std::string_view key, std::string_view value)
{
    const std::string prefix = std::string(key) + " ";
    std::size_t start = 0;
    if (settings.rfind(prefix, 0) != 0) {
        start = settings.find("\n" + prefix);
        if (start == std::string::npos) {
            ADD_FAILURE() << "no key " << key << " in the settings";
            return settings;
        }
        ++start;
    }
    const std::size_t valueStart = start + prefix.size();
    const std::size_t valueEnd = settings.find_first_of("\r\n", valueStart);
    return settings.replace(valueStart, valueEnd - valueStart, value);
}

DataFiles WithTimeFiles(DataFiles files)
{
    files.try_emplace("activetimelog.txt", "");
    files.try_emplace("timehistory.txt", "HISTORY\r\n");
    return files;
}

KelvaroProcess::KelvaroProcess(const DataFiles& files, const std::function<void(const std::filesystem::path&)>& prepare)
{
    static std::atomic<int> s_nRun{0};
    m_folder = std::filesystem::temp_directory_path() /
               ("kelvaro-e2e-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++s_nRun));
    std::error_code error;
    std::filesystem::remove_all(m_folder, error);
    std::filesystem::create_directories(m_folder);
    for (const auto& [name, bytes] : files) {
        std::ofstream file(m_folder / name, std::ios::binary);
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        EXPECT_TRUE(file.good()) << "could not write " << name << " into " << m_folder.string();
    }
    if (prepare)
        prepare(m_folder);
    Launch();
}

void KelvaroProcess::Launch()
{
    const std::filesystem::path program = ProgramPath();
    std::wstring commandLine = L"\"" + program.wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    // Wine, starved of processors, now and then fails to make a process at all (an internal error
    // before the program runs): that start is tried again, any other failure is the test's.
    constexpr int kTries = 5;
    constexpr DWORD kPauseMs = 1000;
    for (int attempt = 1;; ++attempt) {
        m_launchedAt = GetTickCount64();
        if (CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, m_folder.c_str(),
                           &startup, &m_process))
            return;
        const DWORD error = GetLastError();
        if (error != ERROR_INTERNAL_ERROR || attempt == kTries) {
            ADD_FAILURE() << "could not start " << program.string() << " (error " << error << ")";
            m_process = {};
            return;
        }
        Sleep(kPauseMs);
    }
}

void KelvaroProcess::Restart()
{
    ASSERT_FALSE(Running()) << "the program still runs";
    if (m_process.hProcess) {
        CloseHandle(m_process.hThread);
        CloseHandle(m_process.hProcess);
    }
    m_process = {};
    m_boxesKnown.clear();
    m_boxesAnswered.clear();
    Launch();
}

void KelvaroProcess::Kill()
{
    if (!Running())
        return;
    EXPECT_TRUE(TerminateProcess(m_process.hProcess, kKilledExitCode)) << "error " << GetLastError();
    EXPECT_EQ(WaitForSingleObject(m_process.hProcess, kDeadlineMs), WAIT_OBJECT_0) << "the killed program lives on";
}

double KelvaroProcess::CpuMs() const
{
    // Wine's GetProcessTimes does not see another process's time; the system's process list,
    // which it reads from the host's own accounting, does.
    using QuerySystem = LONG(NTAPI*)(SYSTEM_INFORMATION_CLASS, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<QuerySystem>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    std::vector<char> list(1 << 20);
    ULONG length = 0;
    if (!m_process.hProcess || !query ||
        query(SystemProcessInformation, list.data(), static_cast<ULONG>(list.size()), &length) != 0)
        return 0;
    for (std::size_t offset = 0;;) {
        const auto* entry = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(list.data() + offset);
        // In 100 ns.
        if (reinterpret_cast<ULONG_PTR>(entry->UniqueProcessId) == m_process.dwProcessId)
            return static_cast<double>(entry->UserTime.QuadPart + entry->KernelTime.QuadPart) / 10000;
        if (entry->NextEntryOffset == 0)
            return 0;
        offset += entry->NextEntryOffset;
    }
}

KelvaroProcess::~KelvaroProcess()
{
    if (Running())
        Quit();
    if (m_process.hProcess) {
        CloseHandle(m_process.hThread);
        CloseHandle(m_process.hProcess);
    }
    std::error_code error;
    std::filesystem::remove_all(m_folder, error);
}

bool KelvaroProcess::Running() const
{
    return m_process.hProcess && WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT;
}

DWORD KelvaroProcess::ExitCode() const
{
    DWORD code = STILL_ACTIVE;
    if (m_process.hProcess)
        GetExitCodeProcess(m_process.hProcess, &code);
    return code;
}

std::vector<HWND> KelvaroProcess::ProcessWindows() const
{
    std::vector<HWND> all;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&all));
    std::vector<HWND> ours;
    for (HWND window : all) {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        if (processId == m_process.dwProcessId)
            ours.push_back(window);
    }
    return ours;
}

std::string KelvaroProcess::DescribeWindows() const
{
    std::string described;
    for (HWND window : ProcessWindows()) {
        std::vector<HWND> children;
        EnumChildWindows(window, CollectWindow, reinterpret_cast<LPARAM>(&children));
        described += "\n  " + ClassName(window) + " \"" + Caption(window) + "\"" +
                     (IsVisible(window) ? " shown" : " hidden") + (IsWindowEnabled(window) ? "" : " disabled") +
                     (IsMessageBox(window) ? " message box" : "") + ", " + std::to_string(children.size()) + " controls";
    }
    return described;
}

HWND KelvaroProcess::FindWindowByCaption(const std::string& caption)
{
    for (HWND window : ProcessWindows()) {
        if (!IsMessageBox(window) && Caption(window) == caption)
            return window;
    }
    return nullptr;
}

HWND KelvaroProcess::WaitForWindow(const std::string& caption)
{
    HWND found = nullptr;
    if (!WaitUntil([&] { return (found = FindWindowByCaption(caption)) != nullptr; }, "the window \"" + caption + "\""))
        return nullptr;
    // The window exists before its controls do; once the thread takes messages again they are all there.
    return Sync(found) ? found : nullptr;
}

void KelvaroProcess::Click(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    if (!control) {
        ADD_FAILURE() << "no control " << id << " to click";
        return;
    }
    EXPECT_TRUE(IsWindowEnabled(control)) << "a user can't click the disabled control " << id;
    Post(control, BM_CLICK, 0, 0);
}

void KelvaroProcess::Command(HWND window, int id)
{
    Post(window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

void KelvaroProcess::Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    EXPECT_TRUE(PostMessageW(window, message, wParam, lParam)) << "could not post message " << message;
}

bool KelvaroProcess::Sync(HWND window)
{
    DWORD_PTR result = 0;
    const bool answered = SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kDeadlineMs, &result) != 0;
    EXPECT_TRUE(answered) << "the program took no message for " << kDeadlineMs << " ms";
    return answered;
}

std::string KelvaroProcess::Text(HWND window)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, kDeadlineMs, &length))
        return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_NORMAL,
                             kDeadlineMs, &copied))
        return {};
    text.resize(std::min<std::size_t>(copied, length));
    return Narrow(text);
}

std::string KelvaroProcess::ItemText(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    EXPECT_NE(control, nullptr) << "no control " << id;
    return control ? Text(control) : std::string();
}

void KelvaroProcess::SetItemText(HWND dialog, int id, const std::string& text)
{
    HWND control = GetDlgItem(dialog, id);
    ASSERT_NE(control, nullptr) << "no control " << id;
    const std::wstring wide = Widen(text);
    DWORD_PTR done = 0;
    EXPECT_TRUE(SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()), SMTO_NORMAL,
                                    kDeadlineMs, &done))
        << "typing into control " << id;
}

bool KelvaroProcess::IsChecked(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    EXPECT_NE(control, nullptr) << "no control " << id;
    DWORD_PTR state = BST_UNCHECKED;
    return control && SendMessageTimeoutW(control, BM_GETCHECK, 0, 0, SMTO_NORMAL, kDeadlineMs, &state) &&
           state == BST_CHECKED;
}

bool KelvaroProcess::IsEnabled(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    EXPECT_NE(control, nullptr) << "no control " << id;
    return control && IsWindowEnabled(control);
}

bool KelvaroProcess::WaitUntil(const std::function<bool()>& condition, const std::string& what, DWORD deadlineMs)
{
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        if (condition())
            return true;
        if (const std::vector<HWND> boxes = UnansweredBoxes();
            !boxes.empty() && !AnswerStray(boxes.front(), "while waiting for " + what))
            return false;
        if (!Running()) {
            ADD_FAILURE() << "kelvaro.exe ended (code " << ExitCode() << ") while waiting for " << what;
            return false;
        }
        if (Elapsed(start, deadlineMs)) {
            ADD_FAILURE() << "gave up waiting for " << what << " after " << deadlineMs << " ms";
            return false;
        }
        Sleep(kPollMs);
    }
}

std::vector<HWND> KelvaroProcess::UnansweredBoxes()
{
    std::erase_if(m_boxesKnown, [](const auto& known) { return !IsWindow(known.first); });
    std::erase_if(m_boxesAnswered, [](HWND box) { return !IsWindow(box); });
    std::vector<HWND> boxes;
    for (HWND window : ProcessWindows()) {
        // A box shows once it holds its text; before, it may be caught half made.
        if (m_boxesAnswered.contains(window) || !IsVisible(window) || !IsMessageBox(window))
            continue;
        if (!m_boxesKnown.contains(window)) {
            MessageBoxSeen seen{Caption(window), ItemText(window, static_cast<int>(kBoxTextId)),
                                (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0};
            m_boxesKnown[window] = seen;
            m_boxesSeen.push_back(seen);
        }
        boxes.push_back(window);
    }
    return boxes;
}

void KelvaroProcess::Answer(HWND box, int button)
{
    m_boxesAnswered.insert(box);
    // A box goes with its owner, which the program may end meanwhile.
    if (!PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0)) {
        EXPECT_FALSE(IsWindow(box)) << "could not answer the box " << Describe(m_boxesKnown[box]);
        return;
    }
    const ULONGLONG start = GetTickCount64();
    while (IsWindow(box)) {
        if (Elapsed(start)) {
            ADD_FAILURE() << "the box " << Describe(m_boxesKnown[box]) << " stayed open after answer " << button;
            return;
        }
        Sleep(kPollMs);
    }
}

bool KelvaroProcess::AnswerStray(HWND box, const std::string& when)
{
    const bool accepted = m_accepted && m_accepted(m_boxesKnown[box]) && GetDlgItem(box, IDOK);
    if (accepted)
        ++m_nBoxesAccepted;
    else
        ADD_FAILURE() << "unexpected message box " << when << ": " << Describe(m_boxesKnown[box]);
    const int button = GetDlgItem(box, IDOK) ? IDOK : GetDlgItem(box, IDNO) ? IDNO : IDCANCEL;
    Answer(box, button);
    return accepted;
}

std::optional<MessageBoxSeen> KelvaroProcess::AnswerNextBox(int button)
{
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        if (const std::vector<HWND> boxes = UnansweredBoxes(); !boxes.empty()) {
            const MessageBoxSeen seen = m_boxesKnown[boxes.front()];
            Answer(boxes.front(), button);
            return seen;
        }
        if (!Running()) {
            ADD_FAILURE() << "kelvaro.exe ended (code " << ExitCode() << ") while a message box was awaited";
            return std::nullopt;
        }
        if (Elapsed(start)) {
            ADD_FAILURE() << "no message box came within " << kDeadlineMs << " ms";
            return std::nullopt;
        }
        Sleep(kPollMs);
    }
}

std::optional<MessageBoxSeen> KelvaroProcess::ExpectBox(const std::string& caption, const std::string& text, int button)
{
    std::optional<MessageBoxSeen> seen = AnswerNextBox(button);
    if (!seen)
        ADD_FAILURE() << "expected the message box " << Describe(caption, text);
    else if (seen->caption != caption || seen->text != text)
        ADD_FAILURE() << "expected the message box " << Describe(caption, text) << "\n but saw " << Describe(*seen);
    return seen;
}

void KelvaroProcess::ExpectNoOpenBox(const std::string& when)
{
    for (HWND box : UnansweredBoxes())
        AnswerStray(box, when);
}

UserAtWork::UserAtWork()
    : m_thread([](std::stop_token stop) {
          std::mutex mutex;
          std::condition_variable_any wake;
          std::unique_lock lock(mutex);
          while (!stop.stop_requested()) {
              KelvaroProcess::MoveMouse();
              wake.wait_for(lock, stop, std::chrono::milliseconds(kUserMovePeriodMs), [] { return false; });
          }
      })
{
}

void KelvaroProcess::MoveMouse()
{
    INPUT moves[2] = {};
    moves[0].type = INPUT_MOUSE;
    moves[0].mi.dx = 1;
    moves[0].mi.dwFlags = MOUSEEVENTF_MOVE;
    moves[1] = moves[0];
    moves[1].mi.dx = -1;
    EXPECT_EQ(SendInput(2, moves, sizeof(INPUT)), 2u) << "the system refused the simulated input";
}

std::optional<std::string> KelvaroProcess::ReadFile(const std::string& name) const
{
    if (!std::filesystem::exists(m_folder / name))
        return std::nullopt;
    return ReadWholeFile(m_folder / name);
}

bool KelvaroProcess::WaitForExit()
{
    if (!m_process.hProcess)
        return true;
    return WaitForSingleObject(m_process.hProcess, kDeadlineMs) == WAIT_OBJECT_0;
}

void KelvaroProcess::Quit()
{
    if (!Running())
        return;
    ExpectNoOpenBox("still open at the end");
    HWND main = FindWindowByCaption(kMainCaption);
    if (!main)
        ADD_FAILURE() << "no main window to quit from";
    else if (IsVisible(main))
        Click(main, IDC_MAIN_QUIT);
    else
        // From the tray, as a user quits a program that started there: its menu is answered from the
        // start, while the window's buttons are not until the window's initialisation has ended.
        Command(main, ID_TRAY_QUIT);

    // A quit that saves files of megabytes, or tells of several failed saves, takes a while on a
    // busy machine: each box answered and each second of processor time charged is progress.
    ULONGLONG progressAt = GetTickCount64();
    double progressCpuMs = CpuMs();
    while (main && Running()) {
        for (HWND box : UnansweredBoxes()) {
            AnswerStray(box, "while quitting");
            progressAt = GetTickCount64();
        }
        if (Elapsed(progressAt)) {
            if (CpuMs() - progressCpuMs < kWorkingCpuMs)
                break;
            progressAt = GetTickCount64();
            progressCpuMs = CpuMs();
        }
        WaitForSingleObject(m_process.hProcess, kPollMs);
    }
    if (Running()) {
        ADD_FAILURE() << "kelvaro.exe did not end; terminated. Its windows:" << DescribeWindows();
        TerminateProcess(m_process.hProcess, 1);
        WaitForSingleObject(m_process.hProcess, kDeadlineMs);
        return;
    }
    EXPECT_EQ(ExitCode(), 0u) << "kelvaro.exe ended with an error";
}
