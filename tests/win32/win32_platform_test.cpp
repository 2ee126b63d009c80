#include "platform/platform_win.h"
#include "platform/text_win.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

// Runs each test in a scratch folder of its own, since the program works in its current directory.
class Win32PlatformTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous = std::filesystem::current_path();
        folder = std::filesystem::temp_directory_path() /
                 ("kelvaro-platform-" + std::to_string(GetCurrentProcessId()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder);
        std::filesystem::current_path(folder);
    }
    void TearDown() override
    {
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(folder);
    }
    size_t FilesInFolder() const
    {
        return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
    }

    Win32Platform platform;
    std::filesystem::path previous;
    std::filesystem::path folder;
};

TEST_F(Win32PlatformTest, ReplacingAFileKeepsItsBytesAndLeavesNothingBehind)
{
    EXPECT_FALSE(platform.ReadWholeFile("settings.txt"));
    const std::string first = "HEALTH_MSG 1\r\nSTARTPROGRAM true\r\n";
    ASSERT_TRUE(platform.ReplaceWholeFile("settings.txt", first));
    EXPECT_EQ(platform.ReadWholeFile("settings.txt"), first);

    std::string binary(200000, '\0');
    for (size_t i = 0; i < binary.size(); ++i)
        binary[i] = static_cast<char>(i * 7);
    ASSERT_TRUE(platform.ReplaceWholeFile("settings.txt", binary));
    EXPECT_EQ(platform.ReadWholeFile("settings.txt"), binary);
    ASSERT_TRUE(platform.ReplaceWholeFile("settings.txt", ""));
    EXPECT_EQ(platform.ReadWholeFile("settings.txt"), "");
    EXPECT_EQ(FilesInFolder(), 1u);
}

TEST_F(Win32PlatformTest, AFileThatCantBeWrittenKeepsItsOldContent)
{
    ASSERT_TRUE(platform.ReplaceWholeFile("timehistory.txt", "HISTORY\r\n2006-3-4 = 5:12:0\r\n"));
    // A folder in the file's place can't be replaced.
    std::filesystem::create_directory(folder / "settings.txt");
    EXPECT_FALSE(platform.ReplaceWholeFile("settings.txt", "x"));
    EXPECT_FALSE(platform.ReplaceWholeFile("no such folder\\settings.txt", "x"));
    EXPECT_EQ(platform.ReadWholeFile("timehistory.txt"), "HISTORY\r\n2006-3-4 = 5:12:0\r\n");
    EXPECT_EQ(FilesInFolder(), 2u);
}

TEST_F(Win32PlatformTest, TextCrossesTheBoundaryAsUtf16)
{
    EXPECT_EQ(Widen("don\u2019t"), L"don\u2019t");
    EXPECT_EQ(Narrow(L"don\u2019t"), "don\u2019t");
    EXPECT_EQ(Narrow(Widen("C:\\Program Files\\Kl\u00e4nge\\gong.wav")), "C:\\Program Files\\Kl\u00e4nge\\gong.wav");
    // A catalogue saved by an old editor in the user's code page still shows, not as blanks.
    EXPECT_FALSE(Widen("caf\xe9").empty());
    EXPECT_EQ(Widen(""), L"");
}

TEST_F(Win32PlatformTest, TheEnvironmentAndTheClocksAnswer)
{
    SetEnvironmentVariableW(L"KELVARO_TEST_VALUE", L"Windows_NT");
    EXPECT_EQ(platform.EnvironmentVariable("KELVARO_TEST_VALUE"), "Windows_NT");
    EXPECT_EQ(platform.EnvironmentVariable("KELVARO_NOT_SET"), "");
    EXPECT_GT(platform.Now(), 1600000000);
    EXPECT_TRUE(platform.LastInputTick().has_value());
}

} // namespace
