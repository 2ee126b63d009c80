#pragma once
#include "platform/platform_win.h"

#include <mutex>
#include <thread>

// The SID of a token's user, "S-1-5-21-..."; empty when it can't be read.
std::string UserOfToken(HANDLE token);

// The running Kelvaro's end of the command channel: a named pipe that only its user can open, from
// this computer alone, served by a thread of its own that waits without costing anything. A command
// is read there with what the system tells of its caller, handed to the window, and answered once
// the window has carried it out; the window is never waited for, so the pipe closes at any time.
class CCommandPipe {
public:
    // Nothing when the pipe can't be made, or another program has made it first.
    static std::unique_ptr<CCommandPipe> Open(const std::wstring& name, HWND window, UINT message);
    // Ends the thread; a connected caller without an answer gets `lastAnswer`.
    void Close(std::uint64_t lastAnswer);
    ~CCommandPipe();
    CCommandPipe(const CCommandPipe&) = delete;
    CCommandPipe& operator=(const CCommandPipe&) = delete;

    std::optional<ChannelCommand> Take();
    void Answer(std::optional<std::uint64_t> reply);

private:
    CCommandPipe(HANDLE pipe, HWND window, UINT message);
    void Serve();
    // One caller, from its command to its answer.
    void ServeCaller();
    PeerIdentity Caller() const;
    // Waits for an overlapped operation; false when it failed, the time ran out or (where it may)
    // the pipe is closing, the operation then cancelled.
    bool Await(OVERLAPPED& operation, DWORD& bytes, DWORD timeoutMs, bool endsWithPipe);
    // Writes the answer and waits, a while, for the caller to read it.
    void Write(std::uint64_t answer);

    HANDLE m_hPipe;
    HWND m_hWindow;
    UINT m_nMessage;
    HANDLE m_hClosing;  // set once, by Close
    HANDLE m_hAnswered; // set by Answer
    HANDLE m_hIo;       // the overlapped operations' event
    std::mutex m_mutex;
    // Guarded by m_mutex: the command read and not taken yet, whether one waits for its answer, the
    // answer given, and the answer left for a caller as the pipe closes.
    std::optional<ChannelCommand> m_waiting;
    bool m_bOutstanding = false;
    std::optional<std::optional<std::uint64_t>> m_answer;
    std::uint64_t m_nLastAnswer = 0;
    std::thread m_thread;
};
