#include "platform/command_pipe_win.h"

#include "platform/text_win.h"

#include <sddl.h>

#include <cstring>
#include <utility>
#include <vector>

namespace {

// The longest command's text, with room to spare; a longer message is no command.
constexpr DWORD kLongestCommand = 64;
constexpr DWORD kAnswerBytes = sizeof(std::uint64_t);

bool Started(BOOL done)
{
    return done || GetLastError() == ERROR_IO_PENDING;
}

} // namespace

std::string UserOfToken(HANDLE token)
{
    DWORD needed = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &needed);
    std::vector<BYTE> user(needed);
    if (needed == 0 || !GetTokenInformation(token, TokenUser, user.data(), needed, &needed))
        return {};
    LPWSTR text = nullptr;
    if (!ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid, &text))
        return {};
    std::string sid = Narrow(text);
    LocalFree(text);
    return sid;
}

std::unique_ptr<CCommandPipe> CCommandPipe::Open(const std::wstring& name, HWND window, UINT message)
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return nullptr;
    const std::string user = UserOfToken(token);
    CloseHandle(token);
    if (user.empty())
        return nullptr;
    // Only this user may open the pipe, and nobody inherits another right to it.
    const std::wstring access = L"D:P(A;;GA;;;" + Widen(user) + L")";
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(access.c_str(), SDDL_REVISION_1, &descriptor, nullptr))
        return nullptr;
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
    // One instance, made first by this process: a program that made the name before gets no command of ours.
    HANDLE pipe = CreateNamedPipeW(name.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
                                   PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS,
                                   1, kAnswerBytes, kLongestCommand, 0, &attributes);
    LocalFree(descriptor);
    if (pipe == INVALID_HANDLE_VALUE)
        return nullptr;
    std::unique_ptr<CCommandPipe> channel(new CCommandPipe(pipe, window, message));
    if (!channel->m_hClosing || !channel->m_hAnswered || !channel->m_hIo)
        return nullptr;
    channel->m_thread = std::thread([raw = channel.get()] { raw->Serve(); });
    return channel;
}

