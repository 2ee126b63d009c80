// The command channel as the system makes it: a named pipe between the running Kelvaro and a later
// start, here two platforms of one process, the start on a thread of its own.
#include "app/single_instance.h"
#include "platform/platform_win.h"

#include <aclapi.h>
#include <gtest/gtest.h>

#include <thread>

namespace {

constexpr UINT kCommandWaits = WM_APP + 7;
// Only a hang takes this long.
constexpr ULONGLONG kHangGuardMs = 120000;

class CommandChannelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        name = CommandChannelName("c:\\kelvaro-channel-test-" + std::to_string(GetCurrentProcessId()),
                                  running.OwnIdentity().session.value_or(0));
        ASSERT_TRUE(running.OpenCommandChannel(name, window, kCommandWaits));
    }
    void TearDown() override
    {
        running.CloseCommandChannel(0);
        DestroyWindow(window);
    }

    // A later start hands its command over, on a thread of its own.
    void Start(const std::string& command)
    {
        starting = std::thread([this, command] { reply = start.SendCommand(window, name, command); });
    }
    std::optional<std::uint64_t> Ended()
    {
        starting.join();
        return reply;
    }
    // Runs this thread's messages until the channel tells the window of a command.
    bool CommandWaits()
    {
        const ULONGLONG begun = GetTickCount64();
        for (;;) {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (message.message == kCommandWaits)
                    return true;
                DispatchMessageW(&message);
            }
            if (GetTickCount64() - begun > kHangGuardMs)
                return false;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 1000, QS_ALLINPUT);
        }
    }

    Win32Platform running;
    Win32Platform start;
    HWND window = nullptr;
    std::string name;
    std::thread starting;
    std::optional<std::uint64_t> reply;
};

TEST_F(CommandChannelTest, ACommandGoesThroughWithItsCallerToldByTheSystem)
{
    const PeerIdentity self = running.OwnIdentity();
    ASSERT_FALSE(self.user.empty());
    ASSERT_TRUE(self.session);
    const std::uint64_t answer = EncodeReply({ReplyCode::Done, {true, 5000, 9 * 60}});
    Start("pause 30");
    ASSERT_TRUE(CommandWaits());
    const std::optional<ChannelCommand> command = running.TakeChannelCommand();
    ASSERT_TRUE(command);
    EXPECT_EQ(command->command, "pause 30");
    EXPECT_EQ(command->caller, self);
    EXPECT_TRUE(AcceptsCaller(command->caller, self));
    EXPECT_FALSE(running.TakeChannelCommand()) << "taken once";
    running.AnswerChannelCommand(answer);
    EXPECT_EQ(Ended(), answer);

    // The next start is served as well; hung up on, it hears nothing.
    Start("status");
    ASSERT_TRUE(CommandWaits());
    ASSERT_TRUE(running.TakeChannelCommand());
    running.AnswerChannelCommand(std::nullopt);
    EXPECT_EQ(Ended(), std::nullopt);

    // A message longer than any command reaches no window.
    Start(std::string(100, 'x'));
    EXPECT_EQ(Ended(), std::nullopt);
    EXPECT_FALSE(running.TakeChannelCommand());

    // Closed while a command waits for its answer, the channel gives the one it closes with.
    const std::uint64_t notDone = EncodeReply({ReplyCode::NotDone, {}});
    Start("break");
    ASSERT_TRUE(CommandWaits());
    running.CloseCommandChannel(notDone);
    EXPECT_EQ(Ended(), notDone);
    Start("break");
    EXPECT_EQ(Ended(), std::nullopt) << "no channel any more";
}

TEST_F(CommandChannelTest, OnlyThisUserMayOpenThePipeAndNobodyMakesItTwice)
{
    Win32Platform other;
    EXPECT_FALSE(other.OpenCommandChannel(name, window, kCommandWaits));

    HANDLE pipe = CreateFileW(std::wstring(name.begin(), name.end()).c_str(), READ_CONTROL, 0, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    ASSERT_NE(pipe, INVALID_HANDLE_VALUE) << GetLastError();
    PACL access = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_EQ(GetSecurityInfo(pipe, SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &access, nullptr,
                              &descriptor),
              static_cast<DWORD>(ERROR_SUCCESS));
    CloseHandle(pipe);
    ASSERT_NE(access, nullptr);
    ASSERT_EQ(access->AceCount, 1);
    void* entry = nullptr;
    ASSERT_TRUE(GetAce(access, 0, &entry));
    const auto* allowed = static_cast<const ACCESS_ALLOWED_ACE*>(entry);
    EXPECT_EQ(allowed->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
    HANDLE token = nullptr;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
    BYTE user[SECURITY_MAX_SID_SIZE + sizeof(TOKEN_USER)];
    DWORD length = 0;
    ASSERT_TRUE(GetTokenInformation(token, TokenUser, user, sizeof user, &length));
    CloseHandle(token);
    EXPECT_TRUE(EqualSid(const_cast<DWORD*>(&allowed->SidStart), reinterpret_cast<TOKEN_USER*>(user)->User.Sid));
    LocalFree(descriptor);
}

} // namespace
