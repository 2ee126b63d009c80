#include "platform/file_replacement.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

enum class Step { Create, Write, Flush, Close, Rename, Delete };

// A folder in memory that behaves as Windows does where it matters: an open file can be
// neither renamed nor deleted, and a failing step fails a set number of times, then works.
class FakeFolder final : public FileReplacementSteps {
public:
    FakeFolder(std::string target, std::optional<std::string> oldBytes) : m_target(std::move(target))
    {
        if (oldBytes)
            files[m_target] = *oldBytes;
    }

    void Fail(Step step, FileStepResult how, int times) { m_failures[step] = {how, times}; }
    std::string Temporary() const { return m_target + ".new"; }

    FileStepResult CreateTemporary() override
    {
        if (const auto failure = Failure(Step::Create))
            return *failure;
        files[Temporary()].clear();
        m_open = true;
        return FileStepResult::Done;
    }
    FileStepResult WriteTemporary(std::string_view bytes) override
    {
        EXPECT_TRUE(m_open);
        if (const auto failure = Failure(Step::Write)) {
            // The disk filled up half way.
            files[Temporary()] += bytes.substr(0, bytes.size() / 2);
            return *failure;
        }
        files[Temporary()] += bytes;
        return FileStepResult::Done;
    }
    FileStepResult FlushTemporary() override
    {
        EXPECT_TRUE(m_open);
        return Failure(Step::Flush).value_or(FileStepResult::Done);
    }
    FileStepResult CloseTemporary() override
    {
        EXPECT_TRUE(m_open);
        m_open = false;
        return Failure(Step::Close).value_or(FileStepResult::Done);
    }
    FileStepResult RenameOverTarget() override
    {
        if (m_open)
            return FileStepResult::Busy;
        if (const auto failure = Failure(Step::Rename))
            return *failure;
        files[m_target] = files.at(Temporary());
        files.erase(Temporary());
        return FileStepResult::Done;
    }
    FileStepResult DeleteTemporary() override
    {
        if (m_open)
            return FileStepResult::Busy;
        if (const auto failure = Failure(Step::Delete))
            return *failure;
        files.erase(Temporary());
        return FileStepResult::Done;
    }
    void WaitBeforeRetry(unsigned ms) override { waitedMs += ms; }

    std::map<std::string, std::string> files;
    unsigned waitedMs = 0;

private:
    struct Failing {
        FileStepResult how;
        int times;
    };
    std::optional<FileStepResult> Failure(Step step)
    {
        const auto found = m_failures.find(step);
        if (found == m_failures.end() || found->second.times == 0)
            return std::nullopt;
        --found->second.times;
        return found->second.how;
    }

    std::string m_target;
    bool m_open = false;
    std::map<Step, Failing> m_failures;
};

constexpr int kAlways = 1000;
// The longest one save or read may keep the user-interface thread waiting for a busy file.
constexpr unsigned kLongestWaitMs = 200;
constexpr int kRetriesInBudget = kLongestWaitMs / kBusyPauseMs;

struct Fault {
    Step step;
    FileStepResult how;
    int times;
};

TEST(FileReplacement, NoFailedStepLosesTheOldFileOrLeavesATemporaryOne)
{
    struct Case {
        const char* what;
        std::vector<Fault> faults;
        bool replaced;
        unsigned waitedMs;
        bool temporaryLeft = false;
    } cases[] = {
        {"nothing fails", {}, true, 0},
        {"cannot create", {{Step::Create, FileStepResult::Failed, 1}}, false, 0},
        {"creation briefly busy", {{Step::Create, FileStepResult::Busy, 2}}, true, 2 * kBusyPauseMs},
        {"creation busy for good", {{Step::Create, FileStepResult::Busy, kAlways}}, false, kLongestWaitMs},
        {"disk full", {{Step::Write, FileStepResult::Failed, 1}}, false, 0},
        {"flush fails", {{Step::Flush, FileStepResult::Failed, 1}}, false, 0},
        {"close fails", {{Step::Close, FileStepResult::Failed, 1}}, false, 0},
        {"target held a moment", {{Step::Rename, FileStepResult::Busy, 3}}, true, 3 * kBusyPauseMs},
        {"target held for the last retry", {{Step::Rename, FileStepResult::Busy, kRetriesInBudget}}, true,
         kLongestWaitMs},
        {"target held for good", {{Step::Rename, FileStepResult::Busy, kAlways}}, false, kLongestWaitMs},
        // One budget for the whole save: what creating the file waited is not waited again at the rename.
        {"both steps held",
         {{Step::Create, FileStepResult::Busy, kRetriesInBudget - 2}, {Step::Rename, FileStepResult::Busy, kAlways}},
         false,
         kLongestWaitMs},
        {"rename fails", {{Step::Rename, FileStepResult::Failed, 1}}, false, 0},
        {"temporary held a moment after a failed rename",
         {{Step::Rename, FileStepResult::Failed, 1}, {Step::Delete, FileStepResult::Busy, 1}},
         false,
         kBusyPauseMs},
        {"temporary can't be deleted",
         {{Step::Flush, FileStepResult::Failed, 1}, {Step::Delete, FileStepResult::Failed, 1}},
         false,
         0,
         true},
    };
    const std::string names[] = {"settings.txt", "activetimelog.txt", "timehistory.txt"};
    for (const Case& c : cases) {
        for (const std::string& name : names) {
            for (const std::optional<std::string>& oldBytes :
                 {std::optional<std::string>("old\r\n"), std::optional<std::string>()}) {
                FakeFolder folder(name, oldBytes);
                // A temporary file left by a save that a crash cut short.
                folder.files[folder.Temporary()] = "stale";
                for (const Fault& fault : c.faults)
                    folder.Fail(fault.step, fault.how, fault.times);
                const std::string bytes = "new bytes of " + name;
                const std::string context = std::string(c.what) + ", " + name + (oldBytes ? "" : " (new file)");

                EXPECT_EQ(ReplaceFileContents(folder, bytes), c.replaced) << context;
                EXPECT_EQ(folder.waitedMs, c.waitedMs) << context;
                std::map<std::string, std::string> expected;
                if (c.replaced)
                    expected[name] = bytes;
                else if (oldBytes)
                    expected[name] = *oldBytes;
                const bool staleKept = c.faults.size() == 1 && c.faults[0].step == Step::Create && !c.replaced;
                if (staleKept)
                    expected[folder.Temporary()] = "stale";
                else if (c.temporaryLeft)
                    expected[folder.Temporary()] = bytes;
                EXPECT_EQ(folder.files, expected) << context;
            }
        }
    }
}

} // namespace
