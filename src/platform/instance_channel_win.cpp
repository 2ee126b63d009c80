// The channel between two starts of kelvaro.exe in one folder: the named object through which the
// running one is found, the command handed to it through its pipe, and the console a start prints to.
#include "platform/platform_win.h"

#include "platform/command_pipe_win.h"
#include "platform/text_win.h"

namespace {

// What the running Kelvaro announces in its named object. Written once each, as whole aligned words.
struct AnnouncedWindow {
    volatile LONG64 window;
    volatile LONG processId;
};

// A start that finds the object without a window looks again this often, for at most 5 seconds.
constexpr DWORD kLookAgainMs = 50;

bool Answers(HWND window)
{
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kAnswerWithinMs, &ignored) != 0;
}

// Who runs a process, as the system tells it.
PeerIdentity IdentityOf(HANDLE process, DWORD processId)
{
    PeerIdentity identity;
    DWORD session = 0;
    if (ProcessIdToSessionId(processId, &session))
        identity.session = session;
    HANDLE token = nullptr;
    if (OpenProcessToken(process, TOKEN_QUERY, &token)) {
        identity.user = UserOfToken(token);
        CloseHandle(token);
    }
    return identity;
}

bool OfThisUserAndSession(DWORD processId)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process)
        return false;
    const PeerIdentity theirs = IdentityOf(process, processId);
    CloseHandle(process);
    return AcceptsCaller(theirs, IdentityOf(GetCurrentProcess(), GetCurrentProcessId()));
}

// Waits for an overlapped operation of the command's pipe while the window answers.
bool AwaitWhileAnswering(HANDLE pipe, OVERLAPPED& operation, DWORD& bytes, HWND window)
{
    // A command may wait for the user to answer a box, but never for a hung program.
    while (WaitForSingleObject(operation.hEvent, kAnswerWithinMs) == WAIT_TIMEOUT) {
        if (!Answers(window) && WaitForSingleObject(operation.hEvent, 0) != WAIT_OBJECT_0) {
            CancelIoEx(pipe, &operation);
            GetOverlappedResult(pipe, &operation, &bytes, TRUE);
            return false;
        }
    }
    return GetOverlappedResult(pipe, &operation, &bytes, FALSE) != FALSE;
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

// Made where the command channel's type is known, as its end is.
Win32Platform::Win32Platform() = default;

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
        if (window && GetWindowThreadProcessId(window, &owner) && owner == processId && OfThisUserAndSession(processId)) {
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

std::optional<std::uint64_t> Win32Platform::SendCommand(HWND window, const std::string& channelName,
                                                        const std::string& command)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    // The user started this process: the running one may bring its window in front for it.
    AllowSetForegroundWindow(processId);

    const std::wstring name = Widen(channelName);
    HANDLE pipe = INVALID_HANDLE_VALUE;
    for (;;) {
        // Identification is all the running Kelvaro needs of this process: who runs it, not its rights.
        pipe = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_FLAG_OVERLAPPED | SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION, nullptr);
        if (pipe != INVALID_HANDLE_VALUE)
            break;
        // Another start's command is being carried out: this one waits its turn while Kelvaro answers.
        if (GetLastError() != ERROR_PIPE_BUSY || (!WaitNamedPipeW(name.c_str(), kAnswerWithinMs) && !Answers(window)))
            return std::nullopt;
    }
    DWORD mode = PIPE_READMODE_MESSAGE;
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::optional<std::uint64_t> answer;
    if (done && SetNamedPipeHandleState(pipe, &mode, nullptr, nullptr)) {
        OVERLAPPED write{};
        write.hEvent = done;
        DWORD bytes = 0;
        const BOOL written = WriteFile(pipe, command.data(), static_cast<DWORD>(command.size()), nullptr, &write);
        std::uint64_t reply = 0;
        if ((written || GetLastError() == ERROR_IO_PENDING) && AwaitWhileAnswering(pipe, write, bytes, window) &&
            bytes == command.size()) {
            OVERLAPPED read{};
            read.hEvent = done;
            const BOOL got = ReadFile(pipe, &reply, sizeof reply, nullptr, &read);
            if ((got || GetLastError() == ERROR_IO_PENDING) && AwaitWhileAnswering(pipe, read, bytes, window) &&
                bytes == sizeof reply)
                answer = reply;
        }
    }
    if (done)
        CloseHandle(done);
    CloseHandle(pipe);
    return answer;
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

PeerIdentity Win32Platform::OwnIdentity()
{
    return IdentityOf(GetCurrentProcess(), GetCurrentProcessId());
}

bool Win32Platform::OpenCommandChannel(const std::string& name, HWND window, UINT message)
{
    CloseCommandChannel(0);
    m_pCommandPipe = CCommandPipe::Open(Widen(name), window, message);
    return m_pCommandPipe != nullptr;
}

std::optional<ChannelCommand> Win32Platform::TakeChannelCommand()
{
    return m_pCommandPipe ? m_pCommandPipe->Take() : std::nullopt;
}

void Win32Platform::AnswerChannelCommand(std::optional<std::uint64_t> reply)
{
    if (m_pCommandPipe)
        m_pCommandPipe->Answer(reply);
}

void Win32Platform::CloseCommandChannel(std::uint64_t lastAnswer)
{
    if (m_pCommandPipe)
        m_pCommandPipe->Close(lastAnswer);
    m_pCommandPipe.reset();
}
