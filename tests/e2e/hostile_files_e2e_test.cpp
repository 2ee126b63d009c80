// Each data file in turn damaged, huge, in another encoding, a folder, read-only or a link: the
// program must start, answer, stay quiet, keep every stored day and never write the catalogue.
#include "cpu_watch.h"
#include "kelvaro_driver.h"
#include "prepared_files.h"

#include "platform/text_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

namespace {

constexpr std::size_t kHugeBytes = 24 << 20;
constexpr std::size_t kLongLineBytes = 1 << 20;
constexpr std::size_t kLongNumberDigits = 100000;
constexpr std::size_t kGarbageBytes = 64 << 10;
constexpr std::size_t kNulBytes = 4096;
constexpr int kStoredDays = 30;
constexpr DWORD kAnswerPollMs = 200;
constexpr DWORD kHostPollMs = 20;
constexpr char kNumberMark = '#';

// A data file as the program writes it, and the places of its format where a number stands, marked by '#'.
struct DataFile {
    const char* name;
    std::string valid;
    std::string numbers;
    // Its lines after the first are stored days, which every save must keep.
    bool holdsDays = false;
};

enum class Shape { Bytes, Folder, ReadOnly, Link, DanglingLink };

std::string Repeated(const std::string& text, std::size_t size)
{
    std::string out;
    out.reserve(size + text.size());
    while (out.size() < size)
        out += text;
    return out;
}

// Puts the damage before the last line, so that whatever follows it must still be read.
std::string Inserted(const std::string& valid, const std::string& damage)
{
    const std::size_t lastLine = valid.size() < 2 ? 0 : valid.rfind('\n', valid.size() - 2);
    const std::size_t at = lastLine == std::string::npos ? 0 : lastLine + 1;
    return valid.substr(0, at) + damage + valid.substr(at);
}

std::string Utf16(const std::string& text)
{
    const std::wstring wide = Widen(text);
    return std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t));
}

std::string Garbage()
{
    std::mt19937 random(1);
    std::string bytes(kGarbageBytes, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(random());
    return bytes + "\r\n";
}

std::string LongNumbers(const std::string& numbers)
{
    std::string digits = Repeated("1234567890", kLongNumberDigits);
    std::string out;
    for (char c : numbers)
        out += c == kNumberMark ? digits : std::string(1, c);
    return out;
}

const struct Variant {
    const char* name;
    Shape shape;
    std::string (*bytes)(const DataFile& file);
} kVariants[] = {
    {"empty", Shape::Bytes,
     [](const DataFile&) {
         return std::string();
     }},
    {"24 MB of its own lines", Shape::Bytes,
     [](const DataFile& file) {
         return Repeated(file.valid, kHugeBytes);
     }},
    {"binary garbage", Shape::Bytes,
     [](const DataFile& file) {
         return Inserted(file.valid, Garbage());
     }},
    {"NUL bytes", Shape::Bytes,
     [](const DataFile& file) {
         return Inserted(file.valid, std::string(kNulBytes, '\0') + "\r\n");
     }},
    {"invalid UTF-8", Shape::Bytes,
     [](const DataFile& file) {
         return Inserted(file.valid,
                         "\xC3\x28 \xA0\xA1 \xE2\x28\xA1 \xF0\x28\x8C\xBC \xF8\xA1\xA1\xA1\xA1 \xFF \xC0\xAF\r\n");
     }},
    {"UTF-16 LE with BOM", Shape::Bytes,
     [](const DataFile& file) {
         return "\xFF\xFE" + Utf16(file.valid);
     }},
    {"UTF-16 LE without BOM", Shape::Bytes,
     [](const DataFile& file) {
         return Utf16(file.valid);
     }},
    {"a line of 1 MB", Shape::Bytes,
     [](const DataFile& file) {
         return Inserted(file.valid, std::string(kLongLineBytes, 'x') + "\r\n");
     }},
    {"100 000 digits for numbers", Shape::Bytes,
     [](const DataFile& file) {
         return Inserted(file.valid, LongNumbers(file.numbers));
     }},
    {"a folder", Shape::Folder, nullptr},
    {"read-only", Shape::ReadOnly, nullptr},
    {"link to a valid file", Shape::Link, nullptr},
    {"dangling link", Shape::DanglingLink, nullptr},
};

std::string UnixPath(const std::filesystem::path& path)
{
    using UnixFileName = char*(CDECL*)(LPCWSTR);
    const auto convert = reinterpret_cast<UnixFileName>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* name = convert ? convert(path.c_str()) : nullptr;
    if (!name)
        return {};
    std::string converted(name);
    HeapFree(GetProcessHeap(), 0, name);
    return converted;
}

bool Listed(const std::filesystem::path& folder, const std::string& name)
{
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.path().filename() == name)
            return true;
    }
    return false;
}