CCommandPipe::CCommandPipe(HANDLE pipe, HWND window, UINT message)
    : m_hPipe(pipe), m_hWindow(window), m_nMessage(message), m_hClosing(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      m_hAnswered(CreateEventW(nullptr, FALSE, FALSE, nullptr)), m_hIo(CreateEventW(nullptr, TRUE, FALSE, nullptr))
{
}

void CCommandPipe::Close(std::uint64_t lastAnswer)
{
    {
        const std::lock_guard lock(m_mutex);
        m_nLastAnswer = lastAnswer;
    }
    if (m_hClosing)
        SetEvent(m_hClosing);
    if (m_thread.joinable())
        m_thread.join();
}

CCommandPipe::~CCommandPipe()
{
    Close(0);
    for (HANDLE handle : {m_hClosing, m_hAnswered, m_hIo}) {
        if (handle)
            CloseHandle(handle);
    }
    CloseHandle(m_hPipe);
}

std::optional<ChannelCommand> CCommandPipe::Take()
{
    const std::lock_guard lock(m_mutex);
    return std::exchange(m_waiting, std::nullopt);
}

void CCommandPipe::Answer(std::optional<std::uint64_t> reply)
{
    const std::lock_guard lock(m_mutex);
    if (!m_bOutstanding || m_answer)
        return;
    m_answer = reply;
    SetEvent(m_hAnswered);
}

void CCommandPipe::Serve()
{
    for (;;) {
        OVERLAPPED connect{};
        connect.hEvent = m_hIo;
        DWORD bytes = 0;
        const BOOL done = ConnectNamedPipe(m_hPipe, &connect);
        const DWORD error = done ? ERROR_SUCCESS : GetLastError();
        if (error == ERROR_PIPE_CONNECTED || (error == ERROR_IO_PENDING && Await(connect, bytes, INFINITE, true)))
            ServeCaller();
        else if (error != ERROR_NO_DATA && error != ERROR_IO_PENDING)
            return; // the pipe is broken for good: no busy loop on it
        DisconnectNamedPipe(m_hPipe);
        if (WaitForSingleObject(m_hClosing, 0) == WAIT_OBJECT_0)
            return;
    }
}

void CCommandPipe::ServeCaller()
{
    char command[kLongestCommand];
    OVERLAPPED read{};
    read.hEvent = m_hIo;
    DWORD length = 0;
    if (!Started(ReadFile(m_hPipe, command, sizeof command, nullptr, &read)) ||
        !Await(read, length, kAnswerWithinMs, true)) {
        // A caller that came as the pipe closes is told so; any other that sent nothing, or too much, is hung up on.
        if (WaitForSingleObject(m_hClosing, 0) == WAIT_OBJECT_0) {
            std::uint64_t lastAnswer = 0;
            {
                const std::lock_guard lock(m_mutex);
                lastAnswer = m_nLastAnswer;
            }
            Write(lastAnswer);
        }
        return;
    }
    const PeerIdentity caller = Caller();
    {
        const std::lock_guard lock(m_mutex);
        m_waiting = ChannelCommand{std::string(command, length), caller};
        m_answer.reset();
        m_bOutstanding = true;
    }
    PostMessageW(m_hWindow, m_nMessage, 0, 0);
    // An answer given as the pipe closes still goes out: the first handle wins.
    const HANDLE events[] = {m_hAnswered, m_hClosing};
    WaitForMultipleObjects(2, events, FALSE, INFINITE);
    std::optional<std::uint64_t> answer;
    {
        const std::lock_guard lock(m_mutex);
        answer = m_answer ? *m_answer : std::optional<std::uint64_t>(m_nLastAnswer);
        m_waiting.reset();
        m_bOutstanding = false;
    }
    if (answer)
        Write(*answer);
}

PeerIdentity CCommandPipe::Caller() const
{
    PeerIdentity caller;
    ULONG session = 0;
    if (GetNamedPipeClientSessionId(m_hPipe, &session))
        caller.session = session;
    // The caller's own token tells its user; the caller can't name another.
    if (ImpersonateNamedPipeClient(m_hPipe)) {
        HANDLE token = nullptr;
        if (OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &token)) {
            caller.user = UserOfToken(token);
            CloseHandle(token);
        }
        if (!RevertToSelf())
            caller.user.clear();
    }
    return caller;
}

bool CCommandPipe::Await(OVERLAPPED& operation, DWORD& bytes, DWORD timeoutMs, bool endsWithPipe)
{
    const HANDLE events[] = {operation.hEvent, m_hClosing};
    if (WaitForMultipleObjects(endsWithPipe ? 2 : 1, events, FALSE, timeoutMs) == WAIT_OBJECT_0)
        return GetOverlappedResult(m_hPipe, &operation, &bytes, FALSE) != FALSE;
    CancelIoEx(m_hPipe, &operation);
    GetOverlappedResult(m_hPipe, &operation, &bytes, TRUE);
    return false;
}

void CCommandPipe::Write(std::uint64_t answer)
{
    unsigned char bytes[kAnswerBytes];
    std::memcpy(bytes, &answer, sizeof bytes);
    OVERLAPPED write{};
    write.hEvent = m_hIo;
    DWORD written = 0;
    if (!Started(WriteFile(m_hPipe, bytes, sizeof bytes, nullptr, &write)) ||
        !Await(write, written, kAnswerWithinMs, false))
        return;
    // An answer not read yet goes with the connection: the caller hangs up once it has read it.
    char rest = 0;
    OVERLAPPED hangUp{};
    hangUp.hEvent = m_hIo;
    DWORD ignored = 0;
    if (Started(ReadFile(m_hPipe, &rest, sizeof rest, nullptr, &hangUp)))
        Await(hangUp, ignored, kAnswerWithinMs, false);
}
