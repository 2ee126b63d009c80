// The channel between two starts of kelvaro.exe in one folder: the named object through which the
// running one is found, the command handed to its window, and the console a start prints to.
#include "platform/platform_win.h"

#include "platform/text_win.h"

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace {

// What the running Kelvaro announces in its named object. Written once each, as whole aligned words.
struct AnnouncedWindow {
    volatile LONG64 window;
    volatile LONG processId;
};

// A start that finds the object without a window looks again this often, for at most 5 seconds.
constexpr DWORD kLookAgainMs = 50;

std::vector<BYTE> TokenUserOf(HANDLE process)
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &token))
        return {};
    DWORD needed = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &needed);
    std::vector<BYTE> user(needed);
    if (needed == 0 || !GetTokenInformation(token, TokenUser, user.data(), needed, &needed))
        user.clear();
    CloseHandle(token);
    return user;
}

bool Answers(HWND window)
{
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kAnswerWithinMs, &ignored) != 0;
}

// Lines end as Windows text does.
std::string WithWindowsLineEnds(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out + "\r\n";
}

bool WriteToConsole(HANDLE console, const std::string& text)
{
    const std::wstring line = Widen(WithWindowsLineEnds(text));
    DWORD written = 0;
    return WriteConsoleW(console, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) != FALSE;
}

} // namespace

Win32Platform::~Win32Platform()
{
    if (m_pClaimView)
        UnmapViewOfFile(m_pClaimView);
    if (m_hClaim)
        CloseHandle(m_hClaim);
}

std::string Win32Platform::DataFolderIdentity()
{
    std::wstring path;
    // The final path names the folder as the file system has it, whatever short names or links led there.
    HANDLE folder = CreateFileW(L".", FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folder != INVALID_HANDLE_VALUE) {
        const DWORD needed = GetFinalPathNameByHandleW(folder, nullptr, 0, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        path.resize(needed);
        const DWORD length =
            needed ? GetFinalPathNameByHandleW(folder, path.data(), needed, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS) : 0;
        path.resize(length < needed ? length : 0);
        CloseHandle(folder);
    }
    if (path.empty()) {
        const DWORD needed = GetFullPathNameW(L".", 0, nullptr, nullptr);
        path.resize(needed);
        const DWORD length = needed ? GetFullPathNameW(L".", needed, path.data(), nullptr) : 0;
        path.resize(length < needed ? length : 0);
    }
    // Every letter, not only ASCII's: the file system compares names without case.
    if (!path.empty())
        CharLowerBuffW(path.data(), static_cast<DWORD>(path.size()));
    return Narrow(path);
}

KelvaroLookup Win32Platform::LookForKelvaro(const std::string& objectName)
{
    const std::wstring name = Widen(objectName);
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        // Opened afresh each time, so that an object left only by this look goes with the process that made it.
        HANDLE mapping = OpenFileMappingW(FILE_MAP_READ, FALSE, name.c_str());
        if (!mapping)
            return {};
        HWND window = nullptr;
        DWORD processId = 0;
        if (const auto* view = static_cast<const AnnouncedWindow*>(
                MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, sizeof(AnnouncedWindow)))) {
            processId = static_cast<DWORD>(view->processId);
            window = reinterpret_cast<HWND>(static_cast<LONG_PTR>(view->window));
            UnmapViewOfFile(view);
        }
        CloseHandle(mapping);
        // A window of another process may have taken the handle of a window that has gone.
        DWORD owner = 0;
        if (window && GetWindowThreadProcessId(window, &owner) && owner == processId && SameUserSession(processId)) {
            if (Answers(window))
                return {RunningKelvaro::Answering, window};
            return {RunningKelvaro::NotAnswering, nullptr};
        }
        // Starting (no window yet) or ending (its window gone): it has 5 seconds to do either.
        if (GetTickCount64() - start >= kAnswerWithinMs)
            return {RunningKelvaro::NotAnswering, nullptr};
        Sleep(kLookAgainMs);
    }
}