// Wine starts a host program when asked to, but can't wait for it: the caller waits for its effect.
void RunOnHost(const std::string& program, const std::vector<std::string>& arguments, const std::function<bool()>& done)
{
    std::wstring commandLine = Widen(program);
    for (const std::string& argument : arguments)
        commandLine += L" \"" + Widen(argument) + L"\"";
    const std::filesystem::path path = ToWindowsPath(program);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process))
        << program << ": error " << GetLastError();
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    const ULONGLONG start = GetTickCount64();
    while (!done() && GetTickCount64() - start < KelvaroProcess::kDeadlineMs)
        Sleep(kHostPollMs);
    EXPECT_TRUE(done()) << program << " did not do its work";
}

// A symbolic link of the host; Wine can't make one itself.
void MakeLink(const std::filesystem::path& folder, const std::string& name, const std::string& target)
{
    RunOnHost("/bin/ln", {"-s", target, UnixPath(folder) + "/" + name}, [&] { return Listed(folder, name); });
}

// The folder with what Wine can't remove: links whose target is gone, read-only files.
void RemoveOnHost(const std::filesystem::path& folder)
{
    const std::string path = UnixPath(folder);
    ASSERT_NE(path.find("kelvaro-e2e-"), std::string::npos) << path;
    RunOnHost("/bin/rm", {"-rf", path}, [&] { return !std::filesystem::exists(folder); });
}

std::string LinkTarget(const std::string& name)
{
    return "target-" + name;
}

// What a test can see of a file without changing it: its bytes, attributes and time of last write.
struct FileState {
    DWORD attributes = INVALID_FILE_ATTRIBUTES;
    FILETIME written{};
    std::string bytes;

    bool operator==(const FileState& other) const
    {
        return attributes == other.attributes && CompareFileTime(&written, &other.written) == 0 && bytes == other.bytes;
    }
};

FileState StateOf(const KelvaroProcess& kelvaro, const std::string& name)
{
    FileState state;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (GetFileAttributesExW((kelvaro.Folder() / name).c_str(), GetFileExInfoStandard, &data)) {
        state.attributes = data.dwFileAttributes;
        state.written = data.ftLastWriteTime;
    }
    if (!(state.attributes & FILE_ATTRIBUTE_DIRECTORY))
        state.bytes = kelvaro.ReadFile(name).value_or("");
    return state;
}

class HostileFilesE2e : public testing::Test {
protected:
    HostileFilesE2e()
        : m_files{
              {"settings.txt", FirstStartSettings(),
               "TIMELIMIT #:#:#\r\nFREQUENCE #\r\nSTARTTRAY #\r\nFORCEBREAK_WAIT #\r\nOTHERTIME #\r\nHEALTH_MSG #\r\n"},
              {"standard.txt", DefaultCatalogue(), "# ; #\r\n"},
              // Another day, so that every save changes the file.
              {"activetimelog.txt", "ACTIVE_TIME_TODAY 1995-1-1 = 1:2:3\r\n",
               "ACTIVE_TIME_TODAY #-#-# = #:#:#\r\nACTIVE_TIME_TODAY 1995-1-1 = #:0:0\r\n"},
              {"timehistory.txt", PastHistory(kStoredDays), "#-1-1 = 1:0:0\r\n2000-1-1 = #:0:0\r\n2000-1-2 = 0:#:0\r\n", true},
              {"breakhistory.txt",
               "BREAKS\r\n2024-05-01 = breaks 3, postponed 1, eyes 5/9\r\n2024-05-02 = breaks 0, postponed 0, eyes 0/1\r\n"
               "2024-05-03 = breaks 7, postponed 2, eyes 12/12\r\n",
               "#-05-04 = breaks 1, postponed 0, eyes 0/0\r\n2024-05-05 = breaks #, postponed #, eyes #/#\r\n", true},
              {"usehistory.txt",
               "USE\r\n2024-05-01 = first 08:00:00, last 23:10:00\r\n2024-05-02 = first 07:30:00, last 00:40:00\r\n"
               "2024-05-03 = first 09:15:00, last 22:05:00\r\n",
               "#-05-04 = first 08:00:00, last 09:00:00\r\n2024-05-05 = first #:#:#, last #:#:#\r\n", true}}
    {
    }

    // Runs the program once per variant of the file and prints a line of figures for each.
    void RunTable(const std::string& name);

private:
    void RunRow(const DataFile& hostile, const Variant& variant, std::string& figures);

    std::vector<DataFile> m_files;
};

void HostileFilesE2e::RunTable(const std::string& name)
{
    const auto hostile =
        std::find_if(m_files.begin(), m_files.end(), [&](const DataFile& file) { return file.name == name; });
    ASSERT_NE(hostile, m_files.end());
    std::vector<std::string> table;
    for (const Variant& variant : kVariants) {
        SCOPED_TRACE(name + " as " + variant.name);
        const int failuresBefore = testing::UnitTest::GetInstance()->current_test_info()->result()->total_part_count();
        std::string figures;
        RunRow(*hostile, variant, figures);
        const bool passed =
            testing::UnitTest::GetInstance()->current_test_info()->result()->total_part_count() == failuresBefore;
        char line[256];
        std::snprintf(line, sizeof line, "%-18s %-28s %s %s", name.c_str(), variant.name, figures.c_str(),
                      passed ? "ok" : "FAILED");
        table.push_back(line);
    }
    for (const std::string& line : table)
        std::printf("%s\n", line.c_str());
}