bool Win32Platform::ClaimKelvaro(const std::string& objectName)
{
    HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(AnnouncedWindow),
                                        Widen(objectName).c_str());
    if (!mapping)
        return true;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mapping);
        return false;
    }
    m_hClaim = mapping;
    m_pClaimView = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(AnnouncedWindow));
    return true;
}

void Win32Platform::AnnounceKelvaroWindow(HWND window)
{
    auto* view = static_cast<AnnouncedWindow*>(m_pClaimView);
    if (!view)
        return;
    InterlockedExchange(&view->processId, static_cast<LONG>(GetCurrentProcessId()));
    InterlockedExchange64(&view->window, static_cast<LONG64>(reinterpret_cast<LONG_PTR>(window)));
}

std::optional<std::uint64_t> Win32Platform::SendCommand(HWND window, const std::string& command)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    // The user started this process: the running one may bring its window in front for it.
    AllowSetForegroundWindow(processId);

    // The command is sent from a thread of its own while this one asks, every 5 seconds, whether the
    // window still answers: a command may wait for the user to answer a box, but never for a hung program.
    struct Exchange {
        std::string text;
        HANDLE finished = nullptr;
        std::atomic<LRESULT> result{0};
        ~Exchange() { CloseHandle(finished); }
    };
    auto exchange = std::make_shared<Exchange>();
    exchange->text = command;
    exchange->finished = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!exchange->finished)
        return std::nullopt;
    std::thread sender([exchange, window] {
        COPYDATASTRUCT data{};
        data.dwData = GetCurrentProcessId();
        data.cbData = static_cast<DWORD>(exchange->text.size());
        data.lpData = exchange->text.data();
        exchange->result = SendMessageW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
        SetEvent(exchange->finished);
    });
    while (WaitForSingleObject(exchange->finished, kAnswerWithinMs) == WAIT_TIMEOUT) {
        // A Quit destroys the window once it has answered.
        if (!Answers(window) && WaitForSingleObject(exchange->finished, 0) != WAIT_OBJECT_0) {
            // The thread still waits for the hung window; it ends with this process.
            sender.detach();
            return std::nullopt;
        }
    }
    sender.join();
    return static_cast<std::uint64_t>(exchange->result.load());
}

bool Win32Platform::SameUserSession(std::uint32_t processId)
{
    DWORD theirs = 0;
    DWORD ours = 0;
    if (!ProcessIdToSessionId(processId, &theirs) || !ProcessIdToSessionId(GetCurrentProcessId(), &ours) ||
        theirs != ours)
        return false;
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process)
        return false;
    std::vector<BYTE> theirUser = TokenUserOf(process);
    CloseHandle(process);
    std::vector<BYTE> ourUser = TokenUserOf(GetCurrentProcess());
    return !theirUser.empty() && !ourUser.empty() &&
           EqualSid(reinterpret_cast<TOKEN_USER*>(theirUser.data())->User.Sid,
                    reinterpret_cast<TOKEN_USER*>(ourUser.data())->User.Sid);
}

bool Win32Platform::WriteLine(const std::string& text)
{
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    const DWORD type = out && out != INVALID_HANDLE_VALUE ? GetFileType(out) : FILE_TYPE_UNKNOWN;
    DWORD mode = 0;
    if (type == FILE_TYPE_CHAR && GetConsoleMode(out, &mode))
        return WriteToConsole(out, text);
    // Redirected to a pipe or a file (or to NUL), the line is UTF-8 for the script that reads it.
    if (type == FILE_TYPE_PIPE || type == FILE_TYPE_DISK || type == FILE_TYPE_CHAR) {
        const std::string line = WithWindowsLineEnds(text);
        DWORD written = 0;
        return WriteFile(out, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) != FALSE;
    }
    // A program for the desktop has no console of its own; it writes to its starter's.
    if (m_nConsole == 0)
        m_nConsole = AttachConsole(ATTACH_PARENT_PROCESS) ? 1 : -1;
    if (m_nConsole < 0)
        return false;
    HANDLE console = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
    if (console == INVALID_HANDLE_VALUE)
        return false;
    const bool written = WriteToConsole(console, text);
    CloseHandle(console);
    return written;
}