void HostileFilesE2e::RunRow(const DataFile& hostile, const Variant& variant, std::string& figures)
{
    DataFiles files;
    for (const DataFile& file : m_files) {
        if (&file != &hostile)
            files[file.name] = file.valid;
        else if (variant.shape == Shape::Bytes)
            files[file.name] = variant.bytes(file);
        else if (variant.shape == Shape::ReadOnly)
            files[file.name] = file.valid;
        else if (variant.shape != Shape::Folder)
            files[LinkTarget(file.name)] = file.valid;
    }
    const std::string name = hostile.name;
    auto prepare = [&](const std::filesystem::path& folder) {
        if (variant.shape == Shape::Folder)
            std::filesystem::create_directory(folder / name);
        else if (variant.shape == Shape::ReadOnly)
            SetFileAttributesW((folder / name).c_str(), FILE_ATTRIBUTE_READONLY);
        else if (variant.shape == Shape::Link)
            MakeLink(folder, name, LinkTarget(name));
        else if (variant.shape == Shape::DanglingLink) {
            // Wine lists no link whose target is missing: the target goes once the link is seen.
            MakeLink(folder, name, LinkTarget(name));
            std::filesystem::remove(folder / LinkTarget(name));
        }
    };
    KelvaroProcess kelvaro(files, prepare);
    const FileState catalogue = StateOf(kelvaro, "standard.txt");
    // A file that can't be read or written is told in a box, which a user would close.
    const bool unusable =
        variant.shape == Shape::Folder || variant.shape == Shape::ReadOnly || variant.shape == Shape::DanglingLink;
    kelvaro.AcceptBoxes([&](const MessageBoxSeen& box) { return unusable && box.text == "could not open " + name; });

    HWND main = nullptr;
    DWORD_PTR result = 0;
    const bool answered = kelvaro.WaitUntil(
        [&] {
            main = kelvaro.FindWindowByCaption("Kelvaro");
            return main && SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, kAnswerPollMs, &result);
        },
        "the main window to answer");
    const ULONGLONG answerMs = kelvaro.MsSinceLaunch();
    if (!answered)
        return;
    // Start-up work on a big file goes on after the window first answers.
    CpuWatch watch(kStartupSettles);
    CpuWatch::Verdict verdict = CpuWatch::Verdict::Watching;
    kelvaro.WaitUntil(
        [&] {
            verdict = watch.Take(kelvaro.MsSinceLaunch(), kelvaro.CpuMs());
            return verdict != CpuWatch::Verdict::Watching;
        },
        "the program to settle after its start-up");
    const ULONGLONG quietMs = kelvaro.MsSinceLaunch();
    const double cpuMs = kelvaro.CpuMs();
    EXPECT_GT(cpuMs, 0) << "no processor time read for the program";
    EXPECT_EQ(verdict, CpuWatch::Verdict::Quiet) << "the program kept working: charged " << cpuMs
                                                 << " ms of processor time in " << quietMs << " ms without settling";
    const ULONGLONG quitAt = kelvaro.MsSinceLaunch();
    kelvaro.Quit();
    char line[160];
    std::snprintf(line, sizeof line,
                  "answer %6llu ms, quiet at %6llu ms after %5.0f ms of cpu, quit in %6llu ms, boxes %d", answerMs,
                  quietMs, cpuMs, kelvaro.MsSinceLaunch() - quitAt, kelvaro.BoxesAccepted());
    figures = line;
    EXPECT_TRUE(StateOf(kelvaro, "standard.txt") == catalogue) << "standard.txt was written";
    for (const DataFile& file : m_files) {
        const bool daysGiven = &file != &hostile || (variant.shape != Shape::Folder &&
                                                     variant.shape != Shape::DanglingLink &&
                                                     std::string_view(variant.name) != "empty");
        if (!file.holdsDays || !daysGiven)
            continue;
        const std::string kept = kelvaro.ReadFile(file.name).value_or("");
        for (std::size_t line = file.valid.find('\n') + 1; line < file.valid.size();
             line = file.valid.find('\n', line) + 1) {
            const std::string day = file.valid.substr(line, file.valid.find('\n', line) + 1 - line);
            EXPECT_NE(kept.find(day), std::string::npos) << file.name << " lost the day " << day;
        }
    }
    if (variant.shape == Shape::ReadOnly) {
        EXPECT_EQ(kelvaro.ReadFile(name), hostile.valid) << "a read-only file was replaced";
        EXPECT_TRUE(GetFileAttributesW((kelvaro.Folder() / name).c_str()) & FILE_ATTRIBUTE_READONLY);
    }
    if (variant.shape == Shape::Link && name != "standard.txt") {
        // Written through the link: a link replaced by a plain file would leave its target as it was.
        const std::optional<std::string> target = kelvaro.ReadFile(LinkTarget(name));
        EXPECT_NE(target, hostile.valid) << "the link's target was not written";
        EXPECT_EQ(kelvaro.ReadFile(name), target) << "the link no longer shows its target";
    }
    if (variant.shape != Shape::Bytes && variant.shape != Shape::Folder)
        RemoveOnHost(kelvaro.Folder());
}

TEST_F(HostileFilesE2e, Settings)
{
    RunTable("settings.txt");
}

TEST_F(HostileFilesE2e, Catalogue)
{
    RunTable("standard.txt");
}

TEST_F(HostileFilesE2e, ActiveTimeLog)
{
    RunTable("activetimelog.txt");
}

TEST_F(HostileFilesE2e, History)
{
    RunTable("timehistory.txt");
}

TEST_F(HostileFilesE2e, BreakHistory)
{
    RunTable("breakhistory.txt");
}

TEST_F(HostileFilesE2e, UseHistory)
{
    RunTable("usehistory.txt");
}

} // namespace
